// The pick-game dialog asks through the alert before it changes the skill:
// confirmed, the skill is stored and command 1 starts a new game; declined,
// the radios show the current skill again and the dialog stays open.
#include "shell/pick_game_wnd.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/ui/screen_rig.h"
#include "ui/alert.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/radio_button.h"
#include "ui/settings.h"

namespace {

using ui_testing::ScreenRig;

using PickGameWndTest = ScreenRig;

TEST_F(PickGameWndTest, AsksBeforeTheSkillChanges) {
  const struct {
    KeyCode answer;
    int skill;                  // stored after the answer
    std::vector<int> commands;  // delivered by the alert, then by the dialog
  } cases[] = {
      {kKeyReturn, kSkillNovice, {kCmdAskNewGame, kCmdNone, kCmdNewGame}},
      {kKeyEscape, kSkillExpert, {kCmdAskNewGame, kCmdNone}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.answer);
    window_.context->settings->skill = kSkillExpert;
    window_.commands.clear();
    GPickGameWnd* pick = GPickGameWnd::Create(&window_, kCmdNone);
    Push(pick);
    Open();
    EXPECT_EQ(pick->FocusedControl(), pick->SkillRadio(kSkillExpert));
    ClickOn(pick->SkillRadio(kSkillNovice));
    ClickOn(pick->OkButton());
    Ticks(1);
    EXPECT_EQ(pick->GetScreenState(), kScreenWaiting);
    ASSERT_NE(dynamic_cast<IAlert*>(Top()), nullptr);
    Open();
    Key(c.answer);
    for (int i = 0; i < 30 && Top() != pick; ++i) Ticks(1);  // the alert closes
    Ticks(1);
    EXPECT_EQ(window_.context->settings->skill, c.skill);
    EXPECT_EQ(window_.commands, std::vector<int>(c.commands.begin(), c.commands.begin() + 2));
    if (c.answer == kKeyEscape) {
      // Still open, the check back on the current skill.
      EXPECT_EQ(pick->GetScreenState(), kScreenOpen);
      for (int i = 0; i < 4; ++i) EXPECT_EQ(pick->SkillRadio(i)->IsChecked(), i == kSkillExpert);
      Key(kKeyEscape);
    }
    UntilPopped();
    ASSERT_EQ(Top(), nullptr);
    std::vector<int> expected = c.commands;
    if (c.answer == kKeyEscape) expected.push_back(kCmdNone);
    EXPECT_EQ(window_.commands, expected);
  }
}

}  // namespace
