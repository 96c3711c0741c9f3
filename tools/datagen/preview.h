// PNG previews of the image bank for people to look at: contact sheets of
// every picture with its index, close-ups of the balls, and the composed
// game and title screens.
#pragma once

#include <string>
#include <vector>

#include "tools/datagen/font.h"
#include "tools/datagen/picture.h"

namespace datagen {

bool WritePreviews(const std::vector<Picture>& bank, const FontSet& fonts, const std::string& dir,
                   std::string& error);

}  // namespace datagen
