// The bitmap font of the user interface: one picture per byte, 12 rows
// high, black ink on a white colour key. The upper half follows code page
// 437 (where the French texts put their accented letters), except four
// slots that no text uses, which hold the scroll bar's arrows.
#pragma once

#include <vector>

#include "tools/datagen/font.h"
#include "tools/datagen/picture.h"

namespace datagen {

constexpr int kGlyphRows = 12;
constexpr std::uint32_t kGlyphKey = 0xFFFFFF;
// Byte slots of the scroll bar's arrows.
constexpr unsigned char kArrowUp = 0x86, kArrowDown = 0x8B, kArrowLeft = 0x8F, kArrowRight = 0x92;

// Glyphs of bytes 33..255 in order.
std::vector<Picture> MakeGlyphs(const FontSet& fonts);
// Blank glyphs of bytes 1..31 (1 x 12): text measuring may reach them.
std::vector<Picture> MakeControlGlyphs();

}  // namespace datagen
