// The five window buttons drawn on the game screen.
#include <gtest/gtest.h>

#include <vector>

#include "tests/game/game_rig.h"

namespace {

using game_testing::GameRig;
using Commands = std::vector<u8>;

constexpr u8 kCmdMenu = 103;
constexpr u8 kCmdHelp = 109;

// The menu button acts on the press, the others on a release over
// themselves: released elsewhere they only lose their pressed look, so a
// later release over them does nothing either. No click reaches the table.
// Pause lights the menu button during a game only; the first tick after
// the menu, or the resume, unlights it.
TEST(GameButtonsTest, MenuOpensOnThePressOthersActOnTheReleaseOverThem) {
  GameRig rig(41);
  rig.game->Pause();
  EXPECT_FALSE(rig.game->MenuButton().visible);  // on the title
  ASSERT_TRUE(rig.StartPlaying());
  const Commands& sent = rig.window.commands;

  rig.game->OnMouseDown(520, 50);  // the menu button
  EXPECT_EQ(sent, Commands{kCmdMenu});
  rig.game->OnMouseUp(520, 50);
  // Help, close, minimise and window size, each pressed and released away.
  for (const int x : {565, 622, 585, 603}) {
    rig.game->OnMouseDown(static_cast<i16>(x), 10);
    rig.game->OnMouseUp(static_cast<i16>(x), 40);
    rig.game->OnMouseUp(static_cast<i16>(x), 10);
  }
  EXPECT_EQ(sent, Commands{kCmdMenu});
  EXPECT_FALSE(rig.window.IsIconified());
  EXPECT_EQ(rig.Settings().windowMode, 0);

  rig.Click(565, 10);  // help
  rig.Click(622, 10);  // close
  EXPECT_EQ(sent, (Commands{kCmdMenu, kCmdHelp, kCmdExit}));
  rig.Click(603, 10);  // window size: the setting flips each time
  EXPECT_EQ(rig.Settings().windowMode, 1);
  rig.Click(603, 10);
  EXPECT_EQ(rig.Settings().windowMode, 0);
  rig.Click(585, 10);  // minimise
  EXPECT_TRUE(rig.window.IsIconified());
  EXPECT_EQ(sent.size(), 3u);
  EXPECT_EQ(rig.game->State(), kStatePlayerAims);

  rig.game->Pause();
  EXPECT_TRUE(rig.game->MenuButton().visible);
  rig.Tick();
  EXPECT_FALSE(rig.game->MenuButton().visible);
  rig.game->Pause();
  rig.game->Resume();
  EXPECT_FALSE(rig.game->MenuButton().visible);
}

}  // namespace
