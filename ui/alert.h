// The message box: a captioned box with one line of text and an Ok button,
// a Cancel button or both, centred in the window. Ok closes it so that the
// window receives the alert's command; Cancel (or Escape) closes it so that
// the window receives 0. The screen that asked reads the window's last
// resume flag: 0 means Ok.
#pragma once

#include <string>

#include "ui/interface.h"

class AppContext;
class IButton;
class ILabel;
class IWinFrame;
struct SkinContext;

constexpr int kAlertHeight = 116;
constexpr int kButtonHeight = 32;

class GLanguage;

// Dialog push buttons are as wide as the wider of the Ok and Cancel texts
// plus 20.
int DialogButtonWidth(const SkinContext* skin, const GLanguage& language);

class IAlert : public IInterface {
 public:
  // A new alert with its message; the caller pushes it. buttons is an
  // AlertButtons value; command is delivered when the user confirms.
  static IAlert* Create(const char* caption, const char* text, u8 buttons, IWndManager* window,
                        i16 command);
  ~IAlert() override = default;

  // Keeps copies of the caption and the text, and the buttons to show.
  void SetMessage(const char* caption, const char* text, u8 buttons);
  // Makes the controls in the current language, then initialises the
  // screen with the command as its result.
  void Init(IWndManager* window, i16 command);

  // Sizes the box from the texts, centres it and places the controls.
  i32 OnInit() override;
  // Closes once a button has been chosen.
  i32 Tick() override;
  // Escape chooses Cancel and Return chooses Ok, when the alert has them.
  i32 OnKeyDown(u32 keysym) override;

  IButton* OkButton() const { return okButton; }
  IButton* CancelButton() const { return cancelButton; }
  ILabel* TextLabel() const { return textLabel; }

  // In an alert with both buttons, nonzero focuses Ok at the opening.
  u8 defaultButton = 1;

 protected:
  IAlert() { resume = 0; }

 private:
  // Places one button alone at the bottom centre of the box and drops the
  // other one.
  void PlaceSingleButton(IButton*& shown, IButton*& dropped, i16 textId, int width);

  IWinFrame* captionFrame = nullptr;  // control 0
  IButton* okButton = nullptr;        // null when the alert has no Ok
  IButton* cancelButton = nullptr;    // null when the alert has no Cancel
  ILabel* textLabel = nullptr;        // control 1
  std::string caption;
  std::string text;
  AppContext* context = nullptr;
  u8 buttons = 0;
  SkinContext* skin = nullptr;
};
