// The radio button: a round mark and a text; pressing it checks it (the
// screen unchecks the rest of its group first).
#pragma once

#include "ui/controls/control.h"

class IRadioButton : public IControl {
 public:
  static IRadioButton* Create(SkinContext* skin, u8 capacity);
  void Draw(Surface* target) override;
  // Stores the state; pressed (3) also checks the button. The dirty flag is
  // left alone: the screen redraws a pressed control itself.
  void SetState(u8 newState) override;

 protected:
  IRadioButton() = default;
};
