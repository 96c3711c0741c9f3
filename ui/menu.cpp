#include "ui/menu.h"

#include <algorithm>
#include <cstring>

#include "platform/key_codes.h"
#include "platform/system.h"
#include "platform/window.h"
#include "ui/app_context.h"
#include "ui/controls/menu_controls.h"
#include "ui/font.h"
#include "ui/wnd_manager.h"

namespace {

constexpr u8 kMenuGroup = 1;  // every item belongs to the menu's group

}  // namespace

IMenu* IMenu::Create(IWndManager* window, i16 capacity) {
  IMenu* menu = new IMenu();
  CheckAlloc(menu);
  menu->Init(window, capacity);
  return menu;
}

IMenu::~IMenu() {
  // The frame control is deleted with the list, unless the list had no
  // room for it.
  if (frameControl && !(controls && ownsControls && controls->At(0) == frameControl)) {
    delete frameControl;
  }
}

void IMenu::Init(IWndManager* window, i16 capacity) {
  skin = window->context->skin;
  frameControl = IMenuFrame::Create(skin, 5);
  IInterface::Init(window, capacity, 0);
}

i32 IMenu::OnInit() {
  IInterface::OnInit();
  frameControl->Place(frame, "Menu");
  frameControl->SetState(kControlDisabled);
  AddControl(frameControl);
  return 1;
}

void IMenu::AddItem(const char* text, u8 command) {
  if (!controls || controls->Count() >= controls->Capacity()) return;
  if (!text) text = "";
  const bool separator = text[0] == '-';
  const char* shown = separator ? "-" : text;
  const size_t length = std::min<size_t>(std::strlen(shown) + 1, 255);
  IMenuItem* item = IMenuItem::Create(skin, static_cast<u8>(length));
  item->Place(frame, shown);
  if (separator) item->SetState(kControlDisabled);
  item->groupId = kMenuGroup;
  item->commandId = command;
  AddControl(item);
}

void IMenu::Layout() {
  const int items = ControlCount() - 1;
  int widest = 0;
  for (int i = 1; i <= items; ++i) {
    const char* text = controls->At(i)->Text();
    if (text[0] != '-') widest = std::max<int>(widest, TextWidth(skin, text));
  }
  const int width = widest + 20;
  const int height = kMenuItemHeight * std::max(items, 0) + 12;
  const int left = (window->Width() - width) / 2;
  const int top = (window->Height() - height) / 2;
  frame = Rect(left, top, left + width - 1, top + height - 1);
  if (controls->At(0) == frameControl) frameControl->rect = frame;
  for (int i = 0; i < items; ++i) {
    const int y = frame.top + 6 + kMenuItemHeight * i;
    controls->At(i + 1)->rect = Rect(frame.left + 11, y, frame.right - 5, y + 16);
  }
}

void IMenu::ChooseFocused() {
  // Only an enabled item can be chosen: without a focus, or with every
  // item disabled, nothing is.
  auto* item = focus >= 1 ? dynamic_cast<IMenuItem*>(FocusedControl()) : nullptr;
  if (!item || item->IsInactive()) return;
  IInterface::ChooseFocused();
  result = item->commandId;
  resume = 0;
}

i32 IMenu::OnKeyDown(u32 keysym) {
  if (state != kScreenOpen) return 0;
  switch (KeysymToKey(keysym)) {
    case kKeyReturn:
      ChooseFocused();
      break;
    case kKeyEscape:
      SetState(kScreenClosing);  // resume stays 1: no command
      break;
    default:
      IInterface::OnKeyDown(keysym);
      break;
  }
  return 1;
}

i32 IMenu::OnMouseDown(i16 x, i16 y) {
  if (frame.Contains(x, y)) return IInterface::OnMouseDown(x, y);
  // Outside the box: the menu closes without a command (once open).
  if (state == kScreenOpen) SetState(kScreenClosing);
  return 1;
}

i32 IMenu::Tick() {
  IInterface::Tick();
  if (state == kScreenOpen && chosen) SetState(kScreenClosing);
  return 1;
}
