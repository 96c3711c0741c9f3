#include "ui/controls/control.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ui/controls/check_box.h"
#include "ui/controls/control_group.h"
#include "ui/controls/radio_button.h"

namespace {

TEST(Control, TextStateAndDirtyFlag) {
  std::unique_ptr<IControl> c(IControl::Create(nullptr, 5));
  EXPECT_EQ(c->State(), kControlHidden);
  EXPECT_STREQ(c->Text(), "");

  // A text of the capacity fits; a longer one is cut to the capacity
  // instead of leaving the old text showing.
  c->SetText("abcde");
  EXPECT_STREQ(c->Text(), "abcde");
  c->SetText("vwxyz123");
  EXPECT_STREQ(c->Text(), "vwxyz");
  EXPECT_EQ(c->IsDirty(), 1);

  // Place without a text keeps it and makes the hidden control normal and
  // dirty; placing a normal control again leaves it clean.
  c->Draw(nullptr);
  c->Place(Rect(1, 2, 30, 20), nullptr);
  EXPECT_STREQ(c->Text(), "vwxyz");
  EXPECT_EQ(c->State(), kControlNormal);
  EXPECT_EQ(c->IsDirty(), 1);
  c->Place(Rect(1, 2, 30, 20), "new");
  EXPECT_STREQ(c->Text(), "new");
  EXPECT_EQ(c->IsDirty(), 0);

  // Re-applying the same state or flag clears a pending redraw.
  c->SetState(kControlFocused);
  c->SetText("x");
  c->SetState(kControlFocused);
  EXPECT_EQ(c->IsDirty(), 0);
  c->SetChecked(1);
  EXPECT_EQ(c->IsDirty(), 1);
  c->SetChecked(1);
  EXPECT_EQ(c->IsDirty(), 0);

  // Hits include the right and bottom edges.
  EXPECT_TRUE(c->HitTest(30, 20));
  EXPECT_FALSE(c->HitTest(31, 20));

  std::unique_ptr<IControl> bare(IControl::Create(nullptr, 0));
  bare->SetText("ignored");
  EXPECT_STREQ(bare->Text(), "");
  EXPECT_EQ(bare->IsDirty(), 0);
}

// A screen's list: a frame (control 0), three radio buttons of group 1, a
// check box and a radio button of group 2.
class GroupTest : public testing::Test {
 protected:
  void SetUp() override {
    Add(IControl::Create(nullptr, 0), 0);
    for (int i = 0; i < 3; ++i)
      radios[i] = static_cast<IRadioButton*>(Add(IRadioButton::Create(nullptr, 4), 1));
    box = static_cast<ICheckBox*>(Add(ICheckBox::Create(nullptr, 4), 0));
    other = static_cast<IRadioButton*>(Add(IRadioButton::Create(nullptr, 4), 2));
  }
  void TearDown() override {
    for (IControl* c : list) delete c;
  }
  IControl* Add(IControl* c, u8 group) {
    c->groupId = group;
    list.Add(c);
    return c;
  }
  // What a screen does when the control is pressed.
  void Press(IControl* c) {
    UncheckGroup(list, c->groupId);
    c->SetState(kControlPressed);
  }

  PointerList<IControl> list{8};
  IRadioButton* radios[3] = {};
  ICheckBox* box = nullptr;
  IRadioButton* other = nullptr;
};

TEST_F(GroupTest, PressingARadioUnchecksItsGroupMate) {
  EXPECT_EQ(GetGroupIndex(list, 1), 2);  // none checked: members - 1
  SetGroupIndex(list, 1, 1);
  other->SetChecked(1);
  EXPECT_EQ(GetGroupIndex(list, 1), 1);

  Press(radios[2]);
  EXPECT_FALSE(radios[1]->IsChecked());
  EXPECT_TRUE(radios[2]->IsChecked());
  EXPECT_TRUE(other->IsChecked());  // another group is left alone
  EXPECT_EQ(GetGroupIndex(list, 1), 2);
  Press(radios[2]);  // pressing the checked one keeps it checked
  EXPECT_TRUE(radios[2]->IsChecked());
  EXPECT_EQ(GetGroupIndex(list, 2), 0);

  // A check box toggles at each press; group 0 is nobody's group.
  Press(box);
  EXPECT_TRUE(box->IsChecked());
  Press(box);
  EXPECT_FALSE(box->IsChecked());
  EXPECT_EQ(UncheckGroup(list, 0), -1);

  PointerList<IControl> single(1);
  single.Add(radios[0]);
  EXPECT_EQ(GetGroupIndex(single, 1), -1);
}

}  // namespace
