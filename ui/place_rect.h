// Puts a rectangle at a corner, an edge or the centre of another, inside
// it (margin 0 or more) or outside it next to the named side (negative
// margin). The rectangle keeps its width and height.
#pragma once

#include "platform/types.h"

enum PlaceMode : u8 {
  kPlaceTopLeft = 0,
  kPlaceCentre = 1,
  kPlaceTopRight = 2,
  kPlaceBottomLeft = 3,
  kPlaceBottomRight = 4,
  kPlaceTop = 6,           // top edge, centred
  kPlaceBottom = 7,        // bottom edge, centred
  kPlaceLeft = 8,          // left edge, middle
  kPlaceRight = 9,         // right edge, middle
  kPlaceMiddle = 10,       // vertical centre only
  kPlaceCentreX = 11,      // horizontal centre only
  kPlaceLeftOnly = 12,     // left edge only
  kPlaceRightOnly = 13,    // right edge only
  kPlaceTopOnly = 14,      // top edge only
  kPlaceBottomOnly = 15,   // bottom edge only
};

// Moves rect relative to container. Modes 1, 10 and 11 ignore the margin;
// any other mode leaves rect as it is.
void PlaceRect(Rect& rect, const Rect& container, int mode, int margin);
