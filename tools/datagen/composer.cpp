#include "tools/datagen/composer.h"

#include "platform/clip.h"
#include "tools/common/png_writer.h"

namespace datagen {
namespace {

std::uint32_t Channel(std::uint32_t c, int shift) { return (c >> shift) & 255; }

// The picture as an Image of the program, borrowing the picture's bytes.
struct BorrowedImage {
  explicit BorrowedImage(const Picture& p) {
    auto wrap = [](const std::vector<std::uint8_t>& bytes) {
      return bytes.empty()
                 ? nullptr
                 : PixelBuffer::Create(static_cast<u32>(bytes.size()), const_cast<u8*>(bytes.data()));
    };
    image = Image::Create(p.width, p.height, p.key, p.type, wrap(p.pixels), wrap(p.mask));
  }
  ~BorrowedImage() { delete image; }
  Image* image;
};

// The controls' palette blend: mask 0 copies, 255 skips, m between keeps
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

Composer::Composer(int width, int height, std::uint32_t fill) : surface_(Surface::Create(width, height, 24)) {
  surface_->Lock();
  surface_->Fill(fill);
  surface_->Unlock();
}

Composer::~Composer() { delete surface_; }

std::uint32_t Composer::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return 0;
  const u8* p = surface_->At(x, y);
  return (static_cast<std::uint32_t>(p[2]) << 16) | (p[1] << 8) | p[0];
}

void Composer::Set(int x, int y, std::uint32_t rgb) {
  if (x < 0 || y < 0 || x >= Width() || y >= Height()) return;
  u8* p = surface_->At(x, y);
  p[0] = static_cast<u8>(Channel(rgb, 0)), p[1] = static_cast<u8>(Channel(rgb, 8)),
  p[2] = static_cast<u8>(Channel(rgb, 16));
}

void Composer::FillRect(int left, int top, int right, int bottom, std::uint32_t rgb) {
  surface_->Lock();
  surface_->FillRect(rgb, Rect(left, top, right, bottom));
  surface_->Unlock();
}

void Composer::Blit(const Picture& p, int x, int y) {
  BorrowedImage b(p);
  surface_->Lock();
  switch (p.type) {
    case kOpaque: surface_->BlitOpaque(b.image, x, y); break;
    case kColorKey: surface_->BlitColorKey(b.image, x, y); break;
    case kMasked: surface_->BlitMasked(b.image, x, y); break;
    case kShadow: surface_->BlitShadow(b.image, x, y); break;
    default: break;
  }
  surface_->Unlock();
}

void Composer::BlitScaled(const Picture& p, int x, int y, int scale, std::uint32_t backdrop) {
  Composer one(p.width, p.height, backdrop);
  one.Blit(p, 0, 0);
  for (int sy = 0; sy < p.height * scale; ++sy)
    for (int sx = 0; sx < p.width * scale; ++sx) Set(x + sx, y + sy, one.Get(sx / scale, sy / scale));
}

void Composer::DrawSprite(const Picture& p, std::int32_t x, std::int32_t y) {
  BorrowedImage b(p);
  OClip clip;
  clip.anchor = kAnchorCentre, clip.subpixel = 1, clip.visible = 1, clip.x = x, clip.y = y;
  surface_->Lock();
  clip.Draw(*surface_, *b.image, nullptr);
  surface_->Unlock();
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
  rgb.reserve(static_cast<size_t>(Width()) * Height() * 3);
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < Width(); ++x) {
      const std::uint32_t c = Get(x, y);
      rgb.push_back(static_cast<std::uint8_t>(Channel(c, 16)));
      rgb.push_back(static_cast<std::uint8_t>(Channel(c, 8)));
      rgb.push_back(static_cast<std::uint8_t>(Channel(c, 0)));
    }
  return png::Write(path, Width(), Height(), 3, rgb);
}

}  // namespace datagen
