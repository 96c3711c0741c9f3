// The colour swatch: a square of one colour that is checked like a radio
// button and outlined when focused and when checked.
#pragma once

#include "ui/controls/control.h"

class IRectControl : public IControl {
 public:
  // No text buffer.
  static IRectControl* Create(SkinContext* skin);
  // Stores the state; pressed (3) also checks the swatch. The dirty flag
  // is left alone: the screen redraws a pressed control itself.
  void SetState(u8 newState) override;
  // Focused and pressed: an outer outline in the state's colour; always the
  // colour inside a black outline; checked: a second black outline.
  void Draw(Surface* target) override;

  u32 colour = 0;  // 0x00RRGGBB

 protected:
  IRectControl() = default;
};
