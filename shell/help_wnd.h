// The help screen: the rules of the game as one long formatted text,
// paged with Prev and Next (Up and Down while they are available). Ok,
// Return and Escape close it and whatever was below it goes on.
#pragma once

#include "ui/interface.h"

class AppContext;
class IButton;
class IFrame;
class IText;
class IWinFrame;
struct SkinContext;

// The widest help line the box grows for.
constexpr int kHelpLineWidth = 438;

class IHelpWnd : public IInterface {
 public:
  // A new help screen that delivers result when it closes; the caller
  // pushes it.
  static IHelpWnd* Create(IWndManager* window, i16 result);

  // Sizes the box from the text's lines, places the controls and splits
  // the text into pages.
  i32 OnInit() override;
  // Turns the page or closes for the chosen button.
  i32 Tick() override;
  // Return and Escape choose Ok; Up chooses Prev and Down Next while
  // that button is available.
  i32 OnKeyDown(u32 keysym) override;

  IText* Text() const { return text; }
  IButton* PrevButton() const { return prev; }
  IButton* NextButton() const { return next; }
  IButton* OkButton() const { return ok; }

 private:
  IHelpWnd() = default;
  void Init(IWndManager* window, i16 result);
  // Enables one of Prev and Next after a page turn and moves the focus.
  void AfterTurn(bool atEnd, IButton* towards, IButton* back);

  IWinFrame* windowFrame = nullptr;
  IButton* ok = nullptr;
  IButton* next = nullptr;
  IButton* prev = nullptr;
  IFrame* frameBox = nullptr;
  IText* text = nullptr;
  SkinContext* skin = nullptr;
  AppContext* context = nullptr;
};
