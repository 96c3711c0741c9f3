// The top-10 table of the current skill: ten rows of name and score in a
// frame captioned with the skill, and Ok, Publish (hands the best result to
// the contest) and Clear (empties the table once the player confirms).
#pragma once

#include "shell/top10_record.h"
#include "ui/font.h"
#include "ui/interface.h"

class AppContext;
class IButton;
class IFormattedLabel;
class IFrame;
class ILabel;
class IWinFrame;
struct SkinContext;

class ITop10Wnd : public IInterface {
 public:
  // A new table screen whose Ok (and Escape) delivers closeCommand; the
  // caller pushes it.
  static ITop10Wnd* Create(IWndManager* window, i16 closeCommand);
  void Init(IWndManager* window, i16 closeCommand);

  // Sizes the box from the skill's name and places the buttons and frames.
  i32 OnInit() override;
  // Acts on Ok, Publish and Clear, and on the answer to Clear's question.
  i32 Tick() override;
  // Return and Escape both choose Ok.
  i32 OnKeyDown(u32 keysym) override;
  // The table is read again whenever the screen becomes open.
  void SetState(u8 s) override;

  // Reads the table and fills the rows; Publish and Clear are enabled only
  // while the table holds a result.
  void Refresh();

  IButton* OkButton() const { return ok; }
  IButton* PublishButton() const { return publish; }
  IButton* ClearButton() const { return clear; }
  ILabel* NameLabel(int row) const { return names[row]; }
  IFormattedLabel* ScoreLabel(int row) const { return scores[row]; }

 protected:
  ITop10Wnd() = default;

 private:
  void PlaceRow(int row, const Top10Record& record);
  // The answer to "Are you sure?": on Ok the table is emptied on disk.
  void ClearConfirmed();

  IWinFrame* title = nullptr;
  IFrame* tableFrame = nullptr;
  IButton* ok = nullptr;
  IButton* publish = nullptr;
  IButton* clear = nullptr;
  AppContext* context = nullptr;
  ILabel* names[kTop10Entries] = {};
  IFormattedLabel* scores[kTop10Entries] = {};
  SkinContext* skin = nullptr;
  TextStyle scoreStyle;
};
