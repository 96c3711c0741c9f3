// A lost game's name entry and the top-10 table in the real game. Each run
// starts from an autosaved game whose table already has a ball in the
// bottom row (score 1234): a click on the title resumes it, the game is lost at
// once, and the next key opens the on-screen keyboard. The runs share one
// home, so each finds the table the one before left. Screenshots in English
// and French.
#include <cstdio>
#include <memory>

#include "platform/image_pack.h"
#include "platform/startup.h"
#include "tests/e2e/screen_e2e.h"
#include "ui/app_context.h"
#include "ui/font.h"
#include "ui/place_rect.h"

using namespace screen_e2e;

namespace {

constexpr int kTop10 = 100;  // EasyRide's table

// The table of a first result: the result, then nine empty entries named
// in the language of the run that made the table.
void ExpectFirstResult(const std::vector<unsigned char>& bytes, const std::string& name,
                       const std::string& empty = "Empty") {
  const std::vector<Entry> table = Table(bytes);
  ASSERT_EQ(table.size(), 10u);
  EXPECT_EQ(table[0].name, name);
  EXPECT_EQ(table[0].score, kLostScore);
  for (int i = 1; i < 10; ++i) {
    EXPECT_EQ(table[i].name, empty) << i;
    EXPECT_EQ(table[i].score, 0) << i;
  }
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
  Box Bounds() const { return Box{box_.left, box_.top, box_.right, box_.bottom}; }
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

class NameEntryE2E : public ScreenE2E {
 protected:
  // Starts over the shared home with the lost game as its autosave,
  // resumes it and waits until it is lost.
  void StartLost(u8 language, const char* name) {
    Restart();
    GameOptions options;
    options.records[50] = SettingsWith(1, language, name);
    options.records[0] = LostGame();
    Start(options, true);
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
  std::vector<unsigned char> Record(int number) const { return run_->ReadRecord(number); }
  // The autosave written at exit is a new game being played, not the lost
  // one.
  void ExpectNewGameKept() const {
    const SaveRecord saved = AsSaveRecord(Record(0));
    EXPECT_EQ(saved.valid, 1);
    EXPECT_EQ(saved.score, 0u);
    EXPECT_EQ(saved.cells[kSaveRows - 1][10], 0);
  }
};

constexpr int kKeyboardHeight = 6 * 18 + 140;

// Return opens the keyboard; "abc" and Return store the result and show
// the table; Return there starts a new game. Next time a letter key ends
// the lost game: the keyboard opens with the last name, untouched by that
// key, and SHIFT, a, b clicked on the screen replace it with "Ab".
TEST_F(NameEntryE2E, TypedAndClickedNamesGoIntoTheTable) {
  StartLost(0, "Zed");
  if (IsSkipped() || HasFatalFailure()) return;
  Tap(XK_Return);
  EXPECT_EQ(WaitForBox("name-keyboard-en", kKeyboardHeight).Width(), 11 * 18 + 40);
  EXPECT_TRUE(Record(kTop10).empty());
  Type("abc");
  Tap(XK_Return);
  WaitForBox("name-top10-en", kTop10Height);
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
  const KeyboardGeometry keys(run_->InstallDir());
  EXPECT_EQ(WaitForBox("name-keyboard-preset-en", kKeyboardHeight), keys.Bounds());
  Click(keys.ShiftX(), keys.ShiftY());
  Click(keys.KeyX(22), keys.KeyY(22));  // a
  Click(keys.KeyX(37), keys.KeyY(37));  // b
  Tap(XK_Return);
  WaitForBox("name-top10-clicked-en", kTop10Height);
  const std::vector<Entry> entries = Table(Record(kTop10));
  ASSERT_EQ(entries.size(), 10u);
  EXPECT_EQ(entries[0].name, "abc");
  EXPECT_EQ(entries[1].name, "Ab");  // an equal score goes below
  EXPECT_EQ(entries[1].score, kLostScore);
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
  WaitForBox("name-keyboard-fr", kKeyboardHeight);
  Tap(XK_Delete);
  Tap(XK_Return);
  WaitForBox("name-top10-fr", kTop10Height);
  ExpectFirstResult(Record(kTop10), "Anonymous", "Vide");
  Tap(XK_Return);
  Quit();
  EXPECT_STREQ(SavedSettings().playerName, "");

  const std::vector<unsigned char> before = Record(kTop10);
  StartLost(0, "");
  if (HasFatalFailure()) return;
  Tap(XK_Return);
  WaitForBox("name-keyboard-empty-en", kKeyboardHeight);
  Tap(XK_Escape);
  WaitForBox("name-keyboard-escaped-en", 0);
  EXPECT_EQ(Record(kTop10), before);

  // The menu's Top 10: Right twice reaches Clear, Space chooses it.
  MenuItem(5, "top10-en", kTop10Height);
  Tap(XK_Right), Tap(XK_Right), Tap(XK_space);
  WaitForAlert("top10-clear-alert-en", true);
  Tap(XK_Escape);
  WaitForAlert("top10-clear-cancelled-en", false);
  EXPECT_EQ(Record(kTop10), before);
  Tap(XK_space);
  WaitForAlert("top10-clear-again-en", true);
  Tap(XK_Return);
  WaitForAlert("top10-cleared-en", false);
  const std::vector<Entry> cleared = Table(Record(kTop10));
  ASSERT_EQ(cleared.size(), 10u);
  for (const Entry& e : cleared) {
    EXPECT_EQ(e.name, "Empty");
    EXPECT_EQ(e.score, 0);
  }
  Tap(XK_Return);  // Ok: back to the game
  WaitForBox("top10-closed-en", 0);
  Quit();
  // The game kept at exit is the new one that Escape started.
  ExpectNewGameKept();
}

}  // namespace
