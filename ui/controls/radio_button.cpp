#include "ui/controls/radio_button.h"

#include "ui/controls/control_drawing.h"
#include "ui/controls/toggle_drawing.h"

IRadioButton* IRadioButton::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new IRadioButton(), skin, capacity);
}

void IRadioButton::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  DrawFocusGradient(*this, target);
  DrawMarkAndText(*this, checked ? kRadioOn : kRadioOff, 1, 1, target);
}

void IRadioButton::SetState(u8 newState) {
  state = newState;
  if (newState == kControlPressed) checked = 1;
}
