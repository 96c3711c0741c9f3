// Fixed-point helpers: 8.8 square roots, vector scaling and the sine table.
// 24.8 values have 8 fraction bits (256 = 1.0); 8.8 values are the same
// representation used for scale factors and roots.
#pragma once

#include "platform/types.h"

struct FixVec {
  i32 x = 0;
  i32 y = 0;
};

// Square root of an 8.8 value, three Newton steps from a table seed.
i32 FixSqrt(i32 v);
// Square root of v rounded to a whole number, returned in 8.8.
i32 FixSqrtRound(i32 v);
// out = in * scale (8.8), products in 64 bits, arithmetic shift.
void FixScaleVec(FixVec& out, i32 scale, const FixVec& in);

// 256 * sin(d degrees), truncated, computed in single precision; the cosine
// of d is entry (d + 90) mod 360.
const i32* TrigTable();
void LoadTrigTable(i32 destination[360]);
