// The controls drawn from the generated image bank: the bank holds what the
// font and the controls read, and button texts sit centred on their faces.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/image.h"
#include "platform/image_pack.h"
#include "platform/startup.h"
#include "tests/ui/controls/test_bank.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"

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

}  // namespace
