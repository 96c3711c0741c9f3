#include "ui/controls/menu_controls.h"

#include "platform/color_ramp.h"
#include "platform/image.h"
#include "ui/app_context.h"
#include "ui/controls/control_drawing.h"
#include "ui/controls/frame.h"
#include "ui/controls/toggle_drawing.h"
#include "ui/font.h"

IMenuFrame* IMenuFrame::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new IMenuFrame(), skin, capacity);
}

void IMenuFrame::Draw(Surface* target) {
  BeginDraw(target);  // drawn whatever the state
  if (!target || !skin) return;
  DrawControlBorder(*this, target);
  FillGradientH(target, TintColor(skin->baseColour[kControlNormal], kTitleTint), skin->fillColour,
                Rect(rect.left + 1, rect.top + 1, rect.left + 7, rect.bottom - 1));
}

IMenuItem* IMenuItem::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new IMenuItem(), skin, capacity);
}

void IMenuItem::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  DrawFocusGradient(*this, target);
  if (IsSeparator()) {
    target->DrawLineClipped(rect.left + 2, rect.top + 8, rect.right, rect.top + 8,
                            skin->baseColour[kControlNormal], rect);
    return;
  }
  DrawText(skin, target, Text(), static_cast<i16>(rect.left + 2), static_cast<i16>(rect.top + 3),
           state, colourIndex, nullptr);
}
