// The background-colour screen: a table of 8 x 8 colour swatches with Ok
// and Cancel. Ok makes the checked colour the game's background and the
// settings' one; Cancel and Escape change nothing. The arrows Up and Down
// walk the table's columns, passing through Ok below the last row and
// above the first.
#pragma once

#include "platform/types.h"
#include "ui/interface.h"

class AppContext;
class IButton;
class IRectControl;
class IWinFrame;
struct SkinContext;

constexpr int kBgColorRows = 8;
constexpr int kBgColorColumns = 8;
// The swatches' colours (0x00RRGGBB), row by row.
extern const u32 kBgColorTable[kBgColorRows * kBgColorColumns];

class IBgColorWnd : public IInterface {
 public:
  // A new screen; the caller pushes it.
  static IBgColorWnd* Create(IWndManager* window, i16 result);
  ~IBgColorWnd() override = default;

  // Makes the controls in the current language, then initialises the
  // screen with its result code.
  void Init(IWndManager* window, i16 result);
  // Centres the box, lays out the table and the buttons, checks the
  // swatch of the settings' colour (the last one when none matches) and
  // focuses Ok.
  i32 OnInit() override;
  // Acts on the chosen control: a swatch is taken, Ok applies, Cancel
  // closes.
  i32 Tick() override;
  // Up and Down move through the table's columns and Ok; Return chooses
  // Ok and Escape closes.
  i32 OnKeyDown(u32 keysym) override;

  IRectControl* Swatch(int row, int column) const { return swatches[row][column]; }
  IButton* OkButton() const { return ok; }
  IButton* CancelButton() const { return cancel; }
  u32 Colour() const { return colour; }

 protected:
  IBgColorWnd() = default;

 private:
  // The list index of a swatch, and the swatch a list index holds.
  static int SwatchIndex(int row, int column) { return 1 + row * kBgColorColumns + column; }
  bool FocusedSwatch(int& row, int& column) const;
  // Places and adds the table in the box and checks the swatch of the
  // settings' colour.
  void PlaceSwatches(const Rect& box);
  // Makes the colour the settings', the game's and this screen's
  // background and repaints the whole window under the screen.
  void ApplyColour();

  IWinFrame* windowFrame = nullptr;  // control 0
  IRectControl* swatches[kBgColorRows][kBgColorColumns] = {};
  IButton* ok = nullptr;
  IButton* cancel = nullptr;
  AppContext* context = nullptr;
  SkinContext* skin = nullptr;
  u32 colour = 0;
};
