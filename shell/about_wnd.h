// The about box: the game's name and version above the maker's picture
// and a short text under it, with one Ok button. Ok, Return and Escape
// close it with the main menu's command, so the menu comes back.
#pragma once

#include "ui/interface.h"

class AppContext;
class IButton;
class IFrame;
class IImageControl;
class IText;
class IWinFrame;
struct SkinContext;

// The picture of the about box in the image bank.
constexpr int kAboutPicture = 588;

class IAboutWnd : public IInterface {
 public:
  // A new about box that delivers result when it closes; the caller
  // pushes it.
  static IAboutWnd* Create(IWndManager* window, i16 result);

  // Sizes the box from the texts and the picture and places the controls.
  i32 OnInit() override;
  // Closes once Ok has been chosen.
  i32 Tick() override;
  // Return and Escape choose Ok.
  i32 OnKeyDown(u32 keysym) override;

  IText* UpperText() const { return upperText; }
  IText* LowerText() const { return lowerText; }
  IImageControl* Picture() const { return picture; }
  IButton* OkButton() const { return ok; }

 private:
  IAboutWnd() = default;
  void Init(IWndManager* window, i16 result);

  IWinFrame* windowFrame = nullptr;
  IButton* ok = nullptr;
  IImageControl* picture = nullptr;
  IFrame* frameBox = nullptr;
  IText* upperText = nullptr;
  IText* lowerText = nullptr;
  AppContext* context = nullptr;
  SkinContext* skin = nullptr;
};
