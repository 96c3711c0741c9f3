#include "ui/alert.h"

#include <algorithm>
#include <cstring>

#include "platform/key_codes.h"
#include "platform/system.h"
#include "platform/window.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/frame.h"
#include "ui/controls/label.h"
#include "ui/font.h"
#include "ui/language.h"
#include "ui/place_rect.h"
#include "ui/wnd_manager.h"

namespace {

constexpr int kAlertControls = 10;

// A text buffer's capacity for a text: its length, as far as a control's
// 8-bit capacity reaches.
}  // namespace

IAlert* IAlert::Create(const char* caption, const char* text, u8 buttons, IWndManager* window,
                       i16 command) {
  IAlert* alert = new IAlert();
  CheckAlloc(alert);
  alert->SetMessage(caption, text, buttons);
  alert->Init(window, command);
  return alert;
}

void IAlert::SetMessage(const char* newCaption, const char* newText, u8 newButtons) {
  caption = newCaption ? newCaption : "";
  text = newText ? newText : "";
  buttons = newButtons;
}

void IAlert::Init(IWndManager* window, i16 command) {
  context = window->context;
  skin = context->skin;
  const GLanguage& language = *context->language;
  okButton = IButton::Create(skin, TextCapacity(language.GetString(kTextOk)));
  cancelButton = IButton::Create(skin, TextCapacity(language.GetString(kTextCancel)));
  captionFrame = IWinFrame::Create(skin, TextCapacity(caption.c_str()));
  textLabel = ILabel::Create(skin, TextCapacity(text.c_str()));
  IInterface::Init(window, kAlertControls, command);
}

int DialogButtonWidth(const SkinContext* skin, const GLanguage& language) {
  return std::max(TextWidth(skin, language.GetString(kTextOk)),
                  TextWidth(skin, language.GetString(kTextCancel))) + 20;
}

i32 IAlert::OnInit() {
  const GLanguage& language = *context->language;
  const int buttonWidth = DialogButtonWidth(skin, language);
  const int textWidth = TextWidth(skin, text.c_str());
  int boxWidth = std::max({2 * buttonWidth + 40, TextWidth(skin, caption.c_str()) + 20,
                           textWidth + 40});
  boxWidth = std::min(boxWidth, window->Width() - 4);
  Rect box(0, 0, boxWidth - 1, kAlertHeight - 1);
  PlaceRect(box, Rect(0, 0, window->Width(), window->Height()), kPlaceCentre, 0);
  frame = box;

  IInterface::OnInit();
  captionFrame->Place(box, caption.c_str());
  captionFrame->SetState(kControlDisabled);
  AddControl(captionFrame);
  Rect line(0, 0, textWidth - 1, 12);
  const Rect textArea(box.left + 10, box.top + 28, box.right - 10, box.bottom - 52);
  PlaceRect(line, textArea, kPlaceCentre, 0);
  textLabel->Place(line, text.c_str());
  textLabel->SetState(kControlDisabled);
  AddControl(textLabel);
  SetState(kScreenOpening);

  if (buttons == kAlertOkCancel) {
    // Side by side about the centre, 10 pixels apart.
    const int okRight = (box.left + box.right - 10) / 2;
    const int cancelLeft = (box.left + box.right + 10) / 2;
    const int top = box.bottom - 42;
    const int bottom = box.bottom - 11;
    okButton->Place(Rect(okRight - buttonWidth + 1, top, okRight, bottom),
                    language.GetString(kTextOk));
    cancelButton->Place(Rect(cancelLeft, top, cancelLeft + buttonWidth - 1, bottom),
                        language.GetString(kTextCancel));
    AddControl(okButton);
    AddControl(cancelButton);
    SetFocusTo(defaultButton ? okButton : cancelButton);
  } else if (buttons == kAlertCancel) {
    PlaceSingleButton(cancelButton, okButton, kTextCancel, buttonWidth);
  } else {
    PlaceSingleButton(okButton, cancelButton, kTextOk, buttonWidth);
  }
  chosen = nullptr;
  return 1;
}

void IAlert::PlaceSingleButton(IButton*& shown, IButton*& dropped, i16 textId, int width) {
  Rect r(0, 0, width - 1, kButtonHeight - 1);
  PlaceRect(r, frame, kPlaceBottom, 10);
  shown->Place(r, context->language->GetString(textId));
  AddControl(shown);
  SetFocusTo(shown);
  delete dropped;
  dropped = nullptr;
}

i32 IAlert::Tick() {
  IInterface::Tick();
  if (state != kScreenOpen || !chosen) return 1;
  if (chosen == okButton) {
    resume = 0;
    SetState(kScreenClosing);
  } else if (chosen == cancelButton) {
    resume = 1;
    SetState(kScreenClosing);
  }
  return 1;
}

i32 IAlert::OnKeyDown(u32 keysym) {
  if (state != kScreenOpen) return 0;
  const u32 key = KeysymToKey(keysym);
  if (key == kKeyEscape && cancelButton) {
    chosen = cancelButton;
  } else if (key == kKeyReturn && okButton) {
    chosen = okButton;
  } else {
    IInterface::OnKeyDown(keysym);
  }
  return 1;
}
