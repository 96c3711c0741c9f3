// The five window buttons drawn on the game screen: what a press and a
// release do, and the lit menu button while the menu is open.
#include <gtest/gtest.h>

#include <vector>

#include "tests/game/game_rig.h"

namespace {

using game_testing::GameRig;

constexpr u8 kCmdMenu = 103;
constexpr u8 kCmdHelp = 109;

TEST(GameButtonsTest, MenuOpensOnThePressOthersActOnTheRelease) {
  GameRig rig(41);
  ASSERT_TRUE(rig.StartPlaying());
  std::vector<u8>& sent = rig.window.commands;

  rig.game->OnMouseDown(520, 50);  // the menu button
  EXPECT_EQ(sent, std::vector<u8>{kCmdMenu});
  rig.game->OnMouseUp(520, 50);
  EXPECT_EQ(sent, std::vector<u8>{kCmdMenu});

  // Help: the pressed look shows until the release sends the command.
  rig.game->OnMouseDown(565, 10);
  EXPECT_TRUE(sent.size() == 1 && rig.game->State() == kStatePlayerAims);
  rig.game->OnMouseUp(0, 0);
  EXPECT_EQ(sent, (std::vector<u8>{kCmdMenu, kCmdHelp}));

  rig.game->OnMouseDown(622, 10);  // close
  rig.game->OnMouseUp(622, 10);
  EXPECT_EQ(sent, (std::vector<u8>{kCmdMenu, kCmdHelp, kCmdExit}));

  // Window size: the setting flips each time.
  EXPECT_EQ(rig.Settings().windowMode, 0);
  rig.Click(603, 10);
  EXPECT_EQ(rig.Settings().windowMode, 1);
  rig.Click(603, 10);
  EXPECT_EQ(rig.Settings().windowMode, 0);

  // Minimise, released elsewhere, still iconifies.
  EXPECT_FALSE(rig.window.IsIconified());
  rig.game->OnMouseDown(585, 10);
  rig.game->OnMouseUp(100, 400);
  EXPECT_TRUE(rig.window.IsIconified());
  EXPECT_EQ(sent.size(), 3u);
  EXPECT_EQ(rig.game->State(), kStatePlayerAims);  // no click reached the table
}

// Pause lights the menu button during a game only; the first tick after
// the menu, or the resume, unlights it.
TEST(GameButtonsTest, PauseLightsTheMenuButtonOnlyDuringAGame) {
  GameRig rig(53);
  rig.game->Pause();
  EXPECT_FALSE(rig.game->MenuButton().visible);
  ASSERT_TRUE(rig.StartPlaying());
  rig.game->Pause();
  EXPECT_TRUE(rig.game->MenuButton().visible);
  EXPECT_EQ(rig.game->MenuButton().state, 2);
  rig.Tick();
  EXPECT_FALSE(rig.game->MenuButton().visible);
  rig.game->Pause();
  rig.game->Resume();
  EXPECT_FALSE(rig.game->MenuButton().visible);
}

}  // namespace
