#include "tools/datagen/bitmap_font.h"

#include <algorithm>
#include <string>

namespace datagen {
namespace {

constexpr int kPixelSize = 11;
constexpr int kBaseline = 9;  // rows 0..8 above the baseline, 9..11 below

// Code page 437, bytes 0x80..0xFF, as Unicode.
const char16_t kCp437High[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF, 0x00EE,
    0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9, 0x00FF, 0x00D6,
    0x00DC, 0x00A2, 0x00A3, 0x00A5, 0x20A7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA, 0x00F1, 0x00D1, 0x00AA,
    0x00BA, 0x00BF, 0x2310, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB, 0x2591, 0x2592, 0x2593, 0x2502,
    0x2524, 0x2561, 0x2562, 0x2556, 0x2555, 0x2563, 0x2551, 0x2557, 0x255D, 0x255C, 0x255B, 0x2510, 0x2514,
    0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x255E, 0x255F, 0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550,
    0x256C, 0x2567, 0x2568, 0x2564, 0x2565, 0x2559, 0x2558, 0x2552, 0x2553, 0x256B, 0x256A, 0x2518, 0x250C,
    0x2588, 0x2584, 0x258C, 0x2590, 0x2580, 0x03B1, 0x00DF, 0x0393, 0x03C0, 0x03A3, 0x03C3, 0x00B5, 0x03C4,
    0x03A6, 0x0398, 0x03A9, 0x03B4, 0x221E, 0x03C6, 0x03B5, 0x2229, 0x2261, 0x00B1, 0x2265, 0x2264, 0x2320,
    0x2321, 0x00F7, 0x2248, 0x00B0, 0x2219, 0x00B7, 0x221A, 0x207F, 0x00B2, 0x25A0, 0x00A0};

char32_t CodePoint(int byte) {
  if (byte == 127) return 0x2302;  // the house of code page 437
  return byte < 128 ? static_cast<char32_t>(byte) : kCp437High[byte - 128];
}

Picture Blank(int width, const std::string& name) {
  Picture p;
  p.width = width, p.height = kGlyphRows, p.type = kColorKey, p.key = kGlyphKey, p.name = name;
  p.pixels.assign(static_cast<size_t>(width) * kGlyphRows * 3, 255);
  return p;
}

void Ink(Picture& p, int x, int y) {
  if (x < 0 || y < 0 || x >= p.width || y >= p.height) return;
  const size_t i = (static_cast<size_t>(y) * p.width + x) * 3;
  p.pixels[i] = p.pixels[i + 1] = p.pixels[i + 2] = 0;
}

// A glyph placed on its pen: the picture is as wide as the advance less
// the one pixel the text routines add, widened where the ink overhangs.
Picture FromMono(const MonoGlyph& g, int minWidth, const std::string& name) {
  const int shift = std::max(0, -g.left);
  const int width = std::max({1, minWidth, g.advance - 1 + shift, g.left + shift + g.width});
  Picture p = Blank(width, name);
  const int centre = (width - std::max(g.advance - 1, g.left + g.width)) / 2;
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x)
      if (g.ink[static_cast<size_t>(y) * g.width + x])
        Ink(p, centre + shift + g.left + x, kBaseline - g.top + y);
  return p;
}

// The scroll bar's arrows: solid triangles centred in the 12 rows.
Picture Arrow(unsigned char slot) {
  const bool vertical = slot == kArrowUp || slot == kArrowDown;
  Picture p = Blank(vertical ? 7 : 4, "arrow");
  for (int i = 0; i < 4; ++i)
    for (int j = -i; j <= i; ++j) {
      if (slot == kArrowUp) Ink(p, 3 + j, 4 + i);
      if (slot == kArrowDown) Ink(p, 3 + j, 7 - i);
      if (slot == kArrowLeft) Ink(p, i, 5 + j);
      if (slot == kArrowRight) Ink(p, 3 - i, 5 + j);
    }
  return p;
}

// The '!' sets the blank's advance (three times its width), so it is kept
// to its ink.
Picture Exclamation(const MonoGlyph& g) {
  Picture p = Blank(std::max(1, g.width), "!");
  for (int y = 0; y < g.height; ++y)
    for (int x = 0; x < g.width; ++x)
      if (g.ink[static_cast<size_t>(y) * g.width + x]) Ink(p, x, kBaseline - g.top + y);
  return p;
}

}  // namespace

std::vector<Picture> MakeGlyphs(const FontSet& fonts) {
  // Digits share one width so that numbers line up.
  int digitWidth = 1;
  for (char d = '0'; d <= '9'; ++d) {
    MonoGlyph g;
    if (fonts.RenderMono(kSans, static_cast<char32_t>(d), kPixelSize, g))
      digitWidth = std::max(digitWidth, FromMono(g, 1, "").width);
  }
  std::vector<Picture> out;
  for (int byte = 33; byte <= 255; ++byte) {
    const std::string name = "byte " + std::to_string(byte);
    if (byte == kArrowUp || byte == kArrowDown || byte == kArrowLeft || byte == kArrowRight) {
      out.push_back(Arrow(static_cast<unsigned char>(byte)));
      continue;
    }
    MonoGlyph g;
    if (!fonts.RenderMono(kSans, CodePoint(byte), kPixelSize, g) &&
        !fonts.RenderMono(kSerif, CodePoint(byte), kPixelSize, g)) {
      out.push_back(Blank(3, name));
      continue;
    }
    if (byte == '!')
      out.push_back(Exclamation(g));
    else
      out.push_back(FromMono(g, byte >= '0' && byte <= '9' ? digitWidth : 1, name));
  }
  return out;
}

std::vector<Picture> MakeControlGlyphs() {
  std::vector<Picture> out;
  for (int byte = 1; byte <= 31; ++byte) out.push_back(Blank(1, "byte " + std::to_string(byte)));
  return out;
}

}  // namespace datagen
