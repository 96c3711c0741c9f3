// The controls drawn from the generated image bank: the bank holds what the
// font and the controls read, button texts sit centred on their faces, and
// a sample dialog is kept as a PNG with the test artifacts to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/image.h"
#include "platform/image_pack.h"
#include "platform/startup.h"
#include "tests/support/process.h"
#include "tests/ui/controls/test_bank.h"
#include "tools/common/png_writer.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/frame.h"
#include "ui/controls/image_control.h"
#include "ui/controls/label.h"
#include "ui/controls/menu_controls.h"
#include "ui/controls/radio_button.h"
#include "ui/font.h"

namespace {

using controls_testing::MakeSurface;
using controls_testing::PixelOf;

class GeneratedBankTest : public testing::Test {
 protected:
  void SetUp() override {
    std::memcpy(savedData, g_DataDir, sizeof g_DataDir);
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", DORRIMAC_BUILD_DIR);
    pack.reset(ImagePack::Create("640x480"));
    ASSERT_GE(pack->ImageCount(), 588) << "the game data is not built";
    context.reset(AppContext::Create(pack.get()));
    skin = context->skin;
  }
  void TearDown() override { std::memcpy(g_DataDir, savedData, sizeof g_DataDir); }

  std::unique_ptr<ImagePack> pack;
  std::unique_ptr<AppContext> context;
  SkinContext* skin = nullptr;
  char savedData[sizeof g_DataDir];
};

// Columns of ink of the colour inside [left, right] on row y.
void InkSpan(const Surface& s, int left, int right, int top, int bottom, u32 ink, int& first,
             int& last) {
  first = right + 1, last = left - 1;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x)
      if (PixelOf(s, x, y) == ink) first = std::min(first, x), last = std::max(last, x);
}

TEST_F(GeneratedBankTest, BankHoldsWhatTheControlsRead) {
  for (int i = 365; i <= 587; ++i) {
    const Image* glyph = pack->GetImage(i);
    ASSERT_NE(glyph, nullptr) << i;
    EXPECT_EQ(glyph->type, kImageColorKey) << i;
    EXPECT_EQ(glyph->height, 12)
        << i;  // the 11-pixel text row and the 13-pixel line step rely on it
    EXPECT_GE(glyph->rgb->size, static_cast<u32>(glyph->width * glyph->height * 3)) << i;
  }
  for (int i = 353; i <= 364; ++i) {
    const Image* piece = pack->GetImage(i);
    ASSERT_NE(piece, nullptr) << i;
    EXPECT_EQ(piece->type, kImagePalette) << i;
  }
  // Face corners of one size, so edges and middle line up.
  for (int i = 358; i <= 360; ++i) {
    EXPECT_EQ(pack->GetImage(i)->width, pack->GetImage(357)->width);
    EXPECT_EQ(pack->GetImage(i)->height, pack->GetImage(357)->height);
  }
}

TEST_F(GeneratedBankTest, ButtonTextsSitCentred) {
  const char* texts[] = {"Ok",
                         "Cancel",
                         "New game",
                         "Annuler",
                         "Nouvelle partie",
                         "Pr\x82"
                         "f\x82rences"};
  auto s = MakeSurface(200, 40, skin->fillColour);
  for (const char* text : texts) {
    std::unique_ptr<IButton> b(IButton::Create(skin, 40));
    b->Place(Rect(10, 4, 149, 35), text);
    b->SetState(kControlFocused);
    b->Draw(s.get());
    int first = 0, last = 0;
    InkSpan(*s, 10, 149, 4, 35, skin->TextColour(0, kControlFocused), first, last);
    ASSERT_LE(first, last) << text;
    EXPECT_LE(std::abs((first - 10) - (149 - last)), 2) << text;
  }
}

// A sample dialog of every basic control in every state, for looking at.
TEST_F(GeneratedBankTest, SampleDialog) {
  auto s = MakeSurface(400, 300, 0x205020);
  std::vector<std::unique_ptr<IControl>> controls;
  auto add = [&](IControl* c, const Rect& r, const char* text, u8 state = kControlNormal) {
    c->Place(r, text);
    c->SetState(state);
    controls.emplace_back(c);
    return c;
  };
  add(IWinFrame::Create(skin, 40), Rect(10, 10, 389, 289), "Options", kControlDisabled);
  add(ILabel::Create(skin, 60), Rect(20, 34, 380, 48),
      "Label: the quick brown fox ^012 \x82\x85\x87\x88\x8A\x93", kControlDisabled);
  const char* states[] = {"Normal", "Disabled", "Focused", "Pressed"};
  for (int i = 0; i < 4; ++i)
    add(IButton::Create(skin, 20), Rect(20 + 90 * i, 56, 100 + 90 * i, 87), states[i],
        static_cast<u8>(i));
  add(IFrame::Create(skin, 20), Rect(20, 104, 190, 200), "Skill", kControlDisabled);
  for (int i = 0; i < 3; ++i) {
    IControl* r = add(IRadioButton::Create(skin, 20), Rect(30, 112 + 22 * i, 180, 130 + 22 * i),
                      i == 0   ? "Beginner"
                      : i == 1 ? "Advanced"
                               : "Expert",
                      static_cast<u8>(i == 2 ? 2 : 0));
    r->SetChecked(i == 1);
  }
  for (int i = 0; i < 3; ++i) {
    IControl* c = add(ICheckBox::Create(skin, 20), Rect(210, 112 + 22 * i, 380, 130 + 22 * i),
                      i == 0   ? "Sound"
                      : i == 1 ? "Music"
                               : "Autosave",
                      static_cast<u8>(i == 2 ? 2 : i));
    c->SetChecked(i != 1);
  }
  add(IMenuFrame::Create(skin, 4), Rect(210, 186, 330, 280), nullptr, kControlDisabled);
  const char* items[] = {"Continue", "New game", "-", "Options", "Exit"};
  for (int i = 0; i < 5; ++i)
    add(IMenuItem::Create(skin, 20), Rect(219, 190 + 17 * i, 326, 206 + 17 * i), items[i],
        static_cast<u8>(i == 1 ? 2 : 0));
  TextStyle vertical;
  vertical.vertical = 1;
  vertical.alignment = 1;
  IFormattedLabel* column = static_cast<IFormattedLabel*>(
      add(IFormattedLabel::Create(skin, 10), Rect(350, 186, 380, 280), "LEVEL", kControlDisabled));
  column->SetStyle(vertical);
  for (auto& c : controls) c->Draw(s.get());

  std::vector<u8> rgb;
  for (int y = 0; y < s->height; ++y)
    for (int x = 0; x < s->width; ++x) {
      const u8* p = s->At(x, y);
      rgb.insert(rgb.end(), {p[2], p[1], p[0]});
    }
  EXPECT_TRUE(png::Write(testing_support::ArtifactDir() + "/controls_sample.png", s->width,
                         s->height, 3, rgb));
  for (auto& c : controls) EXPECT_EQ(c->IsDirty(), 0);
}

}  // namespace
