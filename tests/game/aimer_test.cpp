#include "game/aimer.h"

#include <gtest/gtest.h>

#include "game/board.h"
#include "platform/fixed_math.h"
#include "tests/game/board_rig.h"

namespace {

constexpr i32 kOne = 256;

struct AimRig {
  AimRig() { aimer.Init(0, 231 * kOne, 466 * kOne, 1); }
  void Turn(int delta) { aimer.Turn(static_cast<i16>(delta), TrigTable(), rig->board); }
  void ExpectTarget(int x, int y) {
    EXPECT_EQ(aimer.targetX, x * kOne);
    EXPECT_EQ(aimer.targetY, y * kOne);
  }

  std::unique_ptr<BoardRig> rig = MakeRig();
  Aimer aimer;
};

// The angle stays within 10..170; the trace stops at the cushions, the top
// of the table box, or near the first ball on its way.
TEST(AimerTest, TheTraceStopsAtTheCushionsOrNearABall) {
  AimRig a;
  a.Turn(0);  // straight up an empty table
  a.ExpectTarget(231, 6);
  // At 170 degrees a step is 1 px left and 44/256 px up (256 tan 170 from
  // the table's 44 and -252): 225 steps to x 6, 38.67 px up, so y 427.
  a.Turn(85);
  EXPECT_EQ(a.aimer.angle, 170);
  a.ExpectTarget(6, 427);
  // At 10 degrees the same to the right; the trace's x 456 is pulled back
  // into the box.
  a.Turn(-500);
  EXPECT_EQ(a.aimer.angle, 10);
  a.ExpectTarget(455, 427);
  // The ball at (10, 11) has its centre at (236, 196); straight up from
  // x 231, y 211 is the first point nearer than 16.66 px (15.8 px).
  a.rig->Put(10, 11, 3);
  a.Turn(80);
  a.ExpectTarget(231, 211);
}

TEST(AimerTest, DotsRunBackFromTheTarget20PxApart) {
  AimRig a;
  a.aimer.ShowDots(1);
  a.Turn(0);  // target (231, 6), 460 px from the cue ball: 24 dots
  ASSERT_EQ(a.aimer.dotCount, 24);
  EXPECT_EQ(a.aimer.dots[0].y, 6 * kOne);
  for (int k = 1; k < a.aimer.dotCount; ++k) {
    const Ball& d = a.aimer.dots[k];
    const i32 gap = d.y - a.aimer.dots[k - 1].y;
    EXPECT_TRUE(gap > 19 * kOne && gap <= 20 * kOne) << "dot " << k;
    EXPECT_EQ(d.x, 231 * kOne);
    EXPECT_EQ(d.ballClip.imageIndex, 255);  // a dot at rest
  }
  EXPECT_EQ(a.aimer.dots[24].state, kBallHidden);
  // A short aim lays fewer dots; hiding them keeps the count.
  a.aimer.MoveTarget(0, 400);  // target (231, 406), 60 px away
  EXPECT_EQ(a.aimer.dotCount, 4);
  a.aimer.ShowDots(0);
  EXPECT_EQ(a.aimer.dotCount, 4);
  for (const Ball& d : a.aimer.dots) EXPECT_EQ(d.ballClip.visible, 0);
}

}  // namespace
