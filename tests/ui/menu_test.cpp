// The popup menu on the window manager: the box sized from its items and
// centred, and the ways it closes: a chosen item's command, Escape or a
// click outside with 0; separators and disabled items are never chosen.
#include "ui/menu.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/ui/screen_rig.h"
#include "ui/controls/menu_controls.h"

namespace {

using ui_testing::ScreenRig;

// A menu of the given items (command = position + 40), opened.
class MenuTest : public ScreenRig {
 public:
  IMenu* MakeMenu(const std::vector<const char*>& texts) {
    IMenu* menu = IMenu::Create(&window_, 20);
    for (size_t i = 0; i < texts.size(); ++i) menu->AddItem(texts[i], static_cast<u8>(40 + i));
    menu->Layout();
    menu->SetState(kScreenOpening);
    Push(menu);
    Open();
    window_.commands.clear();
    return menu;
  }
};

TEST_F(MenuTest, BoxFitsTheWidestItemAndTheRowsAndIsCentred) {
  // Ten items, the widest 10 letters (60 pixels); the separator's long
  // text does not count in the width.
  IMenu* menu = MakeMenu({"abcdefghij", "abc", "-----------------------", "abcd", "a", "b", "c",
                          "d", "e", "f"});
  EXPECT_EQ(menu->frame, Rect(280, 149, 359, 330));  // 80 x 182
  EXPECT_EQ(menu->ControlAt(0)->rect, menu->frame);
  EXPECT_EQ(menu->ControlAt(1)->rect, Rect(291, 155, 354, 171));
  EXPECT_EQ(menu->ControlAt(10)->rect, Rect(291, 308, 354, 324));
  auto* separator = static_cast<IMenuItem*>(menu->ControlAt(3));
  EXPECT_STREQ(separator->Text(), "-");
  EXPECT_EQ(separator->state, kControlDisabled);
  EXPECT_EQ(menu->focus, 1);
}

TEST_F(MenuTest, ClosingDeliversTheChosenCommandOrNothing) {
  struct Case {
    const char* what;
    void (*act)(MenuTest&);
    int command;
  };
  const Case cases[] = {
      // Down skips the separator: Return chooses the fourth item.
      {"Return", [](MenuTest& t) { t.Arrow(true), t.Arrow(true), t.Key(kKeyReturn); }, 43},
      {"Space", [](MenuTest& t) { t.Key(kKeySpace); }, 40},
      {"Escape", [](MenuTest& t) { t.Key(kKeyEscape); }, 0},
      {"click on an item", [](MenuTest& t) { t.ClickOn(t.Top()->ControlAt(2)); }, 41},
      {"click outside", [](MenuTest& t) { t.Click(100, 100); }, 0},
  };
  for (const Case& c : cases) {
    IMenu* menu = MakeMenu({"one", "two", "-", "four"});
    c.act(*this);
    Ticks(1);
    EXPECT_EQ(menu->GetScreenState(), kScreenClosing) << c.what;
    UntilPopped();
    EXPECT_EQ(window_.commands, std::vector<int>{c.command}) << c.what;
    EXPECT_EQ(window_.lastResume, c.command ? 0 : 1) << c.what;
  }
}

TEST_F(MenuTest, NothingIsChosenWithoutAnEnabledItem) {
  IMenu* menu = MakeMenu({"one", "-", "two"});
  Click(menu->frame.left + 1, menu->frame.top + 1);  // inside the box, on no item
  ClickOn(menu->ControlAt(2));                                         // on the separator
  Ticks(2);
  EXPECT_EQ(menu->GetScreenState(), kScreenOpen);
  EXPECT_EQ(menu->chosen, nullptr);
  // With every item disabled the focus finds no item and Return chooses nothing.
  for (int i = 1; i < menu->ControlCount(); ++i) menu->ControlAt(i)->SetState(kControlDisabled);
  Ticks(1);
  Key(kKeyReturn);
  Key(kKeySpace);
  menu->ChooseFocused();
  Ticks(2);
  EXPECT_EQ(menu->chosen, nullptr);
  EXPECT_EQ(menu->GetScreenState(), kScreenOpen);
}

}  // namespace
