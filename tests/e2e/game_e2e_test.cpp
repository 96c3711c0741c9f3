// The real game under its own X server, played as a person would: the
// title, play after five seconds, a shot with the pointer and with the
// keys, and a game kept at exit and resumed at the next start.
#include <X11/keysym.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "game/save_record.h"
#include "tests/e2e/prepared_settings.h"
#include "tests/support/game_run.h"
#include "ui/settings.h"

using namespace testing_support;

namespace {

SaveRecord AsSaveRecord(const std::vector<unsigned char>& bytes) {
  SaveRecord record{};
  if (bytes.size() == kSaveRecordSize) std::memcpy(record.Bytes(), bytes.data(), kSaveRecordSize);
  return record;
}

int BallCount(const SaveRecord& r) {
  int n = 0;
  for (const auto& row : r.cells) {
    for (u8 c : row) n += c != 0;
  }
  return n;
}

bool SamePosition(const SaveRecord& a, const SaveRecord& b) {
  return a.level == b.level && a.score == b.score && a.currentColour == b.currentColour &&
         a.nextColour == b.nextColour && std::memcmp(a.cells, b.cells, sizeof a.cells) == 0;
}

// Ends a run the way a window manager asks a window to close.
int Close(GameRun& run) {
  run.Client().SendDelete(run.GameWindow());
  return run.WaitExit(5000);
}

// Mean of |a - b| over all channels of a window area.
double Difference(const RgbImage& a, const RgbImage& b, int x0, int y0, int x1, int y1) {
  double sum = 0;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      for (int c = 0; c < 3; ++c) sum += std::abs(a.At(x, y)[c] - b.At(x, y)[c]);
    }
  }
  return sum / ((x1 - x0 + 1) * (y1 - y0 + 1) * 3);
}

// Clicks the title away and waits until the dealt table rests with the
// cue ball at the shooting point.
void SkipTitleAndWait(GameRun& run) {
  run.Client().Click(run.GameWindow(), 300, 300);
  ASSERT_TRUE(run.WaitStill(15000)) << "the table never came to rest";
}

}  // namespace

TEST(Game, TitleThenPlayAfterFiveSeconds) {
  GameRun run;
  START_GAME_OR_SKIP(run, GameOptions());
  SleepMs(1000);
  const RgbImage title = run.Screenshot("game-title");
  // The title's own picture: the name in gold over a dark felt.
  int gold = 0;
  for (int y = 120; y < 220; ++y) {
    for (int x = 20; x < 450; ++x) {
      const u8* p = title.At(x, y);
      gold += p[0] > 150 && p[1] > 100 && p[2] < 110;
    }
  }
  EXPECT_GT(gold, 3000);
  SleepMs(5500);
  ASSERT_TRUE(run.WaitStill(15000));
  const RgbImage table = run.Screenshot("game-table");
  // Play began by itself: the table picture replaced the title.
  EXPECT_GT(Difference(title, table, 6, 6, 455, 455), 10.0);
  // The score panel shows on the right.
  EXPECT_GT(Difference(title, table, 486, 250, 636, 400), 10.0);
  EXPECT_EQ(run.Process().Running(), true);
}

// Two starts on one home: the first deals a table and keeps it at exit,
// the second resumes it.
class TwoStarts : public ::testing::Test {
 protected:
  // The first start, with the given controls and Autosave on: leaves the
  // title, lets the table come to rest and closes; the position it kept is
  // first_. Later starts find the settings it wrote.
  void FirstStart(u8 controls, const char* screenshot = nullptr) {
    options_.home = home_.Path();
    options_.records[50] = PreparedSettings(controls);
    GameRun run;
    START_GAME_OR_SKIP(run, options_);
    SkipTitleAndWait(run);
    if (screenshot) run.Screenshot(screenshot);
    const int status = Close(run);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    ASSERT_EQ(run.ReadRecord(0).size(), kSaveRecordSize);
    first_ = AsSaveRecord(run.ReadRecord(0));
    EXPECT_EQ(first_.valid, 1);
    EXPECT_GT(BallCount(first_), 0);
    options_.records.clear();
  }
  bool Stopped() { return IsSkipped() || HasFatalFailure(); }

  TempDir home_;
  GameOptions options_;
  SaveRecord first_{};
};

TEST_F(TwoStarts, ResumedPositionIsTheSavedOne) {
  FirstStart(1);
  if (Stopped()) return;
  GameRun run;
  START_GAME_OR_SKIP(run, options_);
  SkipTitleAndWait(run);  // no shot: the resumed position is saved again
  Close(run);
  EXPECT_TRUE(SamePosition(first_, AsSaveRecord(run.ReadRecord(0))));
}

TEST_F(TwoStarts, PenClickShootsAndTheBallSettles) {
  FirstStart(1, "game-pen-dealt");
  if (Stopped()) return;
  // A click at the top of the table shoots, and the ball settles.
  GameRun run;
  START_GAME_OR_SKIP(run, options_);
  SkipTitleAndWait(run);
  const RgbImage before = run.Screenshot("game-pen-resumed");
  run.Client().Click(run.GameWindow(), 231, 60);
  SleepMs(300);
  ASSERT_TRUE(run.WaitStill(15000));
  const RgbImage after = run.Screenshot("game-pen-after-shot");
  EXPECT_GT(Difference(before, after, 6, 6, 455, 455), 0.05);  // at least one ball more
  Close(run);
  const SaveRecord second = AsSaveRecord(run.ReadRecord(0));
  EXPECT_EQ(second.valid, 1);
  EXPECT_EQ(second.level, first_.level);
  // The shot changed the table: a ball settled, or a group fell, or new
  // balls grew.
  EXPECT_FALSE(SamePosition(first_, second));
}

TEST_F(TwoStarts, KeysTurnTheAimAndSpaceShoots) {
  FirstStart(0);
  if (Stopped()) return;
  GameRun run;
  START_GAME_OR_SKIP(run, options_);
  SkipTitleAndWait(run);
  XClient& x = run.Client();
  x.Focus(run.GameWindow());
  const RgbImage straight = run.Screenshot("game-keys-aim-straight");
  x.KeyDown(XK_Left);  // held: the dotted aiming line turns left
  SleepMs(400);
  x.KeyUp(XK_Left);
  SleepMs(200);
  const RgbImage turned = run.Screenshot("game-keys-aim-left");
  EXPECT_GT(Difference(straight, turned, 6, 6, 455, 455), 0.05);
  x.KeyDown(XK_space);  // the cue is pulled while Space is held
  SleepMs(300);
  x.KeyUp(XK_space);
  SleepMs(300);
  ASSERT_TRUE(run.WaitStill(15000));
  run.Screenshot("game-keys-after-shot");
  Close(run);
  EXPECT_FALSE(SamePosition(first_, AsSaveRecord(run.ReadRecord(0))));
}

// A key held on the title past the repeat delay leaves the title and is let
// go with its release: the aim stays where it is. Then a quick tap, press
// and release sent at once, still turns the aim one step.
TEST(Game, KeyHeldOnTheTitleIsLetGoAndATapTurnsTheAim) {
  GameOptions options;
  options.records[50] = PreparedSettings(0);
  GameRun run;
  START_GAME_OR_SKIP(run, options);
  XClient& x = run.Client();
  x.Focus(run.GameWindow());
  x.KeyDown(XK_Down);
  SleepMs(1000);
  x.KeyUp(XK_Down);
  EXPECT_TRUE(run.WaitStill(6000)) << "the aim goes on turning by itself";
  const RgbImage still = run.Screenshot("game-keys-held-on-title");
  x.KeyDown(XK_Left);
  x.KeyUp(XK_Left);
  SleepMs(300);
  const RgbImage tapped = run.Screenshot("game-keys-tapped");
  EXPECT_GT(Difference(still, tapped, 6, 6, 455, 455), 0.0) << "the tap was lost";
  EXPECT_TRUE(run.WaitStill(3000));
  Close(run);
  EXPECT_EQ(AsSaveRecord(run.ReadRecord(0)).valid, 1);  // a game being played
}
