#include "ui/controls/button.h"

#include "platform/image.h"
#include "ui/controls/control_drawing.h"
#include "ui/font.h"

IButton* IButton::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new IButton(), skin, capacity);
}

void IButton::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  DrawButtonFace(skin, rect, state, target);
  // Centred; a text wider than the button starts left of it.
  const int x = rect.left + (rect.right - rect.left - TextWidth(skin, Text()) + 1) / 2;
  DrawText(skin, target, Text(), static_cast<i16>(x), static_cast<i16>(TextRowTop() + 1), state,
           colourIndex, nullptr);
}
