// The popup menu: a vertical list of text items in a box centred in the
// window. The arrow keys or the pointer move over the items; Return, the
// space bar or a click chooses one, and the menu closes so that the window
// receives the item's command. Escape or a click outside the box closes it
// without a command.
#pragma once

#include "ui/interface.h"

class IMenuFrame;
struct SkinContext;

// Height of one menu row, separators included.
constexpr int kMenuItemHeight = 17;

class IMenu : public IInterface {
 public:
  // A menu with room for capacity controls (the frame and the items).
  static IMenu* Create(IWndManager* window, i16 capacity);
  ~IMenu() override;

  // Takes the skin from the window, makes the frame control, then
  // initialises the screen with the close command 0.
  void Init(IWndManager* window, i16 capacity);

  // Places the frame control (control 0) on the menu's frame.
  i32 OnInit() override;
  // Closes on the tick after a choice.
  i32 Tick() override;
  // Return chooses, Escape closes without a command.
  i32 OnKeyDown(u32 keysym) override;
  // A click outside the box closes the menu.
  i32 OnMouseDown(i16 x, i16 y) override;
  // Chooses the focused item: its command becomes the result.
  void ChooseFocused() override;

  // Appends an item; a text beginning with '-' is a disabled separator.
  // A full list ignores the call.
  void AddItem(const char* text, u8 command);
  void AddSeparator() { AddItem("-", 0); }
  // Sizes the box to the widest item and the item count, centres it in the
  // window and places the items. Call after adding the items, then open
  // with SetState(kScreenOpening).
  void Layout();

 protected:
  IMenu() = default;

  IMenuFrame* frameControl = nullptr;  // control 0
  SkinContext* skin = nullptr;
};
