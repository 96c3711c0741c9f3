#include "ui/controls/control_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/color_ramp.h"
#include "platform/image_pack.h"
#include "platform/startup.h"
#include "tests/ui/controls/test_bank.h"
#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/label.h"
#include "ui/controls/menu_controls.h"
#include "ui/controls/radio_button.h"

namespace {

using controls_testing::MakeSurface;
using controls_testing::PixelOf;
using controls_testing::TestBank;

constexpr u32 kPaper = 0xFFFFFF;

TEST(ControlDrawing, Gradients) {
  auto s = MakeSurface(4, 8, kPaper);
  const struct {
    int rows;
    bool turning;
    u32 to;
    std::vector<u32> column;
  } cases[] = {
      {3, false, 0x0000FF, {0, 85, 170}},
      {3, false, 0x000002, {0, 0, 0}},  // a difference below the row count stays flat
      // Even rows: colour2 itself on the middle row, the upper half mirrored below.
      {6, true, 0x0000C0, {0, 64, 0xC0, 128, 64, 0}},
      // Odd rows: mirrored about the middle row.
      {5, true, 0x0000C0, {0, 76, 152, 76, 0}},
  };
  for (const auto& c : cases) {
    s->Fill(kPaper);
    const Rect r(1, 1, 2, c.rows);
    if (c.turning)
      FillGradientV2(s.get(), 0, c.to, r);
    else
      FillGradientV(s.get(), 0, c.to, r);
    for (int i = 0; i < c.rows; ++i)
      EXPECT_EQ(PixelOf(*s, 2, 1 + i), c.column[i]) << c.rows << " row " << i;
    EXPECT_EQ(PixelOf(*s, 3, 1), kPaper);  // clipped to the rect
    EXPECT_EQ(PixelOf(*s, 1, c.rows + 1), kPaper);
  }
  s->Fill(kPaper);
  FillGradientH(s.get(), 0x000000, 0x0000FF, Rect(0, 0, 2, 7));
  EXPECT_EQ(PixelOf(*s, 1, 5), 85u);
}

TEST(ControlDrawing, PalettedBlitBlendsByMask) {
  TestBank bank;
  bank.Piece(363, 3, 1, {5, 6, 7}, {0, 128, 255});
  bank.Load();
  u32 palette[256] = {};
  palette[5] = 0x102030;
  palette[6] = 0x000000;
  palette[7] = 0x123456;
  auto s = MakeSurface(6, 3, 0xFFFFFF);
  BlitPaletted(s.get(), bank.Pack()->GetImage(363), 4, 1, palette, nullptr);  // cut at the right
  EXPECT_EQ(PixelOf(*s, 4, 1), 0x102030u);
  EXPECT_EQ(PixelOf(*s, 5, 1), 0x7F7F7Fu);  // 0 + (128 x 255) >> 8
  EXPECT_EQ(PixelOf(*s, 3, 1), 0xFFFFFFu);
}

// Face corners of 3 x 3 pixels whose palette indices name corner and pixel:
// top-left 10 + k, top-right 40 + k, bottom-left 70 + k, bottom-right
// 100 + k, with k = row x 3 + column.
class ControlsTest : public testing::Test {
 protected:
  void SetUp() override {
    for (int q = 0; q < 4; ++q) {
      std::vector<unsigned char> indices;
      for (int k = 0; k < 9; ++k) indices.push_back(static_cast<unsigned char>(10 + 30 * q + k));
      bank.Piece(357 + q, 3, 3, indices, std::vector<unsigned char>(9, 0));
    }
    bank.Piece(361, 5, 5, std::vector<unsigned char>(25, 201), std::vector<unsigned char>(25, 0));
    bank.Piece(362, 5, 5, std::vector<unsigned char>(25, 202), std::vector<unsigned char>(25, 0));
    bank.Piece(363, 5, 5, std::vector<unsigned char>(25, 203), std::vector<unsigned char>(25, 0));
    bank.Piece(364, 5, 5, std::vector<unsigned char>(25, 204), std::vector<unsigned char>(25, 0));
    bank.Glyph(365, 2);
    bank.Glyph(365 + 'A' - 33, 4);
    bank.Load();
    skin = bank.Skin();
  }
  u32 Palette(int state, int index) const { return skin->palette[state][index]; }

  TestBank bank;
  SkinContext* skin = nullptr;
};

TEST_F(ControlsTest, ButtonFaceContinuesItsCorners) {
  auto s = MakeSurface(40, 30, kPaper);
  DrawButtonFace(skin, Rect(10, 10, 29, 21), kControlNormal, s.get());
  const struct {
    int x, y, index;
  } samples[] = {
      {10, 10, 10},  {29, 10, 42}, {10, 21, 76}, {29, 21, 108},  // corners
      {20, 11, 15},                                              // top edge: top-left's last column
      {20, 21, 78},                                              // bottom edge: bottom-left's
      {11, 15, 17},                                              // left edge: top-left's last row
      {29, 15, 48},                                              // right edge: top-right's last row
      {20, 15, 100},  // middle: bottom-right's first pixel
  };
  for (const auto& p : samples)
    EXPECT_EQ(PixelOf(*s, p.x, p.y), Palette(0, p.index)) << p.x << "," << p.y;
  EXPECT_EQ(PixelOf(*s, 30, 15), kPaper);
}

TEST_F(ControlsTest, ControlsPlaceMarksAndTexts) {
  auto s = MakeSurface(80, 40, 0x123456);
  const u32 normalInk = skin->TextColour(0, kControlNormal);
  // A button centres its text one row below the centred text row, and a
  // text wider than the button starts left of it, unclipped.
  std::unique_ptr<IButton> button(IButton::Create(skin, 20));
  button->Place(Rect(10, 10, 39, 41), "A");
  button->Draw(s.get());
  EXPECT_EQ(PixelOf(*s, 22, 21), normalInk);
  EXPECT_EQ(PixelOf(*s, 25, 21), normalInk);
  EXPECT_NE(PixelOf(*s, 21, 21), normalInk);
  EXPECT_EQ(button->IsDirty(), 0);
  button->SetText("AAAAAAAA");
  button->SetState(kControlFocused);
  button->Draw(s.get());
  EXPECT_EQ(PixelOf(*s, 5, 21), skin->TextColour(0, kControlFocused));

  // Marks: radio at y + 1, check box without; text after the mark + 6.
  const struct {
    bool radio;
    u8 checked, state;
    int markY, textY, index;
  } marks[] = {
      {true, 0, kControlNormal, 8, 5, 203},
      {true, 1, kControlNormal, 8, 5, 204},
      {false, 1, kControlNormal, 7, 4, 202},
      {false, 0, kControlFocused, 7, 4, 201},
  };
  for (const auto& m : marks) {
    std::unique_ptr<IControl> c(m.radio ? static_cast<IControl*>(IRadioButton::Create(skin, 8))
                                        : ICheckBox::Create(skin, 8));
    c->Place(Rect(0, 0, 59, 19), "A");
    c->SetChecked(m.checked);
    c->SetState(m.state);
    s->Fill(0x123456);
    c->Draw(s.get());
    EXPECT_EQ(PixelOf(*s, 2, m.markY), Palette(m.state, m.index)) << m.radio << m.index;
    EXPECT_NE(PixelOf(*s, 2, m.markY - 1), Palette(m.state, m.index));
    EXPECT_EQ(PixelOf(*s, 11, m.textY), skin->TextColour(0, m.state));
    EXPECT_NE(PixelOf(*s, 11, m.textY - 1), skin->TextColour(0, m.state));
    // Focused: the gradient starts from the tinted base colour.
    const u32 corner =
        m.state == kControlFocused ? TintColor(skin->baseColour[m.state], 240) : kPaper;
    EXPECT_EQ(PixelOf(*s, 59, 0), corner);
  }

  // A disabled label keeps the normal colour; a hidden one shows only its
  // fill; a menu item "-x" is a separator line without text.
  std::unique_ptr<ILabel> label(ILabel::Create(skin, 8));
  label->Place(Rect(0, 0, 30, 14), "A");
  label->SetState(kControlDisabled);
  s->Fill(0x123456);
  label->Draw(s.get());
  EXPECT_EQ(PixelOf(*s, 0, 0), normalInk);
  label->SetState(kControlHidden);
  label->Draw(s.get());
  EXPECT_EQ(PixelOf(*s, 0, 0), kPaper);
  EXPECT_EQ(PixelOf(*s, 31, 0), 0x123456u);
  std::unique_ptr<IMenuItem> item(IMenuItem::Create(skin, 8));
  item->Place(Rect(0, 0, 50, 16), "-x");
  item->Draw(s.get());
  EXPECT_EQ(PixelOf(*s, 1, 8), kPaper);
  EXPECT_EQ(PixelOf(*s, 2, 8), skin->baseColour[0]);
  EXPECT_EQ(PixelOf(*s, 50, 8), skin->baseColour[0]);
  EXPECT_EQ(PixelOf(*s, 2, 3), kPaper);
}

// Button texts in the generated font sit centred on their faces.
TEST(ControlDrawing, GeneratedButtonTextsSitCentred) {
  ui_testing::UserDirScope dirs;
  std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", DORRIMAC_BUILD_DIR);
  std::unique_ptr<ImagePack> pack(ImagePack::Create("640x480"));
  ASSERT_GE(pack->ImageCount(), 588) << "the game data is not built";
  std::unique_ptr<AppContext> context(AppContext::Create(pack.get()));
  SkinContext* skin = context->skin;
  const u32 ink = skin->TextColour(0, kControlFocused);
  auto s = MakeSurface(200, 40, skin->fillColour);
  for (const char* text :
       {"Ok", "Cancel", "New game", "Annuler", "Nouvelle partie", "Pr\x82" "f\x82rences"}) {
    std::unique_ptr<IButton> b(IButton::Create(skin, 40));
    b->Place(Rect(10, 4, 149, 35), text);
    b->SetState(kControlFocused);
    b->Draw(s.get());
    int first = 150, last = 9;
    for (int y = 4; y <= 35; ++y)
      for (int x = 10; x <= 149; ++x)
        if (PixelOf(*s, x, y) == ink) first = std::min(first, x), last = std::max(last, x);
    ASSERT_LE(first, last) << text;
    EXPECT_LE(std::abs((first - 10) - (149 - last)), 2) << text;
  }
}

}  // namespace
