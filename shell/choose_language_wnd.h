// The language dialog: English or French. Ok stores the choice in the
// settings and switches every text of the language table at once, so each
// screen opened afterwards speaks the new language; Cancel and Escape
// leave both as they were.
#pragma once

#include "ui/interface.h"

class AppContext;
class IButton;
class IFrame;
class IRadioButton;
class IWinFrame;
class IWndManager;
struct SkinContext;

constexpr u8 kGroupLanguage = 1;

class IChooseLanguageWnd : public IInterface {
 public:
  // A new dialog with the current language checked; the caller pushes it.
  static IChooseLanguageWnd* Create(IWndManager* window, i16 result);

  // Makes the controls in the current language, then initialises the
  // screen with the result code.
  void Init(IWndManager* window, i16 result);
  // Sizes the box from its texts and places the controls.
  i32 OnInit() override;
  // Ok switches the language and closes; Cancel closes.
  i32 Tick() override;
  // Escape cancels, Return chooses Ok.
  i32 OnKeyDown(u32 keysym) override;

  IRadioButton* Choice(int language) const { return choices[language]; }
  IButton* OkButton() const { return ok; }
  IButton* CancelButton() const { return cancel; }

 private:
  IChooseLanguageWnd() = default;

  IWinFrame* windowFrame = nullptr;
  IFrame* groupFrame = nullptr;
  IRadioButton* choices[2] = {};  // English, French
  IButton* ok = nullptr;
  IButton* cancel = nullptr;
  AppContext* context = nullptr;
  SkinContext* skin = nullptr;
};
