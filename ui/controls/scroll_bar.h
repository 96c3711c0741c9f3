// A horizontal or vertical scroll bar: an optional arrow button at each
// end, a track and a square thumb. It holds a position between a minimum
// and a maximum that the arrows, the Up and Down keys (held: one step per
// frame), clicks in the track and dragging the thumb change.
#pragma once

#include "ui/controls/control.h"

// Configuration and transient bits of IScrollBar::flags.
enum ScrollBarFlag : u8 {
  kScrollVertical = 0x01,  // else horizontal
  kScrollArrows = 0x02,    // arrow buttons at both ends
  kScrollTrackPressed = 0x04,
  kScrollThumbPressed = 0x08,
  kScrollFirstPressed = 0x10,   // up or left arrow, or the Up key held
  kScrollSecondPressed = 0x20,  // down or right arrow, or the Down key held
  kScrollTransient = 0x3C,      // cleared by every key and pointer event
};

// Font images of the arrow symbols.
enum ScrollArrowImage : int {
  kArrowUpImage = 466,
  kArrowDownImage = 471,
  kArrowLeftImage = 475,
  kArrowRightImage = 478,
};

class IScrollBar : public IControl {
 public:
  // No text buffer; 128 in 0..256, step 25.
  static IScrollBar* Create(SkinContext* skin);

  // Places the bar (normal state) and takes the configuration and the
  // values as they are.
  void Setup(const Rect& r, u8 newFlags, i32 newMinimum, i32 newMaximum, i32 newPosition,
             i32 newStep);
  // Clamps the value into the range (written back), stores it and marks
  // the bar dirty.
  void SetPos(i32& newPosition);
  // Stores the range, clamps the position into it and marks the bar dirty.
  void SetRange(i32 newMinimum, i32 newMaximum);
  // Step := f/256 of the range, for f in 0..256; other values are ignored.
  void SetPageFraction(i32 f);

  void Draw(Surface* target) override;
  // Moves one step per frame while Up or Down is held.
  void Tick() override;
  // Up and Down are held (whatever the orientation); other keys are not
  // taken.
  i32 OnKeyDown(u32 keysym) override;
  i32 OnKeyUp(u32 keysym) override;
  // Grabs the thumb, steps toward a click in the track, or steps by an arrow.
  i32 OnMouseDown(i16 x, i16 y) override;
  i32 OnMouseUp(i16 x, i16 y) override;
  // While the thumb is dragged, the position follows the pointer along the
  // track.
  i32 OnMouseMove(i16 x, i16 y) override;

  // Geometry of the present size, position and configuration.
  Rect ThumbRect() const;
  Rect TrackRect() const;
  Rect FirstArrowRect() const;
  Rect SecondArrowRect() const;

  u8 flags = 0;
  i32 minimum = 0;
  i32 maximum = 256;
  i32 step = 25;
  i32 position = 128;
  i32 heldKey = 0;  // 0, or the key code Up or Down while held
  u8 dragging = 0;

 protected:
  IScrollBar() = default;

 private:
  bool Vertical() const { return (flags & kScrollVertical) != 0; }
  bool HasArrows() const { return (flags & kScrollArrows) != 0; }
  // Side of an arrow button and of the thumb's length.
  int ArrowSide() const;
  // Track length along the bar, less the arrows.
  int TrackLength() const;
  // Moves by n steps (negative: back), clamped, and marks the bar dirty.
  void MoveBy(int n);
  void Clamp();
  void DrawArrow(const Rect& r, int image, u8 pressedBit, u32 symbolColour, Surface* target);
};
