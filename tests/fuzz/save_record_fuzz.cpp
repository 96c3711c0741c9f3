// Feeds arbitrary record-0 files to the game's load: the record reader, the
// unscramble and the check, then, for a record the game takes, a few
// seconds of play from the loaded position. Whatever the file held, every
// cell stays empty or of a ball colour and the game stays in its states.
// fuzz-links: game
#include <cstdlib>

#include "audio/sound_manager.h"
#include "game/board.h"
#include "game/game.h"
#include "tests/fuzz/record_fuzz_support.h"
#include "ui/wnd_manager.h"

namespace {

class FuzzWindow : public IWndManager {
 public:
  u32 OnCommand(u8) override { return 1; }
};

FuzzWindow* g_window = nullptr;
GGame* g_game = nullptr;

// A game on an offscreen window with no pictures and no sound.
void SetUp() {
  record_fuzz::UsePrivateDirectory(kRecordAutosave);
  g_SoundEnabled = 0;
  g_window = new FuzzWindow();
  g_window->CreateOffscreen(640, 480);
  g_window->IWndManager::OnCreate();
  g_game = GGame::Create(g_window, g_window->GetImagePack(), g_window->GetClipList(),
                         g_window->GetDirtyList(), g_window->context);
  g_window->game = g_game;
  g_game->Activate();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  if (!g_game) SetUp();
  record_fuzz::WriteInput(data, size);
  if (!g_game->LoadGame(kRecordAutosave)) return 0;
  if (size < kSaveRecordSize) std::abort();  // a short file is never taken
  for (int tick = 0; tick < 150; ++tick) {
    g_game->Tick();
    if (g_game->State() > kLastGameState) std::abort();
  }
  Board& board = g_game->GetBoard();
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) {
      if (board.Cell(r, c).colour > Board::kMaxColours) std::abort();
    }
  }
  if (g_game->cueBall.colour > Board::kMaxColours) std::abort();
  return 0;
}
