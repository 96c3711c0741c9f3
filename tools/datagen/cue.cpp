#include "tools/datagen/cue.h"

#include <cmath>

#include "tools/datagen/noise.h"

namespace datagen {
namespace {

// Section boundaries, in rows from the tip.
constexpr int kTipEnd = 5, kFerruleEnd = 13, kShaftEnd = 262, kJointEnd = 270, kForearmEnd = 372,
              kWrapEnd = 440, kButtRing = 446;

// Half width of the cue at row y: the shaft tapers toward the tip.
float HalfWidth(float y) {
  if (y < kShaftEnd) return 3.3f + 1.4f * (y / kShaftEnd);
  return std::min(6.0f, 4.75f + 1.25f * (y - kShaftEnd) / (kCueHeight - kShaftEnd));
}

// Forearm inlay: a long point (an upward V) in ebony with a maple veneer.
// Returns 0 outside, 1 in the veneer, 2 in the ebony.
int Inlay(float u, float y) {
  const float start = kJointEnd + 18, end = kForearmEnd;
  if (y < start || y > end) return 0;
  const float t = (y - start) / (end - start);  // 0 at the point's tip, 1 at its base
  for (float centre : {-1.0f, 0.0f, 1.0f}) {
    const float d = std::fabs(u - centre) / (centre == 0 ? 1.0f : 0.8f);
    const float half = 0.55f * t;
    if (d < half - 0.12f) return 2;
    if (d < half) return 1;
  }
  return 0;
}

Color Material(float u, int y, float yf) {
  const float grain = Hash2(static_cast<int>(u * 6), y / 5, 77) - 0.5f;
  if (y < kTipEnd) return Hex(0x3A6FB0);
  if (y < kFerruleEnd) return Hex(0xF2EBDC);
  if (y < kShaftEnd)
    return Shade(Mix(Hex(0xE6C58E), Hex(0xD9AE6E), Fbm(u * 2, yf * 0.05f, 3, 3)), 1 + grain * 0.06f);
  if (y < kJointEnd) return (y == kShaftEnd + 1 || y == kJointEnd - 2) ? Hex(0x2A1A08) : Hex(0xD7B05A);
  if (y < kForearmEnd) {
    const int inlay = Inlay(u, yf);
    if (inlay == 2) return Hex(0x17100C);
    if (inlay == 1) return Hex(0xEAD3A2);
    return Shade(Mix(Hex(0x6A2814), Hex(0x8B3A1C), Fbm(u * 3, yf * 0.08f, 5, 3)), 1 + grain * 0.12f);
  }
  if (y < kWrapEnd) {
    const bool thread = ((y + static_cast<int>((u + 1) * 3)) % 3) == 0;
    return thread ? Hex(0x2C2C30) : Hex(0x15151A);
  }
  if (y < kButtRing) return (y % 3 == 0) ? Hex(0xF0E6CF) : Hex(0xC9A24E);
  return Shade(Mix(Hex(0x1C0E08), Hex(0x3E1C0E), Fbm(u * 3, yf * 0.1f, 9, 3)), 1 + grain * 0.1f);
}

}  // namespace

Picture MakeCue() {
  Canvas c(kCueWidth, kCueHeight);
  const float cx = kCueWidth / 2.0f;
  for (int y = 0; y < kCueHeight; ++y)
    for (int x = 0; x < kCueWidth; ++x) {
      const float yf = y + 0.5f, hw = HalfWidth(yf);
      const float d = std::fabs(x + 0.5f - cx);
      float cover = Clamp01(hw - d + 0.5f);
      // The tip is rounded off at the top.
      if (y < 4)
        cover = std::min(cover, Clamp01(0.5f - (std::hypot(x + 0.5f - cx, (yf - 3.8f) * 1.4f) - hw)));
      if (cover <= 0) continue;
      const float u = Clamp01(d / hw) * ((x + 0.5f < cx) ? -1.0f : 1.0f);
      const float nz = std::sqrt(std::max(0.0f, 1.0f - u * u));
      const float light = 0.45f + 0.55f * Clamp01(0.35f * -u + 0.8f * nz);
      const float shine = std::pow(Clamp01(1.0f - std::fabs(u + 0.35f) * 3.0f), 2.0f) * 0.35f;
      const Color m = Material(u, y, yf);
      const Color lit{Clamp01(m.r * light + shine), Clamp01(m.g * light + shine),
                      Clamp01(m.b * light + shine), 1};
      c.Blend(x, y, lit, cover);
    }
  return MaskedPicture(c, "cue");
}

}  // namespace datagen
