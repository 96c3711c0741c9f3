// A number drawn with the digit images, centred in a box: the score and the
// level of the game screen.
#pragma once

#include "platform/clip.h"
#include "platform/types.h"

class NumberDisplay : public CBase {
 public:
  static constexpr int kDigits = 7;
  static constexpr i32 kLargest = 9999999;  // the most seven clips can show
  static constexpr int kFirstDigitImage = 343;

  NumberDisplay();

  // The box: digits are centred in width from x and step by pitch; their
  // clips sit at y - pitch + 2.
  void Init(int x, int y, int width, int pitch);
  void RegisterClips(PointerList<OClip>& clips);
  // Lays out the value's decimal digits; values below 1 show a single 0 and
  // values above kLargest show kLargest.
  void SetValue(i32 value);
  // 0 hides every digit; 1 lays the held value out again.
  void Show(u8 on);

  i32 Value() const { return value_; }
  const OClip& Digit(int i) const { return digits_[i]; }

 private:
  OClip digits_[kDigits];
  i16 x_ = 0, y_ = 0, width_ = 0, pitch_ = 0;
  i32 value_ = 0;
};
