// A window for the screen tests: the window manager over an offscreen back
// buffer, with an image bank whose font glyphs are all 5 pixels wide (6 with
// the advance, so a text of n letters is 6n wide), and a log of the
// commands that reach it.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/key_codes.h"
#include "tests/ui/controls/test_bank.h"
#include "tests/ui/ui_test_support.h"
#include "ui/controls/control.h"
#include "ui/interface.h"
#include "ui/wnd_manager.h"

namespace ui_testing {

constexpr int kGlyphWidth = 5;
constexpr int kBankImages = 588;  // up to the last glyph

// Every picture of the bank is a 1 x 1 dot except the glyphs 365..587,
// which are all ink.
inline void WriteGlyphBank(const std::string& dir) {
  std::vector<controls_testing::BankPicture> pictures(kBankImages);
  for (int i = 365; i < kBankImages; ++i) pictures[i] = {1, kGlyphWidth, 11, {}, {}};
  controls_testing::WriteBank(dir + "/640x480", pictures);
}

// Logs the commands that reach the command slot.
class LoggingWindow : public IWndManager {
 public:
  u32 OnCommand(u8 code) override {
    commands.push_back(code);
    return IWndManager::OnCommand(code);
  }
  bool Running() const { return running != 0; }
  void SetRunning() { running = 1; }

  std::vector<int> commands;
};

class ScreenRig : public ::testing::Test {
 public:
  static constexpr u32 kScene = 0x102030;  // what the screens draw under them

  void SetUp() override {
    WriteGlyphBank(dirs_.Dir().Path());
    window_.CreateOffscreen(640, 480);
    ASSERT_EQ(window_.OnCreate(), 1);
    ASSERT_EQ(window_.GetImagePack()->ImageCount(), kBankImages);
  }
  // Pushes a screen with a plain scene under it.
  void Push(IInterface* screen) {
    screen->background = kScene;
    screen->clearFlag = 1;
    window_.PushScreen(screen);
  }
  IInterface* Top() const { return window_.GetScreenStack()->Last(); }
  void Ticks(int n) {
    for (int i = 0; i < n; ++i) window_.OnTimer(20);
  }
  // Ticks until the top screen is open (at most the opening's ten ticks).
  void Open() {
    for (int i = 0; i < 10 && Top() && Top()->GetScreenState() != kScreenOpen; ++i) Ticks(1);
    ASSERT_TRUE(Top() && Top()->GetScreenState() == kScreenOpen);
  }
  // Ticks until the stack is empty (the closing takes ten ticks, the pop one).
  void UntilPopped() {
    for (int i = 0; i < 30 && Top(); ++i) Ticks(1);
  }
  void Key(KeyCode key) {
    window_.OnKeyDown(KeyToKeysym(key));
    window_.OnKeyUp(KeyToKeysym(key));
  }
  // Up and Down have no keysym in the reverse table.
  void Arrow(bool down) {
    const u32 keysym = down ? 0xff54 : 0xff52;
    window_.OnKeyDown(keysym);
    window_.OnKeyUp(keysym);
  }
  void Click(int x, int y) {
    window_.OnMouseDown(static_cast<i16>(x), static_cast<i16>(y));
    window_.OnMouseUp(static_cast<i16>(x), static_cast<i16>(y));
  }
  void ClickOn(const IControl* control) {
    const Rect& r = control->rect;
    Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  }
  u32 Pixel(int x, int y) const {
    const u8* p = window_.BackBuffer()->At(x, y);
    return static_cast<u32>(p[0]) | static_cast<u32>(p[1]) << 8 | static_cast<u32>(p[2]) << 16;
  }

  UserDirScope dirs_;
  LoggingWindow window_;
};

}  // namespace ui_testing
