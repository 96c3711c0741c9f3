#include "game/aimer.h"

#include <gtest/gtest.h>

#include "game/board.h"
#include "platform/fixed_math.h"
#include "tests/game/board_rig.h"

namespace {

constexpr i32 kOne = 256;

struct AimRig {
  explicit AimRig(u8 mode = 0) { aimer.Init(mode, 231 * kOne, 466 * kOne, 1); }
  void Turn(int delta) { aimer.Turn(static_cast<i16>(delta), TrigTable(), rig->board); }

  std::unique_ptr<BoardRig> rig = MakeRig();
  Aimer aimer;
};

TEST(AimerTest, TurningStopsAtTenAndOneHundredSeventy) {
  AimRig a;
  a.Turn(75);
  EXPECT_EQ(a.aimer.angle, 165);
  a.Turn(10);
  EXPECT_EQ(a.aimer.angle, 170);
  a.Turn(-500);
  EXPECT_EQ(a.aimer.angle, 10);
  a.Turn(-1);
  EXPECT_EQ(a.aimer.angle, 10);
}

TEST(AimerTest, TheTraceStopsAtTheCushions) {
  AimRig a;
  a.Turn(0);  // straight up an empty table to the top of the box
  EXPECT_EQ(a.aimer.targetX, 231 * kOne);
  EXPECT_EQ(a.aimer.targetY, 6 * kOne);
  // At 170 degrees a step is 1 px left and 44/256 px up (256 tan 170 from
  // the table's 44 and -252): 225 steps to x 6, 38.67 px up, so y 427.
  a.Turn(80);
  EXPECT_EQ(a.aimer.targetX, 6 * kOne);
  EXPECT_EQ(a.aimer.targetY, 427 * kOne);
  // At 10 degrees the same to the right; the trace's x 456 is pulled back
  // into the box.
  a.Turn(-160);
  EXPECT_EQ(a.aimer.targetX, 455 * kOne);
  EXPECT_EQ(a.aimer.targetY, 427 * kOne);
}

TEST(AimerTest, TheTraceStopsNearABall) {
  // The ball at (10, 11) has its centre at (236, 196); straight up from
  // x 231, y 211 is the first point nearer than 16.66 px (15.8 px).
  AimRig a;
  a.rig->Put(10, 11, 3);
  a.Turn(0);
  EXPECT_EQ(a.aimer.targetX, 231 * kOne);
  EXPECT_EQ(a.aimer.targetY, 211 * kOne);
}

TEST(AimerTest, DotsRunBackFromTheTarget20PxApart) {
  AimRig a;
  a.aimer.ShowDots(1);
  a.Turn(0);  // target (231, 6), 460 px from the cue ball: 24 dots
  ASSERT_EQ(a.aimer.dotCount, 24);
  EXPECT_EQ(a.aimer.dots[0].x, 231 * kOne);
  EXPECT_EQ(a.aimer.dots[0].y, 6 * kOne);
  for (int k = 1; k < a.aimer.dotCount; ++k) {
    const Ball& d = a.aimer.dots[k];
    const i32 gap = d.y - a.aimer.dots[k - 1].y;
    EXPECT_GT(gap, 19 * kOne) << "dot " << k;
    EXPECT_LE(gap, 20 * kOne) << "dot " << k;
    EXPECT_LT(d.y, 466 * kOne);
    EXPECT_EQ(d.state, kBallAtRest);
    EXPECT_EQ(d.ballClip.imageIndex, 255);  // a dot at rest
  }
  for (int k = a.aimer.dotCount; k < Aimer::kDots; ++k) EXPECT_EQ(a.aimer.dots[k].state, kBallHidden);
  // A short aim lays fewer dots; hiding them keeps the count.
  a.aimer.MoveTarget(0, 400);  // target (231, 406), 60 px away
  EXPECT_EQ(a.aimer.dotCount, 4);
  a.aimer.ShowDots(0);
  EXPECT_EQ(a.aimer.dotCount, 4);
  for (const Ball& d : a.aimer.dots) EXPECT_EQ(d.ballClip.visible, 0);
}

TEST(AimerTest, ThePenAimsWithoutDots) {
  AimRig a(1);
  a.aimer.ShowDots(1);
  a.aimer.MoveTarget(-100, 100);
  EXPECT_EQ(a.aimer.targetX, 131 * kOne);
  EXPECT_EQ(a.aimer.targetY, 340 * kOne);
  for (const Ball& d : a.aimer.dots) EXPECT_EQ(d.state, kBallHidden);
}

TEST(AimerTest, TheTableBoxBoundsTargets) {
  AimRig a(1);
  EXPECT_EQ(a.aimer.ClampPoint(6 * kOne, 460 * kOne, 0), 1);
  EXPECT_EQ(a.aimer.ClampPoint(6 * kOne - 1, 100 * kOne, 0), 0);
  EXPECT_EQ(a.aimer.targetX, 231 * kOne);  // a test alone moves nothing
  a.aimer.MoveTarget(-400, 300);
  EXPECT_EQ(a.aimer.targetX, 6 * kOne);
  EXPECT_EQ(a.aimer.targetY, 460 * kOne);
}

}  // namespace
