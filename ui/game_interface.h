// The game engine as the window sees it: an engine with a run state that
// tells the window whether the title, a demo, a game or a finished game is
// showing, and the slots the window's commands call. The game itself
// implements it.
#pragma once

#include "platform/engine.h"
#include "platform/types.h"

enum RunState : u8 {
  kRunTitle = 0,
  kRunDemo = 1,
  kRunPlaying = 2,
  kRunPaused = 3,
  kRunGameOver = 4,
};

class IGame : public OEngine {
 public:
  IGame() = default;
  ~IGame() override = default;

  // Called before the main menu opens over the game.
  virtual void Pause() {}
  virtual void NewGame() { runState = kRunPlaying; }
  virtual void StartDemo() { runState = kRunDemo; }
  virtual void SetRunStatePaused() { SetRunState(kRunPaused); }
  virtual void SetRunStateOver() { SetRunState(kRunGameOver); }
  virtual void SetRunState(u8 s) { runState = s; }
  virtual u8 GetRunState() { return runState; }
  // Applies the options changed since Pause.
  virtual void ApplySettings() {}
  // Called when the last screen over the game has closed.
  virtual void Resume() {}
  // Restore or store the game as the given record; 1 on success.
  virtual i32 LoadGame(i32 record) {
    (void)record;
    runState = kRunPlaying;
    return 0;
  }
  virtual i32 SaveGame(i32 record) {
    (void)record;
    return 0;
  }

  u8 runState = kRunTitle;
};
