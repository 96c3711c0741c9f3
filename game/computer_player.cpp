#include "game/computer_player.h"

#include <cstdlib>

#include "game/aimer.h"
#include "game/board.h"
#include "game/shot.h"
#include "platform/random.h"

ComputerPlayer::ComputerPlayer(Board& board, const Ball& cue, u32& generalRandom, const i32* trig)
    : board_(board), cue_(cue), random_(generalRandom), trig_(trig) {}

void ComputerPlayer::ResetAim() {
  trialAngle = Aimer::kMinAngle;
  bestAngle = 90;
  bestSize = 0;
  bestPower = 1;
}

u8 ComputerPlayer::ComputerAim() {
  for (int i = 0; i < kAnglesPerCall; ++i) {
    const i16 angle = ++trialAngle;
    if (angle > Aimer::kMaxAngle) return 0;
    // A target 50 px along the aim from the rest point, in whole pixels.
    const FixVec dir = Aimer::AimStep(angle, trig_);
    const i32 x = ((kShootX * kFixOne + kTrialDistance * dir.x + 128) >> 8) * kFixOne;
    const i32 y = ((kShootY * kFixOne + kTrialDistance * dir.y + 128) >> 8) * kFixOne;
    for (i16 power = 1; power <= 7; power += 2) Trial(angle, x, y, power);
  }
  return trialAngle < Aimer::kMaxAngle ? 1 : 0;
}

void ComputerPlayer::Trial(i16 angle, i32 targetX, i32 targetY, i16 power) {
  i16 col, row;
  if (!TracePath(targetX, targetY, power, col, row)) return;
  // Only an empty cell can take the ball; the trial colours it for the count
  // and gives it back its own colour, so no ball is ever lost.
  Ball& cell = board_.Cell(row, col);
  if (cell.colour != 0) return;
  const u8 own = cell.colour;
  cell.colour = cue_.colour;
  const i16 size = board_.FindCluster(row, col, 1);
  cell.colour = own;

  if (size > bestSize ||
      (size == bestSize && std::abs(angle - 90) < std::abs(bestAngle - 90))) {
    bestAngle = angle;
    bestPower = power;
    bestSize = size;
  }
  // Nothing of its colour to aim at yet: a random shot, until a trial finds
  // a neighbour.
  if (bestSize == 1) {
    bestAngle = static_cast<i16>(NextRandom(random_) % 160 + 10);
    bestPower = static_cast<i16>(1 + NextRandom(random_) % 8);
  }
}

bool ComputerPlayer::TracePath(i32 targetX, i32 targetY, i16 power, i16& col, i16& row) const {
  const ShotTrace trace =
      TraceShot(board_, cue_.x, cue_.y, targetX, targetY, CaptureRadius(power * kFixOne), false);
  if (!trace.found) return false;
  col = trace.col;
  row = trace.row;
  return true;
}
