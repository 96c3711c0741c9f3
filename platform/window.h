// The program's top-level X11 window: the display connection, one fixed-size
// window with its icon and window-manager properties, the 24-bit back
// buffer all drawing goes to, and the main loop that paces frames and turns
// X events into calls of the virtual slots. Xlib stays inside window.cpp.
#pragma once

#include "platform/display_format.h"
#include "platform/frame_clock.h"
#include "platform/image.h"
#include "platform/types.h"

class MusicPlayer;

class OWindow {
 public:
  OWindow();
  virtual ~OWindow();
  OWindow(const OWindow&) = delete;
  OWindow& operator=(const OWindow&) = delete;

  // Opens the display (once per process), creates and maps the window,
  // makes the back buffer and calls OnCreate. 1 on success, 0 on failure.
  i32 Create(const char* title, const char* iconName, int width, int height, int flags);
  // A window that is never shown on a display: only the back buffer
  // exists, and UpdateRect sends nothing. Used by tests and tools.
  void CreateOffscreen(int width, int height);

  void Show(bool visible);
  void SetFullScreen(int flag);
  void Start() {}
  // The main loop; returns after OnExit.
  i32 Run();
  // Ends the main loop after the event in hand.
  void Quit() { running = 0; }
  void SetGeometry(int x, int y, int w, int h);
  void SetTitle(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // Sends a rectangle of the back buffer (grown by one pixel right and
  // down, clipped to the window) to the screen and clears the drawing
  // origin.
  void UpdateRect(const Rect& rect);

  Surface* BackBuffer() const { return backBuffer; }
  MusicPlayer* Music() const { return music; }
  int Width() const { return width; }
  int Height() const { return height; }
  i32 FramePeriod() const { return framePeriod; }
  void SetFramePeriod(i32 microseconds) { framePeriod = microseconds; }
  bool IsIconified() const { return iconified != 0; }
  bool IsMouseHeld() const { return held != 0; }
  // Replaces the frame clock (tests).
  void SetFrameTimeSource(FrameTimeSource* source) { pacer.SetSource(source); }

  // The pixel format of the display (the 24-bit default when offscreen).
  static const DisplayFormat& Format();

  // Slots. Event slots do nothing here; OnCreate returns 0, so a bare
  // OWindow cannot be created.
  virtual i32 OnCreate() { return 0; }
  virtual void OnExit() {}
  virtual void OnTimer(u16 ms) { (void)ms; }
  virtual void OnMouseDown(i16 x, i16 y) { (void)x, (void)y; }
  virtual void OnMouseAux(i16 x, i16 y) { (void)x, (void)y; }
  virtual void OnMouseUp(i16 x, i16 y) { (void)x, (void)y; }
  virtual void OnMouseMove(i16 x, i16 y) { (void)x, (void)y; }
  virtual void OnKeyDown(u32 keysym) { (void)keysym; }
  virtual void OnKeyUp(u32 keysym) { (void)keysym; }
  virtual void OnChar(char c) { (void)c; }
  virtual void OnShow() { iconified = 0; }
  virtual void OnIconify() { iconified = 1; }

 protected:
  i32 held = 0;
  MusicPlayer* music = nullptr;
  i16 width = 0;
  i16 height = 0;
  i16 x = 0;
  i16 y = 0;
  i32 iconified = 0;
  Surface* backBuffer = nullptr;
  i32 framePeriod = 30000;
  u8 running = 0;

 private:
  struct XState;  // the X resources of this window
  void SetProperties(int w, int h, const char* title, const char* iconName);
  void DispatchEvent(bool& focused);
  // Delivers the release of every key still down (the focus has gone).
  void ReleaseDownKeys();
  void DestroyX();

  XState* x11 = nullptr;
  FramePacer pacer;
};
