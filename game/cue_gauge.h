// The cue at the right of the table: its height shows the shot power, and
// with the Pen controls a click on its strip sets it.
#pragma once

#include "platform/clip.h"
#include "platform/types.h"

class ImagePack;

class CueGauge : public CBase {
 public:
  static constexpr int kImage = 328;
  static constexpr int kStripLeft = 461;
  static constexpr int kStripWidth = 20;
  static constexpr int kStripMargin = 11;

  CueGauge() = default;

  // Lays out the strip for the window height and centres the cue picture
  // in it; the cue starts below the window.
  void Init(int windowHeight, const ImagePack* pack);
  // Shows a power (24.8), clamped to 1.0..8.0, by the cue's height.
  void SetPower(i32 power);
  // The power (24.8) a click at (x, y) pixels sets; -1.0 off the strip.
  i32 ValueAt(int x, int y) const;
  void SetVisible(u8 visible);
  void RegisterClips(PointerList<OClip>& clips);

  i32 Power() const { return power_; }
  const OClip& Clip() const { return clip_; }
  const Rect& Strip() const { return strip_; }

 private:
  // Pixels of strip per power step.
  int StepHeight() const { return (strip_.bottom - strip_.top) / 8; }

  OClip clip_;
  Rect strip_;
  i32 power_ = 0;
};
