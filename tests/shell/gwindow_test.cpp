// The game's window in-process, with a recording stand-in for the game:
// the title time-out, the run-state poll, keys taken whole, the home-page
// corner, the commands and shut-down.
#include "shell/gwindow.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "platform/key_codes.h"
#include "platform/record_file.h"
#include "platform/system.h"
#include "shell/keyboard_wnd.h"
#include "tests/support/process.h"
#include "tests/ui/ui_test_support.h"
#include "ui/app_context.h"
#include "ui/controls/edit.h"
#include "ui/interface.h"
#include "ui/settings.h"

namespace {

using Log = std::vector<std::string>;

class RecordingGame : public IGame {
 public:
  explicit RecordingGame(Log& log) : log_(log) {}
  i32 OnKeyDown(u32 keysym) override { return Note("key down " + std::to_string(keysym)); }
  i32 OnKeyUp(u32 keysym) override { return Note("key up " + std::to_string(keysym)); }
  i32 OnChar(char c) override { return Note(std::string("char ") + c); }
  i32 OnMouseDown(i16 x, i16 y) override {
    return Note("click " + std::to_string(x) + "," + std::to_string(y));
  }
  void NewGame() override {
    Note("new game");
    runState = kRunPlaying;
  }
  i32 LoadGame(i32 record) override {
    Note("load " + std::to_string(record));
    runState = kRunPlaying;
    return loadSucceeds;
  }
  i32 SaveGame(i32 record) override { return Note("save " + std::to_string(record)); }

  i32 loadSucceeds = 0;

 private:
  i32 Note(const std::string& what) {
    log_.push_back(what);
    return 1;
  }
  Log& log_;
};

// The window with its clock in the test's hand.
class TestWindow : public GWindow {
 public:
  using GWindow::clock;
  using GWindow::startTime;
};

u32 g_now = 0;
u32 Now() { return g_now; }

class GWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.CreateOffscreen(640, 480);
    window_.OnCreate();
    // The stand-in takes the place of whatever game start-up made.
    delete window_.game;
    game_ = new RecordingGame(log_);
    window_.game = game_;
    window_.inputTarget = game_;
  }
  SettingsRecord& Settings() { return *window_.context->settings; }

  ui_testing::UserDirScope dirs_;
  TestWindow window_;
  Log log_;
  RecordingGame* game_ = nullptr;
};

}  // namespace

TEST_F(GWindowTest, TitleWaitsFiveSecondsThenLeavesOnce) {
  // Start-up 1 s before the millisecond clock starts again from 0.
  window_.clock = Now;
  window_.startTime = 4294967 - 1000;
  g_now = 3000;  // 4 s later
  window_.OnTimer(20);
  EXPECT_EQ(game_->GetRunState(), kRunTitle);
  g_now = 4001;  // 5.001 s later
  window_.OnTimer(20);
  EXPECT_EQ(game_->GetRunState(), kRunPlaying);
  EXPECT_EQ(log_, Log({"new game"}));  // Autosave is off by default
  EXPECT_EQ(Settings().gameStarted, 1);
  window_.OnTimer(20);  // only once: play has begun
  EXPECT_EQ(log_.size(), 1u);
}

TEST_F(GWindowTest, OnlyThePressThatEndsTheTitleOrALostGameIsTaken) {
  struct Case {
    u8 run;
    Log effect;
  };
  // The autosaved game is tried first; without one a new game starts.
  const Case cases[] = {{kRunTitle, {"load 0", "new game"}}, {kRunGameOver, {"new game"}}};
  Settings().autosave = 1;
  for (const Case& c : cases) {
    log_.clear();
    game_->SetRunState(c.run);
    // Held past the repeat delay: the first press is taken, the repeated
    // ones and the release reach the game, the character goes nowhere.
    window_.OnKeyDown(0x20);
    window_.OnKeyDown(0x20);
    window_.OnKeyUp(0x20);
    window_.OnChar(' ');
    Log expected = c.effect;
    expected.insert(expected.end(), {"key down 32", "key up 32"});
    EXPECT_EQ(log_, expected) << int(c.run);
  }
  log_.clear();
  window_.OnKeyDown(0x61);
  window_.OnKeyUp(0x61);
  window_.OnChar('a');
  EXPECT_EQ(log_, Log({"key down 97", "key up 97", "char a"}));
}

// A score that earns a place opens the name entry with the last name. Held
// down, the key that did it repeats: neither the repeats nor the
// characters reach the name; the next key does.
TEST_F(GWindowTest, KeyThatOpensTheNameEntryTypesNothing) {
  ui_testing::UserDirScope dirs;
  Settings().score = 500;
  std::strcpy(Settings().playerName, "Zed");
  game_->SetRunState(kRunGameOver);
  window_.OnKeyDown(0x71);
  window_.OnKeyDown(0x71);
  window_.OnChar('q');  // the first press's character comes with the repeat
  window_.OnKeyUp(0x71);
  window_.OnChar('q');
  auto* keyboard = dynamic_cast<IKeyboardWnd*>(window_.GetScreenStack()->Last());
  ASSERT_NE(keyboard, nullptr);
  EXPECT_STREQ(keyboard->Edit()->Text(), "Zed");
  EXPECT_TRUE(log_.empty());
  window_.OnKeyDown(0x78);
  window_.OnKeyUp(0x78);
  window_.OnChar('x');
  EXPECT_STREQ(keyboard->Edit()->Text(), "x");
}

TEST_F(GWindowTest, RunStatePollOnClicks) {
  game_->loadSucceeds = 1;
  Settings().autosave = 1;
  window_.OnMouseDown(100, 100);  // title: the autosaved game resumes
  EXPECT_EQ(log_, Log({"load 0"}));
  log_.clear();
  window_.OnMouseDown(100, 100);  // playing: the click is the game's
  EXPECT_EQ(log_, Log({"click 100,100"}));
  log_.clear();
  game_->SetRunState(kRunPaused);
  window_.OnMouseDown(10, 10);  // paused is set back to playing
  EXPECT_EQ(game_->GetRunState(), kRunPlaying);
  EXPECT_TRUE(log_.empty());
  game_->SetRunState(kRunGameOver);
  window_.OnMouseDown(10, 10);  // a lost game goes on to a new one
  EXPECT_EQ(log_, Log({"new game"}));
}

TEST_F(GWindowTest, HomePageCornerOpensTheBrowser) {
  testing_support::TempDir bin;
  ASSERT_EQ(symlink(FAKE_BROWSER, (bin / "xdg-open").c_str()), 0);
  const std::string out = bin / "out";
  setenv("FAKE_BROWSER_OUT", out.c_str(), 1);
  const std::string oldPath = std::getenv("PATH") ? std::getenv("PATH") : "";
  setenv("PATH", bin.Path().c_str(), 1);
  game_->SetRunState(kRunPlaying);

  window_.OnMouseDown(502, 479);
  window_.OnMouseDown(639, 463);
  window_.OnMouseDown(503, 464);
  setenv("PATH", oldPath.c_str(), 1);
  for (int i = 0; i < 200 && testing_support::ReadFile(out).empty(); ++i) usleep(10000);
  EXPECT_EQ(testing_support::ReadFile(out),
            std::string(kHomePageAddress) + "|" + kHomePageAddress + "\n");
  // Every click also reached the game.
  EXPECT_EQ(log_.size(), 3u);
}

TEST_F(GWindowTest, EveryCommandSetsTheBackgroundAndUnknownOnesReturn0) {
  Settings().background = 0x123456;
  game_->background = 0;
  game_->clearFlag = 0;
  EXPECT_EQ(window_.OnCommand(114), 0u);
  EXPECT_EQ(game_->background, 0x123456u);
  EXPECT_EQ(game_->clearFlag, 1);
  EXPECT_EQ(window_.OnCommand(kCmdNewGame), 1u);
  EXPECT_EQ(Settings().gameStarted, 1);
  EXPECT_EQ(log_, Log({"new game"}));
}

TEST_F(GWindowTest, ShutDownSavesSettingsAndTheGameByRunState) {
  struct Case {
    u8 autosave;
    u8 run;
    bool saves;
  };
  // A game being played is kept; after a lost game the invalid snapshot
  // replaces an older autosave; the title and the demo write nothing.
  const Case cases[] = {{1, kRunPlaying, true}, {1, kRunGameOver, true}, {1, kRunTitle, false},
                        {1, kRunDemo, false},   {0, kRunPlaying, false}};
  for (const Case& c : cases) {
    log_.clear();
    Settings().autosave = c.autosave;
    game_->SetRunState(c.run);
    window_.OnExit();
    EXPECT_EQ(log_ == Log({"save 0"}), c.saves) << int(c.autosave) << " " << int(c.run);
  }
  SettingsRecord stored;
  ASSERT_EQ(ReadRecordFile(kRecordSettings, stored.Bytes(), kSettingsRecordSize), 1u);
  EXPECT_EQ(stored.autosave, 0);
}

TEST_F(GWindowTest, CancelledScreenOverALostGameStartsANewGame) {
  game_->SetRunState(kRunGameOver);
  IInterface* screen = IInterface::Create(&window_, 0, kCmdNewGame);
  window_.PushScreen(screen);
  screen->resume = 1;
  screen->SetState(kScreenClosed);
  window_.OnTimer(20);  // pops it
  EXPECT_EQ(log_, Log({"new game"}));
  EXPECT_EQ(window_.lastResume, 1);
  EXPECT_EQ(window_.inputTarget, game_);
}

// A settings record that is there but cannot be read: play goes on with
// the defaults, the player hears of it once, and the record is kept.
TEST(GWindowSettingsTest, UnreadableSettingsAreKeptAsTheyAre) {
  ui_testing::UserDirScope dirs;
  SettingsRecord stored;
  stored.Reset();
  stored.autosave = 1;
  ASSERT_EQ(stored.Save(), 1u);
  char name[sizeof(g_UserDir) + 32];
  ASSERT_TRUE(RecordFileName(kRecordSettings, name, sizeof name));
  const std::string before = testing_support::ReadFile(name);
  ASSERT_EQ(chmod(name, 0), 0);

  testing::internal::CaptureStderr();
  {
    testing_support::FilePermissionsEnforced enforced;
    TestWindow window;
    window.CreateOffscreen(640, 480);
    window.OnCreate();
    EXPECT_EQ(window.context->settings->autosave, 0);  // the defaults
    window.OnExit();
  }
  const std::string said = testing::internal::GetCapturedStderr();
  const std::string what = "could not read the settings";
  EXPECT_NE(said.find(what), std::string::npos) << said;
  EXPECT_EQ(said.find(what, said.find(what) + 1), std::string::npos) << said;
  ASSERT_EQ(chmod(name, 0600), 0);
  EXPECT_EQ(testing_support::ReadFile(name), before);
}
