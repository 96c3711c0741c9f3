// The list box: rows that fit, selection by keys, pointer and text with
// page-wise scrolling, its scroll bar, and how AddItem splits lines.
#include "ui/controls/list_box.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/controls/scroll_bar.h"

namespace {

constexpr u32 kUpKeysym = 0xff52, kDownKeysym = 0xff54;

std::vector<std::string> Items(const IListBox& box) {
  std::vector<std::string> out;
  for (int i = 0; i < box.Count(); ++i) out.push_back(box.Item(i));
  return out;
}

TEST(ListBox, SelectsAndScrollsByPages) {
  std::vector<std::string> names;
  std::vector<const char*> texts;
  for (int i = 0; i < 12; ++i) names.push_back("item " + std::to_string(i));
  for (const auto& n : names) texts.push_back(n.c_str());
  std::unique_ptr<IListBox> box(IListBox::Create(nullptr, 10, 4));
  box->Setup(Rect(0, 0, 199, 100), "List", 12, texts.data());
  EXPECT_EQ(box->VisibleRows(), 5);  // (100 - 11) / 17
  ASSERT_TRUE(box->Scrolling());
  EXPECT_EQ(box->ScrollBar()->rect, Rect(180, 0, 199, 100));
  EXPECT_EQ(box->ScrollBar()->maximum, 7 * 256);
  EXPECT_EQ(box->TextArea(), Rect(10, 12, 170, 100));

  EXPECT_EQ(box->OnKeyDown(kUpKeysym), 1);  // at item 0: taken, nothing moves
  EXPECT_EQ(box->GetSelection(), 0);
  box->Select(11);  // one page down only: items 5 to 9 shown
  EXPECT_EQ(box->FirstRow(), 5);
  EXPECT_EQ(box->ScrollBar()->position, 5 * 256);
  EXPECT_EQ(box->OnKeyDown(kDownKeysym), 1);  // past the last item
  EXPECT_EQ(box->GetSelection(), 11);
  box->SelectByText("item 4");
  EXPECT_EQ(box->FirstRow(), 0);
  EXPECT_STREQ(box->GetSelectedText(), "item 4");
  box->SelectByText("nothing");
  EXPECT_EQ(box->GetSelection(), 4);

  // Row 2's band is y 41..58; a click there selects item 2.
  EXPECT_EQ(box->OnMouseDown(50, 45), 1);
  EXPECT_EQ(box->GetSelection(), 2);
  // The scroll bar's down arrow scrolls by a row.
  EXPECT_EQ(box->OnMouseDown(190, 95), 0);
  box->OnMouseUp(190, 95);
  EXPECT_EQ(box->FirstRow(), 1);
  EXPECT_EQ(box->OnKeyDown(0xff0d), 0);  // Return is not the list's

  // Too low for a row: one row all the same; items that fit take no
  // pointer to the bar.
  std::unique_ptr<IListBox> low(IListBox::Create(nullptr, 0, 4));
  low->Setup(Rect(0, 0, 99, 10), nullptr, 1, texts.data());
  EXPECT_EQ(low->VisibleRows(), 1);
  EXPECT_EQ(low->RowTextTop(0), 12);
  EXPECT_FALSE(low->Scrolling());
  EXPECT_EQ(low->OnMouseDown(95, 5), 0);
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
      {{"\n"}, {""}},
  };
  for (const auto& c : cases) {
    std::unique_ptr<IListBox> box(IListBox::Create(nullptr, 0, 4));
    for (const char* t : c.texts) box->AddItem(t);
    EXPECT_EQ(Items(*box), c.items) << c.texts[0];
  }
  // Filled item by item, placed afterwards: the scroll bar follows.
  std::unique_ptr<IListBox> box(IListBox::Create(nullptr, 0, 9));
  box->Setup(Rect(0, 0, 199, 50), nullptr, 0, nullptr);  // 2 rows
  box->AddItem("1\n2\n3\n4\n5\n");
  EXPECT_EQ(box->ScrollBar()->maximum, 3 * 256);
  box->Setup(Rect(0, 0, 199, 50), nullptr, 0, nullptr);  // keeps the items
  EXPECT_EQ(box->Count(), 5);
  EXPECT_EQ(box->ScrollBar()->rect, Rect(180, 0, 199, 50));
}

}  // namespace
