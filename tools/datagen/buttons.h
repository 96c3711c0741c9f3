// The buttons drawn on the game screen's panel: the menu button and the
// four small window buttons (help, minimise, window size, close), each in
// its normal and its pressed look.
#pragma once

#include "tools/datagen/canvas.h"
#include "tools/datagen/font.h"

namespace datagen {

enum WindowButton { kHelpButton, kMinimiseButton, kWindowSizeButton, kCloseButton };

// Paints the menu button into its place on the screen canvas.
void PaintMenuButton(Canvas& screen, const FontSet& fonts, bool pressed);
// Paints one window button into its place on the screen canvas.
void PaintWindowButton(Canvas& screen, const FontSet& fonts, WindowButton which, bool pressed);

}  // namespace datagen
