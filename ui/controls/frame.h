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

// The one-pixel border of a window or menu frame in the normal base colour
// tinted dark, clipped to the control's rect.
void DrawControlBorder(const IControl& control, Surface* target);
