// The window manager's screen stack and routing, with fake screens and a
// fake game that log what reaches them.
#include "ui/wnd_manager.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/key_codes.h"
#include "tests/ui/ui_test_support.h"
#include "ui/alert.h"
#include "ui/app_context.h"
#include "ui/game_interface.h"
#include "ui/interface.h"
#include "ui/settings.h"

namespace {

using Log = std::vector<std::string>;

class FakeScreen : public IInterface {
 public:
  FakeScreen(IWndManager& window, Log& log, std::string name) : log_(log), name_(std::move(name)) {
    Init(&window, 10, 0);
  }
  ~FakeScreen() override { Note("destroy"); }
  i32 Activate() override { return Note("activate"); }
  i32 Tick() override { return Note("tick"); }
  i32 OnKeyDown(u32 keysym) override { return Note("key " + std::to_string(keysym)); }
  i32 OnChar(char c) override { return Note(std::string("char ") + c); }
  i32 OnMouseDown(i16 x, i16 y) override { return Note("down " + std::to_string(x) + "," + std::to_string(y)); }
  void DrawAllControls() override { Note("draw"); }

  // Closes as the screen's own code would after its closing animation.
  void Close(u8 resumeFlag, i16 code) {
    resume = resumeFlag;
    result = code;
    SetState(kScreenClosed);
  }

 private:
  i32 Note(const std::string& what) {
    log_.push_back(what + " " + name_);
    return 1;
  }
  Log& log_;
  std::string name_;
};

class FakeGame : public IGame {
 public:
  explicit FakeGame(Log& log) : log_(log) {}
  i32 Tick() override { return Note("tick game"); }
  i32 OnKeyDown(u32 keysym) override { return Note("key " + std::to_string(keysym) + " game"); }
  void NewGame() override { Note("new game"); }
  void StartDemo() override { Note("start demo"); }
  void ApplySettings() override { Note("apply settings"); }
  void Resume() override { Note("resume game"); }
  i32 SaveGame(i32 record) override { return Note("save game " + std::to_string(record)); }

 private:
  i32 Note(const std::string& what) {
    log_.push_back(what);
    return 1;
  }
  Log& log_;
};

// Logs every command that reaches the command slot, as a subclass would.
class TestWindow : public IWndManager {
 public:
  explicit TestWindow(Log& log) : log_(log) {}
  u32 OnCommand(u8 code) override {
    log_.push_back("command " + std::to_string(code));
    return IWndManager::OnCommand(code);
  }
  bool Running() const { return running != 0; }
  void SetRunning() { running = 1; }

 private:
  Log& log_;
};

class WndManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window_.CreateOffscreen(640, 480);
    ASSERT_EQ(window_.OnCreate(), 1);
  }
  // Gives the window a game that has the input, as the game's window does
  // at start-up.
  FakeGame* AddGame() {
    FakeGame* game = new FakeGame(log_);
    game->Init(&window_, window_.GetImagePack(), window_.GetClipList(), window_.GetDirtyList());
    window_.game = game;
    window_.OnCommand(kCmdGameInput);
    return game;
  }
  FakeScreen* Push(const std::string& name) {
    FakeScreen* screen = new FakeScreen(window_, log_, name);
    window_.PushScreen(screen);
    return screen;
  }
  // What reaches the log during the call.
  template <typename Call>
  Log Run(Call call) {
    log_.clear();
    call();
    return log_;
  }
  Log Tick() {
    return Run([&] { window_.OnTimer(20); });
  }
  // Answers the alert on top once it is open, and ticks until it is gone.
  void Answer(KeyCode key) {
    for (int i = 0; i < 10; ++i) window_.OnTimer(20);
    window_.OnKeyDown(KeyToKeysym(key));
    for (int i = 0; i < 30 && window_.GetScreenStack()->Count() > 0; ++i) window_.OnTimer(20);
  }

  ui_testing::UserDirScope user_;
  Log log_;
  TestWindow window_{log_};
};

TEST_F(WndManagerTest, ScreensShareTheWindowsResourcesAndASixthIsDestroyed) {
  EXPECT_EQ(window_.GetClipList()->Capacity(), 3000);
  EXPECT_EQ(window_.GetDirtyList()->capacity, 3000);
  EXPECT_EQ(window_.context->skin->imagePack, window_.GetImagePack());
  AddGame();
  FakeScreen* first = nullptr;
  EXPECT_EQ(Run([&] { first = Push("s1"); }), (Log{"activate s1"}));
  EXPECT_EQ(first->clips, window_.GetClipList());
  EXPECT_EQ(first->dirty, window_.GetDirtyList());
  EXPECT_EQ(first->pack, window_.GetImagePack());
  EXPECT_EQ(first->screenStack, window_.GetScreenStack());

  FakeScreen* top = nullptr;
  for (int i = 2; i <= 5; ++i) top = Push("s" + std::to_string(i));
  window_.lastResume = 0;
  EXPECT_EQ(Run([&] { Push("s6"); }), (Log{"destroy s6"}));
  EXPECT_EQ(window_.GetScreenStack()->Count(), 5);
  EXPECT_EQ(window_.GetScreenStack()->Last(), top);
  EXPECT_EQ(window_.lastResume, 1);  // a screen waiting for an answer reads Cancel
  EXPECT_EQ(Run([&] {
              window_.OnKeyDown(65);
              window_.OnChar('x');
              window_.OnMouseDown(-5, 300);
              window_.OnTimer(20);
            }),
            (Log{"key 65 s5", "char x s5", "down -5,300 s5", "tick s5"}));
}

// A closed screen is popped on the next tick without a tick of its own and
// delivers 0 when its resume flag is 1, else the low byte of its result;
// the last pop redraws and resumes the game before the command.
TEST_F(WndManagerTest, ClosedScreensArePoppedOnTheNextTickAndTheLastResumesTheGame) {
  FakeGame* game = AddGame();
  game->background = 0x123456;
  game->clearFlag = 1;
  FakeScreen* below = Push("below");
  FakeScreen* top = Push("top");
  EXPECT_EQ(Tick(), (Log{"tick top"}));
  top->Close(1, kCmdNewGame);
  EXPECT_EQ(Tick(), (Log{"destroy top", "draw below", "command 0"}));
  EXPECT_EQ(window_.lastResume, 1);
  EXPECT_EQ(window_.inputTarget, below);
  EXPECT_EQ(window_.GetScreenStack()->Count(), 1);
  EXPECT_EQ(Tick(), (Log{"tick below"}));

  below->Close(0, 0x100 | kCmdApplySettings);
  window_.BackBuffer()->Lock();
  window_.BackBuffer()->Fill(0);
  window_.BackBuffer()->Unlock();
  EXPECT_EQ(Tick(), (Log{"destroy below", "resume game", "command 4", "apply settings"}));
  EXPECT_EQ(window_.lastResume, 0);
  EXPECT_EQ(window_.inputTarget, game);
  const u8* pixel = window_.BackBuffer()->At(320, 240);
  EXPECT_EQ(pixel[0] | pixel[1] << 8 | pixel[2] << 16, 0x123456);
  EXPECT_EQ(Run([&] {
              window_.OnTimer(20);
              window_.OnKeyDown(32);
            }),
            (Log{"tick game", "key 32 game"}));
}

TEST_F(WndManagerTest, BaseCommands) {
  FakeGame* game = AddGame();
  const auto run = [&](u8 code) { return Run([&] { EXPECT_EQ(window_.OnCommand(code), 1u); }); };
  EXPECT_EQ(run(kCmdNone), (Log{"command 0"}));
  EXPECT_EQ(run(kCmdNewGame), (Log{"command 1", "new game"}));
  EXPECT_EQ(run(kCmdStartDemo), (Log{"command 2", "save game 10000", "start demo"}));
  EXPECT_EQ(run(kCmdApplySettings), (Log{"command 4", "apply settings"}));
  // A question shows an alert over the game; its Ok delivers the question's
  // command after the game has resumed.
  for (u8 ask : {kCmdConfirmNewGame, kCmdAskNewGame, kCmdAskClear}) {
    EXPECT_EQ(run(ask), (Log{"command " + std::to_string(ask)}));
    ASSERT_NE(dynamic_cast<IAlert*>(window_.GetScreenStack()->Last()), nullptr);
    window_.lastResume = 1;
    EXPECT_EQ(Run([&] { Answer(kKeyReturn); }),
              ask == kCmdConfirmNewGame ? (Log{"resume game", "command 1", "new game"})
                                        : (Log{"resume game", "command 0"}));
    EXPECT_EQ(window_.lastResume, 0);
  }
  for (u8 other : {6, 7, 12, 13, 99, 255}) EXPECT_EQ(window_.OnCommand(other), 0u) << int(other);
  window_.inputTarget = nullptr;
  run(kCmdGameInput);
  EXPECT_EQ(window_.inputTarget, game);

  // Quit; Exit with Autosave quits at once, without it the question's Ok
  // quits and its Escape goes back to the game.
  const struct {
    u8 code, autosave;
    KeyCode answer;
    Log log;
    bool quits;
  } quits[] = {{kCmdQuit, 0, kKeyNone, {"command 5"}, true},
               {kCmdExit, 1, kKeyNone, {"command 11"}, true},
               {kCmdExit, 0, kKeyReturn, {"command 11", "resume game", "command 5"}, true},
               {kCmdExit, 0, kKeyEscape, {"command 11", "resume game", "command 0"}, false}};
  for (const auto& q : quits) {
    window_.context->settings->autosave = q.autosave;
    window_.SetRunning();
    EXPECT_EQ(Run([&] {
                window_.OnCommand(q.code);
                if (q.answer) Answer(q.answer);
              }),
              q.log);
    EXPECT_EQ(window_.Running(), !q.quits);
  }
}

TEST_F(WndManagerTest, WithoutGameOrTargetNothingHappens) {
  // No game: the game's commands are handled and do nothing.
  for (u8 code : {kCmdNewGame, kCmdStartDemo, kCmdApplySettings, kCmdGameInput}) {
    EXPECT_EQ(window_.OnCommand(code), 1u);
  }
  EXPECT_EQ(window_.inputTarget, nullptr);
  EXPECT_TRUE(Run([&] {
                window_.OnTimer(20);
                window_.OnKeyDown(32);
                window_.OnKeyUp(32);
                window_.OnChar('a');
                window_.OnMouseDown(1, 2);
                window_.OnMouseUp(1, 2);
                window_.OnMouseMove(1, 2);
                window_.OnMouseAux(1, 2);
              }).empty());
  // The last screen closed with no game leaves no target either.
  Push("a")->Close(0, 0);
  window_.OnTimer(20);
  EXPECT_EQ(window_.inputTarget, nullptr);
  window_.PopScreen();  // on an empty stack: nothing
  EXPECT_EQ(window_.GetScreenStack()->Count(), 0);
}

TEST(WndManagerLifetime, DestroysScreensBottomFirst) {
  ui_testing::UserDirScope user;
  Log log;
  {
    TestWindow window(log);
    window.CreateOffscreen(64, 48);
    ASSERT_EQ(window.OnCreate(), 1);
    window.PushScreen(new FakeScreen(window, log, "bottom"));
    window.PushScreen(new FakeScreen(window, log, "top"));
    log.clear();
  }
  EXPECT_EQ(log, (Log{"destroy bottom", "destroy top"}));
  // A window whose creation never ran is destroyed cleanly.
  TestWindow bare(log);
  bare.PushScreen(nullptr);
  bare.OnTimer(20);
}

}  // namespace
