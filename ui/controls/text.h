// A long formatted text inside a rectangle, wrapped into lines and split
// into pages, in the mark-up of ui/controls/markup.h. Alignment and colour
// codes stay in force across lines and pages until the next code of their
// kind. The control never takes input: its screen turns the pages.
#pragma once

#include <string>
#include <vector>

#include "ui/controls/control.h"
#include "ui/controls/markup.h"

// The least height of a line of text.
constexpr int kTextLineHeight = 12;

// One measured line.
struct TextLine {
  int width = 0;
  int height = kTextLineHeight;      // in/out: the caller starts it at 12
  u8 alignment = kAlignJustify;      // in/out: the alignment in force
  int blanks = 0;                    // blanks counted in the width
  bool endedByLineFeed = false;      // such a line is not stretched
  bool endsPage = false;             // the line ends with "#!"
  size_t consumed = 0;               // bytes the line takes, leading blanks included
};

class IText : public IControl {
 public:
  // Hidden, without text or pages.
  static IText* Create(SkinContext* skin);

  // Places the control, disables it (it never takes focus), keeps a copy
  // of the text, counts its pages and shows the page (the first when the
  // page does not exist).
  void Setup(const char* text, const Rect& rect, u32 page);
  // Keeps a copy of the text; the pages are counted by CountPages.
  void SetText(const char* newText);
  // Splits the text into the pages the rectangle holds; the number of
  // pages (0 for an empty text).
  u32 CountPages();

  // Shows page n: 1 when it exists, else 0 and nothing changes.
  u32 SetPage(u32 n);
  u32 NextPage() { return SetPage(page + 1); }
  u32 PrevPage() { return page == 0 ? 0 : SetPage(page - 1); }
  u32 Page() const { return page; }
  u32 PageCount() const { return static_cast<u32>(pageStarts.size()); }
  // Offset in the text of the first byte of page n (n <= the page count;
  // page count: the end of the text).
  size_t PageStart(u32 n) const;

  // The width of the first line of a text with no width limit: what a
  // screen sizes its box by.
  i16 MeasureText(const char* from) const;
  // Measures the line that starts at from inside the control's width.
  // A line always takes at least one byte unless from is at the end.
  void MeasureLine(const char* from, TextLine& line) const;

  // The current page.
  void Draw(Surface* target) override;

 protected:
  IText() = default;

 private:
  // Calls onLine(offset, line, y) for each line of the page that starts
  // at the offset, the alignment running on from line to line, and returns
  // the offset where the next page starts (the text's length at the end).
  template <typename OnLine>
  size_t LayPage(size_t start, u8& alignment, OnLine onLine) const;
  void MeasureWithin(const char* from, int limit, TextLine& line) const;
  // Draws one measured line at y in the colour, which its codes change.
  void DrawLine(Surface* target, size_t offset, const TextLine& line, int y, u32& colour) const;

  std::string body;               // the text
  std::vector<size_t> pageStarts;  // offset of each page's first byte
  u32 page = 0;
};
