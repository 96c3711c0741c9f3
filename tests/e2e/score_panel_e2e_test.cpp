// The score panel of the real game: a resumed game's score and level drawn
// with the digit pictures, centred, evenly spaced and clear of the rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/save_record.h"
#include "tests/e2e/prepared_settings.h"
#include "tests/support/game_run.h"

using namespace testing_support;

namespace {

// A resumable position with the given score and level and a few rows of
// balls.
std::vector<unsigned char> SavedGame(u32 score, u16 level) {
  SaveRecord r{};
  r.level = level;
  r.score = score;
  r.currentColour = 1;
  r.nextColour = 2;
  r.colourCount = 4;
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 21; ++col) r.cells[row][col] = static_cast<u8>(1 + (row + col) % 4);
  r.valid = 1;
  return std::vector<unsigned char>(r.Bytes(), r.Bytes() + kSaveRecordSize);
}

// The digits' gold, from its pale top to its deep bottom; not the dark
// felt of the panel nor its faint rules.
bool Gold(const RgbImage& im, int x, int y) {
  const u8* p = im.At(x, y);
  return p[0] > 140 && p[0] > p[2] + 40;
}

// The gold ink of a number drawn in rows top..bottom between x0 and x1:
// its first row and its runs of inked columns.
struct Ink {
  int top = -1;
  std::vector<std::pair<int, int>> runs;  // first and last column
};

Ink InkOf(const RgbImage& im, int x0, int x1, int top, int bottom) {
  Ink ink;
  for (int y = top; y <= bottom && ink.top < 0; ++y)
    for (int x = x0; x <= x1; ++x)
      if (Gold(im, x, y)) ink.top = y;
  for (int x = x0; x <= x1; ++x) {
    bool inked = false;
    for (int y = top; y <= bottom; ++y) inked = inked || Gold(im, x, y);
    if (!inked) continue;
    if (!ink.runs.empty() && ink.runs.back().second == x - 1) {
      ink.runs.back().second = x;
    } else {
      ink.runs.push_back({x, x});
    }
  }
  return ink;
}

}  // namespace

TEST(ScorePanel, DigitsAreCentredEvenlySpacedAndClearOfTheRules) {
  const struct {
    u32 score;
    u16 level;  // 0-based: shown one higher
  } cases[] = {{0, 0}, {28, 1}, {1234, 6}, {987654, 11}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.score);
    GameOptions options;
    options.records[50] = PreparedSettings(1);
    options.records[0] = SavedGame(c.score, c.level);
    GameRun run;
    START_GAME_OR_SKIP(run, options);
    run.Client().Click(run.GameWindow(), 300, 300);
    ASSERT_TRUE(run.WaitStill(15000));
    const RgbImage shot = run.Screenshot("score-panel-" + std::to_string(c.score));

    // Score digits: clips at y 249 in the box 486..635, one run of ink a
    // digit, close enough that "28" does not read "2 8".
    const Ink score = InkOf(shot, 488, 633, 249, 271);
    ASSERT_EQ(score.runs.size(), std::to_string(c.score).size());
    const int centre2 = score.runs.front().first + score.runs.back().second;
    EXPECT_NEAR(centre2, 486 + 635, 3);
    for (size_t k = 1; k < score.runs.size(); ++k)
      EXPECT_LE(score.runs[k].first - score.runs[k - 1].second - 1, 10) << "gap before digit " << k;
    // Air under the panel frame and under the rule above the level.
    EXPECT_GE(score.top, 252);
    const Ink level = InkOf(shot, 516, 595, 307, 329);
    ASSERT_EQ(level.runs.size(), std::to_string(c.level + 1).size());
    EXPECT_GE(level.top, 310);
  }
}
