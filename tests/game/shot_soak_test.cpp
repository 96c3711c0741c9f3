// Many seeded random shots on boards dealt from the level layouts: every
// flight must end within its tick budget in the cell its trace chose.
#include <gtest/gtest.h>

#include "game/aimer.h"
#include "game/board.h"
#include "game/shot.h"
#include "platform/fixed_math.h"
#include "platform/random.h"
#include "tests/game/shot_rig.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kShots = 12000;  // the sanitizers slow the flight down some twentyfold
#else
constexpr int kShots = 100000;
#endif
constexpr int kShotsPerBoard = 40;

// A level's deal thinned out at random, so that long paths with many
// bounces come up as well as short ones.
void DealBoard(ShotRig& s, u32& random) {
  SettingsRecord& settings = s.rig->settings;
  settings.skill = static_cast<u8>(NextRandom(random) % 4);
  settings.level = static_cast<u16>(NextRandom(random) % 12);
  settings.colourCount = Board::LevelColours(settings.skill, settings.level);
  settings.physics = static_cast<u8>(NextRandom(random) & 1);
  s.board().LoadLevel();
  s.board().BuildLattice();
  const u32 keep = NextRandom(random) % 101;
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) {
      if (NextRandom(random) % 100 >= keep) s.board().EmptyCell(r, c);
      else if (s.board().Cell(r, c).colour) s.board().Cell(r, c).SetState(kBallAtRest);
    }
  }
}

// A target anywhere on the table, low on it (shallow shots), or where the
// computer player aims; a power of any value, often the strongest.
void PickShot(u32& random, int& x, int& y, i32& power) {
  switch (NextRandom(random) % 3) {
    case 0:
      x = 6 + NextRandom(random) % 450;
      y = 6 + NextRandom(random) % 455;
      break;
    case 1:
      x = 6 + NextRandom(random) % 450;
      y = 400 + NextRandom(random) % 61;
      break;
    default: {
      const FixVec dir = Aimer::AimStep(static_cast<int>(10 + NextRandom(random) % 161), TrigTable());
      x = (kShootX * 256 + 50 * dir.x + 128) >> 8;
      y = (kShootY * 256 + 50 * dir.y + 128) >> 8;
    }
  }
  power = (NextRandom(random) & 1) ? 8 * 256 : static_cast<i32>(256 + NextRandom(random) % 1793);
}

TEST(ShotSoakTest, EveryFlightSettlesInItsCellWithinItsBudget) {
  u32 random = 20240611;
  int shots = 0, bottoms = 0, homedToCells = 0;
  while (shots < kShots) {
    ShotRig s(NextRandom(random) + 1);
    DealBoard(s, random);
    for (int k = 0; k < kShotsPerBoard && shots < kShots; ++k) {
      s.PlaceCue(static_cast<u8>(NextRandom(random) % s.rig->settings.colourCount + 1));
      int x, y;
      i32 power;
      PickShot(random, x, y, power);
      ASSERT_TRUE(s.Click(x, y, power)) << x << "," << y;
      ++shots;
      const int row = s.shot.LandingRow(), col = s.shot.LandingCol();
      ASSERT_EQ(s.board().Cell(row, col).colour, 0) << "shot " << shots;
      BoardColours expected = ColoursOf(s.board());
      const int live = s.rig->fx.bursts.LiveCount();

      const int ticks = s.Fly(s.shot.TickBudget());
      ASSERT_GT(ticks, 0) << "shot " << shots << " still flying at tick " << s.shot.TickBudget();
      ASSERT_EQ(s.cue.state, kBallHidden);
      if (s.shot.LeavesBottom()) {
        ++bottoms;
        ASSERT_GT(s.rig->fx.bursts.LiveCount(), live) << "shot " << shots;
      } else {
        expected[row * Board::kColumns + col] = s.cue.colour;
        homedToCells += s.shot.Homing();
      }
      ASSERT_EQ(ColoursOf(s.board()), expected) << "shot " << shots;
      s.rig->fx.bursts.Clear();
      if (row >= 22) break;  // the table is nearly full: deal another
    }
  }
  // The flight follows its trace: only a rare one needs the straight way home.
  EXPECT_LT(homedToCells, shots / 1000);
  EXPECT_GT(bottoms, 0);
}

}  // namespace
