// The table of balls: 26 rows by 22 columns of cells on a hexagonal grid
// (odd rows shifted half a cell right). It lays out levels, deals colours,
// animates and steps its balls, and carries the rules the game calls:
// clusters, growth after a miss, recolouring and scoring.
#pragma once

#include "game/ball.h"
#include "platform/types.h"

class AppContext;
class BallFxSet;
struct SettingsRecord;

class Board : public CBase {
 public:
  static constexpr int kRows = 26;
  static constexpr int kColumns = 22;
  static constexpr int kCells = kRows * kColumns;
  static constexpr int kMaxColours = 8;

  // Borrows the settings and both random states of the context.
  Board(AppContext& context, BallFxSet& fx);
  // The same from the parts: the settings record, the general random state
  // (animation order, speeds, effects) and the colour state (every colour
  // choice and the deal's shuffles).
  Board(SettingsRecord& settings, u32& generalRandom, u32& colourRandom, BallFxSet& fx);
  Board(const Board&) = delete;
  Board& operator=(const Board&) = delete;

  // Grid geometry: the centre of a cell in 24.8 pixels.
  static i32 CellX(int row, int col);
  static i32 CellY(int row);
  static bool InGrid(int row, int col);

  Ball& Cell(int row, int col) { return cells_[row][col]; }
  const Ball& Cell(int row, int col) const { return cells_[row][col]; }

  // Gives a ball a colour (1..8) with its frames and resting size; any
  // other colour makes it an empty ball (colour 0), so no foreign value can
  // select an image outside the ball range.
  void SetBallColour(Ball& ball, u8 colour);
  // Colours a cell's ball and keeps its lattice node in step: occupied
  // follows the colour, and an emptied node returns to rest.
  void SetCellColour(int row, int col, u8 colour);
  // Hides and empties a cell.
  void EmptyCell(int row, int col);

  // Lays out the level of the settings with a shuffled colour deck and draws
  // the next ball's colour. The balls stay hidden until AnimateCells.
  void LoadLevel();
  // Sends every occupied cell of the first `rows` rows into `state`, one
  // after another in random order, delay / 100 ticks apart. State 1 (fly-in)
  // also starts each ball off the table so it lands on its cell.
  void AnimateCells(u8 state, u16 delay, i32 sizeStep, u8 rows);
  // New random colours for every ball, then they grow back in turn.
  void RecolourAll();
  // One tick of every cell; a bursting ball goes to the burst pool (waiting
  // in state 10 while the pool is too full) and kicks its lattice neighbours.
  void StepAll();

  // Colours in play for a skill (byte 1 of the settings): EasyRide 4,
  // Novice 5, Expert 6, Master 7, any other value 2. A loaded game keeps this.
  static u8 SkillColours(u8 skill);
  // Colours in play on a new level (0-based): the skill's plus level / 2,
  // at most 8.
  static u8 LevelColours(u8 skill, u16 level);

  // The rules of the game.
  // Lists the colours on the table and the next ball's, in increasing
  // order (ColoursPresent), and returns how many.
  u8 CountColours();
  // The size of the cluster of the ball just landed at (row, col). Unless
  // countOnly, a cluster of three or more bursts in turn with every ball it
  // leaves without a neighbour.
  i16 FindCluster(i16 row, i16 col, u8 countOnly);
  // Grows a ball into every empty cell with one to three neighbours; 1 when
  // anything grew.
  u8 GrowLife();
  // Adds removed x (level + 1) to the score, unless shots are the score.
  void AddScore(i16 removed);

  // 1 when every cell is in state 0 or s.
  u8 AnyOtherState(u8 s) const;
  // 0 as soon as one cell is in state s, else 1.
  u8 AnyInState(u8 s) const;
  const u8* ColoursPresent() const { return colours_; }

  // Registers every cell's clips, row by row.
  void RegisterClips(PointerList<OClip>& clips);
  // Switches every ball's shadow.
  void SetShadows(u8 on);

  // Lays the lattice out under the grid; every node starts at rest and is
  // occupied exactly where a cell holds a ball.
  void BuildLattice();
  // Each ball takes its node's position.
  void UpdateCellPositions();
  // With Physics on, the node under a cell where a shot has just settled
  // takes the cell ball's position and colour and the shot ball's velocity,
  // so the lattice carries the ball home from where it stopped.
  void SeedPhysicsNode(int row, int col, const Ball& shot);
  // With Physics on: one lattice step pushed by the cue ball, then the balls
  // follow their nodes. With Physics off nothing moves.
  void StepLattice(const Ball& cue, i32 speed, u8 flying);

 private:
  // The colour count of the level, kept within 1..8 whatever the settings
  // hold, so no draw divides by zero or deals an unknown colour.
  int ColourCount() const;
  // Occupied grid neighbours of an empty cell.
  int OccupiedNeighbours(int row, int col, bool unmarkedOnly) const;
  u8 GrowColour(int row, int col);
  void ClearCounters();

  Ball cells_[kRows][kColumns];
  SettingsRecord& settings_;
  u32& general_;
  u32& colour_;
  BallFxSet& fx_;
  u8 colours_[kMaxColours]{};
};
