// The window manager in a real window on a private X server: it builds its
// shared resources, takes the settings record from the user directory, and
// a game draws through the shared clip and dirty lists.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <string>
#include <thread>

#include "tests/platform/pack_writer.h"
#include "tests/support/x_session.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app_context.h"
#include "ui/game_interface.h"
#include "ui/language.h"
#include "ui/settings.h"
#include "ui/wnd_manager.h"

using namespace testing_support;

namespace {

constexpr u32 kBackground = 0x336699;

// A game that slides one 8 x 8 red picture ten pixels to the right.
class SlidingGame : public IGame {
 public:
  i32 OnInit() override {
    sprite.visible = 1;
    sprite.x = 100 << 8;
    sprite.y = 60 << 8;
    clips->Add(&sprite);
    return 1;
  }
  i32 Tick() override {
    if (sprite.x < (110 << 8)) sprite.x += 256;
    Rect area;
    if (DrawDirty(area, 0)) window->UpdateRect(area);
    ++ticks;
    return 1;
  }
  i32 OnMouseDown(i16 x, i16 y) override {
    click = x * 1000 + y;
    return 1;
  }

  OClip sprite;
  std::atomic<int> ticks{0};
  std::atomic<int> click{-1};
};

// Starts up as the game's window does: shared resources, the settings
// record or its defaults, the language, then the game with the input.
class GameHostWindow : public IWndManager {
 public:
  i32 OnCreate() override {
    IWndManager::OnCreate();
    SetFramePeriod(20000);
    loaded = context->settings->Load();
    context->language->SetLanguage(context->settings->language);
    game = sliding = new SlidingGame();
    sliding->background = context->settings->background;
    sliding->clearFlag = 1;
    sliding->Init(this, GetImagePack(), GetClipList(), GetDirtyList());
    OnCommand(kCmdGameInput);
    Rect area(0, 0, width - 1, height - 1);
    sliding->DrawDirty(area, 1);
    UpdateRect(area);
    return 1;
  }

  SlidingGame* sliding = nullptr;
  u32 loaded = 0;
};

u32 Rgb(const RgbImage& shot, int x, int y) {
  const u8* p = shot.At(x, y);
  return static_cast<u32>(p[0]) << 16 | p[1] << 8 | p[2];
}

TEST(WndManagerOnXvfb, LoadsSettingsAndDrawsThroughTheSharedLists) {
  XvfbServer server;
  if (!server.Start(24)) GTEST_SKIP() << "Xvfb is not available";
  setenv("DISPLAY", server.Display().c_str(), 1);
  ui_testing::UserDirScope dirs;
  // A pack of one opaque red 8 x 8 picture.
  ASSERT_TRUE(WriteFile(dirs.Dir() / "640x480/bmst.bin", pack_writer::Index(1, 1)));
  ASSERT_TRUE(WriteFile(dirs.Dir() / "640x480/bmdt0.bin",
                        pack_writer::Record(0, 8, 8, 0, pack_writer::Pixels(std::vector<u32>(64, 0xFF0000)))));
  SettingsRecord stored;
  stored.Reset();
  stored.background = kBackground;
  stored.language = kLanguageFrench;
  ASSERT_EQ(stored.Save(), 1u);

  GameHostWindow window;
  ASSERT_EQ(window.Create("Host", "Host", 160, 120, 0), 1);
  EXPECT_EQ(window.loaded, 1u);
  EXPECT_STREQ(window.context->language->GetString(kTextNewGame), "Nouveau jeu");

  // A second client plays the user: focus, a click, a look, then close.
  RgbImage shot;
  std::thread player([&] {
    XClient client;
    if (!client.Open(server.Display())) return;
    const Window w = client.FindWindow("Host", 3000);
    client.WaitMapped(w, 3000);
    client.Focus(w);
    for (int i = 0; i < 200 && window.sliding->ticks < 20; ++i) SleepMs(20);
    client.Click(w, 20, 30);
    for (int i = 0; i < 100 && window.sliding->click < 0; ++i) SleepMs(20);
    shot = client.Grab(w);
    client.SendDelete(w);
  });
  window.Run();
  player.join();

  EXPECT_GE(window.sliding->ticks, 20);
  EXPECT_EQ(window.sliding->click, 20 * 1000 + 30);
  ASSERT_EQ(shot.width, 160);
  EXPECT_EQ(Rgb(shot, 5, 5), kBackground);
  EXPECT_EQ(Rgb(shot, 100, 60), kBackground);  // the trail was repainted
  EXPECT_EQ(Rgb(shot, 110, 60), 0xFF0000u);
  EXPECT_EQ(Rgb(shot, 117, 67), 0xFF0000u);
  EXPECT_EQ(Rgb(shot, 118, 67), kBackground);
}

}  // namespace
