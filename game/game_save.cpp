// Saving and resuming a game: the snapshot taken as the player starts to
// aim, written as a record, and a record read back, checked and laid out.
#include "game/board.h"
#include "game/game.h"
#include "platform/record_file.h"
#include "ui/settings.h"

void GGame::SnapshotSave() { save_->Capture(*settings_, *board_); }

i32 GGame::SaveGame(i32 record) {
  if (demo) return 0;  // the computer's game is never saved
  return static_cast<i32>(WriteRecordFile(record, save_->Bytes(), kSaveRecordSize));
}

// Read into a temporary and checked before anything changes: a refused
// record leaves the settings, the board, the state and the snapshot as they
// were, and the caller starts a new game.
i32 GGame::LoadGame(i32 record) {
  shot_->keepNext = 0;
  demo = 0;
  runState = kRunPlaying;
  SaveRecord loaded{};
  if (!ReadRecordFile(record, loaded.Bytes(), kSaveRecordSize) || !loaded.Resumable()) return 0;
  *save_ = loaded;

  shot_->keepNext = 1;  // the first next ball keeps the saved pair of colours
  loaded.Restore(*settings_);
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) {
      board_->Cell(r, c).SetState(kBallHidden);
      board_->SetCellColour(r, c, loaded.cells[r][c]);  // the lattice node follows
    }
  }
  SetState(kStateLoadedGame);
  return 1;
}
