#include "ui/controls/edit.h"

#include <cstring>

#include "platform/color_ramp.h"
#include "platform/image.h"
#include "platform/key_codes.h"
#include "platform/str.h"
#include "ui/app_context.h"
#include "ui/controls/control_drawing.h"
#include "ui/font.h"

namespace {

constexpr int kTextMargin = 5;  // from the left edge to the first character

}  // namespace

IEdit::IEdit() { std::memset(allowed, 1, sizeof allowed); }

IEdit* IEdit::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new IEdit(), skin, capacity);
}

void IEdit::Place(const Rect& r, const char* newText) {
  IControl::Place(r, newText);
  SetState(kControlNormal);
}

void IEdit::SetAllowedChars(const char* chars) {
  std::memset(allowed, 0, sizeof allowed);
  if (!chars) return;
  for (const u8* p = reinterpret_cast<const u8*>(chars); *p; ++p) {
    if (*p >= kEditFirstChar && *p <= kEditLastChar) allowed[*p - kEditFirstChar] = 1;
  }
}

void IEdit::Clear() {
  if (!text) return;
  text[0] = '\0';
  caret = 0;
}

void IEdit::CaretToEnd() {
  if (text) caret = static_cast<u8>(Length());
}

u8 IEdit::IsAllowed(u8 c) const {
  if (c < kEditFirstChar || c > kEditLastChar) return 0;
  return allowed[c - kEditFirstChar];
}

int IEdit::Length() const { return text ? StrLen(text) : 0; }

int IEdit::CharWidth(char c) const {
  const char one[2] = {c, '\0'};
  return TextWidth(skin, one);
}

int IEdit::CaretX() const {
  int x = rect.left + kTextMargin;
  for (int i = 0; i < caret && text && text[i]; ++i) x += CharWidth(text[i]);
  return x;
}

void IEdit::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  const int y = (rect.top + rect.bottom - 12) / 2;
  // A preset text wider than the field (typing never makes one) shows only
  // as much of it as fits inside the border.
  char shown[256];
  StrNCpy(shown, Text(), sizeof shown - 1);
  for (int n = StrLen(shown); n > 0 && !FitsWidth(TextWidth(skin, shown)); --n) shown[n - 1] = '\0';
  DrawText(skin, target, shown, static_cast<i16>(rect.left + kTextMargin), static_cast<i16>(y),
           state == kControlDisabled ? kControlDisabled : kControlNormal, colourIndex, nullptr);
  const u32 border = TintColor(skin->baseColour[state], kBorderTint);
  DrawRectOutline(*this, rect, border, target);
  if (state == kControlFocused && blinkCounter < 0) {
    const int x = CaretX();
    target->DrawLineClipped(x, y - 2, x, y + 14, border, rect);
  }
  // BeginDraw cleared the dirty flag; changed stays as it is.
}

void IEdit::Tick() {
  if (!text || state != kControlFocused) return;
  if (--blinkCounter < -10) {
    blinkCounter = static_cast<i16>(-blinkCounter);
    changed = 1;
  }
}

bool IEdit::FitsWidth(int width) const { return width < rect.right - rect.left - kTextMargin; }

bool IEdit::Fits(const char* one) const {
  return FitsWidth(TextWidth(skin, Text()) + TextWidth(skin, one));
}

void IEdit::ReplaceIfFirst() {
  if (replaceOnFirstInput) Clear();
  replaceOnFirstInput = 0;
}

i32 IEdit::OnChar(i32 character) {
  if (character < kEditFirstChar || character > kEditLastChar) return 0;
  const char c = static_cast<char>(character);
  if (!text || !IsAllowed(static_cast<u8>(c)) || Length() >= capacity) return 1;
  ReplaceIfFirst();
  const char one[2] = {c, '\0'};
  if (!Fits(one)) return 0;
  StrInsertChar(text, c, caret);
  ++caret;
  changed = 1;
  return 1;
}

i32 IEdit::OnKeyDown(u32 keysym) {
  if (!text) return 0;
  const u32 key = KeysymToKey(keysym);
  // Every key but the caret keys and BackSpace wipes a preset text.
  if (replaceOnFirstInput && key != kKeyLeft && key != kKeyRight && key != kKeyBackSpace) Clear();
  const int length = Length();
  switch (key) {
    case kKeyLeft:
      if (caret > 0) --caret;
      changed = 1;
      break;
    case kKeyRight:
      if (caret < length) ++caret;
      changed = 1;
      break;
    case kKeySpace:
      if (!Fits(" ")) return 0;  // the replace flag stays
      if (caret <= length && length < capacity) {
        StrInsertChar(text, ' ', caret);
        ++caret;
        changed = 1;
      }
      break;
    case kKeyBackSpace:
      if (caret > 0) {
        --caret;
        StrDeleteChars(text, caret, 1);
        changed = 1;
      }
      break;
    case kKeyDelete:
      if (caret < length) {
        StrDeleteChars(text, caret, 1);
        changed = 1;
      }
      break;
    default:
      break;  // taken, without an effect
  }
  replaceOnFirstInput = 0;
  return 1;
}

i32 IEdit::OnMouseDown(i16 x, i16) {
  int right = rect.left + kTextMargin;
  int after = 0;
  for (int i = 0; text && text[i]; ++i) {
    right += CharWidth(text[i]);
    if (right > x) break;
    after = i + 1;
  }
  caret = static_cast<u8>(after);
  replaceOnFirstInput = 0;
  return 1;
}
