// Colours derived from a base colour (0x00RRGGBB): a brightness tint and
// the 255-entry ramps the controls' palettes are built from.
#pragma once

#include "platform/types.h"

constexpr int kRampSize = 255;

// The colour brightened toward white (level above its luminance) or
// darkened toward black (below it); level is 0..255.
u32 TintColor(u32 colour, i16 level);
// Black rising to the colour (entries below its luminance), then the
// colour rising toward white.
void BuildTintRamp(u32 colour, u32 table[kRampSize]);
// Black rising to the colour.
void BuildRampFromBlack(u32 colour, u32 table[kRampSize]);
// The colour rising toward white.
void BuildRampToWhite(u32 colour, u32 table[kRampSize]);
