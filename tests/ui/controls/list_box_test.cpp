// The list box: rows that fit, selection by keys, pointer and text with
// page-wise scrolling, its scroll bar, and how AddItem splits lines.
#include "ui/controls/list_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/controls/scroll_bar.h"

namespace {

TEST(ListBox, SelectsAndScrollsByPages) {
  std::vector<std::string> names;
  for (int i = 0; i < 12; ++i) names.push_back("item " + std::to_string(i));
  std::vector<const char*> texts;
  for (const auto& n : names) texts.push_back(n.c_str());
  std::unique_ptr<IListBox> box(IListBox::Create(nullptr, 10, 4));
  box->Setup(Rect(0, 0, 199, 100), "List", 12, texts.data());
  EXPECT_EQ(box->VisibleRows(), 5);  // (100 - 11) / 17
  EXPECT_EQ(box->ScrollBar()->rect, Rect(180, 0, 199, 100));
  EXPECT_EQ(box->ScrollBar()->maximum, 7 * 256);

  EXPECT_EQ(box->OnKeyDown(0xff52), 1);  // Up at item 0: taken, nothing moves
  box->Select(11);                       // one page down only: items 5 to 9 shown
  EXPECT_EQ(box->FirstRow(), 5);
  EXPECT_EQ(box->ScrollBar()->position, 5 * 256);
  EXPECT_EQ(box->OnKeyDown(0xff54), 1);  // Down past the last item
  EXPECT_EQ(box->GetSelection(), 11);
  box->SelectByText("item 4");
  EXPECT_EQ(box->FirstRow(), 0);
  EXPECT_STREQ(box->GetSelectedText(), "item 4");
  EXPECT_EQ(box->OnMouseDown(50, 45), 1);  // row 2's band is y 41..58
  EXPECT_EQ(box->GetSelection(), 2);
  EXPECT_EQ(box->OnMouseDown(190, 95), 0);  // the bar's down arrow: a row on
  EXPECT_EQ(box->FirstRow(), 1);

  // Too low for a row: one row under the caption all the same. Items that
  // fit hand no pointer to the bar.
  box->Setup(Rect(0, 0, 99, 10), nullptr, 1, texts.data());
  EXPECT_EQ(box->VisibleRows(), 1);
  EXPECT_EQ(box->RowTextTop(0), 12);
  EXPECT_EQ(box->OnMouseDown(95, 5), 0);
  EXPECT_EQ(box->ScrollBar()->position, 0);
}

TEST(ListBox, AddItemTakesOneItemPerLineFeed) {
  const struct {
    std::vector<const char*> texts;
    std::vector<std::string> items;
  } cases[] = {
      {{"one\ntwo\n"}, {"one", "two"}},
      {{"single"}, {"single"}},
      {{"first\nsecond"}, {"first"}},
      {{"a\n", "b\nc\nd\n", "e"}, {"a", "b", "c", "d"}},  // full at 4
  };
  for (const auto& c : cases) {
    std::unique_ptr<IListBox> box(IListBox::Create(nullptr, 0, 4));
    for (const char* t : c.texts) box->AddItem(t);
    std::vector<std::string> items;
    for (int i = 0; i < box->Count(); ++i) items.push_back(box->Item(i));
    EXPECT_EQ(items, c.items) << c.texts[0];
  }
  // Filled item by item: the scroll bar follows, and placing keeps the items.
  std::unique_ptr<IListBox> box(IListBox::Create(nullptr, 0, 9));
  box->Setup(Rect(0, 0, 199, 50), nullptr, 0, nullptr);  // 2 rows
  box->AddItem("1\n2\n3\n4\n5\n");
  EXPECT_EQ(box->ScrollBar()->maximum, 3 * 256);
  box->Setup(Rect(0, 0, 199, 50), nullptr, 0, nullptr);
  EXPECT_EQ(box->Count(), 5);
  EXPECT_EQ(box->ScrollBar()->rect, Rect(180, 0, 199, 50));
}

}  // namespace
