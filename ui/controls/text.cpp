#include "ui/controls/text.h"

#include <algorithm>
#include <climits>

#include "platform/image.h"
#include "platform/image_pack.h"
#include "ui/app_context.h"
#include "ui/controls/image_control.h"
#include "ui/font.h"

namespace {

// The measuring width of MeasureText: wider than any box.
constexpr int kUnlimitedWidth = 16383;

// Advances of the font that lines are measured and drawn with.
struct TextMetrics {
  int blank;  // 3 x the width of '!'
  int tab;    // 12 x the width of '!'

  explicit TextMetrics(const SkinContext* skin)
      : blank(3 * ImageWidth(skin, kFirstGlyphImage)),
        tab(12 * ImageWidth(skin, kFirstGlyphImage)) {}
};

const Image* BankImage(const SkinContext* skin, i32 index) {
  return (skin && skin->imagePack && index >= 0) ? skin->imagePack->GetImage(index) : nullptr;
}

// What an image takes on a line: its width + 1, and a line at least its
// height + 1 tall. A missing image takes nothing.
int ImageAdvance(const Image* image) { return image ? image->width + 1 : 0; }
int ImageLineHeight(const Image* image) { return image ? image->height + 1 : 0; }

bool FitsI16(int v) { return v >= INT16_MIN && v <= INT16_MAX; }

void Stamp(Surface* target, const Image* image, int x, int y, u32 colour) {
  if (image && FitsI16(x) && FitsI16(y))
    BlitMask(target, image, static_cast<i16>(x), static_cast<i16>(y), colour, nullptr);
}

// The last place a line may end before it overflows, with the line's
// measures up to there.
struct BreakPoint {
  bool set = false;
  bool afterBlank = false;  // the line ends before that blank
  size_t pos = 0;
  int width = 0, height = 0, blanks = 0;
  u8 alignment = 0;
};

}  // namespace

IText* IText::Create(SkinContext* skin) { return InitControl(new IText(), skin, 0); }

void IText::Setup(const char* newText, const Rect& r, u32 n) {
  Place(r, nullptr);
  SetState(kControlDisabled);
  SetText(newText);
  CountPages();
  SetPage(n);
  dirty = 1;
}

void IText::SetText(const char* newText) {
  body = newText ? newText : "";
  dirty = 1;
}

u32 IText::CountPages() {
  pageStarts.clear();
  u8 alignment = kAlignJustify;
  // Every page takes at least one line and every line at least one byte.
  for (size_t pos = 0; pos < body.size();) {
    pageStarts.push_back(pos);
    pos = LayPage(pos, alignment, [](size_t, const TextLine&, int) {});
  }
  if (page >= PageCount()) page = 0;
  dirty = 1;
  return PageCount();
}

u32 IText::SetPage(u32 n) {
  if (n >= PageCount()) return 0;
  page = n;
  dirty = 1;
  return 1;
}

size_t IText::PageStart(u32 n) const { return n < PageCount() ? pageStarts[n] : body.size(); }

i16 IText::MeasureText(const char* from) const {
  if (!from) return 0;
  TextLine line;
  MeasureWithin(from, kUnlimitedWidth, line);
  return static_cast<i16>(std::min(line.width, static_cast<int>(INT16_MAX)));
}

void IText::MeasureLine(const char* from, TextLine& line) const {
  MeasureWithin(from, rect.right - rect.left + 1, line);
}

void IText::MeasureWithin(const char* from, int limit, TextLine& line) const {
  line.width = line.blanks = 0;
  line.endedByLineFeed = line.endsPage = false;
  line.consumed = 0;
  if (!from) return;
  const TextMetrics m(skin);
  BreakPoint last;
  const auto mark = [&](size_t pos, bool afterBlank) {
    last = BreakPoint{true, afterBlank, pos, line.width, line.height, line.blanks, line.alignment};
  };
  // Ends the line at the last break point; after a blank the line ends
  // before the blank, where the next line starts (and skips it).
  const auto endAtBreak = [&]() {
    line.width = last.width, line.height = last.height, line.blanks = last.blanks;
    line.alignment = last.alignment;
    line.consumed = last.pos;
    if (last.afterBlank) line.width -= m.blank, line.blanks -= 1, line.consumed -= 1;
  };

  size_t pos = 0;
  while (from[pos] == ' ') ++pos;  // leading blanks take no width
  const size_t firstByte = pos;
  for (;;) {
    const MarkupItem item = ReadMarkup(from + pos);
    switch (item.kind) {
      case Markup::kEnd:
        line.consumed = pos;
        return;
      case Markup::kLineFeed:
        line.consumed = pos + 1;
        line.endedByLineFeed = true;
        return;
      case Markup::kPageEnd:
        line.consumed = pos + item.length;
        line.endsPage = true;
        return;
      case Markup::kTab:
        // A line that ends after a tab does not count the tab's width.
        mark(pos + item.length, false);
        line.width += m.tab;
        break;
      case Markup::kBlank:
        line.width += m.blank;
        line.blanks += 1;
        mark(pos + 1, true);
        break;
      case Markup::kInlineImage: {
        const Image* image = BankImage(skin, item.value);
        // The line may end before the image when something comes before
        // it; right after a blank, it ends before that blank.
        if (pos > firstByte && !(last.set && last.afterBlank && last.pos == pos)) mark(pos, false);
        if (last.set && line.width + ImageAdvance(image) > limit) return endAtBreak();
        line.width += ImageAdvance(image);
        line.height = std::max(line.height, ImageLineHeight(image));
        break;
      }
      case Markup::kPicture: {
        const Image* image = BankImage(skin, item.value);
        line.width += ImageAdvance(image);
        line.height = std::max(line.height, ImageLineHeight(image));
        if (line.width > limit && last.set) return endAtBreak();
        mark(pos + item.length, false);
        break;
      }
      case Markup::kAlign:
        line.alignment = static_cast<u8>(item.value);
        break;
      case Markup::kGlyph:
        line.width += ImageAdvance(GlyphImage(skin, static_cast<u8>(item.value)));
        break;
      default:  // colours and escapes take no room
        break;
    }
    pos += item.length;
    if (line.width > limit) {
      // Without a break point the line keeps what crossed the edge.
      if (last.set) return endAtBreak();
      line.consumed = pos;
      return;
    }
  }
}

template <typename OnLine>
size_t IText::LayPage(size_t start, u8& alignment, OnLine onLine) const {
  const int limit = rect.right - rect.left + 1;
  size_t pos = start;
  int y = rect.top;
  // The lines a page holds are those the drawing shows: one 13-pixel step
  // each while a line's top is at least 12 pixels above the bottom.
  while (pos < body.size() && (pos == start || y <= rect.bottom - kTextLineHeight)) {
    TextLine line;
    line.alignment = alignment;
    MeasureWithin(body.c_str() + pos, limit, line);
    alignment = line.alignment;
    onLine(pos, line, y);
    pos += std::max<size_t>(line.consumed, 1);
    y += line.height + 1;
    if (line.endsPage) break;
  }
  return std::min(pos, body.size());
}

void IText::Draw(Surface* target) {
  if (!BeginDraw(target) || page >= PageCount()) return;
  if (rect.top > rect.bottom - kTextLineHeight) return;
  // The page starts with the alignment and colour in force where it starts.
  u8 alignment = kAlignJustify;
  u32 colour = skin->TextColour(0, 0);
  const size_t start = pageStarts[page];
  for (size_t pos = 0; pos < start;) {
    const MarkupItem item = ReadMarkup(body.c_str() + pos);
    if (item.length == 0) break;
    if (item.kind == Markup::kAlign) alignment = static_cast<u8>(item.value);
    if (item.kind == Markup::kColour) colour = static_cast<u32>(item.value);
    if (item.kind == Markup::kDefaultColour) colour = skin->TextColour(0, 0);
    pos += item.length;
  }
  LayPage(start, alignment, [&](size_t offset, const TextLine& line, int y) {
    DrawLine(target, offset, line, y, colour);
  });
}

void IText::DrawLine(Surface* target, size_t offset, const TextLine& line, int y,
                     u32& colour) const {
  const TextMetrics m(skin);
  const int width = rect.right - rect.left + 1;
  int x = rect.left;
  int blank = m.blank;
  switch (line.alignment) {
    case kAlignJustify:
      // The blanks share the free width, except on a paragraph's last line.
      if (!line.endedByLineFeed) {
        blank = width - (line.width - m.blank * line.blanks);
        if (line.blanks >= 2) blank /= line.blanks;
      }
      break;
    case kAlignCentre: x = rect.left + (width - line.width) / 2; break;
    case kAlignRight: x = rect.right - line.width; break;
    default: break;
  }
  const char* text = body.c_str();
  const size_t end = offset + line.consumed;
  size_t pos = offset;
  while (pos < end && text[pos] == ' ') ++pos;
  const int glyphTop = y + (line.height - kTextLineHeight) / 2;
  while (pos < end) {
    const MarkupItem item = ReadMarkup(text + pos);
    switch (item.kind) {
      case Markup::kEnd:
      case Markup::kLineFeed:
      case Markup::kPageEnd:
        return;
      case Markup::kGlyph: {
        const Image* glyph = GlyphImage(skin, static_cast<u8>(item.value));
        Stamp(target, glyph, x, glyphTop, colour);
        x += ImageAdvance(glyph);
        break;
      }
      case Markup::kInlineImage: {
        const Image* image = BankImage(skin, item.value);
        Stamp(target, image, x, glyphTop, colour);
        x += ImageAdvance(image);
        break;
      }
      case Markup::kPicture: {
        const Image* image = BankImage(skin, item.value);
        if (image) DrawPicture(target, image, x, y + (line.height - image->height) / 2, 255);
        x += ImageAdvance(image);
        break;
      }
      case Markup::kBlank: x += blank; break;
      case Markup::kTab: x += m.tab; break;
      case Markup::kColour: colour = static_cast<u32>(item.value); break;
      case Markup::kDefaultColour: colour = skin->TextColour(0, 0); break;
      default: break;  // alignment is the measured line's; escapes draw nothing
    }
    pos += item.length;
  }
}
