// The bitmap font of the user interface: glyphs are images of the skin's
// image bank (character code c uses image 365 + (c - 33) mod 256), ink is
// every glyph pixel whose colour bytes are all 0, and "^NNN" inside a text
// stamps image 365 + NNN like a glyph (a '^' without three digits right
// after it is an ordinary glyph). Texts are 8-bit; French letters sit at
// their code page 437 positions.
#pragma once

#include "platform/types.h"

class Image;
class Surface;
struct SkinContext;

constexpr int kFirstGlyphImage = 365;  // image of '!'
constexpr int kWideGlyphImage = 419;   // image of 'W', the fixed-width cell
constexpr int kTextCellHeight = 13;    // pixels per line of a text block

// How a formatted label lays out its one line or column.
struct TextStyle {
  i8 blankWidth = -1;  // advance of a blank; negative: 3 x the width of '!'
  i8 spacing = 0;      // extra pixels added to every advance, blanks included
  u8 alignment = 0;    // 0 top-left, 1 centred, 2 top-right, 3 bottom-left,
                       // 4 bottom-right, 5 justified
  u32 vertical = 0;    // non-zero: letters stacked downwards
  u32 fixedWidth = 0;  // non-zero: every character in the cell of 'W', centred
};

// Bytes of an inline image: '^' and three digits.
constexpr int kInlineImageBytes = 4;
// The image index of the inline image "^NNN" at text, 365 + NNN; -1 when
// text does not start with '^' and three digits. Reads no byte past a
// terminator. The font and the formatted text both go by this rule.
int InlineImageAt(const char* text);

// The glyph image of a character, or null when the bank has none.
Image* GlyphImage(const SkinContext* skin, u8 character);
// Width and height of an image of the bank; 0 for a missing one.
int ImageWidth(const SkinContext* skin, int index);
int ImageHeight(const SkinContext* skin, int index);

// Stamps the ink pixels of the image at (x, y) in the colour (0x00RRGGBB);
// with a region, only the part of the image under that rectangle of the
// target. Clipped to the target.
void BlitMask(Surface* target, const Image* image, i16 x, i16 y, u32 colour, const Rect* region);

// Draws a text whose first glyph's top-left corner is (x, y) in the text
// colour of the state and colour index. Line feeds start a new line at x.
// With a clip, drawing stops at the first glyph at or past its right or
// bottom edge (the rest of the text, later lines included, is not drawn).
void DrawText(const SkinContext* skin, Surface* target, const char* text, i16 x, i16 y, u8 state,
              u8 colourIndex, const Rect* clip);
// The width DrawText covers on one line (a line feed counts as a glyph).
i16 TextWidth(const SkinContext* skin, const char* text);
// The size of a block of text cells: (0, 0, columns x width of "W", rows x 13).
void TextCellRect(Rect& out, const SkinContext* skin, i16 columns, i16 rows);
i16 CountBlanks(const char* text);

// The length of the styled line (or column, when vertical): no mark-up.
i16 TextWidthStyled(const SkinContext* skin, const char* text, const TextStyle& style);
// One line inside the rect, placed by the style's alignment.
void DrawTextStyledH(const SkinContext* skin, Surface* target, const char* text, const Rect& rect,
                     const TextStyle& style, u8 state, u8 colourIndex);
// One column of letters inside the rect.
void DrawTextStyledV(const SkinContext* skin, Surface* target, const char* text, const Rect& rect,
                     const TextStyle& style, u8 state, u8 colourIndex);
// The vertical or horizontal form, by the style.
void DrawTextStyled(const SkinContext* skin, Surface* target, const char* text, const Rect& rect,
                    const TextStyle& style, u8 state, u8 colourIndex);
