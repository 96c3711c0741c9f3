#include "shell/about_wnd.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "platform/image.h"
#include "platform/image_pack.h"
#include "platform/key_codes.h"
#include "platform/system.h"
#include "platform/window.h"
#include "shell/dialog_layout.h"
#include "ui/alert.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/frame.h"
#include "ui/controls/image_control.h"
#include "ui/controls/text.h"
#include "ui/font.h"
#include "ui/language.h"
#include "ui/place_rect.h"
#include "ui/wnd_manager.h"

namespace {

constexpr i16 kAboutControls = 30;

}  // namespace

IAboutWnd* IAboutWnd::Create(IWndManager* window, i16 result) {
  IAboutWnd* about = new IAboutWnd();
  CheckAlloc(about);
  about->Init(window, result);
  return about;
}

void IAboutWnd::Init(IWndManager* window, i16 result) {
  context = window->context;
  skin = context->skin;
  const GLanguage& language = *context->language;
  windowFrame = IWinFrame::Create(skin, TextCapacity(language.GetString(kTextAbout)));
  ok = IButton::Create(skin, TextCapacity(language.GetString(kTextOk)));
  frameBox = IFrame::Create(skin, 0);
  upperText = IText::Create(skin);
  lowerText = IText::Create(skin);
  picture = IImageControl::Create(skin);
  IInterface::Init(window, kAboutControls, result);
}

i32 IAboutWnd::OnInit() {
  IInterface::OnInit();
  const GLanguage& language = *context->language;
  const char* upper = language.GetString(kTextAboutUpper);
  const char* lower = language.GetString(kTextAboutLower);
  const Image* image = pack ? pack->GetImage(kAboutPicture) : nullptr;
  const int pw = image ? image->width : 0, ph = image ? image->height : 0;
  const int upperLines = CountLineFeeds(upper), lowerLines = CountLineFeeds(lower);

  // The box holds the widest line and the picture, 20 pixels each side.
  const int width =
      std::max({WidestLine(*upperText, upper), pw + 1, WidestLine(*lowerText, lower)}) + 40;
  const int height = 13 * (upperLines + lowerLines) + ph + 101;
  frame = CentredBox(*Manager(), width, height);
  windowFrame->Place(frame, language.GetString(kTextAbout));
  windowFrame->SetState(kControlDisabled);
  const Rect inner = InnerFrame(frame);
  frameBox->Place(inner, nullptr);
  frameBox->SetState(kControlDisabled);

  Rect top(0, 0, frame.Width() - 41, 13 * upperLines);
  PlaceRect(top, inner, kPlaceTop, 10);
  upperText->Setup(upper, top, 0);
  Rect bottom(0, 0, frame.Width() - 41, 13 * lowerLines);
  PlaceRect(bottom, inner, kPlaceBottom, 10);
  lowerText->Setup(lower, bottom, 0);
  Rect pictureRect(0, 0, pw, ph);
  PlaceRect(pictureRect, Rect(inner.left, top.bottom, inner.right, bottom.top), kPlaceCentre, 0);
  picture->Place(pictureRect, nullptr);
  picture->SetState(kControlDisabled);
  picture->imageIndex = kAboutPicture;
  ok->Place(BottomRightButton(frame, DialogButtonWidth(skin, language)), language.GetString(kTextOk));

  for (IControl* control :
       std::initializer_list<IControl*>{windowFrame, frameBox, upperText, lowerText, picture, ok})
    AddControl(control);
  SetState(kScreenOpening);
  SetFocusTo(ok);
  return 1;
}

i32 IAboutWnd::Tick() {
  IInterface::Tick();
  if (state == kScreenOpen && chosen == ok) {
    chosen = nullptr;
    resume = 0;
    SetState(kScreenClosing);
  }
  return 1;
}

i32 IAboutWnd::OnKeyDown(u32 keysym) {
  if (state != kScreenOpen) return 0;
  const u32 key = KeysymToKey(keysym);
  if (key == kKeyReturn || key == kKeyEscape) {
    chosen = ok;
    return 1;
  }
  return IInterface::OnKeyDown(keysym);
}
