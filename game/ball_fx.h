// The effect balls of the game screen: the burst pool (removed balls,
// fireworks), the small-ball pool (balls leaving the board whole), and the
// set that holds both together with the spring lattice.
#pragma once

#include "game/ball.h"
#include "game/spring_lattice.h"
#include "platform/random.h"
#include "platform/types.h"

class AppContext;

// A fixed array of effect balls; a slot is free while its ball is in
// kBallFree. Every random number comes from the general random state.
template <int N>
class EffectPool : public CBase {
 public:
  static constexpr int kSize = N;

  explicit EffectPool(u32& random) : random_(random) {
    for (Ball& b : balls_) b.SetState(kBallFree);
  }

  // The first free slot, or -1 when all N balls are live.
  i32 FindFree() const {
    if (live_ >= N) return -1;
    for (int i = 0; i < N; ++i) {
      if (balls_[i].state == kBallFree) return i;
    }
    return -1;
  }
  u8 AllFree() const {
    for (const Ball& b : balls_) {
      if (b.state != kBallFree) return 0;
    }
    return 1;
  }
  // Frees every slot at once.
  void Clear() {
    for (Ball& b : balls_) b.SetState(kBallFree);
    live_ = 0;
  }
  void RegisterClips(PointerList<OClip>& clips) {
    for (Ball& b : balls_) b.RegisterClips(clips);
  }
  // The shadow flag for new balls and for every ball in the pool.
  void SetShadows(u8 on) {
    shadow_ = on ? 1 : 0;
    for (Ball& b : balls_) b.SetShadow(shadow_);
  }

  int LiveCount() const { return live_; }
  Ball& Slot(int i) { return balls_[i]; }
  const Ball& Slot(int i) const { return balls_[i]; }

 protected:
  void Free(int slot) {
    balls_[slot].SetState(kBallFree);
    --live_;
  }
  // One tick of every live ball: it moves, a ball that has vanished
  // (state 0) is freed, and any other is handed to act(slot, ball).
  template <typename Act>
  void StepLive(Act act) {
    if (live_ == 0) return;
    for (int i = 0; i < N; ++i) {
      Ball& b = balls_[i];
      if (b.state == kBallFree) continue;
      b.Advance();
      if (b.state == kBallHidden) Free(i);
      else act(i, b);
    }
  }
  // The next random value. Its low bits are bits 16 on of the stepped
  // state, which some draws (copies, colours, piece counts) take directly.
  u32 Next() { return NextRandom(random_); }

  u8 live_ = 0;
  Ball balls_[N];
  u32& random_;
  u8 shadow_ = 1;
};

// Bursts of removed balls and the title fireworks.
class BallFxPool : public EffectPool<180> {
 public:
  // A board burst waits while more than this many effect balls are live.
  static constexpr int kBurstLimit = 171;
  static constexpr int kScatterLimit = 174;

  explicit BallFxPool(u32& random) : EffectPool(random) {}

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

 private:
  // A firework ball of a random colour growing from 1.0 to maxSize, with
  // its full image fullFrames above the colour's first frame.
  void NewFirework(Ball& b, i32 maxSize, i32 fullFrames);
};

// Balls that leave the board whole (states 14 and 16); no game path sends
// any, so the pool stays empty in play. Its balls are placed to the
// sub-pixel.
class SmallBallPool : public EffectPool<10> {
 public:
  SmallBallPool(u32& random, BallFxPool& bursts);

  u8 SpawnCopy(const Ball& ball, u8 state);
  void UpdateAll();

 private:
  BallFxPool& bursts_;
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
