// The main menu opened by the game's window: the game is paused first, and
// the items and their commands follow the game's state.
#include "shell/menu_wnd.h"

#include <gtest/gtest.h>

#include <vector>

#include "shell/gwindow.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app_context.h"
#include "ui/controls/menu_controls.h"
#include "ui/settings.h"

namespace {

class PausingGame : public IGame {
 public:
  void Pause() override { ++pauses; }
  int pauses = 0;
};

TEST(MenuWnd, ItemsFollowTheGamesState) {
  ui_testing::UserDirScope dirs;
  GWindow window;
  window.CreateOffscreen(640, 480);
  window.OnCreate();
  delete window.game;
  PausingGame* game = new PausingGame();
  window.game = game;
  window.inputTarget = game;

  const std::vector<int> rest = {107, 2, 0, 104, 113, 105, 0, 109, 108, 0, 11};
  const auto with = [&](std::vector<int> head) {
    head.insert(head.end(), rest.begin(), rest.end());
    return head;
  };
  const struct {
    u8 started, run;
    u32 score;
    std::vector<int> commands;
  } cases[] = {
      {1, kRunPlaying, 0, with({1})},         // New game starts at once
      {1, kRunPlaying, 7, with({8})},         // with a score, it asks first
      {1, kRunDemo, 0, with({115, 0, 1})},    // Continue the game the demo interrupted
      {0, kRunDemo, 0, with({1})},            // no game was started: nothing to continue
  };
  for (const auto& c : cases) {
    SettingsRecord& settings = *window.context->settings;
    settings.gameStarted = c.started;
    settings.score = c.score;
    game->SetRunState(c.run);
    const int pauses = game->pauses;
    window.OnCommand(kCmdMenu);
    EXPECT_EQ(game->pauses, pauses + 1);
    auto* menu = dynamic_cast<GMenuWnd*>(window.GetScreenStack()->Last());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(window.inputTarget, menu);
    std::vector<int> commands;
    for (int i = 1; i < menu->ControlCount(); ++i) {
      commands.push_back(static_cast<IMenuItem*>(menu->ControlAt(i))->commandId);
    }
    EXPECT_EQ(commands, c.commands);
    EXPECT_EQ(menu->frame.Height(), 17 * static_cast<int>(commands.size()) + 12);
    menu->SetState(kScreenClosed);
    window.OnTimer(20);
    EXPECT_EQ(window.inputTarget, game);
  }
}

}  // namespace
