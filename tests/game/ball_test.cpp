#include "game/ball.h"

#include <gtest/gtest.h>

namespace {

constexpr i32 kOne = 256;

// A ball of colour c as the board colours it, at (100, 50) on the table.
void RestingBall(Ball& b, int colour) {
  b.colour = static_cast<u8>(colour);
  b.imageBase = (35 * colour + 8) * kOne;
  b.fullImage = b.imageBase + 18 * kOne;
  b.minSize = kOne;
  b.maxSize = 10 * kOne;
  b.hasShadow = 1;
  b.x = 100 * kOne;
  b.y = 50 * kOne;
  b.z = 10 * kOne;
}

TEST(BallTest, EveryFieldStartsAtZero) {
  Ball b;
  EXPECT_EQ(b.x | b.y | b.z | b.vx | b.vy | b.vz, 0);
  EXPECT_EQ(b.size | b.minSize | b.maxSize | b.imageBase | b.fullImage | b.sizeStep, 0);
  EXPECT_EQ(b.state | b.counter | b.colour | b.hasShadow, 0);
  EXPECT_EQ(b.ballClip.anchor & b.shadowClip.anchor, 1);  // both drawn centred on their point
}

TEST(BallTest, RestFrameOfEveryColourIsItsFullImage) {
  for (int c = 1; c <= 8; ++c) {
    Ball b;
    RestingBall(b, c);
    b.SetState(kBallAtRest);
    EXPECT_EQ(b.ballClip.imageIndex, 35 * c + 26) << "colour " << c;
    EXPECT_EQ(b.ballClip.x, 100 * kOne);
    // Scale 10.0: shadow frame 18, half the height below and to the right.
    EXPECT_EQ(b.shadowClip.imageIndex, 18);
    EXPECT_EQ(b.shadowClip.x, 105 * kOne);
    EXPECT_EQ(b.shadowClip.y, 55 * kOne);
    EXPECT_EQ(b.shadowClip.visible, 1);
  }
}

// The frame is 2 x (size x 190 / (200 - z)) - 2 above the colour's first,
// never past its 35 frames, and the scale stays within 1.0..19.0 even at
// or above the eye.
TEST(BallTest, ProjectionFromSizeAndHeight) {
  struct Case {
    i32 size, z;
    int frame, shadowFrame;
  };
  const Case cases[] = {
      {kOne, 10 * kOne, 0, 0},                   // scale 1.0
      {5 * kOne, 10 * kOne, 8, 8},               // scale 5.0
      {10 * kOne, 150 * kOne, 34, 36},           // scale 38: clamped to 19.0
      {10 * kOne, 199 * kOne + 255, 34, 36},
      {10 * kOne, 200 * kOne, 34, 36},           // at the eye: no division by zero
      {10 * kOne, 250 * kOne, 34, 36},
      {0, 200 * kOne, 0, 0},                     // nothing to show: the smallest
  };
  for (const Case& k : cases) {
    Ball b;
    RestingBall(b, 8);
    b.maxSize = 20 * kOne;  // never the full image: the frame formula decides
    b.size = k.size;
    b.z = k.z;
    b.Project();
    EXPECT_EQ(b.ballClip.imageIndex, 35 * 8 + 8 + k.frame) << k.size << " at " << k.z;
    EXPECT_EQ(b.shadowClip.imageIndex, k.shadowFrame) << k.size << " at " << k.z;
  }
  // An odd shadow height rounds the offset down: 7.5 px -> 3.75 px.
  Ball b;
  RestingBall(b, 2);
  b.z = 7 * kOne + 128;
  b.Project();
  EXPECT_EQ(b.shadowOffset, 3 * kOne + 192);
  // Without a shadow its clip stays where it was.
  const i32 shadowX = b.shadowClip.x;
  b.hasShadow = 0;
  b.x += 40 * kOne;
  b.Project();
  EXPECT_EQ(b.shadowClip.x, shadowX);
}

// Both clips go in even without a shadow, so shadows switched on later show.
TEST(BallTest, RegistersBothClipsEvenWithoutShadow) {
  Ball b;
  PointerList<OClip> clips(2);
  b.RegisterClips(clips);
  ASSERT_EQ(clips.Count(), 2);
  EXPECT_EQ(clips.At(0), &b.shadowClip);
  EXPECT_EQ(clips.At(1), &b.ballClip);
}

}  // namespace
