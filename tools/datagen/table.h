// The game screen's background (the pool table with its cushions, the cue
// groove and the side panel) and the pressed looks of its buttons, which
// are cut from the same painting so that they fit in place.
#pragma once

#include <vector>

#include "tools/datagen/canvas.h"
#include "tools/datagen/font.h"
#include "tools/datagen/picture.h"

namespace datagen {

struct TablePictures {
  std::vector<Picture> quadrants;  // top-left, top-right, bottom-left, bottom-right
  Picture menuPressed;
  std::vector<Picture> windowPressed;  // help, minimise, window size, close
};

TablePictures MakeTable(const FontSet& fonts);

// Shared with the title picture: the wooden frame of the table (top, left
// and right cushions, the cue groove) and the dark wood of the side panel.
void PaintFrame(Canvas& screen);
void PaintPanel(Canvas& screen);
// A 640 x 480 painting cut into the four 320 x 240 quadrants.
std::vector<Picture> Quadrants(const Canvas& screen, const std::string& name);

}  // namespace datagen
