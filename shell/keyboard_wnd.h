// The on-screen keyboard: a titled box with a one-line edit field, 44
// character keys in four rows of eleven, CAPS, SHIFT, a space bar, BSP, DEL
// and CLR, and Ok and Cancel. The physical keyboard types into the field
// too. Ok copies the text into the caller's buffer and delivers the
// caller's result code; Cancel and Escape leave the buffer as it was.
#pragma once

#include "ui/controls/button.h"
#include "ui/interface.h"

class AppContext;
class IEdit;
class IFrame;
class IWinFrame;
struct SkinContext;

// A key cap: a button that never takes the keyboard focus (it never holds
// the normal state) and that shows a checked key pressed.
class IKeybButton : public IButton {
 public:
  static IKeybButton* Create(SkinContext* skin, u8 capacity);
  // A request for the normal state stores the disabled one, so focus moves
  // pass over the key.
  void SetState(u8 newState) override;
  // Stored disabled looks normal, checked looks pressed, greyed looks
  // disabled.
  void Draw(Surface* target) override;

  u32 greyed = 0;  // drawn disabled whatever the state; a look only

 protected:
  IKeybButton() = default;
};

// The keys of the screen after the 44 character keys.
enum KeyboardKey : int {
  kKeyboardCharKeys = 44,
  kKeyCaps = 44,
  kKeyShift = 45,
  kKeySpaceBar = 46,
  kKeyBsp = 47,
  kKeyDel = 48,
  kKeyClr = 49,
  kKeyboardKeys = 50,
};

// Characters of the 44 keys: the upper half when exactly one of SHIFT and
// CAPS is on, the lower half otherwise; key i is in row i / 11, column
// i % 11.
extern const char kKeyboardLayout[2 * kKeyboardCharKeys + 1];

constexpr int kKeyboardTitleSize = 152;  // the title, terminator included

class IKeyboardWnd : public IInterface {
 public:
  // A keyboard editing target (which holds at least maxLength + 1 bytes and
  // gives the starting text); Ok delivers result. With hexOnly only
  // hexadecimal digits can be typed. The caller pushes it.
  static IKeyboardWnd* Create(IWndManager* window, i16 result, char* target, u8 maxLength,
                              const char* title, u8 hexOnly);
  // Makes the controls, keeps the target and a copy of the title, then
  // initialises the screen (which lays it out).
  void Init(IWndManager* window, i16 result, char* target, u8 maxLength, const char* title,
            u8 hexOnly);

  // Lays out the box, the field, the keys and the buttons.
  i32 OnInit() override;
  // Acts on the key or button chosen.
  i32 Tick() override;
  // BackSpace and Delete edit; Return is Ok and Escape Cancel whatever has
  // the focus; the arrows and Space work the buttons.
  i32 OnKeyDown(u32 keysym) override;
  // Typed characters go to the field, also while the screen opens.
  i32 OnChar(char c) override;
  // A key cap is entered as it goes down; a click in the field moves the
  // caret and leaves the focus on the buttons.
  i32 OnMouseDown(i16 x, i16 y) override;
  i32 OnMouseUp(i16 x, i16 y) override;

  // The character of key i (0..43) with the present CAPS and SHIFT.
  char KeyChar(int i) const;
  // Relabels the character keys after a change of CAPS or SHIFT.
  void UpdateKeyLabels();

  IEdit* Edit() const { return edit; }
  IKeybButton* Key(int i) const { return i >= 0 && i < kKeyboardKeys ? keys[i] : nullptr; }
  IButton* OkButton() const { return ok; }
  IButton* CancelButton() const { return cancel; }
  const char* Title() const { return title; }
  bool CapsOn() const { return caps != 0; }
  bool ShiftOn() const { return shift != 0; }
  // Side of a character key: 3/2 of the font's glyph height.
  int KeySize() const;

 protected:
  IKeyboardWnd() = default;

 private:
  void PlaceKeys(int u);
  // Places a row of special keys from first to first + 2, centred on
  // across, its top at top.
  Rect PlaceSpecialRow(int first, const Rect& across, int top, int u);
  // Acts on a key cap or button chosen while open.
  void ActOn(IControl* control);
  int IndexOf(const IControl* control) const;
  int KeyAt(int x, int y) const;

  u8 hexOnly = 0;
  char* target = nullptr;
  char title[kKeyboardTitleSize] = {};
  IKeybButton* keys[kKeyboardKeys] = {};
  IButton* ok = nullptr;
  IButton* cancel = nullptr;
  IEdit* edit = nullptr;
  IWinFrame* windowFrame = nullptr;
  IFrame* keyFrame = nullptr;
  u32 caps = 0;
  u32 shift = 0;
  IControl* returnFocus = nullptr;  // gets the focus back after a click in the field
  AppContext* context = nullptr;
  SkinContext* skin = nullptr;
  u8 maxLength = 0;
};
