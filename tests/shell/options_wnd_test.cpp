// The options dialog: Ok and Return write every choice into the settings
// and deliver the apply command; Cancel and Escape change nothing, whatever
// was toggled.
#include "shell/options_wnd.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "tests/ui/screen_rig.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/check_box.h"
#include "ui/controls/radio_button.h"
#include "ui/settings.h"

namespace {

using ui_testing::ScreenRig;

using OptionsWndTest = ScreenRig;

TEST_F(OptionsWndTest, OkAppliesEveryChoiceCancelAndEscapeChangeNothing) {
  // Two patterns of Sound, Music, Physics and Autosave, so that no two
  // boxes agree in both.
  const struct {
    std::string leave;
    bool applies;
    u8 boxes[4];
  } cases[] = {{"click Ok", true, {1, 0, 1, 0}},
               {"Return", true, {1, 1, 0, 0}},
               {"click Cancel", false, {1, 0, 1, 0}},
               {"Escape", false, {1, 1, 0, 0}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.leave);
    SettingsRecord& s = *window_.context->settings;
    s.Reset();
    s.sound = c.boxes[0], s.music = c.boxes[1], s.physics = c.boxes[2], s.autosave = c.boxes[3];
    s.volume = 0, s.controls = 1;
    const SettingsRecord before = s;
    window_.commands.clear();
    GOptionsWnd* options = GOptionsWnd::Create(&window_, kCmdApplySettings);
    Push(options);
    Open();
    EXPECT_EQ(options->FocusedControl(), options->OkButton());
    EXPECT_TRUE(options->VolumeRadio(0)->IsChecked() && options->ControlsRadio(1)->IsChecked());

    // Every box toggled, High and Keys chosen.
    for (IControl* box : {options->SoundBox(), options->MusicBox(), options->PhysicsBox(),
                          options->AutosaveBox()}) {
      ClickOn(box);
    }
    ClickOn(options->VolumeRadio(2));
    ClickOn(options->ControlsRadio(0));
    Ticks(1);
    EXPECT_EQ(options->GetScreenState(), kScreenOpen);

    if (c.leave == "click Ok") ClickOn(options->OkButton());
    if (c.leave == "Return") Key(kKeyReturn);
    if (c.leave == "click Cancel") ClickOn(options->CancelButton());
    if (c.leave == "Escape") Key(kKeyEscape);
    UntilPopped();
    ASSERT_EQ(Top(), nullptr);
    EXPECT_EQ(window_.commands, std::vector<int>{c.applies ? kCmdApplySettings : kCmdNone});
    if (c.applies) {
      EXPECT_EQ(std::vector<int>({s.sound, s.music, s.physics, s.autosave, s.volume, s.controls}),
                std::vector<int>({!c.boxes[0], !c.boxes[1], !c.boxes[2], !c.boxes[3], 2, 0}));
    } else {
      EXPECT_EQ(std::memcmp(s.Bytes(), before.Bytes(), kSettingsRecordSize), 0);
    }
  }
}

}  // namespace
