#include "game/cue_gauge.h"

#include <algorithm>

#include "platform/image_pack.h"

namespace {
constexpr i32 kMinPower = 256;   // 1.0
constexpr i32 kMaxPower = 2048;  // 8.0
}  // namespace

void CueGauge::Init(int windowHeight, const ImagePack* pack) {
  strip_ = Rect(kStripLeft, kStripMargin, kStripLeft + kStripWidth - 1,
                windowHeight - kStripMargin);
  const Image* image = pack ? pack->GetImage(kImage) : nullptr;
  const int width = image ? image->width : 0;
  clip_.imageIndex = kImage;
  clip_.anchor = 0;
  clip_.x = (kStripLeft + (kStripWidth - width) / 2) * 256;
  clip_.y = windowHeight * 256;
}

void CueGauge::SetPower(i32 power) {
  power_ = std::clamp(power, kMinPower, kMaxPower);
  const i32 lift = (StepHeight() * power_ + 128) >> 8;  // rounded to whole pixels
  clip_.y = (strip_.bottom - lift) * 256;
}

i32 CueGauge::ValueAt(int x, int y) const {
  const int step = StepHeight();
  if (step <= 0 || !strip_.Contains(x, y)) return -kMinPower;
  return ((strip_.bottom - y) << 16) / (step * 256) + kMinPower;
}

void CueGauge::SetVisible(u8 visible) {
  clip_.visible = visible ? 1 : 0;
  if (visible) SetPower(power_);
}

void CueGauge::RegisterClips(PointerList<OClip>& clips) { clips.Add(&clip_); }
