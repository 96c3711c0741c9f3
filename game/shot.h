// The shot: the next ball rolling up, the path of a shot traced before the
// ball moves, and the flight with its cushion bounces until the ball settles
// in the cell the trace chose (or, struck into the bottom row, bursts).
//
// The landing cell is fixed when the shot is computed; the flight only has
// to get there. A flight whose bounces do not come out as traced, that
// misses its cell or that takes too long is steered straight into the
// landing cell, so a shot always ends.
//
// In the game: the shot state computes the shot toward the aimer's target
// (no shot: back to aiming), then calls FlightStep each tick. When it
// returns 0, LeavesBottom() tells a bottom hit (the table is recoloured)
// from a settled ball (its cluster is looked for at LandingRow/LandingCol);
// the settled ball's lattice node has already been seeded.
#pragma once

#include <functional>

#include "game/ball.h"
#include "platform/fixed_math.h"
#include "platform/types.h"

class Board;
class BallFxPool;
struct SettingsRecord;

// The cue ball's rest point and the next ball's place below it (px).
constexpr int kShootX = 231;
constexpr int kShootY = 466;
constexpr int kNextY = 486;

// The grid row and column under a point of a trace (24.8) as the traces
// find them: whole rows of 18 px from y 6 and columns of 20 px from x 6
// (x 16 on odd rows). Neither is clamped to the grid.
int TraceRow(i32 y);
int TraceColumn(i32 x, int row);
// True when a ball in the cells above (row, col), beside it, or with below
// also diagonally below it, has its centre nearer than the squared radius
// (24.8) to the point (24.8). Cells outside the grid are skipped.
bool BallNearPoint(const Board& board, int row, int col, i32 x, i32 y, i64 radiusSq, bool below);

// Capture radius of a cue power (24.8, 1.0..8.0): 20 px at 1.0, 1.914 px
// less per power step.
i32 CaptureRadius(i32 power);
// Flight speed of a cue power: 10 px per tick at 1.0, 1.426 px more per step.
i32 FlightSpeed(i32 power);

// Where a traced shot stops.
struct ShotTrace {
  bool found = false;         // false: the target is not above the start
  i16 row = 0, col = 0;       // the landing cell
  i16 bounces = 0;            // cushion contacts on the way
  bool leavesBottom = false;  // stopped moving down into the bottom row
  FixVec firstStep;           // the unit step before any reflection
  i32 steps = 0;              // unit steps taken (the path length)
};

// Traces a shot from (fromX, fromY) toward the target (24.8) in unit steps
// that reflect off the side cushions at x 16 and 446. With topCushion it
// reflects off the top at y 16 and may come down into the bottom row;
// without (the computer player's rehearsal) it stops in row 0. It stops in
// the cell before an occupied one, or where a ball nearby lies closer than
// radius.
ShotTrace TraceShot(const Board& board, i32 fromX, i32 fromY, i32 targetX, i32 targetY,
                    i32 radius, bool topCushion);

class Shot : public CBase {
 public:
  // Requests a sound effect (SoundEffect numbers); may be empty.
  using SoundFn = std::function<void(short)>;

  // The flight moves the cue ball and brings up the next ball; colours come
  // from the settings and the colour random state; a ball lost at the
  // bottom bursts into the pool.
  Shot(Board& board, Ball& cue, Ball& next, SettingsRecord& settings, u32& colourRandom,
       BallFxPool& bursts);
  Shot(const Shot&) = delete;
  Shot& operator=(const Shot&) = delete;

  // Brings the next ball up as the cue ball and draws a new next colour
  // (unless keepNext, set after a load, keeps the saved pair once). Both
  // balls start below the shooting point rolling up at 2.5 px per tick.
  // 0 when there is no colour left: nothing is placed.
  u8 NextBall();
  // Computes the shot of the cue ball toward the target (24.8) at the power
  // (24.8, kept within 1.0..8.0): the landing cell, the bounces, whether it leaves
  // through the bottom, the flight speed and the ball's velocity. False,
  // with nothing changed, when the target is not above the ball.
  bool ComputeShot(i32 targetX, i32 targetY, i32 power);
  // One tick of the flight: 1 while the ball flies; 0 once it has settled
  // in the landing cell (with Physics on, the cell's lattice node is seeded
  // from it) or has burst at the bottom (LeavesBottom).
  u8 FlightStep();
  // Turns the velocity toward the landing cell, the major component at the
  // flight speed, blended with the current heading.
  void SteerBall();

  bool LeavesBottom() const { return leavesBottom_; }
  i16 LandingRow() const { return landingRow_; }
  i16 LandingCol() const { return landingCol_; }
  i16 Bounces() const { return bounces_; }
  // Ticks flown so far and the budget after which the ball is steered home.
  i32 Ticks() const { return ticks_; }
  i32 TickBudget() const { return tickBudget_; }
  // Whether the flight has given up its own course and flies straight home.
  bool Homing() const { return homing_; }

  i32 speed = 0;     // flight speed, 24.8 px per tick (the lattice reads it)
  u32 keepNext = 0;  // 1 after a load: the next NextBall keeps the saved colours
  SoundFn sound;

 private:
  // The next colour: any colour in play other than the cue ball's (the
  // only one when no other is left), 0 when none is.
  u8 DrawNextColour();
  static void RollUpFrom(Ball& ball, int y);
  // One tick while cushion contacts are still to come.
  void CushionStep();
  void Bounce();
  // With no bounces left: the next move would leave the table.
  bool WouldCrossCushion() const;
  // Moving down, already past its cell: nothing turns it back.
  bool Lost() const;
  // The squared distance to the landing cell in whole pixels (24.8).
  i64 CellDistanceSq() const;
  // From now on flies straight toward the landing cell at the shot's
  // speed; one tick of that.
  u8 FlyHome();
  u8 Arrive();
  u8 Burst();
  void Play(short effect) const;

  Board& board_;
  Ball& cue_;
  Ball& next_;
  SettingsRecord& settings_;
  u32& colourRandom_;
  BallFxPool& bursts_;

  i16 bounces_ = 0;
  i16 landingRow_ = 0;
  i16 landingCol_ = 0;
  bool leavesBottom_ = false;
  bool homing_ = false;
  i32 ticks_ = 0;
  i32 tickBudget_ = 0;
  i32 shotSpeed_ = 0;  // the speed the shot left with
  i64 lastDistanceSq_ = 0;
};
