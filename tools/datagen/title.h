// The title picture: the table at night with the game's name over it, a
// dark sky for the fireworks.
#pragma once

#include <vector>

#include "tools/datagen/font.h"
#include "tools/datagen/picture.h"

namespace datagen {

// The four 320 x 240 quadrants.
std::vector<Picture> MakeTitle(const FontSet& fonts);

}  // namespace datagen
