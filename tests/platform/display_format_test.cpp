#include "platform/display_format.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// Converts the first row of a 4 x 2 surface (white, red, green, blue; black
// below) into a buffer of `fill` bytes, columns x0..x1 of rows 0..y1.
std::vector<u8> Convert(int depth, int bytes, u32 r, u32 g, u32 b, int x0, int x1, int y1, u8 fill) {
  std::unique_ptr<Surface> s(Surface::Create(4, 2, 24));
  const u8 colours[4][3] = {{255, 255, 255}, {0, 0, 255}, {0, 255, 0}, {255, 0, 0}};  // B, G, R
  for (int x = 0; x < 4; ++x) {
    for (int c = 0; c < 3; ++c) s->At(x, 0)[c] = colours[x][c];
  }
  DisplayFormat f;
  f.depth = depth;
  f.bytesPerPixel = bytes;
  f.SetMasks(r, g, b);
  std::vector<u8> out(4 * 2 * bytes, fill);
  ConvertRect(f, *s, out.data(), 4 * bytes, x0, 0, x1, y1);
  return out;
}

}  // namespace

TEST(DisplayFormat, Converts15And16BitLowByteFirst) {
  // White 0xFFFF, red 0xF800, green 0x07E0, blue 0x001F; the second row
  // was not asked for.
  EXPECT_EQ(Convert(16, 2, 0xF800, 0x07E0, 0x001F, 0, 3, 0, 0xAA),
            (std::vector<u8>{0xFF, 0xFF, 0x00, 0xF8, 0xE0, 0x07, 0x1F, 0x00,
                             0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA}));
  EXPECT_EQ(Convert(15, 2, 0x7C00, 0x03E0, 0x001F, 0, 3, 0, 0),
            (std::vector<u8>{0xFF, 0x7F, 0x00, 0x7C, 0xE0, 0x03, 0x1F, 0x00, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(DisplayFormat, Converts24BitAtThreeAndFourBytes) {
  // Columns 1 and 2 only, as B, G, R.
  const std::vector<u8> three = Convert(24, 3, 0xFF0000, 0xFF00, 0xFF, 1, 2, 0, 0x55);
  EXPECT_EQ(std::vector<u8>(three.begin(), three.begin() + 12),
            (std::vector<u8>{0x55, 0x55, 0x55, 0, 0, 255, 0, 255, 0, 0x55, 0x55, 0x55}));
  // Both rows; the fourth byte of each pixel is left alone.
  const std::vector<u8> four = Convert(24, 4, 0xFF0000, 0xFF00, 0xFF, 0, 3, 1, 0x77);
  EXPECT_EQ(std::vector<u8>(four.begin(), four.begin() + 8),
            (std::vector<u8>{255, 255, 255, 0x77, 0, 0, 255, 0x77}));
  EXPECT_EQ(std::vector<u8>(four.begin() + 16, four.begin() + 20), (std::vector<u8>{0, 0, 0, 0x77}));
}

TEST(DisplayFormat, UpdateRectGrowsByOnePixelAndClips) {
  struct Case {
    Rect rect;
    bool sent;
    int x0, y0, x1, y1;
  };
  const Case cases[] = {
      {Rect(2, 3, 10, 20), true, 2, 3, 11, 21},
      {Rect(-5, -5, 700, 500), true, 0, 0, 639, 479},
      // Left of or above the window: the grown rectangle reaches column
      // or row 0 unless it ends before -1.
      {Rect(-20, 0, -2, 10), false, 0, 0, 0, 0},
      {Rect(0, -20, 10, -2), false, 0, 0, 0, 0},
      {Rect(640, 0, 700, 10), false, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    int x0, y0, x1, y1;
    SCOPED_TRACE(testing::Message() << c.rect.left << "," << c.rect.top);
    ASSERT_EQ(ClipUpdateRect(c.rect, 640, 480, x0, y0, x1, y1), c.sent);
    if (c.sent) {
      EXPECT_EQ(std::vector<int>({x0, y0, x1, y1}), std::vector<int>({c.x0, c.y0, c.x1, c.y1}));
    }
  }
}
