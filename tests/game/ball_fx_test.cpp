#include "game/ball_fx.h"

#include <gtest/gtest.h>

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

TEST(BallFxPoolTest, ABurstGrowsShrinksAndFreesItsSlots) {
  u32 random = 77;
  auto pool = std::make_unique<BallFxPool>(random);
  const RedBall red;
  ASSERT_EQ(pool->SpawnBurst(red, 1), 1);
  const int copies = pool->LiveCount();
  ASSERT_TRUE(copies == 1 || copies == 2);
  for (int i = 0; i < copies; ++i) {
    const Ball& b = pool->Slot(i);
    EXPECT_EQ(b.state, kBallHiddenWaitGrow);
    EXPECT_GE(b.counter, 2);
    EXPECT_LE(b.counter, 4);
    EXPECT_TRUE(b.maxSize == 5 * kOne || b.maxSize == 6 * kOne);
    EXPECT_TRUE(b.minSize == 640 || b.minSize == 896);
    EXPECT_EQ(b.fullImage, b.imageBase + 2 * (b.maxSize - kOne));
    EXPECT_EQ(b.colour, 1);
  }
  // Grown copies burst again into shrinking copies, which vanish.
  bool sawShrink = false;
  int ticks = 0;
  while (!pool->AllFree() && ticks < 500) {
    pool->UpdateAll();
    for (int i = 0; i < BallFxPool::kSize; ++i) {
      const Ball& b = pool->Slot(i);
      if (b.state == kBallShrink || b.state == kBallHiddenWaitShrink) sawShrink = true;
      if (b.state != kBallFree) {
        ASSERT_GE(b.ballClip.imageIndex, 43);
        ASSERT_LE(b.ballClip.imageIndex, 43 + 34);
      }
    }
    ++ticks;
  }
  EXPECT_TRUE(sawShrink);
  EXPECT_EQ(pool->AllFree(), 1);
  EXPECT_EQ(pool->LiveCount(), 0);
}

TEST(BallFxPoolTest, BurstsWaitWhenThePoolIsNearlyFull) {
  u32 random = 3;
  auto pool = std::make_unique<BallFxPool>(random);
  FillWithFlyers(*pool, 171);
  EXPECT_EQ(pool->SpawnBurst(RedBall(), 1), 1);
  FillWithFlyers(*pool, 172);
  EXPECT_EQ(pool->SpawnBurst(RedBall(), 1), 0);
  // Fireworks may still spawn until the pool is full.
  FillWithFlyers(*pool, 180);
  EXPECT_EQ(pool->FindFree(), -1);
  EXPECT_EQ(pool->SpawnFlyer(0, 0), 0);
  EXPECT_EQ(pool->SpawnScatter(0, 0, 0), 0);
  pool->Clear();
  EXPECT_EQ(pool->AllFree(), 1);
  EXPECT_EQ(pool->LiveCount(), 0);
}

TEST(BallFxPoolTest, AFlyerRisesThenScattersIntoPieces) {
  u32 random = 2024;
  auto pool = std::make_unique<BallFxPool>(random);
  ASSERT_EQ(pool->SpawnFlyer(231 * kOne, 459 * kOne), 1);
  const Ball& flyer = pool->Slot(0);
  EXPECT_EQ(flyer.state, kBallFlyer);
  EXPECT_GE(flyer.colour, 1);
  EXPECT_LE(flyer.colour, 8);
  EXPECT_EQ(flyer.size, kOne);
  EXPECT_EQ(flyer.ballClip.subpixel, 1);
  EXPECT_GT(flyer.vz, 0);
  // It reaches full size within 40..59 ticks, then scatters.
  int ticks = 0;
  while (pool->Slot(0).state == kBallFlyer && ticks < 100) {
    pool->UpdateAll();
    ++ticks;
  }
  EXPECT_GE(ticks, 40);
  EXPECT_LE(ticks, 61);
  EXPECT_GE(pool->LiveCount(), 2);
  EXPECT_LE(pool->LiveCount(), 5);
  bool pieces = false;
  for (int i = 0; i < BallFxPool::kSize; ++i) pieces |= pool->Slot(i).state == kBallScatter;
  EXPECT_TRUE(pieces);
}

TEST(BallFxPoolTest, AFlyerThatCannotScatterKeepsItsSize) {
  u32 random = 8;
  auto pool = std::make_unique<BallFxPool>(random);
  ASSERT_EQ(pool->SpawnFlyer(231 * kOne, 459 * kOne), 1);
  pool->Slot(0).size = pool->Slot(0).maxSize;  // one step from scattering
  FillWithFlyers(*pool, 176);
  const int live = pool->LiveCount();
  pool->UpdateAll();
  EXPECT_EQ(pool->Slot(0).state, kBallFlyer);
  EXPECT_EQ(pool->Slot(0).size, pool->Slot(0).maxSize);
  EXPECT_EQ(pool->LiveCount(), live);
}

TEST(BallFxPoolTest, FireworksRunDownWhenTheTitleEnds) {
  u32 random = 99;
  auto pool = std::make_unique<BallFxPool>(random);
  int most = 0;
  for (int t = 0; t < 3000; ++t) {
    pool->AttractStep(480);
    pool->UpdateAll();
    most = std::max(most, pool->LiveCount());
  }
  EXPECT_GT(most, 10);
  EXPECT_LE(most, BallFxPool::kSize);
  for (int t = 0; t < 1000 && !pool->AllFree(); ++t) pool->UpdateAll();
  EXPECT_EQ(pool->AllFree(), 1);
  EXPECT_EQ(pool->LiveCount(), 0);
}

TEST(BallFxPoolTest, AFullPoolKeepsABoardBallBursting) {
  auto rig = MakeRig();
  rig->board.BuildLattice();
  rig->Put(10, 10, 2);
  Ball& cell = rig->board.Cell(10, 10);
  cell.counter = 1;
  cell.SetState(kBallWaitBurst);
  FillWithFlyers(rig->fx.bursts, 172);
  rig->board.StepAll();
  EXPECT_EQ(cell.state, kBallBurst);
  rig->board.StepAll();
  EXPECT_EQ(cell.state, kBallBurst);  // still waiting
  EXPECT_EQ(cell.colour, 2);
  EXPECT_EQ(rig->fx.lattice.CellNode(10, 10).occupied, 2);

  rig->fx.bursts.Clear();
  rig->board.StepAll();
  EXPECT_EQ(cell.state, kBallHidden);
  EXPECT_EQ(cell.colour, 0);
  EXPECT_EQ(rig->fx.lattice.CellNode(10, 10).occupied, 0);
  EXPECT_GE(rig->fx.bursts.LiveCount(), 1);
  // The burst kicked the node's neighbours at half a pixel per tick.
  EXPECT_EQ(rig->fx.lattice.CellNode(10, 9).vx, -128);
  EXPECT_EQ(rig->fx.lattice.CellNode(10, 11).vx, 128);
}

TEST(BallFxPoolTest, WithPhysicsOffABurstMovesNoBall) {
  auto rig = MakeRig();
  rig->settings.physics = 0;
  rig->board.BuildLattice();
  for (int c = 8; c <= 12; ++c) rig->Put(10, c, 3);
  rig->Put(9, 10, 4);
  rig->Put(11, 10, 4);
  Ball& cell = rig->board.Cell(10, 10);
  cell.counter = 1;
  cell.SetState(kBallWaitBurst);
  Ball cue;
  cue.x = Board::CellX(12, 10);
  cue.y = Board::CellY(12);
  for (int t = 0; t < 20; ++t) {
    rig->board.StepAll();
    rig->board.StepLattice(cue, 14 * kOne, 1);
  }
  EXPECT_EQ(cell.colour, 0);
  for (auto [r, c] : {std::pair{10, 8}, {10, 9}, {10, 11}, {10, 12}, {9, 10}, {11, 10}}) {
    EXPECT_EQ(rig->board.Cell(r, c).x, Board::CellX(r, c));
    EXPECT_EQ(rig->board.Cell(r, c).y, Board::CellY(r));
    EXPECT_EQ(rig->board.Cell(r, c).ballClip.x, Board::CellX(r, c));
  }

  // With Physics on the same burst moves the neighbours.
  auto moving = MakeRig();
  moving->board.BuildLattice();
  for (int c = 8; c <= 12; ++c) moving->Put(10, c, 3);
  moving->Put(10, 10, 3);
  moving->board.Cell(10, 10).counter = 1;
  moving->board.Cell(10, 10).SetState(kBallWaitBurst);
  moving->board.StepAll();
  moving->board.StepLattice(cue, 0, 0);
  EXPECT_LT(moving->board.Cell(10, 9).x, Board::CellX(10, 9));
  EXPECT_GT(moving->board.Cell(10, 11).x, Board::CellX(10, 11));
}

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
  EXPECT_GE(set->bursts.LiveCount(), 1);  // handed to the burst pool
  b.maxSize = kOne / 2;  // too small for the random terms: no modulo by zero
  EXPECT_EQ(set->smallBalls.SpawnCopy(b, kBallFade), 1);
}

}  // namespace
