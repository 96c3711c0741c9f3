// The push button: a button face in the colours of its state with its text
// centred on it.
#pragma once

#include "ui/controls/control.h"

class IButton : public IControl {
 public:
  static IButton* Create(SkinContext* skin, u8 capacity);
  void Draw(Surface* target) override;

 protected:
  IButton() = default;
};
