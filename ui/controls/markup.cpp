#include "ui/controls/markup.h"

#include "ui/font.h"

namespace {

// Picture numbers past this are no image of any bank.
constexpr i32 kPictureLimit = 0x7FFF;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

MarkupItem Item(Markup kind, size_t length, i32 value = 0) {
  MarkupItem item;
  item.kind = kind;
  item.length = length;
  item.value = value;
  return item;
}

// "#c" at text: "#cd" is the default colour; anything else is a colour
// code that runs to the closing parenthesis or the end of the text, whose
// hexadecimal digits give the colour.
MarkupItem ReadColour(const char* text) {
  if (text[2] == 'd' || text[2] == 'D') return Item(Markup::kDefaultColour, 3);
  u32 colour = 0;
  size_t i = 2;
  for (; text[i] && text[i] != ')'; ++i) {
    const int digit = HexDigit(text[i]);
    if (digit >= 0) colour = colour << 4 | static_cast<u32>(digit);
  }
  if (text[i] == ')') ++i;
  return Item(Markup::kColour, i, static_cast<i32>(colour & 0xFFFFFF));
}

// "#p" at text and the digits after it.
MarkupItem ReadPicture(const char* text) {
  size_t i = 2;
  i32 number = IsDigit(text[i]) ? 0 : -1;
  for (; IsDigit(text[i]); ++i) {
    if (number <= kPictureLimit) number = number * 10 + (text[i] - '0');
  }
  return Item(Markup::kPicture, i, number);
}

MarkupItem ReadCode(const char* text) {
  switch (text[1]) {
    case '\0': return Item(Markup::kNothing, 1);  // a lone '#' ends the text
    case '~': return Item(Markup::kAlign, 2, kAlignCentre);
    case '-': return Item(Markup::kAlign, 2, kAlignJustify);
    case '<': return Item(Markup::kAlign, 2, kAlignLeft);
    case '>': return Item(Markup::kAlign, 2, kAlignRight);
    case 'c':
    case 'C': return ReadColour(text);
    case 'p':
    case 'P': return ReadPicture(text);
    case 't': return Item(Markup::kTab, 2);
    case '!': return Item(Markup::kPageEnd, 2);
    case '#': return Item(Markup::kGlyph, 2, '#');
    default: return Item(Markup::kNothing, 1);
  }
}

}  // namespace

MarkupItem ReadMarkup(const char* text) {
  const u8 c = static_cast<u8>(text[0]);
  switch (c) {
    case '\0': return Item(Markup::kEnd, 0);
    case ' ': return Item(Markup::kBlank, 1);
    case '\t': return Item(Markup::kTab, 1);
    case '\n': return Item(Markup::kLineFeed, 1);
    case '#': return ReadCode(text);
    default: break;
  }
  const int inlineImage = InlineImageAt(text);
  if (inlineImage >= 0) return Item(Markup::kInlineImage, kInlineImageBytes, inlineImage);
  return Item(Markup::kGlyph, 1, c);
}
