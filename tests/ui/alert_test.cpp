// The alert box on the window manager: its box sized from the texts and
// centred, its buttons, and what each way of closing delivers.
#include "ui/alert.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/screen_rig.h"
#include "ui/controls/button.h"
#include "ui/controls/label.h"

namespace {

using ui_testing::ScreenRig;

class AlertTest : public ScreenRig {
 public:
  IAlert* Show(u8 buttons, const char* text = "Quit the game?") {
    window_.ShowAlert("Exit", text, buttons, kCmdApplySettings);
    IAlert* alert = static_cast<IAlert*>(Top());
    alert->background = kScene;
    alert->clearFlag = 1;
    Open();
    window_.commands.clear();
    return alert;
  }
};

// Glyphs are 6 pixels with their advance, blanks 15: "Cancel" + 20 = 56 is
// the button width, "Quit the game?" is 102 wide, and two buttons + 40 =
// 152 is the widest part.
TEST_F(AlertTest, BoxAndButtonsAreSizedFromTheTextsAndCentred) {
  IAlert* alert = Show(kAlertOkCancel);
  EXPECT_EQ(alert->frame, Rect(244, 182, 395, 297));
  EXPECT_EQ(alert->ControlAt(0)->rect, alert->frame);
  EXPECT_EQ(alert->TextLabel()->rect, Rect(269, 221, 370, 233));
  EXPECT_STREQ(alert->TextLabel()->Text(), "Quit the game?");
  EXPECT_EQ(alert->OkButton()->rect, Rect(259, 255, 314, 286));
  EXPECT_EQ(alert->CancelButton()->rect, Rect(324, 255, 379, 286));
  EXPECT_EQ(alert->FocusedControl(), alert->OkButton());  // Ok is the default

  Key(kKeyEscape);
  UntilPopped();
  IAlert* single = Show(kAlertOk);
  EXPECT_EQ(single->OkButton()->rect, Rect(292, 255, 347, 286));  // bottom centre, margin 10
  EXPECT_EQ(single->CancelButton(), nullptr);
  EXPECT_EQ(single->FocusedControl(), single->OkButton());
  Key(kKeyReturn);
  UntilPopped();

  // A text wider than the window: the box is the window less 4, centred.
  IAlert* wide = Show(kAlertCancel, std::string(120, 'x').c_str());
  EXPECT_EQ(wide->frame, Rect(2, 182, 637, 297));
  EXPECT_EQ(wide->OkButton(), nullptr);
  EXPECT_EQ(wide->FocusedControl(), wide->CancelButton());
}

TEST_F(AlertTest, OkDeliversTheCommandAndCancelOrEscapeDeliverNothing) {
  struct Case {
    const char* what;
    u8 buttons;
    void (*act)(AlertTest&, IAlert*);
    int command;
    u16 resume;
  };
  const Case cases[] = {
      {"Return", kAlertOkCancel, [](AlertTest& t, IAlert*) { t.Key(kKeyReturn); }, 4, 0},
      {"Space on Ok", kAlertOkCancel, [](AlertTest& t, IAlert*) { t.Key(kKeySpace); }, 4, 0},
      {"Escape", kAlertOkCancel, [](AlertTest& t, IAlert*) { t.Key(kKeyEscape); }, 0, 1},
      {"Right, Space", kAlertOkCancel,
       [](AlertTest& t, IAlert*) { t.Key(kKeyRight), t.Key(kKeySpace); }, 0, 1},
      {"click Cancel", kAlertOkCancel,
       [](AlertTest& t, IAlert* a) { t.ClickOn(a->CancelButton()); }, 0, 1},
      {"click Ok", kAlertOkCancel, [](AlertTest& t, IAlert* a) { t.ClickOn(a->OkButton()); }, 4, 0},
      // Escape does not close an Ok-only alert, nor Return a Cancel-only one.
      {"Ok only: Escape, Return", kAlertOk,
       [](AlertTest& t, IAlert*) { t.Key(kKeyEscape), t.Ticks(3), t.Key(kKeyReturn); }, 4, 0},
      {"Cancel only: Return, Escape", kAlertCancel,
       [](AlertTest& t, IAlert*) { t.Key(kKeyReturn), t.Ticks(3), t.Key(kKeyEscape); }, 0, 1},
  };
  for (const Case& c : cases) {
    IAlert* alert = Show(c.buttons);
    c.act(*this, alert);
    UntilPopped();
    EXPECT_EQ(window_.commands, std::vector<int>{c.command}) << c.what;
    EXPECT_EQ(window_.lastResume, c.resume) << c.what;
  }
}

}  // namespace
