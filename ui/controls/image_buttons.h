// Buttons made of pictures of the image bank: one that steps to its next
// frame each time it is clicked, and one that animates while it is checked.
#pragma once

#include "ui/controls/image_control.h"

class ISkinButton : public IImageControl {
 public:
  // No text buffer.
  static ISkinButton* Create(SkinContext* skin);
  // Current frame := n mod the frame count.
  void SetFrame(u8 n);
  // Disabled draws faint; a press released on the focused button (pressed
  // to focused) steps to the next frame.
  void SetState(u8 newState) override;
  // The focus gradient in the focused and pressed states, then the
  // current frame's picture.
  void Draw(Surface* target) override;

  u8 frameCount = 0;
  u8 currentFrame = 0;
  i16 frameStride = 1;  // image index step from one frame to the next

 protected:
  ISkinButton() = default;
};

class IAnimatedButton : public IImageControl {
 public:
  // No text buffer.
  static IAnimatedButton* Create(SkinContext* skin);
  // Pressing toggles the checked flag, which runs the animation.
  void SetState(u8 newState) override;
  // A checked button is redrawn every frame.
  u8 IsDirty() override { return IsChecked(); }
  // While checked, the phase advances by the speed and wraps after the
  // last frame.
  void Tick() override;
  // The current frame's picture; a hidden button draws not even its fill.
  void Draw(Surface* target) override;

  int Frame() const { return phase >> 8; }

  u8 frameCount = 0;
  i32 speed = 0;  // phase units per tick
  i32 phase = 0;  // 24.8 fixed point: the frame is phase >> 8

 protected:
  IAnimatedButton() = default;
};
