#include "platform/fixed_math.h"

#include <array>
#include <cmath>
#include <cstring>

namespace {

// Seeds for the Newton steps, by the integer part n = v >> 8 of the input.
i32 SeedFor(i32 v, i32 base) {
  const i32 n = v >> 8;
  if (n < 16) return base;        // 4..15
  if (n < 64) return base * 2;    // 16..63
  if (n < 256) return base * 4;   // 64..255
  if (n < 1024) return base * 8;  // 256..1023
  if (n < 4096) return base * 16;
  if (n < 16384) return base * 32;
  return base * 64;
}

std::array<i32, 360> BuildTrigTable() {
  std::array<i32, 360> t{};
  const float pi = 3.14159265358979323846f;
  for (int d = 0; d < 360; ++d) {
    const float angle = static_cast<float>(d) * pi;
    const float radians = angle / 180.0f;
    const float sine = std::sin(radians);
    const float scaled = sine * 256.0f;
    t[d] = static_cast<i32>(scaled);
  }
  return t;
}

}  // namespace

const i32* TrigTable() {
  static const std::array<i32, 360> table = BuildTrigTable();
  return table.data();
}

i32 FixSqrt(i32 v) {
  if (v <= 0) return 0;
  if (v < 64) return 65536 / FixSqrt(65536 / v);
  const i64 x = static_cast<i64>(v) * 256;  // 16.16, so the root comes out in 8.8
  i64 s = v <= 1023 ? v : SeedFor(v, 512);
  for (int i = 0; i < 3; ++i) s = (x / s + s) / 2;
  return static_cast<i32>(s);
}

i32 FixSqrtRound(i32 v) {
  if (v <= 0) return 0;
  if (v < 64) return 65536 / FixSqrt(65536 / v);
  const i64 x = (static_cast<i64>(v) + 128) >> 8;
  if (x == 0) return 0;  // 64..127 round to zero: no division by it
  i64 s = v <= 1023 ? x : SeedFor(v, 2);
  for (int i = 0; i < 5; ++i) s = (x / s + s) / 2;
  return static_cast<i32>(s * 256);
}

void FixScaleVec(FixVec& out, i32 scale, const FixVec& in) {
  const i64 x = (static_cast<i64>(in.x) * scale) >> 8;
  const i64 y = (static_cast<i64>(in.y) * scale) >> 8;
  out.x = static_cast<i32>(x);
  out.y = static_cast<i32>(y);
}

void LoadTrigTable(i32 destination[360]) {
  std::memcpy(destination, TrigTable(), sizeof(i32) * 360);
}
