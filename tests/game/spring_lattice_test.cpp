#include "game/spring_lattice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace {

constexpr i32 kOne = 256;

// The lattice under the game's grid, every cell occupied.
std::unique_ptr<SpringLattice> GameLattice() {
  auto l = std::make_unique<SpringLattice>();
  l->Build(16 * kOne, 16 * kOne, 20 * kOne, 18 * kOne, 22, 26);
  for (int r = 0; r < 26; ++r) {
    for (int c = 0; c < 22; ++c) l->CellNode(r, c).occupied = 1;
  }
  return l;
}

void ExpectAllAtRest(const SpringLattice& l) {
  for (int r = 0; r < SpringLattice::kRows; ++r) {
    for (int c = 0; c < SpringLattice::kColumns; ++c) {
      const LatticeNode& n = l.Node(r, c);
      ASSERT_TRUE(n.x == n.restX && n.y == n.restY && (n.vx | n.vy) == 0) << r << "," << c;
    }
  }
}

// A lattice at rest stays exactly at rest. A drift of 0.03 px: the
// springs' pull rounds to nothing and the node snaps back at once; 0.11 px:
// pulled back first, then snapped exactly; 5 px: pulled home.
TEST(SpringLatticeTest, AtRestItStaysThereAndADriftSnapsBack) {
  auto l = GameLattice();
  for (int i = 0; i < 50; ++i) l->Step(231 * kOne, 466 * kOne, 0, 0);
  ExpectAllAtRest(*l);

  LatticeNode& n = l->CellNode(10, 10);
  n.x += 5;
  n.y -= 5;
  l->Step(0, 0, 0, 0);
  ExpectAllAtRest(*l);

  n.x += 20;
  n.y -= 20;
  l->Step(0, 0, 0, 0);
  EXPECT_NE(n.x, n.restX);
  for (int i = 0; i < 30; ++i) l->Step(0, 0, 0, 0);
  ExpectAllAtRest(*l);

  n.x += 5 * kOne;
  l->Step(0, 0, 0, 0);
  EXPECT_LT(n.vx, 0);
  for (int i = 0; i < 400; ++i) l->Step(0, 0, 0, 0);
  EXPECT_LE(std::abs(n.x - n.restX), 2 * kOne);
  EXPECT_LE(std::abs(n.y - n.restY), 2 * kOne);
}

TEST(SpringLatticeTest, ABurstKicksTheSixNeighboursAtHalfAPixel) {
  auto l = GameLattice();
  // Node (6, 6) is on an even node row: its upper neighbours are (5, 6)
  // and (5, 7), its lower ones (7, 6) and (7, 7).
  l->KickNeighbours(6, 6);
  const int kicked[6][2] = {{6, 5}, {6, 7}, {5, 6}, {5, 7}, {7, 6}, {7, 7}};
  for (const auto& k : kicked) {
    const LatticeNode& n = l->Node(k[0], k[1]);
    EXPECT_EQ(std::max(std::abs(n.vx), std::abs(n.vy)), 128) << k[0] << "," << k[1];
    // Away from the burst.
    EXPECT_GE((n.restX - l->Node(6, 6).restX) * n.vx, 0);
    EXPECT_GE((n.restY - l->Node(6, 6).restY) * n.vy, 0);
  }
  EXPECT_EQ(l->Node(6, 5).vx, -128);
  EXPECT_EQ(l->Node(6, 5).vy, 0);
  // The upper-left diagonal: (-10, -18) px scaled to major component 0.5.
  EXPECT_EQ(l->Node(5, 6).vx, -((10 * kOne * 128) & ~255) / (18 * kOne));
  EXPECT_EQ(l->Node(5, 6).vy, -128);
  EXPECT_EQ(l->Node(6, 6).vx | l->Node(6, 6).vy | l->Node(4, 6).vx | l->Node(8, 8).vy, 0);

  // Neighbours on the border ring are not kicked.
  auto edge = GameLattice();
  edge->KickNeighbours(1, 1);
  EXPECT_EQ(edge->Node(0, 1).vx | edge->Node(0, 1).vy | edge->Node(1, 0).vx | edge->Node(1, 0).vy, 0);
  EXPECT_NE(edge->Node(1, 2).vx, 0);
}

TEST(SpringLatticeTest, ClampSpeedKeepsTheDirection) {
  struct Case {
    LatticeVec in, out;
  };
  const Case cases[] = {
      {{0, 0}, {0, -256}},  // no direction: up
      {{512, -1024}, {128, -256}},
      {{-3000, 1000}, {-256, ((256 * 1000) & ~255) / 3000}},
  };
  for (const Case& k : cases) {
    const LatticeVec v = SpringLattice::ClampSpeed(k.in, 256);
    EXPECT_EQ(v.x, k.out.x) << k.in.x << "," << k.in.y;
    EXPECT_EQ(v.y, k.out.y) << k.in.x << "," << k.in.y;
  }
}

TEST(SpringLatticeTest, AFlyingBallPushesNearbyNodesAway) {
  auto l = GameLattice();
  LatticeNode& n = l->CellNode(10, 10);  // at (216, 196)
  l->Step(n.restX - 10 * kOne, n.restY, 14 * kOne, 1);
  EXPECT_GT(n.vx, 0);    // pushed to the right, away from the ball
  EXPECT_LE(n.vx, 192);  // at most 1 px, damped to 0.75
  EXPECT_EQ(n.near, 1);
  // Far nodes are neither near nor moved.
  EXPECT_EQ(l->CellNode(20, 10).near, 0);
  EXPECT_EQ(l->CellNode(20, 10).x, l->CellNode(20, 10).restX);

  // 1/16 px from the node at the highest flight speed: the push term is
  // far beyond 32 bits, yet the node must move away at full speed.
  auto close = GameLattice();
  LatticeNode& m = close->CellNode(10, 10);
  close->Step(m.restX - 16, m.restY, 5115, 1);
  EXPECT_EQ(m.vx, 192);
  EXPECT_EQ(m.vy, 0);
  EXPECT_EQ(m.x, m.restX + 192);
}

TEST(SpringLatticeTest, SpringForceIsTheFixedPointProductWithoutOverflow) {
  // 2 dx = 60 px, stretch 275 px^2.
  LatticeNode c, d;
  c.restLengthSq[2] = 625 * kOne;
  d.x = 30 * kOne;
  SpringLattice::SpringForce(c, d, 2);
  EXPECT_EQ(c.link[2].x, (60 * (275 * kOne)) >> 8);

  // Far apart, the squared length is well beyond 32 bits.
  LatticeNode a, b;
  a.restLengthSq[0] = 100 * kOne;
  b.x = 3000 * kOne;
  SpringLattice::SpringForce(a, b, 0);
  EXPECT_GT(a.link[0].x, 0);
  EXPECT_EQ(a.link[0].y, 0);
}

}  // namespace
