#include "ui/controls/list_box.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/color_ramp.h"
#include "platform/image.h"
#include "platform/key_codes.h"
#include "ui/app_context.h"
#include "ui/controls/control_drawing.h"
#include "ui/controls/frame.h"
#include "ui/controls/scroll_bar.h"
#include "ui/font.h"

namespace {

constexpr int kRowPitch = 17;
constexpr int kCaptionHeight = 12;  // the text area starts below it
constexpr int kScrollBarWidth = 20;
constexpr i32 kRowUnits = 256;  // scroll bar units per row

char* CopyText(const char* text, size_t length) {
  char* copy = static_cast<char*>(std::malloc(length + 1));
  if (!copy) return nullptr;
  std::memcpy(copy, text, length);
  copy[length] = '\0';
  return copy;
}

}  // namespace

IListBox* IListBox::Create(SkinContext* skin, u8 textCapacity, i16 itemCapacity) {
  IListBox* box = new IListBox();
  NoteAllocation(box);
  box->Init(skin, textCapacity, itemCapacity);
  return box;
}

IListBox::~IListBox() {
  FreeItems();
  delete scrollBar;
}

void IListBox::Init(SkinContext* newSkin, u8 textCapacity, i16 itemCapacity) {
  IControl::Init(newSkin, textCapacity);
  FreeItems();
  capacity = std::max<i16>(itemCapacity, 0);
  items = static_cast<char**>(std::calloc(static_cast<size_t>(capacity) + 1, sizeof(char*)));
  if (!items) capacity = 0;
  delete scrollBar;
  scrollBar = IScrollBar::Create(newSkin);
}

void IListBox::FreeItems() {
  for (int i = 0; i < count; ++i) std::free(items[i]);
  std::free(items);
  items = nullptr;
  selection = capacity = count = firstRow = 0;
}

void IListBox::Setup(const Rect& r, const char* caption, i16 n, const char* const* texts) {
  Place(r, caption);
  if (n > 0 && texts) {
    FreeItems();
    items = static_cast<char**>(std::calloc(static_cast<size_t>(n) + 1, sizeof(char*)));
    if (items) {
      for (; count < n; ++count) {
        const char* text = texts[count] ? texts[count] : "";
        items[count] = CopyText(text, std::strlen(text));
      }
      capacity = n;
    }
  }
  // Set up for the items held, also when they came through AddItem.
  scrollBar->Setup(Rect(rect.right - kScrollBarWidth + 1, rect.top, rect.right, rect.bottom),
                   kScrollVertical | kScrollArrows, 0, ScrollMaximum(), firstRow * kRowUnits,
                   kRowUnits);
}

i32 IListBox::ScrollMaximum() const {
  const int rows = VisibleRows();
  return (count == rows ? count : count - rows) * kRowUnits;
}

void IListBox::AddItem(const char* text) {
  if (!items || !text || count >= capacity) return;
  int lines = 0;
  for (const char* p = text; *p; ++p) lines += *p == '\n';
  if (lines == 0) lines = 1;
  const char* line = text;
  for (int taken = 0; taken < lines && count < capacity; ++taken) {
    const char* end = std::strchr(line, '\n');
    const size_t length = end ? static_cast<size_t>(end - line) : std::strlen(line);
    items[count++] = CopyText(line, length);
    if (!end) break;
    line = end + 1;
  }
  if (Scrolling()) scrollBar->SetRange(0, ScrollMaximum());
  dirty = 1;
}

const char* IListBox::Item(int index) const {
  if (!items || index < 0 || index >= count) return nullptr;
  return items[index];
}

const char* IListBox::GetSelectedText() const { return Item(selection); }

void IListBox::Select(i16 index) {
  if (index < 0 || index >= count || index == selection) return;
  dirty = 1;
  const int rows = VisibleRows();
  // One page at most, toward the item.
  if (index < firstRow) firstRow = static_cast<i16>(std::max(firstRow - rows, 0));
  if (index >= firstRow + rows)
    firstRow = static_cast<i16>(std::min(firstRow + rows, count - rows));
  selection = index;
  if (Scrolling()) {
    i32 position = firstRow * kRowUnits;
    scrollBar->SetPos(position);
  }
}

void IListBox::SelectByText(const char* text) {
  if (!text) return;
  for (int i = 0; i < count; ++i) {
    if (items[i] && std::strcmp(items[i], text) == 0) {
      Select(static_cast<i16>(i));
      return;
    }
  }
}

// ---- Geometry ----

int IListBox::VisibleRows() const {
  // A list box too low for a row still shows one.
  return std::max((rect.bottom - rect.top - 11) / kRowPitch, 1);
}

Rect IListBox::TextArea() const {
  const int right = Scrolling() ? rect.right - 29 : rect.right - 10;
  return Rect(rect.left + 10, rect.top + kCaptionHeight, right, rect.bottom);
}

int IListBox::RowTextTop(int k) const {
  const int rows = VisibleRows();
  const int height = rect.bottom - (rect.top + kCaptionHeight) + 1;
  // The rows share the spare height above them; the one row of a list box
  // too low for it starts right under the caption.
  const int spare = std::max(height - kRowPitch * rows, 0);
  return rect.top + kCaptionHeight + spare / rows + kRowPitch * k;
}

// ---- Input ----

i32 IListBox::OnKeyDown(u32 keysym) {
  if (IsInactive()) return 0;
  switch (KeysymToKey(keysym)) {
    case kKeyUp:
      Select(static_cast<i16>(selection - 1));
      return 1;
    case kKeyDown:
      Select(static_cast<i16>(selection + 1));
      return 1;
    default:
      return 0;
  }
}

void IListBox::FollowScrollBar() {
  firstRow = static_cast<i16>(scrollBar->position / kRowUnits);
  dirty = 1;
}

i32 IListBox::OnMouseDown(i16 x, i16 y) {
  const Rect area = TextArea();
  const int shown = std::min(VisibleRows(), count - firstRow);
  for (int k = 0; k < shown; ++k) {
    const int bandTop = rect.top + 7 + kRowPitch * k;
    if (x >= area.left && x <= area.right && y >= bandTop && y <= bandTop + kRowPitch) {
      Select(static_cast<i16>(firstRow + k));
      return 1;
    }
  }
  if (Scrolling() && scrollBar->OnMouseDown(x, y)) FollowScrollBar();
  return 0;
}

i32 IListBox::OnMouseUp(i16 x, i16 y) {
  if (Scrolling()) {
    scrollBar->OnMouseUp(x, y);
    FollowScrollBar();
  }
  return 1;
}

i32 IListBox::OnMouseMove(i16 x, i16 y) {
  if (Scrolling()) {
    scrollBar->OnMouseMove(x, y);
    FollowScrollBar();
  }
  return 1;
}

void IListBox::SetState(u8 newState) {
  dirty = newState != state ? 1 : 0;
  state = newState;
  if (newState != kControlFocused) scrollBar->SetState(newState);
}

// ---- Drawing ----

void IListBox::Draw(Surface* target) {
  dirty = 0;
  if (!target || !skin) return;
  target->FillRect(skin->fillColour, rect);
  if (state >= kControlHidden || !items) return;
  const u8 look = state == kControlDisabled ? kControlDisabled : kControlNormal;
  DrawGroupFrame(*this, look, look, target);
  if (state == kControlFocused) {
    const Rect area = TextArea();
    const int y = RowTextTop(selection - firstRow);
    const Rect bar(area.left, y - 4, area.right, y + 12);
    // Only when the selected row is shown.
    if (rect.Contains(bar.left, bar.top) && rect.Contains(bar.right, bar.bottom)) {
      FillGradientV2(target, TintColor(skin->baseColour[kControlFocused], kFocusTint),
                     skin->baseColour[state], bar);
    }
  }
  DrawRows(target);
  if (Scrolling()) scrollBar->Draw(target);
}

void IListBox::DrawRows(Surface* target) {
  const Rect area = TextArea();
  const int shown = std::min(VisibleRows(), count - firstRow);
  for (int k = 0; k < shown; ++k) {
    const int index = firstRow + k;
    const int y = RowTextTop(k);
    const Rect clip = IntersectRect(Rect(area.left, y, area.right, y + 12), area);
    const u8 textState = state == kControlDisabled ? kControlDisabled
                         : index == selection      ? kControlFocused
                                                   : kControlNormal;
    DrawText(skin, target, items[index], static_cast<i16>(area.left), static_cast<i16>(y),
             textState, 0, &clip);
  }
}
