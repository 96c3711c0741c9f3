#include "ui/interface.h"

#include <algorithm>
#include <vector>

#include "platform/color_ramp.h"
#include "platform/key_codes.h"
#include "platform/system.h"
#include "platform/window.h"
#include "ui/controls/control.h"
#include "ui/controls/control_group.h"
#include "ui/wnd_manager.h"

u32 OutlineColour() { return TintColor(0xFFFFFF, 96); }

void DrawClippedLine(Surface* target, int x1, int y1, int x2, int y2, u32 colour,
                     const Rect& clip) {
  if (target) target->DrawLineClipped(x1, y1, x2, y2, colour, clip);
}

IInterface* IInterface::Create(IWndManager* window, i16 capacity, i16 result) {
  IInterface* screen = new IInterface();
  CheckAlloc(screen);
  screen->Init(window, capacity, result);
  return screen;
}

IInterface::~IInterface() {
  if (!controls) return;
  if (ownsControls) {
    for (IControl* control : *controls) delete control;
  }
  delete controls;
}

void IInterface::Init(IWndManager* window, i16 capacity, i16 code) {
  delete controls;
  controls = new PointerList<IControl>(capacity > 0 ? capacity : 0);
  result = code;
  screenStack = window->GetScreenStack();
  OEngine::Init(window, window->GetImagePack(), window->GetClipList(), window->GetDirtyList());
}

i32 IInterface::OnInit() {
  chosen = nullptr;
  keyLatch = 0;
  resume = 1;
  return 1;
}

IWndManager* IInterface::Manager() const { return static_cast<IWndManager*>(window); }

bool IInterface::AddControl(IControl* control) { return controls && controls->Add(control); }

IControl* IInterface::ControlAt(int index) const {
  return controls ? controls->At(index) : nullptr;
}

int IInterface::ControlCount() const { return controls ? controls->Count() : 0; }

bool IInterface::Focusable(const IControl* control) { return control && !control->IsInactive(); }

Surface* IInterface::Canvas() const {
  Surface* target = window ? window->BackBuffer() : nullptr;
  if (target) target->Lock();
  return target;
}

void IInterface::Redraw(IControl* control) {
  Surface* target = Canvas();
  if (control && target) control->Draw(target);
}

void IInterface::Invalidate(const Rect& r) {
  if (window) window->UpdateRect(r);
}

void IInterface::DrawAllControls() {
  Surface* target = Canvas();
  if (!target || !controls) return;
  for (IControl* control : *controls) control->Draw(target);
}

void IInterface::DrawControl(int index) { Redraw(ControlAt(index)); }

// ---- State and animation ----

void IInterface::SetState(u8 s) {
  state = s;
  switch (s) {
    case kScreenOpening:
      framesLeft = kOutlineFrames;
      stepX = static_cast<i16>(frame.Width() / 20);
      stepY = static_cast<i16>(frame.Height() / 20);
      outline = Rect(frame.left + kOutlineFrames * stepX, frame.top + kOutlineFrames * stepY,
                     frame.right - kOutlineFrames * stepX, frame.bottom - kOutlineFrames * stepY);
      break;
    case kScreenClosing:
      framesLeft = kOutlineFrames;
      outline = frame;
      break;
    case kScreenOpen:
      if (ControlAt(focus)) SetFocus(focus);
      break;
    default:
      break;
  }
}

i32 IInterface::Tick() {
  switch (state) {
    case kScreenOpening:
    case kScreenClosing:
      TickAnimation();
      break;
    case kScreenOpen:
      TickControls();
      break;
    default:
      break;
  }
  // A control that became disabled or hidden while focused hands the focus on.
  if (IControl* focused = FocusedControl()) {
    if (focused->IsInactive()) MoveFocus(true, false);
  }
  return 1;
}

void IInterface::TickAnimation() {
  const bool opening = state == kScreenOpening;
  if (--framesLeft >= 0) {
    DrawScene();
    DrawOutline();
    // Opening grows the outline toward the frame, closing shrinks it.
    const int dx = opening ? stepX : -stepX;
    const int dy = opening ? stepY : -stepY;
    outline = Rect(outline.left - dx, outline.top - dy, outline.right + dx, outline.bottom + dy);
    Invalidate(frame);
    return;
  }
  if (opening) {
    MoveFocus(true, true);
    DrawAllControls();
    SetState(kScreenOpen);
  } else {
    // The last outline goes: what lies under the screen shows again.
    DrawScene();
    SetState(kScreenClosed);
  }
  Invalidate(frame);
}

void IInterface::TickControls() {
  if (!controls) return;
  for (IControl* control : *controls) {
    control->Tick();
    if (control->IsDirty()) {
      Redraw(control);
      Invalidate(control->rect);
    }
  }
}

void IInterface::DrawScene() {
  DrawAll();
  if (!screenStack) return;
  const int below = screenStack->Count() - 1;  // every screen but the top one
  for (int i = 0; i < below; ++i) screenStack->At(i)->DrawAllControls();
}

void IInterface::DrawOutline() {
  Surface* target = Canvas();
  if (!target) return;
  const u32 colour = OutlineColour();
  const Rect& o = outline;
  DrawClippedLine(target, o.left, o.top, o.right, o.top, colour, o);
  DrawClippedLine(target, o.left, o.bottom, o.right, o.bottom, colour, o);
  DrawClippedLine(target, o.left, o.top, o.left, o.bottom, colour, o);
  DrawClippedLine(target, o.right, o.top, o.right, o.bottom, colour, o);
}

// ---- Focus ----

void IInterface::SetFocus(int index) {
  IControl* next = ControlAt(index);
  if (!Focusable(next)) return;
  IControl* old = focus >= 1 ? ControlAt(focus) : nullptr;
  Rect area = next->rect;
  if (old && old->state == kControlFocused) {
    old->SetState(kControlNormal);
    Redraw(old);
    area = UnionRect(area, old->rect);
  }
  focus = static_cast<i16>(index);
  next->SetState(kControlFocused);
  Redraw(next);
  Invalidate(area);
}

void IInterface::SetFocusTo(IControl* control) {
  for (int i = 0; i < ControlCount(); ++i) {
    if (controls->At(i) != control) continue;
    if (state == kScreenOpen) {
      SetFocus(i);
    } else {
      focus = static_cast<i16>(i);
    }
    return;
  }
}

void IInterface::MoveFocus(bool forward, bool reset) {
  if (reset && focus > 0) return;  // the screen chose its focus itself
  const int count = ControlCount();
  if (count == 0) return;
  IControl* old = focus >= 1 ? ControlAt(focus) : nullptr;
  if (old && old->state == kControlFocused) {
    old->SetState(kControlNormal);
    Redraw(old);
    if (!reset) Invalidate(old->rect);
  } else {
    old = nullptr;
  }
  int candidate = reset ? 0 : focus + (forward ? 1 : -1);
  if (candidate < 0) candidate = count - 1;
  if (candidate >= count) candidate = 0;
  const int step = forward ? 1 : count - 1;
  int i = candidate;
  while (controls->At(i)->state != kControlNormal) {
    i = (i + step) % count;
    if (i == candidate) {  // none can take the focus
      focus = static_cast<i16>(candidate);
      return;
    }
  }
  focus = static_cast<i16>(i);
  IControl* next = controls->At(i);
  next->SetState(kControlFocused);
  Redraw(next);
  if (!reset) Invalidate(old ? UnionRect(old->rect, next->rect) : next->rect);
}

void IInterface::ChooseFocused() {
  IControl* focused = FocusedControl();
  if (!Focusable(focused)) return;
  chosen = focused;
  focused->SetState(kControlFocused);
  Redraw(focused);
  Invalidate(focused->rect);
}

void IInterface::PressFocused() {
  IControl* focused = FocusedControl();
  if (!Focusable(focused)) return;
  Rect area = focused->rect;
  if (focused->groupId != 0) {
    for (IControl* control : *controls) {
      if (control->groupId != focused->groupId || !control->IsChecked()) continue;
      control->SetChecked(0);
      Redraw(control);
      area = UnionRect(area, control->rect);
      break;
    }
  }
  focused->SetState(kControlPressed);
  Redraw(focused);
  Invalidate(area);
}

// ---- Radio groups ----

i16 IInterface::GetGroupIndex(u8 group) const {
  return controls ? ::GetGroupIndex(*controls, group) : -1;
}

void IInterface::SetGroupIndex(u8 group, int n) {
  if (controls) ::SetGroupIndex(*controls, group, n);
}

i16 IInterface::UncheckGroup(u8 group) { return controls ? ::UncheckGroup(*controls, group) : -1; }

// ---- Keys ----

i32 IInterface::OnKeyDown(u32 keysym) {
  if (state != kScreenOpen) return 0;
  IControl* focused = FocusedControl();
  if (Focusable(focused) && focused->OnKeyDown(keysym)) return 1;
  // One focus step per key press: repeats wait for a key release.
  if (keyLatch) return 1;
  keyLatch = 1;
  switch (KeysymToKey(keysym)) {
    case kKeyUp:
    case kKeyLeft:
      MoveFocus(false, false);
      break;
    case kKeyRight:
    case kKeyDown:
      MoveFocus(true, false);
      break;
    case kKeySpace:
      PressFocused();
      spacePressed = 1;
      break;
    default:
      break;
  }
  return 1;
}

i32 IInterface::OnKeyUp(u32 keysym) {
  if (state != kScreenOpen) return 0;
  IControl* focused = FocusedControl();
  if (Focusable(focused)) focused->OnKeyUp(keysym);
  if (KeysymToKey(keysym) == kKeySpace) {
    if (spacePressed) ChooseFocused();
    spacePressed = 0;
  }
  keyLatch = 0;
  return 1;
}

i32 IInterface::OnChar(char c) {
  if (state != kScreenOpen) return 0;
  if (IControl* focused = FocusedControl()) focused->OnChar(static_cast<u8>(c));
  return 1;
}

// ---- Pointer ----

i32 IInterface::OnMouseDown(i16 x, i16 y) {
  if (state != kScreenOpen || ControlCount() < 2) return 0;
  for (int i = 1; i < ControlCount(); ++i) {
    IControl* control = controls->At(i);
    if (!Focusable(control) || !control->HitTest(x, y)) continue;
    control->OnMouseDown(x, y);
    SetFocus(i);
    PressFocused();
    pointerPressed = 1;
    return 1;
  }
  return 0;
}

i32 IInterface::OnMouseUp(i16 x, i16 y) {
  if (state != kScreenOpen) return 1;
  for (int i = 0; i < ControlCount(); ++i) {
    IControl* control = controls->At(i);
    if (Focusable(control) && control->HitTest(x, y)) {
      control->OnMouseUp(x, y);
      if (i == focus) {
        if (pointerPressed) ChooseFocused();
      } else {
        SetFocus(i);
      }
    }
    if (control->state == kControlPressed) control->SetState(kControlNormal);
  }
  pointerPressed = 0;
  DrawAllControls();
  Invalidate(frame);
  return 0;
}

i32 IInterface::OnMouseMove(i16 x, i16 y) {
  if (!controls) return 0;
  for (IControl* control : *controls) {
    if (Focusable(control) && control->HitTest(x, y)) control->OnMouseMove(x, y);
  }
  return 0;
}

// ---- Grid layout ----

void IInterface::LayoutGrid(const PointerList<IControl>& list, const Rect& rect, int rows, int cols,
                            u8 mode, int gap) {
  LayoutGrid(list.begin(), list.Count(), rect, rows, cols, mode, gap);
}

void IInterface::LayoutGrid(IControl* const* list, int count, const Rect& rect, int rows, int cols,
                            u8 mode, int gap) {
  if (!list || count <= 0 || rows <= 0 || cols <= 0) return;
  const int usedRows = std::min(rows, (count + cols - 1) / cols);
  const int placed = std::min(count, usedRows * cols);
  // Row heights and, for column widths, the widest control of each column.
  std::vector<int> rowHeight(static_cast<size_t>(usedRows), 0);
  std::vector<int> colWidth(static_cast<size_t>(cols), 0);
  for (int i = 0; i < placed; ++i) {
    rowHeight[i / cols] = std::max(rowHeight[i / cols], list[i]->rect.Height());
    colWidth[i % cols] = std::max(colWidth[i % cols], list[i]->rect.Width());
  }
  int used = 0;
  for (int h : rowHeight) used += gap + h;
  const int spacing = (rect.Height() - used - 2 * gap) / rows;
  // Even columns step in 8.8 fixed point; each column rounds to a pixel.
  const i32 column = ((rect.Width() - 2 * gap) << 8) / cols;

  int top = rect.top + gap;
  for (int row = 0; row < usedRows; ++row) {
    int x = rect.left + gap;
    for (int col = 0; col < cols && row * cols + col < placed; ++col) {
      IControl* control = list[row * cols + col];
      if (mode == kGridEvenColumns) x = rect.left + gap + ((col * column + 128) >> 8);
      const int w = control->rect.Width();
      const int h = control->rect.Height();
      control->rect = Rect(x, top, x + w - 1, top + h - 1);
      x += (mode == kGridColumnWidths ? colWidth[col] : w) + gap;
    }
    top += spacing + rowHeight[row] + (mode == kGridColumnWidths ? 0 : gap);
  }
}
