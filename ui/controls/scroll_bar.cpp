#include "ui/controls/scroll_bar.h"

#include <algorithm>

#include "platform/image.h"
#include "platform/image_pack.h"
#include "platform/key_codes.h"
#include "ui/app_context.h"
#include "ui/controls/control_drawing.h"
#include "ui/font.h"

namespace {

constexpr Rect kNoRect(0, 0, -1, -1);  // contains no point

i32 ClampTo(i64 value, i32 low, i32 high) {
  if (value > high) value = high;
  if (value < low) value = low;  // an inverted range ends at the minimum
  return static_cast<i32>(value);
}

}  // namespace

IScrollBar* IScrollBar::Create(SkinContext* skin) { return InitControl(new IScrollBar(), skin, 0); }

void IScrollBar::Setup(const Rect& r, u8 newFlags, i32 newMinimum, i32 newMaximum, i32 newPosition,
                       i32 newStep) {
  rect = r;
  SetState(kControlNormal);
  flags = newFlags;
  minimum = newMinimum;
  maximum = newMaximum;
  position = newPosition;
  step = newStep;
}

void IScrollBar::Clamp() { position = ClampTo(position, minimum, maximum); }

void IScrollBar::SetPos(i32& newPosition) {
  newPosition = ClampTo(newPosition, minimum, maximum);
  position = newPosition;
  dirty = 1;
}

void IScrollBar::SetRange(i32 newMinimum, i32 newMaximum) {
  minimum = newMinimum;
  maximum = newMaximum;
  Clamp();
  dirty = 1;
}

void IScrollBar::SetPageFraction(i32 f) {
  if (f < 0 || f > 256) return;
  step = static_cast<i32>((static_cast<i64>(maximum) - minimum) * f >> 8);
}

void IScrollBar::MoveBy(int n) {
  position = ClampTo(static_cast<i64>(position) + static_cast<i64>(n) * step, minimum, maximum);
  dirty = 1;
}

// ---- Geometry ----

int IScrollBar::ArrowSide() const { return std::min(rect.Width(), rect.Height()); }

int IScrollBar::TrackLength() const {
  const int length = Vertical() ? rect.Height() : rect.Width();
  return HasArrows() ? length - 2 * ArrowSide() : length;
}

Rect IScrollBar::ThumbRect() const {
  const int s = ArrowSide();
  // The thumb's start goes along the free part of the track in proportion
  // to the position, in 64 bits: ranges of 2^24 and more overflow 32. An
  // empty range leaves it at the start.
  const i64 range = static_cast<i64>(maximum) - minimum;
  const i64 offset = static_cast<i64>(position) - minimum;
  i64 along = range > 0 ? (TrackLength() - s) * offset / range : 0;
  along += (Vertical() ? rect.top : rect.left) + (HasArrows() ? s : 0);
  const int start = static_cast<int>(std::max<i64>(INT16_MIN, std::min<i64>(INT16_MAX, along)));
  if (Vertical()) return Rect(rect.left + 1, start, rect.right - 1, start + s - 1);
  return Rect(start, rect.top + 1, start + s - 1, rect.bottom - 1);
}

Rect IScrollBar::TrackRect() const {
  if (!HasArrows()) return rect;
  const int inset = ArrowSide() - 3;
  if (Vertical()) return Rect(rect.left, rect.top + inset, rect.right, rect.bottom - inset);
  return Rect(rect.left + inset, rect.top, rect.right - inset, rect.bottom);
}

Rect IScrollBar::FirstArrowRect() const {
  if (!HasArrows()) return kNoRect;
  const int s = ArrowSide();
  if (Vertical()) return Rect(rect.left, rect.top, rect.right, rect.top + s - 2);
  return Rect(rect.left, rect.top, rect.left + s - 2, rect.bottom);
}

Rect IScrollBar::SecondArrowRect() const {
  if (!HasArrows()) return kNoRect;
  const int s = ArrowSide();
  if (Vertical()) return Rect(rect.left, rect.bottom - s + 2, rect.right, rect.bottom);
  return Rect(rect.right - s + 2, rect.top, rect.right, rect.bottom);
}

// ---- Input ----

void IScrollBar::Tick() {
  if (IsInactive()) return;
  if (heldKey == kKeyUp) MoveBy(-1);
  if (heldKey == kKeyDown) MoveBy(1);
}

i32 IScrollBar::OnKeyDown(u32 keysym) {
  if (IsInactive()) return 0;
  flags &= static_cast<u8>(~kScrollTransient);
  heldKey = 0;
  switch (KeysymToKey(keysym)) {
    case kKeyUp:
      flags |= kScrollFirstPressed;
      heldKey = kKeyUp;
      return 1;
    case kKeyDown:
      flags |= kScrollSecondPressed;
      heldKey = kKeyDown;
      return 1;
    default:
      return 0;
  }
}

i32 IScrollBar::OnKeyUp(u32) {
  flags &= static_cast<u8>(~kScrollTransient);
  heldKey = 0;
  return 0;
}

i32 IScrollBar::OnMouseDown(i16 x, i16 y) {
  if (IsInactive()) return 0;
  flags &= static_cast<u8>(~kScrollTransient);
  const Rect thumb = ThumbRect();
  if (thumb.Contains(x, y)) {
    flags |= kScrollThumbPressed;
    dragging = 1;
  } else if (TrackRect().Contains(x, y)) {
    heldKey = 0;
    flags |= kScrollTrackPressed;
    // One step toward the click, not to it.
    const int at = Vertical() ? y : x;
    if (at > (Vertical() ? thumb.bottom : thumb.right)) MoveBy(1);
    if (at < (Vertical() ? thumb.top : thumb.left)) MoveBy(-1);
  } else if (FirstArrowRect().Contains(x, y)) {
    MoveBy(-1);
    flags |= kScrollFirstPressed;
  } else if (SecondArrowRect().Contains(x, y)) {
    MoveBy(1);
    flags |= kScrollSecondPressed;
  }
  dirty = 1;
  return 1;
}

i32 IScrollBar::OnMouseUp(i16, i16) {
  if (IsInactive()) return 0;
  flags &= static_cast<u8>(~kScrollTransient);
  dragging = 0;
  dirty = 1;
  return 1;
}

i32 IScrollBar::OnMouseMove(i16 x, i16 y) {
  if (IsInactive()) return 0;
  const int length = TrackLength();
  if (!dragging || length <= 0) return 1;
  const Rect track = TrackRect();
  const i64 along = Vertical() ? y - track.top : x - track.left;
  // In 64 bits: the range times the pointer's offset overflows 32.
  const i64 range = static_cast<i64>(maximum) - minimum;
  position = ClampTo(minimum + range * along / length, minimum, maximum);
  dirty = 1;
  return 1;
}

// ---- Drawing ----

void IScrollBar::DrawArrow(const Rect& r, int image, u8 pressedBit, u32 symbolColour,
                           Surface* target) {
  const u8 face = state == kControlDisabled ? kControlDisabled
                  : (flags & pressedBit)    ? kControlPressed
                                            : kControlNormal;
  DrawButtonFace(skin, r, face, target);
  const Image* symbol = skin->imagePack ? skin->imagePack->GetImage(image) : nullptr;
  if (!symbol) return;
  const int x = r.left + 1 + (r.Width() - symbol->width - 1) / 2;
  const int y = r.top + 1 + (r.Height() - symbol->height - 1) / 2;
  BlitMask(target, symbol, static_cast<i16>(x), static_cast<i16>(y), symbolColour, nullptr);
}

void IScrollBar::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  const bool disabled = state == kControlDisabled;
  const u32 symbolColour =
      skin->TextColour(colourIndex, disabled ? kControlDisabled : kControlNormal);
  const Rect track = TrackRect();
  if ((flags & kScrollTrackPressed) || state == kControlFocused)
    target->FillRect(skin->baseColour[kControlPressed], IntersectRect(track, rect));
  DrawRectOutline(*this, track, symbolColour, target);
  if (HasArrows()) {
    DrawArrow(FirstArrowRect(), Vertical() ? kArrowUpImage : kArrowLeftImage, kScrollFirstPressed,
              symbolColour, target);
    DrawArrow(SecondArrowRect(), Vertical() ? kArrowDownImage : kArrowRightImage,
              kScrollSecondPressed, symbolColour, target);
  }
  const u8 thumbFace = disabled                        ? kControlDisabled
                       : (flags & kScrollThumbPressed) ? kControlPressed
                                                       : kControlNormal;
  DrawButtonFace(skin, ThumbRect(), thumbFace, target);
}
