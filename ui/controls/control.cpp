#include "ui/controls/control.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/image.h"
#include "platform/system.h"
#include "ui/app_context.h"

void NoteAllocation(const void* object) { CheckAlloc(object); }

IControl* IControl::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new IControl(), skin, capacity);
}

IControl::~IControl() { std::free(text); }

void IControl::Init(SkinContext* newSkin, u8 newCapacity) {
  skin = newSkin;
  if (newCapacity == 0) return;
  std::free(text);
  text = static_cast<char*>(std::calloc(static_cast<size_t>(newCapacity) + 1, 1));
  capacity = text ? newCapacity : 0;
}

void IControl::Place(const Rect& r, const char* newText) {
  rect = r;
  if (newText) SetText(newText);
  SetState(kControlNormal);
}

void IControl::SetText(const char* newText) {
  if (!text || !newText) return;
  // A text longer than the buffer is cut to fit rather than refused, so the
  // control never goes on showing the previous text.
  size_t length = strnlen(newText, capacity);
  std::memcpy(text, newText, length);
  text[length] = '\0';
  dirty = 1;
}

void IControl::Draw(Surface*) { dirty = 0; }

i32 IControl::OnKeyDown(u32) { return 0; }
i32 IControl::OnKeyUp(u32) { return 0; }
i32 IControl::OnChar(i32) { return 0; }
i32 IControl::OnMouseDown(i16, i16) { return 0; }
i32 IControl::OnMouseUp(i16, i16) { return 0; }
i32 IControl::OnMouseMove(i16, i16) { return 0; }

void IControl::SetState(u8 newState) {
  dirty = newState != state ? 1 : 0;
  state = newState;
}

void IControl::SetChecked(u8 flag) {
  dirty = flag != checked ? 1 : 0;
  checked = flag;
}

bool IControl::BeginDraw(Surface* target) {
  dirty = 0;
  if (!target) return false;
  if (skin) target->FillRect(skin->fillColour, rect);
  // States past hidden have no colours either.
  return skin && state < kControlHidden;
}

u8 TextCapacity(const char* text) {
  return static_cast<u8>(std::min<size_t>(text ? std::strlen(text) : 0, 255));
}

void DrawRectOutline(const IControl& control, const Rect& r, u32 colour, Surface* target) {
  if (!target) return;
  target->DrawLineClipped(r.left, r.top, r.right, r.top, colour, control.rect);
  target->DrawLineClipped(r.left, r.bottom, r.right, r.bottom, colour, control.rect);
  target->DrawLineClipped(r.left, r.top, r.left, r.bottom, colour, control.rect);
  target->DrawLineClipped(r.right, r.top, r.right, r.bottom, colour, control.rect);
}
