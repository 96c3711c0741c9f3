#include "game/save_record.h"

#include <cstring>

#include "game/board.h"
#include "ui/settings.h"

static_assert(kSaveRows == Board::kRows && kSaveColumns == Board::kColumns,
              "a saved game holds the whole board");

void SaveRecord::Capture(const SettingsRecord& settings, const Board& board) {
  level = settings.level;
  score = settings.score;
  currentColour = settings.currentColour;
  nextColour = settings.nextColour;
  std::memcpy(levelCounters, settings.levelCounters, sizeof levelCounters);
  colourCount = settings.colourCount;
  aimTicks = settings.aimTicks;
  for (int r = 0; r < kSaveRows; ++r) {
    for (int c = 0; c < kSaveColumns; ++c) cells[r][c] = board.Cell(r, c).colour;
  }
  valid = 1;
}

void SaveRecord::Restore(SettingsRecord& settings) const {
  settings.level = level;
  settings.score = score;
  settings.currentColour = currentColour;
  settings.nextColour = nextColour;
  std::memcpy(settings.levelCounters, levelCounters, sizeof levelCounters);
  settings.colourCount = colourCount;
  settings.aimTicks = aimTicks;
}

bool SaveRecord::Resumable() const {
  if (valid == 0) return false;
  const auto isBall = [](u8 c) { return c >= 1 && c <= Board::kMaxColours; };
  if (!isBall(currentColour) || !isBall(nextColour)) return false;
  for (const auto& row : cells) {
    for (u8 c : row) {
      if (c > Board::kMaxColours) return false;
    }
  }
  return true;
}
