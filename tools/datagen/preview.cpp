#include "tools/datagen/preview.h"

#include <algorithm>

#include "tools/datagen/composer.h"
#include "tools/datagen/layout.h"
#include "tools/datagen/preview_screens.h"

namespace datagen {
namespace {

void Label(Composer& c, const FontSet& fonts, const std::string& text, int x, int y, std::uint32_t rgb) {
  const TextImage t = fonts.Render(kSans, U32(text), 10);
  for (int ty = 0; ty < t.cov.Height(); ++ty)
    for (int tx = 0; tx < t.cov.Width(); ++tx) {
      const float k = t.cov.Get(tx, ty);
      if (k <= 0) continue;
      const std::uint32_t d = c.Get(x + tx, y + ty);
      std::uint32_t out = 0;
      for (int s = 0; s <= 16; s += 8) {
        const float v = ((d >> s) & 255) * (1 - k) + ((rgb >> s) & 255) * k;
        out |= static_cast<std::uint32_t>(v + 0.5f) << s;
      }
      c.Set(x + tx, y + ty, out);
    }
}

// Pictures first..last laid out in rows, each on its own backdrop with its
// index under it, enlarged by zoom.
Composer ContactSheet(const std::vector<Picture>& bank, const FontSet& fonts, int first, int last, int zoom,
                      std::uint32_t backdrop, int sheetWidth) {
  const int gap = 6, labelH = 13;
  std::vector<std::pair<int, int>> at;
  int x = gap, y = gap, rowH = 0;
  for (int i = first; i <= last; ++i) {
    const int w = std::max(bank[i].width * zoom, 24), h = bank[i].height * zoom + labelH;
    if (x + w + gap > sheetWidth && x > gap) x = gap, y += rowH + gap, rowH = 0;
    at.emplace_back(x, y);
    x += w + gap, rowH = std::max(rowH, h);
  }
  Composer sheet(sheetWidth, y + rowH + gap, 0x303030);
  std::uint32_t palette[255];
  StatePalette(0, palette);
  for (int i = first; i <= last; ++i) {
    const Picture& p = bank[i];
    const auto [px, py] = at[i - first];
    if (p.type == kPalette) {
      sheet.FillRect(px, py, px + p.width * zoom - 1, py + p.height * zoom - 1, backdrop);
      sheet.BlitPalette(p, px, py, palette, zoom);
    } else {
      sheet.BlitScaled(p, px, py, zoom, backdrop);
    }
    Label(sheet, fonts, std::to_string(i), px, py + p.height * zoom, 0xE0E0E0);
  }
  return sheet;
}

struct SheetSpec {
  const char* file;
  int first, last, zoom;
  std::uint32_t backdrop;
  int width;
};

}  // namespace

bool WritePreviews(const std::vector<Picture>& bank, const FontSet& fonts, const std::string& dir,
                   std::string& error) {
  const SheetSpec sheets[] = {
      {"sheet-balls.png", 0, 322, 2, 0x1C7A45, 1600},
      {"sheet-screens.png", 323, 342, 1, 0x808080, 1320},
      {"sheet-hud.png", 327, 352, 2, 0x2A160C, 1400},
      {"sheet-controls.png", 353, 364, 8, 0xFFFFFF, 1000},
      {"sheet-font.png", kGlyphFirst, kImageCount - 1, 3, 0xFFFFFF, 1400},
  };
  for (const SheetSpec& s : sheets) {
    if (s.last >= static_cast<int>(bank.size())) continue;
    const std::string path = dir + "/" + s.file;
    if (!ContactSheet(bank, fonts, s.first, s.last, s.zoom, s.backdrop, s.width).WritePng(path)) {
      error = "cannot write " + path;
      return false;
    }
  }
  return WriteScreenPreviews(bank, dir, error);
}

}  // namespace datagen
