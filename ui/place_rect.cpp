#include "ui/place_rect.h"

namespace {

// Where a side of the rect goes along one axis: near the low side of the
// container, near the high side, or centred, or kept as it is.
enum Anchor { kKeep, kLow, kHigh, kCentre };

// The new low coordinate of a span of length size inside (lo, hi).
int Position(Anchor anchor, int lo, int hi, int size, int margin, int current) {
  switch (anchor) {
    case kLow:
      return margin >= 0 ? lo + margin : lo - size + margin;
    case kHigh:
      return margin >= 0 ? hi - size - margin : hi - margin;
    case kCentre:
      return (lo + hi - size + 1) / 2;
    case kKeep:
      break;
  }
  return current;
}

}  // namespace

void PlaceRect(Rect& rect, const Rect& container, int mode, int margin) {
  // The horizontal and vertical anchor of each mode (5 is no mode).
  static const Anchor kAnchors[16][2] = {
      {kLow, kLow},     {kCentre, kCentre}, {kHigh, kLow},    {kLow, kHigh},
      {kHigh, kHigh},   {kKeep, kKeep},     {kCentre, kLow},  {kCentre, kHigh},
      {kLow, kCentre},  {kHigh, kCentre},   {kKeep, kCentre}, {kCentre, kKeep},
      {kLow, kKeep},    {kHigh, kKeep},     {kKeep, kLow},    {kKeep, kHigh},
  };
  if (mode < 0 || mode > 15) return;
  const int w = rect.Width();
  const int h = rect.Height();
  const Rect& c = container;
  const int left = Position(kAnchors[mode][0], c.left, c.right, w, margin, rect.left);
  const int top = Position(kAnchors[mode][1], c.top, c.bottom, h, margin, rect.top);
  rect = Rect(left, top, left + w - 1, top + h - 1);
}
