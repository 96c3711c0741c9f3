// The computer player of the demo. When a shot is due it tries the aiming
// angles 11..170, five a tick, each at the powers 1, 3, 5 and 7: it traces
// where the shot would land and counts the cluster the cue ball's colour
// would make there, keeping the best. Without any same-colour neighbour to
// aim at it picks a random angle and power.
#pragma once

#include "game/ball.h"
#include "platform/types.h"

class Board;

class ComputerPlayer : public CBase {
 public:
  static constexpr i16 kAnglesPerCall = 5;
  static constexpr i16 kTrialDistance = 50;  // px from the rest point to a trial target

  // The cue ball's colour and position are read at each call; the random
  // state is the general one.
  ComputerPlayer(Board& board, const Ball& cue, u32& generalRandom, const i32* trig);
  ComputerPlayer(const ComputerPlayer&) = delete;
  ComputerPlayer& operator=(const ComputerPlayer&) = delete;

  // Starts a new search: trial angle 10, best angle 90, power 1, size 0.
  void ResetAim();
  // Tries the next five angles; 1 while angles remain, 0 once angle 170 has
  // been tried (bestAngle and bestPower are then final).
  u8 ComputerAim();
  // Rehearses a shot of the cue ball toward the target (24.8) at a power
  // step (1..8) without moving anything. False when the target is not above
  // the ball.
  bool TracePath(i32 targetX, i32 targetY, i16 power, i16& col, i16& row) const;

  i16 trialAngle = 10;
  i16 bestAngle = 90;
  i16 bestPower = 1;  // power step 1..8
  i16 bestSize = 0;

 private:
  // One trial: where the shot lands and how big a cluster it would make.
  void Trial(i16 angle, i32 targetX, i32 targetY, i16 power);

  Board& board_;
  const Ball& cue_;
  u32& random_;
  const i32* trig_;
};
