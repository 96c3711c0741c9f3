// The mark-up of formatted texts, read one element at a time: alignment
// ("#~" centred, "#-" justified, "#<" left, "#>" right), colour ("#c(hex)"
// and "#cd" for the default), pictures of the image bank ("#p" and a
// number), tabs ("#t" and the tab byte), page ends ("#!"), "##" for a '#'
// glyph, inline images ("^NNN") and line feeds. Any other byte after '#'
// is read as text with the '#' dropped. Nothing is read past the text's
// terminator, whatever the text holds.
#pragma once

#include <cstddef>

#include "platform/types.h"

enum class Markup : u8 {
  kEnd,           // the terminator; nothing more to read
  kGlyph,         // value: the character
  kBlank,
  kTab,
  kLineFeed,
  kInlineImage,   // value: the image index
  kPicture,       // value: the image index; -1 without digits
  kColour,        // value: 0x00RRGGBB
  kDefaultColour,
  kAlign,         // value: a TextAlignment
  kPageEnd,
  kNothing,       // a '#' that only escapes the byte after it
};

// Alignment of the lines of a formatted text.
enum TextAlignment : u8 {
  kAlignCentre = 1,
  kAlignJustify = 5,
  kAlignLeft = 12,
  kAlignRight = 13,
};

struct MarkupItem {
  Markup kind = Markup::kEnd;
  i32 value = 0;
  size_t length = 0;  // bytes the element takes; 0 only at the end
};

// The element that starts at text.
MarkupItem ReadMarkup(const char* text);
