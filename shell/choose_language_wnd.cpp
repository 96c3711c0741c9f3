#include "shell/choose_language_wnd.h"

#include <algorithm>

#include "platform/key_codes.h"
#include "platform/system.h"
#include "shell/dialog_texts.h"
#include "ui/alert.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/frame.h"
#include "ui/controls/radio_button.h"
#include "ui/language.h"
#include "ui/place_rect.h"
#include "ui/settings.h"
#include "ui/wnd_manager.h"

namespace {

constexpr i16 kLanguageControls = 50;
constexpr u8 kChoiceCapacity = 20;
constexpr int kLanguageHeight = 148;
constexpr int kChoiceHeight = 18;

}  // namespace

IChooseLanguageWnd* IChooseLanguageWnd::Create(IWndManager* window, i16 result) {
  IChooseLanguageWnd* screen = new IChooseLanguageWnd();
  CheckAlloc(screen);
  screen->Init(window, result);
  return screen;
}

void IChooseLanguageWnd::Init(IWndManager* window, i16 code) {
  context = window->context;
  skin = context->skin;
  windowFrame = IWinFrame::Create(skin, DialogTextCapacity(*context, kTextLanguage));
  groupFrame = IFrame::Create(skin, 2);
  for (IRadioButton*& choice : choices) choice = IRadioButton::Create(skin, kChoiceCapacity);
  ok = IButton::Create(skin, DialogTextCapacity(*context, kTextOk));
  cancel = IButton::Create(skin, DialogTextCapacity(*context, kTextCancel));
  IInterface::Init(window, kLanguageControls, code);
}

i32 IChooseLanguageWnd::OnInit() {
  IInterface::OnInit();
  const AppContext& c = *context;
  const GLanguage& language = *c.language;
  const auto tw = [&](i16 id) { return DialogTextWidth(c, id); };
  const int bw = DialogButtonWidth(c);
  int width = std::max({tw(kTextLanguage) + 20, tw(kTextEnglish) + 40, tw(kTextFrench) + 40,
                        2 * bw + 70});
  width = std::min(width, window->Width() - 4);
  Rect box(0, 0, width - 1, kLanguageHeight - 1);
  PlaceRect(box, Rect(0, 0, window->Width(), window->Height()), kPlaceCentre, 0);
  frame = box;
  windowFrame->Place(box, language.GetString(kTextLanguage));
  windowFrame->SetState(kControlDisabled);

  Rect group(0, 0, width - 21, 67);
  PlaceRect(group, box, kPlaceTop, 28);
  groupFrame->Place(group, "");
  groupFrame->SetState(kControlDisabled);
  const i16 names[2] = {kTextEnglish, kTextFrench};
  for (int i = 0; i < 2; ++i) {
    choices[i]->Place(Rect(0, 0, width - 41, kChoiceHeight - 1), language.GetString(names[i]));
    choices[i]->groupId = kGroupLanguage;
  }
  IControl* const column[] = {choices[0], choices[1]};
  LayoutGrid(column, 2, group, 2, 1, kGridPacked, 10);

  Rect right(0, 0, bw - 1, kButtonHeight - 1);
  PlaceRect(right, box, kPlaceBottomRight, 10);
  cancel->Place(right, language.GetString(kTextCancel));
  ok->Place(Rect(right.left - 10 - bw, right.top, right.left - 11, right.bottom),
            language.GetString(kTextOk));

  AddControl(windowFrame);
  AddControl(groupFrame);
  for (IRadioButton* choice : choices) AddControl(choice);
  AddControl(ok);
  AddControl(cancel);
  SetGroupIndex(kGroupLanguage, c.settings->language);
  SetState(kScreenOpening);
  SetFocusTo(ok);
  return 1;
}

i32 IChooseLanguageWnd::Tick() {
  IInterface::Tick();
  if (state != kScreenOpen) return 1;
  if (chosen == ok) {
    SettingsRecord& settings = *context->settings;
    settings.language = static_cast<u8>(std::max<i16>(0, GetGroupIndex(kGroupLanguage)));
    context->language->SetLanguage(settings.language);
    resume = 0;
    SetState(kScreenClosing);
  } else if (chosen == cancel) {
    resume = 1;
    SetState(kScreenClosing);
  }
  chosen = nullptr;
  return 1;
}

i32 IChooseLanguageWnd::OnKeyDown(u32 keysym) {
  if (state != kScreenOpen) return 0;
  switch (KeysymToKey(keysym)) {
    case kKeyEscape:
      SetState(kScreenClosing);
      return 1;
    case kKeyReturn:
      chosen = ok;
      return 1;
    default:
      return IInterface::OnKeyDown(keysym);
  }
}
