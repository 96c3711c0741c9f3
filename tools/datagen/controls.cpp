#include "tools/datagen/controls.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "tools/datagen/canvas.h"

namespace datagen {
namespace {

constexpr float kOutline = 70;   // dark border
constexpr float kBody = 222;     // light face; button text is drawn in the normal state's blue
constexpr int kFrameCorner = 6;  // group-frame corner size
constexpr int kFaceCorner = 8;   // button-face corner size
constexpr int kMarkSize = 13;    // check box and radio button

// A palette picture from an index function and a coverage function over a
// piece of size w x h.
Picture PalettePicture(int w, int h, const std::function<float(float, float)>& index,
                       const std::function<float(float, float)>& cover, const std::string& name) {
  Picture p;
  p.width = w, p.height = h, p.type = kPalette, p.name = name;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const float cx = x + 0.5f, cy = y + 0.5f;
      // Never index 255: that palette entry is never set.
      p.pixels.push_back(
          static_cast<std::uint8_t>(std::lround(std::min(254.0f, std::max(0.0f, index(cx, cy))))));
      p.mask.push_back(static_cast<std::uint8_t>(255 - ToByte(cover(cx, cy))));
    }
  return p;
}

// Corner q (0 TL, 1 TR, 2 BL, 3 BR) of a shape drawn on a (2n x 2n) square.
std::function<float(float, float)> Corner(int q, int n, std::function<float(float, float)> f) {
  const float ox = (q % 2) * n, oy = (q / 2) * n;
  return [=](float x, float y) { return f(x + ox, y + oy); };
}

// A button face 2n pixels square: dark outline, a glossy light top, a
// shaded bottom and right; flat body in the middle.
float FaceIndex(float x, float y, float n) {
  const float size = 2 * n;
  const float sd = SdRoundRect(x, y, 0, 0, size, size, 5);
  if (sd > -1.2f) return kOutline;
  const float dt = y, db = size - y, dl = x, dr = size - x;
  float v = kBody;
  v += 30 * Clamp01(1 - (dt - 1.5f) / 5);
  v -= 66 * Clamp01(1 - (db - 1.5f) / 4);
  v += 18 * Clamp01(1 - (dl - 1.5f) / 2.5f);
  v -= 40 * Clamp01(1 - (dr - 1.5f) / 3);
  return v;
}

float FaceCover(float x, float y, float n) {
  return Clamp01(0.5f - SdRoundRect(x, y, 0, 0, 2 * n, 2 * n, 5));
}

// The one-pixel rounded line of a group frame on a (2n)-pixel square.
float FrameCover(float x, float y, float n) {
  return Clamp01(1.0f - std::fabs(SdRoundRect(x, y, 0.5f, 0.5f, 2 * n - 0.5f, 2 * n - 0.5f, n - 1.0f)));
}

// The box of a check mark or the ring of a radio button: outline, a light
// well with an inner shadow at its top left.
float WellIndex(float sd, float x, float y) {
  if (sd > -1.3f) return kOutline;
  const float shade = Clamp01(1.0f - (std::min(x, y) - 1.5f) / 2.0f);
  return 246 - 40 * shade;
}

float CheckMark(float x, float y) {
  auto segment = [&](float ax, float ay, float bx, float by) {
    const float px = x - ax, py = y - ay, dx = bx - ax, dy = by - ay;
    const float t = Clamp01((px * dx + py * dy) / (dx * dx + dy * dy));
    return std::hypot(px - dx * t, py - dy * t);
  };
  const float d = std::min(segment(3.2f, 6.6f, 5.6f, 9.3f), segment(5.6f, 9.3f, 10.0f, 3.6f));
  return Clamp01(1.6f - d);
}

Picture CheckBox(bool on) {
  const float s = kMarkSize;
  auto sd = [s](float x, float y) { return SdRoundRect(x, y, 0, 0, s, s, 2.5f); };
  auto index = [=](float x, float y) {
    const float well = WellIndex(sd(x, y), x, y);
    return on ? Lerp(well, 24, CheckMark(x, y)) : well;
  };
  return PalettePicture(
      kMarkSize, kMarkSize, index, [=](float x, float y) { return Clamp01(0.5f - sd(x, y)); },
      on ? "check on" : "check off");
}

Picture RadioButton(bool on) {
  const float c = kMarkSize / 2.0f;
  auto sd = [c](float x, float y) { return SdCircle(x, y, c, c, c); };
  auto index = [=](float x, float y) {
    const float well = WellIndex(sd(x, y), x - 1.5f, y - 1.5f);
    if (!on) return well;
    const float dot = Clamp01(0.5f - SdCircle(x, y, c, c, 3.2f));
    const float shine = Clamp01(1.0f - std::hypot(x - c + 1, y - c + 1) / 1.6f);
    return Lerp(well, 30 + 70 * shine, dot);
  };
  return PalettePicture(
      kMarkSize, kMarkSize, index, [=](float x, float y) { return Clamp01(0.5f - sd(x, y)); },
      on ? "radio on" : "radio off");
}

}  // namespace

std::vector<Picture> MakeControlPieces() {
  std::vector<Picture> out;
  const char* const corners[4] = {"top left", "top right", "bottom left", "bottom right"};
  const float fn = kFrameCorner, bn = kFaceCorner;
  for (int q = 0; q < 4; ++q)
    out.push_back(PalettePicture(
        kFrameCorner, kFrameCorner, [](float, float) { return 96.0f; },
        Corner(q, kFrameCorner, [fn](float x, float y) { return FrameCover(x, y, fn); }),
        std::string("frame ") + corners[q]));
  for (int q = 0; q < 4; ++q)
    out.push_back(
        PalettePicture(kFaceCorner, kFaceCorner,
                       Corner(q, kFaceCorner, [bn](float x, float y) { return FaceIndex(x, y, bn); }),
                       Corner(q, kFaceCorner, [bn](float x, float y) { return FaceCover(x, y, bn); }),
                       std::string("face ") + corners[q]));
  out.push_back(CheckBox(false));
  out.push_back(CheckBox(true));
  out.push_back(RadioButton(false));
  out.push_back(RadioButton(true));
  return out;
}

}  // namespace datagen
