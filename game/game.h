// The game screen and rules engine: one object, created when the game
// window starts and kept until the program ends. The window manager drives
// it like a screen (ticks and input while no screen is open); it draws its
// clips from the shared list through the shared dirty list. Around the
// board, the shot, the computer player and the effects it holds the
// 24-state game machine, the input, saving and loading a game, the score
// and level displays, the title picture and the five window buttons.
#pragma once

#include <array>

#include "game/aimer.h"
#include "game/ball.h"
#include "game/computer_player.h"
#include "game/cue_gauge.h"
#include "game/menu_button.h"
#include "game/number_display.h"
#include "game/save_record.h"
#include "game/shot.h"
#include "platform/clip.h"
#include "platform/types.h"
#include "ui/game_interface.h"

class AppContext;
class BallFxSet;
class Board;
class DirtyList;
class ImagePack;
class OWindow;
class SoundManager;
struct SettingsRecord;

// The states of the game machine, kept in the engine's state byte. 6, 17
// and 18 are numbers only: nothing enters them.
enum GameState : u8 {
  kStateTitle = 0,
  kStateNewGame = 1,
  kStateNewLevel = 2,
  kStateLoadedGame = 3,
  kStateFlyIn = 4,
  kStateBoardCheck = 5,
  kStateUnused6 = 6,
  kStatePlayerAims = 7,
  kStateComputerAims = 8,
  kStateComputerTurns = 9,
  kStateComputerPulls = 10,
  kStatePlayerPulls = 11,
  kStateShot = 12,
  kStateMatch = 13,
  kStateRemoval = 14,
  kStateAfterRemoval = 15,
  kStateGrowth = 16,
  kStateUnused17 = 17,
  kStateUnused18 = 18,
  kStateBottomHit = 19,
  kStateRecolour = 20,
  kStateGameOver = 21,
  kStateAfterGame = 22,
  kStateClearEffects = 23,
};
constexpr u8 kLastGameState = kStateClearEffects;

// The Controls setting.
constexpr u8 kControlsKeys = 0;
constexpr u8 kControlsPen = 1;

class GGame : public IGame {
 public:
  static constexpr int kQuadrants = 4;
  static constexpr int kFirstTableImage = 323;
  static constexpr int kFirstTitleImage = 339;
  static constexpr int kScoreCaptionImage = 329;
  static constexpr int kLevelCaptionImage = 330;
  static constexpr int kFirstSkillImage = 331;
  static constexpr i32 kOne = kFixOne;  // 1.0 in 24.8 and 8.8

  // Allocates, constructs and initialises the game for the window.
  static GGame* Create(OWindow* window, ImagePack* pack, PointerList<OClip>* clipList,
                       DirtyList* dirtyList, AppContext* context);
  GGame();
  // Stops the sound, then frees the save buffer, the board and the effects.
  ~GGame() override;

  // Keeps the context and creates the effects, the board, the save buffer
  // and the sound manager.
  void Init(OWindow* window, ImagePack* pack, PointerList<OClip>* clipList, DirtyList* dirtyList,
            AppContext* context);

  // Engine slots.
  // Lays the screen out, registers every clip and shows the title.
  i32 Activate() override;
  // One frame: held-key aiming, the state's action, then the animations
  // and the redraw of what changed.
  i32 Tick() override;
  i32 OnKeyDown(u32 keysym) override;
  i32 OnKeyUp(u32 keysym) override;
  i32 OnMouseDown(i16 x, i16 y) override;
  i32 OnMouseUp(i16 x, i16 y) override;
  // Enters a state and runs its entry action at once.
  void SetState(u8 s) override;

  // Game slots.
  // Lights the menu button and remembers the options the menu may change.
  void Pause() override;
  void NewGame() override;
  void StartDemo() override;
  // Applies the options changed since Pause.
  void ApplySettings() override;
  // Unlights the menu button and repaints the whole game screen.
  void Resume() override;
  i32 LoadGame(i32 record) override;
  i32 SaveGame(i32 record) override;

  // Fills the save buffer with the position as the player starts to aim.
  void SnapshotSave();
  // 1 shows the title picture; 0 the table with its gauge, numbers and dots.
  void ShowHud(u8 title);
  // One tick of the title and game-over fireworks.
  void AttractStep();

  // For the window, the tests and the benchmarks.
  GameState State() const { return static_cast<GameState>(state); }
  Board& GetBoard() { return *board_; }
  BallFxSet& Effects() { return *fx_; }
  Aimer& GetAimer() { return aimer_; }
  Shot& GetShot() { return *shot_; }
  ComputerPlayer& Computer() { return *computer_; }
  CueGauge& Gauge() { return cue_; }
  const NumberDisplay& ScoreDisplay() const { return score_; }
  const NumberDisplay& LevelDisplay() const { return level_; }
  const SaveRecord& SaveBuffer() const { return *save_; }
  GMenuButton& MenuButton() { return menuButton_; }

  Ball cueBall;   // at the shooting point; the ball that is shot and flies
  Ball nextBall;  // shown below the cue ball
  i16 tickCounter = 0;  // ticks inside a state (title, cue pull)
  u32 heldKey = 0;      // KeyCode, 0 when none
  i16 keyTicks = 0;     // ticks the held key has been down
  u8 spaceLatch = 0;    // 1 once the held Space key has started a pull
  u8 keyTicked = 0;     // 1 once a tick has run with the held key
  u8 keyUpDue = 0;      // released before any tick saw it: let go after the next
  i32 cuePower = kOne;  // 8.8, 1.0..8.0 for a shot
  u8 demo = 0;          // 1 while the computer plays

 private:
  // Layout and clips.
  void PlaceClips();
  void RegisterClips();
  void SetShadows(u8 on);
  void SetPhysics(u8 on);
  // Paints the whole window through the dirty redraw, so that every clip's
  // last drawn place is known again and nothing leaves a trail.
  void RepaintAll();
  // Repaints what changed and sends it to the window.
  void DrawChanged();
  void SendCommand(u8 code);
  // The score display shows the settings' score.
  void ShowScore();

  // The state machine.
  void EnterState(u8 s);
  void TickState();
  void HeldKeyStep();
  void StartLevel(bool newLevel);
  void BoardCheck();
  void RollUp();
  void StepLattice(u8 flying);
  // Counts an aiming tick; true when the aim time limit sent the game to
  // growth.
  bool AimTimeLimit(u16 limit);
  void TitleTick();
  void ShotEntry();
  void ShotTick();
  void MatchTick();
  void PullTick(bool computer);
  void Epilogue();
  bool NoBurstLeft() const;
  void Play(short effect);

  // Input.
  // The window buttons in the order they are tested: menu, minimise,
  // window size, help, close.
  std::array<GMenuButton*, 5> Buttons();
  // The first window button under (x, y); null when none.
  GMenuButton* ButtonAt(int x, int y);
  void PenClick(int x, int y);
  // What a window button does when it is released over itself.
  void ButtonAction(GMenuButton& button);
  // Forgets the held key, its ticks and the Space latch.
  void LetGoKey();

  AppContext* context_ = nullptr;
  SettingsRecord* settings_ = nullptr;
  BallFxSet* fx_ = nullptr;
  Board* board_ = nullptr;
  Shot* shot_ = nullptr;
  ComputerPlayer* computer_ = nullptr;
  SaveRecord* save_ = nullptr;
  SoundManager* sound_ = nullptr;

  Aimer aimer_;
  CueGauge cue_;
  NumberDisplay score_;
  NumberDisplay level_;
  GMenuButton menuButton_;
  GMinButton minButton_;
  GMaxButton maxButton_;
  GHelpButton helpButton_;
  GCloseButton closeButton_;
  OClip tableClips_[kQuadrants];
  OClip titleClips_[kQuadrants];
  OClip scoreCaption_;
  OClip levelCaption_;
  OClip skillBadge_;

  // The options as they were when the menu opened.
  u8 rememberedShadows_ = 0;
  u8 rememberedPhysics_ = 0;
  u8 rememberedControls_ = 0;
};
