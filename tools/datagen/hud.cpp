#include "tools/datagen/hud.h"

#include <cmath>

#include "tools/datagen/lettering.h"
#include "tools/datagen/materials.h"

namespace datagen {
namespace {

// A digit fills one 25-pixel step of the number display, so its ink is
// centred in the cell and neighbours keep an even gap; its ink starts a
// few rows down, clear of the rule above the level.
constexpr int kDigitW = 25, kDigitH = 23;
constexpr int kDigitBaseline = 21;
constexpr float kDigitSize = 25, kDigitWiden = 1.30f;

// A five-pointed star centred at (cx, cy).
float SdStar(float x, float y, float cx, float cy, float r) {
  const float kPi = 3.14159265f;
  float a = std::atan2(x - cx, -(y - cy));
  const float d = std::hypot(x - cx, y - cy);
  const float sector = 2 * kPi / 5;
  a = std::fmod(a + sector * 10.5f, sector) - sector / 2;  // -sector/2 .. sector/2 around a point
  // Distance to the star's edge along this direction, between the outer
  // radius at the points and the inner radius between them.
  const float inner = r * 0.45f;
  const float t = std::fabs(a) / (sector / 2);
  const float edge = r * inner / (inner + (r - inner) * t);
  return (d - edge) * 0.8f;
}

}  // namespace

Picture MakeCaption(const FontSet& fonts, const char* text, int width, int height) {
  Canvas c(width, height);
  LetterStyle style;
  style.outline = 1.0f;
  style.shadowBlur = 2;
  PaintCentredText(c, fonts, kSansBold, U32(text), 17, width / 2, height - 10, style, 0, 3);
  // Fine gold rules either side of the word, where there is room.
  const int w = fonts.Measure(kSansBold, U32(text), 17, 3);
  const int rule = width / 2 - w / 2 - 10;
  for (int side = -1; side <= 1 && rule >= 6; side += 2)
    for (int i = 0; i < rule; ++i) {
      const int x = side < 0 ? 4 + i : width - 5 - i;
      const float fade = 0.2f + 0.6f * i / (width / 2.0f);
      c.Blend(x, height - 16, Hex(0xE2B85A), fade);
    }
  return MaskedPicture(c, text);
}

Picture MakeDigit(const FontSet& fonts, int digit) {
  Canvas c(kDigitW, kDigitH);
  LetterStyle style;
  style.outline = 1.0f;
  style.outlineColour = Hex(0x1A0E02);
  style.shadowBlur = 2, style.shadowDx = 1, style.shadowDy = 1, style.shadowStrength = 0.8f;
  // Wide, as on a scoreboard: about 19 pixels of ink for an 18-pixel height.
  const TextImage t =
      fonts.Render(kSansBold, U32(std::string(1, static_cast<char>('0' + digit))), kDigitSize, 6, 0, 0, kDigitWiden);
  int left, top, right, bottom;
  t.cov.Bounds(0.02f, left, top, right, bottom);
  PaintLettering(c, t, kDigitW / 2 - (left + right + 1) / 2, kDigitBaseline - t.baseline, style);
  return MaskedPicture(c, "digit " + std::to_string(digit));
}

Picture MakeBadge(const FontSet& fonts, int skill) {
  static const char* const kNames[4] = {"EasyRide", "Novice", "Expert", "Master"};
  const int w = 150, h = 96;
  Canvas c(w, h);
  const Coverage plate =
      Coverage::FromSdf(w, h, [&](float x, float y) { return SdRoundRect(x, y, 3, 6, w - 3, h - 6, 14); });
  const Coverage inner = Coverage::FromSdf(
      w, h, [&](float x, float y) { return SdRoundRect(x, y, 6.5f, 9.5f, w - 6.5f, h - 9.5f, 11); });
  c.Paint(plate.Shifted(2, 3).Blurred(3), 0, 0, Color{0, 0, 0, 0.6f});
  c.Paint(plate, 0, 0, [&](int, int y) { return Brass(y, 6, h - 12); });
  c.Paint(inner, 0, 0, [&](int x, int y) {
    const float glow = 1.0f - SmoothStep(0.0f, 1.0f, std::hypot((x - w / 2) / 80.0f, (y - 40) / 50.0f));
    return Mix(Hex(0x0E3A22), Hex(0x1F7446), glow);
  });
  c.Darken(inner.Minus(inner.Shifted(2, 2)).Blurred(2), 0, 0, 0.6f);
  LetterStyle style;
  style.outline = 1.2f;
  PaintCentredText(c, fonts, kSerifBold, U32(kNames[skill]), 22, w / 2, 48, style);
  const int stars = skill + 1;
  for (int i = 0; i < stars; ++i) {
    const float cx = w / 2.0f + (i - (stars - 1) / 2.0f) * 22, cy = 68;
    const Coverage star =
        Coverage::FromSdf(w, h, [&](float x, float y) { return SdStar(x, y, cx, cy, 8.5f); });
    c.Paint(star.Shifted(1, 1).Blurred(2), 0, 0, Color{0, 0, 0, 0.7f});
    c.Paint(star, 0, 0, [&](int, int y) { return Gold(y, static_cast<int>(cy - 8), 16); });
  }
  return MaskedPicture(c, kNames[skill]);
}

}  // namespace datagen
