// A sprite of the scene: one picture of the image pack at a 24.8 position,
// with an anchor, a blend type, an alpha and a visibility flag, plus the
// state it had at the last dirty redraw.
#pragma once

#include "platform/image.h"
#include "platform/types.h"

// Where the position lies on the picture.
enum ClipAnchor : u8 {
  kAnchorTopLeft = 0,
  kAnchorCentre = 1,
  kAnchorTopRight = 2,
  kAnchorBottomLeft = 3,
  kAnchorBottomRight = 4,
};

// The blend value that draws a picture by its own image type.
constexpr u8 kBlendOwnType = 6;

class OClip : public CBase {
 public:
  OClip() = default;
  ~OClip() override = default;

  virtual void SetState(u8 s) { state = s; }
  // Called once per tick for every clip of the engine's list.
  virtual void Update() {}

  // Where the picture is drawn at the current position: the top-left pixel
  // of the blit (drawX, drawY) and every surface pixel the blit may write
  // (area). False for an anchor without a placement.
  bool Place(const Image& picture, int& drawX, int& drawY, Rect& area) const;
  // Draws the picture at the current placement, limited to region when
  // given. Types and forms the scene does not draw are skipped.
  void Draw(Surface& target, const Image& picture, const Rect* region) const;

  u8 anchor = kAnchorTopLeft;
  u8 state = 0;
  u8 visible = 0;
  u8 blend = kBlendOwnType;
  u8 subpixel = 0;  // 1: drawn at the fraction of the position
  u8 alpha = 0;     // for blend type 3
  i16 imageIndex = 0;
  i32 x = 0;  // 24.8
  i32 y = 0;
  // Set by the dirty redraw: 0 unchanged, 1 vanished (previous area added),
  // 2 appeared (current area added), 3 moved or changed (both added).
  u8 changed = 0;
  u8 prevVisible = 0;
  i32 prevX = 0;
  i32 prevY = 0;
  i16 prevImage = 0;
  u8 prevAlpha = 0;
  Rect rect;      // the area of the current placement, as the dirty redraw last found it
  Rect prevRect;  // the area drawn at the last dirty redraw
};
