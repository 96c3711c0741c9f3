#include "game/shot.h"

#include <gtest/gtest.h>

#include <vector>

#include "audio/sound_manager.h"
#include "platform/random.h"
#include "tests/game/shot_rig.h"

namespace {

constexpr i32 kOne = 256;
const std::vector<short> kOneBounce{SoundBounce};

// Flies the shot and checks that the ball settled in its landing cell with
// the cue ball's colour, within its tick budget.
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
  const i32 speed[8] = {2560, 2925, 3290, 3655, 4020, 4385, 4750, 5115};
  for (int p = 1; p <= 8; ++p) {
    EXPECT_EQ(CaptureRadius(p * kOne), radius[p - 1]) << "power " << p;
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
  // pass within 20 px of (12, 11) from the odd row below. Off the top: up
  // at 12/256 px across per step, back down past (20, 13), which it passes
  // within 20 px from (19, 12).
  struct Case {
    int clickX, clickY, row, col;
  };
  const Case cases[] = {{31, 366, 13, 10}, {431, 366, 13, 10}, {241, 266, 19, 12}};
  for (const Case& k : cases) {
    ShotRig s;
    if (k.row == 13) {
      for (int c = 0; c < Board::kColumns; ++c) s.rig->Put(12, c, 2);
    } else {
      s.rig->Put(20, 13, 2);
    }
    ASSERT_TRUE(s.Click(k.clickX, k.clickY, kOne));
    EXPECT_EQ(s.shot.Bounces(), 1);
    ExpectSettlesIn(s, k.row, k.col);
    EXPECT_EQ(s.sounds, kOneBounce);
    // Within one tick of the cushion it met, never past it.
    const i32 gap = k.clickX == 431 ? 446 * kOne - s.maxX
                       : k.clickX == 31 ? s.minX - 16 * kOne
                                        : s.minY - 16 * kOne;
    EXPECT_GE(gap, 0);
    EXPECT_LT(gap, FlightSpeed(kOne));
  }
}

// Blocked at once by a ball just above the shooting point, a shot settles
// in row 25 on its way up: it does not leave through the bottom.
TEST(ShotTest, ASettlingInTheBottomRowOnTheWayUpIsNoBottomHit) {
  ShotRig s;
  s.rig->Put(24, 11, 2);
  ASSERT_TRUE(s.Click(231, 300, kOne));
  ExpectSettlesIn(s, 25, 10);
  EXPECT_EQ(s.rig->fx.bursts.LiveCount(), 0);
}

// Flights that the course as first laid down missed, flying off the table:
// power 8 at shallow angles. (A pair low on the table is played through
// the game.)
TEST(ShotTest, ShallowPowerEightShotsReachTheirCells) {
  const struct {
    int ballRow, ballCol, clickX, clickY, row, col;
  } cases[] = {{11, 20, 180, 416, 11, 21}, {20, 14, 19, 410, 20, 13}};
  for (const auto& k : cases) {
    ShotRig s;
    s.rig->Put(k.ballRow, k.ballCol, 2);
    ASSERT_TRUE(s.Click(k.clickX, k.clickY, 8 * kOne));
    ExpectSettlesIn(s, k.row, k.col);
  }
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

// The next ball takes a colour on the table other than the cue ball's (the
// same one when no other is left), and nothing when none is; both balls
// roll up from below, a place lower when the next ball was hidden. After a
// load the saved pair comes up once without a draw.
TEST(ShotTest, NextBallDrawsAColourOtherThanTheCueBalls) {
  ShotRig s;
  s.rig->Put(3, 3, 1);
  s.rig->Put(3, 4, 3);
  s.rig->settings.nextColour = 3;
  ASSERT_EQ(s.shot.NextBall(), 1);
  EXPECT_EQ(s.rig->settings.currentColour, 3);
  EXPECT_EQ(s.rig->settings.nextColour, 1);
  EXPECT_EQ(s.cue.colour, 3);
  EXPECT_EQ(s.next.colour, 1);
  EXPECT_EQ(s.cue.y, 506 * kOne);
  EXPECT_EQ(s.next.y, 526 * kOne);
  EXPECT_EQ(s.cue.vy, -640);
  ASSERT_EQ(s.shot.NextBall(), 1);
  EXPECT_EQ(s.cue.y, 486 * kOne);
  EXPECT_EQ(s.next.y, 506 * kOne);

  s.rig->settings.currentColour = 4;
  s.rig->settings.nextColour = 5;
  s.shot.keepNext = 1;
  u32 replay = s.rig->colour;
  ASSERT_EQ(s.shot.NextBall(), 1);
  EXPECT_EQ(s.cue.colour, 4);
  EXPECT_EQ(s.next.colour, 5);
  EXPECT_EQ(s.rig->colour, replay);
  ASSERT_EQ(s.shot.NextBall(), 1);
  EXPECT_EQ(s.cue.colour, 5);
  EXPECT_NE(s.next.colour, 5);

  s.board().EmptyCell(3, 4);  // one colour left
  s.rig->settings.nextColour = 1;
  replay = s.rig->colour;
  NextRandom(replay);
  ASSERT_EQ(s.shot.NextBall(), 1);
  EXPECT_EQ(s.rig->settings.nextColour, 1);  // one draw, the same colour
  EXPECT_EQ(s.rig->colour, replay);

  s.board().EmptyCell(3, 3);
  s.rig->settings.nextColour = 0;
  const i32 y = s.cue.y;
  EXPECT_EQ(s.shot.NextBall(), 0);
  EXPECT_EQ(s.cue.y, y);  // nothing placed
}

}  // namespace
