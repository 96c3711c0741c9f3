// The base of every screen and dialog: an engine that the window manager
// stacks over the game. When it closes it leaves a resume flag and a result
// code, which the window manager turns into a window command.
#pragma once

#include "platform/engine.h"
#include "platform/types.h"

class IWndManager;

// The screen's state, kept in the engine's state byte.
enum ScreenState : u8 {
  kScreenOpening = 0,
  kScreenOpen = 1,
  kScreenWaiting = 2,  // waiting for the answer of an alert opened over it
  kScreenClosing = 3,
  kScreenClosed = 4,  // popped by the window manager on its next tick
};

class IInterface : public OEngine {
 public:
  // A plain screen: allocated, constructed and initialised.
  static IInterface* Create(IWndManager* window, i16 capacity, i16 result);
  IInterface() = default;
  ~IInterface() override = default;

  // Stores the result code, takes the window's screen stack and hands the
  // window's shared image pack, clip list and dirty list to the engine,
  // which calls OnInit. capacity is the number of controls the screen will
  // hold; the control list comes with the controls.
  void Init(IWndManager* window, i16 capacity, i16 result);

  // Sets resume; subclasses lay out their controls here.
  i32 OnInit() override;

  // Draws every control onto the back buffer (no window update).
  virtual void DrawAllControls() {}

  u8 GetScreenState() const { return state; }

  PointerList<IInterface>* screenStack = nullptr;  // the window's, not owned
  u8 resume = 1;   // 1: closing delivers 0 (cancel); 0: it delivers result
  i16 result = 0;  // the command to deliver when resume is 0
};
