#include "shell/menu_wnd.h"

#include "platform/system.h"
#include "shell/gwindow.h"
#include "ui/app_context.h"
#include "ui/controls/menu_controls.h"
#include "ui/language.h"
#include "ui/settings.h"

namespace {

constexpr i16 kMenuControls = 20;

}  // namespace

GMenuWnd* GMenuWnd::Create(GWindow* window) {
  GMenuWnd* menu = new GMenuWnd();
  CheckAlloc(menu);
  menu->Init(window, kMenuControls);
  return menu;
}

i32 GMenuWnd::OnInit() {
  frame = Rect(10, 10, 79, 109);  // replaced by the layout below
  IMenu::OnInit();
  IWndManager* manager = Manager();
  const SettingsRecord& settings = *manager->context->settings;
  const GLanguage& language = *manager->context->language;
  const auto add = [&](i16 text, u8 command) { AddItem(language.GetString(text), command); };

  // Continue comes back only during a demo that interrupted a game.
  if (settings.gameStarted == 1 && manager->game && manager->game->GetRunState() == kRunDemo) {
    add(kTextContinue, kCmdContinueDemoGame);
    AddSeparator();
  }
  add(kTextNewGame, settings.score == 0 ? kCmdNewGame : kCmdConfirmNewGame);
  add(kTextPickGame, kCmdPickGame);
  add(kTextDemo, kCmdStartDemo);
  AddSeparator();
  add(kTextOptions, kCmdOptions);
  add(kTextLanguage, kCmdLanguage);
  add(kTextTop10, kCmdTop10);
  AddSeparator();
  add(kTextHelp, kCmdHelp);
  add(kTextAbout, kCmdAbout);
  AddSeparator();
  add(kTextExit, kCmdExit);
  Layout();
  SetState(kScreenOpening);
  return 1;
}

i32 GMenuWnd::Tick() {
  IInterface::Tick();
  if (state == kScreenOpen && chosen) {
    const auto* item = dynamic_cast<const IMenuItem*>(chosen);
    if (item && item->commandId != 0) SetState(kScreenClosing);
  }
  return 1;
}
