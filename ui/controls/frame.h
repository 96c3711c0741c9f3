// Frames: the screen's window frame with its title bar (always control 0
// of a screen) and the group frame with rounded corners and a title set
// into its top edge.
#pragma once

#include "ui/controls/control.h"

class IWinFrame : public IControl {
 public:
  static IWinFrame* Create(SkinContext* skin, u8 capacity);
  // Border, title bar gradient and title; drawn in every state.
  void Draw(Surface* target) override;

 protected:
  IWinFrame() = default;
};

class IFrame : public IControl {
 public:
  static IFrame* Create(SkinContext* skin, u8 capacity);
  void Draw(Surface* target) override;

 protected:
  IFrame() = default;
};

// The group frame of a control's rect: the corner pieces through the
// palette of one state, joined by one-pixel edges, and the control's text
// as a title in a gap of the top edge, in the text colour of another.
void DrawGroupFrame(const IControl& control, u8 paletteState, u8 textState, Surface* target);

// The one-pixel border of a window or menu frame in the normal base colour
// tinted dark, clipped to the control's rect.
void DrawControlBorder(const IControl& control, Surface* target);
