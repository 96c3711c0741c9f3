#include "ui/app_context.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/ui/ui_test_support.h"
#include "ui/language.h"
#include "ui/settings.h"

namespace {

TEST(AppContext, FreshContextHasDefaultsWhateverIsOnDisk) {
  ui_testing::UserDirScope user;
  SettingsRecord french;
  french.Reset();
  french.language = kLanguageFrench;
  french.skill = kSkillExpert;
  ASSERT_EQ(french.Save(), 1u);

  ImagePack* pack = reinterpret_cast<ImagePack*>(0x1000);  // only stored, never touched
  std::unique_ptr<AppContext> context(AppContext::Create(pack));
  SettingsRecord defaults;
  defaults.Reset();
  EXPECT_EQ(std::memcmp(context->settings->Bytes(), defaults.Bytes(), kSettingsRecordSize), 0);
  EXPECT_STREQ(context->language->GetString(kTextNewGame), "New game");
  EXPECT_EQ(context->skin->imagePack, pack);
  EXPECT_EQ(context->trig[0], 0);
  EXPECT_EQ(context->trig[90], 256);
  EXPECT_EQ(context->trig[270], -256);
}

TEST(AppContext, SkinColoursAndPalettes) {
  std::unique_ptr<AppContext> context(AppContext::Create(nullptr));
  const SkinContext& skin = *context->skin;
  EXPECT_EQ(skin.fillColour, 0xFFFFFFu);
  EXPECT_EQ(skin.baseColour[0], 0x4040FFu);
  EXPECT_EQ(skin.baseColour[1], 0x666666u);
  EXPECT_EQ(skin.baseColour[2], 0x40FF40u);
  EXPECT_EQ(skin.baseColour[3], 0x40FF40u);

  // Text of a normal, disabled, focused and pressed control.
  EXPECT_EQ(skin.TextColour(0, 0), 0x4040FFu);
  EXPECT_EQ(skin.TextColour(0, 1), 0xCCCCCCu);
  EXPECT_EQ(skin.TextColour(0, 2), 0x208020u);
  EXPECT_EQ(skin.TextColour(0, 3), 0x104010u);

  // Normal: black rising to the colour at its luminance 128, then to white.
  EXPECT_EQ(skin.palette[0][0], 0x000000u);
  EXPECT_EQ(skin.palette[0][127], 0x4040FDu);
  EXPECT_EQ(skin.palette[0][128], 0x4040FFu);
  // Disabled: the colour rising to white.
  EXPECT_EQ(skin.palette[1][0], 0x666666u);
  // Focused: the same tint ramp of green.
  EXPECT_EQ(skin.palette[2][0], 0x000000u);
  EXPECT_EQ(skin.palette[2][128], 0x40FF40u);
  // Pressed: black rising to the colour.
  EXPECT_EQ(skin.palette[3][0], 0x000000u);
  // Entry 255, past the 255-entry ramps, holds the ramp's end colour.
  EXPECT_EQ(skin.palette[0][255], 0xFFFFFFu);
  EXPECT_EQ(skin.palette[1][255], 0xFFFFFFu);
  EXPECT_EQ(skin.palette[2][255], 0xFFFFFFu);
  EXPECT_EQ(skin.palette[3][255], 0x40FF40u);
}

}  // namespace
