#include "game/number_display.h"

#include <algorithm>

NumberDisplay::NumberDisplay() = default;

void NumberDisplay::Init(int x, int y, int width, int pitch) {
  x_ = static_cast<i16>(x);
  y_ = static_cast<i16>(y);
  width_ = static_cast<i16>(width);
  pitch_ = static_cast<i16>(pitch);
  for (OClip& d : digits_) d.y = (y - pitch + 2) * 256;
}

void NumberDisplay::RegisterClips(PointerList<OClip>& clips) {
  for (OClip& d : digits_) clips.Add(&d);
}

void NumberDisplay::SetValue(i32 value) {
  value_ = std::clamp(value, 0, kLargest);
  int digits[kDigits];
  int count = 0;
  i32 rest = value_;
  do {
    digits[count++] = rest % 10;
    rest /= 10;
  } while (rest > 0);  // kLargest keeps count within kDigits
  int x = x_ + (width_ - pitch_ * count) / 2;
  for (int k = 0; k < kDigits; ++k) {
    OClip& clip = digits_[k];
    if (k >= count) {
      clip.visible = 0;
      continue;
    }
    clip.imageIndex = static_cast<i16>(kFirstDigitImage + digits[count - 1 - k]);
    clip.x = x * 256;
    clip.visible = 1;
    x += pitch_;
  }
}

void NumberDisplay::Show(u8 on) {
  if (on) {
    SetValue(value_);
    return;
  }
  for (OClip& d : digits_) d.visible = 0;
}
