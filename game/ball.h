// A ball sprite: a 3-D position with a velocity, a size projected to one of
// its colour's image frames, an optional shadow, and the small per-tick
// state machine its owner (the board, the game, the aimer or an effect pool)
// drives and reacts to.
#pragma once

#include "platform/clip.h"
#include "platform/types.h"

// Per-tick states of a ball. The owner acts on 10, 14, 16, 17 and 18.
enum BallState : u8 {
  kBallHidden = 0,             // empty cell, nothing drawn
  kBallFlyIn = 1,              // moves for `counter` ticks, then rests
  kBallHiddenWaitGrow = 2,     // hidden for `counter` ticks, then grows
  kBallGrow = 3,               // grows by sizeStep up to maxSize, then rests
  kBallShownWaitGrow = 4,      // shown for `counter` ticks, then grows
  kBallHiddenWaitShrink = 5,   // hidden for `counter` ticks, then shrinks
  kBallShrink = 6,             // shrinks by sizeStep to minSize, then hides
  kBallAtRest = 7,
  kBallFree = 8,               // a free slot of an effect pool
  kBallWaitBurst = 9,          // shown for `counter` ticks, then bursts
  kBallBurst = 10,             // the owner removes the ball
  kBallHiddenWaitPulse = 11,   // hidden for `counter` ticks, then pulses
  kBallPulse = 12,             // size swings between minSize and maxSize
  kBallShownWaitDrop = 13,     // shown for `counter` ticks, then 14
  kBallDrop = 14,              // the owner hands it to the small-ball pool
  kBallShownWaitFade = 15,     // shown for `counter` ticks, then 16
  kBallFade = 16,              // the owner hands it to the small-ball pool
  kBallFlyer = 17,             // firework rising; the effect pool drives it
  kBallScatter = 18,           // firework piece; the effect pool drives it
};

// Images of colour c start at 35 c + 8; each colour has this many frames.
constexpr int kBallFramesPerColour = 35;
constexpr int kBallHighestColour = 8;
constexpr i32 kFixOne = 256;  // 1.0 in 24.8 and 8.8

// The image number (24.8) of colour c's smallest frame.
constexpr i32 BallImageBase(int colour) { return (35 * colour + 8) * kFixOne; }

class Ball : public CBase {
 public:
  Ball();
  Ball(const Ball&) = delete;
  Ball& operator=(const Ball&) = delete;

  // Adds the shadow clip, then the ball clip, to an engine's clip list while
  // it has room. Both are always registered, so shadows can be switched on
  // later.
  void RegisterClips(PointerList<OClip>& clips);
  // Places both clips and picks their image frames from x, y, z and size.
  void Project();
  // Moves by the velocity, bouncing off the table top and the ceiling, and
  // projects.
  void Advance();
  void SetState(u8 s);
  // One tick of the state machine.
  void Step();
  // Turns the shadow on or off; its clip shows only with the ball clip.
  void SetShadow(u8 on);

  // Shows the ball clip, and the shadow clip when the ball casts one.
  void Show();
  void Hide();

  i32 x = 0, y = 0, z = 0;     // 24.8 px; z is the height above the table
  i32 vx = 0, vy = 0, vz = 0;  // 24.8 px per tick
  i32 size = 0;                // 24.8; 1.0 is the smallest frame
  i32 minSize = 0;
  i32 maxSize = 0;
  u8 colour = 0;       // 1..8, 9 for aiming dots, 0 for an empty cell
  i32 imageBase = 0;   // image of the smallest frame, 24.8
  i32 fullImage = 0;   // image shown at the resting scale, 24.8
  u8 state = kBallHidden;
  i16 counter = 0;     // ticks left in a waiting state; mark of the cluster search
  i32 sizeStep = 0;    // size change per tick, 24.8
  OClip ballClip;
  OClip shadowClip;
  u8 hasShadow = 0;
  i32 shadowOffset = 0;  // last shadow displacement, z / 2

 private:
  // Counts the waiting counter down; true when the wait is over.
  bool CountDown();
};
