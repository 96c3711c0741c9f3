#include "ui/controls/toggle_drawing.h"

#include "platform/color_ramp.h"
#include "platform/image.h"
#include "platform/image_pack.h"
#include "ui/app_context.h"
#include "ui/controls/control_drawing.h"
#include "ui/font.h"

void DrawFocusGradient(const IControl& control, Surface* target) {
  const u8 state = control.state;
  if (state != kControlFocused && state != kControlPressed) return;
  const u32 base = control.skin->baseColour[state];
  FillGradientV2(target, TintColor(base, kFocusTint), base, control.rect);
}

void DrawMarkAndText(const IControl& control, int markImage, int markShift, int textShift,
                     Surface* target) {
  const SkinContext* skin = control.skin;
  const Rect& r = control.rect;
  const Image* mark = skin->imagePack ? skin->imagePack->GetImage(markImage) : nullptr;
  const int markWidth = mark ? mark->width : 0, markHeight = mark ? mark->height : 0;
  if (mark)
    BlitPaletted(target, mark, static_cast<i16>(r.left + 2),
                 static_cast<i16>(r.top + (r.bottom - r.top - markHeight) / 2 + markShift),
                 skin->palette[control.state], nullptr);
  DrawText(skin, target, control.Text(), static_cast<i16>(r.left + markWidth + 6),
           static_cast<i16>(control.TextRowTop() + textShift), control.state, control.colourIndex,
           nullptr);
}
