// A paged text of several rows: the text's lines are wrapped at blanks to
// the viewer's width, counted into pages of as many rows as fit, and one
// page at a time is shown in a column of formatted labels. Wrapped rows are
// justified; a line starting with "#~", "#>" or "#<" is one row centred,
// right- or left-aligned.
#pragma once

#include <string>
#include <vector>

#include "ui/controls/control.h"
#include "ui/font.h"

class IFormattedLabel;

constexpr int kTextViewerPages = 50;

class ITextViewer : public IControl {
 public:
  // A viewer of `rows` rows of up to rowCapacity characters each; no text
  // buffer of its own.
  static ITextViewer* Create(SkinContext* skin, i16 rows, i16 rowCapacity);
  ~ITextViewer() override;

  // Places the viewer (disabled, as texts are), splits the text into
  // lines, pages it and shows the page; a page past the last shows the
  // last.
  void SetText(const char* newText, const Rect& r, u8 page);
  // The state is every row's too.
  void SetState(u8 newState) override;
  void Draw(Surface* target) override;

  int PageCount() const { return pageCount; }
  u8 CurrentPage() const { return currentPage; }
  // Whether the page shown reaches the end of the text.
  bool ShowsEnd() const { return pastEnd != 0; }
  int RowCount() const { return static_cast<int>(rows.size()); }
  IFormattedLabel* Row(int i) const;

  // The blank width and spacing the wrapping measures with.
  TextStyle style;

 protected:
  ITextViewer() = default;

 private:
  struct PageStart {
    i32 offset;  // within the line
    i32 line;
  };

  int RowHeight() const;
  // Width of a blank for the wrapping.
  int BlankAdvance() const;
  // The end of the row that starts at offset in the line: the whole rest
  // when it fits, else the last blank before the width is reached.
  size_t WrapEnd(const std::string& line, size_t offset) const;
  void Paginate();
  void FillRows();

  u8 currentPage = 0;
  i16 rowCapacity = 0;
  std::vector<std::string> lines;
  u32 pastEnd = 0;
  PageStart pages[kTextViewerPages] = {};
  int pageCount = 0;
  std::vector<IFormattedLabel*> rows;  // owned
};
