// Colours as the generator paints them: sRGB-encoded channels 0..1 with a
// straight (not premultiplied) alpha, plus a few mixing helpers.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace datagen {

struct Color {
  float r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with an alpha.
inline Color Hex(std::uint32_t rgb, float a = 1.0f) {
  return {((rgb >> 16) & 255) / 255.0f, ((rgb >> 8) & 255) / 255.0f, (rgb & 255) / 255.0f, a};
}

inline float Clamp01(float v) { return std::min(1.0f, std::max(0.0f, v)); }

inline float Lerp(float a, float b, float t) { return a + (b - a) * t; }

inline Color Mix(Color x, Color y, float t) {
  return {Lerp(x.r, y.r, t), Lerp(x.g, y.g, t), Lerp(x.b, y.b, t), Lerp(x.a, y.a, t)};
}

// Multiplies the colour channels, keeping alpha.
inline Color Shade(Color c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

inline Color WithAlpha(Color c, float a) { return {c.r, c.g, c.b, a}; }

inline float SmoothStep(float e0, float e1, float x) {
  const float t = Clamp01((x - e0) / (e1 - e0));
  return t * t * (3 - 2 * t);
}

inline float ToLinear(float s) { return s <= 0.04045f ? s / 12.92f : std::pow((s + 0.055f) / 1.055f, 2.4f); }
inline float ToSrgb(float l) {
  l = Clamp01(l);
  return l <= 0.0031308f ? l * 12.92f : 1.055f * std::pow(l, 1.0f / 2.4f) - 0.055f;
}

// A channel 0..1 as a byte, rounded.
inline std::uint8_t ToByte(float v) { return static_cast<std::uint8_t>(std::lround(Clamp01(v) * 255.0f)); }

}  // namespace datagen
