// The main menu and the alert box in the real game: Escape opens the menu
// over the table and closes it again, Exit asks before quitting when
// Autosave is off (from the menu and from the close button), and the demo
// started from the menu gives way to the menu with Continue, which brings
// the interrupted game back. Screenshots in English and French.
#include <X11/keysym.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "game/save_record.h"
#include "tests/e2e/prepared_settings.h"
#include "tests/support/game_run.h"
#include "ui/settings.h"

using namespace testing_support;

namespace {

constexpr unsigned kFrameBorder = 0x3030BF;  // the menu's and the alert's border

struct Box {
  int left = 10000, top = 10000, right = -1, bottom = -1;
  bool Empty() const { return right < 0; }
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

unsigned Rgb(const RgbImage& shot, int x, int y) {
  const std::uint8_t* p = shot.At(x, y);
  return static_cast<unsigned>(p[0]) << 16 | p[1] << 8 | p[2];
}

// The bounding box of the pixels of the frame border's colour.
Box BorderBox(const RgbImage& shot) {
  Box b;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      if (Rgb(shot, x, y) != kFrameBorder) continue;
      b.left = std::min(b.left, x), b.right = std::max(b.right, x);
      b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
    }
  }
  return b;
}

// The focused menu row has a green gradient behind its text.
bool Focused(const RgbImage& shot, const Box& menu, int row) {
  const std::uint8_t* p = shot.At(menu.left + 14, menu.top + 6 + 17 * row + 8);
  return p[1] > p[0] + 60 && p[1] > p[2] + 60;
}

std::vector<unsigned char> Settings(u8 autosave, u8 language) {
  std::vector<unsigned char> bytes = PreparedSettings(1);
  SettingsRecord settings;
  std::memcpy(settings.Bytes(), bytes.data(), kSettingsRecordSize);
  settings.autosave = autosave;
  settings.language = language;
  return std::vector<unsigned char>(settings.Bytes(), settings.Bytes() + kSettingsRecordSize);
}

SaveRecord AsSaveRecord(const std::vector<unsigned char>& bytes) {
  SaveRecord record{};
  if (bytes.size() == kSaveRecordSize) std::memcpy(record.Bytes(), bytes.data(), kSaveRecordSize);
  return record;
}

class MenuE2E : public ::testing::Test {
 protected:
  // Starts the game with the settings, leaves the title and waits for the
  // dealt table to rest.
  void StartAndPlay(u8 autosave, u8 language = 0) {
    GameOptions options;
    options.records[50] = Settings(autosave, language);
    START_GAME_OR_SKIP(run_, options);
    run_.Client().Click(run_.GameWindow(), 300, 300);
    ASSERT_TRUE(run_.WaitStill(15000)) << "the table never came to rest";
    run_.Client().Focus(run_.GameWindow());
  }
  void Tap(unsigned long keysym) {
    run_.Client().KeyTap(keysym);
    SleepMs(120);
  }
  // Grabs the window until the picture passes the check (at most 5 s),
  // then keeps a screenshot of it.
  RgbImage WaitFor(const std::string& name, const std::function<bool(const RgbImage&)>& check) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!check(run_.Client().Grab(run_.GameWindow())) &&
           std::chrono::steady_clock::now() < end) {
      SleepMs(50);
    }
    return run_.Screenshot(name);
  }
  // Waits until a menu or alert of that height stands open, or (height 0)
  // until none is left and, unless the demo moves behind it, the closing
  // animation is over.
  Box WaitForBox(const std::string& name, int height, bool moving = false) {
    const Box box = BorderBox(WaitFor(name, [&](const RgbImage& shot) {
      const Box b = BorderBox(shot);
      return height ? b.Height() == height : b.Empty();
    }));
    EXPECT_EQ(box.Empty() ? 0 : box.Height(), height) << name;
    if (height == 0 && !moving) {
      EXPECT_TRUE(run_.WaitStill(5000)) << name;
    }
    return box;
  }
  // Waits until the record file exists.
  std::vector<unsigned char> WaitForRecord(int number) {
    for (int i = 0; i < 100 && run_.ReadRecord(number).empty(); ++i) SleepMs(50);
    return run_.ReadRecord(number);
  }
  int ExitStatusWithin(int ms) {
    const int status = run_.WaitExit(ms);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  GameRun run_;
};

TEST_F(MenuE2E, EscapeOpensTheMenuAndExitAsksWithoutAutosave) {
  StartAndPlay(0);
  if (IsSkipped() || HasFatalFailure()) return;
  Tap(XK_Escape);
  const Box menu = WaitForBox("menu-play-en", 216);  // 12 rows of 17, and 12
  ASSERT_FALSE(menu.Empty());
  EXPECT_LE(std::abs(menu.left + menu.right - 639), 1);  // centred
  EXPECT_LE(std::abs(menu.top + menu.bottom - 479), 1);
  // New game has the focus; Down three times: Pick game, Demo, then past
  // the separator to Options.
  Tap(XK_Down), Tap(XK_Down), Tap(XK_Down);
  const RgbImage moved = WaitFor("menu-play-options-en", [&](const RgbImage& shot) {
    return Focused(shot, menu, 4);
  });
  EXPECT_TRUE(Focused(moved, menu, 4));
  EXPECT_FALSE(Focused(moved, menu, 3));
  EXPECT_FALSE(Focused(moved, menu, 0));

  // Escape closes the menu and the game goes on: a click shoots.
  Tap(XK_Escape);
  WaitForBox("menu-closed-en", 0);
  const RgbImage back = run_.Client().Grab(run_.GameWindow());
  run_.Client().Click(run_.GameWindow(), 231, 60);
  SleepMs(300);
  ASSERT_TRUE(run_.WaitStill(15000));
  EXPECT_NE(run_.Screenshot("menu-after-shot-en").pixels, back.pixels);

  // Exit from the menu (Up wraps to the last item) asks; Escape resumes.
  Tap(XK_Escape);
  WaitForBox("menu-again-en", 216);
  Tap(XK_Up), Tap(XK_Return);
  const Box alert = WaitForBox("alert-exit-en", 116);
  EXPECT_LE(std::abs(alert.left + alert.right - 639), 1);
  Tap(XK_Escape);
  WaitForBox("alert-cancelled-en", 0);
  EXPECT_TRUE(run_.Process().Running());

  // Exit again, and Return quits at once with the settings written.
  Tap(XK_Escape);
  WaitForBox("menu-exit-en", 216);
  Tap(XK_Up), Tap(XK_Return);
  WaitForBox("alert-exit-again-en", 116);
  const auto start = std::chrono::steady_clock::now();
  run_.Client().KeyTap(XK_Return);
  EXPECT_EQ(ExitStatusWithin(1000), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  const std::vector<unsigned char> settings = run_.ReadRecord(50);
  ASSERT_EQ(settings.size(), kSettingsRecordSize);
  EXPECT_EQ(settings[103], 1);  // written at exit: a game was started in this run
  EXPECT_TRUE(run_.ReadRecord(0).empty());  // no autosave
}

TEST_F(MenuE2E, CloseButtonAsksTooAndFrenchTextsFit) {
  StartAndPlay(0, 1);
  if (IsSkipped() || HasFatalFailure()) return;
  Tap(XK_Escape);
  WaitForBox("menu-play-fr", 216);
  Tap(XK_Escape);
  WaitForBox("menu-closed-fr", 0);
  // The close button at the top right asks the same question.
  run_.Client().Click(run_.GameWindow(), 624, 10);
  WaitForBox("alert-close-fr", 116);
  EXPECT_TRUE(run_.Process().Running());
  run_.Client().KeyTap(XK_Return);
  EXPECT_EQ(ExitStatusWithin(1500), 0);
}

TEST_F(MenuE2E, DemoFromTheMenuThenContinueRestoresTheGame) {
  StartAndPlay(1);
  if (IsSkipped() || HasFatalFailure()) return;
  Tap(XK_Escape);
  WaitForBox("menu-before-demo", 216);
  Tap(XK_Down), Tap(XK_Down), Tap(XK_Return);  // Demo
  const std::vector<unsigned char> saved = WaitForRecord(10000);
  ASSERT_EQ(saved.size(), kSaveRecordSize);
  // The computer player is at work: the picture keeps changing.
  WaitForBox("demo-running", 0, true);
  const RgbImage demo1 = run_.Client().Grab(run_.GameWindow());
  SleepMs(1500);
  EXPECT_NE(run_.Screenshot("demo-running-later").pixels, demo1.pixels);

  // A key brings the menu back, with Continue and a separator on top.
  Tap(XK_a);
  const Box menu = WaitForBox("menu-demo-en", 250);
  EXPECT_TRUE(Focused(run_.Client().Grab(run_.GameWindow()), menu, 0));
  Tap(XK_Return);  // Continue
  WaitForBox("demo-continued", 0);
  // The game kept at exit is the one the demo interrupted.
  run_.Client().SendDelete(run_.GameWindow());
  EXPECT_EQ(ExitStatusWithin(5000), 0);
  const SaveRecord before = AsSaveRecord(saved);
  const SaveRecord after = AsSaveRecord(run_.ReadRecord(0));
  EXPECT_EQ(after.valid, 1);
  EXPECT_EQ(after.level, before.level);
  EXPECT_EQ(after.score, before.score);
  EXPECT_EQ(std::memcmp(after.cells, before.cells, sizeof before.cells), 0);
}

}  // namespace
