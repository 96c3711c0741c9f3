#include "platform/window.h"

#include <X11/Intrinsic.h>
#include <X11/StringDefs.h>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <X11/Xmu/Editres.h>
#include <X11/Xutil.h>
#include <X11/xpm.h>

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "audio/music_player.h"
#include "platform/window_icon.h"

namespace {

// Display state shared by the process, set once by InitDisplay.
Display* g_Display = nullptr;
int g_XFd = -1;
GC g_GC = nullptr;
Visual* g_Visual = nullptr;
int g_Depth = 0;
DisplayFormat g_Format;

[[noreturn]] void Fatal(const char* message) {
  std::fputs(message, stderr);
  std::exit(1);
}

void InitDisplay() {
  int argc = 1;
  char name[] = "game";
  char* argv[] = {name, nullptr};
  XtAppContext app;
  Widget shell = XtAppInitialize(&app, "game", nullptr, 0, &argc, argv, nullptr, nullptr, 0);
  g_Display = XtDisplay(shell);
  XtAddEventHandler(shell, 0, True, _XEditResCheckMessages, nullptr);

  // The format comes from the visual the window is actually made with: the
  // root visual at the root depth.
  const int screen = DefaultScreen(g_Display);
  g_Depth = DefaultDepth(g_Display, screen);
  g_Visual = DefaultVisual(g_Display, screen);

  XImage* probe = XCreateImage(g_Display, g_Visual, static_cast<unsigned>(g_Depth), ZPixmap, 0,
                               static_cast<char*>(std::calloc(32, 1)), 2, 2, 8, 0);
  g_Format.depth = g_Depth;
  g_Format.bytesPerPixel = probe ? probe->bits_per_pixel / 8 : 0;
  if (probe) XDestroyImage(probe);
  if (g_Format.bytesPerPixel != 1) {
    g_Format.SetMasks(static_cast<u32>(g_Visual->red_mask), static_cast<u32>(g_Visual->green_mask),
                      static_cast<u32>(g_Visual->blue_mask));
  }
  g_XFd = ConnectionNumber(g_Display);
}

}  // namespace

struct OWindow::XState {
  Window window = 0;
  XEvent event{};
  XImage* image = nullptr;
  Pixmap iconPixmap = 0;
  Pixmap iconMask = 0;
  Atom wmDeleteWindow = 0;
  // The character each key gave when it went down, delivered on release.
  int pendingChar[256];
  // The keysym of each key that is down, 0 for a key that is up.
  u32 downKeysym[256] = {};
  XState() { std::memset(pendingChar, -1, sizeof pendingChar); }
};

OWindow::OWindow() {}

OWindow::~OWindow() {
  delete music;
  music = nullptr;
  DestroyX();
  delete backBuffer;
  backBuffer = nullptr;
}

void OWindow::DestroyX() {
  if (!x11) return;
  if (g_Display) {
    if (g_GC) XFreeGC(g_Display, g_GC);
    g_GC = nullptr;
    if (x11->window) XDestroyWindow(g_Display, x11->window);
    if (x11->image) XDestroyImage(x11->image);  // frees the pixel storage too
    if (x11->iconPixmap) XFreePixmap(g_Display, x11->iconPixmap);
    if (x11->iconMask) XFreePixmap(g_Display, x11->iconMask);
    XCloseDisplay(g_Display);
    g_Display = nullptr;
  }
  delete x11;
  x11 = nullptr;
}

const DisplayFormat& OWindow::Format() { return g_Format; }

void OWindow::CreateOffscreen(int w, int h) {
  width = static_cast<i16>(w);
  height = static_cast<i16>(h);
  if (!backBuffer) backBuffer = Surface::Create(w, h, 24);
}

void OWindow::SetProperties(int w, int h, const char* title, const char* iconName) {
  XSizeHints* size = XAllocSizeHints();
  size->flags = PPosition | PMinSize | PMaxSize;
  size->min_width = size->max_width = w;
  size->min_height = size->max_height = h;

  XpmAttributes attributes{};
  if (XpmCreatePixmapFromData(g_Display, x11->window, const_cast<char**>(kWindowIconXpm),
                              &x11->iconPixmap, &x11->iconMask, &attributes) != XpmSuccess) {
    Fatal("Count an error while creating icon pixmap, exiting...\n");
  }
  XpmFreeAttributes(&attributes);

  XWMHints* hints = XAllocWMHints();
  hints->flags = IconPixmapHint | StateHint | IconMaskHint;
  hints->initial_state = NormalState;
  hints->icon_pixmap = x11->iconPixmap;
  hints->icon_mask = x11->iconMask;

  XTextProperty windowName, iconText;
  char* titleText = const_cast<char*>(title);
  char* iconTextName = const_cast<char*>(iconName);
  if (!XStringListToTextProperty(&titleText, 1, &windowName)) {
    Fatal("Cannot set properties for a window, exiting.\n");
  }
  if (!XStringListToTextProperty(&iconTextName, 1, &iconText)) {
    Fatal("Cannot set properties for an icon, exiting.\n");
  }
  XSetWMProperties(g_Display, x11->window, &windowName, &iconText, nullptr, 0, size, hints,
                   nullptr);
  XFree(windowName.value);
  XFree(iconText.value);
  XFree(hints);
  XFree(size);
}

i32 OWindow::Create(const char* title, const char* iconName, int w, int h, int flags) {
  (void)flags;
  held = 0;
  if (!music) music = MusicPlayer::Create(3);
  if (!g_Display) InitDisplay();
  x11 = new XState();

  width = static_cast<i16>(w);
  height = static_cast<i16>(h);
  const int screen = DefaultScreen(g_Display);
  x11->window = XCreateSimpleWindow(
      g_Display, RootWindow(g_Display, screen), (DisplayWidth(g_Display, screen) - w) / 2,
      (DisplayHeight(g_Display, screen) - h) / 2, static_cast<unsigned>(w),
      static_cast<unsigned>(h), 0, BlackPixel(g_Display, screen), WhitePixel(g_Display, screen));
  SetProperties(w, h, title, iconName);

  // XDestroyImage frees the storage with free(), so it comes from calloc.
  const size_t bytes = static_cast<size_t>(w) * static_cast<size_t>(h) *
                       static_cast<size_t>(g_Format.bytesPerPixel > 0 ? g_Format.bytesPerPixel : 1);
  char* imageData = static_cast<char*>(std::calloc(bytes, 1));
  if (!imageData) Fatal("Could not allocate memory for whole image data so exiting...\n");
  x11->image = XCreateImage(g_Display, g_Visual, static_cast<unsigned>(g_Depth), ZPixmap, 0,
                            imageData, static_cast<unsigned>(w), static_cast<unsigned>(h), 8, 0);
  if (!x11->image) {
    std::free(imageData);
    std::fputs("OWindow: Cannot create Image Structure \n", stderr);
    return 0;
  }
  // The conversion writes multi-byte pixels low byte first.
  x11->image->byte_order = LSBFirst;

  g_GC = XCreateGC(g_Display, x11->window, 0, nullptr);
  SetTitle("%s", title);
  SetGeometry(120, 120, w, h);
  Show(true);
  if (!backBuffer) backBuffer = Surface::Create(w, h, 24);

  XSelectInput(g_Display, x11->window,
               KeyPressMask | KeyReleaseMask | ButtonPressMask | ButtonReleaseMask |
                   PointerMotionMask | PointerMotionHintMask | ExposureMask | FocusChangeMask);
  x11->wmDeleteWindow = XInternAtom(g_Display, "WM_DELETE_WINDOW", False);
  XSetWMProtocols(g_Display, x11->window, &x11->wmDeleteWindow, 1);

  // A held key gives repeated presses and one release, so that holding a
  // key reads as held until the player lets go.
  Bool supported = False;
  XkbSetDetectableAutoRepeat(g_Display, True, &supported);

  if (OnCreate()) return 1;
  OnExit();
  return 0;
}

void OWindow::Show(bool visible) {
  if (!x11) {
    if (visible) {
      OnShow();
    } else {
      OnIconify();
      if (music) music->Pause();
    }
    return;
  }
  if (visible) {
    XMapWindow(g_Display, x11->window);
    OnShow();
  } else {
    XIconifyWindow(g_Display, x11->window, DefaultScreen(g_Display));
    OnIconify();
    if (music) music->Pause();
  }
}

void OWindow::SetFullScreen(int flag) { (void)flag; }

void OWindow::SetGeometry(int newX, int newY, int w, int h) {
  // The buffers were made for the size given at Create; a later size only
  // reaches the window manager's hints.
  if (w && !backBuffer) width = static_cast<i16>(w);
  if (h && !backBuffer) height = static_cast<i16>(h);
  x = static_cast<i16>(newX);
  y = static_cast<i16>(newY);
  if (!x11) return;
  XSizeHints* size = XAllocSizeHints();
  size->flags = PMinSize | PMaxSize;
  size->min_width = size->max_width = w ? w : width;
  size->min_height = size->max_height = h ? h : height;
  XSetWMNormalHints(g_Display, x11->window, size);
  XFree(size);
  XMoveResizeWindow(g_Display, x11->window, x, y, static_cast<unsigned>(width),
                    static_cast<unsigned>(height));
}

void OWindow::SetTitle(const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (!x11) return;
  char* list = text;
  XTextProperty property;
  if (XStringListToTextProperty(&list, 1, &property)) {
    XSetWMName(g_Display, x11->window, &property);
    XFree(property.value);
  }
}

void OWindow::UpdateRect(const Rect& rect) {
  if (!backBuffer) return;
  backBuffer->Lock();
  int x0, y0, x1, y1;
  if (!ClipUpdateRect(rect, width, height, x0, y0, x1, y1) || !x11 || !x11->image) {
    backBuffer->Unlock();
    return;
  }
  if (g_Depth == 8) Fatal("Pseudo Colour Display does not supported yet\n");
  ConvertRect(g_Format, *backBuffer, reinterpret_cast<u8*>(x11->image->data),
              x11->image->bytes_per_line, x0, y0, x1, y1);
  XPutImage(g_Display, x11->window, g_GC, x11->image, x0, y0, x0, y0,
            static_cast<unsigned>(x1 - x0 + 1), static_cast<unsigned>(y1 - y0 + 1));
  XFlush(g_Display);
  backBuffer->Unlock();
}

i32 OWindow::Run() {
  running = 1;
  bool focused = true;
  pacer.Start(framePeriod);
  while (running) {
    const bool queued = XEventsQueued(g_Display, QueuedAlready) > 0;
    const int r = pacer.WaitFrame(g_XFd, framePeriod, queued);
    if (focused && r == 0) OnTimer(static_cast<u16>(framePeriod / 1000));
    if (!XPending(g_Display)) continue;
    XNextEvent(g_Display, &x11->event);
    DispatchEvent(focused);
  }
  OnExit();
  return 0;
}

void OWindow::ReleaseDownKeys() {
  for (u32& keysym : x11->downKeysym) {
    if (keysym == 0) continue;
    const u32 up = keysym;
    keysym = 0;
    OnKeyUp(up);
  }
}

void OWindow::DispatchEvent(bool& focused) {
  XEvent& e = x11->event;
  switch (e.type) {
    case KeyPress: {
      const u32 down = static_cast<u32>(XLookupKeysym(&e.xkey, 0));
      x11->downKeysym[e.xkey.keycode & 0xff] = down;
      OnKeyDown(down);
      // The character is looked up with the modifiers of this moment and
      // delivered when the key comes up.
      char text[1024] = {0};
      KeySym keysym = 0;
      const int n = XLookupString(&e.xkey, text, sizeof text, &keysym, nullptr);
      const bool printable = text[0] == 8 || (n >= 1 && keysym <= 0xff);
      int& pending = x11->pendingChar[e.xkey.keycode & 0xff];
      // A press while the key is still down is the auto-repeat of a held
      // key: the character of the press before comes now, so that a held
      // key types again and again as in any text field.
      if (pending >= 0) OnChar(static_cast<char>(pending));
      pending = printable ? static_cast<u8>(text[0]) : -1;
      break;
    }
    case KeyRelease: {
      x11->downKeysym[e.xkey.keycode & 0xff] = 0;
      OnKeyUp(static_cast<u32>(XLookupKeysym(&e.xkey, 0)));
      int& pending = x11->pendingChar[e.xkey.keycode & 0xff];
      if (pending >= 0) {
        const char c = static_cast<char>(pending);
        pending = -1;
        OnChar(c);
      }
      break;
    }
    case ButtonPress:
      if (e.xbutton.button == Button1) {
        held = 1;
        OnMouseDown(static_cast<i16>(e.xbutton.x), static_cast<i16>(e.xbutton.y));
      }
      break;
    case ButtonRelease:
      if (e.xbutton.button == Button1) {
        OnMouseUp(static_cast<i16>(e.xbutton.x), static_cast<i16>(e.xbutton.y));
      }
      held = 0;
      break;
    case MotionNotify: {
      int px = e.xmotion.x, py = e.xmotion.y;
      if (held) {
        Window root, child;
        int rootX, rootY;
        unsigned mask;
        if (!XQueryPointer(g_Display, e.xmotion.window, &root, &child, &rootX, &rootY, &px, &py,
                           &mask)) {
          break;
        }
      }
      const bool queued = XEventsQueued(g_Display, QueuedAlready) > 0;
      const int r = pacer.WaitFrame(g_XFd, framePeriod, queued);
      if (focused && r == 0) OnTimer(static_cast<u16>(framePeriod / 1000));
      OnMouseMove(static_cast<i16>(px), static_cast<i16>(py));
      break;
    }
    case FocusIn:
      focused = true;
      XPutImage(g_Display, x11->window, g_GC, x11->image, 0, 0, 0, 0,
                static_cast<unsigned>(width), static_cast<unsigned>(height));
      break;
    case FocusOut:
      focused = false;
      // Keys released elsewhere never come up here: forget their characters
      // and let them go now, so that none stays held when the focus returns.
      std::memset(x11->pendingChar, -1, sizeof x11->pendingChar);
      ReleaseDownKeys();
      break;
    case Expose:
      if (e.xexpose.window == x11->window) {
        XPutImage(g_Display, x11->window, g_GC, x11->image, e.xexpose.x, e.xexpose.y, e.xexpose.x,
                  e.xexpose.y, static_cast<unsigned>(e.xexpose.width),
                  static_cast<unsigned>(e.xexpose.height));
      }
      break;
    case ClientMessage:
      if (e.xclient.format == 32 &&
          static_cast<Atom>(e.xclient.data.l[0]) == x11->wmDeleteWindow) {
        running = 0;
      }
      break;
    default:
      break;
  }
}
