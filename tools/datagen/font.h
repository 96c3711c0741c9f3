// The DejaVu fonts through FreeType: found at run time, rendered either
// anti-aliased into coverage planes (lettering) or as one-bit glyphs (the
// bitmap font).
#pragma once

#include <string>
#include <vector>

#include "tools/datagen/canvas.h"

typedef struct FT_LibraryRec_* FT_Library;
typedef struct FT_FaceRec_* FT_Face;

namespace datagen {

enum FontId { kSans, kSansBold, kSerif, kSerifBold, kFontCount };

// A rendered line of text: its coverage with `pad` pixels of room on
// every side, the baseline row and the pen advance.
struct TextImage {
  Coverage cov;
  int baseline = 0;
  int advance = 0;
};

// One glyph rendered with one bit per pixel at the font's hinted size.
struct MonoGlyph {
  int width = 0, height = 0;  // of the bitmap
  int left = 0, top = 0;      // bitmap offset from the pen (top: rows above the baseline)
  int advance = 0;            // whole pixels
  std::vector<bool> ink;      // width * height, rows top to bottom
};

class FontSet {
 public:
  FontSet() = default;
  ~FontSet();
  FontSet(const FontSet&) = delete;
  FontSet& operator=(const FontSet&) = delete;

  // Finds the DejaVu font files in the usual places (or only in the
  // directory named by DORRIMAC_FONT_DIR) and opens them. On failure, error says which file
  // is missing and where it was looked for.
  bool Open(std::string& error);

  // Anti-aliased text. slant shears the letters to the right (0.2 is a
  // light italic); tracking adds pixels between letters; widen stretches
  // the letters across (1.3: 30 % wider at the same height).
  TextImage Render(FontId font, const std::u32string& text, float pixelSize, int pad = 0, float slant = 0,
                   float tracking = 0, float widen = 1) const;
  // Width in pixels of the text as Render lays it out.
  int Measure(FontId font, const std::u32string& text, float pixelSize, float tracking = 0) const;
  // One-bit glyph at an integer pixel size; false when the font lacks it.
  bool RenderMono(FontId font, char32_t code, int pixelSize, MonoGlyph& out) const;

 private:
  FT_Library lib_ = nullptr;
  FT_Face faces_[kFontCount] = {};
};

// Converts an ASCII / Latin-1 string to the code points Render takes.
std::u32string U32(const std::string& latin1);

}  // namespace datagen
