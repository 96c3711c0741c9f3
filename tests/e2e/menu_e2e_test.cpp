// The main menu and the alert box in the real game: Escape opens the menu
// over the table and closes it again, Exit asks before quitting when
// Autosave is off (from the menu and from the close button), and the demo
// started from the menu gives way to the menu with Continue, which brings
// the interrupted game back. (The French menu is in the settings run.)
#include <chrono>
#include <cstdlib>

#include "tests/e2e/screen_e2e.h"

using namespace screen_e2e;

namespace {

// The focused menu row has a green gradient behind its text.
bool Focused(const RgbImage& shot, const Box& menu, int row) {
  const std::uint8_t* p = shot.At(menu.left + 14, menu.top + 6 + 17 * row + 8);
  return p[1] > p[0] + 60 && p[1] > p[2] + 60;
}

class MenuE2E : public ScreenE2E {
 protected:
  void StartAndPlay(u8 autosave) {
    GameOptions options;
    options.records[50] = SettingsWith(autosave, 0);
    Start(options);
  }
};

TEST_F(MenuE2E, EscapeOpensTheMenuAndExitAsksWithoutAutosave) {
  StartAndPlay(0);
  if (IsSkipped() || HasFatalFailure()) return;
  const Box menu = OpenMenu("menu-play-en");
  ASSERT_FALSE(menu.Empty());
  EXPECT_LE(std::abs(menu.left + menu.right - 639), 1);  // centred
  EXPECT_LE(std::abs(menu.top + menu.bottom - 479), 1);
  // New game has the focus; Down three times: Pick game, Demo, then past
  // the separator to Options.
  Tap(XK_Down, 3);
  const RgbImage moved =
      WaitFor("menu-play-options-en", [&](const RgbImage& shot) { return Focused(shot, menu, 4); });
  EXPECT_TRUE(Focused(moved, menu, 4));
  EXPECT_FALSE(Focused(moved, menu, 3));
  EXPECT_FALSE(Focused(moved, menu, 0));

  // Escape closes the menu and the game goes on: a click shoots.
  Tap(XK_Escape);
  WaitForBox("menu-closed-en", 0);
  const RgbImage back = run_->Client().Grab(run_->GameWindow());
  run_->Client().Click(run_->GameWindow(), 231, 60);
  SleepMs(300);
  ASSERT_TRUE(run_->WaitStill(15000));
  EXPECT_NE(run_->Screenshot("menu-after-shot-en").pixels, back.pixels);

  // Exit from the menu (Up wraps to the last item) asks; Escape resumes.
  OpenMenu("menu-again-en");
  Tap(XK_Up), Tap(XK_Return);
  const Box alert = WaitForBox("alert-exit-en", kAlertHeight);
  EXPECT_LE(std::abs(alert.left + alert.right - 639), 1);
  Tap(XK_Escape);
  WaitForBox("alert-cancelled-en", 0);
  EXPECT_TRUE(run_->Process().Running());
  // The close button at the top right asks the same question.
  run_->Client().Click(run_->GameWindow(), 624, 10);
  WaitForBox("alert-close-en", kAlertHeight);
  Tap(XK_Escape);
  WaitForBox("alert-close-cancelled-en", 0);
  EXPECT_TRUE(run_->Process().Running());

  // Exit again, and Return quits at once with the settings written.
  OpenMenu("menu-exit-en");
  Tap(XK_Up), Tap(XK_Return);
  WaitForBox("alert-exit-again-en", kAlertHeight);
  const auto start = std::chrono::steady_clock::now();
  run_->Client().KeyTap(XK_Return);
  EXPECT_EQ(ExitStatusWithin(1000), 0);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
  const std::vector<unsigned char> settings = run_->ReadRecord(50);
  ASSERT_EQ(settings.size(), kSettingsRecordSize);
  EXPECT_EQ(settings[103], 1);  // written at exit: a game was started in this run
  EXPECT_TRUE(run_->ReadRecord(0).empty());  // no autosave
}

TEST_F(MenuE2E, DemoFromTheMenuThenContinueRestoresTheGame) {
  StartAndPlay(1);
  if (IsSkipped() || HasFatalFailure()) return;
  OpenMenu("menu-before-demo");
  Tap(XK_Down, 2), Tap(XK_Return);  // Demo
  const std::vector<unsigned char> saved = WaitForRecord(10000);
  ASSERT_EQ(saved.size(), kSaveRecordSize);
  // The computer player is at work: the picture keeps changing.
  WaitForBox("demo-running", 0, true);
  const RgbImage demo1 = run_->Client().Grab(run_->GameWindow());
  SleepMs(1500);
  EXPECT_NE(run_->Screenshot("demo-running-later").pixels, demo1.pixels);

  // A key brings the menu back, with Continue and a separator on top.
  Tap(XK_a);
  const Box menu = WaitForBox("menu-demo-en", 250);
  EXPECT_TRUE(Focused(run_->Client().Grab(run_->GameWindow()), menu, 0));
  Tap(XK_Return);  // Continue
  WaitForBox("demo-continued", 0);
  // The game kept at exit is the one the demo interrupted.
  run_->Client().SendDelete(run_->GameWindow());
  EXPECT_EQ(ExitStatusWithin(5000), 0);
  const SaveRecord after = AsSaveRecord(run_->ReadRecord(0));
  EXPECT_EQ(after.valid, 1);
  EXPECT_TRUE(SamePosition(after, AsSaveRecord(saved)));
}

}  // namespace
