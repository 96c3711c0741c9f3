#include "tools/datagen/buttons.h"

#include <algorithm>
#include <cmath>

#include "tools/datagen/layout.h"
#include "tools/datagen/lettering.h"
#include "tools/datagen/materials.h"

namespace datagen {
namespace {

// A rounded brass plate at (x, y); pressed plates are darker and sunk in.
void PaintPlate(Canvas& c, int x, int y, int w, int h, float radius, bool pressed) {
  const Coverage shadow = Coverage::FromSdf(
      w + 6, h + 6, [&](float px, float py) { return SdRoundRect(px, py, 3, 3, w + 3, h + 3, radius); });
  if (!pressed) c.Paint(shadow.Shifted(1, 1).Blurred(2), x - 3, y - 3, Color{0, 0, 0, 0.6f});
  const Coverage plate =
      Coverage::FromSdf(w, h, [&](float px, float py) { return SdRoundRect(px, py, 0, 0, w, h, radius); });
  const Coverage face = Coverage::FromSdf(w, h, [&](float px, float py) {
    return SdRoundRect(px, py, 1.2f, 1.2f, w - 1.2f, h - 1.2f, radius - 1);
  });
  c.Paint(plate, x, y, Hex(0x3B2308));
  c.Paint(face, x, y, [&](int, int py) {
    const Color b = Brass(pressed ? y + h - 1 - (py - y) : py, y, h);
    return pressed ? Shade(b, 0.72f) : b;
  });
  if (!pressed) {
    const Coverage shine = Coverage::FromSdf(w, h, [&](float px, float py) {
      return SdRoundRect(px, py, 2.2f, 1.6f, w - 2.2f, h * 0.45f, radius - 1.5f);
    });
    c.Paint(shine, x, y, Color{1, 1, 0.9f, 0.22f});
  }
}

Coverage Icon(WindowButton which) {
  const int s = kWindowButtonSize;
  switch (which) {
    case kMinimiseButton:
      return Coverage::FromSdf(s, s,
                               [](float x, float y) { return SdRoundRect(x, y, 5, 12, 14, 14.6f, 0.5f); });
    case kWindowSizeButton:
      return Coverage::FromSdf(s, s, [](float x, float y) {
        const float outer = SdRoundRect(x, y, 4.5f, 4.5f, 14.5f, 14.5f, 0.5f);
        const float inner = SdRoundRect(x, y, 6.3f, 7.6f, 12.7f, 12.7f, 0.2f);
        return std::max(outer, -inner);
      });
    case kCloseButton:
      return Coverage::FromSdf(s, s, [](float x, float y) {
        const float u = (x - 9.5f + y - 9.5f) * 0.7071f, v = (x - 9.5f - (y - 9.5f)) * 0.7071f;
        const float a = std::max(std::fabs(u) - 6.0f, std::fabs(v) - 0.95f);
        const float b = std::max(std::fabs(v) - 6.0f, std::fabs(u) - 0.95f);
        return std::min(a, b);
      });
    default: return Coverage(s, s);
  }
}

}  // namespace

void PaintMenuButton(Canvas& screen, const FontSet& fonts, bool pressed) {
  PaintPlate(screen, kMenuX, kMenuY, kMenuW, kMenuH, 7, pressed);
  LetterStyle style;
  style.gold = false;
  style.fill = pressed ? Hex(0x2A1604) : Hex(0x3A1F06);
  style.outline = 0;
  style.shadowBlur = 1, style.shadowDx = 0, style.shadowDy = 1, style.shadowStrength = 0.0f;
  const int shift = pressed ? 1 : 0;
  // A light line under the letters makes them look cut into the brass.
  LetterStyle emboss = style;
  emboss.fill = Color{1, 0.95f, 0.75f, pressed ? 0.15f : 0.55f};
  PaintCentredText(screen, fonts, kSansBold, U32("MENU"), 15, kMenuX + kMenuW / 2 + shift,
                   kMenuY + 20 + shift + 1, emboss, 0, 2);
  PaintCentredText(screen, fonts, kSansBold, U32("MENU"), 15, kMenuX + kMenuW / 2 + shift,
                   kMenuY + 20 + shift, style, 0, 2);
}

void PaintWindowButton(Canvas& screen, const FontSet& fonts, WindowButton which, bool pressed) {
  const int x = kWindowButtonX[which], y = kWindowButtonY, s = kWindowButtonSize;
  PaintPlate(screen, x, y, s, s, 4, pressed);
  const int shift = pressed ? 1 : 0;
  const Color ink = pressed ? Hex(0x241302) : Hex(0x3A1F06);
  const Color lip{1, 0.95f, 0.75f, pressed ? 0.12f : 0.45f};
  if (which == kHelpButton) {
    LetterStyle style;
    style.gold = false, style.outline = 0, style.shadowBlur = 0;
    style.fill = lip;
    PaintCentredText(screen, fonts, kSansBold, U32("?"), 14, x + s / 2 + shift, y + 15 + shift, style);
    style.fill = ink;
    PaintCentredText(screen, fonts, kSansBold, U32("?"), 14, x + s / 2 + shift, y + 14 + shift, style);
    return;
  }
  const Coverage icon = Icon(which);
  screen.Paint(icon, x + shift, y + shift + 1, lip);
  screen.Paint(icon, x + shift, y + shift, ink);
}

}  // namespace datagen
