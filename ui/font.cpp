#include "ui/font.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "platform/image.h"
#include "platform/image_pack.h"
#include "ui/app_context.h"

namespace {

constexpr u8 kBlank = ' ';
constexpr u8 kLineFeed = '\n';
constexpr u8 kImageMarker = '^';
// The styled routines keep their character index in a byte.
constexpr size_t kStyledTextMax = 255;

Image* BankImage(const SkinContext* skin, int index) {
  return (skin && skin->imagePack) ? skin->imagePack->GetImage(index) : nullptr;
}

// Advance of one glyph or inline image: its width + 1, or nothing for an
// image the bank lacks.
int Advance(const Image* image) { return image ? image->width + 1 : 0; }

int BlankAdvance(const SkinContext* skin) { return 3 * ImageWidth(skin, kFirstGlyphImage); }

bool IsDigit(u8 c) { return c >= '0' && c <= '9'; }

// The text colour of the state and colour index; false for a state or index
// the skin has no colour for.
bool TextColourOf(const SkinContext* skin, u8 state, u8 colourIndex, u32& colour) {
  if (!skin || state >= kSkinStates || colourIndex >= kSkinColourIndices) return false;
  colour = skin->TextColour(colourIndex, state);
  return true;
}

i16 ClampWidth(long w) {
  return static_cast<i16>(std::max<long>(INT16_MIN, std::min<long>(INT16_MAX, w)));
}

// Walks a text by the rules of DrawText, calling stamp(image, x, y) for
// each glyph and inline image; stops early when the clip is passed.
template <typename Stamp>
void WalkText(const SkinContext* skin, const char* text, int x, int y, const Rect* clip,
              Stamp stamp) {
  const u8* s = reinterpret_cast<const u8*>(text);
  const size_t length = std::strlen(text);
  const int startX = x;
  const int lineStep = ImageHeight(skin, kFirstGlyphImage) + 1;
  for (size_t i = 0; i < length; ++i) {
    const u8 c = s[i];
    const int inlineImage = InlineImageAt(text + i);
    if (c == kLineFeed) {
      x = startX;
      y += lineStep;
    } else if (c == kBlank) {
      x += BlankAdvance(skin);
    } else if (inlineImage >= 0) {
      Image* image = BankImage(skin, inlineImage);
      stamp(image, x, y);
      x += Advance(image);
      i += kInlineImageBytes - 1;
    } else {
      if (clip && (x >= clip->right || y >= clip->bottom)) break;
      Image* glyph = GlyphImage(skin, c);
      stamp(glyph, x, y);
      x += Advance(glyph);
    }
  }
}

}  // namespace

int InlineImageAt(const char* text) {
  if (!text || static_cast<u8>(text[0]) != kImageMarker) return -1;
  int n = 0;
  // A terminator is not a digit, so the walk never passes the text's end.
  for (int i = 1; i < kInlineImageBytes; ++i) {
    const u8 c = static_cast<u8>(text[i]);
    if (!IsDigit(c)) return -1;
    n = n * 10 + (c - '0');
  }
  return kFirstGlyphImage + n;
}

Image* GlyphImage(const SkinContext* skin, u8 character) {
  // The byte is unsigned here: codes 128..255 reach images 460..587.
  return BankImage(skin, kFirstGlyphImage + ((character - 33) & 255));
}

int ImageWidth(const SkinContext* skin, int index) {
  const Image* image = BankImage(skin, index);
  return image ? image->width : 0;
}

int ImageHeight(const SkinContext* skin, int index) {
  const Image* image = BankImage(skin, index);
  return image ? image->height : 0;
}

void BlitMask(Surface* target, const Image* image, i16 x, i16 y, u32 colour, const Rect* region) {
  if (target) target->BlitInk(image, x, y, colour, region);
}

void DrawText(const SkinContext* skin, Surface* target, const char* text, i16 x, i16 y, u8 state,
              u8 colourIndex, const Rect* clip) {
  u32 colour = 0;
  if (!text || !target || !TextColourOf(skin, state, colourIndex, colour)) return;
  WalkText(skin, text, x, y, clip, [&](const Image* image, int gx, int gy) {
    if (image && gx >= INT16_MIN && gx <= INT16_MAX && gy >= INT16_MIN && gy <= INT16_MAX)
      BlitMask(target, image, static_cast<i16>(gx), static_cast<i16>(gy), colour, nullptr);
  });
}

i16 TextWidth(const SkinContext* skin, const char* text) {
  if (!text) return 0;
  // One line: a line feed is measured as the glyph its byte maps to.
  const u8* s = reinterpret_cast<const u8*>(text);
  const size_t length = std::strlen(text);
  long width = 0;
  for (size_t i = 0; i < length; ++i) {
    const u8 c = s[i];
    const int inlineImage = InlineImageAt(text + i);
    if (c == kBlank) {
      width += BlankAdvance(skin);
    } else if (inlineImage >= 0) {
      width += Advance(BankImage(skin, inlineImage));
      i += kInlineImageBytes - 1;
    } else {
      width += Advance(GlyphImage(skin, c));
    }
  }
  return ClampWidth(width);
}

void TextCellRect(Rect& out, const SkinContext* skin, i16 columns, i16 rows) {
  out = Rect(0, 0, columns * TextWidth(skin, "W"), rows * kTextCellHeight);
}

i16 CountBlanks(const char* text) {
  long blanks = 0;
  for (const char* p = text; p && *p; ++p) blanks += *p == ' ';
  return ClampWidth(blanks);
}

namespace {

// The measures the styled routines share.
struct StyledMetrics {
  int wideWidth, wideHeight;  // of 'W', the fixed-width cell
  int bangWidth, bangHeight;  // of '!', the automatic blank

  explicit StyledMetrics(const SkinContext* skin)
      : wideWidth(ImageWidth(skin, kWideGlyphImage)),
        wideHeight(ImageHeight(skin, kWideGlyphImage)),
        bangWidth(ImageWidth(skin, kFirstGlyphImage)),
        bangHeight(ImageHeight(skin, kFirstGlyphImage)) {}
};

size_t StyledLength(const char* text) { return strnlen(text, kStyledTextMax); }

}  // namespace

i16 TextWidthStyled(const SkinContext* skin, const char* text, const TextStyle& style) {
  if (!text) return 0;
  const StyledMetrics m(skin);
  const int blank = (style.blankWidth < 0 ? 3 * m.bangWidth : style.blankWidth) + style.spacing;
  long total = 0;
  for (const u8* p = reinterpret_cast<const u8*>(text); *p; ++p) {
    if (*p == kBlank) {
      total += blank;
      continue;
    }
    const Image* glyph = GlyphImage(skin, *p);
    int size;
    if (style.fixedWidth)
      size = style.vertical ? m.wideHeight : m.wideWidth;
    else
      size = glyph ? (style.vertical ? glyph->height : glyph->width) : 0;
    total += style.spacing + 1 + size;
  }
  return ClampWidth(total);
}

void DrawTextStyledH(const SkinContext* skin, Surface* target, const char* text, const Rect& rect,
                     const TextStyle& style, u8 state, u8 colourIndex) {
  u32 colour = 0;
  if (!text || !target || !TextColourOf(skin, state, colourIndex, colour)) return;
  const StyledMetrics m(skin);
  TextStyle across = style;
  across.vertical = 0;
  const int w = TextWidthStyled(skin, text, across);
  const int h = m.wideHeight + 1;
  int blank = (style.blankWidth < 0 ? 3 * m.bangWidth : style.blankWidth) + style.spacing;
  const int blanks = CountBlanks(text);
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  int x = l, y = t, limit = r;
  switch (style.alignment) {
    case 0:
      limit = l + w;
      break;
    case 1:
      x = (l + r) / 2 - w / 2, limit = (l + r) / 2 + w / 2;
      break;
    case 2:
      x = r - w;
      break;
    case 3:
      y = b - h, limit = l + w;
      break;
    case 4:
      x = r - w, y = b - h;
      break;
    case 5: {
      int free = (r - l) - (w - blank * blanks);
      if (blanks >= 2) free /= blanks;
      blank = style.spacing + free;
      break;
    }
    default:
      break;
  }
  const size_t length = StyledLength(text);
  for (size_t i = 0; i < length && x < limit; ++i) {
    const u8 c = static_cast<u8>(text[i]);
    if (c == kBlank) {
      x += blank;
      continue;
    }
    const Image* glyph = GlyphImage(skin, c);
    const int gw = glyph ? glyph->width : 0;
    if (style.fixedWidth) {
      if (glyph)
        BlitMask(target, glyph, static_cast<i16>(x + (m.wideWidth - gw) / 2), static_cast<i16>(y),
                 colour, nullptr);
      x += style.spacing + m.wideWidth + 1;
    } else {
      if (glyph) BlitMask(target, glyph, static_cast<i16>(x), static_cast<i16>(y), colour, nullptr);
      x += style.spacing + gw + 1;
    }
  }
}

void DrawTextStyledV(const SkinContext* skin, Surface* target, const char* text, const Rect& rect,
                     const TextStyle& style, u8 state, u8 colourIndex) {
  u32 colour = 0;
  if (!text || !target || !TextColourOf(skin, state, colourIndex, colour)) return;
  const StyledMetrics m(skin);
  TextStyle down = style;
  down.vertical = 1;
  const int column = TextWidthStyled(skin, text, down);
  const int c = m.wideHeight + 1;
  // Drawn blanks take the height of '!' (measured ones 3 x its width).
  int blank = (style.blankWidth < 0 ? m.bangHeight : style.blankWidth) + style.spacing;
  const int blanks = CountBlanks(text);
  const int l = rect.left, t = rect.top, r = rect.right, b = rect.bottom;
  int x0 = l, x1 = r, y = t;
  switch (style.alignment) {
    case 1:
      x0 = (l + r) / 2 - c / 2, x1 = (l + r) / 2 + c / 2, y = (t + b) / 2 - column / 2;
      break;
    case 2:
      x0 = r - c;
      break;
    case 3:
      y = b - column;
      break;
    case 4:
      x0 = r - c, y = b - column;
      break;
    case 5: {
      int free = (b - t) - column;
      if (blanks >= 2) free /= blanks;
      if (style.spacing + free > blank) blank = style.spacing + free;
      break;
    }
    default:
      break;
  }
  const size_t length = StyledLength(text);
  for (size_t i = 0; i < length; ++i) {
    const u8 ch = static_cast<u8>(text[i]);
    if (ch == kBlank) {
      y += blank;
      continue;
    }
    const Image* glyph = GlyphImage(skin, ch);
    const int gw = glyph ? glyph->width : 0;
    int x = x0;
    if (style.alignment == 1) x = x0 + (c - gw) / 2;
    if (style.alignment == 2 || style.alignment == 4) x = x1 - (c - gw);
    if (glyph) BlitMask(target, glyph, static_cast<i16>(x), static_cast<i16>(y), colour, nullptr);
    y += style.spacing + (style.fixedWidth ? m.wideHeight : (glyph ? glyph->height : 0)) + 1;
  }
}

void DrawTextStyled(const SkinContext* skin, Surface* target, const char* text, const Rect& rect,
                    const TextStyle& style, u8 state, u8 colourIndex) {
  if (style.vertical)
    DrawTextStyledV(skin, target, text, rect, style, state, colourIndex);
  else
    DrawTextStyledH(skin, target, text, rect, style, state, colourIndex);
}
