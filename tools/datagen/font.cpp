#include "tools/datagen/font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <sys/stat.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <iterator>

namespace datagen {
namespace {

const char* const kFontFiles[kFontCount] = {"DejaVuSans.ttf", "DejaVuSans-Bold.ttf", "DejaVuSerif.ttf",
                                            "DejaVuSerif-Bold.ttf"};

const char* const kFontDirs[] = {"/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/dejavu/",
                                 "/usr/share/fonts/TTF/", "/usr/local/share/fonts/",
                                 "/usr/share/fonts/truetype/"};

bool FileExists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string FindFont(const char* file, std::string& tried) {
  // DORRIMAC_FONT_DIR, when set, is the only place looked in.
  std::vector<std::string> dirs;
  if (const char* env = std::getenv("DORRIMAC_FONT_DIR"))
    dirs.push_back(std::string(env) + "/");
  else
    dirs.assign(std::begin(kFontDirs), std::end(kFontDirs));
  for (const std::string& d : dirs) {
    if (FileExists(d + file)) return d + file;
    tried += " " + d;
  }
  return "";
}

// A glyph bitmap placed relative to the pen.
struct PlacedGlyph {
  int x = 0, top = 0, width = 0, rows = 0;
  std::vector<float> cov;
};

}  // namespace

FontSet::~FontSet() {
  for (FT_Face f : faces_)
    if (f) FT_Done_Face(f);
  if (lib_) FT_Done_FreeType(lib_);
}

bool FontSet::Open(std::string& error) {
  if (FT_Init_FreeType(&lib_) != 0) {
    error = "cannot start FreeType";
    return false;
  }
  for (int i = 0; i < kFontCount; ++i) {
    std::string tried;
    const std::string path = FindFont(kFontFiles[i], tried);
    if (path.empty()) {
      error = std::string("font ") + kFontFiles[i] + " not found (looked in" + tried +
              "); install the DejaVu fonts (Debian: fonts-dejavu-core) or set DORRIMAC_FONT_DIR";
      return false;
    }
    if (FT_New_Face(lib_, path.c_str(), 0, &faces_[i]) != 0) {
      error = "cannot read font " + path;
      return false;
    }
  }
  return true;
}

TextImage FontSet::Render(FontId font, const std::u32string& text, float pixelSize, int pad, float slant,
                          float tracking, float widen) const {
  FT_Face face = faces_[font];
  FT_Set_Char_Size(face, static_cast<FT_F26Dot6>(std::lround(pixelSize * widen * 64)),
                   static_cast<FT_F26Dot6>(std::lround(pixelSize * 64)), 72, 72);
  FT_Matrix shear = {0x10000, static_cast<FT_Fixed>(std::lround(slant * 0x10000)), 0, 0x10000};
  FT_Set_Transform(face, &shear, nullptr);
  std::vector<PlacedGlyph> glyphs;
  long pen = 0;  // 26.6
  FT_UInt previous = 0;
  int minX = 0, maxX = 0, ascent = 0, descent = 0;
  for (char32_t ch : text) {
    const FT_UInt index = FT_Get_Char_Index(face, ch);
    if (previous && index && FT_HAS_KERNING(face)) {
      FT_Vector k;
      FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &k);
      pen += k.x;
    }
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) continue;
    const FT_GlyphSlot g = face->glyph;
    PlacedGlyph p;
    p.x = static_cast<int>((pen + 32) >> 6) + g->bitmap_left;
    p.top = g->bitmap_top, p.width = static_cast<int>(g->bitmap.width),
    p.rows = static_cast<int>(g->bitmap.rows);
    for (int y = 0; y < p.rows; ++y)
      for (int x = 0; x < p.width; ++x) p.cov.push_back(g->bitmap.buffer[y * g->bitmap.pitch + x] / 255.0f);
    minX = std::min(minX, p.x), maxX = std::max(maxX, p.x + p.width);
    ascent = std::max(ascent, p.top), descent = std::max(descent, p.rows - p.top);
    glyphs.push_back(std::move(p));
    pen += g->advance.x + static_cast<long>(tracking * 64);
    previous = index;
  }
  FT_Set_Transform(face, nullptr, nullptr);
  TextImage out;
  out.advance = static_cast<int>((pen + 32) >> 6);
  maxX = std::max(maxX, out.advance);
  out.baseline = pad + ascent;
  out.cov = Coverage(maxX - minX + 2 * pad, ascent + descent + 2 * pad);
  for (const PlacedGlyph& p : glyphs)
    for (int y = 0; y < p.rows; ++y)
      for (int x = 0; x < p.width; ++x) {
        float& v = out.cov.At(p.x - minX + pad + x, out.baseline - p.top + y);
        v = std::min(1.0f, v + p.cov[static_cast<size_t>(y) * p.width + x]);
      }
  return out;
}

int FontSet::Measure(FontId font, const std::u32string& text, float pixelSize, float tracking) const {
  int left, top, right, bottom;
  const TextImage t = Render(font, text, pixelSize, 0, 0, tracking);
  return t.cov.Bounds(0.05f, left, top, right, bottom) ? right - left + 1 : 0;
}

bool FontSet::RenderMono(FontId font, char32_t code, int pixelSize, MonoGlyph& out) const {
  FT_Face face = faces_[font];
  FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
  const FT_UInt index = FT_Get_Char_Index(face, code);
  if (index == 0) return false;
  if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
    return false;
  const FT_GlyphSlot g = face->glyph;
  out.width = static_cast<int>(g->bitmap.width), out.height = static_cast<int>(g->bitmap.rows);
  out.left = g->bitmap_left, out.top = g->bitmap_top;
  out.advance = static_cast<int>((g->advance.x + 32) >> 6);
  out.ink.assign(static_cast<size_t>(out.width) * out.height, false);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x)
      out.ink[static_cast<size_t>(y) * out.width + x] =
          (g->bitmap.buffer[y * g->bitmap.pitch + x / 8] >> (7 - x % 8)) & 1;
  return true;
}

std::u32string U32(const std::string& latin1) {
  std::u32string s;
  for (unsigned char c : latin1) s.push_back(c);
  return s;
}

}  // namespace datagen
