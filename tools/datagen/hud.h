// The game's head-up display on the side panel: the captions under the
// score and the level, the score digits and the skill badges.
#pragma once

#include "tools/datagen/font.h"
#include "tools/datagen/picture.h"

namespace datagen {

Picture MakeCaption(const FontSet& fonts, const char* text, int width, int height);
// Digit 0..9; all ten the same size.
Picture MakeDigit(const FontSet& fonts, int digit);
// Skill 0..3: EasyRide, Novice, Expert, Master.
Picture MakeBadge(const FontSet& fonts, int skill);

}  // namespace datagen
