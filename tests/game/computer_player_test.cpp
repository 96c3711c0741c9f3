#include "game/computer_player.h"

#include <gtest/gtest.h>

#include <utility>

#include "game/board.h"
#include "game/shot.h"
#include "platform/fixed_math.h"
#include "platform/random.h"
#include "tests/game/board_rig.h"

namespace {

constexpr i32 kOne = 256;

struct ComputerRig {
  explicit ComputerRig(u8 cueColour) {
    rig->board.SetBallColour(cue, cueColour);
    cue.x = kShootX * kOne;
    cue.y = kShootY * kOne;
    cue.SetState(kBallAtRest);
    player.ResetAim();
  }

  // Runs a whole search; the number of calls it took.
  int Search() {
    int calls = 1;
    while (player.ComputerAim()) ++calls;
    return calls;
  }

  std::unique_ptr<BoardRig> rig = MakeRig(77);
  Ball cue;
  ComputerPlayer player{rig->board, cue, rig->general, TrigTable()};
};

TEST(ComputerPlayerTest, PicksTheClusterNearestStraightUp) {
  // A wall across row 10 of colour 2 with a pair of the cue ball's colour
  // at (10, 10) and (10, 11). Every shot stops in row 11 under the wall;
  // straight up (x 231) it stops in (11, 10), which touches both: a cluster
  // of three, the largest there is. No angle is nearer 90, and of the four
  // powers at 90 the first tried stays.
  ComputerRig c(1);
  for (int col = 0; col < Board::kColumns; ++col) c.rig->Put(10, col, col == 10 || col == 11 ? 1 : 2);
  const BoardColours before = ColoursOf(c.rig->board);
  EXPECT_EQ(c.Search(), 32);
  EXPECT_EQ(c.player.bestAngle, 90);
  EXPECT_EQ(c.player.bestPower, 1);
  EXPECT_EQ(c.player.bestSize, 3);
  EXPECT_EQ(c.player.trialAngle, 170);
  EXPECT_EQ(ColoursOf(c.rig->board), before);  // the trials erased no ball and left none behind
}

TEST(ComputerPlayerTest, WithNothingToAimAtItShootsAtRandom) {
  // On an empty table every trial lands alone (a cluster of one), so after
  // each of the 160 x 4 trials the best angle and power are drawn afresh.
  ComputerRig c(3);
  u32 replay = c.rig->general;
  u32 angle = 0, power = 0;
  for (int trial = 0; trial < 160 * 4; ++trial) {
    angle = NextRandom(replay) % 160 + 10;
    power = NextRandom(replay) % 8 + 1;
  }
  c.Search();
  EXPECT_EQ(c.player.bestSize, 1);
  EXPECT_EQ(c.player.bestAngle, static_cast<i16>(angle));
  EXPECT_EQ(c.player.bestPower, static_cast<i16>(power));
  EXPECT_EQ(c.rig->general, replay);  // angles 11 to 170 tried, no more
}

// The rehearsal has no top cushion: straight up an empty table it ends in
// row 0 above the cue ball (even row: (231 - 6) / 20 = 11) at any power; a
// ball in the way stops it below, as it stops a shot.
TEST(ComputerPlayerTest, ARehearsalClimbsToTheTopRow) {
  ComputerRig c(1);
  i16 col = -1, row = -1;
  for (i16 power = 1; power <= 8; ++power) {
    ASSERT_TRUE(c.player.TracePath(231 * kOne, 400 * kOne, power, col, row));
    EXPECT_EQ(std::make_pair(row, col), (std::pair<i16, i16>{0, 11})) << "power " << power;
  }
  c.rig->Put(4, 11, 2);
  ASSERT_TRUE(c.player.TracePath(231 * kOne, 400 * kOne, 8, col, row));
  EXPECT_EQ(std::make_pair(row, col), (std::pair<i16, i16>{5, 10}));
  EXPECT_FALSE(c.player.TracePath(100 * kOne, 466 * kOne, 1, col, row));
}

}  // namespace
