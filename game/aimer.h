// The aiming line: thirty small dots from the aimed point back toward the
// cue ball, the aimed point itself and the angle the keys turn. With the Pen
// controls the dots stay hidden and the target is where the player clicks.
#pragma once

#include "game/ball.h"
#include "platform/fixed_math.h"
#include "platform/types.h"

class Board;

class Aimer : public CBase {
 public:
  static constexpr int kDots = 30;
  static constexpr i16 kMinAngle = 10;
  static constexpr i16 kMaxAngle = 170;
  // The table box that targets and traces stay in (24.8 px).
  static constexpr i32 kBoxLeft = 6 * kFixOne;
  static constexpr i32 kBoxTop = 6 * kFixOne;
  static constexpr i32 kBoxRight = 455 * kFixOne;
  static constexpr i32 kBoxBottom = 460 * kFixOne;
  static constexpr i32 kDotSpacing = 20 * kFixOne;

  Aimer() = default;
  Aimer(const Aimer&) = delete;
  Aimer& operator=(const Aimer&) = delete;

  // mode: the Controls setting (0 keys, 1 pen); origin: the cue ball's rest
  // point (24.8). Every dot is set up hidden; the aim points straight up at
  // (231, 240).
  void Init(u8 mode, i32 originX, i32 originY, u8 hasShadow);
  // 1 when (x, y) (24.8) lies in the table box; otherwise 0, and with clamp
  // set the target is pulled into the box.
  u8 ClampPoint(i32 x, i32 y, u8 clamp);
  // Moves the target by whole pixels and, with the keys, lays the dots
  // from the target back toward the origin, 20 px apart.
  void MoveTarget(i16 dx, i16 dy);
  // Turns the aim by delta degrees (kept within 10..170) and traces it from
  // the origin to the first cushion or the first ball it would touch; the
  // target moves to the end of the trace.
  void Turn(i16 delta, const i32* trig, const Board& board);
  // Shows or hides the laid dots; with the pen every dot stays hidden.
  void ShowDots(u8 visible);
  // The dots' clips from the last dot to the first.
  void RegisterClips(PointerList<OClip>& clips);
  // Switches every dot's shadow.
  void SetShadows(u8 on);

  // The step of one trace tick for an angle (24.8): the major component is
  // 1.0, the aim rising up the screen. The computer player aims the same way.
  static FixVec AimStep(int angle, const i32* trig);

  Ball dots[kDots];
  i16 dotCount = 0;
  u8 dotsVisible = 0;
  u8 mode = 0;
  i32 targetX = 0, targetY = 0;  // 24.8 px
  i32 originX = 0, originY = 0;  // 24.8 px
  i16 angle = 90;                // 90 straight up; smaller angles aim right

 private:
  // True when the trace point (24.8) is nearer than 16.66 px to a ball in
  // the cells above and beside it.
  static bool NearBall(i32 x, i32 y, const Board& board);
};
