#include "shell/gwindow.h"

#include <cstdio>
#include <cstring>

#include "audio/music_player.h"
#include "game/game.h"
#include "platform/key_codes.h"
#include "platform/record_file.h"
#include "platform/startup.h"
#include "platform/str.h"
#include "platform/system.h"
#include "shell/about_wnd.h"
#include "shell/choose_language_wnd.h"
#include "shell/help_wnd.h"
#include "shell/keyboard_wnd.h"
#include "shell/menu_wnd.h"
#include "shell/options_wnd.h"
#include "shell/pick_game_wnd.h"
#include "shell/result_submission.h"
#include "shell/top10_record.h"
#include "shell/top10_wnd.h"
#include "ui/app_context.h"
#include "ui/game_interface.h"
#include "ui/interface.h"
#include "ui/language.h"
#include "ui/settings.h"

namespace {

// How long the title waits for the player before play begins by itself.
constexpr u32 kTitleTimeoutMs = 5000;
// The longest name the keyboard takes for the top-10 table.
constexpr u8 kNameMaxLength = 25;

}  // namespace

GWindow::~GWindow() {
  delete game;
  game = nullptr;
}

i32 GWindow::OnCreate() {
  IWndManager::OnCreate();
  SetFramePeriod(20000);
  SettingsRecord& settings = *context->settings;
  settings.Load(&keepSettingsRecord);
  if (keepSettingsRecord) ReportUnreadableSettings();
  context->language->SetLanguage(settings.language);
  if (music) {
    music->SetEnabled(settings.music == 1);
    music->SetVolume(static_cast<i8>(settings.volume));
    music->Play(-1);
  }
  settings.gameStarted = 0;
  game = GGame::Create(this, imagePack, clipList, dirtyList, context);

  if (game) {
    game->background = settings.background;
    game->clearFlag = 1;
    game->ClearBackground(true);
    game->OnInit();
  }
  OnCommand(kCmdGameInput);
  if (game) {
    game->SetRunState(kRunTitle);
    game->Activate();
  }
  SetFullScreen(settings.windowMode);
  startTime = clock();
  return 1;
}

void GWindow::OnExit() {
  SettingsRecord& settings = *context->settings;
  if (!keepSettingsRecord) settings.Save();
  if (!game || !settings.autosave) return;
  // A game being played is kept for the next start. After a lost game the
  // snapshot is no longer valid; writing it replaces an older autosave, so
  // the lost game does not come back.
  const u8 run = game->GetRunState();
  if (run == kRunPlaying || run == kRunGameOver) game->SaveGame(kRecordAutosave);
}

void GWindow::OnTimer(u16 ms) {
  (void)ms;
  if (game && game->GetRunState() == kRunTitle &&
      TickMsSince(startTime, clock()) > kTitleTimeoutMs) {
    PollGameResult();
  }
  IWndManager::OnTimer(0);
}

u32 GWindow::PollGameResult() {
  if (!GameIsTarget()) return 0;
  switch (game->GetRunState()) {
    case kRunTitle:
      OnCommand(kCmdLeaveTitle);
      return 1;
    case kRunDemo:
      OnCommand(kCmdMenu);
      return 1;
    case kRunPaused:
      game->SetRunState(kRunPlaying);
      return 1;
    case kRunGameOver:
      OnCommand(kCmdGameOver);
      return 1;
    default:
      return 0;
  }
}

void GWindow::OnKeyDown(u32 keysym) {
  // Held down, the key that opened the name entry repeats: neither its
  // repeats nor their characters are typed into the name.
  if (swallowKey && keysym == swallowedKey && !GameIsTarget()) {
    swallowChar = true;
    return;
  }
  if (GameIsTarget()) {
    if (PollGameResult()) {
      swallowKey = true;
      swallowedKey = keysym;
      return;
    }
    if (KeysymToKey(keysym) == kKeyEscape) {
      OnCommand(kCmdMenu);
      return;
    }
  }
  IWndManager::OnKeyDown(keysym);
}

void GWindow::OnKeyUp(u32 keysym) {
  // The character of this release, if any, comes next.
  swallowChar = swallowKey && keysym == swallowedKey;
  if (swallowChar) swallowKey = false;
  IWndManager::OnKeyUp(keysym);
}

void GWindow::OnChar(char c) {
  if (swallowChar) {
    swallowChar = false;
    return;
  }
  IWndManager::OnChar(c);
}

void GWindow::OnMouseDown(i16 x, i16 y) {
  if (!inputTarget) return;
  if (!GameIsTarget()) {
    inputTarget->OnMouseDown(x, y);
    return;
  }
  if (!PollGameResult()) game->OnMouseDown(x, y);
  // The corner at the bottom right of the game screen opens the home page.
  if (x > 502 && y > 463) OpenURL(kHomePageAddress);
}

u32 GWindow::OnCommand(u8 code) {
  u32 handled = HandleGameCommand(code);
  if (!handled || code == kCmdNewGame) handled = IWndManager::OnCommand(code);
  if (inputTarget) {
    inputTarget->background = context->settings->background;
    inputTarget->clearFlag = 1;
  }
  return handled;
}

u32 GWindow::HandleGameCommand(u8 code) {
  SettingsRecord& settings = *context->settings;
  switch (code) {
    case kCmdNewGame:
      settings.gameStarted = 1;
      return 1;
    case kCmdGameOver:
      AskForName();
      return 1;
    case kCmdNameEntered:
      StoreResult();
      return 1;
    case kCmdTop10:
      PushScreen(ITop10Wnd::Create(this, kCmdNone));
      return 1;
    case kCmdLeaveTitle:
      if (settings.autosave) {
        if (game && !game->LoadGame(kRecordAutosave)) game->NewGame();
      } else {
        OnCommand(kCmdNewGame);
      }
      settings.gameStarted = 1;
      return 1;
    case kCmdContinueDemoGame:
      if (!game || !game->LoadGame(kRecordDemoInterrupt)) OnCommand(kCmdNewGame);
      return 1;
    case kCmdMenu:
      if (game) game->Pause();
      PushScreen(GMenuWnd::Create(this));
      return 1;
    case kCmdOptions:
      PushScreen(GOptionsWnd::Create(this, kCmdApplySettings));
      return 1;
    case kCmdPickGame:
      PushScreen(GPickGameWnd::Create(this, kCmdNone));
      return 1;
    case kCmdLanguage:
      PushScreen(IChooseLanguageWnd::Create(this, kCmdNone));
      return 1;
    case kCmdPublish:
      SubmitResult(settings.skill);  // no browser when the table cannot be read
      return 1;
    case kCmdAbout:
      PushScreen(IAboutWnd::Create(this, kCmdMenu));
      return 1;
    case kCmdHelp:
      PushScreen(IHelpWnd::Create(this, kCmdNone));
      return 1;
    default:
      return 0;
  }
}

void GWindow::AskForName() {
  const SettingsRecord& settings = *context->settings;
  Top10Record record;
  record.Load(settings.skill, context->language);
  const i32 score = static_cast<i32>(settings.score);
  if (!record.Qualifies(score, Top10Record::Order(settings.countShots))) {
    if (game) game->NewGame();
    return;
  }
  // The last name entered, ready for editing.
  StrNCpy(playerName, settings.playerName, sizeof settings.playerName - 1);
  PushScreen(IKeyboardWnd::Create(this, kCmdNameEntered, playerName, kNameMaxLength,
                                  Text(kTextEnterName), 0));
}

void GWindow::StoreResult() {
  SettingsRecord& settings = *context->settings;
  Top10Record record;
  record.Load(settings.skill, context->language);
  // Stored without the language: an empty name reads "Anonymous" in both.
  record.Insert(playerName, static_cast<i32>(settings.score),
                Top10Record::Order(settings.countShots), nullptr);
  std::memset(settings.playerName, 0, sizeof settings.playerName);
  StrNCpy(settings.playerName, playerName, sizeof settings.playerName - 1);
  record.Write(settings.skill);
  PushScreen(ITop10Wnd::Create(this, kCmdNewGame));
  settings.score = 0;
}

void GWindow::PopScreen() {
  if (!screenStack || screenStack->Count() == 0) return;
  IInterface* top = screenStack->Last();
  lastResume = top->resume;
  // A screen cancelled over a lost game starts a new game.
  if (game && game->GetRunState() == kRunGameOver && top->resume == 1 &&
      screenStack->Count() == 1) {
    OnCommand(kCmdNewGame);
  }
  IWndManager::PopScreen();
}

void GWindow::ReportUnreadableSettings() {
  char name[sizeof(g_UserDir) + 32];
  if (!RecordFileName(kRecordSettings, name, sizeof name)) name[0] = 0;
  std::fprintf(stderr,
               "Dorrimac: could not read the settings in %s; playing with the defaults, "
               "and the file is left as it is.\n",
               name);
}

int GWindow::GetSkillNumber() const { return context->settings->skill + 1; }
