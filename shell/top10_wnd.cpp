#include "shell/top10_wnd.h"

#include <algorithm>

#include "platform/key_codes.h"
#include "platform/str.h"
#include "platform/system.h"
#include "platform/window.h"
#include "shell/gwindow.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/frame.h"
#include "ui/controls/label.h"
#include "ui/language.h"
#include "ui/place_rect.h"
#include "ui/settings.h"
#include "ui/wnd_manager.h"

namespace {

constexpr i16 kTop10Controls = 50;
constexpr u8 kNameCapacity = 100;
constexpr u8 kScoreCapacity = 20;
constexpr u8 kCaptionCapacity = 100;
constexpr int kBoxHeight = 292;
constexpr int kNameScoreGap = 8;  // the least room between a name and its score

}  // namespace

ITop10Wnd* ITop10Wnd::Create(IWndManager* window, i16 closeCommand) {
  ITop10Wnd* screen = new ITop10Wnd();
  CheckAlloc(screen);
  screen->Init(window, closeCommand);
  return screen;
}

void ITop10Wnd::Init(IWndManager* window, i16 closeCommand) {
  context = window->context;
  skin = context->skin;
  const GLanguage& language = *context->language;
  title = IWinFrame::Create(skin, TextCapacity(language.GetString(kTextTop10)));
  tableFrame = IFrame::Create(skin, kCaptionCapacity);
  for (int i = 0; i < kTop10Entries; ++i) {
    names[i] = ILabel::Create(skin, kNameCapacity);
    scores[i] = IFormattedLabel::Create(skin, kScoreCapacity);
  }
  ok = IButton::Create(skin, TextCapacity(language.GetString(kTextOk)));
  publish = IButton::Create(skin, TextCapacity(language.GetString(kTextPublish)));
  clear = IButton::Create(skin, TextCapacity(language.GetString(kTextClear)));
  IInterface::Init(window, kTop10Controls, closeCommand);
}

i32 ITop10Wnd::OnInit() {
  IInterface::OnInit();
  const GLanguage& language = *context->language;
  char skillName[64];
  context->settings->SkillName(skillName, sizeof skillName, language);

  const int width = std::min(std::max(25 * TextWidth(skin, "W"), TextWidth(skin, skillName) + 40),
                             window->Width() - 4);
  Rect box(0, 0, width - 1, kBoxHeight - 1);
  PlaceRect(box, Rect(0, 0, window->Width(), window->Height()), kPlaceCentre, 0);
  frame = box;
  title->Place(box, language.GetString(kTextTop10));
  title->SetState(kControlDisabled);

  // Ok at the bottom right, Publish at the bottom left, Clear between them.
  const auto button = [&](i16 text) {
    return Rect(0, 0, TextWidth(skin, language.GetString(text)) + 20 - 1, 32 - 1);
  };
  Rect okRect = button(kTextOk);
  PlaceRect(okRect, box, kPlaceBottomRight, 10);
  Rect publishRect = button(kTextPublish);
  PlaceRect(publishRect, box, kPlaceBottomLeft, 10);
  Rect clearRect = button(kTextClear);
  clearRect = Rect(clearRect.left, publishRect.top, clearRect.right, publishRect.bottom);
  PlaceRect(clearRect, Rect(publishRect.right, publishRect.top, okRect.left, publishRect.bottom),
            kPlaceCentreX, -10);
  ok->Place(okRect, language.GetString(kTextOk));
  publish->Place(publishRect, language.GetString(kTextPublish));
  clear->Place(clearRect, language.GetString(kTextClear));

  tableFrame->Place(Rect(box.left + 10, box.top + 28, box.right - 10, box.bottom - 52), skillName);
  tableFrame->SetState(kControlDisabled);

  AddControl(title);
  AddControl(tableFrame);
  AddControl(ok);
  AddControl(publish);
  AddControl(clear);
  for (int i = 0; i < kTop10Entries; ++i) {
    AddControl(names[i]);
    AddControl(scores[i]);
  }
  SetState(kScreenOpening);
  Refresh();
  SetFocusTo(ok);
  return 1;
}

void ITop10Wnd::Refresh() {
  Top10Record record;
  record.Load(context->settings->skill, context->language);
  // Digits advance as wide as "9" and one pixel more, so the column lines up.
  scoreStyle.fixedWidth = 1;
  scoreStyle.spacing = static_cast<i8>(TextWidth(skin, "9") - TextWidth(skin, "W") + 1);
  for (int i = 0; i < kTop10Entries; ++i) PlaceRow(i, record);

  const u8 buttons = record.scores[0] == 0 ? kControlDisabled : kControlNormal;
  for (IButton* button : {publish, clear}) {
    if (buttons == kControlDisabled || button->State() == kControlDisabled)
      button->SetState(buttons);
  }
  if (state == kScreenOpen) {
    DrawAllControls();
    Invalidate(Rect(0, 0, window->Width() - 1, window->Height() - 1));
  }
}

void ITop10Wnd::PlaceRow(int row, const Top10Record& record) {
  const Rect& f = tableFrame->rect;
  const int step = (f.bottom - f.top - 9) / 10;
  const int y = f.top + 12 + row * step;
  char score[12] = "-";
  if (record.scores[row] != 0) IntToStr(score, record.scores[row]);
  const int scoreLeft = f.right - 10 - TextWidthStyled(skin, score, scoreStyle);
  scores[row]->Place(Rect(scoreLeft, y, f.right - 10, y + 12), score);
  scores[row]->SetStyle(scoreStyle);
  scores[row]->SetState(kControlDisabled);

  // A name too long for the room left of its score shows only as much of
  // it as fits there.
  const int nameLeft = f.left + 10;
  const int room = scoreLeft - kNameScoreGap - nameLeft;
  char name[kTop10NameSize];
  StrNCpy(name, record.names[row], kTop10NameSize - 1);
  for (int length = StrLen(name); length > 0 && TextWidth(skin, name) > room; --length)
    name[length - 1] = '\0';
  const int nameWidth = std::min<int>(TextWidthStyled(skin, name, scoreStyle), room);
  names[row]->Place(Rect(nameLeft, y, nameLeft + nameWidth, y + 12), name);
  names[row]->SetState(kControlDisabled);
}

void ITop10Wnd::SetState(u8 s) {
  IInterface::SetState(s);
  if (s == kScreenOpen) Refresh();
}

i32 ITop10Wnd::Tick() {
  IInterface::Tick();
  if (state == kScreenOpen && chosen) {
    if (chosen == clear) {
      Manager()->OnCommand(kCmdAskClear);
      chosen = nullptr;
      SetState(kScreenWaiting);
    } else if (chosen == ok) {
      resume = 0;
      chosen = nullptr;
      SetState(kScreenClosing);
    } else if (chosen == publish) {
      resume = 0;
      result = kCmdPublish;
      SetState(kScreenClosing);
    }
  } else if (state == kScreenWaiting) {
    if (Manager()->lastResume == 0) ClearConfirmed();
    SetState(kScreenOpen);
  }
  return 1;
}

void ITop10Wnd::ClearConfirmed() {
  Top10Record record;
  record.Reset(context->language);
  // The record layer replaces the file whole or not at all.
  record.Write(context->settings->skill);
}

i32 ITop10Wnd::OnKeyDown(u32 keysym) {
  if (state != kScreenOpen) return 0;
  const u32 key = KeysymToKey(keysym);
  if (key == kKeyReturn || key == kKeyEscape) {
    chosen = ok;
    return 1;
  }
  return IInterface::OnKeyDown(keysym);
}
