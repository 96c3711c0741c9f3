// The surfaces the table and the panels are made of: felt, polished wood,
// brass and gold lettering.
#pragma once

#include <cstdint>

#include "tools/datagen/canvas.h"

namespace datagen {

// Pool-table felt lit by a lamp over (lampX, lampY); `night` darkens it for
// the title, where the fireworks need a dark sky.
Color Felt(int x, int y, float lampX, float lampY, float night);
// Polished wood with its grain running along x (horizontal) or y.
Color Wood(int x, int y, bool horizontal, std::uint32_t seed);
// Dark wood of the side panel.
Color DarkWood(int x, int y, std::uint32_t seed);
// Brushed brass, lighter toward the top of a piece `height` pixels high.
Color Brass(int y, int top, int height);
// Gold of lettering: a warm vertical gradient across the letter height.
Color Gold(int y, int top, int height);

// A raised bevel on a rectangle: its top and left edges lit, bottom and
// right in shade, `width` pixels deep.
void Bevel(Canvas& c, int left, int top, int right, int bottom, int width, float strength, bool raised);

}  // namespace datagen
