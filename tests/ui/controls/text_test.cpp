#include "ui/controls/text.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "tests/ui/controls/test_bank.h"

namespace {

using controls_testing::InkRuns;
using controls_testing::MakeSurface;
using controls_testing::PixelOf;
using controls_testing::Runs;
using controls_testing::TestBank;

constexpr u32 kPaper = 0xFFFFFF;  // the skin's fill colour
constexpr int kPicture = 600;

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

// Glyphs: '!' 2 wide (a blank is 6, a tab 24), every other character up to
// '~' 4 wide (5 with the advance); picture 600 is 7 wide and 12 high.
class TextTest : public testing::Test {
 protected:
  void SetUp() override {
    bank.Glyph(365, 2);
    for (int c = 34; c <= 126; ++c) bank.Glyph(365 + c - 33, 4);
    bank.Glyph(kPicture, 7);
    bank.Load();
    text.reset(IText::Create(bank.Skin()));
    ink = bank.Skin()->TextColour(0, 0);
  }
  TestBank bank;
  std::unique_ptr<IText> text;
  u32 ink = 0;
};

TEST_F(TextTest, PagesHoldTheLinesTheyShow) {
  // 300 pixels from top to bottom hold 23 lines of 12 (13 with the gap).
  const std::string lines = Repeat("A\n", 60);
  text->Setup(lines.c_str(), Rect(10, 0, 109, 300), 0);
  ASSERT_EQ(text->PageCount(), 3u);
  EXPECT_EQ(text->PageStart(1), 46u);
  EXPECT_EQ(text->PageStart(2), 92u);
  auto s = MakeSurface(120, 320, kPaper);
  text->Draw(s.get());
  for (int k = 0; k < 23; ++k) EXPECT_EQ(InkRuns(*s, 13 * k, ink), (Runs{{10, 13}})) << k;
  EXPECT_EQ(InkRuns(*s, 299, ink), Runs{});

  // Turning pages: only pages that exist are shown.
  EXPECT_EQ(text->PrevPage(), 0u);
  EXPECT_EQ(text->SetPage(3), 0u);
  EXPECT_EQ(text->Page(), 0u);
  EXPECT_EQ(text->NextPage(), 1u);
  EXPECT_EQ(text->NextPage(), 1u);
  EXPECT_EQ(text->NextPage(), 0u);
  EXPECT_EQ(text->Page(), 2u);
  EXPECT_EQ(text->PrevPage(), 1u);
  EXPECT_EQ(text->Page(), 1u);

  // Forced page ends, and an empty text has no page and draws nothing.
  text->Setup("A#!B#!", Rect(10, 0, 109, 300), 0);
  EXPECT_EQ(text->PageCount(), 2u);
  text->Setup("", Rect(10, 0, 109, 300), 0);
  EXPECT_EQ(text->PageCount(), 0u);
  s->Fill(0);
  text->Draw(s.get());
  EXPECT_EQ(PixelOf(*s, 10, 0), kPaper);
  EXPECT_EQ(InkRuns(*s, 0, ink), Runs{});
}

TEST_F(TextTest, ColourAndAlignmentCarryAcrossPages) {
  const u32 red = 0xFF0000;
  const std::string lines = "#~#c(00ff0000)" + Repeat("A\n", 30) + "A#cdA\n##c(00ff0000)A";
  text->Setup(lines.c_str(), Rect(10, 0, 109, 300), 1);
  ASSERT_EQ(text->Page(), 1u);
  auto s = MakeSurface(120, 320, kPaper);
  text->Draw(s.get());
  // Page 2 starts red and centred: x = 10 + (100 - 5) / 2.
  EXPECT_EQ(InkRuns(*s, 0, red), (Runs{{57, 60}}));
  // "A#cdA": the colour changes inside the line.
  EXPECT_EQ(InkRuns(*s, 13 * 7, red), (Runs{{55, 58}}));
  EXPECT_EQ(InkRuns(*s, 13 * 7, ink), (Runs{{60, 63}}));
  // "##c(00ff0000)A" is 13 glyphs in the colour in force, measured alike.
  EXPECT_EQ(InkRuns(*s, 13 * 8, red), Runs{});
  const Runs literal = InkRuns(*s, 13 * 8, ink);
  ASSERT_EQ(literal.size(), 13u);
  EXPECT_EQ(literal.front().first, 10 + (100 - 65) / 2);
  EXPECT_EQ(text->MeasureText("##c(00ff0000)A"), 65);
}

TEST_F(TextTest, LinesWrapAndAlign) {
  text->Setup("x", Rect(0, 0, 49, 100), 0);  // 50 pixels wide
  const struct {
    const char* text;
    int width, blanks;
    size_t consumed;
    bool ended, endsPage;
    int height;
    u8 alignment;
  } cases[] = {
      // A word longer than the line is cut after the glyph that crosses the edge.
      {"AAAAAAAAAAAAAA", 55, 0, 11, false, false, 12, kAlignJustify},
      // Wrapped before the blank that crossed it; the next line starts there.
      {"AAAA AAAA AAAA", 46, 1, 9, false, false, 12, kAlignJustify},
      {"  AA\nB", 10, 0, 5, true, false, 12, kAlignJustify},
      {"AA#!BB", 10, 0, 4, false, true, 12, kAlignJustify},
      {"#~AA", 10, 0, 4, false, false, 12, kAlignCentre},
      {"#>A#<A", 10, 0, 6, false, false, 12, kAlignLeft},
      {"^012A", 10, 0, 5, false, false, 13, kAlignJustify},
      {"^12", 15, 0, 3, false, false, 12, kAlignJustify},  // not an inline image
      {"A#p600A", 18, 0, 7, false, false, 13, kAlignJustify},
      // An inline image that does not fit goes to the next line.
      {"AAAAAAAA^012^012^012", 50, 0, 16, false, false, 13, kAlignJustify},
      // A line that ends after a tab does not count the tab.
      {"\tA#tA", 29, 0, 4, false, false, 12, kAlignJustify},
      {"\tA", 29, 0, 2, false, false, 12, kAlignJustify},
      {"#TA#cd", 10, 0, 6, false, false, 12, kAlignJustify},
  };
  for (const auto& c : cases) {
    TextLine line;
    text->MeasureLine(c.text, line);
    EXPECT_EQ(line.width, c.width) << c.text;
    EXPECT_EQ(line.blanks, c.blanks) << c.text;
    EXPECT_EQ(line.consumed, c.consumed) << c.text;
    EXPECT_EQ(line.endedByLineFeed, c.ended) << c.text;
    EXPECT_EQ(line.endsPage, c.endsPage) << c.text;
    EXPECT_EQ(line.height, c.height) << c.text;
    EXPECT_EQ(line.alignment, c.alignment) << c.text;
  }

  // Drawn: a justified line spreads its blanks, a paragraph's last line
  // does not, right alignment ends one pixel inside the edge.
  auto s = MakeSurface(120, 60, kPaper);
  text->Setup("A A A\nA A\n#>AA", Rect(10, 0, 109, 59), 0);
  text->Draw(s.get());
  EXPECT_EQ(InkRuns(*s, 0, ink), (Runs{{10, 13}, {21, 24}, {32, 35}}));
  EXPECT_EQ(InkRuns(*s, 13, ink), (Runs{{10, 13}, {21, 24}}));
  EXPECT_EQ(InkRuns(*s, 26, ink), (Runs{{99, 102}, {104, 107}}));
  s->Fill(kPaper);
  text->Setup("A A A", Rect(10, 0, 109, 59), 0);
  text->Draw(s.get());
  EXPECT_EQ(InkRuns(*s, 0, ink), (Runs{{10, 13}, {57, 60}, {104, 107}}));
}

TEST_F(TextTest, HostileMarkupEndsCleanly) {
  // Each text in a roomy box, a box narrower than any glyph and a box
  // lower than a line: pages are counted, every page is drawn, and the
  // run ends (the alarm ends the process when a text's layout loops).
  const std::string texts[] = {
      "^", "A^", "^1", "^12", "^12\n", "#", "A#", "#c", "#C", "#c(", "#c(ff", "#c(00ff0000",
      "#p", "#P", "#p12345678901234567890", "##", "#!", "#!#!", "#t", "\t\t", "   ", "A   ",
      "^012^012^012^012", "#p600#p600#p600", std::string(3000, 'A'), Repeat("A ", 500),
      Repeat("\n", 200),
  };
  const Rect boxes[] = {Rect(0, 0, 49, 100), Rect(0, 0, 0, 100), Rect(0, 0, 49, 5)};
  auto s = MakeSurface(60, 110, kPaper);
  for (const std::string& t : texts) {
    alarm(5);  // for each text
    for (const Rect& box : boxes) {
      // Copied to the heap at its exact size, so a read past the end shows.
      std::unique_ptr<char[]> copy(new char[t.size() + 1]);
      std::memcpy(copy.get(), t.c_str(), t.size() + 1);
      text->Setup(copy.get(), box, 0);
      EXPECT_LE(text->PageCount(), t.size()) << t;
      do text->Draw(s.get());
      while (text->NextPage());
      for (size_t at = 0; at < t.size(); ++at) {
        TextLine line;
        text->MeasureLine(copy.get() + at, line);
        ASSERT_GE(line.consumed, 1u) << t << " at " << at;
        ASSERT_LE(at + line.consumed, t.size()) << t << " at " << at;
      }
    }
  }
  alarm(0);
  // "#c(" with no end takes the rest of the text and draws nothing.
  text->Setup("A#c(00ff0000 A", Rect(0, 0, 49, 100), 0);
  s->Fill(kPaper);
  text->Draw(s.get());
  EXPECT_EQ(InkRuns(*s, 0, ink), (Runs{{0, 3}}));
}

}  // namespace
