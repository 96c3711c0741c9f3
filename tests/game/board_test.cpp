#include "game/board.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "game/level_layouts.h"
#include "platform/random.h"
#include "ui/app_context.h"
#include "tests/game/board_rig.h"

namespace {

constexpr i32 kOne = 256;

// A level's deal: every cell, and the next ball's colour.
using Deal = std::pair<BoardColours, u8>;

Deal DealLevel(u32 seed, u8 skill, u16 level) {
  auto rig = MakeRig(seed);
  rig->settings.skill = skill;
  rig->settings.level = level;
  rig->settings.colourCount = Board::LevelColours(skill, level);
  rig->board.LoadLevel();
  return {ColoursOf(rig->board), rig->settings.nextColour};
}

std::array<int, 9> Tally(const BoardColours& cells) {
  std::array<int, 9> n{};
  for (u8 c : cells) ++n.at(c);  // a colour above 8 throws
  return n;
}

// A deal fills exactly its layout's cells with every colour equally often
// (the first ones once more when they do not divide): 24 balls, six of
// each of four colours, on level 0 with EasyRide; layout 11 and its 119
// balls from level 11 on. Other seeds deal other colours.
TEST(BoardDealTest, DealsFillTheirLayoutWithEveryColourEquallyOften) {
  const int balls[12] = {24, 39, 45, 33, 57, 72, 78, 42, 75, 98, 113, 119};
  for (int l = 0; l < 12; ++l) EXPECT_EQ(LevelLayouts::Balls(l), balls[l]) << "layout " << l;
  const struct {
    u8 skill;
    u16 level;
    int layout, colours;
  } cases[] = {{kSkillEasyRide, 0, 0, 4}, {kSkillNovice, 3, 3, 6}, {kSkillExpert, 11, 11, 8},
               {kSkillExpert, 12, 11, 8}, {kSkillMaster, 30, 11, 8}};
  for (const auto& k : cases) {
    for (const u32 seed : {7u, 98765u}) {
      const Deal d = DealLevel(seed, k.skill, k.level);
      for (int i = 0; i < Board::kCells; ++i) {
        const u8 layoutCell = LevelLayouts::Cell(k.layout, i / Board::kColumns, i % Board::kColumns);
        ASSERT_EQ(d.first[i] != 0, layoutCell == 1) << "level " << k.level << " cell " << i;
      }
      const auto n = Tally(d.first);
      const int each = balls[k.layout] / k.colours;
      for (int c = 1; c <= 8; ++c) {
        EXPECT_EQ(n[c] == each || n[c] == each + 1, c <= k.colours) << "level " << k.level << " colour " << c;
      }
      EXPECT_TRUE(d.second >= 1 && d.second <= k.colours);
    }
  }
  EXPECT_EQ(DealLevel(1234, kSkillNovice, 3), DealLevel(1234, kSkillNovice, 3));
  EXPECT_NE(DealLevel(1234, kSkillNovice, 3), DealLevel(98765, kSkillNovice, 3));
}

TEST(BoardDealTest, ColourCountReachesEightAtTheNamedLevels) {
  const std::pair<u8, u16> firstAtEight[] = {
      {kSkillEasyRide, 8}, {kSkillNovice, 6}, {kSkillExpert, 4}, {kSkillMaster, 2}};
  for (const auto& [skill, level] : firstAtEight) {
    EXPECT_EQ(Board::LevelColours(skill, level), 8) << int(skill);
    EXPECT_EQ(Board::LevelColours(skill, level - 1), 7) << int(skill);
    EXPECT_EQ(Board::LevelColours(skill, 200), 8);
  }
  EXPECT_EQ(Board::SkillColours(9), 2);
}

// The game builds the pools and the board from its context: the deal steps
// only the colour state (three shuffles of 24 draws, then the next colour),
// and the pools draw from the general one.
TEST(BoardDealTest, OnTheContextTheDealStepsOnlyTheColourState) {
  std::unique_ptr<AppContext> context(AppContext::Create(nullptr));
  context->generalRandom = 10;
  context->colourRandom = 20;
  context->settings->colourCount = 4;
  auto fx = std::make_unique<BallFxSet>(*context);
  auto board = std::make_unique<Board>(*context, *fx);
  board->LoadLevel();
  EXPECT_EQ(context->generalRandom, 10u);
  u32 colour = 20;
  for (int i = 0; i < 3 * 24 + 1; ++i) NextRandom(colour);
  EXPECT_EQ(context->colourRandom, colour);
  const Deal same = DealLevel(20 ^ 0x5a5a5a5au, kSkillEasyRide, 0);  // colour state 20
  EXPECT_EQ(ColoursOf(*board), same.first);
  EXPECT_EQ(context->settings->nextColour, same.second);
  fx->bursts.AttractStep(480);
  EXPECT_NE(context->generalRandom, 10u);
}

TEST(BoardTest, FlyInLandsEveryBallExactlyOnItsCell) {
  auto rig = MakeRig(3);
  rig->settings.level = 5;
  rig->settings.colourCount = 6;
  rig->board.LoadLevel();
  rig->board.AnimateCells(kBallFlyIn, 25, kOne, 26);
  // A new game started part way through the flight flies in afresh.
  for (int t = 0; t < 10; ++t) rig->board.StepAll();
  rig->board.LoadLevel();
  rig->board.AnimateCells(kBallFlyIn, 25, kOne, 26);
  // Balls of the left half start left of their cell, the lower rows below.
  EXPECT_LT(rig->board.Cell(6, 5).x, Board::CellX(6, 5));
  EXPECT_GT(rig->board.Cell(17, 10).y, Board::CellY(17));
  EXPECT_GT(rig->board.Cell(6, 15).x, Board::CellX(6, 15));
  for (int t = 0; t < 24; ++t) rig->board.StepAll();
  EXPECT_EQ(rig->board.AnyOtherState(kBallAtRest), 0);
  rig->board.StepAll();
  EXPECT_EQ(rig->board.AnyOtherState(kBallAtRest), 1);
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) {
      const Ball& b = rig->board.Cell(r, c);
      if (b.colour == 0) continue;
      EXPECT_EQ(b.x, Board::CellX(r, c));
      EXPECT_EQ(b.y, Board::CellY(r));
      EXPECT_EQ(b.z, 10 * kOne);
    }
  }
}

TEST(BoardTest, RecolouringDealsColoursOfTheLevelAndRegrows) {
  auto rig = MakeRig(11);
  rig->settings.colourCount = 3;
  for (int c = 4; c <= 6; ++c) rig->Put(4, c, 1);
  rig->board.RecolourAll();
  for (int c = 4; c <= 6; ++c) {
    const Ball& b = rig->board.Cell(4, c);
    EXPECT_TRUE(b.colour >= 1 && b.colour <= 3);
    EXPECT_EQ(b.state, kBallHiddenWaitGrow);
    EXPECT_FALSE(b.ballClip.visible);
    EXPECT_EQ(rig->fx.lattice.CellNode(4, c).occupied, b.colour);
  }
  for (int t = 0; t < 12; ++t) rig->board.StepAll();
  EXPECT_EQ(rig->board.AnyOtherState(kBallAtRest), 1);
}

// A landed ball with one neighbour of its colour counts 2 and removes
// nothing; nor does a cluster only counted (the computer's trials). A
// cluster of three bursts with every ball it leaves without a neighbour
// and scores its size x (level + 1): the isolated balls add nothing, and
// with shots as the score nothing is added.
TEST(BoardClusterTest, AClusterOfThreeTakesIsolatedBallsButNotPairs) {
  auto rig = MakeRig();
  rig->settings.level = 2;
  rig->settings.score = 100;
  rig->Put(10, 10, 1);  // landed
  rig->Put(10, 11, 1);
  rig->Put(9, 10, 2);   // touches only (10, 10) and (10, 11): isolated once they go
  EXPECT_EQ(rig->board.FindCluster(10, 10, 0), 2);
  EXPECT_EQ(rig->board.AnyOtherState(kBallAtRest), 1);
  rig->Put(10, 12, 1);
  rig->Put(11, 11, 3);  // these two touch each other and the cluster: stay
  rig->Put(11, 12, 3);
  rig->Put(3, 3, 4);    // alone far away: isolated too
  EXPECT_EQ(rig->board.FindCluster(10, 10, 1), 3);
  EXPECT_EQ(rig->board.AnyOtherState(kBallAtRest), 1);
  EXPECT_EQ(rig->board.FindCluster(0, 0, 0), 0);  // an empty cell has no cluster

  const i16 n = rig->board.FindCluster(10, 10, 0);
  EXPECT_EQ(n, 3);
  for (auto [r, c] : {std::pair{10, 10}, {10, 11}, {10, 12}, {9, 10}, {3, 3}}) {
    EXPECT_EQ(rig->board.Cell(r, c).state, kBallWaitBurst) << r << "," << c;
  }
  EXPECT_EQ(rig->board.Cell(11, 11).state, kBallAtRest);
  EXPECT_EQ(rig->board.Cell(11, 12).state, kBallAtRest);
  rig->board.AddScore(n);
  EXPECT_EQ(rig->settings.score, 109u);
  rig->settings.countShots = 1;
  rig->board.AddScore(n);
  EXPECT_EQ(rig->settings.score, 109u);
}

// Landed ball first, then the cluster in fill order, then the isolated
// balls in scan order: one burst per tick of their wait.
TEST(BoardClusterTest, BurstOrder) {
  auto rig = MakeRig();
  rig->Put(10, 11, 1);  // landed, on an even row
  rig->Put(10, 10, 1);
  rig->Put(10, 12, 1);
  rig->Put(11, 11, 1);  // found before (10, 10): below-right comes first
  rig->Put(12, 11, 2);  // touches only (11, 11): isolated
  rig->Put(9, 12, 2);   // touches only (10, 12): isolated, earlier in scan order
  ASSERT_EQ(rig->board.FindCluster(10, 11, 0), 4);

  const std::pair<int, int> order[] = {{10, 11}, {11, 11}, {10, 10}, {10, 12}, {9, 12}, {12, 11}};
  std::array<int, 6> gone{};  // the tick each one left the table
  for (int t = 1; t <= 16; ++t) {
    rig->board.StepAll();
    for (int i = 0; i < 6; ++i) {
      if (!gone[i] && rig->board.Cell(order[i].first, order[i].second).colour == 0) gone[i] = t;
    }
  }
  EXPECT_EQ(gone, (std::array<int, 6>{1, 2, 3, 4, 14, 15}));
  EXPECT_GT(rig->fx.bursts.LiveCount(), 5);
}

TEST(BoardGrowthTest, CountsAreTakenBeforeAnythingGrows) {
  auto rig = MakeRig();
  rig->Put(10, 10, 3);
  ASSERT_EQ(rig->board.GrowLife(), 1);
  int grown = 0;
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) {
      const Ball& b = rig->board.Cell(r, c);
      if (b.colour == 0 || (r == 10 && c == 10)) continue;
      ++grown;
      EXPECT_EQ(b.state, kBallHiddenWaitGrow);
      EXPECT_EQ(b.counter, 10);
      EXPECT_EQ(rig->fx.lattice.CellNode(r, c).occupied, b.colour);
    }
  }
  // Only the six neighbours: (10, 12) gains its first neighbour, (10, 11),
  // during the pass and must wait for the next call.
  EXPECT_EQ(grown, 6);
  EXPECT_EQ(rig->board.Cell(10, 12).colour, 0);
  EXPECT_NE(rig->board.Cell(11, 9).colour, 0);
}

TEST(BoardGrowthTest, OnlyCellsWithOneToThreeNeighboursGrow) {
  auto rig = MakeRig();
  EXPECT_EQ(rig->board.GrowLife(), 0);  // nothing on the table
  rig->Put(9, 9, 1);  // (10, 10) has these four neighbours
  rig->Put(9, 10, 1);
  rig->Put(10, 9, 1);
  rig->Put(10, 11, 1);
  rig->Put(15, 9, 2);  // (16, 10) has these three
  rig->Put(16, 11, 2);
  rig->Put(17, 10, 2);
  rig->Put(20, 3, 5);  // (20, 4) has one
  ASSERT_EQ(rig->board.GrowLife(), 1);
  EXPECT_EQ(rig->board.Cell(10, 10).colour, 0);
  EXPECT_EQ(rig->board.Cell(16, 10).state, kBallHiddenWaitGrow);
  EXPECT_EQ(rig->board.Cell(20, 4).state, kBallHiddenWaitGrow);
}

// Three times in four a cell grows entry (draw mod entries) of its
// neighbours' colours in grid order; otherwise entry (draw mod n) of the
// colours on the table and in the next ball, in increasing order.
TEST(BoardGrowthTest, TheColourDrawFollowsTheNeighbourList) {
  int fromNeighbours = 0, fromPresent = 0;
  for (u32 seed = 1; seed <= 40; ++seed) {
    for (const bool oddRow : {true, false}) {
      auto rig = MakeRig(seed);
      std::vector<u8> neighbours, present;
      if (oddRow) {
        // Row 0 is full, so (1, 0) is the first cell to grow. Its list:
        // (0, 0), (0, 1), (1, 1).
        for (int c = 0; c < Board::kColumns; ++c) rig->Put(0, c, 2);
        rig->Put(0, 0, 4);
        rig->Put(0, 1, 1);
        rig->Put(1, 1, 8);
        rig->settings.nextColour = 2;
        neighbours = {4, 1, 8};
        present = {1, 2, 4, 8};
      } else {
        // Cell (0, 0) lists (0, 1), then (1, 0).
        rig->Put(0, 1, 6);
        rig->Put(1, 0, 3);
        rig->settings.nextColour = 5;
        neighbours = {6, 3};
        present = {3, 5, 6};
      }
      u32 colour = rig->colour;
      const bool anywhere = NextRandom(colour) % 100 > 74;
      const std::vector<u8>& list = anywhere ? present : neighbours;
      const u8 expected = list[NextRandom(colour) % list.size()];
      ++(anywhere ? fromPresent : fromNeighbours);
      rig->board.GrowLife();
      EXPECT_EQ(rig->board.Cell(oddRow ? 1 : 0, 0).colour, expected) << "seed " << seed;
    }
  }
  EXPECT_GT(fromNeighbours, 40);
  EXPECT_GT(fromPresent, 10);
}

TEST(BoardTest, ForeignColoursAreEmptyCells) {
  auto rig = MakeRig();
  rig->board.SetCellColour(4, 4, 9);
  EXPECT_EQ(rig->board.Cell(4, 4).colour, 0);
  EXPECT_EQ(rig->fx.lattice.CellNode(4, 4).occupied, 0);
  rig->board.SetCellColour(4, 4, 200);
  rig->board.Cell(4, 4).SetState(kBallAtRest);
  // Image 8 is within the pack's shadows, never past the last ball colour.
  EXPECT_LT(rig->board.Cell(4, 4).ballClip.imageIndex, 35 * 9 + 8);
  rig->board.SetCellColour(4, 4, 8);
  rig->board.Cell(4, 4).SetState(kBallAtRest);
  EXPECT_EQ(rig->board.Cell(4, 4).ballClip.imageIndex, 35 * 8 + 26);
}

TEST(BoardTest, ColourCountOutsideItsRangeIsKeptSafe) {
  auto rig = MakeRig();
  rig->settings.colourCount = 0;  // only a foreign saved game holds this
  rig->board.LoadLevel();
  EXPECT_EQ(rig->board.Cell(7, 6).colour, 1);  // one colour: no division by zero
  EXPECT_EQ(rig->settings.nextColour, 1);
  rig->settings.colourCount = 40;
  rig->board.LoadLevel();
  for (u8 c : ColoursOf(rig->board)) EXPECT_LE(c, 8);
}

}  // namespace
