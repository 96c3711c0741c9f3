// The game's window. For now it only proves the platform: its creation
// slot draws a test picture into the back buffer and sends it.
#pragma once

#include "platform/window.h"

class GWindow : public OWindow {
 public:
  GWindow() = default;

  i32 OnCreate() override;
  void OnTimer(u16 ms) override;

 private:
  void DrawTestPicture();
  u32 ticks_ = 0;
};
