// The settings screens in the real game, over four starts sharing one
// home: Options turns Autosave on, and the menu's Exit then quits at once
// keeping the game, which the next start continues; Pick game declined
// keeps the skill, and confirmed stores it, so that the next result goes to
// that skill's table; Language switches the menu to French at once and the
// choice survives a restart. Screenshots of each screen in English and
// French.
#include <X11/keysym.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
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
constexpr int kMenuHeight = 216, kOptionsHeight = 241, kPickGameHeight = 203,
              kLanguageHeight = 148;
constexpr int kAlertTop = 182;  // a 116-pixel alert centred in 480

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

// An autosaved game lost as soon as its table has flown in: a ball in the
// bottom row, score 1234.
std::vector<unsigned char> LostGame() {
  SaveRecord save{};
  save.score = 1234;
  save.currentColour = 1;
  save.nextColour = 2;
  save.colourCount = 4;
  for (int c = 0; c < 6; ++c) save.cells[0][c] = static_cast<u8>(1 + c % 4);
  save.cells[kSaveRows - 1][10] = 3;
  save.valid = 1;
  return std::vector<unsigned char>(save.Bytes(), save.Bytes() + kSaveRecordSize);
}

// The first entry's score of a stored top-10 table, or -1 without one.
i32 FirstScore(const std::vector<unsigned char>& table) {
  if (table.size() != 340) return -1;
  i32 score;
  std::memcpy(&score, &table[300], 4);
  return score;
}

SaveRecord AsSaveRecord(const std::vector<unsigned char>& bytes) {
  SaveRecord record{};
  if (bytes.size() == kSaveRecordSize) std::memcpy(record.Bytes(), bytes.data(), kSaveRecordSize);
  return record;
}

class SettingsScreensE2E : public ::testing::Test {
 protected:
  // Starts the game in the shared home, leaves the title and waits for the
  // table to rest (a lost game never rests: its table flies in and bursts).
  void Start(const GameOptions& base = GameOptions(), bool lost = false) {
    GameOptions options = base;
    options.home = home_.Path();
    START_GAME_OR_SKIP(*run_, options);
    run_->Client().Click(run_->GameWindow(), 300, 300);
    if (lost) {
      SleepMs(2500);
    } else {
      ASSERT_TRUE(run_->WaitStill(15000)) << "the table never came to rest";
    }
    run_->Client().Focus(run_->GameWindow());
  }
  void Tap(unsigned long keysym, int times = 1) {
    for (int i = 0; i < times; ++i) {
      run_->Client().KeyTap(keysym);
      SleepMs(120);
    }
  }
  // Grabs the window until the picture passes the check (at most 5 s),
  // then keeps a screenshot of it.
  RgbImage WaitFor(const std::string& name, const std::function<bool(const RgbImage&)>& check) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!check(run_->Client().Grab(run_->GameWindow())) &&
           std::chrono::steady_clock::now() < end) {
      SleepMs(50);
    }
    return run_->Screenshot(name);
  }
  // Waits until a menu or dialog of that height stands open, or (height 0)
  // until none is left and the closing is over.
  Box WaitForBox(const std::string& name, int height) {
    const Box box = BorderBox(WaitFor(name, [&](const RgbImage& shot) {
      const Box b = BorderBox(shot);
      return height ? b.Height() == height : b.Empty();
    }));
    EXPECT_EQ(box.Empty() ? 0 : box.Height(), height) << name;
    if (height == 0) {
      EXPECT_TRUE(run_->WaitStill(5000)) << name;
    }
    return box;
  }
  // Waits until the alert stands over a dialog (its top edge crosses the
  // middle of the window) or has gone.
  void WaitForAlert(const std::string& name, bool shown) {
    const auto alertTop = [&](const RgbImage& shot) {
      const std::uint8_t* p = shot.At(320, kAlertTop);
      return (static_cast<unsigned>(p[0]) << 16 | p[1] << 8 | p[2]) == kFrameBorder;
    };
    const RgbImage shot =
        WaitFor(name, [&](const RgbImage& now) { return alertTop(now) == shown; });
    EXPECT_EQ(alertTop(shot), shown) << name;
  }
  // Opens the main menu and chooses the item so many steps down, which
  // opens a dialog of that height.
  Box MenuItem(int down, const std::string& name, int height) {
    Tap(XK_Escape);
    WaitForBox(name + "-menu", kMenuHeight);
    Tap(XK_Down, down);
    Tap(XK_Return);
    return WaitForBox(name, height);
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
  const Box menuEn = WaitForBox("settings-menu-en", kMenuHeight);
  Tap(XK_Escape);
  WaitForBox("settings-menu-closed-en", 0);
  const Box options = MenuItem(kOptions, "options-en", kOptionsHeight);
  EXPECT_LE(std::abs(options.left + options.right - 639), 2);
  Tap(XK_Up), Tap(XK_space);
  run_->Screenshot("options-autosave-en");
  Tap(XK_Return);
  WaitForBox("options-closed-en", 0);

  // Pick game: Novice, Ok, and Escape in the alert keeps the dialog open.
  MenuItem(kPickGame, "pickgame-en", kPickGameHeight);
  Tap(XK_Down), Tap(XK_space), Tap(XK_Return);
  WaitForAlert("pickgame-alert-en", true);
  Tap(XK_Escape);
  WaitForAlert("pickgame-declined-en", false);
  EXPECT_EQ(WaitForBox("pickgame-declined-en", kPickGameHeight).Height(), kPickGameHeight);
  Tap(XK_Escape);
  WaitForBox("pickgame-closed-en", 0);

  // Language: French (just above Ok), Ok; the next menu is French at once.
  MenuItem(kLanguage, "language-en", kLanguageHeight);
  Tap(XK_Up), Tap(XK_space);
  run_->Screenshot("language-french-checked-en");
  Tap(XK_Return);
  WaitForBox("language-closed-en", 0);
  Tap(XK_Escape);
  const RgbImage menuShotFr = WaitFor("settings-menu-fr", [](const RgbImage& shot) {
    return BorderBox(shot).Height() == kMenuHeight;
  });
  const Box menuFr = BorderBox(menuShotFr);
  EXPECT_EQ(menuFr.Height(), kMenuHeight);
  EXPECT_NE(menuFr.Width(), menuEn.Width());
  Tap(XK_Escape);
  WaitForBox("settings-menu-closed-fr", 0);

  // The same screens in French; Escape leaves each without a change.
  MenuItem(kOptions, "options-fr", kOptionsHeight);
  Tap(XK_Up), Tap(XK_space), Tap(XK_Escape);  // Autosave off, then cancelled
  WaitForBox("options-cancelled-fr", 0);
  MenuItem(kPickGame, "pickgame-fr", kPickGameHeight);
  Tap(XK_Return);
  WaitForAlert("pickgame-alert-fr", true);
  Tap(XK_Escape);
  WaitForAlert("pickgame-declined-fr", false);
  Tap(XK_Escape);
  WaitForBox("pickgame-closed-fr", 0);
  MenuItem(kLanguage, "language-fr", kLanguageHeight);
  Tap(XK_Escape);
  WaitForBox("language-closed-fr", 0);

  // Exit from the menu (Up wraps to it) quits at once: Autosave is on.
  Tap(XK_Escape);
  WaitForBox("settings-menu-exit-fr", kMenuHeight);
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
  EXPECT_EQ(WaitForBox("settings-menu-restarted-fr", kMenuHeight).Width(), menuFr.Width());
  Tap(XK_Escape);
  WaitForBox("settings-menu-restarted-closed-fr", 0);
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
  MenuItem(kPickGame, "pickgame-again-fr", kPickGameHeight);
  Tap(XK_Down), Tap(XK_space), Tap(XK_Return);
  WaitForAlert("pickgame-confirm-fr", true);
  Tap(XK_Return);
  WaitForBox("pickgame-confirmed-fr", 0);
  ASSERT_TRUE(run_->WaitStill(15000));
  run_->Client().SendDelete(run_->GameWindow());
  EXPECT_EQ(ExitStatusWithin(5000), 0);
  settings = run_->ReadRecord(50);
  ASSERT_EQ(settings.size(), kSettingsRecordSize);
  EXPECT_EQ(settings[1], 1);  // Novice
  const SaveRecord fresh = AsSaveRecord(run_->ReadRecord(0));
  EXPECT_NE(std::memcmp(fresh.cells, kept.cells, sizeof kept.cells), 0);

  // Fourth start, from a game about to be lost: its result goes to
  // Novice's table (record 104), not EasyRide's (100).
  Restart();
  GameOptions lost;
  lost.records[0] = LostGame();
  Start(lost, true);
  if (HasFatalFailure()) return;
  Tap(XK_Return);  // the keyboard, with the last name (none yet)
  SleepMs(500);
  Tap(XK_Return);  // stored as "Anonymous", and the table shows
  for (int i = 0; i < 60 && run_->ReadRecord(104).empty(); ++i) SleepMs(50);
  run_->Screenshot("settings-novice-top10-fr");
  EXPECT_EQ(FirstScore(run_->ReadRecord(104)), 1234);
  EXPECT_TRUE(run_->ReadRecord(100).empty());
  run_->Client().SendDelete(run_->GameWindow());
  EXPECT_EQ(ExitStatusWithin(5000), 0);
}

}  // namespace
