// The check box: a square mark and a text; each press toggles it.
#pragma once

#include "ui/controls/control.h"

class ICheckBox : public IControl {
 public:
  static ICheckBox* Create(SkinContext* skin, u8 capacity);
  void Draw(Surface* target) override;
  // Stores the state; pressed (3) also toggles the checked flag. The dirty
  // flag is left alone: the screen redraws a pressed control itself.
  void SetState(u8 newState) override;

 protected:
  ICheckBox() = default;
};
