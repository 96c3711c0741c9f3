// The game's window and command centre: it loads the settings at start-up,
// creates the game, decides what happens when the player leaves the title
// or loses a game, owns the game's own window commands, opens the maker's
// home page from the corner of the game screen, and saves the settings and
// the running game when the program ends.
#pragma once

#include "platform/system.h"
#include "shell/contest_key.h"
#include "ui/game_interface.h"
#include "ui/wnd_manager.h"

// The game's window commands, beside the base ones of the window manager.
enum GameCommand : u8 {
  kCmdGameOver = 100,       // top-10 check after a lost game
  kCmdNameEntered = 101,    // store the result under the name typed
  kCmdLeaveTitle = 102,     // resume the autosaved game or start a new one
  kCmdMenu = 103,           // pause and open the main menu
  kCmdOptions = 104,
  kCmdTop10 = 105,
  kCmdPublish = 106,
  kCmdPickGame = 107,
  kCmdAbout = 108,
  kCmdHelp = 109,
  kCmdLanguage = 113,
  kCmdContinueDemoGame = 115,  // the game the demo interrupted
};

class GWindow : public IWndManager {
 public:
  GWindow() = default;
  ~GWindow() override;

  i32 OnCreate() override;
  void OnExit() override;
  void OnTimer(u16 ms) override;
  void OnMouseDown(i16 x, i16 y) override;
  void OnKeyDown(u32 keysym) override;
  void OnKeyUp(u32 keysym) override;
  void OnChar(char c) override;
  u32 OnCommand(u8 code) override;
  void PopScreen() override;

  // Acts on the game's run state: the title, the demo or a lost game
  // waiting for the player. 1 when it acted.
  u32 PollGameResult();
  // The skill counted from 1.
  int GetSkillNumber() const;

 protected:
  u32 startTime = 0;         // the clock at the end of start-up
  u32 (*clock)() = GetTickMs;  // the millisecond clock (replaceable in tests)

 private:
  bool GameIsTarget() const { return game && inputTarget == game; }
  u32 HandleGameCommand(u8 code);
  // A lost game: the name entry when the score earns a place in the
  // skill's table, else a new game.
  void AskForName();
  // The name entered: the result goes into the table, which is shown.
  void StoreResult();
  void ReportUnreadableSettings();

  // Only the press of a key that ended the title or a lost game is taken;
  // its release still reaches the input target, so nothing stays held,
  // but its character is typed nowhere. When it opened the name entry,
  // its repeats while held are taken too.
  u32 swallowedKey = 0;
  bool swallowKey = false;
  bool swallowChar = false;
  // The settings record exists but could not be read: it is left as it is
  // at exit rather than replaced by the defaults played with.
  bool keepSettingsRecord = false;
};
