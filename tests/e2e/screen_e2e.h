// What the end-to-end runs through the game's screens share: the box of a
// menu, dialog or alert found by its border colour, the records they start
// from, and a fixture that taps keys and waits for a screen to stand open
// or to be gone.
#pragma once

#include <X11/keysym.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
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

namespace screen_e2e {

using testing_support::GameOptions;
using testing_support::GameRun;
using testing_support::RgbImage;
using testing_support::SleepMs;

constexpr unsigned kFrameBorder = 0x3030BF;  // the border of every menu, dialog and alert
constexpr int kMenuHeight = 216;             // in play: 12 rows of 17, and 12
constexpr int kAlertHeight = 116, kAlertTop = (480 - kAlertHeight + 1) / 2;
constexpr int kTop10Height = 292;

struct Box {
  int left = 10000, top = 10000, right = -1, bottom = -1;
  bool Empty() const { return right < 0; }
  int Width() const { return right - left + 1; }
  int Height() const { return bottom - top + 1; }
  bool operator==(const Box& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

inline unsigned Rgb(const RgbImage& shot, int x, int y) {
  const std::uint8_t* p = shot.At(x, y);
  return static_cast<unsigned>(p[0]) << 16 | p[1] << 8 | p[2];
}

// The bounding box of the pixels in the border colour.
inline Box BorderBox(const RgbImage& shot) {
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

// The prepared settings with Autosave, the language and the last name set.
inline std::vector<unsigned char> SettingsWith(u8 autosave, u8 language, const char* name = "") {
  const std::vector<unsigned char> prepared = PreparedSettings(1);
  SettingsRecord settings;
  std::memcpy(settings.Bytes(), prepared.data(), kSettingsRecordSize);
  settings.autosave = autosave;
  settings.language = language;
  std::strncpy(settings.playerName, name, sizeof settings.playerName - 1);
  return std::vector<unsigned char>(settings.Bytes(), settings.Bytes() + kSettingsRecordSize);
}

// An autosaved game lost as soon as its table has flown in: a few balls at
// the top and one in the bottom row.
constexpr i32 kLostScore = 1234;
inline std::vector<unsigned char> LostGame() {
  SaveRecord save{};
  save.score = kLostScore;
  save.currentColour = 1;
  save.nextColour = 2;
  save.colourCount = 4;
  for (int c = 0; c < 6; ++c) save.cells[0][c] = static_cast<u8>(1 + c % 4);
  save.cells[kSaveRows - 1][10] = 3;
  save.valid = 1;
  return std::vector<unsigned char>(save.Bytes(), save.Bytes() + kSaveRecordSize);
}

inline SaveRecord AsSaveRecord(const std::vector<unsigned char>& bytes) {
  SaveRecord record{};
  if (bytes.size() == kSaveRecordSize) std::memcpy(record.Bytes(), bytes.data(), kSaveRecordSize);
  return record;
}

// The entries of a stored top-10 table; none when there is no table.
struct Entry {
  std::string name;
  i32 score;
};

inline std::vector<Entry> Table(const std::vector<unsigned char>& bytes) {
  std::vector<Entry> entries;
  if (bytes.size() != 340) return entries;
  for (int i = 0; i < 10; ++i) {
    i32 score;
    std::memcpy(&score, &bytes[300 + 4 * i], 4);
    entries.push_back({std::string(reinterpret_cast<const char*>(&bytes[30 * i]),
                                   strnlen(reinterpret_cast<const char*>(&bytes[30 * i]), 30)),
                       score});
  }
  return entries;
}

inline bool SamePosition(const SaveRecord& a, const SaveRecord& b) {
  return a.level == b.level && a.score == b.score &&
         std::memcmp(a.cells, b.cells, sizeof a.cells) == 0;
}

class ScreenE2E : public ::testing::Test {
 protected:
  // Starts the game in the fixture's home (kept across restarts), leaves
  // the title with a click and waits for the table to rest; a lost game
  // never rests: its table flies in and bursts.
  void Start(GameOptions options = GameOptions(), bool lost = false) {
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
  void Restart() { run_ = std::make_unique<GameRun>(); }
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
  // Waits until a menu, dialog or alert of that height stands open, or
  // (height 0) until none is left and, unless the demo moves behind it,
  // the closing is over.
  Box WaitForBox(const std::string& name, int height, bool moving = false) {
    const Box box = BorderBox(WaitFor(name, [&](const RgbImage& shot) {
      const Box b = BorderBox(shot);
      return height ? b.Height() == height : b.Empty();
    }));
    EXPECT_EQ(box.Empty() ? 0 : box.Height(), height) << name;
    if (height == 0 && !moving) {
      EXPECT_TRUE(run_->WaitStill(5000)) << name;
    }
    return box;
  }
  // Waits until an alert stands over a dialog (its top edge crosses the
  // middle of the window) or has gone.
  void WaitForAlert(const std::string& name, bool shown) {
    const auto alertTop = [](const RgbImage& shot) {
      return Rgb(shot, 320, kAlertTop) == kFrameBorder;
    };
    const RgbImage shot =
        WaitFor(name, [&](const RgbImage& now) { return alertTop(now) == shown; });
    EXPECT_EQ(alertTop(shot), shown) << name;
  }
  // Opens the main menu with Escape.
  Box OpenMenu(const std::string& name) {
    Tap(XK_Escape);
    return WaitForBox(name, kMenuHeight);
  }
  // Opens the main menu and chooses the item so many steps down, which
  // opens a screen of that height.
  Box MenuItem(int down, const std::string& name, int height) {
    OpenMenu(name + "-menu");
    Tap(XK_Down, down);
    Tap(XK_Return);
    return WaitForBox(name, height);
  }
  std::vector<unsigned char> WaitForRecord(int number) {
    for (int i = 0; i < 100 && run_->ReadRecord(number).empty(); ++i) SleepMs(50);
    return run_->ReadRecord(number);
  }
  int ExitStatusWithin(int ms) {
    const int status = run_->WaitExit(ms);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  // Waits for the game to rest and closes the window (with Autosave on
  // nothing is asked): the game ends with status 0.
  void Quit() {
    SleepMs(500);
    EXPECT_TRUE(run_->WaitStill(15000));
    run_->Client().SendDelete(run_->GameWindow());
    EXPECT_EQ(ExitStatusWithin(5000), 0);
  }
  SettingsRecord SavedSettings() const {
    SettingsRecord settings{};
    const std::vector<unsigned char> bytes = run_->ReadRecord(50);
    if (bytes.size() == kSettingsRecordSize)
      std::memcpy(settings.Bytes(), bytes.data(), bytes.size());
    return settings;
  }

  testing_support::TempDir home_;
  std::unique_ptr<GameRun> run_ = std::make_unique<GameRun>();
};

}  // namespace screen_e2e
