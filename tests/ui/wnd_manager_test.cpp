#include "ui/wnd_manager.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/ui/ui_test_support.h"
#include "ui/app_context.h"
#include "ui/game_interface.h"
#include "ui/interface.h"
#include "ui/settings.h"

namespace {

using Log = std::vector<std::string>;

class FakeScreen : public IInterface {
 public:
  static FakeScreen* Make(IWndManager& window, Log& log, const std::string& name, i16 result = 0) {
    FakeScreen* screen = new FakeScreen(log, name);
    screen->Init(&window, 10, result);
    return screen;
  }
  ~FakeScreen() override { Note("destroy"); }

  i32 Activate() override { return Note("activate"); }
  i32 Tick() override { return Note("tick"); }
  i32 OnKeyDown(u32 keysym) override { return Note("key " + std::to_string(keysym)); }
  i32 OnChar(char c) override { return Note(std::string("char ") + c); }
  i32 OnMouseDown(i16 x, i16 y) override {
    return Note("down " + std::to_string(x) + "," + std::to_string(y));
  }
  void DrawAllControls() override { Note("draw"); }

  // Closes as the screen's own code would after its closing animation.
  void Close(u8 resumeFlag, i16 code) {
    resume = resumeFlag;
    result = code;
    SetState(kScreenClosed);
  }

 private:
  FakeScreen(Log& log, std::string name) : log_(log), name_(std::move(name)) {}
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

// Records every command that reaches the command slot, as a subclass would.
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
    log_.clear();
    return game;
  }
  FakeScreen* Push(const std::string& name, i16 result = 0) {
    FakeScreen* screen = FakeScreen::Make(window_, log_, name, result);
    window_.PushScreen(screen);
    return screen;
  }

  ui_testing::UserDirScope user_;
  Log log_;
  TestWindow window_{log_};
};

TEST_F(WndManagerTest, CreationBuildsTheSharedResources) {
  EXPECT_EQ(window_.GetClipList()->Capacity(), 3000);
  EXPECT_EQ(window_.GetDirtyList()->capacity, 3000);
  EXPECT_EQ(window_.GetDirtyList()->items[2999], Rect());
  EXPECT_EQ(window_.GetScreenStack()->Capacity(), 5);
  EXPECT_EQ(window_.context->skin->imagePack, window_.GetImagePack());
  EXPECT_EQ(window_.lastResume, 1);

  // A screen draws with the window's shared pack and lists.
  FakeScreen* screen = Push("a", 7);
  EXPECT_EQ(screen->clips, window_.GetClipList());
  EXPECT_EQ(screen->dirty, window_.GetDirtyList());
  EXPECT_EQ(screen->pack, window_.GetImagePack());
  EXPECT_EQ(screen->screenStack, window_.GetScreenStack());
  EXPECT_EQ(screen->resume, 1);
  EXPECT_EQ(screen->result, 7);
  EXPECT_EQ(window_.inputTarget, screen);
  EXPECT_EQ(log_, (Log{"activate a"}));
}

TEST_F(WndManagerTest, SixthScreenIsRefusedAndDestroyed) {
  AddGame();
  FakeScreen* top = nullptr;
  for (int i = 1; i <= 5; ++i) top = Push("s" + std::to_string(i));
  window_.lastResume = 0;
  log_.clear();

  Push("s6");
  EXPECT_EQ(window_.GetScreenStack()->Count(), 5);
  EXPECT_EQ(window_.GetScreenStack()->Last(), top);
  EXPECT_EQ(window_.inputTarget, top);
  EXPECT_EQ(log_, (Log{"destroy s6"}));
  EXPECT_EQ(window_.lastResume, 1);  // a screen waiting for an answer reads Cancel

  log_.clear();
  window_.OnKeyDown(65);
  window_.OnChar('x');
  window_.OnMouseDown(-5, 300);
  window_.OnTimer(20);
  EXPECT_EQ(log_, (Log{"key 65 s5", "char x s5", "down -5,300 s5", "tick s5"}));
}

TEST_F(WndManagerTest, ResultDeliveredByTheResumeFlag) {
  AddGame();
  struct {
    u8 resume;
    i16 result;
    const char* command;
  } cases[] = {{1, 104, "command 0"}, {0, 0, "command 0"}, {0, 7, "command 7"},
               {0, 0x104, "command 4"}};
  for (const auto& c : cases) {
    Push("a")->Close(c.resume, c.result);
    log_.clear();
    window_.OnTimer(20);
    EXPECT_EQ(window_.lastResume, c.resume);
    ASSERT_FALSE(log_.empty());
    EXPECT_EQ(log_.front(), "destroy a");
    EXPECT_NE(std::find(log_.begin(), log_.end(), c.command), log_.end()) << c.command;
  }
}

TEST_F(WndManagerTest, ClosedTopIsPoppedOnTheNextTickWithoutATick) {
  AddGame();
  FakeScreen* below = Push("below");
  FakeScreen* top = Push("top");
  window_.OnTimer(20);
  top->Close(0, 0);
  log_.clear();

  window_.OnTimer(20);
  EXPECT_EQ(log_, (Log{"destroy top", "draw below", "command 0"}));
  EXPECT_EQ(window_.inputTarget, below);
  EXPECT_EQ(window_.GetScreenStack()->Count(), 1);

  log_.clear();
  window_.OnTimer(20);
  EXPECT_EQ(log_, (Log{"tick below"}));
}

TEST_F(WndManagerTest, LastPopResumesTheGameBeforeTheCommand) {
  FakeGame* game = AddGame();
  game->background = 0x123456;
  game->clearFlag = 1;
  Push("options")->Close(0, kCmdApplySettings);
  window_.BackBuffer()->Lock();
  window_.BackBuffer()->Fill(0);
  window_.BackBuffer()->Unlock();
  log_.clear();

  window_.OnTimer(20);
  EXPECT_EQ(log_, (Log{"destroy options", "resume game", "command 4", "apply settings"}));
  EXPECT_EQ(window_.inputTarget, game);
  // The game was redrawn in full: its background covers the window.
  const u8* pixel = window_.BackBuffer()->At(320, 240);
  EXPECT_EQ(pixel[0] | pixel[1] << 8 | pixel[2] << 16, 0x123456);

  log_.clear();
  window_.OnTimer(20);
  window_.OnKeyDown(32);
  EXPECT_EQ(log_, (Log{"tick game", "key 32 game"}));
}

TEST_F(WndManagerTest, BaseCommands) {
  FakeGame* game = AddGame();
  const auto run = [&](u8 code) {
    log_.clear();
    return window_.OnCommand(code);
  };
  EXPECT_EQ(run(kCmdNone), 1u);
  EXPECT_EQ(run(kCmdNewGame), 1u);
  EXPECT_EQ(log_, (Log{"command 1", "new game"}));
  EXPECT_EQ(run(kCmdStartDemo), 1u);
  EXPECT_EQ(log_, (Log{"command 2", "save game 10000", "start demo"}));
  EXPECT_EQ(run(kCmdApplySettings), 1u);
  EXPECT_EQ(log_, (Log{"command 4", "apply settings"}));

  // Until the alert box exists, a question is answered with Ok.
  window_.lastResume = 1;
  EXPECT_EQ(run(kCmdConfirmNewGame), 1u);
  EXPECT_EQ(log_, (Log{"command 8", "command 1", "new game"}));
  EXPECT_EQ(window_.lastResume, 0);
  for (u8 ask : {kCmdAskNewGame, kCmdAskClear}) {
    window_.lastResume = 1;
    EXPECT_EQ(run(ask), 1u);
    EXPECT_EQ(log_, (Log{"command " + std::to_string(ask), "command 0"}));
    EXPECT_EQ(window_.lastResume, 0);
  }

  for (u8 other : {6, 7, 12, 13, 99, 255}) EXPECT_EQ(run(other), 0u) << int(other);

  window_.inputTarget = nullptr;
  EXPECT_EQ(run(kCmdGameInput), 1u);
  EXPECT_EQ(window_.inputTarget, game);
}

TEST_F(WndManagerTest, QuitAndExit) {
  window_.SetRunning();
  EXPECT_EQ(window_.OnCommand(kCmdQuit), 1u);
  EXPECT_FALSE(window_.Running());

  // Exit with Autosave quits at once; without it, the question's Ok quits.
  window_.context->settings->autosave = 1;
  window_.SetRunning();
  log_.clear();
  EXPECT_EQ(window_.OnCommand(kCmdExit), 1u);
  EXPECT_FALSE(window_.Running());
  EXPECT_EQ(log_, (Log{"command 11"}));

  window_.context->settings->autosave = 0;
  window_.SetRunning();
  log_.clear();
  EXPECT_EQ(window_.OnCommand(kCmdExit), 1u);
  EXPECT_FALSE(window_.Running());
  EXPECT_EQ(log_, (Log{"command 11", "command 5"}));
}

TEST_F(WndManagerTest, WithoutGameOrTargetNothingHappens) {
  // No game: the game's commands are handled and do nothing.
  for (u8 code : {kCmdNewGame, kCmdStartDemo, kCmdApplySettings, kCmdGameInput}) {
    EXPECT_EQ(window_.OnCommand(code), 1u);
  }
  EXPECT_EQ(window_.inputTarget, nullptr);
  log_.clear();
  window_.OnTimer(20);
  window_.OnKeyDown(32);
  window_.OnKeyUp(32);
  window_.OnChar('a');
  window_.OnMouseDown(1, 2);
  window_.OnMouseUp(1, 2);
  window_.OnMouseMove(1, 2);
  window_.OnMouseAux(1, 2);
  EXPECT_TRUE(log_.empty());

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
    window.PushScreen(FakeScreen::Make(window, log, "bottom"));
    window.PushScreen(FakeScreen::Make(window, log, "top"));
    log.clear();
  }
  EXPECT_EQ(log, (Log{"destroy bottom", "destroy top"}));

  // A window whose creation never ran is destroyed cleanly.
  TestWindow bare(log);
  bare.PushScreen(nullptr);
  bare.OnTimer(20);
}

}  // namespace
