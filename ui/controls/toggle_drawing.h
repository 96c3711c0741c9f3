// What radio buttons, check boxes and menu items share: the focus gradient
// and a mark image beside a text.
#pragma once

#include "ui/controls/control.h"

// In the focused and pressed states, fills the control's rect with the
// gradient from the state's tinted base colour to the base colour and back.
void DrawFocusGradient(const IControl& control, Surface* target);
// The mark image at (left + 2, its centred row + markShift) through the
// palette of the state, and the text after it at the centred text row +
// textShift.
void DrawMarkAndText(const IControl& control, int markImage, int markShift, int textShift,
                     Surface* target);
