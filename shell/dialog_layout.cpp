#include "shell/dialog_layout.h"

#include <algorithm>
#include <cstring>

#include "platform/window.h"
#include "ui/alert.h"
#include "ui/controls/text.h"
#include "ui/font.h"
#include "ui/language.h"
#include "ui/place_rect.h"
#include "ui/wnd_manager.h"

int CountLineFeeds(const char* text) {
  int count = 0;
  for (const char* p = text; p && *p; ++p) count += *p == '\n';
  return count;
}

std::vector<int> LineWidths(const IText& measurer, const char* text) {
  std::vector<int> widths;
  // Each line is measured where it stands, with no copy: the measure ends
  // at its line feed.
  for (const char* line = text; line && *line;) {
    widths.push_back(measurer.MeasureText(line));
    const char* feed = std::strchr(line, '\n');
    line = feed ? feed + 1 : nullptr;
  }
  return widths;
}

int WidestLine(const IText& measurer, const char* text) {
  const std::vector<int> widths = LineWidths(measurer, text);
  return widths.empty() ? 0 : *std::max_element(widths.begin(), widths.end());
}

Rect CentredBox(const IWndManager& window, int width, int height) {
  width = std::min(width, window.Width() - 2);
  height = std::min(height, window.Height() - 2);
  Rect box(0, 0, width - 1, height - 1);
  PlaceRect(box, Rect(0, 0, window.Width() - 1, window.Height() - 1), kPlaceCentre, 0);
  return box;
}

Rect InnerFrame(const Rect& box) {
  return Rect(box.left + 10, box.top + 28, box.right - 10, box.bottom - 52);
}

Rect BottomRightButton(const Rect& box, int width) {
  Rect r(0, 0, width - 1, kButtonHeight - 1);
  PlaceRect(r, box, kPlaceBottomRight, kDialogMargin);
  return r;
}
