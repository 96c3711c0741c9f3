#include "game/board.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "game/level_layouts.h"
#include "platform/random.h"
#include "ui/app_context.h"
#include "tests/game/board_rig.h"

namespace {

constexpr i32 kOne = 256;

using Deal = std::array<u8, Board::kCells + 1>;  // every cell, then the next colour

Deal DealLevel(u32 seed, u8 skill, u16 level) {
  auto rig = MakeRig(seed);
  rig->settings.skill = skill;
  rig->settings.level = level;
  rig->settings.colourCount = Board::LevelColours(skill, level);
  rig->board.LoadLevel();
  Deal d{};
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) d[r * Board::kColumns + c] = rig->board.Cell(r, c).colour;
  }
  d[Board::kCells] = rig->settings.nextColour;
  return d;
}

std::array<int, 9> ColourTally(const Deal& d) {
  std::array<int, 9> n{};
  for (int i = 0; i < Board::kCells; ++i) ++n[d[i]];
  return n;
}

TEST(BoardTest, LayoutsHoldTheirBallCounts) {
  const int expected[12] = {24, 39, 45, 33, 57, 72, 78, 42, 75, 98, 113, 119};
  for (int l = 0; l < 12; ++l) EXPECT_EQ(LevelLayouts::Balls(l), expected[l]) << "layout " << l;
  EXPECT_EQ(LevelLayouts::ForLevel(11), 11);
  EXPECT_EQ(LevelLayouts::ForLevel(12), 11);
}

TEST(BoardTest, LevelZeroOnEasyRideDealsSixOfEachOfFourColours) {
  const Deal d = DealLevel(42, kSkillEasyRide, 0);
  const auto n = ColourTally(d);
  EXPECT_EQ(n[1], 6);
  EXPECT_EQ(n[2], 6);
  EXPECT_EQ(n[3], 6);
  EXPECT_EQ(n[4], 6);
  EXPECT_EQ(n[5] + n[6] + n[7] + n[8], 0);
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) {
      EXPECT_EQ(d[r * Board::kColumns + c] != 0, LevelLayouts::Cell(0, r, c) == 1) << r << "," << c;
    }
  }
  EXPECT_GE(d[Board::kCells], 1);
  EXPECT_LE(d[Board::kCells], 4);
}

TEST(BoardTest, LaterLevelsDealLayoutEleven) {
  for (u16 level : {11, 12, 30}) {
    const auto n = ColourTally(DealLevel(7, kSkillExpert, level));
    EXPECT_EQ(Board::kCells - n[0], 119) << "level " << level;
    // 119 balls of 8 colours: seven colours 15 times, one 14 times.
    for (int c = 1; c <= 8; ++c) EXPECT_TRUE(n[c] == 14 || n[c] == 15);
  }
}

TEST(BoardTest, ColourCountReachesEightAtTheNamedLevels) {
  const std::pair<u8, u16> firstAtEight[] = {
      {kSkillEasyRide, 8}, {kSkillNovice, 6}, {kSkillExpert, 4}, {kSkillMaster, 2}};
  for (const auto& [skill, level] : firstAtEight) {
    EXPECT_EQ(Board::LevelColours(skill, level), 8) << int(skill);
    EXPECT_EQ(Board::LevelColours(skill, level - 1), 7) << int(skill);
    EXPECT_EQ(Board::LevelColours(skill, 200), 8);
  }
  EXPECT_EQ(Board::LevelColours(kSkillNovice, 0), 5);
  EXPECT_EQ(Board::LevelColours(kSkillNovice, 2), 6);
  EXPECT_EQ(Board::SkillColours(kSkillEasyRide), 4);
  EXPECT_EQ(Board::SkillColours(9), 2);
}

TEST(BoardTest, TheDealDependsOnlyOnTheColourSeed) {
  const Deal a = DealLevel(1234, kSkillNovice, 3);
  const Deal b = DealLevel(1234, kSkillNovice, 3);
  const Deal c = DealLevel(98765, kSkillNovice, 3);
  EXPECT_EQ(a, b);
  EXPECT_NE(a, c);
  // Both deals are valid: 33 balls of layout 3 in 6 colours, 5 or 6 each,
  // on the same cells.
  for (const Deal* d : {&a, &c}) {
    const auto n = ColourTally(*d);
    EXPECT_EQ(Board::kCells - n[0], 33);
    for (int k = 1; k <= 6; ++k) EXPECT_TRUE(n[k] == 5 || n[k] == 6);
    EXPECT_EQ(n[7] + n[8], 0);
    for (int i = 0; i < Board::kCells; ++i) ASSERT_EQ((*d)[i] != 0, a[i] != 0);
  }
}

// The game builds the pools and the board from its context: the deal then
// steps the context's colour state, and the pools draw from its general one.
TEST(BoardTest, ABoardOnTheApplicationContext) {
  std::unique_ptr<AppContext> context(AppContext::Create(nullptr));
  context->generalRandom = 10;
  context->colourRandom = 20;
  context->settings->colourCount = 4;
  auto fx = std::make_unique<BallFxSet>(*context);
  auto board = std::make_unique<Board>(*context, *fx);
  board->LoadLevel();
  EXPECT_NE(context->colourRandom, 20u);
  EXPECT_EQ(context->generalRandom, 10u);
  const Deal same = DealLevel(20 ^ 0x5a5a5a5au, kSkillEasyRide, 0);  // colour state 20
  for (int i = 0; i < Board::kCells; ++i) {
    ASSERT_EQ(board->Cell(i / Board::kColumns, i % Board::kColumns).colour, same[i]);
  }
  EXPECT_EQ(context->settings->nextColour, same[Board::kCells]);
  fx->bursts.AttractStep(480);
  EXPECT_NE(context->generalRandom, 10u);
}

TEST(BoardTest, LoadLevelUsesOnlyTheColourState) {
  auto rig = MakeRig(5);
  rig->settings.colourCount = 4;
  const u32 general = rig->general;
  rig->board.LoadLevel();
  EXPECT_EQ(rig->general, general);
  // 24 balls: three shuffles of 24 draws, then the next colour.
  u32 colour = 5 ^ 0x5a5a5a5au;
  for (int i = 0; i < 3 * 24 + 1; ++i) NextRandom(colour);
  EXPECT_EQ(rig->colour, colour);
  EXPECT_EQ(rig->fx.lattice.CellNode(7, 6).occupied, rig->board.Cell(7, 6).colour);
  EXPECT_EQ(rig->fx.lattice.CellNode(0, 0).occupied, 0);
}

TEST(BoardTest, FlyInLandsEveryBallExactlyOnItsCell) {
  auto rig = MakeRig(3);
  rig->settings.level = 5;
  rig->settings.colourCount = 6;
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
      EXPECT_EQ(b.ballClip.imageIndex, 35 * b.colour + 26);
    }
  }
}

TEST(BoardTest, RecolouringDealsColoursOfTheLevelAndRegrows) {
  auto rig = MakeRig(11);
  rig->settings.colourCount = 3;
  rig->Put(4, 4, 1);
  rig->Put(4, 5, 1);
  rig->Put(5, 5, 1);
  rig->board.RecolourAll();
  for (auto [r, c] : {std::pair{4, 4}, {4, 5}, {5, 5}}) {
    const Ball& b = rig->board.Cell(r, c);
    EXPECT_GE(b.colour, 1);
    EXPECT_LE(b.colour, 3);
    EXPECT_EQ(b.state, kBallHiddenWaitGrow);
    EXPECT_EQ(rig->fx.lattice.CellNode(r, c).occupied, b.colour);
  }
  for (int t = 0; t < 12; ++t) rig->board.StepAll();
  EXPECT_EQ(rig->board.AnyOtherState(kBallAtRest), 1);
}

// A landed ball and one neighbour of its colour: 2, nothing removed.
TEST(BoardClusterTest, APairIsCountedButStays) {
  auto rig = MakeRig();
  rig->Put(10, 10, 1);
  rig->Put(10, 11, 1);
  rig->Put(9, 10, 2);
  EXPECT_EQ(rig->board.FindCluster(10, 10, 0), 2);
  EXPECT_EQ(rig->board.Cell(10, 10).state, kBallAtRest);
  EXPECT_EQ(rig->board.Cell(10, 11).state, kBallAtRest);
  EXPECT_EQ(rig->board.Cell(9, 10).state, kBallAtRest);
}

TEST(BoardClusterTest, AClusterOfThreeTakesIsolatedBallsButNotPairs) {
  auto rig = MakeRig();
  rig->Put(10, 10, 1);  // landed
  rig->Put(10, 11, 1);
  rig->Put(10, 12, 1);
  rig->Put(9, 10, 2);   // touches only (10, 10) and (10, 11): left alone
  rig->Put(11, 11, 3);  // these two touch each other and the cluster: stay
  rig->Put(11, 12, 3);
  rig->Put(3, 3, 4);    // alone far away: isolated too
  EXPECT_EQ(rig->board.FindCluster(10, 10, 0), 3);
  for (auto [r, c] : {std::pair{10, 10}, {10, 11}, {10, 12}, {9, 10}, {3, 3}}) {
    EXPECT_EQ(rig->board.Cell(r, c).state, kBallWaitBurst) << r << "," << c;
    EXPECT_EQ(rig->board.Cell(r, c).sizeStep, kOne);
  }
  EXPECT_EQ(rig->board.Cell(11, 11).state, kBallAtRest);
  EXPECT_EQ(rig->board.Cell(11, 12).state, kBallAtRest);
}

TEST(BoardClusterTest, CountOnlyChangesNoState) {
  auto rig = MakeRig();
  rig->Put(10, 10, 1);
  rig->Put(10, 11, 1);
  rig->Put(10, 12, 1);
  EXPECT_EQ(rig->board.FindCluster(10, 10, 1), 3);
  EXPECT_EQ(rig->board.AnyOtherState(kBallAtRest), 1);
  EXPECT_EQ(rig->board.FindCluster(0, 0, 0), 0);  // an empty cell has no cluster
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

  const std::pair<int, int> expected[] = {{10, 11}, {11, 11}, {10, 10}, {10, 12}, {9, 12}, {12, 11}};
  const int tick[] = {1, 2, 3, 4, 14, 15};
  std::vector<std::pair<int, int>> gone;
  std::vector<int> when;
  for (int t = 1; t <= 16; ++t) {
    rig->board.StepAll();
    for (const auto& [r, c] : expected) {
      if (rig->board.Cell(r, c).colour == 0 &&
          std::find(gone.begin(), gone.end(), std::pair{r, c}) == gone.end()) {
        gone.push_back({r, c});
        when.push_back(t);
      }
    }
  }
  ASSERT_EQ(gone.size(), 6u);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(gone[i], expected[i]) << i;
    EXPECT_EQ(when[i], tick[i]) << i;
  }
  EXPECT_GT(rig->fx.bursts.LiveCount(), 5);
}

TEST(BoardScoreTest, ClusterSizeTimesLevelPlusOne) {
  auto rig = MakeRig();
  rig->settings.level = 2;
  rig->settings.score = 100;
  rig->Put(10, 10, 1);
  rig->Put(10, 11, 1);
  rig->Put(10, 12, 1);
  rig->Put(3, 3, 4);  // an isolated ball falls with the cluster
  const i16 n = rig->board.FindCluster(10, 10, 0);
  EXPECT_EQ(n, 3);
  rig->board.AddScore(n);
  EXPECT_EQ(rig->settings.score, 109u);  // 3 x (2 + 1); the isolated ball adds nothing

  rig->settings.countShots = 1;
  rig->board.AddScore(n);
  EXPECT_EQ(rig->settings.score, 109u);
}

TEST(BoardGrowthTest, CountsAreTakenBeforeAnythingGrows) {
  auto rig = MakeRig();
  rig->Put(10, 10, 3);
  ASSERT_EQ(rig->board.GrowLife(), 1);
  int grown = 0;
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) {
      const Ball& b = rig->board.Cell(r, c);
      if (r == 10 && c == 10) continue;
      if (b.colour == 0) continue;
      ++grown;
      EXPECT_EQ(b.state, kBallHiddenWaitGrow);
      EXPECT_EQ(b.counter, 10);
      EXPECT_TRUE(b.sizeStep == kOne || b.sizeStep == 2 * kOne || b.sizeStep == 3 * kOne);
      EXPECT_EQ(rig->fx.lattice.CellNode(r, c).occupied, b.colour);
    }
  }
  // Only the six neighbours: (10, 12) gains its first neighbour, (10, 11),
  // during the pass and must wait for the next call.
  EXPECT_EQ(grown, 6);
  EXPECT_EQ(rig->board.Cell(10, 12).colour, 0);
  EXPECT_NE(rig->board.Cell(11, 9).colour, 0);
  EXPECT_NE(rig->board.Cell(9, 10).colour, 0);
}

TEST(BoardGrowthTest, OnlyCellsWithOneToThreeNeighboursGrow) {
  auto rig = MakeRig();
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
  auto empty = MakeRig();
  EXPECT_EQ(empty->board.GrowLife(), 0);
}

// With its neighbours' colours at known places in the list, the colour a
// cell grows is entry (draw mod entries) of the list in the grid order.
TEST(BoardGrowthTest, TheColourDrawFollowsTheNeighbourList) {
  int checked = 0;
  for (u32 seed = 1; seed <= 40; ++seed) {
    auto rig = MakeRig(seed);
    // Row 0 is full, so (1, 0) on an odd row is the first cell to grow. Its
    // list: (0, 0), (0, 1), (1, 1).
    for (int c = 0; c < Board::kColumns; ++c) rig->Put(0, c, 2);
    rig->Put(0, 0, 4);
    rig->Put(0, 1, 1);
    rig->Put(1, 1, 8);
    u32 colour = rig->colour;
    if (NextRandom(colour) % 100 > 74) continue;  // that draw picks from the colours present
    const u8 list[3] = {4, 1, 8};
    const u8 expected = list[NextRandom(colour) % 3];
    rig->board.GrowLife();
    EXPECT_EQ(rig->board.Cell(1, 0).colour, expected) << "seed " << seed;
    ++checked;
  }
  EXPECT_GT(checked, 20);

  // On an even row: cell (0, 0) lists (0, 1), then (1, 0).
  for (u32 seed = 1; seed <= 20; ++seed) {
    auto rig = MakeRig(seed);
    rig->Put(0, 1, 6);
    rig->Put(1, 0, 3);
    u32 colour = rig->colour;
    if (NextRandom(colour) % 100 > 74) continue;
    const u8 list[2] = {6, 3};
    const u8 expected = list[NextRandom(colour) % 2];
    rig->board.GrowLife();
    EXPECT_EQ(rig->board.Cell(0, 0).colour, expected) << "seed " << seed;
  }
}

TEST(BoardGrowthTest, OneTimeInFourAColourPresentAnywhere) {
  for (u32 seed = 1; seed <= 40; ++seed) {
    auto rig = MakeRig(seed);
    rig->settings.nextColour = 5;
    rig->Put(0, 1, 6);
    rig->Put(1, 0, 3);
    u32 colour = rig->colour;
    if (NextRandom(colour) % 100 <= 74) continue;
    const u8 present[3] = {3, 5, 6};  // the table's and the next ball's, in order
    const u8 expected = present[NextRandom(colour) % 3];
    rig->board.GrowLife();
    EXPECT_EQ(rig->board.Cell(0, 0).colour, expected) << "seed " << seed;
  }
}

TEST(BoardTest, CountColoursListsTableAndNextBall) {
  auto rig = MakeRig();
  rig->settings.nextColour = 7;
  rig->Put(2, 2, 5);
  rig->Put(2, 3, 2);
  rig->Put(2, 4, 5);
  ASSERT_EQ(rig->board.CountColours(), 3);
  EXPECT_EQ(rig->board.ColoursPresent()[0], 2);
  EXPECT_EQ(rig->board.ColoursPresent()[1], 5);
  EXPECT_EQ(rig->board.ColoursPresent()[2], 7);
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
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) EXPECT_LE(rig->board.Cell(r, c).colour, 8);
  }
}

}  // namespace
