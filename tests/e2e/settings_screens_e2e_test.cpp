// The settings screens in the real game, over three starts sharing one
// home: Options turns Autosave on, and the menu's Exit then quits at once
// keeping the game, which the next start continues; Pick game declined
// keeps the skill and confirmed stores it; Language switches the menu to
// French at once and the choice survives a restart. Screenshots of each
// screen in English and French.
#include <X11/keysym.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/save_record.h"
#include "tests/e2e/prepared_settings.h"
#include "tests/support/game_run.h"
#include "ui/settings.h"

using namespace testing_support;

namespace {

constexpr unsigned kFrameBorder = 0x3030BF;  // the border of menus and dialogs

struct Box {
  int left = 10000, top = 10000, right = -1, bottom = -1;
  bool Empty() const { return right < 0; }
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
};

// The bounding box of the pixels in the border colour.
Box BorderBox(const RgbImage& shot) {
  Box b;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      const std::uint8_t* p = shot.At(x, y);
      if ((static_cast<unsigned>(p[0]) << 16 | p[1] << 8 | p[2]) != kFrameBorder) continue;
      b.left = std::min(b.left, x), b.right = std::max(b.right, x);
      b.top = std::min(b.top, y), b.bottom = std::max(b.bottom, y);
    }
  }
  return b;
}

SaveRecord AsSaveRecord(const std::vector<unsigned char>& bytes) {
  SaveRecord record{};
  if (bytes.size() == kSaveRecordSize) std::memcpy(record.Bytes(), bytes.data(), kSaveRecordSize);
  return record;
}

class SettingsScreensE2E : public ::testing::Test {
 protected:
  // Starts the game in the shared home, leaves the title and waits for the
  // table to rest.
  void Start(const GameOptions& base = GameOptions()) {
    GameOptions options = base;
    options.home = home_.Path();
    START_GAME_OR_SKIP(*run_, options);
    run_->Client().Click(run_->GameWindow(), 300, 300);
    ASSERT_TRUE(run_->WaitStill(15000)) << "the table never came to rest";
    run_->Client().Focus(run_->GameWindow());
  }
  void Tap(unsigned long keysym, int times = 1) {
    for (int i = 0; i < times; ++i) {
      run_->Client().KeyTap(keysym);
      SleepMs(120);
    }
  }
  // Waits out an opening or closing animation and grabs the window.
  RgbImage Shot(const std::string& name) {
    SleepMs(400);
    return run_->Screenshot(name);
  }
  // Opens the main menu and chooses the item so many steps down.
  void MenuItem(int down) {
    Tap(XK_Escape);
    SleepMs(350);
    Tap(XK_Down, down);
    Tap(XK_Return);
    SleepMs(400);
  }
  int ExitStatusWithin(int ms) {
    const int status = run_->WaitExit(ms);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  void Restart() { run_ = std::make_unique<GameRun>(); }

  TempDir home_;
  std::unique_ptr<GameRun> run_ = std::make_unique<GameRun>();
};

constexpr int kPickGame = 1, kOptions = 3, kLanguage = 4;

TEST_F(SettingsScreensE2E, OptionsPickGameAndLanguageAreKeptAcrossStarts) {
  GameOptions first;
  std::vector<unsigned char> settings = PreparedSettings(1);
  settings[6] = 0;  // Autosave off
  first.records[50] = settings;
  Start(first);
  if (IsSkipped() || HasFatalFailure()) return;

  // English: Options, Autosave (just above Ok) turned on, Ok.
  Tap(XK_Escape);
  const Box menuEn = BorderBox(Shot("settings-menu-en"));
  Tap(XK_Escape);
  SleepMs(350);
  MenuItem(kOptions);
  const Box options = BorderBox(Shot("options-en"));
  EXPECT_EQ(options.Height(), 241);
  EXPECT_LE(std::abs(options.left + options.right - 639), 2);
  Tap(XK_Up), Tap(XK_space);
  Shot("options-autosave-en");
  Tap(XK_Return);
  EXPECT_TRUE(BorderBox(Shot("options-closed-en")).Empty());

  // Pick game: Novice, Ok, and Escape in the alert keeps the dialog open.
  MenuItem(kPickGame);
  EXPECT_EQ(BorderBox(Shot("pickgame-en")).Height(), 203);
  Tap(XK_Down), Tap(XK_space), Tap(XK_Return);
  SleepMs(300);
  EXPECT_EQ(BorderBox(Shot("pickgame-alert-en")).Height(), 203);  // the alert stands inside it
  Tap(XK_Escape);
  const RgbImage declined = Shot("pickgame-declined-en");
  EXPECT_EQ(BorderBox(declined).Height(), 203);
  Tap(XK_Escape);
  EXPECT_TRUE(BorderBox(Shot("pickgame-closed-en")).Empty());

  // Language: French (just above Ok), Ok; the next menu is French at once.
  MenuItem(kLanguage);
  EXPECT_EQ(BorderBox(Shot("language-en")).Height(), 148);
  Tap(XK_Up), Tap(XK_space);
  Shot("language-french-checked-en");
  Tap(XK_Return);
  SleepMs(400);
  Tap(XK_Escape);
  const RgbImage menuShotFr = Shot("settings-menu-fr");
  const Box menuFr = BorderBox(menuShotFr);
  EXPECT_EQ(menuFr.Height(), menuEn.Height());
  EXPECT_NE(menuFr.Width(), menuEn.Width());
  Tap(XK_Escape);
  SleepMs(350);

  // The same screens in French; Escape leaves each without a change.
  MenuItem(kOptions);
  EXPECT_EQ(BorderBox(Shot("options-fr")).Height(), 241);
  Tap(XK_Up), Tap(XK_space), Tap(XK_Escape);  // Autosave off, then cancelled
  SleepMs(400);
  MenuItem(kPickGame);
  Shot("pickgame-fr");
  Tap(XK_Return);
  SleepMs(300);
  Shot("pickgame-alert-fr");
  Tap(XK_Escape);
  SleepMs(300);
  Tap(XK_Escape);
  SleepMs(400);
  MenuItem(kLanguage);
  Shot("language-fr");
  Tap(XK_Escape);
  SleepMs(400);

  // Exit from the menu (Up wraps to it) quits at once: Autosave is on.
  Tap(XK_Escape);
  SleepMs(350);
  Tap(XK_Up);
  const auto start = std::chrono::steady_clock::now();
  run_->Client().KeyTap(XK_Return);
  EXPECT_EQ(ExitStatusWithin(2000), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
  settings = run_->ReadRecord(50);
  ASSERT_EQ(settings.size(), kSettingsRecordSize);
  EXPECT_EQ(settings[6], 1);    // Autosave
  EXPECT_EQ(settings[1], 0);    // the skill declined was not stored
  EXPECT_EQ(settings[105], 1);  // French
  const SaveRecord kept = AsSaveRecord(run_->ReadRecord(0));
  ASSERT_EQ(kept.valid, 1);

  // Second start: the game continues and the menu is still French.
  Restart();
  Start();
  if (HasFatalFailure()) return;
  Tap(XK_Escape);
  const Box menuAgain = BorderBox(Shot("settings-menu-restarted-fr"));
  EXPECT_EQ(menuAgain.Width(), menuFr.Width());
  Tap(XK_Escape);
  SleepMs(350);
  run_->Client().SendDelete(run_->GameWindow());
  EXPECT_EQ(ExitStatusWithin(5000), 0);
  const SaveRecord continued = AsSaveRecord(run_->ReadRecord(0));
  EXPECT_EQ(continued.level, kept.level);
  EXPECT_EQ(continued.score, kept.score);
  EXPECT_EQ(std::memcmp(continued.cells, kept.cells, sizeof kept.cells), 0);

  // Third start: Pick game, Novice, Ok and Ok in the alert: a new game
  // with the new skill.
  Restart();
  Start();
  if (HasFatalFailure()) return;
  MenuItem(kPickGame);
  Tap(XK_Down), Tap(XK_space), Tap(XK_Return);
  SleepMs(500);
  Tap(XK_Return);
  SleepMs(500);
  EXPECT_TRUE(BorderBox(Shot("pickgame-confirmed-fr")).Empty());
  ASSERT_TRUE(run_->WaitStill(15000));
  run_->Client().SendDelete(run_->GameWindow());
  EXPECT_EQ(ExitStatusWithin(5000), 0);
  settings = run_->ReadRecord(50);
  ASSERT_EQ(settings.size(), kSettingsRecordSize);
  EXPECT_EQ(settings[1], 1);  // Novice
  const SaveRecord fresh = AsSaveRecord(run_->ReadRecord(0));
  EXPECT_NE(std::memcmp(fresh.cells, kept.cells, sizeof kept.cells), 0);
}

}  // namespace
