#include "shell/keyboard_wnd.h"

#include <algorithm>
#include <cstring>

#include "platform/key_codes.h"
#include "platform/str.h"
#include "platform/system.h"
#include "platform/window.h"
#include "ui/alert.h"
#include "ui/app_context.h"
#include "ui/controls/edit.h"
#include "ui/controls/frame.h"
#include "ui/font.h"
#include "ui/language.h"
#include "ui/place_rect.h"
#include "ui/wnd_manager.h"

const char kKeyboardLayout[2 * kKeyboardCharKeys + 1] =
    "!@#$%^&*()_"
    "QWERTYUIOP+"
    "ASDFGHJKL:?"
    "ZXCVBNM<>\"`"
    "1234567890-"
    "qwertyuiop="
    "asdfghjkl;/"
    "zxcvbnm,.'\\";

namespace {

constexpr i16 kKeyboardControls = 80;
constexpr u8 kKeyCapCapacity = 10;
constexpr int kColumns = 11;
constexpr int kRows = 4;
// The special keys' labels are the same in every language.
const char* const kSpecialLabels[kKeyboardKeys - kKeyboardCharKeys] = {
    "CAPS", "SHIFT", "      ", "BSP", "DEL", "CLR"};

bool IsHexDigit(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

}  // namespace

// ---- Key caps ----

IKeybButton* IKeybButton::Create(SkinContext* skin, u8 capacity) {
  return InitControl(new IKeybButton(), skin, capacity);
}

void IKeybButton::SetState(u8 newState) {
  if (newState == kControlNormal) newState = kControlDisabled;
  IControl::SetState(newState);
}

void IKeybButton::Draw(Surface* target) {
  if (state == kControlHidden) {
    dirty = 0;
    return;
  }
  const u8 stored = state;
  u8 look = stored == kControlDisabled ? u8{kControlNormal} : stored;
  if (checked && look == kControlNormal) look = kControlPressed;
  if (greyed) look = kControlDisabled;
  state = look;
  IButton::Draw(target);
  state = stored;
}

// ---- The screen ----

IKeyboardWnd* IKeyboardWnd::Create(IWndManager* window, i16 result, char* target, u8 maxLength,
                                   const char* title, u8 hexOnly) {
  IKeyboardWnd* screen = new IKeyboardWnd();
  CheckAlloc(screen);
  screen->Init(window, result, target, maxLength, title, hexOnly);
  return screen;
}

void IKeyboardWnd::Init(IWndManager* window, i16 code, char* newTarget, u8 newMaxLength,
                        const char* newTitle, u8 newHexOnly) {
  context = window->context;
  skin = context->skin;
  const GLanguage& language = *context->language;
  // Titles longer than the member holds are cut.
  StrNCpy(title, newTitle ? newTitle : "", kKeyboardTitleSize - 1);
  windowFrame = IWinFrame::Create(skin, static_cast<u8>(StrLen(title)));
  ok = IButton::Create(skin, TextCapacity(language.GetString(kTextOk)));
  cancel = IButton::Create(skin, TextCapacity(language.GetString(kTextCancel)));
  edit = IEdit::Create(skin, newMaxLength);
  keyFrame = IFrame::Create(skin, 0);
  for (IKeybButton*& key : keys) key = IKeybButton::Create(skin, kKeyCapCapacity);
  target = newTarget;
  maxLength = newMaxLength;
  hexOnly = newHexOnly;
  IInterface::Init(window, kKeyboardControls, code);
}

int IKeyboardWnd::KeySize() const { return 3 * ImageHeight(skin, kFirstGlyphImage) / 2; }

char IKeyboardWnd::KeyChar(int i) const {
  if (i < 0 || i >= kKeyboardCharKeys) return '\0';
  const int half = (caps ^ shift) ? 0 : kKeyboardCharKeys;
  return kKeyboardLayout[half + i];
}

i32 IKeyboardWnd::OnInit() {
  IInterface::OnInit();
  const GLanguage& language = *context->language;
  const int u = KeySize();

  // The box, centred, with the title.
  Rect box(0, 0, 11 * u + 40 - 1, 6 * u + 140 - 1);
  PlaceRect(box, Rect(0, 0, window->Width(), window->Height()), kPlaceCentre, 0);
  frame = box;
  windowFrame->Place(box, title);
  windowFrame->SetState(kControlDisabled);

  // The field at the top, under the title bar, with the starting text.
  Rect field(0, 0, 11 * u + 20 - 1, 24 - 1);
  PlaceRect(field, box, kPlaceTop, 10);
  field = Rect(field.left, field.top + 18, field.right, field.bottom + 18);
  edit->Place(field, target ? target : "");
  edit->SetState(kControlFocused);

  PlaceKeys(u);

  Rect keysBox(0, 0, 11 * u + 20 - 1, 6 * u + 26 - 1);
  PlaceRect(keysBox, box, kPlaceCentreX, 0);
  keysBox = Rect(keysBox.left, field.bottom + 10, keysBox.right, field.bottom + 10 + 6 * u + 25);
  keyFrame->Place(keysBox, "");
  keyFrame->SetState(kControlDisabled);

  // Cancel in the bottom-right corner, Ok to its left.
  const char* okText = language.GetString(kTextOk);
  const char* cancelText = language.GetString(kTextCancel);
  const int bw = DialogButtonWidth(skin, language);
  Rect cancelRect(0, 0, bw - 1, 32 - 1);
  PlaceRect(cancelRect, box, kPlaceBottomRight, 10);
  cancel->Place(cancelRect, cancelText);
  const int okRight = cancelRect.left - 11;
  ok->Place(Rect(okRight - bw + 1, cancelRect.top, okRight, cancelRect.bottom), okText);

  AddControl(windowFrame);
  AddControl(keyFrame);
  AddControl(ok);
  AddControl(cancel);
  AddControl(edit);
  for (int i = 0; i < kKeyboardKeys; ++i) {
    keys[i]->groupId = static_cast<u8>(i + 1);
    keys[i]->SetState(kControlDisabled);  // the normal look; never focused
    AddControl(keys[i]);
  }
  SetState(kScreenOpening);
  SetFocusTo(ok);
  returnFocus = ok;
  edit->CaretToEnd();
  UpdateKeyLabels();
  return 1;
}

void IKeyboardWnd::PlaceKeys(int u) {
  // Four rows of eleven touching keys, one pixel apart from row to row.
  const char one[2] = {'\0', '\0'};
  for (int i = 0; i < kKeyboardCharKeys; ++i) keys[i]->Place(Rect(0, 0, u - 1, u - 1), one);
  Rect grid(0, 0, kColumns * u - 1, kRows * u + 4 - 1);
  PlaceRect(grid, frame, kPlaceCentreX, 0);
  const int gridTop = edit->rect.bottom + 20;
  grid = Rect(grid.left, gridTop, grid.right, gridTop + kRows * u + 3);
  IControl* list[kKeyboardCharKeys];
  std::copy(keys, keys + kKeyboardCharKeys, list);
  LayoutGrid(list, kKeyboardCharKeys, grid, kRows, kColumns, kGridEvenColumns, 0);
  // Two rows of special keys below, each centred on the row above it.
  const Rect first = PlaceSpecialRow(kKeyCaps, grid, grid.bottom + 1, u);
  PlaceSpecialRow(kKeyBsp, first, first.bottom + 2, u);
}

Rect IKeyboardWnd::PlaceSpecialRow(int first, const Rect& across, int top, int u) {
  int width = 0;
  for (int i = first; i < first + 3; ++i) {
    const char* label = kSpecialLabels[i - kKeyboardCharKeys];
    const int w = 3 * TextWidth(skin, label) / 2;
    keys[i]->Place(Rect(0, 0, w - 1, u - 1), label);
    width += w;
  }
  Rect row(0, 0, width - 1, u - 1);
  PlaceRect(row, across, kPlaceCentreX, 0);
  row = Rect(row.left, top, row.right, top + u - 1);
  IControl* list[3] = {keys[first], keys[first + 1], keys[first + 2]};
  LayoutGrid(list, 3, row, 1, 3, kGridColumnWidths, 0);
  return row;
}

void IKeyboardWnd::UpdateKeyLabels() {
  if (hexOnly) {
    edit->SetAllowedChars("0123456789abcdefABCDEF");
    keys[kKeySpaceBar]->greyed = 1;
  }
  for (int i = 0; i < kKeyboardCharKeys; ++i) {
    const char label[2] = {KeyChar(i), '\0'};
    keys[i]->SetText(label);
    if (hexOnly) keys[i]->greyed = IsHexDigit(label[0]) ? 0 : 1;
    keys[i]->dirty = 1;
  }
  keys[kKeyShift]->SetChecked(static_cast<u8>(shift));
  keys[kKeyShift]->dirty = 1;
}

int IKeyboardWnd::IndexOf(const IControl* control) const {
  for (int i = 0; i < kKeyboardKeys; ++i) {
    if (keys[i] == control) return i;
  }
  return -1;
}

int IKeyboardWnd::KeyAt(int x, int y) const {
  for (int i = 0; i < kKeyboardKeys; ++i) {
    if (keys[i]->HitTest(x, y)) return i;
  }
  return -1;
}

// ---- Frames ----

i32 IKeyboardWnd::Tick() {
  IInterface::Tick();
  if (state != kScreenOpen) {
    chosen = nullptr;  // keys clicked during the opening are not entered
    return 1;
  }
  edit->SetState(kControlFocused);  // the field always looks focused
  if (keys[kKeyCaps]->IsChecked() != caps) keys[kKeyCaps]->SetChecked(static_cast<u8>(caps));
  if (chosen) ActOn(chosen);
  chosen = nullptr;
  return 1;
}

void IKeyboardWnd::ActOn(IControl* control) {
  if (control == ok) {
    // The target holds the maximum length and the terminator.
    if (target) StrNCpy(target, edit->Text(), maxLength);
    resume = 0;
    SetState(kScreenClosing);
    return;
  }
  if (control == cancel) {
    resume = 1;
    SetState(kScreenClosing);
    return;
  }
  const int i = IndexOf(control);
  if (i >= 0 && i < kKeyboardCharKeys) {
    edit->OnChar(static_cast<u8>(KeyChar(i)));
  } else if (i == kKeySpaceBar) {
    edit->OnKeyDown(KeyToKeysym(kKeySpace));
  } else if (i == kKeyBsp) {
    edit->OnKeyDown(KeyToKeysym(kKeyBackSpace));
  } else if (i == kKeyDel) {
    edit->OnKeyDown(KeyToKeysym(kKeyDelete));
  } else if (i == kKeyClr) {
    edit->Clear();
  } else if (i == kKeyCaps) {
    caps ^= 1;
    keys[kKeyCaps]->SetChecked(static_cast<u8>(caps));
    UpdateKeyLabels();
  } else if (i == kKeyShift) {
    shift ^= 1;
    UpdateKeyLabels();
    return;  // SHIFT waits for the next key
  }
  // SHIFT holds for one key only; the shifted character is already typed.
  if (shift) {
    shift = 0;
    UpdateKeyLabels();
  }
}

// ---- Input ----

i32 IKeyboardWnd::OnKeyDown(u32 keysym) {
  if (state != kScreenOpen) return 0;
  const u32 key = KeysymToKey(keysym);
  edit->SetState(kControlDisabled);  // the field takes no part in the focus moves
  if (key == kKeyBackSpace || key == kKeyDelete) edit->OnKeyDown(keysym);
  IInterface::OnKeyDown(keysym);
  edit->SetState(kControlFocused);
  returnFocus = FocusedControl();
  if (key == kKeyEscape) chosen = cancel;
  if (key == kKeyReturn) chosen = ok;
  return 1;
}

i32 IKeyboardWnd::OnChar(char c) {
  edit->OnChar(static_cast<u8>(c));
  return 1;
}

i32 IKeyboardWnd::OnMouseDown(i16 x, i16 y) {
  const int key = KeyAt(x, y);
  if (key >= 0) {
    // A key is entered as it goes down.
    chosen = keys[key];
    keys[key]->SetState(kControlPressed);
    return 1;
  }
  const bool inField = edit->HitTest(x, y) && !edit->IsInactive();
  const i32 handled = IInterface::OnMouseDown(x, y);
  if (inField && state == kScreenOpen && returnFocus) {
    // The caret moved; the keyboard focus stays on the buttons.
    returnFocus->SetState(kControlFocused);
    SetFocusTo(returnFocus);
  }
  return handled;
}

i32 IKeyboardWnd::OnMouseUp(i16 x, i16 y) {
  if (edit->HitTest(x, y) && !edit->IsInactive()) return 0;
  for (IKeybButton* key : keys) {
    if (key->State() != kControlDisabled) {
      key->SetState(kControlDisabled);
      return 0;
    }
  }
  return IInterface::OnMouseUp(x, y);
}
