// A private X server for a test and a small client that works the program's
// window the way a player and a window manager would: find it, read its
// properties, press keys, click, ask it to close, and grab its pixels.
#pragma once

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdint>
#include <string>
#include <vector>

#include <sys/types.h>

namespace testing_support {

// Xvfb on a free display number (chosen by the server through -displayfd).
class XvfbServer {
 public:
  XvfbServer() = default;
  ~XvfbServer() { Stop(); }
  // False when Xvfb is missing or did not come up.
  bool Start(int depth = 24, int width = 1024, int height = 768);
  void Stop();
  const std::string& Display() const { return display_; }

 private:
  pid_t pid_ = -1;
  std::string display_;
};

struct WindowGeometry {
  int x = 0, y = 0;  // relative to the root window
  int width = 0, height = 0;
};

// An RGB picture read back from the server.
struct RgbImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> pixels;  // R, G, B per pixel, rows top to bottom
  const std::uint8_t* At(int x, int y) const { return &pixels[(static_cast<size_t>(y) * width + x) * 3]; }
  bool SavePng(const std::string& path) const;
};

class XClient {
 public:
  XClient() = default;
  ~XClient();
  XClient(const XClient&) = delete;
  XClient& operator=(const XClient&) = delete;

  bool Open(const std::string& display);
  void Close();
  ::Display* Raw() const { return display_; }

  // The top-level window whose WM_NAME is name, waiting up to timeoutMs.
  Window FindWindow(const std::string& name, int timeoutMs);
  // Waits until the window is viewable.
  bool WaitMapped(Window w, int timeoutMs);
  WindowGeometry Geometry(Window w);
  bool SizeHints(Window w, XSizeHints& hints);
  std::string Title(Window w);
  std::string IconName(Window w);
  bool HasIconPixmap(Window w);
  std::vector<std::string> Protocols(Window w);

  // Keys by keysym through XTest; KeyTap presses and releases.
  void KeyDown(unsigned long keysym);
  void KeyUp(unsigned long keysym);
  void KeyTap(unsigned long keysym);
  // Moves the pointer to window coordinates and presses/releases a button.
  void MoveTo(Window w, int x, int y);
  void ButtonDown(int button);
  void ButtonUp(int button);
  void Click(Window w, int x, int y, int button = 1);
  // Gives the window the input focus, or takes it away (focus to root).
  void Focus(Window w);
  // A real WM_DELETE_WINDOW client message, as a window manager sends it.
  void SendDelete(Window w);

  RgbImage Grab(Window w);
  void Sync();

 private:
  ::Display* display_ = nullptr;
};

// Pauses the test thread.
void SleepMs(int ms);

}  // namespace testing_support
