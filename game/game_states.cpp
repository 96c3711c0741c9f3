// The game machine: the entry action of every state, the tick action, and
// the prologue (held-key aiming) and epilogue (animation and redraw) around
// it.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "audio/sound_manager.h"
#include "game/ball_fx.h"
#include "game/board.h"
#include "game/game.h"
#include "platform/key_codes.h"
#include "ui/app_context.h"
#include "ui/settings.h"

namespace {

constexpr i32 kOne = kFixOne;
constexpr i32 kRestHeight = 10 * kOne;
constexpr i32 kRollUpEnd = 640;  // 2.5 px from the shooting point
constexpr u16 kAnimationDelay = 25;
constexpr u16 kGameOverDelay = 200;  // one burst every two ticks
constexpr i16 kTitleTicks = 300;     // six seconds of fireworks
constexpr u16 kPlayerAimLimit = 100;
constexpr u16 kComputerAimLimit = 50;
constexpr i16 kPullTicksPerStep = 3;
constexpr i16 kPullSteps = 9;  // counter / 3 reaching 9 fires the shot
constexpr i32 kMinPower = kOne;
constexpr i32 kMaxPower = 8 * kOne;

}  // namespace

void GGame::SetState(u8 s) {
  state = s;
  EnterState(s);
}

void GGame::EnterState(u8 s) {
  switch (s) {
    case kStateTitle:
      Play(SoundAlert);
      tickCounter = 0;
      ShowHud(1);
      break;
    case kStateNewGame:
      settings_->level = 0xFFFF;  // the new level below makes it 0
      settings_->score = 0;
      SetState(kStateNewLevel);
      break;
    case kStateNewLevel:
      StartLevel(true);
      break;
    case kStateLoadedGame:
      StartLevel(false);
      break;
    case kStateFlyIn:
      board_->AnimateCells(kBallFlyIn, kAnimationDelay, kOne, Board::kRows);
      break;
    case kStateBoardCheck:
      BoardCheck();
      break;
    case kStatePlayerAims:
      if (demo) {
        SetState(kStateComputerAims);
        break;
      }
      SnapshotSave();
      aimer_.Turn(0, context_->trig, *board_);
      aimer_.ShowDots(1);
      break;
    case kStateComputerAims:
      computer_->ResetAim();
      aimer_.Turn(0, context_->trig, *board_);
      aimer_.ShowDots(1);
      break;
    case kStateComputerPulls:
      // The computer pulls one step above the power it traced.
      cuePower = std::min<i32>(computer_->bestPower + 1, 8) * kOne;
      tickCounter = 1;
      cue_.SetPower(kOne);
      break;
    case kStatePlayerPulls:
      cuePower = 0;
      tickCounter = 0;
      break;
    case kStateShot:
      ShotEntry();
      break;
    case kStateAfterRemoval:
      SetState(kStateBoardCheck);
      break;
    case kStateGrowth:
      if (!board_->GrowLife()) SetState(kStateBoardCheck);
      break;
    case kStateBottomHit:
      board_->AnimateCells(kBallShownWaitGrow, kAnimationDelay, kOne, Board::kRows);
      break;
    case kStateRecolour:
      board_->RecolourAll();
      break;
    case kStateGameOver:
      board_->AnimateCells(kBallWaitBurst, kGameOverDelay, kOne, Board::kRows);
      // The computer's lost game is no result: the demo stays the demo.
      if (!demo) runState = kRunGameOver;
      break;
    case kStateAfterGame:
      Play(SoundAlert);
      if (demo) {
        SetState(kStateNewGame);  // the demo plays game after game
        break;
      }
      ShowHud(1);
      cueBall.SetState(kBallHidden);
      nextBall.SetState(kBallHidden);
      runState = kRunGameOver;
      break;
    case kStateClearEffects:
      fx_->bursts.Clear();
      break;
    default:
      break;  // 6, 13, 14, 17, 18 and values above 23 enter without an action
  }
}

// Starting a level: a new one (state 2) or a loaded one (state 3), which
// keeps its level, its counters and the skill's colour count.
void GGame::StartLevel(bool newLevel) {
  SettingsRecord& s = *settings_;
  ShowHud(0);
  fx_->bursts.Clear();
  if (newLevel) ++s.level;
  s.colourCount = newLevel ? Board::LevelColours(s.skill, s.level) : Board::SkillColours(s.skill);
  skillBadge_.imageIndex = static_cast<i16>(kFirstSkillImage + s.skill);
  if (newLevel) board_->LoadLevel();
  aimer_.ShowDots(0);
  aimer_.Turn(static_cast<i16>(90 - aimer_.angle), context_->trig, *board_);
  cueBall.SetState(kBallHidden);
  nextBall.SetState(kBallHidden);
  if (newLevel) {
    s.levelCounters[0] = s.levelCounters[1] = 0;
    s.aimTicks = 0;
  }
  level_.SetValue(s.level + 1);
  ShowScore();
  SetState(kStateFlyIn);
}

void GGame::BoardCheck() {
  SettingsRecord& s = *settings_;
  bool anyBall = false;
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) {
      if (board_->Cell(r, c).colour == 0) continue;
      if (r == Board::kRows - 1) {
        // A ball in the bottom row ends the game.
        if (s.countShots == 1) s.score = 0;
        save_->valid = 0;
        SetState(kStateGameOver);
        return;
      }
      anyBall = true;
    }
  }
  if (!anyBall) {
    save_->valid = 0;  // the table is cleared: the next level starts
    SetState(kStateNewLevel);
    return;
  }
  // The cue ball still at rest was never shot (the aim time ran out).
  if (cueBall.state == kBallAtRest) {
    SetState(kStatePlayerAims);
    return;
  }
  shot_->NextBall();  // then the two balls roll up
}

i32 GGame::Tick() {
  HeldKeyStep();
  TickState();
  Epilogue();
  // A quick tap has now acted as a key held for one tick.
  if (heldKey) {
    keyTicked = 1;
    if (keyUpDue) LetGoKey();
  }
  return 1;
}

// Held-key aiming: only while the player aims with the keys.
void GGame::HeldKeyStep() {
  if (state != kStatePlayerAims || settings_->controls != kControlsKeys || heldKey == 0) return;
  if (keyTicks < INT16_MAX) ++keyTicks;  // a key held for minutes keeps its pace
  const i16 t = keyTicks;
  switch (heldKey) {
    case kKeyUp:
      if (t % 6 == 1) aimer_.Turn(-1, context_->trig, *board_);
      break;
    case kKeyDown:
      if (t % 6 == 1) aimer_.Turn(1, context_->trig, *board_);
      break;
    case kKeyLeft:
      aimer_.Turn(static_cast<i16>(t / 6 + 1), context_->trig, *board_);
      break;
    case kKeyRight:
      aimer_.Turn(static_cast<i16>(-(t / 6 + 1)), context_->trig, *board_);
      break;
    case kKeySpace:
      if (!spaceLatch) {
        spaceLatch = 1;
        SetState(kStatePlayerPulls);
      }
      break;
    default:
      break;
  }
}

void GGame::TickState() {
  switch (state) {
    case kStateTitle:
      TitleTick();
      break;
    case kStateFlyIn:
      if (board_->AnyOtherState(kBallAtRest)) SetState(kStateBoardCheck);
      break;
    case kStateBoardCheck:
      StepLattice(0);
      RollUp();
      break;
    case kStatePlayerAims:
      StepLattice(0);
      AimTimeLimit(kPlayerAimLimit);
      break;
    case kStateComputerAims:
      StepLattice(0);
      if (!AimTimeLimit(kComputerAimLimit) && !computer_->ComputerAim()) {
        SetState(kStateComputerTurns);
      }
      break;
    case kStateComputerTurns:
      StepLattice(0);
      if (computer_->bestAngle == aimer_.angle) {
        SetState(kStateComputerPulls);
      } else {
        aimer_.Turn(computer_->bestAngle < aimer_.angle ? -1 : 1, context_->trig, *board_);
      }
      break;
    case kStateComputerPulls:
      PullTick(true);
      break;
    case kStatePlayerPulls:
      PullTick(false);
      break;
    case kStateShot:
      ShotTick();
      break;
    case kStateMatch:
      MatchTick();
      break;
    case kStateRemoval:
      StepLattice(0);
      if (NoBurstLeft()) {
        ShowScore();
        SetState(kStateAfterRemoval);
      }
      break;
    case kStateGrowth:
    case kStateRecolour:
      StepLattice(0);
      if (board_->AnyOtherState(kBallAtRest)) SetState(kStateBoardCheck);
      break;
    case kStateBottomHit:
      StepLattice(0);
      if (NoBurstLeft()) SetState(kStateRecolour);
      break;
    case kStateGameOver:
      StepLattice(0);
      if (board_->AnyOtherState(kBallHidden) && fx_->bursts.AllFree()) SetState(kStateAfterGame);
      break;
    case kStateAfterGame:
      if (heldKey) {
        SetState(kStateClearEffects);
      } else {
        AttractStep();
      }
      break;
    case kStateClearEffects:
      if (fx_->bursts.AllFree()) SetState(kStateNewGame);
      break;
    default:
      break;  // 1, 2, 3, 6, 15, 17, 18 and values above 23: only the epilogue
  }
}

void GGame::TitleTick() {
  if (heldKey) {
    SetState(kStateClearEffects);
    return;
  }
  const i16 before = tickCounter++;
  if (before < kTitleTicks) {
    AttractStep();
  } else {
    SetState(kStateClearEffects);
  }
}

void GGame::StepLattice(u8 flying) { board_->StepLattice(cueBall, shot_->speed, flying); }

bool GGame::NoBurstLeft() const {
  return board_->AnyInState(kBallWaitBurst) && board_->AnyInState(kBallBurst);
}

bool GGame::AimTimeLimit(u16 limit) {
  if (settings_->aimTimeLimit != 1) return false;
  const u16 before = settings_->aimTicks++;
  if (before <= limit) return false;
  SetState(kStateGrowth);  // no shot: the cue ball stays where it is
  return true;
}

// The cue and next balls roll up until the cue ball is at the shooting
// point; then the player (or the computer) aims.
void GGame::RollUp() {
  if (std::abs(cueBall.y - kShootY * kOne) <= kRollUpEnd) {
    cueBall.y = kShootY * kOne;
    cueBall.z = kRestHeight;
    cueBall.Project();
    nextBall.x = cueBall.x;
    nextBall.y = kNextY * kOne;
    nextBall.z = kRestHeight;
    nextBall.Project();
    SetState(kStatePlayerAims);
    return;
  }
  cueBall.Advance();
  nextBall.Advance();
}

// The pull of the cue: one power step every three ticks. The computer
// stops at the power it chose; the player when the key is let go or at
// the full pull.
void GGame::PullTick(bool computer) {
  StepLattice(0);
  ++tickCounter;
  const i32 power = (tickCounter / kPullTicksPerStep + 1) * kOne;
  if (computer) {
    cue_.SetPower(power);
    if (power == cuePower) SetState(kStateShot);
    return;
  }
  cuePower = std::clamp(power, kMinPower, kMaxPower);
  cue_.SetPower(cuePower);
  if (tickCounter / kPullTicksPerStep >= kPullSteps || heldKey == 0) SetState(kStateShot);
}

void GGame::ShotEntry() {
  // A target that is not above the ball gives no shot: back to aiming.
  if (!shot_->ComputeShot(aimer_.targetX, aimer_.targetY, cuePower)) {
    SetState(kStatePlayerAims);
    return;
  }
  Play(SoundShot);
  if (settings_->controls != kControlsPen) cue_.SetPower(0);  // shows 1.0; the power stays
  aimer_.ShowDots(0);
}

void GGame::ShotTick() {
  StepLattice(1);
  if (shot_->FlightStep()) return;
  // The flight knows whether the ball left through the bottom; the
  // direction it arrives in does not tell.
  if (shot_->LeavesBottom()) {
    Play(SoundAlert);
    SetState(kStateBottomHit);
    return;
  }
  SetState(kStateMatch);  // the flight has seeded the cell's lattice node
}

void GGame::MatchTick() {
  SettingsRecord& s = *settings_;
  if (s.countShots == 1) {
    ++s.score;
    ShowScore();
  }
  const i16 n = board_->FindCluster(shot_->LandingRow(), shot_->LandingCol(), 0);
  if (n < 3) {
    Play(SoundBounce);
    SetState(kStateGrowth);
    return;
  }
  Play(SoundMatch);
  board_->AddScore(n);
  board_->CountColours();
  SetState(kStateRemoval);
}

void GGame::Epilogue() {
  board_->StepAll();
  cueBall.Step();
  nextBall.Step();
  fx_->bursts.UpdateAll();
  fx_->smallBalls.UpdateAll();
  if (menuButton_.state == 2) menuButton_.SetState(1);
  DrawChanged();
}
