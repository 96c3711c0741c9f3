#include "shell/help_wnd.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "platform/key_codes.h"
#include "platform/system.h"
#include "shell/dialog_layout.h"
#include "ui/alert.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/frame.h"
#include "ui/controls/text.h"
#include "ui/font.h"
#include "ui/language.h"
#include "ui/place_rect.h"
#include "ui/wnd_manager.h"

namespace {

constexpr i16 kHelpControls = 30;

// A button as wide as its text + 20.
Rect TextButton(const SkinContext* skin, const char* text) {
  return Rect(0, 0, TextWidth(skin, text) + 19, kButtonHeight - 1);
}

}  // namespace

IHelpWnd* IHelpWnd::Create(IWndManager* window, i16 result) {
  IHelpWnd* help = new IHelpWnd();
  CheckAlloc(help);
  help->Init(window, result);
  return help;
}

void IHelpWnd::Init(IWndManager* window, i16 result) {
  context = window->context;
  skin = context->skin;
  const GLanguage& language = *context->language;
  windowFrame = IWinFrame::Create(skin, TextCapacity(language.GetString(kTextHelp)));
  ok = IButton::Create(skin, TextCapacity(language.GetString(kTextOk)));
  next = IButton::Create(skin, TextCapacity(language.GetString(kTextNext)));
  prev = IButton::Create(skin, TextCapacity(language.GetString(kTextPrev)));
  frameBox = IFrame::Create(skin, 1);
  text = IText::Create(skin);
  IInterface::Init(window, kHelpControls, result);
}

i32 IHelpWnd::OnInit() {
  IInterface::OnInit();
  const GLanguage& language = *context->language;
  const char* help = language.GetString(kTextHelpText);
  const char* prevText = language.GetString(kTextPrev);
  const char* nextText = language.GetString(kTextNext);

  // As wide as the widest line up to 438 pixels; a wider line wraps and
  // makes the box taller by a line for every 438 pixels of it.
  int width = 0;
  int height = 13 * CountLineFeeds(help) + 113;
  for (int m : LineWidths(*text, help)) {
    width = std::max(width, std::min(m, kHelpLineWidth));
    if (m >= kHelpLineWidth) height += 13 * (m / kHelpLineWidth);
  }
  const int buttons =
      DialogButtonWidth(skin, language) + TextWidth(skin, prevText) + TextWidth(skin, nextText) + 80;
  frame = CentredBox(*Manager(), std::max(width, buttons) + 20, height);
  windowFrame->Place(frame, language.GetString(kTextHelp));
  windowFrame->SetState(kControlDisabled);
  const Rect inner = InnerFrame(frame);
  frameBox->Place(inner, nullptr);
  frameBox->SetState(kControlDisabled);
  text->Setup(help, Rect(inner.left + 10, inner.top + 10, inner.right - 10, inner.bottom - 10), 0);

  Rect prevRect = TextButton(skin, prevText);
  PlaceRect(prevRect, frame, kPlaceBottomLeft, kDialogMargin);
  prev->Place(prevRect, prevText);
  prev->SetState(kControlDisabled);  // the first page is shown
  Rect nextRect = TextButton(skin, nextText);
  nextRect = Rect(prevRect.right + 11, prevRect.top, prevRect.right + 10 + nextRect.Width(),
                  prevRect.bottom);
  next->Place(nextRect, nextText);
  next->SetState(text->Page() + 1 >= text->PageCount() ? kControlDisabled : kControlNormal);
  ok->Place(BottomRightButton(frame, DialogButtonWidth(skin, language)), language.GetString(kTextOk));

  for (IControl* control :
       std::initializer_list<IControl*>{windowFrame, frameBox, text, prev, next, ok})
    AddControl(control);
  SetState(kScreenOpening);
  SetFocusTo(ok);
  if (text->PageCount() <= 1) {
    prev->SetState(kControlHidden);
    next->SetState(kControlHidden);
  }
  return 1;
}

void IHelpWnd::AfterTurn(bool atEnd, IButton* towards, IButton* back) {
  if (back->IsInactive()) back->SetState(kControlNormal);
  if (atEnd) {
    // Nothing more this way: the focus goes back the other way.
    SetFocusTo(back);
    towards->SetState(kControlDisabled);
  } else {
    SetFocusTo(towards);
  }
}

i32 IHelpWnd::Tick() {
  if (state == kScreenOpen && chosen) {
    if (chosen == next && text->NextPage()) {
      AfterTurn(text->Page() + 1 >= text->PageCount(), next, prev);
    } else if (chosen == prev && text->PrevPage()) {
      AfterTurn(text->Page() == 0, prev, next);
    } else if (chosen == ok) {
      resume = 0;
      SetState(kScreenClosing);
    }
    chosen = nullptr;
  }
  return IInterface::Tick();
}

i32 IHelpWnd::OnKeyDown(u32 keysym) {
  if (state != kScreenOpen) return 0;
  switch (KeysymToKey(keysym)) {
    case kKeyReturn:
    case kKeyEscape:
      chosen = ok;
      return 1;
    case kKeyUp:
      // A key on an unavailable button is taken and does nothing.
      if (!prev->IsInactive()) chosen = prev;
      return 1;
    case kKeyDown:
      if (!next->IsInactive()) chosen = next;
      return 1;
    default:
      return IInterface::OnKeyDown(keysym);
  }
}
