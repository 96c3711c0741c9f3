// The window against a private X server: pixels reach the screen in every
// supported depth, ticks follow the focus, and keys become characters.
#include <gtest/gtest.h>

#include "platform/window.h"

#include <X11/Xlib.h>
#include <X11/keysym.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/x_session.h"

using namespace testing_support;

namespace {

using Clock = std::chrono::steady_clock;

class TestWindow : public OWindow {
 public:
  i32 OnCreate() override {
    SetFramePeriod(20000);
    return 1;
  }
  void OnTimer(u16 ms) override {
    lastMs = ms;
    tickTimes.push_back(Clock::now());
  }
  void OnChar(char c) override { chars += c; }
  void OnKeyDown(u32 keysym) override { downs.push_back(keysym); }
  void OnKeyUp(u32 keysym) override { ups.push_back(keysym); }
  void OnMouseDown(i16 x, i16 y) override { clicks.push_back({x, y}); }
  void OnExit() override { ++exits; }

  std::vector<Clock::time_point> tickTimes;
  std::string chars;
  std::vector<u32> downs;
  std::vector<u32> ups;
  std::vector<std::pair<int, int>> clicks;
  int exits = 0;
  u16 lastMs = 0;
};

using WindowOnXvfb = ::testing::TestWithParam<int>;

}  // namespace

TEST_P(WindowOnXvfb, BackBufferPixelsReachTheScreen) {
  XvfbServer server;
  if (!server.Start(GetParam())) GTEST_SKIP() << "Xvfb is not available";
  setenv("DISPLAY", server.Display().c_str(), 1);
  TestWindow window;
  ASSERT_EQ(window.Create("Pixels", "Pixels", 64, 48, 0), 1);
  XClient client;
  ASSERT_TRUE(client.Open(server.Display()));
  const Window w = client.FindWindow("Pixels", 3000);
  ASSERT_NE(w, 0u);
  ASSERT_TRUE(client.WaitMapped(w, 3000));

  // Colour bars, each pure so every depth shows them exactly.
  Surface* s = window.BackBuffer();
  const u32 colours[8] = {0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF,
                          0xFFFF00, 0x00FFFF, 0xFF00FF, 0x000000};
  s->Lock();
  for (int bar = 0; bar < 8; ++bar) s->FillRect(colours[bar], Rect(bar * 8, 0, bar * 8 + 7, 47));
  s->Unlock();
  window.UpdateRect(Rect(0, 0, 63, 47));
  EXPECT_EQ(s->pixels, nullptr);

  // The server may serve this client before it has read the window's
  // image from the other connection: look again for a while.
  RgbImage shot;
  for (int i = 0; i < 100; ++i) {
    shot = client.Grab(w);
    if (shot.width == 64 && shot.At(12, 20)[1] == 0) break;  // red has arrived
    SleepMs(20);
  }
  ASSERT_EQ(shot.width, 64);
  for (int bar = 0; bar < 8; ++bar) {
    const u8* p = shot.At(bar * 8 + 4, 20);
    EXPECT_EQ(p[0], static_cast<u8>(colours[bar] >> 16)) << "bar " << bar;
    EXPECT_EQ(p[1], static_cast<u8>(colours[bar] >> 8)) << "bar " << bar;
    EXPECT_EQ(p[2], static_cast<u8>(colours[bar])) << "bar " << bar;
  }
}

INSTANTIATE_TEST_SUITE_P(Depths, WindowOnXvfb, ::testing::Values(24, 16, 15));

// A second client plays the window manager and the user: it moves the
// focus away and back, types (holding one key down) and clicks, then asks
// the window to close.
TEST(WindowOnXvfbLoop, TicksOnlyWhileFocusedAndTakesKeysTypedQuickly) {
  XvfbServer server;
  if (!server.Start(24)) GTEST_SKIP() << "Xvfb is not available";
  setenv("DISPLAY", server.Display().c_str(), 1);
  TestWindow window;
  ASSERT_EQ(window.Create("Loop", "Loop", 64, 48, 0), 1);

  const Clock::time_point start = Clock::now();
  std::atomic<bool> ok{true};
  std::thread user([&] {
    XClient client;
    if (!client.Open(server.Display())) {
      ok = false;
      return;
    }
    const Window w = client.FindWindow("Loop", 3000);
    client.WaitMapped(w, 3000);
    const Window other = XCreateSimpleWindow(client.Raw(), DefaultRootWindow(client.Raw()), 0, 0,
                                             10, 10, 0, 0, 0);
    XMapWindow(client.Raw(), other);
    client.Focus(w);
    std::this_thread::sleep_until(start + std::chrono::milliseconds(950));
    client.KeyDown(XK_d);  // released while the focus is elsewhere
    std::this_thread::sleep_until(start + std::chrono::milliseconds(1000));
    client.Focus(other);
    std::this_thread::sleep_until(start + std::chrono::milliseconds(1500));
    client.KeyUp(XK_d);
    std::this_thread::sleep_until(start + std::chrono::milliseconds(2000));
    client.Focus(w);
    std::this_thread::sleep_until(start + std::chrono::milliseconds(3000));
    client.MoveTo(w, 10, 10);
    SleepMs(100);
    // Shift released before the letter: the character is still upper case,
    // because it was looked up when the letter went down.
    client.KeyDown(XK_Shift_L);
    client.KeyDown(XK_a);
    client.KeyUp(XK_Shift_L);
    client.KeyUp(XK_a);
    client.KeyTap(XK_b);
    client.KeyTap(XK_BackSpace);
    client.KeyTap(XK_Left);  // no character
    // Held past the server's repeat delay, a key repeats its press and
    // each press types its character.
    client.KeyDown(XK_c);
    SleepMs(1000);
    client.KeyUp(XK_c);
    client.Click(w, 12, 34, 1);
    client.Click(w, 20, 20, 3);  // only button 1 reaches the slots
    SleepMs(200);
    client.SendDelete(w);
  });
  EXPECT_EQ(window.Run(), 0);
  user.join();
  ASSERT_TRUE(ok);
  EXPECT_EQ(window.exits, 1);
  EXPECT_EQ(window.lastMs, 20);

  auto ticksBetween = [&](int fromMs, int toMs) {
    int n = 0;
    for (const auto& t : window.tickTimes) {
      const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(t - start).count();
      n += ms >= fromMs && ms < toMs;
    }
    return n;
  };
  // 600 ms at 20 ms a tick is 30 ticks; allow for a loaded machine.
  EXPECT_GE(ticksBetween(300, 900), 18);
  EXPECT_LE(ticksBetween(300, 900), 31);
  EXPECT_LE(ticksBetween(1300, 1900), 1);
  EXPECT_GE(ticksBetween(2300, 2900), 18);

  const auto held = std::count(window.downs.begin(), window.downs.end(), static_cast<u32>(XK_c));
  EXPECT_GE(held, 3);
  EXPECT_EQ(window.chars, "Ab\b" + std::string(static_cast<size_t>(held), 'c'));
  ASSERT_GE(window.downs.size(), 6u);
  EXPECT_EQ(window.downs[2], static_cast<u32>(XK_a));  // index 0 keysym: lower case
  // The key held as the focus went was let go then, and typed nothing.
  ASSERT_FALSE(window.ups.empty());
  EXPECT_EQ(window.ups[0], static_cast<u32>(XK_d));
  EXPECT_EQ(std::count(window.ups.begin(), window.ups.end(), static_cast<u32>(XK_d)), 1);
  ASSERT_EQ(window.clicks.size(), 1u);
  EXPECT_EQ(window.clicks[0], std::make_pair(12, 34));
  EXPECT_FALSE(window.IsMouseHeld());
}
