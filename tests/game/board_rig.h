// A board with its effect pools, settings and random states, without the
// game object, for the board and effect tests.
#pragma once

#include <array>
#include <memory>

#include "game/ball_fx.h"
#include "game/board.h"
#include "ui/settings.h"

struct BoardRig {
  explicit BoardRig(u32 seed = 1) : general(seed), colour(seed ^ 0x5a5a5a5au) {
    settings.Reset();
    board.SetShadows(settings.shadows);
  }

  // Puts a resting ball of the colour in a cell.
  void Put(int row, int col, u8 c) {
    board.SetCellColour(row, col, c);
    board.Cell(row, col).SetState(kBallAtRest);
  }

  SettingsRecord settings{};
  u32 general;
  u32 colour;
  BallFxSet fx{general};
  Board board{settings, general, colour, fx};
};

inline std::unique_ptr<BoardRig> MakeRig(u32 seed = 1) { return std::make_unique<BoardRig>(seed); }

// Every cell's colour, row by row.
using BoardColours = std::array<u8, Board::kCells>;
inline BoardColours ColoursOf(const Board& board) {
  BoardColours c{};
  for (int i = 0; i < Board::kCells; ++i) c[i] = board.Cell(i / Board::kColumns, i % Board::kColumns).colour;
  return c;
}
