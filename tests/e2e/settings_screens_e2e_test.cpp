// The settings screens in the real game, over four starts sharing one
// home: Options turns Autosave on, and the menu's Exit then quits at once
// keeping the game, which the next start continues; Pick game declined
// keeps the skill, and confirmed stores it, so that the next result goes to
// that skill's table; Language switches the menu to French at once and the
// choice survives a restart. Screenshots of each screen in English and
// French.
#include <chrono>
#include <cstdlib>

#include "tests/e2e/screen_e2e.h"

using namespace screen_e2e;

namespace {

constexpr int kOptionsHeight = 241, kPickGameHeight = 203, kLanguageHeight = 148;
constexpr int kPickGame = 1, kOptions = 3, kLanguage = 4;

using SettingsScreensE2E = ScreenE2E;

TEST_F(SettingsScreensE2E, OptionsPickGameAndLanguageAreKeptAcrossStarts) {
  GameOptions first;
  first.records[50] = SettingsWith(0, 0);  // Autosave off
  Start(first);
  if (IsSkipped() || HasFatalFailure()) return;

  // English: Options, Autosave (just above Ok) turned on, Ok.
  const Box menuEn = OpenMenu("settings-menu-en");
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
  WaitForBox("pickgame-declined-en", kPickGameHeight);
  Tap(XK_Escape);
  WaitForBox("pickgame-closed-en", 0);

  // Language: French (just above Ok), Ok; the next menu is French at once.
  MenuItem(kLanguage, "language-en", kLanguageHeight);
  Tap(XK_Up), Tap(XK_space);
  run_->Screenshot("language-french-checked-en");
  Tap(XK_Return);
  WaitForBox("language-closed-en", 0);
  const Box menuFr = OpenMenu("settings-menu-fr");
  EXPECT_NE(menuFr.Width(), menuEn.Width());
  Tap(XK_Escape);
  WaitForBox("settings-menu-closed-fr", 0);

  // The dialogs in French; Escape leaves each without a change.
  MenuItem(kOptions, "options-fr", kOptionsHeight);
  Tap(XK_Up), Tap(XK_space), Tap(XK_Escape);  // Autosave off, then cancelled
  WaitForBox("options-cancelled-fr", 0);
  MenuItem(kLanguage, "language-fr", kLanguageHeight);
  Tap(XK_Escape);
  WaitForBox("language-closed-fr", 0);

  // Exit from the menu (Up wraps to it) quits at once: Autosave is on.
  OpenMenu("settings-menu-exit-fr");
  Tap(XK_Up);
  const auto start = std::chrono::steady_clock::now();
  run_->Client().KeyTap(XK_Return);
  EXPECT_EQ(ExitStatusWithin(2000), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
  std::vector<unsigned char> settings = run_->ReadRecord(50);
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
  EXPECT_EQ(OpenMenu("settings-menu-restarted-fr").Width(), menuFr.Width());
  Tap(XK_Escape);
  WaitForBox("settings-menu-restarted-closed-fr", 0);
  Quit();
  EXPECT_TRUE(SamePosition(AsSaveRecord(run_->ReadRecord(0)), kept));

  // Third start: Pick game, Novice, Ok and Ok in the alert: a new game
  // with the new skill.
  Restart();
  Start();
  if (HasFatalFailure()) return;
  MenuItem(kPickGame, "pickgame-fr", kPickGameHeight);
  Tap(XK_Down), Tap(XK_space), Tap(XK_Return);
  WaitForAlert("pickgame-confirm-fr", true);
  Tap(XK_Return);
  WaitForBox("pickgame-confirmed-fr", 0);
  Quit();
  EXPECT_EQ(SavedSettings().skill, 1);  // Novice
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
  WaitForRecord(104);
  run_->Screenshot("settings-novice-top10-fr");
  const std::vector<Entry> novice = Table(run_->ReadRecord(104));
  ASSERT_EQ(novice.size(), 10u);
  EXPECT_EQ(novice[0].score, kLostScore);
  EXPECT_TRUE(run_->ReadRecord(100).empty());
  run_->Client().SendDelete(run_->GameWindow());
  EXPECT_EQ(ExitStatusWithin(5000), 0);
}

}  // namespace
