// The control pieces, 8-bit palette pictures that the controls draw through
// the palette of their state (index 0 dark, 128 the state's colour, 254
// light): group-frame corners, button-face corners, check box and radio
// button marks.
#pragma once

#include <vector>

#include "tools/datagen/picture.h"

namespace datagen {

// Images 353..364 in order.
std::vector<Picture> MakeControlPieces();

}  // namespace datagen
