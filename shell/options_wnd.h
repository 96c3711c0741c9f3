// The options dialog: sound, music, ball physics, the volume, keys or pen
// controls and Autosave. Ok writes the choices into the settings in memory
// and closes with the close command (the game applies them); Cancel and
// Escape close without a change. The settings reach the disk at exit.
#pragma once

#include "ui/interface.h"

class AppContext;
class IButton;
class ICheckBox;
class IFrame;
class IRadioButton;
class IWinFrame;
class IWndManager;
struct SkinContext;

// Radio groups of the options dialog.
enum OptionsGroup : u8 { kGroupControls = 1, kGroupVolume = 2 };

class GOptionsWnd : public IInterface {
 public:
  // A new options dialog laid out from the current settings; the caller
  // pushes it.
  static GOptionsWnd* Create(IWndManager* window, i16 closeCommand);

  // Makes the controls in the current language, then initialises the
  // screen with the close command as its result.
  void Init(IWndManager* window, i16 closeCommand);
  // Sizes the dialog from its texts and places and sets every control.
  i32 OnInit() override;
  // Ok applies and closes; Cancel closes.
  i32 Tick() override;
  // Escape cancels, Return chooses Ok.
  i32 OnKeyDown(u32 keysym) override;
  // Writes the controls' choices into the settings and lets the closing
  // deliver the close command.
  void Apply();

  ICheckBox* AutosaveBox() const { return autosave; }
  ICheckBox* SoundBox() const { return sound; }
  ICheckBox* MusicBox() const { return music; }
  ICheckBox* PhysicsBox() const { return physics; }
  IRadioButton* VolumeRadio(int i) const { return volume[i]; }
  IRadioButton* ControlsRadio(int i) const { return controlStyle[i]; }
  IButton* OkButton() const { return ok; }
  IButton* CancelButton() const { return cancel; }

 private:
  GOptionsWnd() = default;
  void PlaceToggles(int cw);
  void PlaceGroups(int rw);

  IWinFrame* title = nullptr;
  ICheckBox* autosave = nullptr;
  ICheckBox* sound = nullptr;
  ICheckBox* music = nullptr;
  ICheckBox* physics = nullptr;
  IRadioButton* volume[3] = {};        // Low, Medium, High
  IRadioButton* controlStyle[2] = {};  // Keys, Pen
  IFrame* volumeFrame = nullptr;
  IFrame* controlsFrame = nullptr;
  IButton* ok = nullptr;
  IButton* cancel = nullptr;
  AppContext* context = nullptr;
  SkinContext* skin = nullptr;
};
