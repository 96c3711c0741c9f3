#include "game/menu_button.h"

#include "platform/image_pack.h"

GMenuButton::GMenuButton(int image, int x, int y) {
  imageIndex = static_cast<i16>(image);
  anchor = 0;
  this->x = x * 256;
  this->y = y * 256;
  state = 1;
  visible = 0;
}

void GMenuButton::SetState(u8 s) {
  state = s;
  if (s == 0 || s == 1) {
    visible = 0;
  } else if (s == 2 && imageIndex > 0) {
    visible = 1;
  }
}

u8 HitTestClip(const OClip& clip, int x, int y, const ImagePack* pack) {
  if (clip.imageIndex < 0 || pack == nullptr) return 0;
  const Image* image = pack->GetImage(clip.imageIndex);
  if (image == nullptr) return 0;
  const i64 px = i64{x} * 256, py = i64{y} * 256;
  const i64 right = i64{clip.x} + (image->width - 1) * 256;
  const i64 bottom = i64{clip.y} + (image->height - 1) * 256;
  return px >= clip.x && px <= right && py >= clip.y && py <= bottom;
}
