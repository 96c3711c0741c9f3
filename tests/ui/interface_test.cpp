// The screen base on the window manager: the outline animation frame by
// frame, focus moves and the key latch, pressing and choosing with keys and
// the pointer, a screen nothing in which can take the focus, and the grid
// layout's three modes.
#include "ui/interface.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "tests/ui/screen_rig.h"
#include "ui/app_context.h"
#include "ui/controls/button.h"
#include "ui/controls/frame.h"
#include "ui/controls/radio_button.h"

namespace {

using ui_testing::ScreenRig;

// A screen whose control 0 is its window frame, followed by buttons and
// radio buttons (group 1) in the given states.
class TestScreen : public IInterface {
 public:
  struct Piece {
    Rect rect;
    u8 state;
    bool radio;
    u8 checked;
  };
  static TestScreen* Make(IWndManager* window, const Rect& box, std::vector<Piece> pieces) {
    TestScreen* screen = new TestScreen();
    screen->box_ = box;
    screen->pieces_ = std::move(pieces);
    screen->Init(window, 8, 77);
    return screen;
  }
  i32 OnInit() override {
    IInterface::OnInit();
    frame = box_;
    SkinContext* skin = Manager()->context->skin;
    IWinFrame* caption = IWinFrame::Create(skin, 8);
    caption->Place(frame, "Screen");
    caption->SetState(kControlDisabled);
    AddControl(caption);
    for (const Piece& s : pieces_) {
      IControl* c = s.radio ? static_cast<IControl*>(IRadioButton::Create(skin, 4))
                            : static_cast<IControl*>(IButton::Create(skin, 4));
      c->Place(s.rect, "Ab");
      c->SetState(s.state);
      c->groupId = s.radio ? 1 : 0;
      c->SetChecked(s.checked);
      AddControl(c);
    }
    SetState(kScreenOpening);
    return 1;
  }

 private:
  Rect box_;
  std::vector<Piece> pieces_;
};

class InterfaceTest : public ScreenRig {};

// 200 x 100: steps of 10 and 5 pixels.
constexpr Rect kBox(100, 100, 299, 199);

TEST_F(InterfaceTest, OutlineGrowsNineFramesThenControlsAppearAndClosingShrinksIt) {
  TestScreen* screen = TestScreen::Make(&window_, kBox, {{Rect(150, 150, 189, 169), 0, false, 0}});
  Push(screen);
  EXPECT_EQ(screen->stepX, 10);
  EXPECT_EQ(screen->stepY, 5);
  EXPECT_EQ(OutlineColour(), 0x606060u);
  for (int k = 1; k <= 9; ++k) {
    Ticks(1);
    const int s = 10 - k;  // the outline drawn on tick k is shrunk by 10 - k steps
    const Rect o(100 + 10 * s, 100 + 5 * s, 299 - 10 * s, 199 - 5 * s);
    EXPECT_EQ(Pixel(o.left, o.top), 0x606060u) << k;
    EXPECT_EQ(Pixel(o.right, o.bottom), 0x606060u) << k;
    EXPECT_EQ(Pixel(o.left, (o.top + o.bottom) / 2), 0x606060u) << k;
    EXPECT_EQ(Pixel(o.left + 1, o.top + 1), kScene) << k;        // inside: the scene
    if (k > 1) {
      EXPECT_EQ(Pixel(o.left + 10, o.top + 5), kScene) << k;  // the last outline is gone
    }
    EXPECT_EQ(Pixel(165, 155), kScene) << k;                     // no control yet
    EXPECT_EQ(screen->GetScreenState(), kScreenOpening);
  }
  Ticks(1);  // the tenth tick: the controls
  EXPECT_EQ(screen->GetScreenState(), kScreenOpen);
  EXPECT_NE(Pixel(165, 155), kScene);
  EXPECT_NE(Pixel(100, 100), 0x606060u);
  EXPECT_EQ(screen->focus, 1);

  screen->SetState(kScreenClosing);
  Ticks(1);  // the first closing frame is the frame itself
  EXPECT_EQ(Pixel(100, 100), 0x606060u);
  EXPECT_EQ(Pixel(165, 155), kScene);
  Ticks(8);  // the ninth, shrunk by 8 steps
  EXPECT_EQ(Pixel(180, 140), 0x606060u);
  EXPECT_EQ(screen->GetScreenState(), kScreenClosing);
  Ticks(1);
  EXPECT_EQ(screen->GetScreenState(), kScreenClosed);
  EXPECT_EQ(Pixel(180, 140), kScene);
  Ticks(1);  // popped, cancelled: command 0
  EXPECT_EQ(Top(), nullptr);
  EXPECT_EQ(window_.commands, std::vector<int>{0});
}

TEST_F(InterfaceTest, FocusWrapsSkipsDisabledLatchesAndRadiosUncheckTheirMate) {
  TestScreen* screen = TestScreen::Make(&window_, kBox,
                                        {{Rect(110, 120, 140, 140), 0, false, 0},
                                         {Rect(150, 120, 180, 140), 1, false, 0},
                                         {Rect(190, 120, 220, 140), 0, false, 0},
                                         {Rect(110, 150, 140, 170), 0, true, 1},
                                         {Rect(150, 150, 180, 170), 0, true, 0}});
  Push(screen);
  Open();
  EXPECT_EQ(screen->focus, 1);
  window_.OnKeyDown(0xff54);  // Down: skips the disabled control 2
  EXPECT_EQ(screen->focus, 3);
  EXPECT_EQ(screen->ControlAt(1)->state, kControlNormal);
  EXPECT_EQ(screen->ControlAt(3)->state, kControlFocused);
  window_.OnKeyDown(0xff54);  // held: no second move until a release
  EXPECT_EQ(screen->focus, 3);
  window_.OnKeyUp(0xff54);
  Arrow(true);
  Arrow(true);
  EXPECT_EQ(screen->focus, 5);
  Arrow(true);  // past the last, wrapping over the frame
  EXPECT_EQ(screen->focus, 1);
  Arrow(false);  // before the first: the last
  EXPECT_EQ(screen->focus, 5);

  // Space presses the unchecked radio: its mate is unchecked first; the
  // release chooses it.
  window_.OnKeyDown(0x20);
  EXPECT_EQ(screen->ControlAt(5)->state, kControlPressed);
  EXPECT_EQ(screen->chosen, nullptr);
  window_.OnKeyUp(0x20);
  EXPECT_EQ(screen->ControlAt(4)->checked, 0);
  EXPECT_EQ(screen->ControlAt(5)->checked, 1);
  EXPECT_EQ(screen->chosen, screen->ControlAt(5));
  EXPECT_EQ(screen->GetGroupIndex(1), 1);
  Key(kKeySpace);  // the checked one pressed again stays checked
  EXPECT_EQ(screen->ControlAt(5)->checked, 1);
  // The release of a Space whose press this screen did not see (held down
  // before it opened) chooses nothing.
  screen->chosen = nullptr;
  window_.OnKeyUp(0x20);
  EXPECT_EQ(screen->chosen, nullptr);

  // A focused control that becomes disabled hands the focus on at the tick.
  screen->ControlAt(5)->SetState(kControlDisabled);
  Ticks(1);
  EXPECT_EQ(screen->focus, 1);

  // Pointer: press and release on one control chooses it; releasing over
  // another only focuses that one, and a release whose press this screen
  // did not see chooses nothing.
  screen->chosen = nullptr;
  window_.OnMouseUp(120, 130);  // over the focused control
  EXPECT_EQ(screen->chosen, nullptr);
  Click(200, 130);
  EXPECT_EQ(screen->chosen, screen->ControlAt(3));
  screen->chosen = nullptr;
  window_.OnMouseDown(120, 130);
  EXPECT_EQ(screen->ControlAt(1)->state, kControlPressed);
  window_.OnMouseUp(200, 130);
  EXPECT_EQ(screen->chosen, nullptr);
  EXPECT_EQ(screen->focus, 3);
  EXPECT_EQ(screen->ControlAt(1)->state, kControlNormal);
}

TEST_F(InterfaceTest, ScreenWithNothingToFocusOpensTakesInputAndCloses) {
  for (const auto& pieces : {std::vector<TestScreen::Piece>{{Rect(110, 120, 140, 140), 1, false, 0},
                                                          {Rect(150, 120, 180, 140), 4, false, 0}},
                            std::vector<TestScreen::Piece>{}}) {
    window_.commands.clear();
    TestScreen* screen = TestScreen::Make(&window_, kBox, pieces);
    Push(screen);
    Open();
    Arrow(true);
    Arrow(false);
    Key(kKeySpace);
    Key(kKeyReturn);
    window_.OnChar('a');
    Click(120, 130);
    Click(5, 5);
    Ticks(2);
    EXPECT_EQ(screen->chosen, nullptr);
    screen->SetState(kScreenClosing);
    UntilPopped();
    EXPECT_EQ(window_.commands, std::vector<int>{0});
  }
}

TEST_F(InterfaceTest, LayoutGridModes) {
  SkinContext* skin = window_.context->skin;
  std::vector<std::unique_ptr<IControl>> owned;
  const auto make = [&](int n, int w, int h) {
    std::vector<IControl*> list;
    for (int i = 0; i < n; ++i) {
      owned.emplace_back(IControl::Create(skin, 0));
      owned.back()->rect = Rect(0, 0, w - 1, h - 1);
      list.push_back(owned.back().get());
    }
    return list;
  };
  // Even columns: key c of a row starts at left + round(c x width / 11),
  // the rows 5 apart ((100 - 4 x 20) / 4) below each 20-pixel row.
  std::vector<IControl*> keys = make(44, 30, 20);
  IInterface::LayoutGrid(keys.data(), 44, Rect(5, 0, 644, 99), 4, 11, kGridEvenColumns, 0);
  for (int i = 0; i < 44; ++i) {
    const int col = i % 11;
    const int x = 5 + static_cast<int>(std::lround(col * 640.0 / 11));
    EXPECT_EQ(keys[i]->rect, Rect(x, 25 * (i / 11), x + 29, 25 * (i / 11) + 19)) << i;
  }
  // Packed, two rows of one with gap 10: spacing (100 - 30 - 40 - 20) / 2.
  std::vector<IControl*> two = make(1, 50, 20);
  two.push_back(make(1, 80, 30)[0]);
  IInterface::LayoutGrid(two.data(), 2, Rect(100, 100, 299, 199), 2, 1, kGridPacked, 10);
  EXPECT_EQ(two[0]->rect, Rect(110, 110, 159, 129));
  EXPECT_EQ(two[1]->rect, Rect(110, 145, 189, 174));
  // Column widths in one row of three, gap 4; packed gives the same row.
  std::vector<IControl*> row = make(1, 30, 10);
  row.push_back(make(1, 50, 10)[0]);
  row.push_back(make(1, 20, 10)[0]);
  for (u8 mode : {kGridColumnWidths, kGridPacked}) {
    IInterface::LayoutGrid(row.data(), 3, Rect(0, 0, 199, 49), 1, 3, mode, 4);
    EXPECT_EQ(row[0]->rect.left, 4);
    EXPECT_EQ(row[1]->rect.left, 38);
    EXPECT_EQ(row[2]->rect, Rect(92, 4, 111, 13));
  }
}

}  // namespace
