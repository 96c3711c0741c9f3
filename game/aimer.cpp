#include "game/aimer.h"

#include <algorithm>
#include <cstdlib>

#include "game/board.h"
#include "game/shot.h"

namespace {

constexpr i32 kDotRestHeight = 10 * kFixOne;
constexpr i32 kDotSize = 3 * kFixOne;
constexpr i32 kDotImageBase = 253 * kFixOne;
constexpr i32 kDotFullImage = 255 * kFixOne;
constexpr u8 kDotColour = 9;
// The trace stops at the side cushions and the top of the box.
constexpr i32 kTraceLeft = Aimer::kBoxLeft + 1;
constexpr i32 kTraceRight = 456 * kFixOne;
// A ball nearer than about 16.66 px (squared, 24.8) ends the trace.
constexpr i64 kNearSq = 71088;

}  // namespace

void Aimer::Init(u8 controls, i32 x, i32 y, u8 hasShadow) {
  dotCount = 0;
  dotsVisible = 0;
  mode = controls;
  originX = x;
  originY = y;
  for (Ball& d : dots) {
    d.colour = kDotColour;
    d.minSize = kFixOne;
    d.maxSize = kDotSize;
    d.size = kDotSize;
    d.imageBase = kDotImageBase;
    d.fullImage = kDotFullImage;
    d.z = kDotRestHeight;
    d.SetShadow(hasShadow);
    d.SetState(kBallHidden);
  }
  targetX = 231 * kFixOne;
  targetY = 240 * kFixOne;
  angle = 90;
}

u8 Aimer::ClampPoint(i32 x, i32 y, u8 clamp) {
  if (x >= kBoxLeft && x <= kBoxRight && y >= kBoxTop && y <= kBoxBottom) return 1;
  if (clamp) {
    targetX = std::clamp(targetX, kBoxLeft, kBoxRight);
    targetY = std::clamp(targetY, kBoxTop, kBoxBottom);
  }
  return 0;
}

void Aimer::MoveTarget(i16 dx, i16 dy) {
  targetX += dx * kFixOne;
  targetY += dy * kFixOne;
  ClampPoint(targetX, targetY, 1);
  if (mode == 1) return;  // the pen aims without dots

  // Dots 20 px apart from the target back toward the cue ball.
  const i32 px = (targetX - originX + 128) >> 8;
  const i32 py = (targetY - originY + 128) >> 8;
  const i32 length = FixSqrtRound((px * px + py * py) * kFixOne);
  const i32 step = length > 0 ? std::max<i32>(kDotSpacing * kFixOne / length, 1) : kFixOne + 1;
  int k = 0;
  for (i32 t = 0; t <= kFixOne && k < kDots; t += step, ++k) {
    Ball& d = dots[k];
    d.x = static_cast<i32>((i64{originX} * t + i64{targetX} * (kFixOne - t)) >> 8);
    d.y = static_cast<i32>((i64{originY} * t + i64{targetY} * (kFixOne - t)) >> 8);
    d.z = kDotRestHeight;
    d.Project();
  }
  dotCount = static_cast<i16>(k);
  ShowDots(dotsVisible);
}

FixVec Aimer::AimStep(int a, const i32* trig) {
  if (a == 90) return {0, -kFixOne};
  const i32 cosine = trig[(a + 90) % 360];
  const i32 t = cosine ? (trig[a % 360] * kFixOne) / cosine : 0;  // the tangent, 24.8
  if (std::abs(90 - a) > 44) return {a < 90 ? kFixOne : -kFixOne, -std::abs(t)};
  return {t ? kFixOne * kFixOne / t : 0, -kFixOne};
}

bool Aimer::NearBall(i32 x, i32 y, const Board& board) {
  const int row = TraceRow(y);
  if (row > Board::kRows - 1) return false;
  return BallNearPoint(board, row, std::max(TraceColumn(x, row), 0), x, y, kNearSq, false);
}

void Aimer::Turn(i16 delta, const i32* trig, const Board& board) {
  angle = static_cast<i16>(std::clamp<int>(angle + delta, kMinAngle, kMaxAngle));
  const FixVec step = AimStep(angle, trig);
  i32 x = originX, y = originY;
  for (;;) {
    x += step.x;
    y += step.y;
    if (x < kTraceLeft) {
      x = kBoxLeft;
      break;
    }
    if (x >= kTraceRight) {
      x = kTraceRight;
      break;
    }
    if (y < kBoxTop) {
      y = kBoxTop;
      break;
    }
    if (NearBall(x, y, board)) break;
  }
  MoveTarget(static_cast<i16>((x - targetX + 128) >> 8), static_cast<i16>((y - targetY + 128) >> 8));
}

void Aimer::ShowDots(u8 visible) {
  dotsVisible = visible;
  for (int k = 0; k < kDots; ++k) {
    const bool shown = mode != 1 && visible && k < dotCount;
    dots[k].SetState(shown ? kBallAtRest : kBallHidden);
  }
}

void Aimer::RegisterClips(PointerList<OClip>& clips) {
  for (int k = kDots - 1; k >= 0; --k) dots[k].RegisterClips(clips);
}

void Aimer::SetShadows(u8 on) {
  for (Ball& d : dots) d.SetShadow(on);
}
