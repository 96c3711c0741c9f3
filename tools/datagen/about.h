// The picture of the about box: the makers' plaque, shown under
// "Developed by".
#pragma once

#include "tools/datagen/font.h"
#include "tools/datagen/picture.h"

namespace datagen {

Picture MakeAboutPicture(const FontSet& fonts);

}  // namespace datagen
