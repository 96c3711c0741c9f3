#include "platform/color_ramp.h"

namespace {

struct Channels {
  i32 c[3];  // R, G, B
};

Channels Split(u32 colour) {
  return {{static_cast<i32>((colour >> 16) & 0xFF), static_cast<i32>((colour >> 8) & 0xFF),
           static_cast<i32>(colour & 0xFF)}};
}

u32 Join(const i32 c[3]) {
  return static_cast<u32>(c[0]) << 16 | static_cast<u32>(c[1]) << 8 | static_cast<u32>(c[2]);
}

// The nearest whole number to (R + G + B) / 3.
i32 Luminance(const Channels& ch) { return ((ch.c[0] + ch.c[1] + ch.c[2]) * 256 / 3 + 128) >> 8; }

i32 Clamp255(i32 v) { return v > 255 ? 255 : v; }

// Fills entries [from, to) walking each channel from start[c] by step[c]
// (both in 8.8).
void Walk(u32* table, int from, int to, const i32 start[3], const i32 step[3]) {
  i32 acc[3] = {start[0], start[1], start[2]};
  for (int i = from; i < to; ++i) {
    i32 out[3];
    for (int k = 0; k < 3; ++k) {
      out[k] = Clamp255((acc[k] + 128) >> 8);
      acc[k] += step[k];
    }
    table[i] = Join(out);
  }
}

// The colour rising toward white over `entries` steps from entry `from`.
void WalkToWhite(u32* table, int from, const Channels& ch, i32 divisor) {
  i32 start[3], step[3];
  for (int k = 0; k < 3; ++k) {
    start[k] = ch.c[k] * 256;
    step[k] = ((65280 - ch.c[k] * 256) * 256) / divisor;
  }
  Walk(table, from, kRampSize, start, step);
}

}  // namespace

u32 TintColor(u32 colour, i16 level) {
  const Channels ch = Split(colour);
  const i32 lum = Luminance(ch);
  i32 out[3];
  if (level >= lum) {
    if (lum >= 255) return colour;
    const i32 t = ((level - lum) * 65536) / ((255 - lum) * 256);
    for (int k = 0; k < 3; ++k) {
      out[k] = ((((65280 - ch.c[k] * 256) * t) >> 8) + ch.c[k] * 256 + 128) >> 8;
    }
  } else {
    const i32 s = (level * 65536) / (lum * 256);
    for (int k = 0; k < 3; ++k) out[k] = (((ch.c[k] * 256 * s) >> 8) + 128) >> 8;
  }
  return Join(out);
}

void BuildRampFromBlack(u32 colour, u32 table[kRampSize]) {
  const Channels ch = Split(colour);
  const i32 start[3] = {0, 0, 0};
  i32 step[3];
  for (int k = 0; k < 3; ++k) step[k] = (ch.c[k] * 65536) / 65280;
  Walk(table, 0, kRampSize, start, step);
}

void BuildRampToWhite(u32 colour, u32 table[kRampSize]) {
  WalkToWhite(table, 0, Split(colour), 65280);
}

void BuildTintRamp(u32 colour, u32 table[kRampSize]) {
  const Channels ch = Split(colour);
  const i32 lum = Luminance(ch);
  if (lum > 0) {
    const i32 start[3] = {0, 0, 0};
    i32 step[3];
    for (int k = 0; k < 3; ++k) step[k] = (ch.c[k] * 65536) / (lum * 256);
    Walk(table, 0, lum < kRampSize ? lum : kRampSize, start, step);
  }
  if (lum < 255) WalkToWhite(table, lum, ch, (255 - lum) * 256);
}
