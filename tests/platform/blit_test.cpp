#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/image.h"

namespace {

constexpr u32 kBackground = 0x111111;

u32 PixelAt(const Surface& s, int x, int y) {
  const u8* p = s.At(x, y);
  return p[0] | (p[1] << 8) | (p[2] << 16);
}

// A small surface filled with the background, drawing origin set.
struct Canvas {
  Surface* s;
  Canvas(int w, int h, u32 fill = kBackground) : s(Surface::Create(w, h, 24)) {
    s->Lock();
    s->Fill(fill);
  }
  ~Canvas() { delete s; }
  Surface* operator->() { return s; }
};

// An image whose pixel (x, y) has colour(x, y) and mask byte mask(x, y).
Image* MakeImage(int w, int h, u8 type, const std::function<u32(int, int)>& colour,
                 const std::function<u8(int, int)>& mask = nullptr) {
  Image* img = Image::Create(w, h, 0, type);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (img->Pixels()) {
        u8* p = img->Pixels() + (y * w + x) * 3;
        const u32 c = colour(x, y);
        p[0] = static_cast<u8>(c);
        p[1] = static_cast<u8>(c >> 8);
        p[2] = static_cast<u8>(c >> 16);
      }
      if (img->Mask()) img->Mask()[y * w + x] = mask ? mask(x, y) : 0;
    }
  }
  return img;
}

Image* SolidImage(int w, int h, u8 type, u32 colour, u8 mask) {
  return MakeImage(w, h, type, [=](int, int) { return colour; }, [=](int, int) { return mask; });
}

// A colour that names the source pixel it came from.
u32 Code(int sx, int sy) { return 0x400000u + static_cast<u32>(sy * 256 + sx + 1); }

// Every pixel of the surface against expected(x, y); the spare row below
// the surface must stay untouched (zero).
void ExpectSurface(const Surface& s, const std::function<u32(int, int)>& expected) {
  for (int y = 0; y < s.height; ++y) {
    for (int x = 0; x < s.width; ++x) {
      ASSERT_EQ(PixelAt(s, x, y), expected(x, y)) << "at " << x << "," << y;
    }
  }
  for (int i = 0; i < s.pitch; ++i) ASSERT_EQ(s.base[s.height * s.pitch + i], 0) << "spare row";
}

// The expected surface after blitting a w x h block whose output pixel
// (i, j) shows source pixel (i + shift, j + shift) at (x, y).
std::function<u32(int, int)> Placed(int x, int y, int w, int h, int shift = 0) {
  return [=](int px, int py) {
    const int i = px - x;
    const int j = py - y;
    if (i < 0 || j < 0 || i >= w || j >= h) return kBackground;
    return Code(i + shift, j + shift);
  };
}

TEST(Blit, PerPixelFormulas) {
  Canvas c(4, 1, 0x000000);
  Image* white = SolidImage(1, 1, kImageMasked, 0xFFFFFF, 128);
  c->BlitMasked(white, 0, 0);  // 255 + ((128 * -255) >> 8)
  EXPECT_EQ(PixelAt(*c.s, 0, 0), 0x7F7F7Fu);

  white->Mask()[0] = 0;
  c->BlitMaskedAlpha(white, 1, 0, 255);  // (255 * 65025) >> 16
  EXPECT_EQ(PixelAt(*c.s, 1, 0), 0xFDFDFDu);
  c->BlitMaskedAlpha(white, 2, 0, 128);  // (255 * 32640) >> 16
  EXPECT_EQ(PixelAt(*c.s, 2, 0), 0x7F7F7Fu);

  // Toward a darker source the shifts round down: 200 + ((-200 * 65025) >> 16).
  Canvas d(2, 1, 0xC8C8C8);
  Image* black = SolidImage(1, 1, kImageMasked, 0x000000, 0);
  d->BlitMaskedAlpha(black, 0, 0, 255);
  EXPECT_EQ(PixelAt(*d.s, 0, 0), 0x010101u);
  black->Mask()[0] = 100;  // 0 + ((100 * 200) >> 8)
  d->BlitMasked(black, 1, 0);
  EXPECT_EQ(PixelAt(*d.s, 1, 0), 0x4E4E4Eu);

  // Mask 255 is skipped by every masked form.
  black->Mask()[0] = 255;
  d->BlitMasked(black, 0, 0);
  d->BlitMaskedAlpha(black, 0, 0, 255);
  EXPECT_EQ(PixelAt(*d.s, 0, 0), 0x010101u);
  delete white;
  delete black;
}

TEST(Blit, ShadowDarkensByTheMask) {
  Canvas c(3, 1, 0xC8C8C8);
  Image* shadow = MakeImage(3, 1, kImageShadow, nullptr, [](int x, int) {
    return static_cast<u8>(x == 0 ? 128 : (x == 1 ? 255 : 0));
  });
  ASSERT_EQ(shadow->Pixels(), nullptr);
  c->BlitShadow(shadow, 0, 0);
  EXPECT_EQ(PixelAt(*c.s, 0, 0), 0x646464u);  // 200 halves to 100
  EXPECT_EQ(PixelAt(*c.s, 1, 0), 0xC8C8C8u);  // 255 leaves it
  EXPECT_EQ(PixelAt(*c.s, 2, 0), 0x000000u);
  delete shadow;
}

TEST(Blit, OpaqueAndColourKeyCopyExactBytes) {
  Canvas c(5, 4);
  Image* img = MakeImage(3, 2, kImageOpaque, Code);
  c->BlitOpaque(img, 1, 1);
  ExpectSurface(*c.s, Placed(1, 1, 3, 2));

  Canvas k(5, 4);
  img->type = kImageColorKey;
  img->key = Code(1, 0);
  k->BlitColorKey(img, 1, 1);
  ExpectSurface(*k.s, [&](int x, int y) {
    return (x == 2 && y == 1) ? kBackground : Placed(1, 1, 3, 2)(x, y);
  });
  delete img;
}

// Every blitter clips through the same placement: an image partly off each
// edge and corner, wholly off, and wider than the surface at a negative x.
TEST(Blit, ClipsAtEveryEdge) {
  struct Case {
    int x, y, w, h;
  };
  const Case cases[] = {
      {-2, 1, 4, 3},  {4, 1, 4, 3},  {1, -2, 4, 3},  {1, 3, 4, 3},   // left, right, top, bottom
      {-3, -2, 4, 3}, {4, 3, 4, 3},  {-10, 0, 12, 2},  // corners; from column 11 at x = -10
      {-2, 0, 10, 2}, {-1, -1, 8, 7},                                 // wider / larger than it
      {6, 0, 4, 3},   {-4, 0, 4, 3}, {0, 5, 4, 3},  {0, -3, 4, 3},    // wholly off
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(testing::Message() << "at " << k.x << "," << k.y << " size " << k.w << "x" << k.h);
    Image* img = MakeImage(k.w, k.h, kImageMasked, Code);
    Canvas a(6, 5);
    a->BlitOpaque(img, k.x, k.y);
    ExpectSurface(*a.s, Placed(k.x, k.y, k.w, k.h));
    Canvas b(6, 5);
    b->BlitMasked(img, k.x, k.y);
    ExpectSurface(*b.s, Placed(k.x, k.y, k.w, k.h));
    Canvas c(6, 5);
    c->BlitMaskedAlpha(img, k.x, k.y, 255);
    // Alpha 255 keeps 1/256 of the destination: compare positions only.
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 6; ++x) {
        const bool inside = x >= k.x && x < k.x + k.w && y >= k.y && y < k.y + k.h;
        ASSERT_EQ(PixelAt(*c.s, x, y) != kBackground, inside) << x << "," << y;
      }
    }
    // The sub-pixel form without a fraction writes (w - 1) x (h - 1)
    // pixels showing source (i + 1, j + 1).
    Canvas d(6, 5);
    d->BlitMaskedSubpixel(img, k.x, k.y, 0, 0);
    ExpectSurface(*d.s, Placed(k.x, k.y, k.w - 1, k.h - 1, 1));
    Canvas e(6, 5, 0xC8C8C8);
    Image* shadow = SolidImage(k.w, k.h, kImageShadow, 0, 128);
    e->BlitShadow(shadow, k.x, k.y);
    ExpectSurface(*e.s, [&](int x, int y) {
      return Placed(k.x, k.y, k.w, k.h)(x, y) == kBackground ? 0xC8C8C8u : 0x646464u;
    });
    delete shadow;
    delete img;
  }
}

TEST(Blit, RegionLimitsTheBlitToItsPartOfThePlacement) {
  Image* img = MakeImage(4, 4, kImageMasked, Code);
  Canvas c(8, 8);
  const Rect region(2, 3, 3, 4);
  c->BlitMasked(img, 1, 1, &region);
  ExpectSurface(*c.s, [&](int x, int y) {
    return region.Contains(x, y) ? Code(x - 1, y - 1) : kBackground;
  });
  // A region reaching past the image draws only the image's part of it.
  Canvas d(8, 8);
  const Rect wide(0, 0, 7, 2);
  d->BlitOpaque(img, 1, 1, &wide);
  ExpectSurface(*d.s, [&](int x, int y) { return y <= 2 ? Placed(1, 1, 4, 4)(x, y) : kBackground; });
  delete img;
}

TEST(Blit, SubpixelWeightsTheFourSamples) {
  // One output pixel from a 2 x 2 source. fx 64, fy 128: weights top-left
  // 8192, top-right 24576, bottom-left 8192, bottom-right 24576.
  const u8 blue[4] = {0, 100, 200, 40};
  Image* img = MakeImage(2, 2, kImageMasked, [&](int x, int y) { return u32(blue[y * 2 + x]); });
  Canvas c(3, 1, 0x000000);
  c->BlitMaskedSubpixel(img, 0, 0, 64, 128);
  EXPECT_EQ(PixelAt(*c.s, 0, 0), 77u);  // 5079040 >> 16
  EXPECT_EQ(PixelAt(*c.s, 1, 0), 0u);   // the output is 1 x 1

  // The mask is weighted too: 255 at top-left only, fx = fy = 128 gives 63.
  Image* grey = MakeImage(2, 2, kImageMasked, [](int, int) { return 0xC8C8C8u; },
                          [](int x, int y) { return static_cast<u8>(x + y == 0 ? 255 : 0); });
  c->BlitMaskedSubpixel(grey, 1, 0, 128, 128);
  EXPECT_EQ(PixelAt(*c.s, 1, 0), 0x969696u);  // 200 + ((-200 * 63) >> 8)
  // Near the transparent sample (weight 65025) the mask is 253:
  // 200 + ((-200 * 253) >> 8) = 2.
  c->BlitMaskedSubpixel(grey, 2, 0, 255, 255);
  EXPECT_EQ(PixelAt(*c.s, 2, 0), 0x020202u);
  // Only an interpolated 255 skips the pixel.
  for (int i = 0; i < 4; ++i) grey->Mask()[i] = 255;
  Canvas s(1, 1, 0x000000);
  s->BlitMaskedSubpixel(grey, 0, 0, 100, 30);
  EXPECT_EQ(PixelAt(*s.s, 0, 0), 0u);

  // With alpha: a white opaque source at alpha 255 gives 253 at any fraction.
  Image* white = SolidImage(2, 2, kImageMaskedAlpha, 0xFFFFFF, 0);
  Canvas a(1, 1, 0x000000);
  a->BlitMaskedAlphaSubpixel(white, 0, 0, 100, 100, 255);
  EXPECT_EQ(PixelAt(*a.s, 0, 0), 0xFDFDFDu);
  delete img;
  delete grey;
  delete white;
}

TEST(Blit, SubpixelShadowDarkensByTheTopLeftSample) {
  Canvas c(2, 1, 0xC8C8C8);
  // Top-left 128, the rest 0: at fraction 0 the interpolated mask is the
  // bottom-right 0, yet the darkening takes the top-left 128.
  Image* shadow = MakeImage(2, 2, kImageShadow, nullptr,
                            [](int x, int y) { return static_cast<u8>(x + y == 0 ? 128 : 0); });
  c->BlitShadowSubpixel(shadow, 0, 0, 0, 0);
  EXPECT_EQ(PixelAt(*c.s, 0, 0), 0x646464u);
  // Top-left 0, the rest 255: the interpolated mask 255 skips the pixel.
  for (int i = 0; i < 4; ++i) shadow->Mask()[i] = i == 0 ? 0 : 255;
  c->BlitShadowSubpixel(shadow, 1, 0, 0, 0);
  EXPECT_EQ(PixelAt(*c.s, 1, 0), 0xC8C8C8u);
  delete shadow;
}

TEST(Blit, SubpixelAtZeroFractionIsTheWholePixelBlitLessItsFirstRowAndColumn) {
  Image* img = MakeImage(5, 4, kImageMasked, Code,
                         [](int x, int y) { return static_cast<u8>((x * 37 + y * 91) % 256); });
  Canvas whole(8, 7);
  whole->BlitMasked(img, 1, 1);
  Canvas sub(8, 7);
  sub->BlitMaskedSubpixel(img, 2, 2, 0, 0);
  ExpectSurface(*sub.s, [&](int x, int y) {
    return (x >= 2 && y >= 2) ? PixelAt(*whole.s, x, y) : kBackground;
  });
  delete img;
}

TEST(Fill, RectanglesAndLinesStayOnTheSurface) {
  Canvas c(6, 5);
  c->FillRect(0xABCDEF, Rect(-3, -2, 1, 1));
  c->FillRect(0x123456, Rect(4, 3, 20, 9));
  ExpectSurface(*c.s, [](int x, int y) {
    if (x <= 1 && y <= 1) return 0xABCDEFu;
    if (x >= 4 && y >= 3) return 0x123456u;
    return kBackground;
  });

  Canvas l(6, 5);
  l->DrawLine(5, 9, 7, 3, 0xFFFFFF);  // neither horizontal nor vertical
  l->DrawLine(8, 1, -4, 1, 0x0000FF);  // horizontal, ends reversed, past both sides
  l->DrawLine(2, 40, 2, -7, 0x00FF00);  // vertical, past top and bottom
  l->DrawLine(9, 0, 9, 4, 0xFF0000);    // wholly right of the surface
  l->DrawLine(0, 4, 0, 4, 0xFF00FF);    // a single point
  ExpectSurface(*l.s, [](int x, int y) {
    if (x == 2) return 0x00FF00u;
    if (y == 1) return 0x0000FFu;
    if (x == 0 && y == 4) return 0xFF00FFu;
    return kBackground;
  });

  Canvas k(6, 5);
  const Rect clip(1, 1, 3, 3);
  k->DrawLineClipped(0, 2, 5, 2, 0x0000FF, clip);   // cut to columns 1..3
  k->DrawLineClipped(0, 0, 5, 0, 0x00FF00, clip);   // above the rectangle
  k->DrawLineClipped(3, 9, 3, -1, 0xFF0000, clip);  // cut to rows 1..3
  const Rect wide(-5, -5, 20, 20);
  k->DrawLineClipped(-9, 4, 9, 4, 0xFFFFFF, wide);  // still cut to the surface
  ExpectSurface(*k.s, [](int x, int y) {
    if (y == 4) return 0xFFFFFFu;
    if (x == 3 && y >= 1 && y <= 3) return 0xFF0000u;
    if (y == 2 && x >= 1 && x <= 3) return 0x0000FFu;
    return kBackground;
  });
}

TEST(Blit, DrawsNothingWithoutOriginOrWithTheWrongBuffers) {
  Canvas c(4, 4);
  Image* opaque = SolidImage(2, 2, kImageOpaque, 0xFFFFFF, 0);
  c->Unlock();
  c->BlitOpaque(opaque, 0, 0);
  c->Fill(0xFFFFFF);
  c->DrawLine(0, 0, 3, 0, 0xFFFFFF);
  c->Lock();
  // A palette image holds one byte per pixel, a shadow no colour: drawn as
  // colour images they would read past their storage.
  PixelBuffer* indices = PixelBuffer::Create(4);
  PixelBuffer* mask = PixelBuffer::Create(4);
  Image* palette = Image::Create(2, 2, 0, kImagePalette, indices, mask);
  Image* shadow = SolidImage(2, 2, kImageShadow, 0, 0);
  c->BlitOpaque(palette, 0, 0);
  c->BlitMasked(palette, 0, 0);
  c->BlitMasked(shadow, 0, 0);
  c->BlitMaskedAlphaSubpixel(shadow, 0, 0, 3, 3, 255);
  c->BlitOpaque(nullptr, 0, 0);
  c->BlitColorKey(nullptr, 0, 0);
  ExpectSurface(*c.s, [](int, int) { return kBackground; });
  delete opaque;
  delete palette;
  delete shadow;
}

}  // namespace
