#include "platform/display_format.h"

#include <cstring>

namespace {

void Measure(u32 mask, u32& outMask, int& shift, int& bits) {
  outMask = mask;
  bits = 0;
  int highest = -1;
  for (int i = 0; i < 32; ++i) {
    if (mask & (1u << i)) {
      ++bits;
      highest = i;
    }
  }
  shift = bits > 0 ? highest - bits + 1 : 0;
}

void Convert16(const DisplayFormat& f, const Surface& src, u8* dst, int dstPitch, int x0, int y0,
               int x1, int y1) {
  const int rDrop = 8 - f.redBits, gDrop = 8 - f.greenBits, bDrop = 8 - f.blueBits;
  for (int y = y0; y <= y1; ++y) {
    const u8* s = src.base + y * src.pitch + x0 * 3;
    u8* d = dst + y * dstPitch + x0 * 2;
    for (int x = x0; x <= x1; ++x, s += 3, d += 2) {
      const u32 v = (static_cast<u32>(s[2] >> rDrop) << f.redShift) |
                    (static_cast<u32>(s[1] >> gDrop) << f.greenShift) |
                    (static_cast<u32>(s[0] >> bDrop) << f.blueShift);
      d[0] = static_cast<u8>(v);
      d[1] = static_cast<u8>(v >> 8);
    }
  }
}

}  // namespace

bool ClipUpdateRect(const Rect& rect, int width, int height, int& x0, int& y0, int& x1, int& y1) {
  x0 = rect.left > 0 ? rect.left : 0;
  y0 = rect.top > 0 ? rect.top : 0;
  x1 = rect.right + 1 < width - 1 ? rect.right + 1 : width - 1;
  y1 = rect.bottom + 1 < height - 1 ? rect.bottom + 1 : height - 1;
  return x0 <= x1 && y0 <= y1;
}

void DisplayFormat::SetMasks(u32 red, u32 green, u32 blue) {
  Measure(red, redMask, redShift, redBits);
  Measure(green, greenMask, greenShift, greenBits);
  Measure(blue, blueMask, blueShift, blueBits);
}

void ConvertRect(const DisplayFormat& format, const Surface& src, u8* dst, int dstPitch, int x0,
                 int y0, int x1, int y1) {
  if (format.depth == 15 || format.depth == 16) {
    Convert16(format, src, dst, dstPitch, x0, y0, x1, y1);
    return;
  }
  if (format.depth != 24) return;
  const int count = x1 - x0 + 1;
  for (int y = y0; y <= y1; ++y) {
    const u8* s = src.base + y * src.pitch + x0 * 3;
    if (format.bytesPerPixel == 3) {
      std::memcpy(dst + y * dstPitch + x0 * 3, s, static_cast<size_t>(count) * 3);
    } else if (format.bytesPerPixel == 4) {
      u8* d = dst + y * dstPitch + x0 * 4;
      for (int i = 0; i < count; ++i, s += 3, d += 4) {
        d[0] = s[0];
        d[1] = s[1];
        d[2] = s[2];
      }
    }
  }
}
