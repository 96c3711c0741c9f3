#include "tools/datagen/balls.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace datagen {
namespace {

constexpr int kSamples = 6;  // per pixel and axis

const std::uint32_t kBallHex[9] = {0x000000, 0xD62A2E, 0xF4C21B, 0x2463DA, 0x46C23C,
                                   0x9440CF, 0xF57C1F, 0xF3F1EA, 0x22C6D6};

struct Vec3 {
  float x, y, z;
};

Vec3 Normalized(Vec3 v) {
  const float l = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
  return {v.x / l, v.y / l, v.z / l};
}

float Dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }

// Linear-light colour of the sphere point with normal n: wrapped diffuse
// light from the upper left, a little green bounce from the felt below, a
// sharp specular highlight with a soft sheen, and a glossy rim.
Color ShadeSphere(Color base, Vec3 n) {
  static const Vec3 light = Normalized({-0.45f, -0.62f, 0.64f});
  static const Vec3 half = Normalized({light.x, light.y, light.z + 1.0f});
  const float lr = ToLinear(base.r), lg = ToLinear(base.g), lb = ToLinear(base.b);
  const float diffuse = Clamp01((Dot(n, light) + 0.2f) / 1.2f);
  const float bounce = Clamp01(n.y) * (1.0f - n.z) * 0.35f;
  const float nh = Clamp01(Dot(n, half));
  const float specular = std::pow(nh, 60.0f) * 1.4f + std::pow(nh, 10.0f) * 0.10f;
  const float rim = std::pow(1.0f - n.z, 4.0f) * 0.18f;
  const float k = 0.10f + 1.0f * diffuse;
  Color c;
  c.r = lr * k + bounce * 0.02f + specular + rim * 0.6f;
  c.g = lg * k + bounce * 0.07f + specular + rim * 0.65f;
  c.b = lb * k + bounce * 0.03f + specular + rim * 0.7f;
  c.a = 1;
  return c;
}

}  // namespace

Color BallColour(int colour) { return Hex(kBallHex[colour >= 1 && colour <= 8 ? colour : 7]); }

void PaintBall(Canvas& canvas, float cx, float cy, float radius, Color base) {
  // Tiny balls lose their shading to the few pixels they cover; they are
  // drawn nearer their plain colour so that they still read as that colour.
  const float flat = Clamp01((4.5f - radius) / 3.5f) * 0.7f;
  const int x0 = static_cast<int>(std::floor(cx - radius)), x1 = static_cast<int>(std::ceil(cx + radius));
  const int y0 = static_cast<int>(std::floor(cy - radius)), y1 = static_cast<int>(std::ceil(cy + radius));
  for (int py = y0; py < y1; ++py)
    for (int px = x0; px < x1; ++px) {
      float r = 0, g = 0, b = 0;
      int inside = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const float dx = (px + (sx + 0.5f) / kSamples - cx) / radius;
          const float dy = (py + (sy + 0.5f) / kSamples - cy) / radius;
          const float d2 = dx * dx + dy * dy;
          if (d2 >= 1.0f) continue;
          const Color c = ShadeSphere(base, {dx, dy, std::sqrt(1.0f - d2)});
          r += c.r, g += c.g, b += c.b, ++inside;
        }
      if (inside == 0) continue;
      const Color lit{ToSrgb(r / inside), ToSrgb(g / inside), ToSrgb(b / inside), 1};
      const Color c = Mix(lit, base, flat);
      canvas.Blend(px, py, c, static_cast<float>(inside) / (kSamples * kSamples));
    }
}

namespace {

// Darkness of a soft shadow at distance t (in radii) from its middle.
float ShadowDarkness(float t) { return 1.0f - SmoothStep(0.3f, 1.0f, t); }

Coverage ShadowPlane(int size, float cx, float cy, float radius) {
  Coverage c(size, size);
  for (int py = 0; py < size; ++py)
    for (int px = 0; px < size; ++px) {
      float sum = 0;
      for (int sy = 0; sy < kSamples; ++sy)
        for (int sx = 0; sx < kSamples; ++sx) {
          const float dx = px + (sx + 0.5f) / kSamples - cx, dy = py + (sy + 0.5f) / kSamples - cy;
          sum += ShadowDarkness(std::sqrt(dx * dx + dy * dy) / radius);
        }
      c.At(px, py) = sum / (kSamples * kSamples);
    }
  return c;
}

}  // namespace

void PaintBallShadow(Canvas& canvas, float cx, float cy, float radius, float strength) {
  const int size = static_cast<int>(std::ceil(radius * 2)) + 4;
  const int ox = static_cast<int>(std::floor(cx)) - size / 2,
            oy = static_cast<int>(std::floor(cy)) - size / 2;
  canvas.Darken(ShadowPlane(size, cx - ox, cy - oy, radius), ox, oy, strength);
}

Picture BallFrame(int colour, int frame) {
  const int size = frame + 4;
  Canvas c(size, size);
  PaintBall(c, size / 2.0f, size / 2.0f, (frame + 2) / 2.0f, BallColour(colour));
  return MaskedPicture(c, "ball " + std::to_string(colour) + "/" + std::to_string(frame));
}

Picture ShadowFrame(int frame) {
  const int size = frame + 4;
  // Darkest about 55 % (mask near 140), fading to nothing at the rim; the
  // smallest frames (aiming dots, sparks) cast fainter shadows, since the
  // scene darkens by the mask of a single source pixel.
  const float strength = 0.452f * std::min(1.0f, 0.45f + frame / 14.0f);
  Coverage plane = ShadowPlane(size, size / 2.0f, size / 2.0f, (frame + 2) / 2.0f);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) plane.At(x, y) *= strength;
  return ShadowPicture(plane, "shadow " + std::to_string(frame));
}

}  // namespace datagen
