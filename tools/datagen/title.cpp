#include "tools/datagen/title.h"

#include <algorithm>
#include <cmath>

#include "tools/datagen/balls.h"
#include "tools/datagen/layout.h"
#include "tools/datagen/lettering.h"
#include "tools/datagen/materials.h"
#include "tools/datagen/noise.h"
#include "tools/datagen/table.h"

namespace datagen {
namespace {

// The title shows the whole screen as one table seen from above: a wooden
// rail round the edge, felt everywhere inside, the name under the lamp and
// a break shot lined up below it. The felt stays dark: the fireworks fly
// over all of it.
constexpr int kRail = 9;
constexpr float kLampX = 320, kLampY = 175;
constexpr float kNameCentreX = 320;
constexpr int kNameBaseline = 196, kOrnamentY = 224;

// The rack of fifteen and the cue ball lined up on it.
constexpr float kCueBallX = 150, kCueBallY = 410, kBallR = 13.5f;
constexpr float kApexX = 340, kApexY = 356;

void PaintNightFelt(Canvas& c) {
  for (int y = kRail; y < kScreenH - kRail; ++y)
    for (int x = kRail; x < kScreenW - kRail; ++x) {
      // Darker toward the corners, away from the lamp.
      const float d = std::hypot((x - kLampX) / 380.0f, (y - kLampY - 40) / 300.0f);
      const float vignette = 1.0f - 0.5f * SmoothStep(0.55f, 1.35f, d);
      c.At(x, y) = Shade(Felt(x, y, kLampX, kLampY, 0.6f), vignette);
    }
}

// The felt darkens under the cushions along every rail.
void PaintCushionShadow(Canvas& c) {
  Coverage edge(kScreenW, kScreenH);
  for (int y = kRail; y < kScreenH - kRail; ++y)
    for (int x = kRail; x < kScreenW - kRail; ++x) {
      const int d = std::min(std::min(x - kRail, kScreenW - 1 - kRail - x),
                             std::min(y - kRail, kScreenH - 1 - kRail - y));
      edge.At(x, y) = 1.0f - SmoothStep(0.0f, 9.0f, static_cast<float>(d));
    }
  c.Darken(edge, 0, 0, 0.5f);
}

// Polished rails on all four sides with pearl sights set into them.
void PaintRails(Canvas& c) {
  for (int y = 0; y < kScreenH; ++y)
    for (int x = 0; x < kScreenW; ++x) {
      const bool topOrBottom = y < kRail || y >= kScreenH - kRail;
      const bool side = x < kRail || x >= kScreenW - kRail;
      if (topOrBottom || side) c.At(x, y) = Wood(x, y, topOrBottom, 21);
    }
  Bevel(c, 0, 0, kScreenW - 1, kScreenH - 1, 3, 0.35f, true);
  Bevel(c, kRail - 2, kRail - 2, kScreenW - kRail + 1, kScreenH - kRail + 1, 2, 0.3f, false);
  const Coverage diamond = Coverage::FromSdf(
      5, 5, [](float x, float y) { return (std::fabs(x - 2.5f) + std::fabs(y - 2.5f)) * 0.7071f - 0.9f; });
  const Color pearl = Hex(0xEDE1C4, 0.85f);
  for (int i = 1; i < 8; ++i) {
    const int x = kScreenW * i / 8 - 2;
    c.Paint(diamond, x, kRail / 2 - 2, pearl);
    c.Paint(diamond, x, kScreenH - kRail / 2 - 3, pearl);
  }
  for (int i = 1; i < 6; ++i) {
    const int y = kScreenH * i / 6 - 2;
    c.Paint(diamond, kRail / 2 - 2, y, pearl);
    c.Paint(diamond, kScreenW - kRail / 2 - 3, y, pearl);
  }
}

// The name in large gold letters with a warm glow, and a gold rule with a
// small diamond under it.
void PaintName(Canvas& c, const FontSet& fonts) {
  const TextImage t = fonts.Render(kSerifBold, U32("Dorrimac"), 92, 24, 0.2f);
  int left, top, right, bottom;
  t.cov.Bounds(0.02f, left, top, right, bottom);
  const int x = static_cast<int>(kNameCentreX) - (left + right + 1) / 2, y = kNameBaseline - t.baseline;
  c.Paint(t.cov.Dilated(4).Blurred(18), x, y, Color{1.0f, 0.78f, 0.3f, 0.2f});
  LetterStyle style;
  style.outline = 2.0f;
  style.outlineColour = Hex(0x1E0E02);
  style.shadowBlur = 6, style.shadowDx = 3, style.shadowDy = 6, style.shadowStrength = 0.85f;
  PaintLettering(c, t, x, y, style);

  const int cx = static_cast<int>(kNameCentreX);
  for (int px = cx - 220; px <= cx + 220; ++px) {
    const float fade = 1.0f - std::fabs(static_cast<float>(px - cx)) / 220.0f;
    if (std::abs(px - cx) < 12) continue;  // room for the diamond
    c.Blend(px, kOrnamentY, Hex(0xE2B85A), 0.75f * fade);
    c.Blend(px, kOrnamentY + 1, Hex(0x000000), 0.4f * fade);
  }
  const Coverage gem = Coverage::FromSdf(kScreenW, kScreenH, [&](float px, float py) {
    return (std::fabs(px - cx - 0.5f) + std::fabs(py - kOrnamentY - 0.5f)) * 0.7071f - 3.2f;
  });
  c.Paint(gem.Shifted(1, 2).Blurred(1), 0, 0, Color{0, 0, 0, 0.6f});
  c.Paint(gem, 0, 0, [](int, int py) { return Gold(py, kOrnamentY - 5, 11); });
}

// Unit vector from the cue ball to the apex of the rack: the line of the
// break shot.
void AimLine(float& ux, float& uy) {
  const float dx = kApexX - kCueBallX, dy = kApexY - kCueBallY, n = std::hypot(dx, dy);
  ux = dx / n, uy = dy / n;
}

// Fifteen balls racked in a triangle whose apex points at the cue ball,
// the white ball, and a faint line of aiming dots between them.
void PaintBreakShot(Canvas& c) {
  float ux, uy;
  AimLine(ux, uy);
  const float vx = -uy, vy = ux;  // across the rack
  const float dx = 2 * kBallR + 0.6f, dy = dx * 0.866f;
  const int colours[15] = {2, 1, 3, 4, 8, 5, 6, 1, 3, 2, 5, 4, 8, 6, 1};
  float bx[15], by[15];
  int k = 0;
  for (int row = 0; row < 5; ++row)
    for (int i = 0; i <= row; ++i, ++k) {
      const float across = (i - row / 2.0f) * dx, along = row * dy + kBallR + 1;
      bx[k] = kApexX + ux * along + vx * across;
      by[k] = kApexY + uy * along + vy * across;
    }
  for (int b = 0; b < 15; ++b) PaintBallShadow(c, bx[b] + 3, by[b] + 4, kBallR, 0.6f);
  PaintBallShadow(c, kCueBallX + 3, kCueBallY + 4, kBallR, 0.6f);
  for (int b = 0; b < 15; ++b) PaintBall(c, bx[b], by[b], kBallR, BallColour(colours[b]));
  PaintBall(c, kCueBallX, kCueBallY, kBallR, BallColour(7));

  const Coverage dot = Coverage::FromSdf(7, 7, [](float x, float y) { return SdCircle(x, y, 3.5f, 3.5f, 1.3f); });
  const float gap = std::hypot(kApexX - kCueBallX, kApexY - kCueBallY) - kBallR;
  for (float s = kBallR + 12; s < gap - 8; s += 14) {
    const float fade = 0.25f + 0.35f * (s / gap);
    c.Paint(dot, static_cast<int>(kCueBallX + ux * s) - 3, static_cast<int>(kCueBallY + uy * s) - 3,
            Color{0.95f, 0.95f, 0.9f, fade});
  }
}

// The colour of the cue at distance t from its tip, of total length len:
// blue chalked tip, ivory ferrule, maple shaft, a brass joint, dark butt.
Color CueColour(float t, float len, int x, int y) {
  if (t < 3.5f) return Hex(0x3F74B8);
  if (t < 13) return Hex(0xEEE6D2);
  const float joint = len * 0.55f;
  if (t < joint) return Shade(Hex(0xE3C48E), 1.0f + (Hash2(x / 5, y / 5, 61) - 0.5f) * 0.06f);
  if (t < joint + 4) return Hex(0xD8B25A);
  const float stripe = std::fmod(t - joint, 60.0f) < 30 ? 1.0f : 0.8f;
  return Shade(Mix(Hex(0x4A1E0C), Hex(0x1E0D06), std::min(1.0f, (t - joint) / len * 2)), stripe);
}

// The cue lying on the felt behind the cue ball, its tip a finger's width
// from the ball, along the line of the shot; most of it runs off the
// bottom left of the picture.
void PaintCue(Canvas& c) {
  float ux, uy;
  AimLine(ux, uy);
  const float tipX = kCueBallX - ux * (kBallR + 7), tipY = kCueBallY - uy * (kBallR + 7);
  const float len = 520, tipR = 3.2f, buttR = 8.5f;
  const auto along = [&](float x, float y) { return (tipX - x) * ux + (tipY - y) * uy; };
  const auto across = [&](float x, float y) { return (x - tipX) * -uy + (y - tipY) * ux; };
  const auto radius = [&](float t) { return tipR + (buttR - tipR) * std::clamp(t / len, 0.0f, 1.0f); };
  const Coverage stick = Coverage::FromSdf(kScreenW, kScreenH, [&](float x, float y) {
    const float t = along(x, y);
    return std::max(std::fabs(across(x, y)) - radius(t), std::max(-t, t - len));
  });
  c.Paint(stick.Shifted(4, 6).Blurred(4), 0, 0, Color{0, 0, 0, 0.55f});
  c.Paint(stick, 0, 0, [&](int x, int y) {
    const float t = along(x + 0.5f, y + 0.5f);
    const float n = std::clamp(across(x + 0.5f, y + 0.5f) / radius(t), -1.0f, 1.0f);
    // A round stick lit from above: bright along one side, a thin highlight.
    const float lambert = 0.45f + 0.55f * std::sqrt(1.0f - n * n) * (0.8f - 0.3f * n);
    const float gloss = std::exp(-(n + 0.35f) * (n + 0.35f) * 40.0f) * 0.35f;
    const Color base = Shade(CueColour(t, len, x, y), lambert);
    return Mix(base, Hex(0xFFFFFF), gloss);
  });
}

// A cube of blue chalk left on the felt, its top worn hollow.
void PaintChalk(Canvas& c, float x, float y) {
  const Coverage top = Coverage::FromSdf(
      kScreenW, kScreenH, [&](float px, float py) { return SdRoundRect(px, py, x, y, x + 22, y + 12, 2); });
  const Coverage side = Coverage::FromSdf(
      kScreenW, kScreenH, [&](float px, float py) { return SdRoundRect(px, py, x, y + 10, x + 22, y + 22, 2); });
  c.Paint(side.Shifted(3, 4).Blurred(3), 0, 0, Color{0, 0, 0, 0.6f});
  c.Paint(side, 0, 0, [](int px, int py) { return Shade(Hex(0x2F6FC0), 0.7f + 0.1f * Hash2(px, py, 3)); });
  c.Paint(top, 0, 0, [](int px, int py) { return Shade(Hex(0x5C95DC), 0.85f + 0.15f * Hash2(px, py, 4)); });
  const Coverage hollow = Coverage::FromSdf(kScreenW, kScreenH, [&](float px, float py) {
    return SdCircle(px, (py - y - 6) * 2.0f + y + 6, x + 11, y + 6, 5.5f);
  });
  c.Darken(hollow, 0, 0, 0.35f);
}

// Signed distance to an equilateral triangle of side 2 r centred at the
// origin, apex up.
float SdTriangle(float x, float y, float r) {
  const float k = std::sqrt(3.0f);
  x = std::fabs(x) - r;
  y = -y + r / k;
  if (x + k * y > 0) {
    const float nx = (x - k * y) / 2, ny = (-k * x - y) / 2;
    x = nx, y = ny;
  }
  x -= std::clamp(x, -2 * r, 0.0f);
  return -std::hypot(x, y) * (y < 0 ? -1.0f : 1.0f);
}

// The empty wooden rack frame set aside after racking, turned a little.
void PaintRackFrame(Canvas& c, float cx, float cy, float degrees) {
  const float a = degrees * 3.14159265f / 180, ca = std::cos(a), sa = std::sin(a);
  const float r = 66, width = 9;
  const Coverage frame = Coverage::FromSdf(kScreenW, kScreenH, [&](float x, float y) {
    const float lx = (x - cx) * ca + (y - cy) * sa, ly = -(x - cx) * sa + (y - cy) * ca;
    const float outer = SdTriangle(lx, ly, r) - 3;
    return std::max(outer, -(outer + width));
  });
  c.Paint(frame.Shifted(3, 5).Blurred(3), 0, 0, Color{0, 0, 0, 0.6f});
  c.Paint(frame, 0, 0, [](int x, int y) { return Shade(Wood(x * 2, y * 2, true, 33), 1.1f); });
  c.Darken(frame.Minus(frame.Shifted(-1, -1)), 0, 0, 0.35f);
}

}  // namespace

std::vector<Picture> MakeTitle(const FontSet& fonts) {
  Canvas c(kScreenW, kScreenH, Hex(0));
  PaintNightFelt(c);
  PaintCushionShadow(c);
  PaintRails(c);
  PaintName(c, fonts);
  PaintBreakShot(c);
  PaintRackFrame(c, 540, 372, -12);
  PaintChalk(c, 430, 426);
  PaintCue(c);
  return Quadrants(c, "title");
}

}  // namespace datagen
