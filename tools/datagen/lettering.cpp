#include "tools/datagen/lettering.h"

#include "tools/datagen/materials.h"

namespace datagen {

void PaintLettering(Canvas& c, const TextImage& t, int x, int y, const LetterStyle& style) {
  int left, top, right, bottom;
  if (!t.cov.Bounds(0.02f, left, top, right, bottom)) return;
  const Coverage body = style.outline > 0 ? t.cov.Dilated(style.outline) : t.cov;
  if (style.shadowBlur > 0)
    c.Paint(body.Shifted(style.shadowDx, style.shadowDy).Blurred(style.shadowBlur), x, y,
            Color{0, 0, 0, style.shadowStrength});
  if (style.outline > 0) c.Paint(body, x, y, style.outlineColour);
  const int textTop = y + top, textHeight = bottom - top + 1;
  const Shader fill = [&](int, int py) { return style.gold ? Gold(py, textTop, textHeight) : style.fill; };
  c.Paint(t.cov, x, y, fill);
}

void PaintCentredText(Canvas& c, const FontSet& fonts, FontId font, const std::u32string& text, float size,
                      int cx, int baselineY, const LetterStyle& style, float slant, float tracking) {
  const int pad = 6;
  const TextImage t = fonts.Render(font, text, size, pad, slant, tracking);
  int left, top, right, bottom;
  if (!t.cov.Bounds(0.02f, left, top, right, bottom)) return;
  const int inkCentre = (left + right + 1) / 2;
  PaintLettering(c, t, cx - inkCentre, baselineY - t.baseline, style);
}

}  // namespace datagen
