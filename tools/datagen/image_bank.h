// The whole image bank in index order, as the program looks pictures up.
#pragma once

#include <vector>

#include "tools/datagen/font.h"
#include "tools/datagen/picture.h"

namespace datagen {

std::vector<Picture> BuildImageBank(const FontSet& fonts);

}  // namespace datagen
