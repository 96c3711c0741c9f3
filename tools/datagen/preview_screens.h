// The composed previews: the game screen as the game lays it out, the title,
// close-ups of the balls on the felt, and a dialog drawn with the control
// pieces and the bitmap font as the controls draw them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/datagen/picture.h"

namespace datagen {

// The control palette of a state (0 normal, 1 disabled, 2 focused,
// 3 pressed), as the skin builds it.
void StatePalette(int state, std::uint32_t palette[255]);

bool WriteScreenPreviews(const std::vector<Picture>& bank, const std::string& dir, std::string& error);

}  // namespace datagen
