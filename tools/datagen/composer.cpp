#include "tools/datagen/composer.h"

#include "tools/common/png_writer.h"

namespace datagen {
namespace {

std::uint32_t Channel(std::uint32_t c, int shift) { return (c >> shift) & 255; }

// The masked blend of the game: mask 0 copies, 255 skips, m between keeps
// m/256 of the destination.
std::uint32_t BlendMasked(std::uint32_t src, std::uint32_t dst, int m) {
  std::uint32_t out = 0;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int s = static_cast<int>(Channel(src, shift)), d = static_cast<int>(Channel(dst, shift));
    out |= static_cast<std::uint32_t>((s + ((m * (d - s)) >> 8)) & 255) << shift;
  }
  return out;
}

}  // namespace

Composer::Composer(int width, int height, std::uint32_t fill)
    : w_(width), h_(height), px_(static_cast<size_t>(width) * height, fill) {}

std::uint32_t Composer::Get(int x, int y) const {
  return (x < 0 || y < 0 || x >= w_ || y >= h_) ? 0 : px_[static_cast<size_t>(y) * w_ + x];
}

void Composer::Set(int x, int y, std::uint32_t rgb) {
  if (x >= 0 && y >= 0 && x < w_ && y < h_) px_[static_cast<size_t>(y) * w_ + x] = rgb;
}

void Composer::FillRect(int left, int top, int right, int bottom, std::uint32_t rgb) {
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) Set(x, y, rgb);
}

void Composer::Blit(const Picture& p, int x, int y, int scale) {
  for (int sy = 0; sy < p.height; ++sy)
    for (int sx = 0; sx < p.width; ++sx) {
      const size_t i = static_cast<size_t>(sy) * p.width + sx;
      for (int k = 0; k < scale * scale; ++k) {
        const int dx = x + sx * scale + k % scale, dy = y + sy * scale + k / scale;
        const std::uint32_t d = Get(dx, dy);
        if (p.type == kShadow) {
          const int m = p.mask[i];
          if (m == 255) continue;
          std::uint32_t out = 0;
          for (int shift = 0; shift <= 16; shift += 8) out |= ((Channel(d, shift) * m) >> 8) << shift;
          Set(dx, dy, out);
          continue;
        }
        const std::uint32_t s = PixelColor(p, sx, sy);
        if (p.type == kOpaque) Set(dx, dy, s);
        if (p.type == kColorKey && s != p.key) Set(dx, dy, s);
        if (p.type == kMasked && p.mask[i] != 255) Set(dx, dy, BlendMasked(s, d, p.mask[i]));
      }
    }
}

void Composer::BlitPalette(const Picture& p, int x, int y, const std::uint32_t* palette, int scale) {
  for (int sy = 0; sy < p.height; ++sy)
    for (int sx = 0; sx < p.width; ++sx) {
      const size_t i = static_cast<size_t>(sy) * p.width + sx;
      if (p.mask[i] == 255) continue;
      const std::uint32_t s = palette[p.pixels[i] < 255 ? p.pixels[i] : 254];
      for (int k = 0; k < scale * scale; ++k) {
        const int dx = x + sx * scale + k % scale, dy = y + sy * scale + k / scale;
        Set(dx, dy, BlendMasked(s, Get(dx, dy), p.mask[i]));
      }
    }
}

void Composer::Stamp(const Picture& glyph, int x, int y, std::uint32_t rgb) {
  for (int sy = 0; sy < glyph.height; ++sy)
    for (int sx = 0; sx < glyph.width; ++sx)
      if (PixelColor(glyph, sx, sy) == 0) Set(x + sx, y + sy, rgb);
}

bool Composer::WritePng(const std::string& path) const {
  std::vector<std::uint8_t> rgb;
  rgb.reserve(px_.size() * 3);
  for (std::uint32_t c : px_) {
    rgb.push_back(static_cast<std::uint8_t>(Channel(c, 16)));
    rgb.push_back(static_cast<std::uint8_t>(Channel(c, 8)));
    rgb.push_back(static_cast<std::uint8_t>(Channel(c, 0)));
  }
  return png::Write(path, w_, h_, 3, rgb);
}

}  // namespace datagen
