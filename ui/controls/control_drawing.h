// Drawing helpers the controls share: the palette blit of the control
// pieces, the nine-part button face and three gradient fills.
#pragma once

#include "platform/types.h"

class Image;
class Surface;
struct SkinContext;

// Image indices of the control pieces in the image bank.
enum ControlPiece : int {
  kFrameTopLeft = 353,
  kFrameTopRight = 354,
  kFrameBottomLeft = 355,
  kFrameBottomRight = 356,
  kFaceTopLeft = 357,
  kFaceTopRight = 358,
  kFaceBottomLeft = 359,
  kFaceBottomRight = 360,
  kCheckOff = 361,
  kCheckOn = 362,
  kRadioOff = 363,
  kRadioOn = 364,
};

// Tint levels of the derived colours.
constexpr i16 kBorderTint = 96;
constexpr i16 kTitleTint = 204;
constexpr i16 kFocusTint = 240;

// The colour (0x00RRGGBB) of a pixel through the drawing origin, or 0 off
// the surface.
u32 ReadPixel(const Surface* target, int x, int y);
// Draws an 8-bit palette image (type 12) with its mask: mask 0 writes
// palette[index], 255 leaves the target, values between blend toward it.
void BlitPaletted(Surface* target, const Image* image, i16 x, i16 y, const u32 palette[256],
                  const Rect* region);
// A control piece of the bank in one corner of r (right and bottom pick the
// corner), drawn in the palette.
void DrawCornerPiece(const SkinContext* skin, int index, const Rect& r, bool right, bool bottom,
                     const u32 palette[256], Surface* target);
// A face of any size (at least two corners) from the corners 357..360 in
// the palette of the state; edges and middle continue the corners' pixels.
void DrawButtonFace(const SkinContext* skin, const Rect& r, u8 state, Surface* target);
// Rows from colour1 stepping toward colour2 (truncated per-row step).
void FillGradientV(Surface* target, u32 colour1, u32 colour2, const Rect& r);
// colour1 at the top, toward colour2 at the middle, back to colour1 at the
// bottom.
void FillGradientV2(Surface* target, u32 colour1, u32 colour2, const Rect& r);
// Columns from colour1 stepping toward colour2.
void FillGradientH(Surface* target, u32 colour1, u32 colour2, const Rect& r);
