#include "game/ball_fx.h"

#include "ui/app_context.h"

namespace {

constexpr i32 kBurstSizeStep = 42;        // 0.164 per tick
constexpr i32 kHalfPixelStep = 192;       // 0.75 px
constexpr i32 kFlyerMaxSize = 1706;       // 6.66
constexpr i32 kFlyerFullFrames = 2900;    // 11.33 frames above the base
constexpr i32 kScatterMaxSize = 5 * kFixOne;
constexpr i32 kScatterFullFrames = 8 * kFixOne;

// A 24.8 distance covered in `ticks` whole ticks (given as 24.8).
i32 PerTick(i64 distance, i64 ticks) { return static_cast<i32>(distance * 256 / ticks); }

}  // namespace

u8 BallFxPool::SpawnBurst(const Ball& ball, u8 grow) {
  if (grow && live_ > kBurstLimit) return 0;
  const int copies = 1 + (Next() & 1);
  for (int k = 0; k < copies; ++k) {
    const int slot = FindFree();
    if (slot < 0) break;
    Ball& b = balls_[slot];
    b.counter = static_cast<i16>(Next() % 3 + 2);
    b.sizeStep = kBurstSizeStep;
    b.x = ball.x;
    b.y = ball.y;
    b.z = ball.z;
    b.colour = ball.colour;
    b.imageBase = ball.imageBase;
    b.hasShadow = shadow_;
    b.maxSize = (5 + static_cast<i32>(Next() & 1)) * kFixOne;
    b.minSize = grow ? 640 + static_cast<i32>(Next() & 1) * kFixOne : kFixOne;
    b.size = grow ? 0 : b.maxSize;
    b.fullImage = b.imageBase + 2 * (b.maxSize - kFixOne);
    b.vx = (1 - static_cast<i32>(Next() % 3)) * kHalfPixelStep;
    b.vy = (1 - static_cast<i32>(Next() % 3)) * kHalfPixelStep;
    const i32 lift = static_cast<i32>(Next() & 1) + 1;
    b.vz = grow ? lift * kFixOne : lift * kHalfPixelStep;
    b.SetState(grow ? kBallHiddenWaitGrow : kBallHiddenWaitShrink);
    b.Project();
    ++live_;
  }
  return 1;
}

void BallFxPool::NewFirework(Ball& b, i32 maxSize, i32 fullFrames) {
  b.colour = static_cast<u8>((Next() & 7) + 1);
  b.minSize = kFixOne;
  b.maxSize = maxSize;
  b.size = 0;
  b.imageBase = BallImageBase(b.colour);
  b.fullImage = b.imageBase + fullFrames;
  b.hasShadow = shadow_;
}

u8 BallFxPool::SpawnFlyer(i32 x, i32 y) {
  const int slot = FindFree();
  if (slot < 0) return 0;
  Ball& b = balls_[slot];
  NewFirework(b, kFlyerMaxSize, kFlyerFullFrames);
  b.ballClip.subpixel = 1;
  b.shadowClip.subpixel = 1;
  const i64 ticks = (40 + Next() % 20) * kFixOne;
  const i64 targetX = (6 + Next() % 450) * kFixOne;
  const i64 targetY = (6 + Next() % 450) * kFixOne;
  b.vx = PerTick(targetX - x, ticks);
  b.vy = PerTick(targetY - y, ticks);
  b.sizeStep = static_cast<i32>((kFlyerMaxSize - kFixOne) * 256 / ticks);
  b.vz = PerTick((10 + Next() % 10) * kFixOne, ticks);
  b.x = x;
  b.y = y;
  b.z = 10 * kFixOne;
  b.SetState(kBallFlyer);
  ++live_;
  return 1;
}

u8 BallFxPool::SpawnScatter(i32 x, i32 y, i32 height) {
  if (live_ > kScatterLimit) return 0;
  const int pieces = (Next() & 3) + 2;
  for (int k = 0; k < pieces; ++k) {
    const int slot = FindFree();
    if (slot < 0) break;
    Ball& b = balls_[slot];
    NewFirework(b, kScatterMaxSize, kScatterFullFrames);
    const i64 ticks = (20 + Next() % 20) * kFixOne;
    const i64 half = 28800;  // 112.5 px: spread to both sides
    b.vx = PerTick(i64{Next() % 225} * kFixOne - half, ticks);
    b.vy = PerTick(i64{Next() % 225} * kFixOne - half, ticks);
    b.sizeStep = PerTick(4 * kFixOne, ticks);
    b.vz = PerTick((Next() & 1) ? 896 : 640, ticks);
    b.x = x;
    b.y = y;
    b.z = height;
    b.SetState(kBallScatter);
    ++live_;
  }
  return 1;
}

void BallFxPool::UpdateAll() {
  StepLive([this](int slot, Ball& b) {
    switch (b.state) {
      case kBallAtRest:  // a grown burst ball bursts again, shrinking
        SpawnBurst(b, 0);
        Free(slot);
        break;
      case kBallFlyer:
      case kBallScatter:
        // A full-size flyer scatters, a full-size piece bursts; when the
        // pool refuses, the ball keeps its size and tries again next tick.
        b.size += b.sizeStep;
        if (b.size > b.maxSize) {
          b.size = b.maxSize;
          const u8 done = b.state == kBallFlyer ? SpawnScatter(b.x, b.y, b.z) : SpawnBurst(b, 1);
          if (done) Free(slot);
        }
        break;
      default:
        b.Step();
        break;
    }
  });
}

void BallFxPool::AttractStep(int windowHeight) {
  if (Next() % 100 < 3) SpawnFlyer(231 * kFixOne, (windowHeight - 21) * kFixOne);
  if (Next() % 100 <= 1) {
    const i32 x = static_cast<i32>(6 + Next() % 450) * kFixOne;
    const i32 y = static_cast<i32>(6 + Next() % 450) * kFixOne;
    SpawnScatter(x, y, 0);
  }
}

SmallBallPool::SmallBallPool(u32& random, BallFxPool& bursts)
    : EffectPool(random), bursts_(bursts) {
  for (Ball& b : balls_) {
    b.ballClip.subpixel = 1;
    b.shadowClip.subpixel = 1;
  }
}

u8 SmallBallPool::SpawnCopy(const Ball& ball, u8 state) {
  const int slot = FindFree();
  if (slot < 0) return 0;
  Ball& b = balls_[slot];
  b.minSize = ball.minSize;
  b.maxSize = ball.maxSize;
  b.colour = ball.colour;
  b.imageBase = ball.imageBase;
  b.fullImage = ball.fullImage;
  b.x = ball.x;
  b.y = ball.y;
  b.z = ball.z;
  b.size = b.maxSize;
  b.hasShadow = shadow_;
  // Sizes below 1.0 (or 2.0 for the wait) give no random term: no modulo 0.
  const u32 whole = static_cast<u32>(b.maxSize > 0 ? b.maxSize >> 8 : 0);
  const u32 draw = Next();
  b.vx = 0;
  b.vy = b.maxSize / 5 + static_cast<i32>((whole ? draw % whole : 0) * kFixOne / 5);
  b.vz = 0;
  b.sizeStep = kFixOne;
  const u32 half = static_cast<u32>(b.maxSize > 0 ? (b.maxSize / 2) >> 8 : 0);
  const u32 wait = Next();
  b.counter = static_cast<i16>(half + (half ? wait % half : 0));
  b.SetState(state);
  b.Project();
  ++live_;
  return 1;
}

void SmallBallPool::UpdateAll() {
  StepLive([this](int slot, Ball& b) {
    if (b.state != kBallDrop && b.state != kBallFade) {
      b.Step();
      return;
    }
    // Both wait their counter out; a dropping ball then bursts (when the
    // burst pool takes it), a fading one shrinks away.
    b.counter = static_cast<i16>(b.counter - 1);
    if (b.counter >= 0) return;
    if (b.state == kBallFade) b.SetState(kBallShrink);
    else if (bursts_.SpawnBurst(b, 1)) Free(slot);
  });
}

BallFxSet::BallFxSet(u32& generalRandom)
    : bursts(generalRandom), smallBalls(generalRandom, bursts) {}

BallFxSet::BallFxSet(AppContext& context) : BallFxSet(context.generalRandom) {}
