#include "ui/font.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/ui/controls/test_bank.h"
#include "ui/controls/control.h"

namespace {

using controls_testing::MakeSurface;
using controls_testing::Runs;
using controls_testing::TestBank;

constexpr u32 kPaper = 0xFFFFFF;
constexpr u32 kInk = 0x4040FF;  // text colour of a normal control

// Glyph widths of the bank: '!' 2 (so a blank is 6), 'A' 4, 'B' 5, 'W' 8,
// the line-feed glyph 9, inline images 377 and 488 of widths 6 and 7.
// Every other picture is a 1-pixel dot without ink.
void AddGlyphs(TestBank& bank) {
  bank.Glyph(365, 2);
  bank.Glyph(365 + 'A' - 33, 4);
  bank.Glyph(365 + 'B' - 33, 5);
  bank.Glyph(419, 8);
  bank.Glyph(365 + ((10 - 33) & 255), 9);
  bank.Glyph(377, 6);
  bank.Glyph(488, 7);
}

// The inked spans of a row, in a normal control's colour unless given.
Runs InkRuns(const Surface& s, int y, u32 ink = kInk) { return controls_testing::InkRuns(s, y, ink); }

class FontTest : public testing::Test {
 protected:
  void SetUp() override {
    AddGlyphs(bank);
    bank.Load();
  }
  TestBank bank;
};

TEST_F(FontTest, TextWidthFollowsTheDrawingRules) {
  const struct {
    const char* text;
    int width;
  } cases[] = {
      {"", 0},
      {"W", 9},          // one glyph: its width + 1
      {" ", 6},          // 3 x the width of '!'
      {"A\nB", 21},      // the line feed is measured as its glyph
      {"A^012B", 18},    // A, image 377, B
      {"^1234", 10},     // image 488, then the glyph '4'
      {"^12", 6},        // two digits before the end: three ordinary glyphs
      {"^ab1", 8},       // no digits after the '^': four ordinary glyphs
      {"\xFF", 2},       // code 255 reaches the last glyph, image 587
  };
  for (const auto& c : cases) EXPECT_EQ(TextWidth(bank.Skin(), c.text), c.width) << c.text;
  Rect cells;
  TextCellRect(cells, bank.Skin(), 3, 2);
  EXPECT_EQ(cells, Rect(0, 0, 27, 26));
}

TEST_F(FontTest, DrawTextStampsGlyphsAndInlineImages) {
  auto s = MakeSurface(80, 40, kPaper);
  DrawText(bank.Skin(), s.get(), "A^012B", 2, 2, kControlNormal, 0, nullptr);
  EXPECT_EQ(InkRuns(*s, 2), (Runs{{2, 5}, {7, 12}, {14, 18}}));
  EXPECT_EQ(InkRuns(*s, 1), Runs{});
  EXPECT_EQ(InkRuns(*s, 14), Runs{});  // 12 rows of ink from y = 2

  s->Fill(kPaper);
  // A '^' with a blank before the digits is an ordinary glyph (no ink in
  // this bank), and so are the digits.
  DrawText(bank.Skin(), s.get(), "^ 123\nA^123", 0, 0, kControlFocused, 0, nullptr);
  EXPECT_EQ(InkRuns(*s, 0, 0x208020), Runs{});
  // The line step is the height of '!' + 1.
  EXPECT_EQ(InkRuns(*s, 13, 0x208020), (Runs{{0, 3}, {5, 11}}));

  // Passing the clip's right edge ends the text, later lines included.
  s->Fill(kPaper);
  const Rect clip(0, 0, 5, 39);
  DrawText(bank.Skin(), s.get(), "AB\nA", 0, 0, kControlNormal, 0, &clip);
  EXPECT_EQ(InkRuns(*s, 0), (Runs{{0, 3}}));
  EXPECT_EQ(InkRuns(*s, 13), Runs{});
}

TEST(FontHostileTest, MissingAndForeignPicturesDrawNothing) {
  // A bank that ends at image 499: the upper code page, the line-feed glyph
  // and large inline numbers fall outside it. Image 366 ('"') is a palette
  // piece of one byte per pixel where a glyph's three are expected.
  TestBank bank(500);
  AddGlyphs(bank);
  bank.Glyph(462, 3);  // e acute (0x82)
  bank.Piece(366, 4, 12, std::vector<unsigned char>(48, 0), std::vector<unsigned char>(48, 0));
  bank.Load();
  const struct {
    const char* text;
    int width;
    Runs ink;
  } cases[] = {
      {"\x82", 4, {{0, 2}}},             // the unsigned byte finds image 462
      {"\xFF", 0, {}},                   // image 587 is missing
      {"A\nB", 11, {{0, 3}}},            // so is the line-feed glyph (B goes to the next line)
      {"A^999B", 11, {{0, 3}, {5, 9}}},  // image 1364: no width, nothing drawn
      {"\"A", 10, {{5, 8}}},             // the palette piece advances but stamps nothing
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextWidth(bank.Skin(), c.text), c.width) << c.text;
    auto s = MakeSurface(40, 30, kPaper);
    DrawText(bank.Skin(), s.get(), c.text, 0, 0, kControlNormal, 0, nullptr);
    EXPECT_EQ(InkRuns(*s, 0), c.ink) << c.text;
  }
  // Without any bank nothing is measured or drawn.
  SkinContext bare = *bank.Skin();
  bare.imagePack = nullptr;
  EXPECT_EQ(TextWidth(&bare, "AB"), 0);
}

TEST_F(FontTest, StyledLinesAndColumns) {
  TextStyle justified;
  justified.alignment = 5;
  TextStyle centred;
  centred.alignment = 1;
  TextStyle fixed;
  fixed.fixedWidth = 1;
  TextStyle rightBottom;
  rightBottom.alignment = 4;
  const struct {
    const char* text;
    TextStyle style;
    Rect rect;
    int row;
    Runs ink;
  } lines[] = {
      // One blank takes all the free width: B ends where the rect does.
      {"A B", justified, Rect(0, 0, 39, 20), 0, {{0, 3}, {33, 37}}},
      {"AB", centred, Rect(0, 0, 99, 20), 0, {{44, 47}, {49, 53}}},
      {"A", fixed, Rect(0, 0, 99, 20), 0, {{2, 5}}},  // centred in the cell of 'W'
      {"AB", rightBottom, Rect(0, 0, 59, 39), 39 - 13, {{48, 51}, {53, 57}}},
  };
  for (const auto& l : lines) {
    auto s = MakeSurface(100, 40, kPaper);
    DrawTextStyledH(bank.Skin(), s.get(), l.text, l.rect, l.style, kControlNormal, 0);
    EXPECT_EQ(InkRuns(*s, l.row), l.ink) << l.text;
  }
  // A column: letters stacked at their heights + 1, the measure in heights.
  TextStyle down;
  down.vertical = 1;
  EXPECT_EQ(TextWidthStyled(bank.Skin(), "AB", down), 26);
  EXPECT_EQ(TextWidthStyled(bank.Skin(), "A B", TextStyle()), 17);
  auto s = MakeSurface(40, 60, kPaper);
  DrawTextStyled(bank.Skin(), s.get(), "AB", Rect(0, 0, 39, 59), down, kControlNormal, 0);
  EXPECT_EQ(InkRuns(*s, 11), (Runs{{0, 3}}));
  EXPECT_EQ(InkRuns(*s, 12), Runs{});
  EXPECT_EQ(InkRuns(*s, 13), (Runs{{0, 4}}));
}

}  // namespace
