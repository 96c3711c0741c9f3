// The base of every screen and dialog: an engine that the window manager
// stacks over the game. It owns a list of controls, keeps one of them
// focused, moves the focus with the arrow keys, presses and chooses controls
// with the space bar and the pointer, redraws the controls that changed, and
// opens and closes with an outline animation over the screens below. When
// it closes it leaves a resume flag and a result code, which the window
// manager turns into a window command.
#pragma once

#include "platform/engine.h"
#include "platform/types.h"

class IControl;
class IWndManager;
class Surface;

// The screen's state, kept in the engine's state byte.
enum ScreenState : u8 {
  kScreenOpening = 0,
  kScreenOpen = 1,
  kScreenWaiting = 2,  // waiting for the answer of an alert opened over it
  kScreenClosing = 3,
  kScreenClosed = 4,  // popped by the window manager on its next tick
};

// How LayoutGrid spreads the controls of a row.
enum GridMode : u8 {
  kGridPacked = 0,        // each control right after the previous one
  kGridEvenColumns = 1,   // columns of equal width across the rectangle
  kGridColumnWidths = 2,  // each column as wide as its widest control
};

// The outline of the opening and closing animation: 0x606060.
u32 OutlineColour();
// Frames of the opening and closing animations.
constexpr i16 kOutlineFrames = 9;

// A horizontal (y1 == y2) or vertical (x1 == x2) line, both ends included
// in either order, clipped to clip; other lines draw nothing.
void DrawClippedLine(Surface* target, int x1, int y1, int x2, int y2, u32 colour,
                     const Rect& clip);

class IInterface : public OEngine {
 public:
  // A plain screen: allocated, constructed and initialised.
  static IInterface* Create(IWndManager* window, i16 capacity, i16 result);
  IInterface() = default;
  // Deletes the controls when it owns them.
  ~IInterface() override;

  // Makes the control list with room for capacity controls, stores the
  // result code, takes the window's screen stack and hands the window's
  // shared image pack, clip list and dirty list to the engine, which calls
  // OnInit. Subclasses create their controls in OnInit, place them and
  // start the opening with SetState(kScreenOpening).
  void Init(IWndManager* window, i16 capacity, i16 result);

  // Clears the choice and the key latch and sets resume.
  i32 OnInit() override;
  // Opening and closing animation; while open, control ticks and redraw.
  i32 Tick() override;
  // Keys go to the focused control first; the arrows move the focus once
  // per key press and the space bar presses the focused control.
  i32 OnKeyDown(u32 keysym) override;
  // Releasing the space bar chooses the focused control.
  i32 OnKeyUp(u32 keysym) override;
  i32 OnChar(char c) override;
  // Presses the control under the pointer.
  i32 OnMouseDown(i16 x, i16 y) override;
  // Chooses the pressed control under the pointer, or focuses it.
  i32 OnMouseUp(i16 x, i16 y) override;
  i32 OnMouseMove(i16 x, i16 y) override;
  // Enters a ScreenState: 0 and 3 start the animations, 1 focuses.
  void SetState(u8 s) override;
  // The focused control becomes the chosen one.
  virtual void ChooseFocused();

  // Appends a control; false when the list is full (the caller keeps it).
  bool AddControl(IControl* control);
  IControl* ControlAt(int index) const;
  int ControlCount() const;
  // The focused control, or null.
  IControl* FocusedControl() const { return ControlAt(focus); }

  // Draws every control onto the back buffer (no window update).
  virtual void DrawAllControls();
  // Draws one control by index onto the back buffer.
  void DrawControl(int index);

  // Focuses a control that is neither disabled nor hidden.
  void SetFocus(int index);
  // Focuses the control; before the screen is open it only remembers it,
  // so that the opening focuses it.
  void SetFocusTo(IControl* control);
  // Moves the focus to the next (or previous) control in the normal state,
  // wrapping; with reset, from control 0, unless a focus is already set.
  void MoveFocus(bool forward, bool reset);
  // Presses the focused control, unchecking its radio group first.
  void PressFocused();

  // Radio groups of this screen's controls.
  i16 GetGroupIndex(u8 group) const;
  void SetGroupIndex(u8 group, int n);
  i16 UncheckGroup(u8 group);

  // Places the controls of a list row by row, cols to a row and at most
  // rows rows, inside rect; each control keeps its size.
  static void LayoutGrid(IControl* const* list, int count, const Rect& rect, int rows, int cols,
                         u8 mode, int gap);
  static void LayoutGrid(const PointerList<IControl>& list, const Rect& rect, int rows, int cols,
                         u8 mode, int gap);

  u8 GetScreenState() const { return state; }
  // The window manager this screen was made for.
  IWndManager* Manager() const;

  PointerList<IInterface>* screenStack = nullptr;  // the window's, not owned
  Rect frame;                                      // the screen's box
  PointerList<IControl>* controls = nullptr;       // control 0 is the frame
  i16 focus = -1;                                  // index of the focused control
  IControl* chosen = nullptr;                      // set by ChooseFocused
  u8 keyLatch = 0;  // set by a key press until the next key release
  // Set when this screen pressed the focused control for a Space press: only
  // then does the Space release choose it. The release of a Space held down
  // before the screen opened (the key that opened it) chooses nothing.
  u8 spacePressed = 0;
  // The same for the pointer: set when a press here hit a control, so that
  // the release of a button held down before the screen opened (the click
  // that opened it) chooses nothing.
  u8 pointerPressed = 0;
  u8 resume = 1;    // 1: closing delivers 0 (cancel); 0: it delivers result
  i16 result = 0;   // the command to deliver when resume is 0
  u8 ownsControls = 1;
  Rect outline;     // the animated outline
  i16 framesLeft = 0;
  i16 stepX = 0;    // outline growth per frame
  i16 stepY = 0;

 protected:
  // The back buffer with its drawing origin set, or null.
  Surface* Canvas() const;
  // Draws a control onto the back buffer.
  void Redraw(IControl* control);
  // Sends a rectangle of the back buffer to the screen.
  void Invalidate(const Rect& r);

 private:
  void TickAnimation();
  void TickControls();
  // The game's scene and the controls of the screens below the top one.
  void DrawScene();
  void DrawOutline();
  static bool Focusable(const IControl* control);
};
