// The layout rules the about and help boxes share: a box centred in the
// window, the group frame inside it, the Ok button in its bottom-right
// corner, and the measures of their texts.
#pragma once

#include <vector>

#include "platform/types.h"

class GLanguage;
class IText;
class IWndManager;
struct SkinContext;

constexpr int kDialogMargin = 10;

// The number of line feeds in a text.
int CountLineFeeds(const char* text);
// The width of each line of a text under the mark-up, measured by the
// control, and the widest of them.
std::vector<int> LineWidths(const IText& measurer, const char* text);
int WidestLine(const IText& measurer, const char* text);
// A box of the size centred in the window; a side that reaches the
// window's size less 2 is made exactly that.
Rect CentredBox(const IWndManager& window, int width, int height);
// The group frame inside a box: 10 pixels in from the sides, 28 below the
// top (under the title bar) and 52 above the bottom (over the buttons).
Rect InnerFrame(const Rect& box);
// A button of the width in the bottom-right corner of the box.
Rect BottomRightButton(const Rect& box, int width);
