#include "shell/pick_game_wnd.h"

#include <algorithm>

#include "platform/key_codes.h"
#include "platform/system.h"
#include "shell/dialog_texts.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/control_drawing.h"
#include "ui/controls/frame.h"
#include "ui/controls/radio_button.h"
#include "ui/font.h"
#include "ui/language.h"
#include "ui/settings.h"
#include "ui/wnd_manager.h"

namespace {

constexpr i16 kPickGameControls = 30;
constexpr u8 kSkillCapacity = 30;
constexpr int kPickGameHeight = 202;
constexpr i16 kSkillTexts[4] = {kTextEasyRide, kTextNovice, kTextExpert, kTextMaster};

}  // namespace

GPickGameWnd* GPickGameWnd::Create(IWndManager* window, i16 closeCommand) {
  GPickGameWnd* screen = new GPickGameWnd();
  CheckAlloc(screen);
  screen->Init(window, closeCommand);
  return screen;
}

void GPickGameWnd::Init(IWndManager* window, i16 closeCommand) {
  context = window->context;
  skin = context->skin;
  const AppContext& c = *context;
  title = IWinFrame::Create(skin, DialogTextCapacity(c, kTextPickGame));
  levelFrame = IFrame::Create(skin, DialogTextCapacity(c, kTextLevel));
  for (IRadioButton*& radio : skills) radio = IRadioButton::Create(skin, kSkillCapacity);
  ok = IButton::Create(skin, DialogTextCapacity(c, kTextOk));
  cancel = IButton::Create(skin, DialogTextCapacity(c, kTextCancel));
  IInterface::Init(window, kPickGameControls, closeCommand);
}

i32 GPickGameWnd::OnInit() {
  IInterface::OnInit();
  const AppContext& c = *context;
  const GLanguage& language = *c.language;
  const auto tw = [&](i16 id) { return DialogTextWidth(c, id); };
  const int rw = ImageWidth(skin, kRadioOff);
  const int bw = DialogButtonWidth(c);

  // Level, Scoring, Arcade and Strategy have no control here but keep the
  // dialog's width.
  int width = std::max(
      {std::max(2 * (std::max(tw(kTextStrategy), tw(kTextArcade)) + rw) + 30,
                20 * TextWidth(skin, "W")),
       2 * (std::max(tw(kTextEasyRide), tw(kTextExpert)) + rw) + 60,
       2 * (std::max(tw(kTextNovice), tw(kTextExpert)) + rw) + 60, 2 * bw + 30,
       tw(kTextPickGame) + 20, tw(kTextLevel) + 20, tw(kTextScoring) + 20});
  width = std::min(width, window->Width() - 4);
  const int ww = window->Width(), wh = window->Height();
  frame = Rect((ww - width) / 2, (wh - kPickGameHeight) / 2, (ww + width) / 2,
               (wh + kPickGameHeight) / 2);
  const int l = frame.left, t = frame.top, r = frame.right, b = frame.bottom;
  title->Place(frame, language.GetString(kTextPickGame));
  title->SetState(kControlDisabled);
  levelFrame->Place(Rect(l + 10, t + 28, r - 10, t + 150), "");
  levelFrame->SetState(kControlDisabled);

  // EasyRide and Novice span the left half, Expert and Master the width.
  const int half = (width - 50) / 2;
  for (int i = 0; i < 4; ++i) {
    const int top = t + 38 + 28 * i;
    const int right = i < 2 ? l + 20 + half : r - 20;
    skills[i]->Place(Rect(l + 20, top, right, top + 17), language.GetString(kSkillTexts[i]));
    skills[i]->groupId = kGroupSkill;
    skills[i]->SetChecked(c.settings->skill == i);
  }
  ok->Place(Rect(r - 2 * bw - 20, b - 42, r - bw - 21, b - 11), language.GetString(kTextOk));
  cancel->Place(Rect(r - bw - 10, b - 42, r - 11, b - 11), language.GetString(kTextCancel));

  AddControl(title);
  AddControl(levelFrame);
  for (IRadioButton* radio : skills) AddControl(radio);
  AddControl(ok);
  AddControl(cancel);
  SetState(kScreenOpening);
  if (c.settings->skill < 4) SetFocusTo(skills[c.settings->skill]);
  return 1;
}

i32 GPickGameWnd::Tick() {
  IInterface::Tick();
  if (state == kScreenOpen) {
    if (chosen == ok) {
      Manager()->OnCommand(kCmdAskNewGame);
      SetState(kScreenWaiting);
    } else if (chosen == cancel) {
      SetState(kScreenClosing);  // the resume flag stays 1: nothing changes
    }
    chosen = nullptr;
  } else if (state == kScreenWaiting && Manager()->inputTarget == this) {
    TakeAnswer();
  }
  return 1;
}

void GPickGameWnd::TakeAnswer() {
  if (Manager()->lastResume == 0) {
    Apply();
    chosen = ok;
    resume = 0;
    result = kCmdNewGame;
    return;
  }
  SetGroupIndex(kGroupSkill, context->settings->skill);
  DrawAllControls();
  Invalidate(frame);
  SetState(kScreenOpen);
}

void GPickGameWnd::Apply() {
  SetState(kScreenClosing);
  context->settings->skill = static_cast<u8>(std::max<i16>(0, GetGroupIndex(kGroupSkill)));
}

i32 GPickGameWnd::OnKeyDown(u32 keysym) {
  if (state != kScreenOpen) return 0;
  switch (KeysymToKey(keysym)) {
    case kKeyEscape:
      SetState(kScreenClosing);
      break;
    case kKeyReturn:
      chosen = ok;
      break;
    default:
      IInterface::OnKeyDown(keysym);
      break;
  }
  return 1;
}

i32 GPickGameWnd::OnMouseUp(i16 x, i16 y) {
  if (state != kScreenOpen) return IInterface::OnMouseUp(x, y);
  IInterface::OnMouseUp(x, y);
  IControl* hit = nullptr;
  for (int i = 0; i < ControlCount(); ++i) {
    IControl* control = ControlAt(i);
    const u8 s = control->state;
    if ((s == kControlNormal || s == kControlFocused || s == kControlPressed) &&
        control->HitTest(x, y)) {
      hit = control;
    }
  }
  if (!hit) return 1;
  chosen = hit;
  for (int i = 0; i < ControlCount(); ++i) {
    IControl* control = ControlAt(i);
    if (control->state == kControlFocused || control->state == kControlPressed) {
      control->SetState(kControlNormal);
    }
  }
  SetFocusTo(hit);
  DrawAllControls();
  Invalidate(frame);
  return 1;
}
