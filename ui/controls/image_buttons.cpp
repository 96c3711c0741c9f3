#include "ui/controls/image_buttons.h"

#include "platform/color_ramp.h"
#include "platform/image.h"
#include "ui/app_context.h"
#include "ui/controls/control_drawing.h"
#include "ui/controls/toggle_drawing.h"

namespace {

constexpr u8 kDisabledAlpha = 100;

}  // namespace

ISkinButton* ISkinButton::Create(SkinContext* skin) {
  return InitControl(new ISkinButton(), skin, 0);
}

void ISkinButton::SetFrame(u8 n) { currentFrame = frameCount ? n % frameCount : 0; }

void ISkinButton::SetState(u8 newState) {
  alpha = newState == kControlDisabled ? kDisabledAlpha : 255;
  if (newState == kControlFocused && state == kControlPressed)
    currentFrame = frameCount ? static_cast<u8>((currentFrame + 1) % frameCount) : 0;
  dirty = newState != state ? 1 : 0;
  state = newState;
}

void ISkinButton::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  DrawFocusGradient(*this, target);
  if (state == kControlDisabled) alpha = kDisabledAlpha;
  if (imageIndex >= 0)
    DrawCentredImage(*this, imageIndex + currentFrame * frameStride, alpha, target);
}

IAnimatedButton* IAnimatedButton::Create(SkinContext* skin) {
  return InitControl(new IAnimatedButton(), skin, 0);
}

void IAnimatedButton::SetState(u8 newState) {
  state = newState;
  if (newState == kControlPressed) checked = checked ? 0 : 1;
}

void IAnimatedButton::Tick() {
  if (!IsChecked()) return;
  phase += speed;
  if (phase >= frameCount * 256 || phase < 0) phase = 0;
}

void IAnimatedButton::Draw(Surface* target) {
  dirty = 0;
  if (state == kControlHidden || !BeginDraw(target)) return;
  if (imageIndex >= 0) DrawCentredImage(*this, imageIndex + Frame(), alpha, target);
}
