// The game machine played in-process: levels and colours, held-key aiming,
// the cue pull of the player and of the computer, the aim time limit,
// shots that match, miss, leave through the bottom and end the game, the
// demo, and the effects asked for on the way.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "game/level_layouts.h"
#include "platform/record_file.h"
#include "tests/game/game_rig.h"

namespace {

using game_testing::GameRig;
using States = std::vector<u8>;
using Effects = std::vector<int>;

constexpr i32 kOne = 256;
constexpr u32 kXkUp = 0xff52;
constexpr u32 kXkLeft = 0xff51;
constexpr u32 kXkSpace = 0x20;

void UseKeys(SettingsRecord& s) { s.controls = kControlsKeys; }

TEST(GameLevelTest, ColourCountsFollowSkillAndLevel) {
  GameRig rig(3, [](SettingsRecord& s) { s.skill = kSkillNovice; });
  rig.game->NewGame();
  EXPECT_EQ(rig.game->State(), kStateFlyIn);  // 1 -> 2 -> 4 in one call
  EXPECT_EQ(rig.Settings().level, 0);
  EXPECT_EQ(rig.Settings().colourCount, 5);
  EXPECT_EQ(rig.BallsOnTable(), LevelLayouts::Balls(0));
  EXPECT_EQ(rig.game->LevelDisplay().Value(), 1);

  rig.Settings().level = 1;  // the level before the third
  rig.game->SetState(kStateNewLevel);
  EXPECT_EQ(rig.Settings().level, 2);
  EXPECT_EQ(rig.Settings().colourCount, 6);
  EXPECT_EQ(rig.game->LevelDisplay().Value(), 3);
}

TEST(GameAimTest, HeldLeftTurnsFasterAndFaster) {
  GameRig rig(5, UseKeys);
  ASSERT_TRUE(rig.StartPlaying());
  Aimer& aimer = rig.game->GetAimer();
  ASSERT_EQ(aimer.angle, 90);
  rig.game->OnKeyDown(kXkLeft);
  rig.game->OnKeyDown(kXkSpace);  // a second key is ignored while one is held
  rig.Tick(12);
  EXPECT_EQ(aimer.angle, 90 + 1 + 1 + 1 + 1 + 1 + 2 + 2 + 2 + 2 + 2 + 2 + 3);
  EXPECT_EQ(rig.game->State(), kStatePlayerAims);
  rig.Tick(30);
  EXPECT_EQ(aimer.angle, 170);  // held on, it stops at the limit
  rig.game->OnKeyUp(kXkSpace);  // any release ends the hold

  // Up turns one degree every six ticks, from the first.
  rig.game->OnKeyDown(kXkUp);
  for (int t = 1; t <= 13; ++t) {
    rig.Tick();
    EXPECT_EQ(aimer.angle, 170 - (t >= 1) - (t >= 7) - (t >= 13)) << "key tick " << t;
  }
  rig.game->OnKeyUp(kXkUp);
  rig.Tick(3);
  EXPECT_EQ(aimer.angle, 167);
}

// A key held when a screen opens is released while the screen has the
// keys: once the game resumes, the aim stays where it was.
TEST(GameAimTest, AKeyReleasedOverAScreenIsNotHeldOnResume) {
  GameRig rig(5, UseKeys);
  ASSERT_TRUE(rig.StartPlaying());
  rig.game->OnKeyDown(kXkLeft);
  rig.Tick(2);
  rig.game->Pause();
  rig.game->Resume();
  const i32 angle = rig.game->GetAimer().angle;
  rig.Tick(10);
  EXPECT_EQ(rig.game->GetAimer().angle, angle);
  EXPECT_EQ(rig.game->heldKey, 0u);
}

// A key pressed and released between two ticks acts as if held for one
// tick: one aim step, or a Space pull that fires at the next tick.
TEST(GameAimTest, AQuickTapActsAsOneTickHeld) {
  constexpr u32 kXkRight = 0xff53;
  constexpr u32 kXkDown = 0xff54;
  for (const u32 key : {kXkLeft, kXkRight, kXkUp, kXkDown, kXkSpace}) {
    GameRig tapped(5, UseKeys), held(5, UseKeys);
    ASSERT_TRUE(tapped.StartPlaying());
    ASSERT_TRUE(held.StartPlaying());
    tapped.game->OnKeyDown(key);
    tapped.game->OnKeyUp(key);
    held.game->OnKeyDown(key);
    held.Tick();
    held.game->OnKeyUp(key);
    tapped.Tick(3);
    held.Tick(2);
    EXPECT_EQ(tapped.game->GetAimer().angle, held.game->GetAimer().angle) << key;
    EXPECT_EQ(tapped.game->State(), held.game->State()) << key;
    EXPECT_EQ(tapped.game->heldKey, 0u) << key;
    if (key == kXkSpace) {
      EXPECT_EQ(tapped.game->State(), kStateShot);
      EXPECT_EQ(tapped.game->GetShot().speed, FlightSpeed(kOne));
    } else {
      EXPECT_EQ(std::abs(tapped.game->GetAimer().angle - 90), 1) << key;
    }
  }
}

TEST(GameAimTest, PenClickOnTheTableShootsWithTheKeysItDoesNothing) {
  GameRig keys(7, UseKeys);
  ASSERT_TRUE(keys.StartPlaying());
  keys.Click(231, 200);
  keys.Click(470, 100);  // the cue strip
  EXPECT_EQ(keys.game->State(), kStatePlayerAims);
  EXPECT_EQ(keys.game->cuePower, kOne);

  GameRig pen(7);
  ASSERT_TRUE(pen.StartPlaying());
  pen.Click(3, 200);  // outside the table box: no shot
  EXPECT_EQ(pen.game->State(), kStatePlayerAims);
  pen.Click(231, 200);
  EXPECT_EQ(pen.game->State(), kStateShot);
  EXPECT_EQ(pen.game->GetAimer().targetY, 200 * kOne);
  EXPECT_EQ(pen.game->GetShot().speed, FlightSpeed(4 * kOne));
  // The strip still sets the power during the flight; the table does not shoot.
  pen.Click(470, 469 - 2 * 57);
  EXPECT_EQ(pen.game->cuePower, 3 * kOne);
  const i16 row = pen.game->GetShot().LandingRow();
  pen.Click(100, 100);
  EXPECT_EQ(pen.game->GetShot().LandingRow(), row);
}

// The pull of the held Space key: one step every three ticks, the shot at
// the release or by itself at counter 27.
TEST(GamePullTest, SpacePullsByTheCounterAndFiresAtTwentySeven) {
  GameRig rig(9, UseKeys);
  ASSERT_TRUE(rig.StartPlaying());
  rig.game->OnKeyDown(kXkSpace);
  const i32 expected[] = {1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5, 5, 5, 6, 6, 6, 7, 7, 7,
                          8, 8, 8, 8, 8, 8};  // counters 1..26
  for (int counter = 1; counter <= 26; ++counter) {
    rig.Tick();
    ASSERT_EQ(rig.game->State(), kStatePlayerPulls) << "counter " << counter;
    EXPECT_EQ(rig.game->cuePower, expected[counter - 1] * kOne) << "counter " << counter;
    EXPECT_EQ(rig.game->Gauge().Power(), expected[counter - 1] * kOne);
  }
  rig.Tick();
  EXPECT_EQ(rig.game->State(), kStateShot);  // counter 27, the key still held
  EXPECT_EQ(rig.game->GetShot().speed, FlightSpeed(8 * kOne));
  EXPECT_EQ(rig.game->Gauge().Power(), kOne);  // the keys' gauge drops back to 1.0

  // Held through the shot, Space does not start the next pull.
  ASSERT_TRUE(rig.TickUntilAiming());
  rig.Tick(5);
  EXPECT_EQ(rig.game->State(), kStatePlayerAims);
  rig.game->OnKeyUp(kXkSpace);

  rig.game->OnKeyDown(kXkSpace);
  rig.Tick(9);
  rig.game->OnKeyUp(kXkSpace);
  rig.Tick();  // counter 10 finds the key released
  EXPECT_EQ(rig.game->State(), kStateShot);
  EXPECT_EQ(rig.game->GetShot().speed, FlightSpeed(4 * kOne));
}

// A target at or below the ball gives no shot: the game goes back to
// aiming with the ball where it was and no shot sound.
TEST(GamePullTest, NoShotReturnsToAiming) {
  for (const i32 below : {0, 4 * kOne}) {
    GameRig rig(9, UseKeys);
    ASSERT_TRUE(rig.StartPlaying());
    rig.TakeEffects();
    rig.game->GetAimer().targetY = rig.game->cueBall.y + below;
    rig.game->OnKeyDown(kXkSpace);
    rig.Tick();
    rig.game->OnKeyUp(kXkSpace);
    rig.Tick();
    EXPECT_EQ(rig.game->State(), kStatePlayerAims);
    EXPECT_EQ(rig.game->cueBall.state, kBallAtRest);
    EXPECT_EQ(rig.game->cueBall.y, 466 * kOne);
    EXPECT_TRUE(rig.TakeEffects().empty());
  }
}

// The computer pulls one step above the power it traced: 7 becomes 8; its
// random fallback of 8 stays 8.
TEST(GamePullTest, DemoPullsItsBestPowerPlusOne) {
  for (const i16 best : {7, 8, 2}) {
    GameRig rig(11);
    rig.game->StartDemo();
    ASSERT_TRUE(rig.TickUntil(kStateComputerTurns));
    ComputerPlayer& computer = rig.game->Computer();
    computer.bestAngle = rig.game->GetAimer().angle;
    computer.bestPower = best;
    rig.Tick();
    ASSERT_EQ(rig.game->State(), kStateComputerPulls);
    const i32 power = std::min(best + 1, 8) * kOne;
    EXPECT_EQ(rig.game->cuePower, power);
    const int start = rig.ticks;
    ASSERT_TRUE(rig.TickUntil(kStateShot, 100));
    EXPECT_EQ(rig.ticks - start, (power / kOne - 1) * 3 - 1) << "best " << best;  // counter 2 .. 3 (p - 1)
    EXPECT_EQ(rig.game->GetShot().speed, FlightSpeed(power));
  }
}

TEST(GameAimTest, AimTimeLimitSendsTheGameToGrowthAtTick102) {
  GameRig rig(13, [](SettingsRecord& s) {
    s.controls = kControlsKeys;
    s.aimTimeLimit = 1;
  });
  ASSERT_TRUE(rig.StartPlaying());
  rig.Tick(101);
  EXPECT_EQ(rig.game->State(), kStatePlayerAims);
  EXPECT_EQ(rig.Settings().aimTicks, 101);
  const u8 cueColour = rig.game->cueBall.colour;
  rig.Tick();
  EXPECT_EQ(rig.game->State(), kStateGrowth);
  EXPECT_EQ(rig.game->cueBall.state, kBallAtRest);  // no shot was made
  // Every later aim of the level ends after one tick, with the same ball.
  ASSERT_TRUE(rig.TickUntil(kStatePlayerAims));
  EXPECT_EQ(rig.game->cueBall.colour, cueColour);
  rig.Tick();
  EXPECT_NE(rig.game->State(), kStatePlayerAims);
}

// A shot straight up an empty column comes back off the top cushion and
// leaves through the bottom row: it bursts and the table is recoloured.
TEST(GameShotTest, ShotIntoTheBottomRowBurstsAndRecolours) {
  GameRig rig(17);
  ASSERT_TRUE(rig.StartPlaying());
  rig.ClearBoard();
  rig.Put(3, 0, 1);
  rig.Put(3, 1, 2);
  rig.Put(4, 21, 3);
  rig.TakeEffects();
  rig.Click(231, 300);
  ASSERT_EQ(rig.game->State(), kStateShot);
  EXPECT_TRUE(rig.game->GetShot().LeavesBottom());
  States path;
  ASSERT_TRUE(rig.TickUntil(kStatePlayerAims, 2000, &path));
  EXPECT_EQ(path, (States{kStateShot, kStateBottomHit, kStateRecolour, kStateBoardCheck, kStatePlayerAims}));
  EXPECT_EQ(rig.TakeEffects(), (Effects{SoundShot, SoundBounce, SoundAlert}));
  // The lost ball went to the burst pool; the three balls stay, recoloured.
  EXPECT_EQ(rig.BallsOnTable(), 3);
  EXPECT_EQ(rig.GetBoard().Cell(25, 10).colour, 0);
}

// A scripted level: two balls of the cue ball's colour low on the table;
// a full-power shot at (258, 460) settles beside them, where the flight as
// first written flew on into the bottom row, and removes the three. The
// cleared table starts the next level.
TEST(GameShotTest, LowClusterAtFullPowerClearsTheLevel) {
  GameRig rig(19);
  ASSERT_TRUE(rig.StartPlaying());
  EXPECT_EQ(rig.game->SaveBuffer().valid, 1);
  const u8 colour = rig.game->cueBall.colour;
  rig.ClearBoard();
  rig.Put(24, 12, colour);
  rig.Put(24, 13, colour);
  rig.Click(470, 11);  // the top of the strip: just over 9.0, kept at 8.0
  EXPECT_EQ(rig.game->cuePower, 8 * kOne);
  rig.TakeEffects();
  rig.Click(258, 460);
  ASSERT_EQ(rig.game->State(), kStateShot);
  EXPECT_FALSE(rig.game->GetShot().LeavesBottom());
  States path;
  ASSERT_TRUE(rig.TickUntil(kStateFlyIn, 2000, &path));
  EXPECT_EQ(path, (States{kStateShot, kStateMatch, kStateRemoval, kStateFlyIn}));
  EXPECT_EQ(rig.TakeEffects(), (Effects{SoundShot, SoundMatch}));
  EXPECT_EQ(rig.Settings().level, 1);
  EXPECT_EQ(rig.Settings().score, 3u);
  EXPECT_EQ(rig.game->ScoreDisplay().Value(), 3);
  EXPECT_EQ(rig.Settings().colourCount, 4);  // EasyRide: 4 + 1 / 2
  EXPECT_EQ(rig.game->SaveBuffer().valid, 0);  // cleared until the next aim
  EXPECT_EQ(rig.game->LevelDisplay().Value(), 2);
  EXPECT_EQ(rig.BallsOnTable(), LevelLayouts::Balls(1));
  ASSERT_TRUE(rig.TickUntil(kStatePlayerAims));
  EXPECT_EQ(rig.game->SaveBuffer().valid, 1);
  EXPECT_EQ(rig.game->SaveBuffer().level, 1);
}

// Straight-up shots pile the balls down the middle until one reaches the
// bottom row: the game ends, the title comes back and a key starts anew.
TEST(GameShotTest, GamePlayedToGameOver) {
  GameRig rig(29);
  ASSERT_TRUE(rig.StartPlaying());
  for (int shots = 0; rig.game->State() == kStatePlayerAims && shots < 400; ++shots) {
    rig.Click(231, 240);
    for (int i = 0; i < 3000; ++i) {
      const u8 s = rig.game->State();
      if (s == kStatePlayerAims || s == kStateGameOver) break;
      rig.Tick();
    }
  }
  ASSERT_EQ(rig.game->State(), kStateGameOver);
  EXPECT_EQ(rig.game->runState, kRunGameOver);
  EXPECT_EQ(rig.game->SaveBuffer().valid, 0);
  rig.TakeEffects();
  ASSERT_TRUE(rig.TickUntil(kStateAfterGame));
  EXPECT_EQ(rig.BallsOnTable(), 0);
  EXPECT_EQ(rig.TakeEffects(), Effects{SoundAlert});
  EXPECT_EQ(rig.game->cueBall.state, kBallHidden);
  EXPECT_FALSE(rig.game->Gauge().Clip().visible);
  const u32 score = rig.Settings().score;
  EXPECT_EQ(rig.game->ScoreDisplay().Value(), static_cast<i32>(score));  // shown after each removal
  rig.Tick(50);  // fireworks over the title
  EXPECT_EQ(rig.game->State(), kStateAfterGame);
  rig.game->OnKeyDown(kXkSpace);
  rig.Tick(2);
  EXPECT_EQ(rig.game->State(), kStateFlyIn);  // through 23 once the effects are cleared
  EXPECT_EQ(rig.Settings().score, 0u);
  EXPECT_GT(score, 0u);
}

// The demo plays game after game; its lost games are no result.
TEST(GameDemoTest, DemoLosesWithoutEndingTheRun) {
  GameRig rig(31);
  rig.game->StartDemo();
  EXPECT_EQ(rig.game->runState, kRunDemo);
  ASSERT_TRUE(rig.TickUntil(kStateComputerAims));
  // Two balls in the bottom row, neighbours of each other: the board check
  // after the computer's shot ends the game.
  rig.Put(25, 0, 1);
  rig.Put(25, 1, 2);
  ASSERT_TRUE(rig.TickUntil(kStateGameOver));
  EXPECT_EQ(rig.game->runState, kRunDemo);
  ASSERT_TRUE(rig.TickUntil(kStateFlyIn, 2000));  // 21 -> 22 -> 1 -> 2 -> 4
  EXPECT_EQ(rig.game->runState, kRunDemo);
  EXPECT_EQ(rig.Settings().level, 0);
  EXPECT_EQ(rig.game->SaveGame(kRecordAutosave), 0);  // the computer's game is never saved
}

// The title: an alert, fireworks for 300 ticks, then a new game; a click
// leaves it at once.
TEST(GameDemoTest, TitleShowsFireworksThenStartsAGame) {
  GameRig rig(37);
  EXPECT_EQ(rig.TakeEffects(), Effects{SoundAlert});
  rig.Tick(300);
  EXPECT_EQ(rig.game->State(), kStateTitle);
  EXPECT_GT(rig.game->Effects().bursts.LiveCount(), 0);
  rig.Tick(2);
  EXPECT_EQ(rig.game->State(), kStateFlyIn);  // through 23 once the effects are cleared

  GameRig click(37);
  click.Tick(10);
  click.game->OnMouseDown(300, 300);
  EXPECT_EQ(click.game->State(), kStateClearEffects);
}

}  // namespace
