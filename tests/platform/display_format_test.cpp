#include "platform/display_format.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A 4 x 2 surface: white, red, green, blue on the first row, black after.
Surface* MakeSource() {
  Surface* s = Surface::Create(4, 2, 24);
  const u8 colours[4][3] = {{255, 255, 255}, {0, 0, 255}, {0, 255, 0}, {255, 0, 0}};  // B, G, R
  for (int x = 0; x < 4; ++x) {
    for (int c = 0; c < 3; ++c) s->At(x, 0)[c] = colours[x][c];
  }
  return s;
}

DisplayFormat Format(int depth, int bytes, u32 r, u32 g, u32 b) {
  DisplayFormat f;
  f.depth = depth;
  f.bytesPerPixel = bytes;
  f.SetMasks(r, g, b);
  return f;
}

}  // namespace

TEST(DisplayFormat, MeasuresMasks) {
  const DisplayFormat f = Format(16, 2, 0xF800, 0x07E0, 0x001F);
  EXPECT_EQ(f.redShift, 11);
  EXPECT_EQ(f.redBits, 5);
  EXPECT_EQ(f.greenShift, 5);
  EXPECT_EQ(f.greenBits, 6);
  EXPECT_EQ(f.blueShift, 0);
  EXPECT_EQ(f.blueBits, 5);
}

TEST(DisplayFormat, Converts16BitLowByteFirst) {
  Surface* s = MakeSource();
  std::vector<u8> out(4 * 2 * 2, 0xAA);
  ConvertRect(Format(16, 2, 0xF800, 0x07E0, 0x001F), *s, out.data(), 8, 0, 0, 3, 0);
  EXPECT_EQ(out[0], 0xFF);  // white 0xFFFF
  EXPECT_EQ(out[1], 0xFF);
  EXPECT_EQ(out[2], 0x00);  // red 0xF800
  EXPECT_EQ(out[3], 0xF8);
  EXPECT_EQ(out[4], 0xE0);  // green 0x07E0
  EXPECT_EQ(out[5], 0x07);
  EXPECT_EQ(out[6], 0x1F);  // blue 0x001F
  EXPECT_EQ(out[7], 0x00);
  EXPECT_EQ(out[8], 0xAA);  // the second row was not asked for
  delete s;
}

TEST(DisplayFormat, Converts15Bit) {
  Surface* s = MakeSource();
  std::vector<u8> out(16, 0);
  ConvertRect(Format(15, 2, 0x7C00, 0x03E0, 0x001F), *s, out.data(), 8, 0, 0, 3, 0);
  EXPECT_EQ(out[0] | out[1] << 8, 0x7FFF);
  EXPECT_EQ(out[2] | out[3] << 8, 0x7C00);
  EXPECT_EQ(out[4] | out[5] << 8, 0x03E0);
  EXPECT_EQ(out[6] | out[7] << 8, 0x001F);
  delete s;
}

TEST(DisplayFormat, Converts24BitAtThreeAndFourBytes) {
  Surface* s = MakeSource();
  std::vector<u8> three(4 * 3 * 2, 0x55);
  ConvertRect(Format(24, 3, 0xFF0000, 0xFF00, 0xFF), *s, three.data(), 12, 1, 0, 2, 0);
  EXPECT_EQ(three[0], 0x55);  // column 0 untouched
  EXPECT_EQ(three[3], 0);     // red: B, G, R
  EXPECT_EQ(three[5], 255);
  EXPECT_EQ(three[7], 255);   // green
  EXPECT_EQ(three[9], 0x55);  // column 3 untouched

  std::vector<u8> four(4 * 4 * 2, 0x77);
  ConvertRect(Format(24, 4, 0xFF0000, 0xFF00, 0xFF), *s, four.data(), 16, 0, 0, 3, 1);
  EXPECT_EQ(four[4], 0);
  EXPECT_EQ(four[6], 255);
  EXPECT_EQ(four[7], 0x77);  // the fourth byte is left alone
  EXPECT_EQ(four[16], 0);    // second row, black
  delete s;
}

TEST(DisplayFormat, UpdateRectGrowsByOnePixelAndClips) {
  int x0, y0, x1, y1;
  ASSERT_TRUE(ClipUpdateRect(Rect(2, 3, 10, 20), 640, 480, x0, y0, x1, y1));
  EXPECT_EQ(x0, 2);
  EXPECT_EQ(y0, 3);
  EXPECT_EQ(x1, 11);
  EXPECT_EQ(y1, 21);
  ASSERT_TRUE(ClipUpdateRect(Rect(-5, -5, 700, 500), 640, 480, x0, y0, x1, y1));
  EXPECT_EQ(x0, 0);
  EXPECT_EQ(y0, 0);
  EXPECT_EQ(x1, 639);
  EXPECT_EQ(y1, 479);
  // Entirely left of or above the window: the grown rectangle still ends
  // before column 0 only when right < -1.
  EXPECT_FALSE(ClipUpdateRect(Rect(-20, 0, -2, 10), 640, 480, x0, y0, x1, y1));
  EXPECT_FALSE(ClipUpdateRect(Rect(0, -20, 10, -2), 640, 480, x0, y0, x1, y1));
  EXPECT_FALSE(ClipUpdateRect(Rect(640, 0, 700, 10), 640, 480, x0, y0, x1, y1));
}
