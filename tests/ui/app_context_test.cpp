#include "ui/app_context.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "tests/ui/ui_test_support.h"
#include "ui/language.h"
#include "ui/settings.h"

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
  // Control states 0 normal, 1 disabled, 2 focused, 3 pressed.
  const u32 base[4] = {0x4040FF, 0x666666, 0x40FF40, 0x40FF40};
  const u32 text[4] = {0x4040FF, 0xCCCCCC, 0x208020, 0x104010};
  for (int state = 0; state < 4; ++state) {
    EXPECT_EQ(skin.baseColour[state], base[state]) << state;
    EXPECT_EQ(skin.TextColour(0, state), text[state]) << state;
  }
  EXPECT_EQ(skin.fillColour, 0xFFFFFFu);
  // Normal and focused: black rising to the colour at its luminance 128,
  // then to white. Disabled: the colour rising to white. Pressed: black
  // rising to the colour. Entry 255, past the 255-entry ramps, holds the
  // ramp's end colour.
  const struct {
    int state, entry;
    u32 colour;
  } samples[] = {{0, 0, 0x000000}, {0, 127, 0x4040FD}, {0, 128, 0x4040FF}, {0, 255, 0xFFFFFF},
                 {1, 0, 0x666666}, {1, 255, 0xFFFFFF}, {2, 0, 0x000000},   {2, 128, 0x40FF40},
                 {2, 255, 0xFFFFFF}, {3, 0, 0x000000}, {3, 255, 0x40FF40}};
  for (const auto& s : samples) {
    EXPECT_EQ(skin.palette[s.state][s.entry], s.colour) << "state " << s.state << " entry " << s.entry;
  }
}
