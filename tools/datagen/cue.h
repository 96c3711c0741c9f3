// The cue that stands in the groove beside the table and shows the shot
// power by how far it is pushed up.
#pragma once

#include "tools/datagen/picture.h"

namespace datagen {

constexpr int kCueWidth = 12, kCueHeight = 470;

// Tip at the top: chalked leather, ivory ferrule, a maple shaft, a brass
// joint, a rosewood forearm with inlaid points, a linen wrap and the butt.
Picture MakeCue();

}  // namespace datagen
