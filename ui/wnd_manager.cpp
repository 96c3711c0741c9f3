#include "ui/wnd_manager.h"

#include "platform/record_file.h"
#include "ui/alert.h"
#include "ui/app_context.h"
#include "ui/game_interface.h"
#include "ui/interface.h"
#include "ui/language.h"
#include "ui/settings.h"

IWndManager::~IWndManager() {
  if (screenStack) {
    for (IInterface* screen : *screenStack) delete screen;
    delete screenStack;
  }
  delete dirtyList;
  delete clipList;
  delete context;
  delete imagePack;
  delete game;
}

i32 IWndManager::OnCreate() {
  clipList = new PointerList<OClip>(kSharedListCapacity);
  dirtyList = DirtyList::Create(kSharedListCapacity);
  screenStack = new PointerList<IInterface>(kScreenStackCapacity);
  imagePack = ImagePack::Create("640x480");
  context = AppContext::Create(imagePack);
  return 1;
}

void IWndManager::OnTimer(u16 ms) {
  (void)ms;
  // A screen closes by reaching the closed state; it is removed on the
  // next tick instead of being ticked again.
  IInterface* top = screenStack ? screenStack->Last() : nullptr;
  if (top && top->GetScreenState() == kScreenClosed) {
    PopScreen();
  } else if (inputTarget) {
    inputTarget->Tick();
  }
}

void IWndManager::OnMouseDown(i16 x, i16 y) {
  if (inputTarget) inputTarget->OnMouseDown(x, y);
}

void IWndManager::OnMouseAux(i16 x, i16 y) {
  if (inputTarget) inputTarget->OnMouseAux(x, y);
}

void IWndManager::OnMouseUp(i16 x, i16 y) {
  if (inputTarget) inputTarget->OnMouseUp(x, y);
}

void IWndManager::OnMouseMove(i16 x, i16 y) {
  if (inputTarget) inputTarget->OnMouseMove(x, y);
}

void IWndManager::OnKeyDown(u32 keysym) {
  if (inputTarget) inputTarget->OnKeyDown(keysym);
}

void IWndManager::OnKeyUp(u32 keysym) {
  if (inputTarget) inputTarget->OnKeyUp(keysym);
}

void IWndManager::OnChar(char c) {
  if (inputTarget) inputTarget->OnChar(c);
}

const char* IWndManager::Text(i16 id) const {
  return context ? context->language->GetString(id) : "";
}

u32 IWndManager::OnCommand(u8 code) {
  switch (code) {
    case kCmdNone:
      break;
    case kCmdNewGame:
      if (game) game->NewGame();
      break;
    case kCmdStartDemo:
      if (game) {
        game->SaveGame(kRecordDemoInterrupt);
        game->StartDemo();
      }
      break;
    case kCmdGameInput:
      inputTarget = game;
      break;
    case kCmdApplySettings:
      if (game) game->ApplySettings();
      break;
    case kCmdQuit:
      Quit();
      break;
    case kCmdConfirmNewGame:
      ShowAlert(Text(kTextConfirm), Text(kTextStartNewGame), kAlertOkCancel, kCmdNewGame);
      break;
    case kCmdAskNewGame:
      ShowAlert(Text(kTextConfirm), Text(kTextStartNewGame), kAlertOkCancel, kCmdNone);
      break;
    case kCmdAskClear:
      ShowAlert(Text(kTextClear), Text(kTextAreYouSure), kAlertOkCancel, kCmdNone);
      break;
    case kCmdExit:
      if (context && context->settings->autosave) {
        Quit();
      } else {
        ShowAlert(Text(kTextExit), Text(kTextQuitGame), kAlertOkCancel, kCmdQuit);
      }
      break;
    default:
      return 0;
  }
  return 1;
}

void IWndManager::PushScreen(IInterface* screen) {
  if (!screen || !screenStack) {
    delete screen;
    return;
  }
  if (!screenStack->Add(screen)) {
    // A full stack refuses the screen. It was handed over, so it goes; a
    // screen below that waits for an answer reads Cancel.
    delete screen;
    lastResume = 1;
    return;
  }
  inputTarget = screen;
  screen->Activate();
  InvalidateAll();
}

void IWndManager::PopScreen() {
  IInterface* top = screenStack ? screenStack->Last() : nullptr;
  if (!top) return;
  lastResume = top->resume;
  // A cancelled screen delivers 0; otherwise the low byte of its result.
  const u8 code = top->resume == 0 ? static_cast<u8>(top->result) : u8{kCmdNone};
  screenStack->RemoveAt(screenStack->Count() - 1);
  delete top;

  if (IInterface* below = screenStack->Last()) {
    inputTarget = below;
    below->DrawAllControls();
  } else {
    inputTarget = game;
    if (game) {
      game->DrawAll();
      game->Resume();
    }
  }
  InvalidateAll();
  OnCommand(code);
}

void IWndManager::ShowAlert(const char* caption, const char* text, u8 buttons, i16 command) {
  if (!context) return;  // nothing to build an alert with before OnCreate
  PushScreen(IAlert::Create(caption, text, buttons, this, command));
}
