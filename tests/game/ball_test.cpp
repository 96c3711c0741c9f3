#include "game/ball.h"

#include <gtest/gtest.h>

namespace {

constexpr i32 kOne = 256;

// A ball of colour c as the board colours it, resting on the table.
void RestingBall(Ball& b, int colour, u8 shadow) {
  b.colour = static_cast<u8>(colour);
  b.imageBase = (35 * colour + 8) * kOne;
  b.fullImage = b.imageBase + 18 * kOne;
  b.minSize = kOne;
  b.maxSize = 10 * kOne;
  b.hasShadow = shadow;
  b.x = 100 * kOne;
  b.y = 50 * kOne;
  b.z = 10 * kOne;
}

TEST(BallTest, EveryFieldStartsAtZero) {
  Ball b;
  EXPECT_EQ(b.x | b.y | b.z | b.vx | b.vy | b.vz, 0);
  EXPECT_EQ(b.size | b.minSize | b.maxSize | b.imageBase | b.fullImage | b.sizeStep, 0);
  EXPECT_EQ(b.state, kBallHidden);
  EXPECT_EQ(b.counter, 0);
  EXPECT_EQ(b.colour, 0);
  EXPECT_EQ(b.hasShadow, 0);
  EXPECT_EQ(b.ballClip.anchor, 1);
  EXPECT_EQ(b.shadowClip.anchor, 1);
}

TEST(BallTest, RestFrameOfEveryColourIsItsFullImage) {
  for (int c = 1; c <= 8; ++c) {
    Ball b;
    RestingBall(b, c, 1);
    b.SetState(kBallAtRest);
    EXPECT_EQ(b.ballClip.imageIndex, 35 * c + 26) << "colour " << c;
    EXPECT_EQ(b.ballClip.x, 100 * kOne);
    EXPECT_EQ(b.ballClip.y, 50 * kOne);
    EXPECT_EQ(b.ballClip.visible, 1);
    // Scale 10.0: shadow frame 18, half the height below and to the right.
    EXPECT_EQ(b.shadowClip.imageIndex, 18);
    EXPECT_EQ(b.shadowOffset, 5 * kOne);
    EXPECT_EQ(b.shadowClip.x, 105 * kOne);
    EXPECT_EQ(b.shadowClip.y, 55 * kOne);
    EXPECT_EQ(b.shadowClip.visible, 1);
  }
}

TEST(BallTest, ScaleFollowsSizeAndHeight) {
  Ball b;
  RestingBall(b, 2, 1);
  // Size 1.0 on the table: scale 190 / 190 = 1.0, the colour's first frame.
  b.size = kOne;
  b.z = 10 * kOne;
  b.Project();
  EXPECT_EQ(b.ballClip.imageIndex, 35 * 2 + 8);
  // Size 5.0 at height 10: scale 5.0, frame 8.
  b.size = 5 * kOne;
  b.Project();
  EXPECT_EQ(b.ballClip.imageIndex, 35 * 2 + 8 + 8);
  // An odd shadow height rounds the offset down: 7.5 px -> 3.75 px.
  b.z = 7 * kOne + 128;
  b.Project();
  EXPECT_EQ(b.shadowOffset, 3 * kOne + 192);
}

TEST(BallTest, HighBallsStayWithinTheirColoursFrames) {
  for (i32 z : {150 * kOne, 190 * kOne, 199 * kOne, 199 * kOne + 255}) {
    Ball b;
    RestingBall(b, 8, 1);
    b.size = 10 * kOne;
    b.maxSize = 20 * kOne;  // never the full image: the frame formula decides
    b.z = z;
    b.Project();
    EXPECT_GE(b.ballClip.imageIndex, 35 * 8 + 8);
    EXPECT_LE(b.ballClip.imageIndex, 35 * 8 + 8 + 34) << "z " << z;
    EXPECT_LE(b.shadowClip.imageIndex, 36);
  }
}

TEST(BallTest, HeightAtOrAboveTheEyeDoesNotDivideByZero) {
  for (i32 z : {200 * kOne, 250 * kOne}) {
    Ball b;
    RestingBall(b, 1, 1);
    b.size = 10 * kOne;
    b.maxSize = 20 * kOne;
    b.z = z;
    b.Project();
    EXPECT_EQ(b.ballClip.imageIndex, 35 + 8 + 34);  // the largest frame of colour 1
    EXPECT_EQ(b.shadowClip.imageIndex, 36);         // scale 19.0
  }
  Ball empty;
  empty.z = 200 * kOne;
  empty.Project();
  EXPECT_EQ(empty.shadowClip.imageIndex, 0);  // size 0: the smallest scale
}

TEST(BallTest, WithoutShadowTheShadowClipStaysWhereItWas) {
  Ball b;
  RestingBall(b, 3, 1);
  b.SetState(kBallAtRest);
  const i32 x = b.shadowClip.x;
  b.SetShadow(0);
  EXPECT_EQ(b.shadowClip.visible, 0);
  b.x += 40 * kOne;
  b.Project();
  EXPECT_EQ(b.shadowClip.x, x);
  b.SetShadow(1);
  EXPECT_EQ(b.shadowClip.visible, 1);  // the ball clip is shown
}

TEST(BallTest, RegistersBothClipsEvenWithoutShadow) {
  Ball b;
  PointerList<OClip> clips(3);
  b.RegisterClips(clips);
  ASSERT_EQ(clips.Count(), 2);
  EXPECT_EQ(clips.At(0), &b.shadowClip);
  EXPECT_EQ(clips.At(1), &b.ballClip);
  Ball c;
  c.RegisterClips(clips);  // room for one more: the shadow goes in, the ball is refused
  ASSERT_EQ(clips.Count(), 3);
  EXPECT_EQ(clips.At(2), &c.shadowClip);
}

TEST(BallTest, WaitingStatesCountTheirTicks) {
  Ball b;
  RestingBall(b, 1, 0);
  b.counter = 0;  // 0 or 1 waits one tick
  b.SetState(kBallWaitBurst);
  b.Step();
  EXPECT_EQ(b.state, kBallBurst);

  b.counter = 3;
  b.SetState(kBallHiddenWaitGrow);
  EXPECT_EQ(b.ballClip.visible, 0);
  b.Step();
  b.Step();
  EXPECT_EQ(b.state, kBallHiddenWaitGrow);
  b.Step();
  EXPECT_EQ(b.state, kBallGrow);
  EXPECT_EQ(b.size, kOne);  // grows from minSize
  EXPECT_EQ(b.ballClip.visible, 1);
}

}  // namespace
