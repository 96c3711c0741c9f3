// Fills, lines and blitters of the 24-bit surface (bytes B, G, R). Every
// routine has one shape: translate, clip to the surface through PlaceSpan,
// return if empty, find the first row and column, walk rows by pitch.
#include <algorithm>
#include <cstring>

#include "platform/image.h"

namespace {

// An inclusive block of surface pixels. Kept in int so that placements far
// outside the 16-bit range of Rect still clip correctly.
struct Span {
  int left, top, right, bottom;
};

// Cuts the span to the region (when given) and to the surface's pixels;
// false when nothing is left or nobody has set the drawing origin.
bool PlaceSpan(const Surface& s, Span& a, const Rect* region) {
  if (!s.pixels) return false;
  if (region) {
    a.left = std::max<int>(a.left, region->left);
    a.top = std::max<int>(a.top, region->top);
    a.right = std::min<int>(a.right, region->right);
    a.bottom = std::min<int>(a.bottom, region->bottom);
  }
  a.left = std::max(a.left, 0);
  a.top = std::max(a.top, 0);
  a.right = std::min(a.right, s.width - 1);
  a.bottom = std::min(a.bottom, s.height - 1);
  return a.left <= a.right && a.top <= a.bottom;
}

void PutColour(u8* d, u32 colour) {
  d[0] = static_cast<u8>(colour);
  d[1] = static_cast<u8>(colour >> 8);
  d[2] = static_cast<u8>(colour >> 16);
}

// Fills the block after clipping it to the surface.
void FillSpan(Surface& s, Span a, u32 colour) {
  if (!PlaceSpan(s, a, nullptr)) return;
  const int width = a.right - a.left + 1;
  u8* first = s.pixels + a.top * s.pitch + a.left * 3;
  for (int i = 0; i < width; ++i) PutColour(first + i * 3, colour);
  u8* row = first;
  for (int y = a.top + 1; y <= a.bottom; ++y) {
    row += s.pitch;
    std::memcpy(row, first, static_cast<size_t>(width) * 3);
  }
}

// Which buffers a blitter reads: three colour bytes, one palette index or
// one mask byte per pixel.
enum Needs { kNeedColour = 1, kNeedMask = 2, kNeedIndex = 4 };

// True when the image has every buffer the blitter reads, each big enough
// for its size (a type 12 image holds one byte per pixel, a shadow no
// colour at all, so drawing them with the wrong blend must not read past
// their storage).
bool HasBuffers(const Image* img, int needs) {
  if (!img || img->width < 1 || img->height < 1) return false;
  const u64 area = static_cast<u64>(img->width) * static_cast<u64>(img->height);
  if ((needs & kNeedColour) && (!img->Pixels() || img->rgb->size < area * 3)) return false;
  if ((needs & kNeedIndex) && (!img->Pixels() || img->rgb->size < area)) return false;
  if ((needs & kNeedMask) && (!img->Mask() || img->mask->size < area)) return false;
  return true;
}

// One row of a blit: destination, matching colour and mask bytes (null when
// the image has none), and the strides to the next source row.
struct Row {
  u8* dst;
  const u8* src;
  const u8* mask;
  int srcStride;
  int maskStride;
};

// Checks the image's buffers, places its output (the whole image, or one
// column and row less for the sub-pixel forms: trim 1) at (x, y), clips it,
// and calls rowOp(row, width) for each surface row it covers.
template <typename RowOp>
void WalkBlit(Surface& s, const Image* img, int needs, int x, int y, int trim, const Rect* region,
              RowOp rowOp) {
  if (!HasBuffers(img, needs)) return;
  Span a{x, y, x + img->width - trim - 1, y + img->height - trim - 1};
  if (!PlaceSpan(s, a, region)) return;
  const int srcX = a.left - x;
  const int srcY = a.top - y;
  const int width = a.right - a.left + 1;
  const int bytes = (needs & kNeedIndex) ? 1 : 3;
  Row row;
  row.srcStride = img->width * bytes;
  row.maskStride = img->width;
  row.dst = s.pixels + a.top * s.pitch + a.left * 3;
  row.src = (needs & (kNeedColour | kNeedIndex))
                ? img->Pixels() + (srcY * img->width + srcX) * bytes
                : nullptr;
  row.mask = (needs & kNeedMask) ? img->Mask() + srcY * img->width + srcX : nullptr;
  for (int j = a.top; j <= a.bottom; ++j) {
    if (j > a.top) {
      row.dst += s.pitch;
      if (row.src) row.src += row.srcStride;
      if (row.mask) row.mask += row.maskStride;
    }
    rowOp(row, width);
  }
}

// d = s + ((m * (d - s)) >> 8): mask 0 gives the source, higher values
// keep more of the destination.
inline u8 MaskBlend(int d, int s, int m) { return static_cast<u8>(s + ((m * (d - s)) >> 8)); }

// d = d + (((s - d) * a) >> 16) with a = alpha * (255 - m).
inline u8 AlphaBlend(int d, int s, int a) { return static_cast<u8>(d + (((s - d) * a) >> 16)); }

// Bilinear weights of the four samples of an output pixel; they sum to 65536.
struct Weights {
  int topLeft, topRight, bottomLeft, bottomRight;
  Weights(int fx, int fy)
      : topLeft(fx * fy), topRight((256 - fx) * fy), bottomLeft(fx * (256 - fy)),
        bottomRight((256 - fx) * (256 - fy)) {}
  // Weighted sum of p[0], p[step], p[stride], p[stride + step], >> 16.
  int Sample(const u8* p, int step, int stride) const {
    return (p[0] * topLeft + p[step] * topRight + p[stride] * bottomLeft +
            p[stride + step] * bottomRight) >> 16;
  }
};

}  // namespace

void Surface::FillRect(u32 colour, const Rect& rect) {
  FillSpan(*this, Span{rect.left, rect.top, rect.right, rect.bottom}, colour);
}

void Surface::Fill(u32 colour) { FillSpan(*this, Span{0, 0, width - 1, height - 1}, colour); }

void Surface::DrawLine(int x1, int y1, int x2, int y2, u32 colour) {
  if (y1 > y2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  if (y1 == y2) {
    FillSpan(*this, Span{std::min(x1, x2), y1, std::max(x1, x2), y1}, colour);
  } else if (x1 == x2) {
    FillSpan(*this, Span{x1, y1, x1, y2}, colour);
  }
}

void Surface::DrawLineClipped(int x1, int y1, int x2, int y2, u32 colour, const Rect& clip) {
  if (y1 > y2) {
    std::swap(x1, x2);
    std::swap(y1, y2);
  }
  if (y1 == y2) {
    if (y1 < clip.top || y1 > clip.bottom) return;
    const int left = std::max<int>(std::min(x1, x2), clip.left);
    const int right = std::min<int>(std::max(x1, x2), clip.right);
    FillSpan(*this, Span{left, y1, right, y1}, colour);
  } else if (x1 == x2) {
    if (x1 < clip.left || x1 > clip.right) return;
    FillSpan(*this, Span{x1, std::max<int>(y1, clip.top), x1, std::min<int>(y2, clip.bottom)},
             colour);
  }
}

void Surface::BlitOpaque(const Image* img, int x, int y, const Rect* region) {
  WalkBlit(*this, img, kNeedColour, x, y, 0, region, [](const Row& r, int width) {
    std::memcpy(r.dst, r.src, static_cast<size_t>(width) * 3);
  });
}

void Surface::BlitColorKey(const Image* img, int x, int y, const Rect* region) {
  const u32 key = img ? img->key : 0;
  WalkBlit(*this, img, kNeedColour, x, y, 0, region, [key](const Row& r, int width) {
    for (int i = 0; i < width; ++i) {
      const u8* s = r.src + i * 3;
      if ((s[0] | (s[1] << 8) | (s[2] << 16)) == static_cast<int>(key)) continue;
      std::memcpy(r.dst + i * 3, s, 3);
    }
  });
}

void Surface::BlitMasked(const Image* img, int x, int y, const Rect* region) {
  WalkBlit(*this, img, kNeedColour | kNeedMask, x, y, 0, region, [](const Row& r, int width) {
    for (int i = 0; i < width; ++i) {
      const int m = r.mask[i];
      if (m == 255) continue;
      u8* d = r.dst + i * 3;
      const u8* s = r.src + i * 3;
      if (m == 0) {
        std::memcpy(d, s, 3);
      } else {
        for (int c = 0; c < 3; ++c) d[c] = MaskBlend(d[c], s[c], m);
      }
    }
  });
}

void Surface::BlitInk(const Image* img, int x, int y, u32 colour, const Rect* region) {
  WalkBlit(*this, img, kNeedColour, x, y, 0, region, [colour](const Row& r, int width) {
    for (int i = 0; i < width; ++i) {
      const u8* s = r.src + i * 3;
      if (!(s[0] | s[1] | s[2])) PutColour(r.dst + i * 3, colour);
    }
  });
}

void Surface::BlitPaletted(const Image* img, int x, int y, const u32 palette[256],
                           const Rect* region) {
  if (!palette) return;
  WalkBlit(*this, img, kNeedIndex | kNeedMask, x, y, 0, region, [palette](const Row& r, int width) {
    for (int i = 0; i < width; ++i) {
      const int m = r.mask[i];
      if (m == 255) continue;
      const u32 p = palette[r.src[i]];
      u8* d = r.dst + i * 3;
      for (int c = 0; c < 3; ++c) d[c] = MaskBlend(d[c], static_cast<u8>(p >> (8 * c)), m);
    }
  });
}

void Surface::BlitMaskedAlpha(const Image* img, int x, int y, u8 alpha, const Rect* region) {
  WalkBlit(*this, img, kNeedColour | kNeedMask, x, y, 0, region, [alpha](const Row& r, int width) {
    for (int i = 0; i < width; ++i) {
      const int m = r.mask[i];
      if (m == 255) continue;
      const int a = alpha * (255 - m);
      u8* d = r.dst + i * 3;
      const u8* s = r.src + i * 3;
      for (int c = 0; c < 3; ++c) d[c] = AlphaBlend(d[c], s[c], a);
    }
  });
}

void Surface::BlitShadow(const Image* img, int x, int y, const Rect* region) {
  WalkBlit(*this, img, kNeedMask, x, y, 0, region, [](const Row& r, int width) {
    for (int i = 0; i < width; ++i) {
      const int m = r.mask[i];
      if (m == 255) continue;
      u8* d = r.dst + i * 3;
      for (int c = 0; c < 3; ++c) d[c] = static_cast<u8>((d[c] * m) >> 8);
    }
  });
}

// The sub-pixel forms write (width - 1) x (height - 1) pixels: output pixel
// (i, j) mixes source pixels (i, j), (i + 1, j), (i, j + 1), (i + 1, j + 1).

void Surface::BlitMaskedSubpixel(const Image* img, int x, int y, int fx, int fy,
                                 const Rect* region) {
  const Weights wt(fx & 255, fy & 255);
  WalkBlit(*this, img, kNeedColour | kNeedMask, x, y, 1, region,
           [&wt](const Row& r, int width) {
             for (int i = 0; i < width; ++i) {
               const int mi = wt.Sample(r.mask + i, 1, r.maskStride);
               if (mi == 255) continue;
               u8* d = r.dst + i * 3;
               const u8* s = r.src + i * 3;
               for (int c = 0; c < 3; ++c) d[c] = MaskBlend(d[c], wt.Sample(s + c, 3, r.srcStride), mi);
             }
           });
}

void Surface::BlitMaskedAlphaSubpixel(const Image* img, int x, int y, int fx, int fy, u8 alpha,
                                      const Rect* region) {
  const Weights wt(fx & 255, fy & 255);
  WalkBlit(*this, img, kNeedColour | kNeedMask, x, y, 1, region,
           [&wt, alpha](const Row& r, int width) {
             for (int i = 0; i < width; ++i) {
               const int mi = wt.Sample(r.mask + i, 1, r.maskStride);
               if (mi == 255) continue;
               const int a = alpha * (255 - mi);
               u8* d = r.dst + i * 3;
               const u8* s = r.src + i * 3;
               for (int c = 0; c < 3; ++c) d[c] = AlphaBlend(d[c], wt.Sample(s + c, 3, r.srcStride), a);
             }
           });
}

void Surface::BlitShadowSubpixel(const Image* img, int x, int y, int fx, int fy,
                                 const Rect* region) {
  const Weights wt(fx & 255, fy & 255);
  WalkBlit(*this, img, kNeedMask, x, y, 1, region,
           [&wt](const Row& r, int width) {
             for (int i = 0; i < width; ++i) {
               // The interpolated mask only decides whether the pixel is
               // touched; the darkening uses the top-left sample itself.
               if (wt.Sample(r.mask + i, 1, r.maskStride) == 255) continue;
               const int m = r.mask[i];
               u8* d = r.dst + i * 3;
               for (int c = 0; c < 3; ++c) d[c] = static_cast<u8>((d[c] * m) >> 8);
             }
           });
}
