#include "ui/controls/image_control.h"

#include "platform/image.h"
#include "platform/image_pack.h"
#include "ui/app_context.h"

IImageControl* IImageControl::Create(SkinContext* skin) {
  return InitControl(new IImageControl(), skin, 0);
}

void IImageControl::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  DrawCentredImage(*this, imageIndex, alpha, target);
}

void DrawCentredImage(const IControl& control, int index, u8 alpha, Surface* target) {
  const SkinContext* skin = control.skin;
  if (index < 0 || !skin || !skin->imagePack || !target) return;
  const Image* image = skin->imagePack->GetImage(index);
  if (!image) return;
  const Rect& rect = control.rect;
  const int x = rect.left + (rect.right - rect.left - image->width + 1) / 2;
  const int y = rect.top + (rect.bottom - rect.top - image->height + 1) / 2;
  DrawPicture(target, image, x, y, alpha);
}

void DrawPicture(Surface* target, const Image* image, int x, int y, u8 alpha) {
  if (!target || !image) return;
  switch (image->type) {
    case kImageOpaque:
      target->BlitOpaque(image, x, y);
      break;
    case kImageColorKey:
      target->BlitColorKey(image, x, y);
      break;
    case kImageMasked:
      target->BlitMasked(image, x, y);
      break;
    case kImageMaskedAlpha:
      target->BlitMaskedAlpha(image, x, y, alpha);
      break;
    case kImageShadow:
      target->BlitShadow(image, x, y);
      break;
    default:
      break;  // palette pieces and mask records are not pictures
  }
}
