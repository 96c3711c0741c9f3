#include "game/shot.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

#include "audio/sound_manager.h"
#include "game/ball_fx.h"
#include "game/board.h"
#include "platform/random.h"
#include "ui/settings.h"

namespace {

constexpr i32 kCushionLeft = 16 * kFixOne;
constexpr i32 kCushionRight = 446 * kFixOne;
constexpr i32 kCushionTop = 16 * kFixOne;
constexpr i32 kRestHeight = 10 * kFixOne;
constexpr i32 kRollSpeed = 640;              // 2.5 px per tick up the table
constexpr i64 kSteerZoneSq = 900 * kFixOne;  // 30 px, whole pixels squared (24.8)
constexpr i32 kSteerZone = 30 * kFixOne;
constexpr i32 kMinSpeed = 2 * kFixOne;
// Ticks kept at the end of the budget for the straight flight home: no
// point of the table lies 70 ticks from a cell at 10 px per tick.
constexpr i32 kHomingTicks = 70;


// The unit step toward a point dx, dy (24.8) above: the major component 1.0.
FixVec UnitStep(i32 dx, i32 dy) {
  const i64 ax = std::abs(i64{dx}), ay = std::abs(i64{dy});
  if (dx == 0) return {0, -kFixOne};
  if (ay < ax) return {dx > 0 ? kFixOne : -kFixOne, static_cast<i32>(-(ay * kFixOne) / ax)};
  return {static_cast<i32>(i64{dx} * kFixOne / ay), -kFixOne};
}

// A velocity toward (dx, dy) whose major component is speed; a vertical
// one keeps the sign of dy (up when there is no difference at all).
FixVec Toward(i64 dx, i64 dy, i32 speed) {
  const i64 ax = std::abs(dx), ay = std::abs(dy);
  if (dx == 0) return {0, dy > 0 ? speed : -speed};
  if (ax > ay) return {dx > 0 ? speed : -speed, static_cast<i32>(((speed * dy) & ~i64{0xff}) / ax)};
  return {static_cast<i32>(((speed * dx) & ~i64{0xff}) / ay), dy > 0 ? speed : -speed};
}

}  // namespace

int TraceRow(i32 y) { return static_cast<int>((i64{y} - 6 * kFixOne) * kFixOne / (18 * kFixOne) >> 8); }

int TraceColumn(i32 x, int row) {
  const i32 left = (row & 1) ? 16 * kFixOne : 6 * kFixOne;
  return static_cast<int>((i64{x} - left) * kFixOne / (20 * kFixOne) >> 8);
}

bool BallNearPoint(const Board& board, int row, int col, i32 x, i32 y, i64 radiusSq, bool below) {
  const int diagonal = (row & 1) ? col + 1 : col - 1;
  const int cells[5][2] = {
      {row - 1, col}, {row - 1, diagonal}, {row, col - 1}, {row, col + 1}, {row + 1, diagonal}};
  const int count = below ? 5 : 4;
  for (int i = 0; i < count; ++i) {
    const int r = cells[i][0], c = cells[i][1];
    if (!Board::InGrid(r, c) || board.Cell(r, c).colour == 0) continue;
    const i64 dx = Board::CellX(r, c) - x;
    const i64 dy = Board::CellY(r) - y;
    if (((dx * dx) >> 8) + ((dy * dy) >> 8) < radiusSq) return true;
  }
  return false;
}

i32 CaptureRadius(i32 power) { return 5120 + (((power - kFixOne) * -490) >> 8); }

i32 FlightSpeed(i32 power) { return 2560 + (((power - kFixOne) * 365) >> 8); }

ShotTrace TraceShot(const Board& board, i32 fromX, i32 fromY, i32 targetX, i32 targetY,
                    i32 radius, bool topCushion) {
  ShotTrace trace;
  if (targetY - fromY >= 0) return trace;
  FixVec step = UnitStep(targetX - fromX, targetY - fromY);
  trace.firstStep = step;
  const i64 radiusSq = (i64{radius} * radius) >> 8;
  i32 x = fromX, y = fromY;
  int prevRow = -1, prevCol = -1;  // none yet
  for (;;) {
    x += step.x;
    y += step.y;
    ++trace.steps;
    if (x <= kCushionLeft || x >= kCushionRight) {
      x = x <= kCushionLeft ? kCushionLeft : kCushionRight;
      step.x = -step.x;
      ++trace.bounces;
    }
    int row;
    if (topCushion && y <= kCushionTop) {
      y = kCushionTop;
      step.y = -step.y;
      ++trace.bounces;
      row = 0;
    } else {
      row = TraceRow(y);
      if (row >= Board::kRows) continue;  // below the grid, still rising
    }
    const int col = std::clamp(TraceColumn(x, row), 0, Board::kColumns - 1);
    if (board.Cell(row, col).colour != 0) {
      // Stop in the cell before; a ball at the very start leaves no room.
      if (prevRow < 0) return ShotTrace{};
      trace.found = true;
      trace.row = static_cast<i16>(prevRow);
      trace.col = static_cast<i16>(prevCol);
      return trace;
    }
    // A shot coming down into the bottom row leaves the table there; the
    // rehearsal, which has no top cushion, ends in the top row.
    const bool bottom = topCushion && step.y > 0 && row == Board::kRows - 1;
    const bool top = !topCushion && row == 0;
    if (bottom || top || BallNearPoint(board, row, col, x, y, radiusSq, topCushion)) {
      trace.found = true;
      trace.leavesBottom = bottom;
      trace.row = static_cast<i16>(row);
      trace.col = static_cast<i16>(col);
      return trace;
    }
    prevRow = row;
    prevCol = col;
  }
}

Shot::Shot(Board& board, Ball& cue, Ball& next, SettingsRecord& settings, u32& colourRandom,
           BallFxPool& bursts)
    : board_(board), cue_(cue), next_(next), settings_(settings), colourRandom_(colourRandom),
      bursts_(bursts) {}

u8 Shot::NextBall() {
  if (keepNext) {
    keepNext = 0;  // a loaded game keeps its saved pair once
  } else {
    settings_.currentColour = settings_.nextColour;
    settings_.nextColour = DrawNextColour();
  }
  if (settings_.nextColour == 0) return 0;
  board_.SetBallColour(cue_, settings_.currentColour);
  board_.SetBallColour(next_, settings_.nextColour);
  // Both start below the shooting point, one place lower when the next
  // ball was not on show.
  const int y = next_.state != kBallHidden ? kNextY : kNextY + 20;
  RollUpFrom(cue_, y);
  RollUpFrom(next_, y + 20);
  return 1;
}

u8 Shot::DrawNextColour() {
  const u8 n = board_.CountColours();
  if (n == 0) return 0;
  const u8* colours = board_.ColoursPresent();
  u8 colour;
  do {
    colour = colours[NextRandom(colourRandom_) % n];
  } while (n >= 2 && colour == settings_.currentColour);
  return colour;
}

void Shot::RollUpFrom(Ball& ball, int y) {
  ball.x = kShootX * kFixOne;
  ball.y = y * kFixOne;
  ball.z = kRestHeight;
  ball.vx = 0;
  ball.vy = -kRollSpeed;
  ball.vz = 0;
  ball.SetState(kBallAtRest);
}

bool Shot::ComputeShot(i32 targetX, i32 targetY, i32 power) {
  power = std::clamp(power, kFixOne, 8 * kFixOne);
  const ShotTrace trace =
      TraceShot(board_, cue_.x, cue_.y, targetX, targetY, CaptureRadius(power), true);
  if (!trace.found) return false;
  landingRow_ = trace.row;
  landingCol_ = trace.col;
  bounces_ = trace.bounces;
  leavesBottom_ = trace.leavesBottom;
  speed = FlightSpeed(power);
  shotSpeed_ = speed;
  // The ball flies along the first direction of the trace; the cushions
  // reflect it on the way as they reflected the trace.
  cue_.vx = static_cast<i32>((i64{speed} * trace.firstStep.x) >> 8);
  cue_.vy = static_cast<i32>((i64{speed} * trace.firstStep.y) >> 8);
  cue_.vz = 0;
  cue_.Project();
  // Twice the ticks the traced path takes at this speed, with room to
  // settle and to fly home straight.
  const i64 pathTicks = i64{trace.steps} * kFixOne / speed + 1;
  tickBudget_ = static_cast<i32>(std::min<i64>(2 * pathTicks + 50, 100000)) + kHomingTicks;
  ticks_ = 0;
  homing_ = false;
  lastDistanceSq_ = std::numeric_limits<i64>::max();
  return true;
}

u8 Shot::FlightStep() {
  ++ticks_;
  if (homing_ || ticks_ > tickBudget_ - kHomingTicks || Lost()) return FlyHome();
  if (bounces_ > 0) {
    CushionStep();
    if (bounces_ > 0) return 1;
  }
  if (WouldCrossCushion()) return FlyHome();
  if (leavesBottom_) {
    // Down the table and out: it bursts once past the bottom row's centre.
    if (cue_.y > Board::CellY(landingRow_)) return Burst();
    cue_.Advance();
    return 1;
  }
  const i64 d2 = CellDistanceSq();
  if (d2 >= kSteerZoneSq) {
    // On the way; a ball that has started to move away has missed its cell.
    if (d2 > lastDistanceSq_) return FlyHome();
    lastDistanceSq_ = d2;
    cue_.Advance();
    return 1;
  }
  // Within 30 px: slow down and steer into the cell.
  speed = std::max(speed * 1024 / 1280, kMinSpeed);
  SteerBall();
  cue_.Advance();
  const i64 arrival = (((i64{speed} * speed) >> 8) * 768) >> 8;  // 3 x speed squared
  if (d2 > arrival) return 1;
  return Arrive();
}

void Shot::CushionStep() {
  const i32 nx = cue_.x + cue_.vx;
  const bool side = nx < kCushionLeft || nx > kCushionRight;
  if (side) {
    cue_.vx = -cue_.vx;
    cue_.x = nx < kCushionLeft ? kCushionLeft : kCushionRight;
    Bounce();
  }
  if (cue_.y + cue_.vy < kCushionTop) {
    cue_.y = kCushionTop;
    cue_.vy = -cue_.vy;
    Bounce();
  } else if (!side) {
    cue_.Advance();
    return;
  }
  cue_.Project();
}

void Shot::Bounce() {
  if (bounces_ > 0) --bounces_;
  lastDistanceSq_ = std::numeric_limits<i64>::max();
  Play(SoundBounce);
}

bool Shot::WouldCrossCushion() const {
  const i32 nx = cue_.x + cue_.vx;
  return nx < kCushionLeft || nx > kCushionRight || cue_.y + cue_.vy < kCushionTop;
}

bool Shot::Lost() const {
  // Only the top cushion turns a ball upward: one going down below its cell
  // never comes back to it.
  return cue_.vy > 0 && cue_.y > Board::CellY(landingRow_) + kSteerZone;
}

i64 Shot::CellDistanceSq() const {
  const i64 dx = (i64{Board::CellX(landingRow_, landingCol_)} - cue_.x + 128) >> 8;
  const i64 dy = (i64{Board::CellY(landingRow_)} - cue_.y + 128) >> 8;
  return (dx * dx + dy * dy) * kFixOne;
}

void Shot::SteerBall() {
  const i64 dx = i64{Board::CellX(landingRow_, landingCol_)} - cue_.x + cue_.vx;
  const i64 dy = i64{Board::CellY(landingRow_)} - cue_.y + cue_.vy;
  const FixVec v = Toward(dx, dy, speed);
  cue_.vx = v.x;
  cue_.vy = v.y;
}

u8 Shot::FlyHome() {
  homing_ = true;
  const i64 dx = i64{Board::CellX(landingRow_, landingCol_)} - cue_.x;
  const i64 dy = i64{Board::CellY(landingRow_)} - cue_.y;
  const FixVec v = Toward(dx, dy, shotSpeed_);
  if (dx * dx + dy * dy <= i64{v.x} * v.x + i64{v.y} * v.y) {
    // Within one step: into the cell.
    cue_.x = Board::CellX(landingRow_, landingCol_);
    cue_.y = Board::CellY(landingRow_);
    cue_.Project();
    return leavesBottom_ ? Burst() : Arrive();
  }
  cue_.vx = v.x;
  cue_.vy = v.y;
  cue_.Advance();
  return 1;
}

u8 Shot::Arrive() {
  board_.SetCellColour(landingRow_, landingCol_, cue_.colour);
  Ball& cell = board_.Cell(landingRow_, landingCol_);
  if (settings_.physics) {
    // The lattice carries the ball home from where it stopped.
    cell.x = cue_.x;
    cell.y = cue_.y;
    cell.z = cue_.z;
    cell.Project();
  }
  cell.SetState(kBallAtRest);
  cue_.SetState(kBallHidden);
  board_.SeedPhysicsNode(landingRow_, landingCol_, cue_);
  return 0;
}

u8 Shot::Burst() {
  bursts_.SpawnBurst(cue_, 1);
  cue_.SetState(kBallHidden);
  return 0;
}

void Shot::Play(short effect) const {
  if (sound) sound(effect);
}
