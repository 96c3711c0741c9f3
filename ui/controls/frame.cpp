#include "ui/controls/frame.h"

#include "platform/color_ramp.h"
#include "platform/image.h"
#include "ui/app_context.h"
#include "ui/controls/control_drawing.h"
#include "ui/font.h"

void DrawControlBorder(const IControl& control, Surface* target) {
  const Rect& r = control.rect;
  const u32 colour = TintColor(control.skin->baseColour[kControlNormal], kBorderTint);
  target->DrawLineClipped(r.left, r.top, r.right, r.top, colour, r);
  target->DrawLineClipped(r.left, r.bottom, r.right, r.bottom, colour, r);
  target->DrawLineClipped(r.left, r.top, r.left, r.bottom, colour, r);
  target->DrawLineClipped(r.right, r.top, r.right, r.bottom, colour, r);
}

IWinFrame* IWinFrame::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new IWinFrame(), skin, capacity);
}

void IWinFrame::Draw(Surface* target) {
  BeginDraw(target);  // drawn whatever the state
  if (!target || !skin) return;
  DrawControlBorder(*this, target);
  const u32 base = skin->baseColour[kControlNormal];
  FillGradientV(target, TintColor(base, kTitleTint), skin->fillColour,
                Rect(rect.left + 1, rect.top + 1, rect.right - 1, rect.top + 17));
  DrawText(skin, target, Text(), static_cast<i16>(rect.left + 4), static_cast<i16>(rect.top + 3),
           kControlNormal, colourIndex, nullptr);
}

IFrame* IFrame::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new IFrame(), skin, capacity);
}

void IFrame::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  DrawGroupFrame(*this, kControlNormal, kControlNormal, target);
}

void DrawGroupFrame(const IControl& control, u8 paletteState, u8 textState, Surface* target) {
  const SkinContext* skin = control.skin;
  const u32* palette = skin->palette[paletteState];
  const Rect& r = control.rect;
  auto corner = [&](int index, bool right, bool bottom) {
    DrawCornerPiece(skin, index, r, right, bottom, palette, target);
  };
  const int wTL = ImageWidth(skin, kFrameTopLeft), hTL = ImageHeight(skin, kFrameTopLeft);
  const int hTR = ImageHeight(skin, kFrameTopRight), wBL = ImageWidth(skin, kFrameBottomLeft);
  // Each corner, then the one-pixel edge that continues it.
  corner(kFrameTopLeft, false, false);
  target->FillRect(ReadPixel(target, r.left + wTL - 1, r.top),
                   Rect(r.left + wTL, r.top, r.right - wTL, r.top));
  corner(kFrameTopRight, true, false);
  target->FillRect(ReadPixel(target, r.left, r.top + hTL - 1),
                   Rect(r.left, r.top + hTL, r.left, r.bottom - hTL));
  corner(kFrameBottomLeft, false, true);
  target->FillRect(ReadPixel(target, r.right, r.top + hTR - 1),
                   Rect(r.right, r.top + hTR, r.right, r.bottom - hTR));
  corner(kFrameBottomRight, true, true);
  target->FillRect(ReadPixel(target, r.left + wBL - 1, r.bottom),
                   Rect(r.left + wBL, r.bottom, r.right - wBL, r.bottom));
  const char* text = control.Text();
  if (text[0] == '\0') return;
  // The title sits in a gap of the top edge.
  const int x0 = r.left + ImageWidth(skin, kFrameBottomRight) + 2;
  target->FillRect(skin->fillColour,
                   Rect(x0, r.top - 5, x0 + TextWidth(skin, text) + 3, r.top + 6));
  DrawText(skin, target, text, static_cast<i16>(x0 + 2), static_cast<i16>(r.top - 5), textState,
           control.colourIndex, nullptr);
}
