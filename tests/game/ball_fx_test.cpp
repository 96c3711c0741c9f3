#include "game/ball_fx.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "tests/game/board_rig.h"

namespace {

constexpr i32 kOne = 256;

// A red ball resting at (200, 100).
struct RedBall : Ball {
  RedBall() {
    colour = 1;
    imageBase = 43 * kOne;
    x = 200 * kOne;
    y = 100 * kOne;
    z = 10 * kOne;
  }
};

void FillWithFlyers(BallFxPool& pool, int live) {
  while (pool.LiveCount() < live) ASSERT_EQ(pool.SpawnFlyer(231 * kOne, 459 * kOne), 1);
}

// A ball bursts into one or two copies that grow, burst again into
// shrinking copies of its own colour and vanish, freeing every slot.
TEST(BallFxPoolTest, ABurstGrowsShrinksAndFreesItsSlots) {
  u32 random = 77;
  auto pool = std::make_unique<BallFxPool>(random);
  ASSERT_EQ(pool->SpawnBurst(RedBall(), 1), 1);
  ASSERT_TRUE(pool->LiveCount() == 1 || pool->LiveCount() == 2);
  for (int i = 0; i < pool->LiveCount(); ++i) {  // 5.0 or 6.0 at most, shown by the frame of that size
    const Ball& b = pool->Slot(i);
    EXPECT_TRUE(b.maxSize == 5 * kOne || b.maxSize == 6 * kOne);
    EXPECT_EQ(b.fullImage, b.imageBase + 2 * (b.maxSize - kOne));
  }
  bool sawShrink = false;
  for (int t = 0; t < 500 && !pool->AllFree(); ++t) {
    pool->UpdateAll();
    for (int i = 0; i < BallFxPool::kSize; ++i) {
      const Ball& b = pool->Slot(i);
      sawShrink |= b.state == kBallShrink;
      const bool ownFrame = b.ballClip.imageIndex >= 43 && b.ballClip.imageIndex <= 43 + 34;
      ASSERT_TRUE(b.state == kBallFree || ownFrame) << "slot " << i;
    }
  }
  EXPECT_TRUE(sawShrink);
  EXPECT_EQ(pool->AllFree(), 1);
  EXPECT_EQ(pool->LiveCount(), 0);
}

// A flyer reaches full size within 40..59 ticks and scatters into two to
// five pieces, which burst and vanish; while the pool refuses the pieces
// the flyer keeps its size.
TEST(BallFxPoolTest, AFlyerRisesThenScattersIntoPieces) {
  u32 random = 2024;
  auto pool = std::make_unique<BallFxPool>(random);
  ASSERT_EQ(pool->SpawnFlyer(231 * kOne, 459 * kOne), 1);
  EXPECT_EQ(pool->Slot(0).ballClip.subpixel, 1);  // fireworks are placed to the sub-pixel
  int ticks = 0;
  while (pool->Slot(0).state == kBallFlyer && ticks < 100) {
    pool->UpdateAll();
    ++ticks;
  }
  EXPECT_GE(ticks, 40);
  EXPECT_LE(ticks, 61);
  EXPECT_GE(pool->LiveCount(), 2);
  EXPECT_LE(pool->LiveCount(), 5);
  EXPECT_EQ(pool->Slot(1).state, kBallScatter);
  // The pieces burst and shrink away, freeing every slot.
  for (int t = 0; t < 1000 && !pool->AllFree(); ++t) pool->UpdateAll();
  EXPECT_EQ(pool->AllFree(), 1);
  EXPECT_EQ(pool->LiveCount(), 0);

  ASSERT_EQ(pool->SpawnFlyer(231 * kOne, 459 * kOne), 1);
  pool->Slot(0).size = pool->Slot(0).maxSize;  // one step from scattering
  FillWithFlyers(*pool, 176);
  pool->UpdateAll();
  EXPECT_EQ(pool->Slot(0).state, kBallFlyer);
  EXPECT_EQ(pool->Slot(0).size, pool->Slot(0).maxSize);
  EXPECT_EQ(pool->LiveCount(), 176);
}

// A board ball bursts only while at most 171 effect balls are live; above
// that it waits in state 10 with its colour and lattice node, while
// fireworks may still fill the pool. Once it bursts it kicks its lattice
// neighbours at half a pixel per tick.
TEST(BallFxPoolTest, AFullPoolKeepsABoardBallBursting) {
  auto rig = MakeRig();
  BallFxPool& pool = rig->fx.bursts;
  rig->board.BuildLattice();
  rig->Put(10, 10, 2);
  Ball& cell = rig->board.Cell(10, 10);
  cell.counter = 1;
  cell.SetState(kBallWaitBurst);
  FillWithFlyers(pool, 171);
  ASSERT_EQ(pool.SpawnBurst(RedBall(), 1), 1);
  FillWithFlyers(pool, 172);
  for (int t = 0; t < 2; ++t) {
    rig->board.StepAll();
    EXPECT_EQ(cell.state, kBallBurst);
    EXPECT_EQ(cell.colour, 2);
    EXPECT_EQ(rig->fx.lattice.CellNode(10, 10).occupied, 2);
  }
  FillWithFlyers(pool, 180);
  EXPECT_EQ(pool.SpawnFlyer(0, 0), 0);
  EXPECT_EQ(pool.SpawnScatter(0, 0, 0), 0);

  pool.Clear();
  EXPECT_EQ(pool.LiveCount(), 0);
  rig->board.StepAll();
  EXPECT_EQ(cell.state, kBallHidden);
  EXPECT_EQ(cell.colour, 0);
  EXPECT_EQ(rig->fx.lattice.CellNode(10, 10).occupied, 0);
  EXPECT_GE(pool.LiveCount(), 1);
  EXPECT_EQ(rig->fx.lattice.CellNode(10, 9).vx, -128);
  EXPECT_EQ(rig->fx.lattice.CellNode(10, 11).vx, 128);
}

// With Physics off a burst and a passing ball move no ball off its centre;
// with Physics on the same burst pushes the neighbours aside.
TEST(BallFxPoolTest, WithPhysicsOffABurstMovesNoBall) {
  for (const u8 physics : {0, 1}) {
    auto rig = MakeRig();
    rig->settings.physics = physics;
    rig->board.BuildLattice();
    for (int c = 8; c <= 12; ++c) rig->Put(10, c, 3);
    rig->Put(9, 10, 4);
    rig->Put(11, 10, 4);
    rig->board.Cell(10, 10).counter = 1;
    rig->board.Cell(10, 10).SetState(kBallWaitBurst);
    Ball cue;
    cue.x = Board::CellX(12, 10);
    cue.y = Board::CellY(12);
    for (int t = 0; t < (physics ? 1 : 20); ++t) {  // with Physics, the tick of the burst
      rig->board.StepAll();
      rig->board.StepLattice(cue, 14 * kOne, 1);
    }
    EXPECT_EQ(rig->board.Cell(10, 10).colour, 0);
    if (physics) {
      EXPECT_LT(rig->board.Cell(10, 9).x, Board::CellX(10, 9));
      EXPECT_GT(rig->board.Cell(10, 11).x, Board::CellX(10, 11));
      continue;
    }
    for (auto [r, c] : {std::pair{10, 8}, {10, 9}, {10, 11}, {10, 12}, {9, 10}, {11, 10}}) {
      EXPECT_EQ(rig->board.Cell(r, c).x, Board::CellX(r, c));
      EXPECT_EQ(rig->board.Cell(r, c).y, Board::CellY(r));
      EXPECT_EQ(rig->board.Cell(r, c).ballClip.x, Board::CellX(r, c));
    }
  }
}

// The small-ball pool hands its balls to the burst pool; a ball too small
// for the random terms takes no modulo by zero.
TEST(SmallBallPoolTest, CopiesLeaveAndBurst) {
  u32 random = 4;
  auto set = std::make_unique<BallFxSet>(random);
  RedBall b;
  b.maxSize = 10 * kOne;
  ASSERT_EQ(set->smallBalls.SpawnCopy(b, kBallDrop), 1);
  EXPECT_GE(set->smallBalls.Slot(0).counter, 5);  // 5 + value mod 5
  EXPECT_LE(set->smallBalls.Slot(0).counter, 9);
  for (int t = 0; t < 12; ++t) set->smallBalls.UpdateAll();
  EXPECT_EQ(set->smallBalls.AllFree(), 1);
  EXPECT_GE(set->bursts.LiveCount(), 1);
  b.maxSize = kOne / 2;
  EXPECT_EQ(set->smallBalls.SpawnCopy(b, kBallFade), 1);
}

}  // namespace
