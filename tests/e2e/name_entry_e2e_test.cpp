// A lost game's name entry and the top-10 table in the real game. Each run
// starts from an autosaved game whose table already has a ball in the
// bottom row (score 1234): the title's key resumes it, the game is lost at
// once, and the next key opens the on-screen keyboard. The runs share one
// home, so each finds the table the one before left. Screenshots in English
// and French.
#include <X11/keysym.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "game/save_record.h"
#include "platform/image_pack.h"
#include "platform/startup.h"
#include "tests/e2e/prepared_settings.h"
#include "tests/support/game_run.h"
#include "ui/app_context.h"
#include "ui/font.h"
#include "ui/place_rect.h"
#include "ui/settings.h"

using namespace testing_support;

namespace {

constexpr int kTop10 = 100;  // EasyRide's table
constexpr i32 kScore = 1234;

std::vector<unsigned char> Settings(u8 language, const char* name) {
  const std::vector<unsigned char> prepared = PreparedSettings(1);
  SettingsRecord settings;
  std::memcpy(settings.Bytes(), prepared.data(), kSettingsRecordSize);
  settings.language = language;
  std::strncpy(settings.playerName, name, sizeof settings.playerName - 1);
  return std::vector<unsigned char>(settings.Bytes(), settings.Bytes() + kSettingsRecordSize);
}

// A few balls at the top and one in the bottom row: lost as soon as the
// table has flown in.
std::vector<unsigned char> LostGame() {
  SaveRecord save{};
  save.score = kScore;
  save.currentColour = 1;
  save.nextColour = 2;
  save.colourCount = 4;
  for (int c = 0; c < 6; ++c) save.cells[0][c] = static_cast<u8>(1 + c % 4);
  save.cells[kSaveRows - 1][10] = 3;
  save.valid = 1;
  return std::vector<unsigned char>(save.Bytes(), save.Bytes() + kSaveRecordSize);
}

struct Entry {
  std::string name;
  i32 score;
};

std::vector<Entry> Table(const std::vector<unsigned char>& bytes) {
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

// The table of a first result: the result, then nine empty entries named
// in the language of the run that made the table.
void ExpectFirstResult(const std::vector<unsigned char>& bytes, const std::string& name,
                       const std::string& empty = "Empty") {
  const std::vector<Entry> table = Table(bytes);
  ASSERT_EQ(table.size(), 10u);
  EXPECT_EQ(table[0].name, name);
  EXPECT_EQ(table[0].score, kScore);
  for (int i = 1; i < 10; ++i) {
    EXPECT_EQ(table[i].name, empty) << i;
    EXPECT_EQ(table[i].score, 0) << i;
  }
}

constexpr unsigned kFrameBorder = 0x3030BF;  // the border of every screen's box

unsigned Rgb(const RgbImage& shot, int x, int y) {
  const std::uint8_t* p = shot.At(x, y);
  return static_cast<unsigned>(p[0]) << 16 | p[1] << 8 | p[2];
}

// The box of the screens: the bounding box of the frame border's colour.
Rect BorderBox(const RgbImage& shot) {
  int l = 10000, t = 10000, r = -1, b = -1;
  for (int y = 0; y < shot.height; ++y) {
    for (int x = 0; x < shot.width; ++x) {
      if (Rgb(shot, x, y) != kFrameBorder) continue;
      l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y);
    }
  }
  return Rect(l, t, r, b);
}

// Where the keyboard's keys are on the screen: the layout worked out again
// from the generated font.
class KeyboardGeometry {
 public:
  explicit KeyboardGeometry(const std::string& dataDir) {
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", dataDir.c_str());
    pack_.reset(ImagePack::Create("640x480"));
    context_.reset(AppContext::Create(pack_.get()));
    const SkinContext* skin = context_->skin;
    u_ = 3 * ImageHeight(skin, kFirstGlyphImage) / 2;
    Rect box(0, 0, 11 * u_ + 39, 6 * u_ + 139);
    PlaceRect(box, Rect(0, 0, 640, 480), kPlaceCentre, 0);
    box_ = box;
    gridLeft_ = box.left + (box.Width() - 11 * u_ + 1) / 2;
    gridTop_ = box.top + 28 + 24 + 20;
    // The first special row: CAPS, SHIFT and the space bar, centred on the grid.
    capsWidth_ = 3 * TextWidth(skin, "CAPS") / 2;
    shiftWidth_ = 3 * TextWidth(skin, "SHIFT") / 2;
    const int row = capsWidth_ + shiftWidth_ + 3 * TextWidth(skin, "      ") / 2;
    rowLeft_ = gridLeft_ + (11 * u_ - row + 1) / 2;
  }
  int U() const { return u_; }
  const Rect& Box() const { return box_; }
  // The middle of character key i.
  int KeyX(int i) const { return gridLeft_ + u_ * (i % 11) + u_ / 2; }
  int KeyY(int i) const { return gridTop_ + (u_ + 1) * (i / 11) + u_ / 2; }
  int ShiftX() const { return rowLeft_ + capsWidth_ + shiftWidth_ / 2; }
  int ShiftY() const { return gridTop_ + 4 * u_ + 4 + u_ / 2; }

 private:
  std::unique_ptr<ImagePack> pack_;
  std::unique_ptr<AppContext> context_;
  int u_ = 0;
  Rect box_;
  int gridLeft_ = 0, gridTop_ = 0, capsWidth_ = 0, shiftWidth_ = 0, rowLeft_ = 0;
};

class NameEntryE2E : public ::testing::Test {
 protected:
  // Starts the game over the shared home with the lost game as its
  // autosave, resumes it and waits until it is lost.
  void StartLost(u8 language, const char* name) {
    GameOptions options;
    options.home = home_.Path();
    options.records[50] = Settings(language, name);
    options.records[0] = LostGame();
    run_ = std::make_unique<GameRun>();
    START_GAME_OR_SKIP(*run_, options);
    run_->Client().Focus(run_->GameWindow());
    Tap(XK_Return);
    SleepMs(2500);  // the table flies in and bursts
  }
  void Tap(unsigned long keysym) {
    run_->Client().KeyTap(keysym);
    SleepMs(100);
  }
  void Type(const std::string& text) {
    for (char c : text) Tap(static_cast<unsigned long>(c));
  }
  void Click(int x, int y) {
    run_->Client().Click(run_->GameWindow(), x, y);
    SleepMs(100);
  }
  // Waits out an opening or closing animation and grabs the window.
  RgbImage Shot(const std::string& name) {
    SleepMs(350);
    return run_->Screenshot(name);
  }
  // Waits for the new game to rest, quits (Autosave is on: no question)
  // and waits for the end.
  void Quit() {
    SleepMs(500);
    EXPECT_TRUE(run_->WaitStill(15000));
    run_->Client().SendDelete(run_->GameWindow());
    const int status = run_->WaitExit(5000);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  std::vector<unsigned char> Record(int number) const { return run_->ReadRecord(number); }
  // The autosave written at exit is a new game being played, not the lost
  // one.
  void ExpectNewGameKept() const {
    const std::vector<unsigned char> game = Record(0);
    ASSERT_EQ(game.size(), kSaveRecordSize);
    SaveRecord saved{};
    std::memcpy(saved.Bytes(), game.data(), kSaveRecordSize);
    EXPECT_EQ(saved.valid, 1);
    EXPECT_EQ(saved.score, 0u);
    EXPECT_EQ(saved.cells[kSaveRows - 1][10], 0);
  }
  SettingsRecord SavedSettings() const {
    SettingsRecord settings{};
    const std::vector<unsigned char> bytes = Record(50);
    if (bytes.size() == kSettingsRecordSize)
      std::memcpy(settings.Bytes(), bytes.data(), bytes.size());
    return settings;
  }

  TempDir home_;
  std::unique_ptr<GameRun> run_;
};

// Return opens the keyboard; "abc" and Return store the result and show
// the table; Return there starts a new game. Next time a letter key ends
// the lost game: the keyboard opens with the last name, untouched by that
// key, and SHIFT, a, b clicked on the screen replace it with "Ab".
TEST_F(NameEntryE2E, TypedAndClickedNamesGoIntoTheTable) {
  StartLost(0, "Zed");
  if (IsSkipped() || HasFatalFailure()) return;
  run_->Screenshot("name-lost-game");
  Tap(XK_Return);
  const Rect keyboard = BorderBox(Shot("name-keyboard-en"));
  EXPECT_EQ(keyboard.Width(), 11 * 18 + 40);
  EXPECT_EQ(keyboard.Height(), 6 * 18 + 140);
  EXPECT_TRUE(Record(kTop10).empty());
  Type("abc");
  Shot("name-keyboard-typed-en");
  Tap(XK_Return);
  const Rect table = BorderBox(Shot("name-top10-en"));
  EXPECT_EQ(table.Height(), 292);
  ExpectFirstResult(Record(kTop10), "abc");

  // Return on the table starts a new game, kept at exit.
  Tap(XK_Return);
  Quit();
  EXPECT_STREQ(SavedSettings().playerName, "abc");
  EXPECT_EQ(SavedSettings().score, 0u);
  ExpectNewGameKept();

  StartLost(0, "abc");
  if (HasFatalFailure()) return;
  Tap(XK_q);
  SleepMs(350);
  const KeyboardGeometry keys(run_->InstallDir());
  EXPECT_EQ(BorderBox(run_->Screenshot("name-keyboard-preset-en")), keys.Box());
  Click(keys.ShiftX(), keys.ShiftY());
  Click(keys.KeyX(22), keys.KeyY(22));  // a
  Click(keys.KeyX(37), keys.KeyY(37));  // b
  Shot("name-keyboard-clicked-en");
  Tap(XK_Return);
  SleepMs(500);
  const std::vector<Entry> entries = Table(Record(kTop10));
  ASSERT_EQ(entries.size(), 10u);
  EXPECT_EQ(entries[0].name, "abc");
  EXPECT_EQ(entries[1].name, "Ab");  // an equal score goes below
  EXPECT_EQ(entries[1].score, kScore);
  EXPECT_EQ(entries[2].score, 0);
  Tap(XK_Return);
  Quit();
  EXPECT_STREQ(SavedSettings().playerName, "Ab");
}

// In French: Delete wipes the last name and Return stores "Anonymous".
// Then Escape on the keyboard writes nothing and starts a new game, and
// the table's Clear from the menu asks: cancelled it leaves the file as it
// was, confirmed it empties it.
TEST_F(NameEntryE2E, AnonymousEscapeAndClear) {
  StartLost(1, "Zed");
  if (IsSkipped() || HasFatalFailure()) return;
  Tap(XK_Return);
  Shot("name-keyboard-fr");
  Tap(XK_Delete);
  Tap(XK_Return);
  Shot("name-top10-fr");
  ExpectFirstResult(Record(kTop10), "Anonymous", "Vide");
  Tap(XK_Return);
  Quit();
  EXPECT_STREQ(SavedSettings().playerName, "");

  const std::vector<unsigned char> before = Record(kTop10);
  StartLost(0, "");
  if (HasFatalFailure()) return;
  Tap(XK_Return);
  SleepMs(350);
  Tap(XK_Escape);
  SleepMs(500);
  ASSERT_TRUE(run_->WaitStill(15000));
  EXPECT_EQ(Record(kTop10), before);

  // The menu's Top 10: Right twice reaches Clear, Space chooses it.
  Tap(XK_Escape);
  SleepMs(350);
  for (int i = 0; i < 5; ++i) Tap(XK_Down);
  Tap(XK_Return);
  Shot("top10-menu-en");
  Tap(XK_Right), Tap(XK_Right), Tap(XK_space);
  // The alert (116 high, centred) over the table: its top border.
  EXPECT_EQ(Rgb(Shot("top10-clear-alert-en"), 320, (480 - 116 + 1) / 2), kFrameBorder);
  Tap(XK_Escape);
  EXPECT_NE(Rgb(Shot("top10-clear-cancelled-en"), 320, (480 - 116 + 1) / 2), kFrameBorder);
  EXPECT_EQ(Record(kTop10), before);
  Tap(XK_space);
  Shot("top10-clear-again-en");
  Tap(XK_Return);
  Shot("top10-cleared-en");
  const std::vector<Entry> cleared = Table(Record(kTop10));
  ASSERT_EQ(cleared.size(), 10u);
  for (const Entry& e : cleared) {
    EXPECT_EQ(e.name, "Empty");
    EXPECT_EQ(e.score, 0);
  }
  Tap(XK_Return);  // Ok: back to the game
  SleepMs(400);
  EXPECT_EQ(BorderBox(run_->Screenshot("top10-closed-en")).right, -1);
  Quit();
  // The game kept at exit is the new one that Escape started.
  ExpectNewGameKept();
}

}  // namespace
