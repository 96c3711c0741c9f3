#include "platform/color_ramp.h"

#include <gtest/gtest.h>

TEST(ColorRamp, TintMovesTowardBlackOrWhite) {
  // (The skin's text colours are checked with the skin.)
  const u32 cases[][3] = {{0x808080, 128, 0x808080}, {0x808080, 0, 0x000000},
                          {0x808080, 255, 0xFFFFFF}, {0x4040FF, 128, 0x4040FF},
                          {0xFFFFFF, 255, 0xFFFFFF},  // luminance 255: unchanged
                          {0x000000, 0, 0x000000}};
  for (const auto& c : cases) {
    EXPECT_EQ(TintColor(c[0], static_cast<i16>(c[1])), c[2]) << std::hex << c[0] << " at " << c[1];
  }
}

TEST(ColorRamp, RampsRunTheirWholeLength) {
  u32 table[kRampSize];
  BuildRampFromBlack(0xFFFFFF, table);
  for (int i = 0; i < kRampSize; ++i) ASSERT_EQ(table[i], static_cast<u32>(i * 0x010101)) << i;

  BuildRampToWhite(0x666666, table);
  EXPECT_EQ(table[0], 0x666666u);
  EXPECT_EQ(table[254] & 0xFF, 0xFEu);  // just short of white
  for (int i = 1; i < kRampSize; ++i) ASSERT_GE(table[i] & 0xFF, table[i - 1] & 0xFF);

  // Black up to the colour at its luminance, then on toward white; pure
  // white has no upper part and pure black no lower one.
  BuildTintRamp(0x808080, table);
  EXPECT_EQ(table[0], 0u);
  EXPECT_EQ(table[127], 0x7F7F7Fu);
  EXPECT_EQ(table[128], 0x808080u);
  EXPECT_EQ(table[254] & 0xFF, 0xFEu);
  BuildTintRamp(0xFFFFFF, table);
  EXPECT_EQ(table[254], 0xFEFEFEu);
  BuildTintRamp(0x000000, table);
  EXPECT_EQ(table[0], 0u);
}
