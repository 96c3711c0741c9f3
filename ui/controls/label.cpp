#include "ui/controls/label.h"

#include "platform/image.h"

ILabel* ILabel::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new ILabel(), skin, capacity);
}

void ILabel::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  // A label reads the same enabled or not.
  DrawText(skin, target, Text(), rect.left, rect.top, kControlNormal, colourIndex, nullptr);
}

IFormattedLabel* IFormattedLabel::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new IFormattedLabel(), skin, capacity);
}

void IFormattedLabel::SetStyle(const TextStyle& newStyle) {
  style = newStyle;
  dirty = 1;
}

void IFormattedLabel::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  if (style.vertical)
    DrawTextStyledV(skin, target, Text(), rect, style, kControlNormal, colourIndex);
  else
    DrawTextStyledH(skin, target, Text(), rect, style, kControlNormal, colourIndex);
}
