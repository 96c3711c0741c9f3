#include "tools/datagen/picture.h"

namespace datagen {
namespace {

void PutColor(Picture& p, int x, int y, const Color& c) {
  const size_t i = (static_cast<size_t>(y) * p.width + x) * 3;
  p.pixels[i] = ToByte(c.b);
  p.pixels[i + 1] = ToByte(c.g);
  p.pixels[i + 2] = ToByte(c.r);
}

// Spreads painted colours into the transparent pixels, one ring per pass,
// each empty pixel taking the average of its painted neighbours.
Canvas BleedEdges(const Canvas& c) {
  Canvas out = c;
  std::vector<char> done(static_cast<size_t>(c.Width()) * c.Height());
  for (int y = 0; y < c.Height(); ++y)
    for (int x = 0; x < c.Width(); ++x) done[y * c.Width() + x] = c.Get(x, y).a > 0.002f;
  for (bool grew = true; grew;) {
    grew = false;
    std::vector<char> next = done;
    for (int y = 0; y < c.Height(); ++y)
      for (int x = 0; x < c.Width(); ++x) {
        if (done[y * c.Width() + x]) continue;
        Color sum{0, 0, 0, 0};
        int n = 0;
        for (int dy = -1; dy <= 1; ++dy)
          for (int dx = -1; dx <= 1; ++dx) {
            const int nx = x + dx, ny = y + dy;
            if (nx < 0 || ny < 0 || nx >= c.Width() || ny >= c.Height() || !done[ny * c.Width() + nx])
              continue;
            const Color& s = out.Get(nx, ny);
            sum.r += s.r, sum.g += s.g, sum.b += s.b, ++n;
          }
        if (n == 0) continue;
        out.At(x, y) = {sum.r / n, sum.g / n, sum.b / n, out.Get(x, y).a};
        next[y * c.Width() + x] = 1;
        grew = true;
      }
    done.swap(next);
  }
  return out;
}

}  // namespace

Picture OpaquePicture(const Canvas& c, const std::string& name) {
  Picture p;
  p.width = c.Width(), p.height = c.Height(), p.type = kOpaque, p.name = name;
  p.pixels.resize(static_cast<size_t>(p.width) * p.height * 3);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) PutColor(p, x, y, c.Get(x, y));
  return p;
}

Picture MaskedPicture(const Canvas& c, const std::string& name) {
  Picture p;
  p.width = c.Width(), p.height = c.Height(), p.type = kMasked, p.name = name;
  p.pixels.resize(static_cast<size_t>(p.width) * p.height * 3);
  p.mask.resize(static_cast<size_t>(p.width) * p.height);
  const Canvas bled = BleedEdges(c);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x) {
      PutColor(p, x, y, bled.Get(x, y));
      p.mask[static_cast<size_t>(y) * p.width + x] = static_cast<std::uint8_t>(255 - ToByte(c.Get(x, y).a));
    }
  return p;
}

Picture ShadowPicture(const Coverage& darkness, const std::string& name) {
  Picture p;
  p.width = darkness.Width(), p.height = darkness.Height(), p.type = kShadow, p.name = name;
  p.mask.resize(static_cast<size_t>(p.width) * p.height);
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      p.mask[static_cast<size_t>(y) * p.width + x] =
          static_cast<std::uint8_t>(255 - ToByte(darkness.Get(x, y)));
  return p;
}

std::uint32_t PixelColor(const Picture& p, int x, int y) {
  const size_t i = (static_cast<size_t>(y) * p.width + x) * 3;
  return (static_cast<std::uint32_t>(p.pixels[i + 2]) << 16) | (p.pixels[i + 1] << 8) | p.pixels[i];
}

}  // namespace datagen
