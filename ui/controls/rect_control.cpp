#include "ui/controls/rect_control.h"

#include "platform/image.h"
#include "ui/app_context.h"

IRectControl* IRectControl::Create(SkinContext* skin) {
  return InitControl(new IRectControl(), skin, 0);
}

void IRectControl::SetState(u8 newState) {
  state = newState;
  if (newState == kControlPressed) checked = 1;
}

void IRectControl::Draw(Surface* target) {
  if (!target || !skin) return;
  target->FillRect(skin->fillColour, rect);
  // A hidden swatch stays dirty: it is drawn once it shows again.
  if (state >= kControlHidden) return;
  dirty = 0;
  const Rect& r = rect;
  constexpr u32 kBlack = 0x000000;
  if (state == kControlFocused || state == kControlPressed)
    DrawRectOutline(*this, r, skin->baseColour[state], target);
  const Rect inner(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
  if (inner.left <= inner.right && inner.top <= inner.bottom) target->FillRect(colour, inner);
  DrawRectOutline(*this, inner, kBlack, target);
  if (checked)
    DrawRectOutline(*this, Rect(r.left + 2, r.top + 2, r.right - 2, r.bottom - 2), kBlack, target);
}
