// The effect balls of the game screen: the burst pool (removed balls,
// fireworks), the small-ball pool (balls leaving the board whole), and the
// set that holds both together with the spring lattice.
#pragma once

#include "game/ball.h"
#include "game/spring_lattice.h"
#include "platform/types.h"

class AppContext;

// A fixed pool of effect balls; a slot is free while its ball is in
// kBallFree. Every random number comes from the general random state.
class BallFxPool : public CBase {
 public:
  static constexpr int kSize = 180;
  // A board burst waits while more than this many effect balls are live.
  static constexpr int kBurstLimit = 171;
  static constexpr int kScatterLimit = 174;

  explicit BallFxPool(u32& random);

  // Bursts a ball into one or two copies. grow 1 (a removed ball): copies
  // that wait hidden, grow, then burst again shrinking; refused (0) while
  // more than kBurstLimit are live. grow 0 (a grown copy at rest): copies
  // that wait hidden, then shrink away.
  u8 SpawnBurst(const Ball& ball, u8 grow);
  // A firework rising from (x, y) (24.8) toward a random point; 0 when full.
  u8 SpawnFlyer(i32 x, i32 y);
  // Two to five firework pieces at (x, y) and the given height (24.8);
  // refused above kScatterLimit live balls.
  u8 SpawnScatter(i32 x, i32 y, i32 height);
  // One tick of every live ball.
  void UpdateAll();
  // One tick of the title and game-over fireworks.
  void AttractStep(int windowHeight);

  i32 FindFree() const;
  u8 AllFree() const;
  // Frees every slot at once.
  void Clear();
  void RegisterClips(PointerList<OClip>& clips);
  // The shadow flag for new balls and for every ball in the pool.
  void SetShadows(u8 on);

  int LiveCount() const { return live_; }
  Ball& Slot(int i) { return balls_[i]; }
  const Ball& Slot(int i) const { return balls_[i]; }

 private:
  void Free(int slot);
  u32 Next();

  u8 live_ = 0;
  Ball balls_[kSize];
  u32& random_;
  u8 shadow_ = 1;
};

// Balls that leave the board whole (states 14 and 16); no game path sends
// any, so the pool stays empty in play.
class SmallBallPool : public CBase {
 public:
  static constexpr int kSize = 10;

  SmallBallPool(u32& random, BallFxPool& bursts);

  u8 SpawnCopy(const Ball& ball, u8 state);
  void UpdateAll();
  i32 FindFree() const;
  u8 AllFree() const;
  void RegisterClips(PointerList<OClip>& clips);
  void SetShadows(u8 on);

  int LiveCount() const { return live_; }
  const Ball& Slot(int i) const { return balls_[i]; }

 private:
  void Free(int slot);

  u8 live_ = 0;
  Ball balls_[kSize];
  u32& random_;
  BallFxPool& bursts_;
  u8 shadow_ = 1;
};

// The game's effects: the two pools and the lattice, shared with the board.
class BallFxSet : public CBase {
 public:
  // Both pools draw from the context's general random state.
  explicit BallFxSet(AppContext& context);
  explicit BallFxSet(u32& generalRandom);

  BallFxPool bursts;
  SmallBallPool smallBalls;
  SpringLattice lattice;
};
