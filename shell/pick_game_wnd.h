// The pick-game dialog: one radio button per skill. Ok asks "Start new
// game?" through the window's alert; confirmed, the chosen skill is stored
// and the dialog closes with command 1, which starts a new game; declined,
// the radios go back to the current skill and the dialog stays open.
// Cancel and Escape close it without a change.
#pragma once

#include "ui/interface.h"

class AppContext;
class IButton;
class IFrame;
class IRadioButton;
class IWinFrame;
class IWndManager;
struct SkinContext;

constexpr u8 kGroupSkill = 1;

class GPickGameWnd : public IInterface {
 public:
  // A new dialog with the current skill checked; the caller pushes it.
  static GPickGameWnd* Create(IWndManager* window, i16 closeCommand);

  // Makes the controls in the current language, then initialises the
  // screen with the close command as its result.
  void Init(IWndManager* window, i16 closeCommand);
  // Sizes the dialog from its texts and places the controls.
  i32 OnInit() override;
  // Ok asks first; the answer is read once the alert has closed.
  i32 Tick() override;
  // Escape cancels, Return chooses Ok.
  i32 OnKeyDown(u32 keysym) override;
  // A release over a button chooses it, wherever the press began.
  i32 OnMouseUp(i16 x, i16 y) override;
  // Starts the closing and stores the checked skill.
  void Apply();

  IRadioButton* SkillRadio(int i) const { return skills[i]; }
  IButton* OkButton() const { return ok; }
  IButton* CancelButton() const { return cancel; }

 private:
  GPickGameWnd() = default;
  // The alert's answer has come: confirmed, close with command 1;
  // declined, check the current skill again and stay open.
  void TakeAnswer();

  IWinFrame* title = nullptr;
  IFrame* levelFrame = nullptr;
  IRadioButton* skills[4] = {};  // EasyRide, Novice, Expert, Master
  IButton* ok = nullptr;
  IButton* cancel = nullptr;
  AppContext* context = nullptr;
  SkinContext* skin = nullptr;
};
