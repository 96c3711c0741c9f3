// Lettering effects for the pictures: gold or coloured text with an outline
// and a soft drop shadow, painted from FreeType coverage.
#pragma once

#include "tools/datagen/canvas.h"
#include "tools/datagen/font.h"

namespace datagen {

struct LetterStyle {
  bool gold = true;  // gold gradient; otherwise `fill`
  Color fill = Hex(0xFFFFFF);
  float outline = 1.0f;  // outline width in pixels (0: none)
  Color outlineColour = Hex(0x2A1606);
  int shadowBlur = 3;  // drop shadow blur radius (0: none)
  int shadowDx = 1, shadowDy = 2;
  float shadowStrength = 0.7f;
};

// Paints the text so that its coverage plane's top-left corner lands at
// (x, y).
void PaintLettering(Canvas& c, const TextImage& t, int x, int y, const LetterStyle& style);

// Renders and paints text centred on cx with its baseline at baselineY.
void PaintCentredText(Canvas& c, const FontSet& fonts, FontId font, const std::u32string& text, float size,
                      int cx, int baselineY, const LetterStyle& style, float slant = 0, float tracking = 0);

}  // namespace datagen
