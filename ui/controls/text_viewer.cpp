#include "ui/controls/text_viewer.h"

#include <algorithm>
#include <cstring>

#include "platform/image.h"
#include "ui/app_context.h"
#include "ui/controls/label.h"

namespace {

constexpr int kMaxRows = 255;
constexpr size_t kMaxLines = 32767;  // far past what 50 pages can show

// A row's text: the line piece from offset to end, and how to align it.
struct Piece {
  std::string text;
  u8 alignment = 0;
};

bool IsWholeLine(const std::string& line) { return line.empty() || line[0] == '#'; }

}  // namespace

ITextViewer* ITextViewer::Create(SkinContext* skin, i16 rowTotal, i16 capacity) {
  ITextViewer* viewer = InitControl(new ITextViewer(), skin, 0);
  viewer->rowCapacity = std::max<i16>(capacity, 0);
  // A row's buffer holds at most 255 characters.
  const u8 rowBuffer = static_cast<u8>(std::min<int>(viewer->rowCapacity, 255));
  const int count = std::min<int>(std::max<int>(rowTotal, 0), kMaxRows);
  for (int i = 0; i < count; ++i) viewer->rows.push_back(IFormattedLabel::Create(skin, rowBuffer));
  return viewer;
}

ITextViewer::~ITextViewer() {
  for (IFormattedLabel* row : rows) delete row;
}

IFormattedLabel* ITextViewer::Row(int i) const {
  return i >= 0 && i < RowCount() ? rows[static_cast<size_t>(i)] : nullptr;
}

void ITextViewer::SetState(u8 newState) {
  dirty = newState != state ? 1 : 0;
  state = newState;
  for (IFormattedLabel* row : rows) row->SetState(newState);
}

int ITextViewer::RowHeight() const { return ImageHeight(skin, kFirstGlyphImage) + 1; }

int ITextViewer::BlankAdvance() const {
  const int blank = style.blankWidth < 0 ? ImageHeight(skin, kFirstGlyphImage) : style.blankWidth;
  return blank + style.spacing;
}

void ITextViewer::SetText(const char* newText, const Rect& r, u8 page) {
  rect = r;
  SetState(kControlNormal);
  SetState(kControlDisabled);
  // Lines end at line feeds; a last line without one still counts.
  lines.clear();
  const char* p = newText ? newText : "";
  while (*p && lines.size() < kMaxLines) {
    const char* end = std::strchr(p, '\n');
    const size_t length = end ? static_cast<size_t>(end - p) : std::strlen(p);
    lines.emplace_back(p, length);
    p += length + (end ? 1 : 0);
  }
  Paginate();
  currentPage = static_cast<u8>(std::min<int>(page, pageCount - 1));
  FillRows();
}

size_t ITextViewer::WrapEnd(const std::string& line, size_t offset) const {
  const int limit = (rect.right - rect.left) - 3;
  const int blank = BlankAdvance();
  long width = 0;
  size_t lastBreak = std::string::npos;
  for (size_t i = offset; i < line.size(); ++i) {
    const u8 c = static_cast<u8>(line[i]);
    if (c == ' ') {
      if (width >= limit) return lastBreak != std::string::npos ? lastBreak : i;
      lastBreak = i;
      width += blank;
    } else {
      const Image* glyph = GlyphImage(skin, c);  // measured without the gap
      width += glyph ? glyph->width : 0;
    }
  }
  // The last word may still overrun: it then goes to the next row.
  if (width >= limit && lastBreak != std::string::npos) return lastBreak;
  return line.size();
}

void ITextViewer::Paginate() {
  const int perPage = std::max(1, (rect.bottom - rect.top) / std::max(1, RowHeight()));
  pages[0] = PageStart{0, 0};
  pageCount = 1;
  int filled = 0;  // rows of the present page
  for (size_t l = 0; l < lines.size(); ++l) {
    const std::string& line = lines[l];
    size_t offset = 0;
    do {
      if (filled == perPage) {
        // The table holds 50 pages; rows past them are not paged.
        if (pageCount == kTextViewerPages) return;
        pages[pageCount++] = PageStart{static_cast<i32>(offset), static_cast<i32>(l)};
        filled = 0;
      }
      ++filled;
      if (IsWholeLine(line)) break;
      offset = WrapEnd(line, offset) + 1;
    } while (offset < line.size());
  }
}

void ITextViewer::FillRows() {
  const PageStart start = pages[currentPage];
  size_t l = static_cast<size_t>(start.line);
  size_t offset = static_cast<size_t>(start.offset);
  pastEnd = 0;
  for (IFormattedLabel* row : rows) {
    Piece piece;
    if (l >= lines.size()) {
      pastEnd = 1;
    } else {
      const std::string& line = lines[l];
      const std::string code = line.substr(0, 2);
      if (code == "#~" || code == "#>" || code == "#<") {
        piece.text = line.substr(2);
        piece.alignment = code == "#~" ? 1 : code == "#>" ? 2 : 0;
        ++l, offset = 0;
      } else if (IsWholeLine(line)) {
        piece.text = line;  // another '#' line shows as it is
        ++l, offset = 0;
      } else {
        const size_t end = WrapEnd(line, offset);
        piece.text = line.substr(offset, end - offset);
        if (!piece.text.empty() && piece.text.back() == ' ') piece.text.pop_back();
        const bool more = end + 1 < line.size();
        piece.alignment = more ? 5 : 0;  // wrapped rows are justified
        offset = end + 1;
        if (!more) ++l, offset = 0;
      }
      if (l >= lines.size()) pastEnd = 1;
    }
    TextStyle rowStyle;
    rowStyle.alignment = piece.alignment;
    row->style = rowStyle;
    row->dirty = 1;
    // A piece longer than the row's buffer is cut to it.
    row->SetText(piece.text.c_str());
  }
}

void ITextViewer::Draw(Surface* target) {
  if (!BeginDraw(target)) return;
  const int height = std::max(1, RowHeight());
  const int shown = std::min((rect.bottom - rect.top) / height, RowCount());
  for (int i = 0; i < shown; ++i) {
    IFormattedLabel* row = rows[static_cast<size_t>(i)];
    row->skin = skin;
    row->rect = Rect(rect.left, rect.top + i * height, rect.right, rect.top + (i + 1) * height);
    row->Draw(target);
  }
}
