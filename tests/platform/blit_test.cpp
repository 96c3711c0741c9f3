// Exact bytes of the fills, lines and blitters on small surfaces, pictures
// partly off every edge included.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "platform/image.h"
#include "tests/platform/pack_writer.h"

namespace {

using pack_writer::Code;
using ImagePtr = std::unique_ptr<Image>;
using Expected = std::function<u32(int, int)>;

constexpr u32 kBackground = 0x111111;

u32 PixelAt(const Surface& s, int x, int y) {
  const u8* p = s.At(x, y);
  return p[0] | (p[1] << 8) | (p[2] << 16);
}

// A small surface filled with one colour, drawing origin set.
std::unique_ptr<Surface> Canvas(int w, int h, u32 fill = kBackground) {
  std::unique_ptr<Surface> s(Surface::Create(w, h, 24));
  s->Lock();
  s->Fill(fill);
  return s;
}

// An image whose pixel (x, y) has colour(x, y) and mask byte mask(x, y).
ImagePtr MakeImage(int w, int h, u8 type, const Expected& colour,
                   const std::function<u8(int, int)>& mask = nullptr) {
  ImagePtr img(Image::Create(w, h, 0, type));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (u8* p = img->Pixels()) {
        const u32 c = colour(x, y);
        p += (y * w + x) * 3;
        p[0] = static_cast<u8>(c), p[1] = static_cast<u8>(c >> 8), p[2] = static_cast<u8>(c >> 16);
      }
      if (img->Mask()) img->Mask()[y * w + x] = mask ? mask(x, y) : 0;
    }
  }
  return img;
}

ImagePtr Solid(int w, int h, u8 type, u32 colour, u8 mask) {
  return MakeImage(w, h, type, [=](int, int) { return colour; }, [=](int, int) { return mask; });
}

// Every pixel of the surface against expected(x, y); the spare row below
// the surface must stay untouched (zero).
void ExpectSurface(const Surface& s, const Expected& expected) {
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      ASSERT_EQ(PixelAt(s, x, y), expected(x, y)) << "at " << x << "," << y;
    }
  }
  for (int i = 0; i < s.pitch; ++i) ASSERT_EQ(s.base[s.height * s.pitch + i], 0) << "spare row";
}

// The surface after blitting a w x h block of coded pixels at (x, y) whose
// output pixel (i, j) shows source pixel (i + shift, j + shift).
Expected Placed(int x, int y, int w, int h, int shift = 0) {
  return [=](int px, int py) {
    const int i = px - x;
    const int j = py - y;
    if (i < 0 || j < 0 || i >= w || j >= h) return kBackground;
    return Code(i + shift, j + shift);
  };
}

TEST(Blit, PerPixelFormulas) {
  auto c = Canvas(10, 1, 0x000000);
  c->FillRect(0xC8C8C8, Rect(4, 0, 9, 0));  // black on the left, 200 on the right
  ImagePtr white = Solid(1, 1, kImageMasked, 0xFFFFFF, 128);
  c->BlitMasked(white.get(), 0, 0);  // 255 + ((128 * -255) >> 8)
  white->Mask()[0] = 0;
  c->BlitMaskedAlpha(white.get(), 1, 0, 255);  // (255 * 65025) >> 16
  c->BlitMaskedAlpha(white.get(), 2, 0, 128);  // (255 * 32640) >> 16
  white->Mask()[0] = 128;
  c->BlitMaskedAlpha(white.get(), 3, 0, 255);  // (255 * 255 * 127) >> 16
  ImagePtr black = Solid(1, 1, kImageMasked, 0x000000, 0);
  c->BlitMaskedAlpha(black.get(), 4, 0, 255);  // rounds down: 200 + ((-200 * 65025) >> 16)
  black->Mask()[0] = 100;
  c->BlitMasked(black.get(), 5, 0);  // (100 * 200) >> 8
  black->Mask()[0] = 255;            // skipped by every masked form
  c->BlitMasked(black.get(), 6, 0);
  c->BlitMaskedAlpha(black.get(), 6, 0, 255);
  // A shadow darkens by its mask: 128 halves, 255 leaves, 0 blackens.
  ImagePtr shadow = MakeImage(3, 1, kImageShadow, nullptr, [](int x, int) {
    return static_cast<u8>(x == 0 ? 128 : (x == 1 ? 255 : 0));
  });
  c->BlitShadow(shadow.get(), 7, 0);
  const u32 expected[10] = {0x7F7F7F, 0xFDFDFD, 0x7F7F7F, 0x7E7E7E, 0x010101,
                            0x4E4E4E, 0xC8C8C8, 0x646464, 0xC8C8C8, 0};
  for (int x = 0; x < 10; ++x) EXPECT_EQ(PixelAt(*c, x, 0), expected[x]) << x;
}

// Every blitter clips through the same placement: an image inside, partly
// off each edge and corner, wholly off, and wider than the surface at a
// negative x.
TEST(Blit, ClipsAtEveryEdge) {
  struct Case {
    int x, y, w, h;
  };
  const Case cases[] = {
      {1, 1, 3, 2},                                                // inside
      {-2, 1, 4, 3},  {4, 1, 4, 3},  {1, -2, 4, 3},  {1, 3, 4, 3},  // left, right, top, bottom
      {-3, -2, 4, 3}, {4, 3, 4, 3},  {-10, 0, 12, 2},  // corners; from column 11 at x = -10
      {-2, 0, 10, 2}, {-1, -1, 8, 7},                               // wider / larger than it
      {6, 0, 4, 3},   {-4, 0, 4, 3}, {0, 5, 4, 3},   {0, -3, 4, 3},  // wholly off
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "at " << k.x << "," << k.y << " size " << k.w << "x" << k.h);
    const Expected placed = Placed(k.x, k.y, k.w, k.h);
    ImagePtr img = MakeImage(k.w, k.h, kImageMasked, Code);
    auto a = Canvas(6, 5);
    a->BlitOpaque(img.get(), k.x, k.y);
    ExpectSurface(*a, placed);
    auto b = Canvas(6, 5);
    b->BlitMasked(img.get(), k.x, k.y);
    ExpectSurface(*b, placed);
    // The colour key skips exactly the pixels of its colour.
    img->key = Code(1, 0);
    auto key = Canvas(6, 5);
    key->BlitColorKey(img.get(), k.x, k.y);
    ExpectSurface(*key, [&](int x, int y) {
      return x == k.x + 1 && y == k.y ? kBackground : placed(x, y);
    });
    // Alpha 255 keeps 1/256 of the destination: compare positions only.
    auto c = Canvas(6, 5);
    c->BlitMaskedAlpha(img.get(), k.x, k.y, 255);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 6; ++x) {
        ASSERT_EQ(PixelAt(*c, x, y) != kBackground, placed(x, y) != kBackground) << x << "," << y;
      }
    }
    // The sub-pixel form without a fraction writes (w - 1) x (h - 1)
    // pixels showing source (i + 1, j + 1).
    auto d = Canvas(6, 5);
    d->BlitMaskedSubpixel(img.get(), k.x, k.y, 0, 0);
    ExpectSurface(*d, Placed(k.x, k.y, k.w - 1, k.h - 1, 1));
    auto e = Canvas(6, 5, 0xC8C8C8);
    e->BlitShadow(Solid(k.w, k.h, kImageShadow, 0, 128).get(), k.x, k.y);
    ExpectSurface(*e, [&](int x, int y) { return placed(x, y) == kBackground ? 0xC8C8C8u : 0x646464u; });
  }
}

TEST(Blit, RegionLimitsTheBlitToItsPartOfThePlacement) {
  ImagePtr img = MakeImage(4, 4, kImageMasked, Code);
  auto c = Canvas(8, 8);
  const Rect region(2, 3, 3, 4);
  c->BlitMasked(img.get(), 1, 1, &region);
  ExpectSurface(*c, [&](int x, int y) { return region.Contains(x, y) ? Code(x - 1, y - 1) : kBackground; });
  // A region reaching past the image draws only the image's part of it.
  auto d = Canvas(8, 8);
  const Rect wide(0, 0, 7, 2);
  d->BlitOpaque(img.get(), 1, 1, &wide);
  ExpectSurface(*d, [&](int x, int y) { return y <= 2 ? Placed(1, 1, 4, 4)(x, y) : kBackground; });
}

TEST(Blit, SubpixelWeightsTheFourSamples) {
  // One output pixel from a 2 x 2 source. fx 64, fy 128: weights top-left
  // 8192, top-right 24576, bottom-left 8192, bottom-right 24576.
  const u8 blue[4] = {0, 100, 200, 40};
  ImagePtr img = MakeImage(2, 2, kImageMasked, [&](int x, int y) { return u32(blue[y * 2 + x]); });
  auto c = Canvas(4, 1, 0x000000);
  c->BlitMaskedSubpixel(img.get(), 0, 0, 64, 128);
  EXPECT_EQ(PixelAt(*c, 0, 0), 77u);  // 5079040 >> 16
  EXPECT_EQ(PixelAt(*c, 1, 0), 0u);   // the output is 1 x 1

  // The mask is weighted too: 255 at top-left only, fx = fy = 128 gives 63.
  ImagePtr grey = MakeImage(2, 2, kImageMasked, [](int, int) { return 0xC8C8C8u; },
                            [](int x, int y) { return static_cast<u8>(x + y == 0 ? 255 : 0); });
  c->BlitMaskedSubpixel(grey.get(), 1, 0, 128, 128);
  EXPECT_EQ(PixelAt(*c, 1, 0), 0x969696u);  // 200 + ((-200 * 63) >> 8)
  // Near the transparent sample (weight 65025) the mask is 253:
  // 200 + ((-200 * 253) >> 8) = 2.
  c->BlitMaskedSubpixel(grey.get(), 2, 0, 255, 255);
  EXPECT_EQ(PixelAt(*c, 2, 0), 0x020202u);
  // Only an interpolated 255 skips the pixel.
  for (int i = 0; i < 4; ++i) grey->Mask()[i] = 255;
  c->BlitMaskedSubpixel(grey.get(), 3, 0, 100, 30);
  EXPECT_EQ(PixelAt(*c, 3, 0), 0u);

  // With alpha: a white opaque source at alpha 255 gives 253 at any fraction.
  auto a = Canvas(1, 1, 0x000000);
  a->BlitMaskedAlphaSubpixel(Solid(2, 2, kImageMaskedAlpha, 0xFFFFFF, 0).get(), 0, 0, 100, 100, 255);
  EXPECT_EQ(PixelAt(*a, 0, 0), 0xFDFDFDu);

  // A shadow is skipped by the interpolated mask but darkens by its
  // top-left sample: top-left 128 and the rest 0 at fraction 0 (where the
  // interpolated mask is the bottom-right 0) halves; top-left 0 and the
  // rest 255 leaves the pixel.
  auto s = Canvas(2, 1, 0xC8C8C8);
  ImagePtr shadow = MakeImage(2, 2, kImageShadow, nullptr,
                              [](int x, int y) { return static_cast<u8>(x + y == 0 ? 128 : 0); });
  s->BlitShadowSubpixel(shadow.get(), 0, 0, 0, 0);
  for (int i = 0; i < 4; ++i) shadow->Mask()[i] = i == 0 ? 0 : 255;
  s->BlitShadowSubpixel(shadow.get(), 1, 0, 0, 0);
  EXPECT_EQ(PixelAt(*s, 0, 0), 0x646464u);
  EXPECT_EQ(PixelAt(*s, 1, 0), 0xC8C8C8u);
}

TEST(Fill, RectanglesAndLinesStayOnTheSurface) {
  auto c = Canvas(6, 5);
  c->FillRect(0xABCDEF, Rect(-3, -2, 1, 1));
  c->FillRect(0x123456, Rect(4, 3, 20, 9));
  ExpectSurface(*c, [](int x, int y) {
    if (x <= 1 && y <= 1) return 0xABCDEFu;
    return x >= 4 && y >= 3 ? 0x123456u : kBackground;
  });

  auto l = Canvas(6, 5);
  l->DrawLine(5, 9, 7, 3, 0xFFFFFF);    // neither horizontal nor vertical
  l->DrawLine(8, 1, -4, 1, 0x0000FF);   // horizontal, ends reversed, past both sides
  l->DrawLine(2, 40, 2, -7, 0x00FF00);  // vertical, past top and bottom
  l->DrawLine(9, 0, 9, 4, 0xFF0000);    // wholly right of the surface
  l->DrawLine(0, 4, 0, 4, 0xFF00FF);    // a single point
  ExpectSurface(*l, [](int x, int y) {
    if (x == 2) return 0x00FF00u;
    if (y == 1) return 0x0000FFu;
    return x == 0 && y == 4 ? 0xFF00FFu : kBackground;
  });

  auto k = Canvas(6, 5);
  const Rect clip(1, 1, 3, 3);
  k->DrawLineClipped(0, 2, 5, 2, 0x0000FF, clip);   // cut to columns 1..3
  k->DrawLineClipped(0, 0, 5, 0, 0x00FF00, clip);   // above the rectangle
  k->DrawLineClipped(3, 9, 3, -1, 0xFF0000, clip);  // cut to rows 1..3
  k->DrawLineClipped(-9, 4, 9, 4, 0xFFFFFF, Rect(-5, -5, 20, 20));  // still cut to the surface
  ExpectSurface(*k, [](int x, int y) {
    if (y == 4) return 0xFFFFFFu;
    if (x == 3 && y >= 1 && y <= 3) return 0xFF0000u;
    return y == 2 && x >= 1 && x <= 3 ? 0x0000FFu : kBackground;
  });
}

TEST(Blit, DrawsNothingWithoutOriginOrWithTheWrongBuffers) {
  auto c = Canvas(4, 4);
  c->Unlock();
  c->BlitOpaque(Solid(2, 2, kImageOpaque, 0xFFFFFF, 0).get(), 0, 0);
  c->Fill(0xFFFFFF);
  c->DrawLine(0, 0, 3, 0, 0xFFFFFF);
  c->Lock();
  // A palette image holds one byte per pixel, a shadow no colour: drawn as
  // colour images they would read past their storage.
  ImagePtr palette(Image::Create(2, 2, 0, kImagePalette, PixelBuffer::Create(4), PixelBuffer::Create(4)));
  ImagePtr shadow = Solid(2, 2, kImageShadow, 0, 0);
  c->BlitOpaque(palette.get(), 0, 0);
  c->BlitMasked(palette.get(), 0, 0);
  c->BlitMasked(shadow.get(), 0, 0);
  c->BlitMaskedAlphaSubpixel(shadow.get(), 0, 0, 3, 3, 255);
  c->BlitOpaque(nullptr, 0, 0);
  c->BlitColorKey(nullptr, 0, 0);
  ExpectSurface(*c, [](int, int) { return kBackground; });
}

}  // namespace
