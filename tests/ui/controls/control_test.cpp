#include "ui/controls/control.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

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

// A screen's radio groups (the screens press and check them, see the
// interface test): the index of the checked member, or the last one when
// none is checked.
TEST(ControlGroup, IndexOfTheCheckedMember) {
  PointerList<IControl> list(8);
  list.Add(IControl::Create(nullptr, 0));  // the frame
  for (u8 group : {1, 2, 1, 1}) {
    list.Add(IRadioButton::Create(nullptr, 4));
    list.At(list.Count() - 1)->groupId = group;
  }
  EXPECT_EQ(GetGroupIndex(list, 1), 2);  // none checked: members - 1
  SetGroupIndex(list, 1, 1);
  EXPECT_EQ(GetGroupIndex(list, 1), 1);
  EXPECT_EQ(list.At(3)->IsChecked(), 1);
  EXPECT_EQ(GetGroupIndex(list, 2), 0);
  EXPECT_EQ(UncheckGroup(list, 1), 3);
  EXPECT_EQ(UncheckGroup(list, 0), -1);  // group 0 is nobody's group
  PointerList<IControl> single(1);
  single.Add(list.At(1));
  EXPECT_EQ(GetGroupIndex(single, 1), -1);
  for (IControl* c : list) delete c;
}

}  // namespace
