#include "tools/datagen/title.h"

#include <cmath>

#include "tools/datagen/balls.h"
#include "tools/datagen/cue.h"
#include "tools/datagen/layout.h"
#include "tools/datagen/lettering.h"
#include "tools/datagen/materials.h"
#include "tools/datagen/noise.h"
#include "tools/datagen/table.h"

namespace datagen {
namespace {

void PaintNightFelt(Canvas& c) {
  for (int y = kFeltTop; y < kScreenH; ++y)
    for (int x = kFeltLeft; x <= kFeltRight; ++x) c.At(x, y) = Felt(x, y, 231, 190, 0.62f);
}

// The name in large gold letters with a soft warm glow behind it.
void PaintName(Canvas& c, const FontSet& fonts) {
  const TextImage t = fonts.Render(kSerifBold, U32("Dorrimac"), 78, 24, 0.2f);
  int left, top, right, bottom;
  t.cov.Bounds(0.02f, left, top, right, bottom);
  const int x = 231 - (left + right + 1) / 2, y = 200 - t.baseline;
  c.Paint(t.cov.Dilated(3).Blurred(16), x, y, Color{1.0f, 0.78f, 0.3f, 0.22f});
  LetterStyle style;
  style.outline = 2.0f;
  style.outlineColour = Hex(0x1E0E02);
  style.shadowBlur = 6, style.shadowDx = 3, style.shadowDy = 5, style.shadowStrength = 0.85f;
  PaintLettering(c, t, x, y, style);
  // A thin gold rule under the name, fading at its ends.
  for (int px = 60; px <= 402; ++px) {
    const float fade = 1.0f - std::fabs(px - 231) / 171.0f;
    c.Blend(px, 228, Hex(0xE2B85A), 0.7f * fade);
    c.Blend(px, 229, Hex(0x000000), 0.4f * fade);
  }
}

// Fifteen balls racked in a triangle on the side panel.
void PaintRack(Canvas& c) {
  const float r = 12.5f, dx = 2 * r + 0.6f, dy = dx * 0.866f;
  const int colours[15] = {7, 1, 2, 3, 8, 4, 5, 6, 1, 2, 3, 4, 5, 6, 8};
  int k = 0;
  for (int row = 0; row < 5; ++row)
    for (int i = 0; i <= row; ++i) {
      const float x = 560 + (i - row / 2.0f) * dx, y = 70 + row * dy;
      PaintBallShadow(c, x + 3, y + 4, r, 0.6f);
      PaintBall(c, x, y, r, BallColour(colours[k++]));
    }
}

// A cube of blue chalk and the white cue ball resting on the panel's ledge.
void PaintChalkAndBall(Canvas& c) {
  const Coverage top = Coverage::FromSdf(
      kScreenW, kScreenH, [](float x, float y) { return SdRoundRect(x, y, 520, 330, 548, 342, 2); });
  const Coverage side = Coverage::FromSdf(
      kScreenW, kScreenH, [](float x, float y) { return SdRoundRect(x, y, 520, 340, 548, 364, 2); });
  c.Paint(side.Shifted(4, 5).Blurred(4), 0, 0, Color{0, 0, 0, 0.6f});
  c.Paint(side, 0, 0, [](int x, int y) { return Shade(Hex(0x2F6FC0), 0.75f + 0.1f * Hash2(x, y, 3)); });
  c.Paint(top, 0, 0, [](int x, int y) { return Shade(Hex(0x5C95DC), 0.9f + 0.15f * Hash2(x, y, 4)); });
  const Coverage hollow = Coverage::FromSdf(
      kScreenW, kScreenH, [](float x, float y) { return SdCircle(x, y * 2.2f - 336 * 1.2f, 534, 336, 7); });
  c.Darken(hollow, 0, 0, 0.35f);
  PaintBallShadow(c, 600, 354, 20, 0.65f);
  PaintBall(c, 594, 345, 20, BallColour(7));
}

}  // namespace

std::vector<Picture> MakeTitle(const FontSet& fonts) {
  Canvas c(kScreenW, kScreenH, Hex(0));
  PaintNightFelt(c);
  PaintFrame(c);
  PaintPanel(c);
  PaintName(c, fonts);
  PaintRack(c);
  PaintChalkAndBall(c);
  // The cue rests in its groove, pushed all the way up.
  const Picture cue = MakeCue();
  Canvas cueCanvas(cue.width, cue.height);
  for (int y = 0; y < cue.height; ++y)
    for (int x = 0; x < cue.width; ++x) {
      const std::uint32_t rgb = PixelColor(cue, x, y);
      cueCanvas.At(x, y) =
          WithAlpha(Hex(rgb), 1.0f - cue.mask[static_cast<size_t>(y) * cue.width + x] / 255.0f);
    }
  c.Draw(cueCanvas, kGrooveLeft + (20 - cue.width) / 2, kGrooveTop + 2);
  return Quadrants(c, "title");
}

}  // namespace datagen
