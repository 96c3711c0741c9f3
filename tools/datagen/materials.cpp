#include "tools/datagen/materials.h"

#include <cmath>

#include "tools/datagen/noise.h"

namespace datagen {

Color Felt(int x, int y, float lampX, float lampY, float night) {
  const float d = std::hypot((x - lampX) / 420.0f, (y - lampY) / 380.0f);
  const float light = 1.08f - 0.42f * SmoothStep(0.0f, 1.0f, d);
  const float cloud = Fbm(x * 0.045f, y * 0.045f, 11, 3) - 0.5f;
  const float grain = Hash2(x, y, 7) - 0.5f;
  const float k = light * (1.0f + cloud * 0.07f + grain * 0.06f) * (1.0f - night);
  const Color base = Hex(0x1C7A45);
  return {base.r * k, base.g * k, base.b * k * 0.98f, 1};
}

Color Wood(int x, int y, bool horizontal, std::uint32_t seed) {
  const float along = horizontal ? static_cast<float>(x) : static_cast<float>(y);
  const float across = horizontal ? static_cast<float>(y) : static_cast<float>(x);
  const float warp = Fbm(along * 0.012f, across * 0.09f, seed, 4) * 9.0f;
  const float rings = 0.5f + 0.5f * std::sin((across * 0.9f + warp) * 1.7f);
  const float fibre = Hash2(static_cast<int>(along / 3), static_cast<int>(across), seed + 5) - 0.5f;
  const Color dark = Hex(0x4A2412), light = Hex(0x8E4E26);
  const Color c = Mix(dark, light, 0.35f + 0.45f * rings * rings);
  return Shade(c, 1.0f + fibre * 0.10f);
}

Color DarkWood(int x, int y, std::uint32_t seed) {
  const float warp = Fbm(x * 0.05f, y * 0.008f, seed, 4) * 10.0f;
  const float rings = 0.5f + 0.5f * std::sin((x * 0.35f + warp) * 1.3f);
  const float fibre = Hash2(x, y / 4, seed + 9) - 0.5f;
  const Color c = Mix(Hex(0x22110A), Hex(0x4B2714), 0.25f + 0.55f * rings * rings);
  return Shade(c, 1.0f + fibre * 0.12f);
}

Color Brass(int y, int top, int height) {
  const float t = height > 1 ? Clamp01(static_cast<float>(y - top) / (height - 1)) : 0.5f;
  const Color hi = Hex(0xF4DB8A), mid = Hex(0xC79A3B), lo = Hex(0x7A5516);
  return t < 0.45f ? Mix(hi, mid, t / 0.45f) : Mix(mid, lo, (t - 0.45f) / 0.55f);
}

Color Gold(int y, int top, int height) {
  const float t = height > 1 ? Clamp01(static_cast<float>(y - top) / (height - 1)) : 0.5f;
  const Color a = Hex(0xFFF1B8), b = Hex(0xF2C14E), c = Hex(0xB87A1E);
  return t < 0.5f ? Mix(a, b, t / 0.5f) : Mix(b, c, (t - 0.5f) / 0.5f);
}

void Bevel(Canvas& c, int left, int top, int right, int bottom, int width, float strength, bool raised) {
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      const int dl = x - left, dt = y - top, dr = right - x, db = bottom - y;
      const int edge = std::min(std::min(dl, dt), std::min(dr, db));
      if (edge >= width) continue;
      const bool lit = (dl == edge || dt == edge) && !(dr == edge || db == edge);
      const float k = strength * (1.0f - static_cast<float>(edge) / width);
      Color& p = c.At(x, y);
      const bool brighten = lit == raised;
      const Color target = brighten ? Color{1, 1, 1, p.a} : Color{0, 0, 0, p.a};
      p = Mix(p, target, brighten ? k * 0.6f : k);
    }
}

}  // namespace datagen
