#include "game/board.h"

#include <algorithm>
#include <utility>

#include "game/ball_fx.h"
#include "game/level_layouts.h"
#include "platform/random.h"
#include "ui/app_context.h"
#include "ui/settings.h"

namespace {

struct Offset {
  int dr;
  int dc;
};

// Neighbours in grid order (also the order growth lists colours in). Odd
// rows are shifted right, so their diagonal neighbours lie one column on.
constexpr Offset kGridEven[6] = {{-1, -1}, {-1, 0}, {0, -1}, {0, 1}, {1, -1}, {1, 0}};
constexpr Offset kGridOdd[6] = {{-1, 0}, {-1, 1}, {0, -1}, {0, 1}, {1, 0}, {1, 1}};
// The order the cluster search tries them in; it decides the burst order.
constexpr Offset kClusterEven[6] = {{-1, -1}, {-1, 0}, {1, -1}, {1, 0}, {0, -1}, {0, 1}};
constexpr Offset kClusterOdd[6] = {{-1, 1}, {-1, 0}, {1, 1}, {1, 0}, {0, -1}, {0, 1}};

const Offset* GridNeighbours(int row) { return (row & 1) ? kGridOdd : kGridEven; }
const Offset* ClusterNeighbours(int row) { return (row & 1) ? kClusterOdd : kClusterEven; }

constexpr i32 kRestHeight = 10 * kFixOne;
constexpr i32 kRestSize = 10 * kFixOne;
constexpr int kFullFrame = 18;  // the frame shown at rest
constexpr u16 kAnimationDelay = 25;

// Swaps every entry with a randomly drawn one, in order.
template <typename T>
void ShufflePass(T* items, int n, u32& random) {
  for (int i = 0; i < n; ++i) std::swap(items[i], items[NextRandom(random) % n]);
}

}  // namespace

Board::Board(AppContext& context, BallFxSet& fx)
    : Board(*context.settings, context.generalRandom, context.colourRandom, fx) {}

Board::Board(SettingsRecord& settings, u32& generalRandom, u32& colourRandom, BallFxSet& fx)
    : settings_(settings), general_(generalRandom), colour_(colourRandom), fx_(fx) {
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      Ball& b = cells_[r][c];
      b.x = CellX(r, c);
      b.y = CellY(r);
      b.z = kRestHeight;
      SetBallColour(b, 0);
      b.SetState(kBallHidden);
    }
  }
}

i32 Board::CellX(int row, int col) { return (16 + 20 * col + ((row & 1) ? 10 : 0)) * kFixOne; }

i32 Board::CellY(int row) { return (16 + 18 * row) * kFixOne; }

bool Board::InGrid(int row, int col) {
  return row >= 0 && row < kRows && col >= 0 && col < kColumns;
}

u8 Board::SkillColours(u8 skill) { return skill <= kSkillMaster ? 4 + skill : 2; }

u8 Board::LevelColours(u8 skill, u16 level) {
  return static_cast<u8>(std::min(SkillColours(skill) + level / 2, kMaxColours));
}

int Board::ColourCount() const { return std::clamp<int>(settings_.colourCount, 1, kMaxColours); }

void Board::SetBallColour(Ball& ball, u8 colour) {
  if (colour > kBallHighestColour) colour = 0;
  ball.colour = colour;
  ball.imageBase = BallImageBase(colour);
  ball.fullImage = ball.imageBase + kFullFrame * kFixOne;
  ball.minSize = kFixOne;
  ball.maxSize = kRestSize;
  ball.size = 0;
  ball.ballClip.subpixel = 1;
  ball.shadowClip.subpixel = 1;
  ball.SetShadow(settings_.shadows);
}

void Board::SetCellColour(int row, int col, u8 colour) {
  Ball& b = cells_[row][col];
  SetBallColour(b, colour);
  LatticeNode& node = fx_.lattice.CellNode(row, col);
  node.occupied = b.colour;
  if (b.colour == 0) node.Reset();
}

void Board::EmptyCell(int row, int col) {
  cells_[row][col].SetState(kBallHidden);
  SetCellColour(row, col, 0);
}

void Board::LoadLevel() {
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) EmptyCell(r, c);
  }
  const int layout = LevelLayouts::ForLevel(settings_.level);
  const int n = LevelLayouts::Balls(layout);
  const int count = ColourCount();

  // A deck with every colour equally often, shuffled three times.
  u8 deck[kCells];
  for (int i = 0; i < n; ++i) deck[i] = static_cast<u8>(i % count + 1);
  for (int pass = 0; pass < 3; ++pass) ShufflePass(deck, n, colour_);

  int next = 0;
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      if (LevelLayouts::Cell(layout, r, c)) SetCellColour(r, c, deck[next++]);
    }
  }
  settings_.nextColour = static_cast<u8>(NextRandom(colour_) % count + 1);
}

void Board::AnimateCells(u8 state, u16 delay, i32 sizeStep, u8 rows) {
  Offset cells[kCells];  // (row, col) of each occupied cell
  int n = 0;
  for (int r = 0; r < kRows && r < rows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      if (cells_[r][c].colour != 0) cells[n++] = {r, c};
    }
  }
  ShufflePass(cells, n, general_);

  for (int k = 0; k < n; ++k) {
    const int r = cells[k].dr, c = cells[k].dc;
    Ball& b = cells_[r][c];
    b.counter = static_cast<i16>(k * delay / 100);
    b.sizeStep = sizeStep;
    b.SetState(state);
    if (state != kBallFlyIn) continue;
    // Fly in from the side and end of the table the cell is nearest to,
    // landing on the cell after `delay` ticks. The flight is laid back from
    // the cell itself: a ball still on its way from a fly-in that a new game
    // or a loaded one cut short would otherwise land off its cell, high
    // above the table.
    b.x = CellX(r, c);
    b.y = CellY(r);
    b.z = kRestHeight;
    b.counter = static_cast<i16>(delay);
    b.vx = static_cast<i32>(NextRandom(general_) % 4 + 3) * kFixOne;
    b.vy = static_cast<i32>(NextRandom(general_) % 4 + 3) * kFixOne;
    if (c > 11) b.vx = -b.vx;
    if (r > 13) b.vy = -b.vy;
    b.vz = delay ? -3112960 / (delay * 256) : 0;  // 47.5 px down over the flight
    b.x -= delay * b.vx;
    b.y -= delay * b.vy;
    b.z -= delay * b.vz;
    b.Project();
  }
}

void Board::RecolourAll() {
  const int count = ColourCount();
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      if (cells_[r][c].colour == 0) continue;
      SetCellColour(r, c, static_cast<u8>(NextRandom(colour_) % count + 1));
    }
  }
  AnimateCells(kBallHiddenWaitGrow, kAnimationDelay, kFixOne, kRows);
}

void Board::StepAll() {
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      Ball& b = cells_[r][c];
      b.Step();
      if (b.state == kBallBurst) {
        if (!fx_.bursts.SpawnBurst(b, 1)) continue;  // pool full: try again next tick
        EmptyCell(r, c);
        fx_.lattice.KickNeighbours(r + 1, c + 1);
      } else if (b.state == kBallDrop || b.state == kBallFade) {
        if (fx_.smallBalls.SpawnCopy(b, b.state)) EmptyCell(r, c);
      }
    }
  }
}

u8 Board::CountColours() {
  bool present[kMaxColours + 1] = {};
  for (const auto& row : cells_) {
    for (const Ball& b : row) {
      if (b.colour <= kMaxColours) present[b.colour] = true;
    }
  }
  if (settings_.nextColour <= kMaxColours) present[settings_.nextColour] = true;
  u8 n = 0;
  for (int c = 1; c <= kMaxColours; ++c) {
    if (present[c]) colours_[n++] = static_cast<u8>(c);
  }
  return n;
}

void Board::ClearCounters() {
  for (auto& row : cells_) {
    for (Ball& b : row) b.counter = 0;
  }
}

int Board::OccupiedNeighbours(int row, int col, bool unmarkedOnly) const {
  const Offset* nb = GridNeighbours(row);
  int n = 0;
  for (int i = 0; i < 6; ++i) {
    const int r = row + nb[i].dr, c = col + nb[i].dc;
    if (!InGrid(r, c) || cells_[r][c].colour == 0) continue;
    if (unmarkedOnly && cells_[r][c].counter != 0) continue;
    ++n;
  }
  return n;
}

// A breadth-first fill from the landed ball; each ball's counter holds its
// mark, which later becomes its wait before bursting, so the landed ball
// bursts first, then the cluster in fill order, then the isolated balls.
i16 Board::FindCluster(i16 row, i16 col, u8 countOnly) {
  if (!InGrid(row, col) || cells_[row][col].colour == 0) return 0;
  ClearCounters();
  const u8 target = cells_[row][col].colour;
  cells_[row][col].counter = 1;
  i16 mark = 2;
  Offset queue[kCells];
  int head = 0, tail = 0;
  Offset current{row, col};
  for (;;) {
    const Offset* nb = ClusterNeighbours(current.dr);
    for (int i = 0; i < 6; ++i) {
      const int r = current.dr + nb[i].dr, c = current.dc + nb[i].dc;
      if (!InGrid(r, c) || cells_[r][c].colour != target || cells_[r][c].counter != 0) continue;
      queue[tail++] = {r, c};
      cells_[r][c].counter = mark++;
    }
    if (head == tail) break;
    current = queue[head++];
  }
  const i16 size = static_cast<i16>(mark - 1);
  if (countOnly || size < 3) return size;

  // Balls left without any unmarked neighbour go too; marks given earlier
  // in this scan count as marks.
  i16 extra = static_cast<i16>(size + 10);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      Ball& b = cells_[r][c];
      if (b.colour == 0 || b.counter != 0) continue;
      if (OccupiedNeighbours(r, c, true) == 0) b.counter = extra++;
    }
  }
  for (auto& cellRow : cells_) {
    for (Ball& b : cellRow) {
      if (b.counter == 0) continue;
      b.sizeStep = kFixOne;
      b.SetState(kBallWaitBurst);
    }
  }
  return size;
}

// One time in four a colour present anywhere; otherwise a neighbour's
// colour, weighted by how many neighbours hold it.
u8 Board::GrowColour(int row, int col) {
  if (NextRandom(colour_) % 100 > 74) {
    const u8 n = CountColours();
    return n ? colours_[NextRandom(colour_) % n] : 0;
  }
  u8 entries[6];
  int m = 0;
  const Offset* nb = GridNeighbours(row);
  for (int i = 0; i < 6; ++i) {
    const int r = row + nb[i].dr, c = col + nb[i].dc;
    if (InGrid(r, c) && cells_[r][c].colour != 0) entries[m++] = cells_[r][c].colour;
  }
  return m ? entries[NextRandom(colour_) % m] : 0;
}

u8 Board::GrowLife() {
  // Every count is taken before anything grows.
  ClearCounters();
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      if (cells_[r][c].colour == 0) {
        cells_[r][c].counter = static_cast<i16>(OccupiedNeighbours(r, c, false));
      }
    }
  }
  u8 grew = 0;
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      Ball& b = cells_[r][c];
      if (b.counter < 1 || b.counter > 3) continue;
      const u8 colour = GrowColour(r, c);
      if (colour == 0) continue;  // cannot happen: the cell has a neighbour
      SetCellColour(r, c, colour);
      b.counter = 10;
      b.sizeStep = static_cast<i32>(NextRandom(general_) % 3 + 1) * kFixOne;
      b.SetState(kBallHiddenWaitGrow);
      grew = 1;
    }
  }
  return grew;
}

void Board::AddScore(i16 removed) {
  if (settings_.countShots == 1) return;
  settings_.score += static_cast<u32>(removed * (settings_.level + 1));
}

u8 Board::AnyOtherState(u8 s) const {
  for (const auto& row : cells_) {
    for (const Ball& b : row) {
      if (b.state != kBallHidden && b.state != s) return 0;
    }
  }
  return 1;
}

u8 Board::AnyInState(u8 s) const {
  for (const auto& row : cells_) {
    for (const Ball& b : row) {
      if (b.state == s) return 0;
    }
  }
  return 1;
}

void Board::RegisterClips(PointerList<OClip>& clips) {
  for (auto& row : cells_) {
    for (Ball& b : row) b.RegisterClips(clips);
  }
}

void Board::SetShadows(u8 on) {
  for (auto& row : cells_) {
    for (Ball& b : row) b.SetShadow(on);
  }
}

void Board::BuildLattice() {
  fx_.lattice.Build(16 * kFixOne, 16 * kFixOne, 20 * kFixOne, 18 * kFixOne, kColumns, kRows);
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) fx_.lattice.CellNode(r, c).occupied = cells_[r][c].colour;
  }
}

void Board::UpdateCellPositions() {
  for (int r = 0; r < kRows; ++r) {
    for (int c = 0; c < kColumns; ++c) {
      Ball& b = cells_[r][c];
      const LatticeNode& n = fx_.lattice.CellNode(r, c);
      b.x = b.ballClip.x = n.x;
      b.y = b.ballClip.y = n.y;
      b.shadowClip.x = n.x + b.shadowOffset;
      b.shadowClip.y = n.y + b.shadowOffset;
    }
  }
}

void Board::SeedPhysicsNode(int row, int col, const Ball& shot) {
  if (!settings_.physics || !InGrid(row, col)) return;
  const Ball& settled = cells_[row][col];
  LatticeNode& n = fx_.lattice.CellNode(row, col);
  n.occupied = settled.colour;
  if (settled.colour == 0) {
    n.Reset();
    return;
  }
  n.x = settled.x;
  n.y = settled.y;
  n.vx = shot.vx;
  n.vy = shot.vy;
}

void Board::StepLattice(const Ball& cue, i32 speed, u8 flying) {
  if (!settings_.physics) return;
  fx_.lattice.Step(cue.x, cue.y, speed, flying);
  UpdateCellPositions();
}
