#include "platform/fixed_math.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/random.h"

TEST(FixedMath, SquareRoots) {
  const i32 roots[][2] = {{1024, 512}, {256, 256}, {0, 0}, {-5, 0},
                          {64, 128},  // 0.25 -> 0.5
                          {16, 64},   // below 64: through the reciprocal
                          {100 * 256, 10 * 256}};
  for (const auto& r : roots) EXPECT_EQ(FixSqrt(r[0]), r[1]) << r[0];
  // Within a few 1/256 of the true root over the game's range.
  for (int v = 64; v < (1 << 22); v += 997) {
    const double exact = std::sqrt(v / 256.0) * 256.0;
    EXPECT_NEAR(FixSqrt(v), exact, 2.0 + exact * 0.002) << v;
  }

  EXPECT_EQ(FixSqrtRound(1024), 512);
  EXPECT_EQ(FixSqrtRound(640), 512);  // 2.5 rounds to 3; five steps on 3 end on 2
  EXPECT_EQ(FixSqrtRound(0), 0);
  for (int v = 64; v < 128; ++v) EXPECT_EQ(FixSqrtRound(v), 0) << v;  // rounds to 0, no division
  EXPECT_EQ(FixSqrtRound(10000 * 256), 100 * 256);
}

TEST(FixedMath, ScaleVectorKeepsLargeProducts) {
  FixVec out;
  FixScaleVec(out, 512, FixVec{300, -300});
  EXPECT_EQ(out.x, 600);
  EXPECT_EQ(out.y, -600);
  FixScaleVec(out, 128, FixVec{-3, 3});
  EXPECT_EQ(out.x, -2);  // arithmetic shift rounds toward minus infinity
  EXPECT_EQ(out.y, 1);
  // A product beyond 32 bits that fits again after the shift.
  FixScaleVec(out, 2048, FixVec{100000000, 0});
  EXPECT_EQ(out.x, 800000000);
}

TEST(FixedMath, SineTableAnchors) {
  const i32* t = TrigTable();
  const i32 first[10] = {0, 4, 8, 13, 17, 22, 26, 31, 35, 40};
  for (int d = 0; d < 10; ++d) EXPECT_EQ(t[d], first[d]) << d;
  const i32 anchors[][2] = {{90, 256}, {270, -256}, {30, 128}, {150, 127},
                            {210, -128}, {330, -127}, {180, 0}};
  for (const auto& a : anchors) EXPECT_EQ(t[a[0]], a[1]) << a[0];
}

TEST(Random, StepsTheStateInPlace) {
  u32 state = 1;
  EXPECT_EQ(NextRandom(state), 16838u);  // the classic first value for seed 1
  EXPECT_EQ(state, 1103527590u);
  EXPECT_EQ(NextRandom(state), 5758u);
}
