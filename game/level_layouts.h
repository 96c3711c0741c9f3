// The twelve starting tables. Level L (0-based) uses layout min(L, 11).
#pragma once

#include "platform/types.h"

class LevelLayouts {
 public:
  static constexpr int kCount = 12;
  static constexpr int kRows = 26;
  static constexpr int kColumns = 22;

  // The layout a level uses.
  static int ForLevel(int level);
  // 1 when the layout puts a ball in cell (row, col).
  static u8 Cell(int layout, int row, int col);
  // How many balls the layout deals.
  static int Balls(int layout);
};
