#include "game/ball.h"

#include <algorithm>

namespace {

constexpr i32 kMinScale = 1 * kFixOne;
constexpr i32 kMaxScale = 19 * kFixOne;
constexpr i32 kViewScale = 48640;    // 190.0: size x 190 / (200 - z)
constexpr i32 kViewDistance = 51200; // 200.0, the height of the eye
constexpr i32 kCeiling = 199 * kFixOne;
// The highest frame offset of a colour; frames 35 and 36 would show the
// next colour's first frames (or the table after colour 8).
constexpr i32 kLastFrame = (kBallFramesPerColour - 1) * kFixOne;

// The projected scale of a ball of the given size at height z, 1.0..19.0.
i32 ProjectedScale(i32 size, i32 z) {
  const i64 scaled = (i64{size} * kViewScale) & ~i64{0xff};
  const i64 distance = i64{kViewDistance} - z;
  // At or above the eye the ball would fill the view: the largest frame.
  if (distance <= 0) return scaled > 0 ? kMaxScale : kMinScale;
  return static_cast<i32>(std::clamp<i64>(scaled / distance, kMinScale, kMaxScale));
}

}  // namespace

Ball::Ball() {
  ballClip.anchor = 1;
  shadowClip.anchor = 1;
}

void Ball::RegisterClips(PointerList<OClip>& clips) {
  clips.Add(&shadowClip);
  clips.Add(&ballClip);
}

void Ball::Project() {
  const i32 scale = ProjectedScale(size, z);
  const i32 frame = 2 * scale - 2 * kFixOne;  // one frame per half unit of scale
  ballClip.x = x;
  ballClip.y = y;
  const i32 image = (scale >> 8) == (maxSize >> 8) ? fullImage
                                                   : imageBase + std::min(frame, kLastFrame);
  ballClip.imageIndex = static_cast<i16>(image >> 8);
  if (!hasShadow) return;
  shadowOffset = z >> 1;
  shadowClip.x = x + shadowOffset;
  shadowClip.y = y + shadowOffset;
  shadowClip.imageIndex = static_cast<i16>(frame >> 8);
}

void Ball::Advance() {
  x += vx;
  y += vy;
  z += vz;
  if (z < size) {
    z = size;
    vz = -vz;
  } else if (z >= kViewDistance) {
    z = kCeiling;
    vz = -vz;
  }
  Project();
}

void Ball::Show() {
  ballClip.visible = 1;
  shadowClip.visible = hasShadow ? 1 : 0;
}

void Ball::Hide() {
  ballClip.visible = 0;
  shadowClip.visible = 0;
}

void Ball::SetShadow(u8 on) {
  hasShadow = on ? 1 : 0;
  shadowClip.visible = (hasShadow && ballClip.visible) ? 1 : 0;
}

void Ball::SetState(u8 s) {
  state = s;
  switch (s) {
    case kBallHidden: case kBallHiddenWaitGrow: case kBallHiddenWaitShrink:
    case kBallFree: case kBallHiddenWaitPulse:
      Hide();
      break;
    case kBallFlyIn: case kBallAtRest:
      size = maxSize;
      Project();
      Show();
      break;
    case kBallGrow: case kBallPulse: case kBallFlyer: case kBallScatter:
      size = minSize;
      Project();
      Show();
      break;
    case kBallShownWaitGrow: case kBallShrink: case kBallWaitBurst: case kBallBurst:
    case kBallShownWaitDrop: case kBallDrop: case kBallShownWaitFade: case kBallFade:
      Show();
      break;
    default:
      break;  // unknown states are only stored
  }
}

bool Ball::CountDown() {
  counter = static_cast<i16>(counter - 1);
  return counter <= 0;
}

void Ball::Step() {
  switch (state) {
    case kBallFlyIn:
      Advance();
      if (CountDown()) SetState(kBallAtRest);
      break;
    case kBallHiddenWaitGrow: case kBallShownWaitGrow:
      if (CountDown()) SetState(kBallGrow);
      break;
    case kBallGrow:
      size += sizeStep;
      if (size >= maxSize) SetState(kBallAtRest);
      else Project();
      break;
    case kBallHiddenWaitShrink:
      if (CountDown()) SetState(kBallShrink);
      break;
    case kBallShrink:
      size -= sizeStep;
      if (size > minSize) Project();
      else SetState(kBallHidden);
      break;
    case kBallWaitBurst:
      if (CountDown()) SetState(kBallBurst);
      break;
    case kBallHiddenWaitPulse:
      if (CountDown()) SetState(kBallPulse);
      break;
    case kBallPulse:
      size += sizeStep;
      if (sizeStep > 0 && size >= maxSize) {
        size = maxSize;
        sizeStep = -sizeStep;
      }
      if (sizeStep <= 0 && size <= minSize) {
        size = minSize;
        sizeStep = -sizeStep;
      }
      Project();
      break;
    case kBallShownWaitDrop:
      if (CountDown()) SetState(kBallDrop);
      break;
    case kBallShownWaitFade:
      if (CountDown()) SetState(kBallFade);
      break;
    default:
      break;  // hidden, at rest, free, and the states the owner acts on
  }
}
