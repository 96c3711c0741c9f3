#include "tools/datagen/about.h"

#include <cmath>

#include "tools/datagen/balls.h"
#include "tools/datagen/lettering.h"
#include "tools/datagen/materials.h"

namespace datagen {

Picture MakeAboutPicture(const FontSet& fonts) {
  const int w = 220, h = 84;
  // The about box is white; the plaque's rounded corners show it.
  Canvas c(w, h, Hex(0xFFFFFF));
  const Coverage plate =
      Coverage::FromSdf(w, h, [&](float x, float y) { return SdRoundRect(x, y, 2, 2, w - 2, h - 2, 12); });
  const Coverage felt =
      Coverage::FromSdf(w, h, [&](float x, float y) { return SdRoundRect(x, y, 6, 6, w - 6, h - 6, 9); });
  c.Paint(plate.Shifted(1, 2).Blurred(3), 0, 0, Color{0, 0, 0, 0.35f});
  c.Paint(plate, 0, 0, [&](int x, int y) { return Wood(x, y, true, 51); });
  c.Paint(felt, 0, 0, [&](int x, int y) { return Felt(x * 2, y * 2, w, h, 0.1f); });
  c.Darken(felt.Minus(felt.Shifted(2, 2)).Blurred(2), 0, 0, 0.6f);
  const int colours[3] = {1, 2, 3};
  for (int i = 0; i < 3; ++i) {
    const float x = 30 + (i == 2 ? 9.0f : 0.0f) + (i == 1 ? 18.0f : 0.0f), y = 30 + (i == 2 ? 20.0f : 0.0f);
    PaintBallShadow(c, x + 3, y + 4, 10, 0.55f);
    PaintBall(c, x, y, 10, BallColour(colours[i]));
  }
  LetterStyle style;
  style.outline = 1.0f;
  style.shadowBlur = 2;
  PaintCentredText(c, fonts, kSerifBold, U32("The Dorrimac"), 17, 138, 40, style);
  PaintCentredText(c, fonts, kSerifBold, U32("Team"), 17, 138, 62, style);
  return OpaquePicture(c, "about");
}

}  // namespace datagen
