#include "ui/controls/check_box.h"

#include "ui/controls/control_drawing.h"
#include "ui/controls/toggle_drawing.h"

ICheckBox* ICheckBox::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new ICheckBox(), skin, capacity);
}

void ICheckBox::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  DrawFocusGradient(*this, target);
  DrawMarkAndText(*this, checked ? kCheckOn : kCheckOff, 0, 0, target);
}

void ICheckBox::SetState(u8 newState) {
  state = newState;
  if (newState == kControlPressed) checked = checked ? 0 : 1;
}
