#include "tests/support/x_session.h"

#include <X11/Xatom.h>
#include <X11/extensions/XTest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "tools/common/png_writer.h"

namespace testing_support {

void SleepMs(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

namespace {

std::string FindXvfb() {
  for (const char* candidate : {"/usr/bin/Xvfb", "/usr/local/bin/Xvfb"}) {
    if (access(candidate, X_OK) == 0) return candidate;
  }
  return "";
}

int Shift(unsigned long mask) {
  int s = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++s;
  }
  return s;
}

int Bits(unsigned long mask) {
  int n = 0;
  for (; mask; mask >>= 1) n += mask & 1;
  return n;
}

// Scales a channel of `bits` bits to 8 bits the way a viewer would.
std::uint8_t Expand(unsigned long v, int bits) {
  if (bits >= 8) return static_cast<std::uint8_t>(v >> (bits - 8));
  return static_cast<std::uint8_t>((v << (8 - bits)) | (v >> (2 * bits - 8 > 0 ? 2 * bits - 8 : 0)));
}

}  // namespace

bool XvfbServer::Start(int depth, int width, int height) {
  const std::string xvfb = FindXvfb();
  if (xvfb.empty()) return false;
  int fds[2];
  if (pipe(fds) != 0) return false;
  const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(depth);
  // The child inherits the pipe's write end; Xvfb writes its display
  // number there once it accepts connections.
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    execl(xvfb.c_str(), "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten",
          "tcp", "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  std::string number;
  char c;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) {
    kill(pid, SIGKILL);
    return false;
  }
  pid_ = pid;
  display_ = ":" + number;
  return true;
}

void XvfbServer::Stop() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    int status;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }
}

XClient::~XClient() { Close(); }

void XClient::Close() {
  if (display_) XCloseDisplay(display_);
  display_ = nullptr;
}

bool XClient::Open(const std::string& display) {
  display_ = XOpenDisplay(display.c_str());
  return display_ != nullptr;
}

void XClient::Sync() { XSync(display_, False); }

std::string XClient::Title(Window w) {
  XTextProperty property;
  std::string title;
  if (XGetWMName(display_, w, &property) && property.value) {
    title.assign(reinterpret_cast<char*>(property.value), property.nitems);
    XFree(property.value);
  }
  return title;
}

std::string XClient::IconName(Window w) {
  XTextProperty property;
  std::string name;
  if (XGetWMIconName(display_, w, &property) && property.value) {
    name.assign(reinterpret_cast<char*>(property.value), property.nitems);
    XFree(property.value);
  }
  return name;
}

Window XClient::FindWindow(const std::string& name, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    Window root, parent, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) {
      Window found = 0;
      for (unsigned i = 0; i < count && !found; ++i) {
        if (Title(children[i]) == name) found = children[i];
      }
      if (children) XFree(children);
      if (found) return found;
    }
    SleepMs(20);
  } while (std::chrono::steady_clock::now() < end);
  return 0;
}

bool XClient::WaitMapped(Window w, int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  do {
    XWindowAttributes attributes;
    if (XGetWindowAttributes(display_, w, &attributes) && attributes.map_state == IsViewable) {
      return true;
    }
    SleepMs(20);
  } while (std::chrono::steady_clock::now() < end);
  return false;
}

WindowGeometry XClient::Geometry(Window w) {
  WindowGeometry g;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, w, &attributes)) return g;
  Window child;
  XTranslateCoordinates(display_, w, DefaultRootWindow(display_), 0, 0, &g.x, &g.y, &child);
  g.width = attributes.width;
  g.height = attributes.height;
  return g;
}

bool XClient::SizeHints(Window w, XSizeHints& hints) {
  long supplied = 0;
  return XGetWMNormalHints(display_, w, &hints, &supplied) != 0;
}

bool XClient::HasIconPixmap(Window w) {
  XWMHints* hints = XGetWMHints(display_, w);
  if (!hints) return false;
  const bool has = (hints->flags & IconPixmapHint) && hints->icon_pixmap != 0;
  XFree(hints);
  return has;
}

std::vector<std::string> XClient::Protocols(Window w) {
  std::vector<std::string> names;
  Atom* atoms = nullptr;
  int count = 0;
  if (XGetWMProtocols(display_, w, &atoms, &count)) {
    for (int i = 0; i < count; ++i) {
      char* name = XGetAtomName(display_, atoms[i]);
      names.emplace_back(name ? name : "");
      if (name) XFree(name);
    }
    XFree(atoms);
  }
  return names;
}

void XClient::KeyDown(unsigned long keysym) {
  XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), True, CurrentTime);
  XFlush(display_);
}

void XClient::KeyUp(unsigned long keysym) {
  XTestFakeKeyEvent(display_, XKeysymToKeycode(display_, keysym), False, CurrentTime);
  XFlush(display_);
}

void XClient::KeyTap(unsigned long keysym) {
  KeyDown(keysym);
  SleepMs(30);
  KeyUp(keysym);
}

void XClient::MoveTo(Window w, int x, int y) {
  const WindowGeometry g = Geometry(w);
  XTestFakeMotionEvent(display_, DefaultScreen(display_), g.x + x, g.y + y, CurrentTime);
  XFlush(display_);
}

void XClient::ButtonDown(int button) {
  XTestFakeButtonEvent(display_, static_cast<unsigned>(button), True, CurrentTime);
  XFlush(display_);
}

void XClient::ButtonUp(int button) {
  XTestFakeButtonEvent(display_, static_cast<unsigned>(button), False, CurrentTime);
  XFlush(display_);
}

void XClient::Click(Window w, int x, int y, int button) {
  MoveTo(w, x, y);
  SleepMs(20);
  ButtonDown(button);
  SleepMs(30);
  ButtonUp(button);
}

void XClient::Focus(Window w) {
  XSetInputFocus(display_, w ? w : PointerRoot, RevertToPointerRoot, CurrentTime);
  XFlush(display_);
}

void XClient::SendDelete(Window w) {
  XEvent e{};
  e.xclient.type = ClientMessage;
  e.xclient.window = w;
  e.xclient.message_type = XInternAtom(display_, "WM_PROTOCOLS", False);
  e.xclient.format = 32;
  e.xclient.data.l[0] = static_cast<long>(XInternAtom(display_, "WM_DELETE_WINDOW", False));
  e.xclient.data.l[1] = CurrentTime;
  XSendEvent(display_, w, False, NoEventMask, &e);
  XFlush(display_);
}

RgbImage XClient::Grab(Window w) {
  RgbImage out;
  XWindowAttributes attributes;
  if (!XGetWindowAttributes(display_, w, &attributes)) return out;
  XImage* image = XGetImage(display_, w, 0, 0, static_cast<unsigned>(attributes.width),
                            static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!image) return out;
  out.width = attributes.width;
  out.height = attributes.height;
  out.pixels.resize(static_cast<size_t>(out.width) * out.height * 3);
  const Visual* visual = attributes.visual;
  const int rs = Shift(visual->red_mask), gs = Shift(visual->green_mask), bs = Shift(visual->blue_mask);
  const int rb = Bits(visual->red_mask), gb = Bits(visual->green_mask), bb = Bits(visual->blue_mask);
  for (int y = 0; y < out.height; ++y) {
    for (int x = 0; x < out.width; ++x) {
      const unsigned long p = XGetPixel(image, x, y);
      std::uint8_t* d = &out.pixels[(static_cast<size_t>(y) * out.width + x) * 3];
      d[0] = Expand((p & visual->red_mask) >> rs, rb);
      d[1] = Expand((p & visual->green_mask) >> gs, gb);
      d[2] = Expand((p & visual->blue_mask) >> bs, bb);
    }
  }
  XDestroyImage(image);
  return out;
}

bool RgbImage::SavePng(const std::string& path) const {
  return png::Write(path, width, height, 3, pixels);
}

}  // namespace testing_support
