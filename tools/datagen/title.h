// The title picture: the whole screen as one table at night, the game's
// name under the lamp and a break shot lined up below it; dark felt for
// the fireworks.
#pragma once

#include <vector>

#include "tools/datagen/font.h"
#include "tools/datagen/picture.h"

namespace datagen {

// The four 320 x 240 quadrants.
std::vector<Picture> MakeTitle(const FontSet& fonts);

}  // namespace datagen
