// A picture of the image bank centred in the control's rect.
#pragma once

#include "ui/controls/control.h"

class Image;

// Draws a picture of the bank with its top-left corner at (x, y) by its
// type: opaque, colour key, masked, masked with the alpha, shadow. Other
// types (palette pieces, mask records) draw nothing.
void DrawPicture(Surface* target, const Image* image, int x, int y, u8 alpha);

class IImageControl : public IControl {
 public:
  // No text buffer.
  static IImageControl* Create(SkinContext* skin);
  // Draws the image by its type (opaque, colour key, masked, masked with
  // the control's alpha, shadow); other types and index -1 draw nothing.
  void Draw(Surface* target) override;

  i16 imageIndex = -1;  // -1: no image
  u8 alpha = 255;

 protected:
  IImageControl() = default;
};

// Image `index` of the bank centred in the control's rect, drawn by its
// type (type 3 with the alpha); other types and index -1 draw nothing.
void DrawCentredImage(const IControl& control, int index, u8 alpha, Surface* target);
