// The text viewer's wrapping, paging and alignment codes, with glyphs 5
// pixels wide and '!' 12 high: rows are 13 pixels, and a blank counts 12
// in the wrapping.
#include "ui/controls/text_viewer.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "tests/ui/controls/test_bank.h"
#include "ui/controls/label.h"

namespace {

using Row = std::pair<std::string, int>;  // text, alignment

std::vector<Row> Rows(const ITextViewer& viewer) {
  std::vector<Row> out;
  for (int i = 0; i < viewer.RowCount(); ++i)
    out.emplace_back(viewer.Row(i)->Text(), viewer.Row(i)->style.alignment);
  return out;
}

// The viewer is 104 wide: a row ends at the last blank before 100 pixels.
// Four words of 4 letters reach 20 + 32 + 32 + 32 = 116 at the fourth
// blank, so a row holds three.
TEST(TextViewer, WrapsPagesAndAligns) {
  controls_testing::TestBank bank;
  for (int i = 365; i <= 587; ++i) bank.Glyph(i, 5);
  bank.Load();
  const char* kCoded = "#~Title\n#>right\nplain\n\n#<left\n#other\nlast";
  const struct {
    const char* text;
    int rows;  // rows per page from the height
    u8 page;
    int pages;
    std::vector<Row> shown;
    bool end;
  } cases[] = {
      {"aaaa bbbb cccc dddd eeee ffff gg\n",
       4,
       0,
       1,
       {{"aaaa bbbb cccc", 5}, {"dddd eeee ffff", 5}, {"gg", 0}, {"", 0}},
       true},
      // Codes and a page of two rows; the rows after the page read on.
      {kCoded, 2, 0, 4, {{"Title", 1}, {"right", 2}, {"plain", 0}, {"", 0}}, false},
      {kCoded, 2, 1, 4, {{"plain", 0}, {"", 0}, {"left", 0}, {"#other", 0}}, false},
      {kCoded, 2, 3, 4, {{"last", 0}, {"", 0}, {"", 0}, {"", 0}}, true},  // no final line feed
      {"one\ntwo\nthree\nfour\nfive\n",
       2,
       9,
       3,  // past the last page: the last
       {{"five", 0}, {"", 0}, {"", 0}, {"", 0}},
       true},
      {"abcdefghijklmnopqrstuvwxyz\n",
       4,
       0,
       1,  // cut to the row's 20 characters
       {{"abcdefghijklmnopqrst", 0}, {"", 0}, {"", 0}, {"", 0}},
       true},
  };
  for (const auto& c : cases) {
    std::unique_ptr<ITextViewer> viewer(ITextViewer::Create(bank.Skin(), 4, 20));
    viewer->SetText(c.text, Rect(0, 0, 103, 13 * c.rows), c.page);
    EXPECT_EQ(viewer->PageCount(), c.pages) << c.text;
    EXPECT_EQ(viewer->State(), kControlDisabled);
    EXPECT_EQ(viewer->ShowsEnd(), c.end) << c.text;
    EXPECT_EQ(Rows(*viewer), c.shown) << c.text;
  }

  // A text of more than 50 pages: the table stops at 50.
  std::string many;
  for (int i = 0; i < 200; ++i) many += "x\n";
  std::unique_ptr<ITextViewer> viewer(ITextViewer::Create(bank.Skin(), 2, 20));
  viewer->SetText(many.c_str(), Rect(0, 0, 103, 26), 200);
  EXPECT_EQ(viewer->PageCount(), 50);
  EXPECT_EQ(viewer->CurrentPage(), 49);
  EXPECT_EQ(Rows(*viewer), (std::vector<Row>{{"x", 0}, {"x", 0}}));
}

}  // namespace
