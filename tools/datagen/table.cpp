#include "tools/datagen/table.h"

#include <cmath>

#include "tools/datagen/balls.h"
#include "tools/datagen/buttons.h"
#include "tools/datagen/layout.h"
#include "tools/datagen/lettering.h"
#include "tools/datagen/materials.h"
#include "tools/datagen/noise.h"

namespace datagen {
namespace {

// Small pearl diamonds set into the cushions, as on a real table.
void PaintSights(Canvas& c) {
  const Coverage diamond = Coverage::FromSdf(
      5, 5, [](float x, float y) { return (std::fabs(x - 2.5f) + std::fabs(y - 2.5f)) * 0.7071f - 0.9f; });
  for (int i = 1; i < 8; ++i)
    c.Paint(diamond, kFeltLeft + (kFeltRight - kFeltLeft) * i / 8 - 2, 0, Hex(0xEDE1C4, 0.85f));
  for (int i = 1; i < 8; ++i) {
    const int y = kFeltTop + (kScreenH - kFeltTop) * i / 8 - 2;
    c.Paint(diamond, 0, y, Hex(0xEDE1C4, 0.85f));
  }
}

// The cue's channel: a rounded trough cut into the wood, dark inside and
// lit along its far wall.
void PaintGroove(Canvas& c) {
  const float l = kGrooveLeft, t = kGrooveTop, r = kGrooveRight + 1, b = kGrooveBottom + 1;
  const Coverage trough = Coverage::FromSdf(
      kScreenW, kScreenH, [&](float x, float y) { return SdRoundRect(x, y, l + 0.5f, t, r - 0.5f, b, 8); });
  c.Paint(trough, 0, 0, [&](int x, int y) {
    const float u = (x + 0.5f - l) / (r - l);  // 0 at the near wall, 1 at the far one
    const float depth = std::sin(u * 3.14159f);
    const Color inside = Mix(Hex(0x140904), Hex(0x3A1F0E), 0.25f + 0.5f * depth * (0.4f + 0.6f * u));
    return Shade(inside, 1.0f + (Hash2(x, y / 3, 41) - 0.5f) * 0.15f);
  });
  c.Darken(trough.Minus(trough.Shifted(2, 2)).Blurred(2), 0, 0, 0.5f);
}

void PaintFelt(Canvas& c) {
  for (int y = kFeltTop; y < kScreenH; ++y)
    for (int x = kFeltLeft; x <= kFeltRight; ++x) c.At(x, y) = Felt(x, y, 231, 200, 0);
}

// The cushions throw a soft shadow onto the felt along the top and sides.
void PaintCushionShadow(Canvas& c) {
  Coverage edge(kScreenW, kScreenH);
  for (int y = 0; y < kScreenH; ++y)
    for (int x = 0; x < kScreenW; ++x) {
      const bool felt = x >= kFeltLeft && x <= kFeltRight && y >= kFeltTop;
      if (!felt) continue;
      const float d =
          std::min(std::min(static_cast<float>(x - kFeltLeft), static_cast<float>(kFeltRight - x)),
                   static_cast<float>(y - kFeltTop));
      edge.At(x, y) = 1.0f - SmoothStep(0.0f, 7.0f, d);
    }
  c.Darken(edge, 0, 0, 0.45f);
}

// The chalk line of the losing row and the spot the cue ball sits on.
void PaintMarks(Canvas& c) {
  for (int x = kFeltLeft + 2; x <= kFeltRight - 2; ++x) {
    c.Blend(x, kLosingLineY, Hex(0xF4F1E0), 0.55f);
    c.Blend(x, kLosingLineY + 1, Hex(0x000000), 0.12f);
  }
  const Coverage ring = Coverage::FromSdf(
      15, 15, [](float x, float y) { return std::fabs(SdCircle(x, y, 7.5f, 7.5f, 5.0f)) - 0.6f; });
  const Coverage dot =
      Coverage::FromSdf(15, 15, [](float x, float y) { return SdCircle(x, y, 7.5f, 7.5f, 1.6f); });
  c.Paint(ring, kShootX - 7, kShootY - 7, Color{0.96f, 0.95f, 0.88f, 0.5f});
  c.Paint(dot, kShootX - 7, kShootY - 7, Color{0.96f, 0.95f, 0.88f, 0.65f});
}

// The brass-rimmed, dark display that the score and level are shown in.
void PaintScoreboard(Canvas& c) {
  const int l = 484, t = 243, r = 637, b = 363;
  const Coverage rim = Coverage::FromSdf(
      kScreenW, kScreenH, [&](float x, float y) { return SdRoundRect(x, y, l, t, r + 1, b + 1, 7); });
  const Coverage inside = Coverage::FromSdf(kScreenW, kScreenH, [&](float x, float y) {
    return SdRoundRect(x, y, l + 2.5f, t + 2.5f, r - 1.5f, b - 1.5f, 5);
  });
  c.Paint(rim.Shifted(2, 2).Blurred(3), 0, 0, Color{0, 0, 0, 0.6f});
  c.Paint(rim, 0, 0, [&](int, int y) { return Brass(y, t, b - t + 1); });
  c.Paint(inside, 0, 0, [&](int x, int y) {
    const float glow = 1.0f - SmoothStep(0.0f, 1.0f, std::hypot((x - 560) / 90.0f, (y - 300) / 80.0f));
    return Mix(Hex(0x07150D), Hex(0x123623), glow * 0.8f);
  });
  c.Darken(inside.Minus(inside.Shifted(3, 3)).Blurred(3), 0, 0, 0.7f);
  // The rule between the score and the level, midway between the score's
  // caption and the level digits so that both have air.
  for (int x = l + 12; x <= r - 12; ++x) c.Blend(x, kPanelRuleY, Hex(0xC79A3B), 0.35f);
}

// The game's name and a rack of balls above the scoreboard.
void PaintLogo(Canvas& c, const FontSet& fonts) {
  LetterStyle style;
  style.outline = 1.2f;
  // As large as fits across the panel.
  float size = 32;
  while (size > 16 && fonts.Measure(kSerifBold, U32("Dorrimac"), size) > 144) size -= 0.5f;
  PaintCentredText(c, fonts, kSerifBold, U32("Dorrimac"), size, 560, 124, style, 0.18f);
  const float r = 11.5f, dx = 2 * r + 0.8f, dy = dx * 0.866f;
  const int colours[10] = {2, 1, 3, 4, 7, 5, 6, 8, 1, 3};
  int k = 0;
  for (int row = 0; row < 4; ++row)
    for (int i = 0; i <= row; ++i) {
      const float x = 560 + (i - row / 2.0f) * dx, y = 150 + r + row * dy;
      PaintBallShadow(c, x + 3, y + 4, r, 0.55f);
      PaintBall(c, x, y, r, BallColour(colours[k++]));
    }
}

void PaintLink(Canvas& c, const FontSet& fonts) {
  LetterStyle style;
  style.gold = false, style.fill = Hex(0xE9C874), style.outline = 0;
  style.shadowBlur = 1, style.shadowDx = 1, style.shadowDy = 1, style.shadowStrength = 0.8f;
  const int cx = (kLinkLeft + kScreenW) / 2;
  PaintCentredText(c, fonts, kSans, U32("Visit our home page"), 11, cx, kLinkTop + 11, style);
  const int w = fonts.Measure(kSans, U32("Visit our home page"), 11);
  for (int x = cx - w / 2; x <= cx + w / 2; ++x) c.Blend(x, kLinkTop + 13, Hex(0xE9C874), 0.6f);
}

void PaintButtons(Canvas& c, const FontSet& fonts, bool pressed) {
  PaintMenuButton(c, fonts, pressed);
  for (int b = 0; b < 4; ++b) PaintWindowButton(c, fonts, static_cast<WindowButton>(b), pressed);
}

}  // namespace

void PaintFrame(Canvas& c) {
  for (int y = 0; y < kScreenH; ++y)
    for (int x = 0; x < kPanelLeft; ++x) {
      const bool topRail = y < kFeltTop && x <= kRailRight;
      const bool side = x < kFeltLeft || x > kFeltRight;
      if (topRail || side) c.At(x, y) = Wood(x, y, topRail && x >= kFeltLeft, 21);
    }
  Bevel(c, 0, 0, kFeltLeft - 1, kScreenH - 1, 2, 0.35f, true);
  Bevel(c, 0, 0, kRailRight, kFeltTop - 1, 2, 0.35f, true);
  Bevel(c, kFeltRight + 1, 0, kPanelLeft - 1, kScreenH - 1, 2, 0.35f, true);
  PaintSights(c);
  PaintGroove(c);
}

void PaintPanel(Canvas& c) {
  for (int y = 0; y < kScreenH; ++y)
    for (int x = kPanelLeft; x < kScreenW; ++x) c.At(x, y) = DarkWood(x, y, 33);
  for (int y = 0; y < kScreenH; ++y) {
    c.At(kPanelLeft, y) = Brass(1, 0, 3);
    c.At(kPanelLeft + 1, y) = Brass(2, 0, 3);
  }
  Bevel(c, kPanelLeft + 2, 0, kScreenW - 1, kScreenH - 1, 3, 0.3f, true);
}

std::vector<Picture> Quadrants(const Canvas& screen, const std::string& name) {
  std::vector<Picture> out;
  for (int q = 0; q < 4; ++q) {
    const int x = (q % 2) * kScreenW / 2, y = (q / 2) * kScreenH / 2;
    out.push_back(
        OpaquePicture(screen.Crop(x, y, kScreenW / 2, kScreenH / 2), name + " " + std::to_string(q)));
  }
  return out;
}

TablePictures MakeTable(const FontSet& fonts) {
  Canvas base(kScreenW, kScreenH, Hex(0));
  PaintFelt(base);
  PaintCushionShadow(base);
  PaintMarks(base);
  PaintFrame(base);
  PaintPanel(base);
  PaintLogo(base, fonts);
  PaintScoreboard(base);
  PaintLink(base, fonts);

  TablePictures out;
  Canvas normal = base;
  PaintButtons(normal, fonts, false);
  out.quadrants = Quadrants(normal, "table");
  Canvas pressed = base;
  PaintButtons(pressed, fonts, true);
  out.menuPressed = OpaquePicture(pressed.Crop(kMenuX, kMenuY, kMenuW, kMenuH), "menu pressed");
  for (int b = 0; b < 4; ++b)
    out.windowPressed.push_back(
        OpaquePicture(pressed.Crop(kWindowButtonX[b], kWindowButtonY, kWindowButtonSize, kWindowButtonSize),
                      "window button"));
  return out;
}

}  // namespace datagen
