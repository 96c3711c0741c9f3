#include "platform/color_ramp.h"

#include <gtest/gtest.h>

TEST(ColorRamp, TintMovesTowardBlackOrWhite) {
  EXPECT_EQ(TintColor(0x808080, 128), 0x808080u);
  EXPECT_EQ(TintColor(0x808080, 0), 0x000000u);
  EXPECT_EQ(TintColor(0x808080, 255), 0xFFFFFFu);
  // The skin's text colours.
  EXPECT_EQ(TintColor(0x4040FF, 128), 0x4040FFu);
  EXPECT_EQ(TintColor(0x40FF40, 64), 0x208020u);
  EXPECT_EQ(TintColor(0x40FF40, 32), 0x104010u);
  EXPECT_EQ(TintColor(0xFFFFFF, 255), 0xFFFFFFu);  // luminance 255: unchanged
  EXPECT_EQ(TintColor(0x000000, 0), 0x000000u);
}

TEST(ColorRamp, RampsRunTheirWholeLength) {
  u32 table[kRampSize];
  BuildRampFromBlack(0xFFFFFF, table);
  for (int i = 0; i < kRampSize; ++i) {
    ASSERT_EQ(table[i], static_cast<u32>(i * 0x010101)) << i;
  }

  BuildRampToWhite(0x666666, table);
  EXPECT_EQ(table[0], 0x666666u);
  EXPECT_EQ(table[254] & 0xFF, 0xFEu);  // just short of white
  for (int i = 1; i < kRampSize; ++i) ASSERT_GE(table[i] & 0xFF, table[i - 1] & 0xFF);

  // Black up to the colour at its luminance, then on toward white.
  BuildTintRamp(0x808080, table);
  EXPECT_EQ(table[0], 0u);
  EXPECT_EQ(table[127], 0x7F7F7Fu);
  EXPECT_EQ(table[128], 0x808080u);
  EXPECT_EQ(table[254] & 0xFF, 0xFEu);

  // Pure white has no upper part and pure black no lower one.
  BuildTintRamp(0xFFFFFF, table);
  EXPECT_EQ(table[254], 0xFEFEFEu);
  BuildTintRamp(0x000000, table);
  EXPECT_EQ(table[0], 0u);
}
