#include "shell/gwindow.h"

i32 GWindow::OnCreate() {
  SetFramePeriod(20000);
  DrawTestPicture();
  UpdateRect(Rect(0, 0, Width() - 1, Height() - 1));
  return 1;
}

void GWindow::OnTimer(u16 ms) {
  (void)ms;
  ++ticks_;
}

void GWindow::DrawTestPicture() {
  Surface* s = BackBuffer();
  // Eight vertical colour bars over a vertical grey ramp.
  static const u8 kBars[8][3] = {{255, 255, 255}, {0, 255, 255}, {255, 255, 0}, {0, 255, 0},
                                 {255, 0, 255},   {0, 0, 255},   {255, 0, 0},   {0, 0, 0}};
  for (int y = 0; y < s->height; ++y) {
    for (int x = 0; x < s->width; ++x) {
      u8* p = s->At(x, y);
      if (y < s->height * 2 / 3) {
        const u8* bar = kBars[x * 8 / s->width];
        p[0] = bar[0];
        p[1] = bar[1];
        p[2] = bar[2];
      } else {
        const u8 grey = static_cast<u8>(x * 255 / (s->width - 1));
        p[0] = p[1] = p[2] = grey;
      }
    }
  }
}
