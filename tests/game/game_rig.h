// The whole game in-process without a display: an offscreen 640 x 480
// window that records the commands the game sends, the image bank the
// build generated, fixed random seeds, a private user directory, and the
// sound manager without a device, so that every effect the game asks for
// stays pending until the rig collects it.
#pragma once

#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

#include "audio/sound_manager.h"
#include "game/ball_fx.h"
#include "game/board.h"
#include "game/game.h"
#include "platform/startup.h"
#include "tests/support/process.h"
#include "ui/app_context.h"
#include "ui/settings.h"
#include "ui/wnd_manager.h"

namespace game_testing {

// A window manager that only records the commands it is sent.
class RecordingWindow : public IWndManager {
 public:
  u32 OnCommand(u8 code) override {
    commands.push_back(code);
    return 1;
  }
  std::vector<u8> commands;
};

class GameRig {
 public:
  // Starts the game as the window does: created, then activated on the
  // title. configure may change the settings before the game sees them.
  // withDevice lets the sound manager open its device (and start its
  // thread, which then takes the effects).
  template <typename Configure>
  GameRig(u32 seed, Configure configure, bool withDevice = false) : withDevice_(withDevice) {
    std::memcpy(savedData_, g_DataDir, sizeof g_DataDir);
    std::memcpy(savedUser_, g_UserDir, sizeof g_UserDir);
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", DORRIMAC_BUILD_DIR);
    std::snprintf(g_UserDir, sizeof g_UserDir, "%s/", user_.Path().c_str());
    snd_resetState();
    if (!withDevice) g_SoundEnabled = 0;  // no device and no thread
    window.CreateOffscreen(640, 480);
    window.IWndManager::OnCreate();
    context = window.context;
    context->generalRandom = seed;
    context->colourRandom = seed * 7919u + 1;
    configure(*context->settings);
    game = GGame::Create(&window, window.GetImagePack(), window.GetClipList(),
                         window.GetDirtyList(), context);
    window.game = game;
    window.inputTarget = game;
    game->background = context->settings->background;
    game->clearFlag = 1;
    game->ClearBackground(true);
    game->SetRunState(kRunTitle);
    game->Activate();
    CollectEffects();
  }
  explicit GameRig(u32 seed = 1) : GameRig(seed, [](SettingsRecord&) {}) {}
  ~GameRig() {
    window.game = nullptr;
    delete game;
    snd_resetState();
    std::memcpy(g_DataDir, savedData_, sizeof g_DataDir);
    std::memcpy(g_UserDir, savedUser_, sizeof g_UserDir);
  }
  GameRig(const GameRig&) = delete;
  GameRig& operator=(const GameRig&) = delete;

  SettingsRecord& Settings() { return *context->settings; }
  Board& GetBoard() { return game->GetBoard(); }

  // One frame of the game, then the effects it asked for.
  void Tick(int frames = 1) {
    for (int i = 0; i < frames; ++i) {
      game->Tick();
      ++ticks;
      CollectEffects();
    }
  }
  // Ticks until the game is in state s; false after limit frames. With a
  // path, the states passed through (the current one first) go there.
  bool TickUntil(u8 s, int limit = 5000, std::vector<u8>* path = nullptr) {
    if (path) path->assign(1, game->State());
    for (int i = 0; i < limit && game->State() != s; ++i) {
      Tick();
      if (path && path->back() != game->State()) path->push_back(game->State());
    }
    return game->State() == s;
  }
  // Ticks until the player (or the computer) may aim again.
  bool TickUntilAiming(int limit = 5000) {
    for (int i = 0; i < limit; ++i) {
      const u8 s = game->State();
      if (s == kStatePlayerAims || s == kStateComputerAims) return true;
      Tick();
    }
    return false;
  }

  // A new game, ticked until the player aims.
  bool StartPlaying() {
    game->NewGame();
    return TickUntil(kStatePlayerAims);
  }
  // A click of the pointer, pressed and released.
  void Click(int x, int y) {
    game->OnMouseDown(static_cast<i16>(x), static_cast<i16>(y));
    game->OnMouseUp(static_cast<i16>(x), static_cast<i16>(y));
  }

  // Empties the board and puts resting balls of the colours in cells.
  void ClearBoard() {
    for (int r = 0; r < Board::kRows; ++r) {
      for (int c = 0; c < Board::kColumns; ++c) GetBoard().EmptyCell(r, c);
    }
  }
  void Put(int row, int col, u8 colour) {
    GetBoard().SetCellColour(row, col, colour);
    GetBoard().Cell(row, col).SetState(kBallAtRest);
  }
  int BallsOnTable() {
    int n = 0;
    for (int i = 0; i < Board::kCells; ++i) n += GetBoard().Cell(i / Board::kColumns, i % Board::kColumns).colour != 0;
    return n;
  }
  // A colour other than the cue ball's.
  u8 OtherColour() { return game->cueBall.colour == 1 ? 2 : 1; }

  // The effects (SoundEffect) asked for since the last look; clears the list.
  std::vector<int> TakeEffects() { return std::exchange(effects, {}); }

  RecordingWindow window;
  AppContext* context = nullptr;
  GGame* game = nullptr;
  int ticks = 0;
  std::vector<int> effects;

 private:
  // Effects stay pending while no sound thread takes them.
  void CollectEffects() {
    if (withDevice_) return;
    for (int e = 0; e < 4; ++e) {
      if (g_PendingEffects[e].exchange(0)) effects.push_back(e);
    }
  }

  bool withDevice_;
  testing_support::TempDir user_;
  char savedData_[sizeof g_DataDir];
  char savedUser_[sizeof g_UserDir];
};

}  // namespace game_testing
