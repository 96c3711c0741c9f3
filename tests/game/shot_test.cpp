#include "game/shot.h"

#include <gtest/gtest.h>

#include <vector>

#include "audio/sound_manager.h"
#include "platform/random.h"
#include "tests/game/shot_rig.h"

namespace {

constexpr i32 kOne = 256;

// Flies the shot and checks that the ball settled in its landing cell with
// the cue ball's colour.
void ExpectSettlesIn(ShotRig& s, int row, int col) {
  ASSERT_EQ(s.shot.LandingRow(), row);
  ASSERT_EQ(s.shot.LandingCol(), col);
  const u8 colour = s.cue.colour;
  ASSERT_GT(s.Fly(), 0);
  EXPECT_FALSE(s.shot.LeavesBottom());
  EXPECT_EQ(s.board().Cell(row, col).colour, colour);
  EXPECT_EQ(s.board().Cell(row, col).state, kBallAtRest);
  EXPECT_EQ(s.cue.state, kBallHidden);
  EXPECT_LE(s.shot.Ticks(), s.shot.TickBudget());
}

TEST(ShotTest, RadiusAndSpeedFollowThePower) {
  const i32 radius[8] = {5120, 4630, 4140, 3650, 3160, 2670, 2180, 1690};
  const i32 radiusSq[8] = {102400, 83737, 66951, 52041, 39006, 27847, 18564, 11156};
  const i32 speed[8] = {2560, 2925, 3290, 3655, 4020, 4385, 4750, 5115};
  for (int p = 1; p <= 8; ++p) {
    EXPECT_EQ(CaptureRadius(p * kOne), radius[p - 1]) << "power " << p;
    EXPECT_EQ((CaptureRadius(p * kOne) * CaptureRadius(p * kOne)) >> 8, radiusSq[p - 1]);
    EXPECT_EQ(FlightSpeed(p * kOne), speed[p - 1]) << "power " << p;
  }
}

TEST(ShotTest, StraightUpStopsUnderTheBallAbove) {
  // Straight up from x 231 the ball passes 5 px from the centre of (4, 11)
  // and stops in the odd-row cell below it, (5, 10), at any power.
  for (int power = 1; power <= 8; power += 7) {
    ShotRig s;
    s.rig->Put(4, 11, 2);
    ASSERT_TRUE(s.Click(231, 300, power * kOne));
    EXPECT_EQ(s.shot.Bounces(), 0);
    EXPECT_EQ(s.cue.vx, 0);
    EXPECT_EQ(s.cue.vy, -FlightSpeed(power * kOne));
    ExpectSettlesIn(s, 5, 10);
    EXPECT_TRUE(s.sounds.empty());
  }
}

TEST(ShotTest, BouncesOffEachCushion) {
  // A wall across row 12: a shot going up at half a pixel per pixel across
  // meets the side cushion after 215 steps, 358.5 px down, then rises to
  // pass within 20 px of (12, 11) from the odd row below.
  for (int side = 0; side < 2; ++side) {
    ShotRig s;
    for (int c = 0; c < Board::kColumns; ++c) s.rig->Put(12, c, 2);
    ASSERT_TRUE(s.Click(side ? 431 : 31, 366, kOne));
    EXPECT_EQ(s.shot.Bounces(), 1);
    ExpectSettlesIn(s, 13, 10);
    EXPECT_EQ(s.sounds, std::vector<short>{short{SoundBounce}});
    // Within one tick of the cushion, never past it.
    if (side) {
      EXPECT_LE(s.maxX, 446 * kOne);
      EXPECT_GT(s.maxX, 446 * kOne - FlightSpeed(kOne));
    } else {
      EXPECT_GE(s.minX, 16 * kOne);
      EXPECT_LT(s.minX, 16 * kOne + FlightSpeed(kOne));
    }
  }
  // Off the top: up at 12/256 px across per step, back down past (20, 13),
  // which it passes within 20 px from (19, 12).
  ShotRig s;
  s.rig->Put(20, 13, 2);
  ASSERT_TRUE(s.Click(241, 266, kOne));
  EXPECT_EQ(s.shot.Bounces(), 1);
  ExpectSettlesIn(s, 19, 12);
  EXPECT_EQ(s.sounds, std::vector<short>{short{SoundBounce}});
  EXPECT_GE(s.minY, 16 * kOne);
  EXPECT_LT(s.minY, 16 * kOne + FlightSpeed(kOne));
}

TEST(ShotTest, OnlyAShotComingDownIntoTheBottomRowBursts) {
  // Straight up over an empty table: off the top and down into (25, 10).
  ShotRig down;
  ASSERT_TRUE(down.Click(231, 300, kOne));
  EXPECT_TRUE(down.shot.LeavesBottom());
  EXPECT_EQ(down.shot.LandingRow(), 25);
  ASSERT_GT(down.Fly(), 0);
  EXPECT_EQ(down.cue.state, kBallHidden);
  EXPECT_GT(down.rig->fx.bursts.LiveCount(), 0);
  EXPECT_EQ(down.board().CountColours(), 0);

  // Blocked at once by a ball just above the shooting point: it settles in
  // row 25 on the way up and does not burst.
  ShotRig up;
  up.rig->Put(24, 11, 2);
  ASSERT_TRUE(up.Click(231, 300, kOne));
  EXPECT_FALSE(up.shot.LeavesBottom());
  ExpectSettlesIn(up, 25, 10);
  EXPECT_EQ(up.rig->fx.bursts.LiveCount(), 0);
}

TEST(ShotTest, ATargetAtOrBelowTheBallIsNoShot) {
  ShotRig s;
  s.rig->Put(4, 11, 2);
  ASSERT_TRUE(s.Click(231, 300, kOne));
  const i32 vy = s.cue.vy;
  for (int y : {466, 470}) {
    EXPECT_FALSE(s.shot.ComputeShot(100 * kOne, y * kOne, kOne));
    EXPECT_EQ(s.shot.LandingRow(), 5);
    EXPECT_EQ(s.cue.vy, vy);
  }
}

// Flights that the course as first laid down missed, flying off the table:
// power 8 at shallow angles.
TEST(ShotTest, ShallowPowerEightShotsReachTheirCells) {
  ShotRig one;
  one.rig->Put(11, 20, 2);
  ASSERT_TRUE(one.Click(180, 416, 8 * kOne));
  ExpectSettlesIn(one, 11, 21);

  ShotRig two;
  two.rig->Put(20, 14, 2);
  ASSERT_TRUE(two.Click(19, 410, 8 * kOne));
  ExpectSettlesIn(two, 20, 13);

  // Steered into a bottom-row cell the ball may end up moving down; it
  // still settles, and its cluster is there to be found.
  ShotRig pair;
  pair.rig->Put(24, 12, 1);
  pair.rig->Put(24, 13, 1);
  pair.PlaceCue(1);
  ASSERT_TRUE(pair.Click(258, 460, 8 * kOne));
  EXPECT_FALSE(pair.shot.LeavesBottom());
  ASSERT_GT(pair.Fly(), 0);
  const int row = pair.shot.LandingRow(), col = pair.shot.LandingCol();
  EXPECT_EQ(pair.board().Cell(row, col).colour, 1);
  EXPECT_EQ(pair.rig->fx.bursts.LiveCount(), 0);
  EXPECT_EQ(pair.board().FindCluster(static_cast<i16>(row), static_cast<i16>(col), 1), 3);
}

TEST(ShotTest, WithPhysicsTheSettledBallStartsFromTheShotsPlace) {
  ShotRig s;
  s.rig->settings.physics = 1;
  s.board().BuildLattice();
  s.rig->Put(4, 11, 2);
  Ball& cell = s.board().Cell(5, 10);
  cell.vx = 999 * kOne;  // left over from the fly-in: must not reach the node
  cell.vy = 999 * kOne;
  ASSERT_TRUE(s.Click(231, 300, 4 * kOne));
  ASSERT_GT(s.Fly(), 0);
  const LatticeNode& node = s.rig->fx.lattice.CellNode(5, 10);
  EXPECT_EQ(node.occupied, 1);
  EXPECT_EQ(node.x, s.cue.x);
  EXPECT_EQ(node.y, s.cue.y);
  EXPECT_EQ(cell.x, s.cue.x);
  EXPECT_EQ(node.vx, s.cue.vx);
  EXPECT_EQ(node.vy, s.cue.vy);
  EXPECT_NE(node.y, node.restY);  // stopped short of the centre
}

TEST(ShotTest, NextBallDrawsAColourOtherThanTheCueBalls) {
  ShotRig s;
  s.rig->Put(3, 3, 1);
  s.rig->Put(3, 4, 3);
  s.rig->settings.nextColour = 3;
  ASSERT_EQ(s.shot.NextBall(), 1);
  EXPECT_EQ(s.rig->settings.currentColour, 3);
  EXPECT_EQ(s.rig->settings.nextColour, 1);  // the only other colour
  EXPECT_EQ(s.cue.colour, 3);
  EXPECT_EQ(s.next.colour, 1);
  // The next ball was hidden: both start a place lower, rolling up.
  EXPECT_EQ(s.cue.y, 506 * kOne);
  EXPECT_EQ(s.next.y, 526 * kOne);
  EXPECT_EQ(s.cue.x, 231 * kOne);
  EXPECT_EQ(s.cue.vy, -640);
  EXPECT_EQ(s.cue.state, kBallAtRest);
  ASSERT_EQ(s.shot.NextBall(), 1);
  EXPECT_EQ(s.cue.y, 486 * kOne);
  EXPECT_EQ(s.next.y, 506 * kOne);

}

TEST(ShotTest, NextBallWithOneColourOrNone) {
  ShotRig one;
  one.rig->Put(3, 3, 2);
  one.rig->settings.nextColour = 2;
  u32 replay = one.rig->colour;
  NextRandom(replay);
  ASSERT_EQ(one.shot.NextBall(), 1);
  EXPECT_EQ(one.rig->settings.nextColour, 2);  // one draw, the same colour
  EXPECT_EQ(one.rig->colour, replay);

  ShotRig none;
  none.rig->settings.nextColour = 0;
  none.next.SetState(kBallHidden);
  const i32 y = none.cue.y;
  EXPECT_EQ(none.shot.NextBall(), 0);
  EXPECT_EQ(none.cue.y, y);  // nothing placed
  EXPECT_EQ(none.next.state, kBallHidden);
}

TEST(ShotTest, ALoadedGameKeepsItsPairOnce) {
  ShotRig s;
  s.rig->Put(3, 3, 1);
  s.rig->Put(3, 4, 2);
  s.rig->settings.currentColour = 4;
  s.rig->settings.nextColour = 5;
  s.shot.keepNext = 1;
  const u32 random = s.rig->colour;
  ASSERT_EQ(s.shot.NextBall(), 1);
  EXPECT_EQ(s.shot.keepNext, 0u);
  EXPECT_EQ(s.cue.colour, 4);
  EXPECT_EQ(s.next.colour, 5);
  EXPECT_EQ(s.rig->colour, random);
  ASSERT_EQ(s.shot.NextBall(), 1);
  EXPECT_EQ(s.cue.colour, 5);
  EXPECT_NE(s.next.colour, 5);
}

}  // namespace
