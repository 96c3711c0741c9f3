#include "game/game.h"

#include "audio/sound_manager.h"
#include "game/ball_fx.h"
#include "game/board.h"
#include "platform/system.h"
#include "platform/window.h"
#include "ui/app_context.h"
#include "ui/settings.h"
#include "ui/wnd_manager.h"

namespace {

constexpr short kSoundEffects = 4;

// The fixed layout of the game screen (pixels).
constexpr int kScoreBoxX = 486, kScoreBoxY = 272, kScoreBoxWidth = 150;
constexpr int kLevelBoxX = 516, kLevelBoxY = 330, kLevelBoxWidth = 80;
constexpr int kDigitStep = 25;
constexpr int kSkillBadgeX = 486, kSkillBadgeY = 364;

void PlaceClip(OClip& clip, int image, int x, int y) {
  clip.imageIndex = static_cast<i16>(image);
  clip.anchor = kAnchorTopLeft;
  clip.x = x * kFixOne;
  clip.y = y * kFixOne;
}

}  // namespace

GGame* GGame::Create(OWindow* window, ImagePack* pack, PointerList<OClip>* clipList,
                     DirtyList* dirtyList, AppContext* context) {
  GGame* game = new GGame();
  CheckAlloc(game);
  game->Init(window, pack, clipList, dirtyList, context);
  return game;
}

GGame::GGame() {
  for (int i = 0; i < kQuadrants; ++i) {
    tableClips_[i].imageIndex = static_cast<i16>(kFirstTableImage + i);
    titleClips_[i].imageIndex = static_cast<i16>(kFirstTitleImage + i);
  }
  scoreCaption_.imageIndex = kScoreCaptionImage;
  levelCaption_.imageIndex = kLevelCaptionImage;
  skillBadge_.imageIndex = kFirstSkillImage;
}

GGame::~GGame() {
  delete sound_;  // stops the sound thread first
  delete save_;
  delete computer_;
  delete shot_;
  delete board_;
  delete fx_;
}

void GGame::Init(OWindow* owner, ImagePack* images, PointerList<OClip>* clipList,
                 DirtyList* dirtyList, AppContext* context) {
  OEngine::Init(owner, images, clipList, dirtyList);
  context_ = context;
  settings_ = context->settings;
  fx_ = new BallFxSet(*context);
  CheckAlloc(fx_);
  board_ = new Board(*context, *fx_);
  CheckAlloc(board_);
  shot_ = new Shot(*board_, cueBall, nextBall, *settings_, context->colourRandom, fx_->bursts);
  CheckAlloc(shot_);
  shot_->sound = [this](short effect) { Play(effect); };
  computer_ = new ComputerPlayer(*board_, cueBall, context->generalRandom, context->trig);
  CheckAlloc(computer_);
  save_ = new SaveRecord();  // value-initialised: all zero
  CheckAlloc(save_);
  sound_ = SoundManager::Create(kSoundEffects);
}

i32 GGame::Activate() {
  LetGoKey();
  sound_->SetPanMode(settings_->volume);
  sound_->SetSoundOn(settings_->sound);
  PlaceClips();
  board_->BuildLattice();
  const int height = window ? window->Height() : 480;
  cue_.Init(height, pack);
  if (settings_->controls == kControlsPen) {
    cuePower = 4 * kOne;
    cue_.SetPower(cuePower);
  }
  score_.Init(kScoreBoxX, kScoreBoxY, kScoreBoxWidth, kDigitStep);
  score_.SetValue(0);
  level_.Init(kLevelBoxX, kLevelBoxY, kLevelBoxWidth, kDigitStep);
  level_.SetValue(0);
  RegisterClips();
  aimer_.Init(settings_->controls, kShootX * kOne, kShootY * kOne, settings_->shadows);
  SetState(kStateTitle);
  RepaintAll();
  return 1;
}

void GGame::PlaceClips() {
  const int halfWidth = (window ? window->Width() : 640) / 2;
  const int halfHeight = (window ? window->Height() : 480) / 2;
  for (int i = 0; i < kQuadrants; ++i) {
    const int x = (i & 1) * halfWidth, y = (i >> 1) * halfHeight;
    PlaceClip(tableClips_[i], kFirstTableImage + i, x, y);
    PlaceClip(titleClips_[i], kFirstTitleImage + i, x, y);
  }
  PlaceClip(scoreCaption_, kScoreCaptionImage, kScoreBoxX, kScoreBoxY);
  PlaceClip(levelCaption_, kLevelCaptionImage, kLevelBoxX, kLevelBoxY);
  PlaceClip(skillBadge_, kFirstSkillImage + settings_->skill, kSkillBadgeX, kSkillBadgeY);
}

// The list's order is the drawing order: the pictures first, then the
// buttons and the level, the board, the aiming line, the two balls, the
// score and last the effects over everything. A full list refuses the
// rest without a report.
void GGame::RegisterClips() {
  if (!clips) return;
  for (OClip& c : titleClips_) clips->Add(&c);
  for (OClip& c : tableClips_) clips->Add(&c);
  for (GMenuButton* b : Buttons()) clips->Add(b);
  level_.RegisterClips(*clips);
  cue_.RegisterClips(*clips);
  clips->Add(&levelCaption_);
  clips->Add(&skillBadge_);
  board_->RegisterClips(*clips);
  aimer_.RegisterClips(*clips);
  cueBall.RegisterClips(*clips);
  nextBall.RegisterClips(*clips);
  score_.RegisterClips(*clips);
  clips->Add(&scoreCaption_);
  fx_->bursts.RegisterClips(*clips);
  fx_->smallBalls.RegisterClips(*clips);
}

void GGame::ShowHud(u8 title) {
  const u8 table = title ? 0 : 1;
  for (OClip& c : titleClips_) c.visible = title ? 1 : 0;
  for (OClip& c : tableClips_) c.visible = table;
  scoreCaption_.visible = table;
  levelCaption_.visible = table;
  skillBadge_.visible = table;
  cue_.SetVisible(table);
  score_.Show(table);
  level_.Show(table);
  aimer_.ShowDots(table);
}

void GGame::AttractStep() { fx_->bursts.AttractStep(window ? window->Height() : 480); }

void GGame::Pause() {
  if (state >= kStateNewGame && state <= kStateGameOver) {
    menuButton_.SetState(2);
    DrawChanged();
  }
  rememberedShadows_ = settings_->shadows;
  rememberedPhysics_ = settings_->physics;
  rememberedControls_ = settings_->controls;
}

void GGame::Resume() {
  // The release of a key held when the screen opened went to the screen:
  // let the key go here, or the aim would turn (or the cue pull) by itself.
  LetGoKey();
  if (state >= kStateNewGame && state <= kStateGameOver) menuButton_.SetState(1);
  RepaintAll();
}

void GGame::ApplySettings() {
  const SettingsRecord& s = *settings_;
  if (s.controls != rememberedControls_) {
    aimer_.mode = s.controls;
    if (s.controls == kControlsPen) {
      aimer_.ShowDots(0);
    } else {
      aimer_.MoveTarget(0, 0);
    }
    cuePower = s.controls == kControlsPen ? 4 * kOne : 0;
    cue_.SetPower(cuePower);
  }
  if (s.shadows != rememberedShadows_) SetShadows(s.shadows);
  if (s.physics != rememberedPhysics_) SetPhysics(s.physics);
  rememberedControls_ = s.controls;
  rememberedShadows_ = s.shadows;
  rememberedPhysics_ = s.physics;
  sound_->SetPanMode(s.volume);
  sound_->SetSoundOn(s.sound);
}

// Switched on, the resting balls are projected again, so that their
// shadows take their place and size at once instead of at the next move.
void GGame::SetShadows(u8 on) {
  board_->SetShadows(on);
  aimer_.SetShadows(on);
  fx_->bursts.SetShadows(on);
  fx_->smallBalls.SetShadows(on);
  cueBall.SetShadow(on);
  nextBall.SetShadow(on);
  if (!on) return;
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) board_->Cell(r, c).Project();
  }
  for (Ball& dot : aimer_.dots) dot.Project();
  cueBall.Project();
  nextBall.Project();
}

// The lattice is laid out again under the board either way; switched off,
// every ball goes back to its cell centre at once.
void GGame::SetPhysics(u8 on) {
  board_->BuildLattice();
  if (on) return;
  for (int r = 0; r < Board::kRows; ++r) {
    for (int c = 0; c < Board::kColumns; ++c) {
      Ball& b = board_->Cell(r, c);
      const LatticeNode& n = fx_->lattice.CellNode(r, c);
      b.x = n.restX;
      b.y = n.restY;
      b.Project();
    }
  }
}

void GGame::NewGame() {
  demo = 0;
  // The snapshot belongs to the game being left: leaving during the
  // fly-in of the new one must not save the old position again.
  save_->valid = 0;
  SetState(kStateNewGame);
  runState = kRunPlaying;
}

void GGame::StartDemo() {
  demo = 1;
  SetState(kStateNewGame);
  runState = kRunDemo;
}

void GGame::ShowScore() {
  const u32 score = settings_->score;
  score_.SetValue(score > NumberDisplay::kLargest ? NumberDisplay::kLargest : static_cast<i32>(score));
}

void GGame::Play(short effect) { sound_->Play(effect); }

void GGame::SendCommand(u8 code) {
  if (auto* manager = dynamic_cast<IWndManager*>(window)) manager->OnCommand(code);
}

void GGame::DrawChanged() {
  Rect area;
  if (dirty && DrawDirty(area, 0) && window) window->UpdateRect(area);
}

void GGame::RepaintAll() {
  if (!dirty || !window) return;
  Rect area(0, 0, window->Width() - 1, window->Height() - 1);
  if (DrawDirty(area, 1)) window->UpdateRect(area);
}
