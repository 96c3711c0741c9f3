// A dialog drawn the way the controls draw themselves: window frame and
// title bar, a group frame, push buttons in every state, check boxes, radio
// buttons, a scroll bar's arrow buttons and text in the bitmap font.
#include <string>

#include "platform/color_ramp.h"
#include "tools/datagen/composer.h"
#include "tools/datagen/layout.h"
#include "tools/datagen/preview_screens.h"

namespace datagen {
namespace {

using Bank = std::vector<Picture>;

const std::uint32_t kBase[4] = {0x4040FF, 0x666666, 0x40FF40, 0x40FF40};
const std::uint32_t kText[4] = {0x4040FF, 0xCCCCCC, 0x208020, 0x104010};

const Picture* Glyph(const Bank& bank, unsigned char ch) {
  const int index = kGlyphFirst + ((ch - 33) & 255);
  return index < static_cast<int>(bank.size()) ? &bank[index] : nullptr;
}

int TextWidth(const Bank& bank, const std::string& text) {
  int w = 0;
  for (unsigned char ch : text) {
    const Picture* g = Glyph(bank, '!');
    if (ch == ' ')
      w += g ? 3 * g->width : 3;
    else if ((g = Glyph(bank, ch)))
      w += g->width + 1;
  }
  return w;
}

void DrawText(Composer& c, const Bank& bank, const std::string& text, int x, int y, std::uint32_t rgb) {
  const Picture* bang = Glyph(bank, '!');
  for (unsigned char ch : text) {
    if (ch == ' ') {
      x += bang ? 3 * bang->width : 3;
      continue;
    }
    if (const Picture* g = Glyph(bank, ch)) {
      c.Stamp(*g, x, y, rgb);
      x += g->width + 1;
    }
  }
}

// The nine-part face: corners, then edges and middle continuing the
// corners' inner pixels.
void DrawButtonFace(Composer& c, const Bank& bank, int l, int t, int r, int b, int state) {
  std::uint32_t pal[255];
  StatePalette(state, pal);
  const Picture &tl = bank[357], &tr = bank[358], &bl = bank[359], &br = bank[360];
  c.BlitPalette(tl, l, t, pal);
  c.BlitPalette(tr, r - tr.width + 1, t, pal);
  c.BlitPalette(bl, l, b - bl.height + 1, pal);
  c.BlitPalette(br, r - br.width + 1, b - br.height + 1, pal);
  const int w = br.width, h = br.height;
  for (int i = 0; i < h; ++i) {
    const std::uint32_t top = c.Get(l + w - 1, t + i), bottom = c.Get(l + w - 1, b - i);
    c.FillRect(l + w, t + i, r - w, t + i, top);
    c.FillRect(l + w, b - i, r - w, b - i, bottom);
  }
  for (int j = 0; j < w; ++j) {
    const std::uint32_t left = c.Get(l + j, t + h - 1), right = c.Get(r - j, t + h - 1);
    c.FillRect(l + j, t + h, l + j, b - h, left);
    c.FillRect(r - j, t + h, r - j, b - h, right);
  }
  c.FillRect(l + w, t + h, r - w, b - h, c.Get(r - w + 1, b - h + 1));
}

void Button(Composer& c, const Bank& bank, const std::string& text, int l, int t, int w, int state) {
  const int r = l + w - 1, b = t + 31;
  DrawButtonFace(c, bank, l, t, r, b, state);
  DrawText(c, bank, text, l + (r - l - TextWidth(bank, text) + 1) / 2, t + (b - t - 11) / 2 + 1,
           kText[state]);
}

void Mark(Composer& c, const Bank& bank, int image, const std::string& text, int l, int t, int state,
          int lift) {
  std::uint32_t pal[255];
  StatePalette(state, pal);
  const Picture& m = bank[image];
  const int b = t + 17;
  c.BlitPalette(m, l + 2, t + (b - t - m.height) / 2 + lift, pal);
  DrawText(c, bank, text, l + m.width + 6, t + (b - t - 11) / 2 + lift, kText[state]);
}

// Group frame: corners through the normal palette and one-pixel edges.
void GroupFrame(Composer& c, const Bank& bank, const std::string& title, int l, int t, int r, int b) {
  std::uint32_t pal[255];
  StatePalette(0, pal);
  const Picture &tl = bank[353], &tr = bank[354], &bl = bank[355], &br = bank[356];
  c.BlitPalette(tl, l, t, pal);
  c.BlitPalette(tr, r - tr.width + 1, t, pal);
  c.BlitPalette(bl, l, b - bl.height + 1, pal);
  c.BlitPalette(br, r - br.width + 1, b - br.height + 1, pal);
  c.FillRect(l + tl.width, t, r - tl.width, t, c.Get(l + tl.width - 1, t));
  c.FillRect(l, t + tl.height, l, b - tl.height, c.Get(l, t + tl.height - 1));
  c.FillRect(r, t + tr.height, r, b - tr.height, c.Get(r, t + tr.height - 1));
  c.FillRect(l + bl.width, b, r - bl.width, b, c.Get(l + bl.width - 1, b));
  const int x0 = l + br.width + 2;
  c.FillRect(x0, t - 5, x0 + TextWidth(bank, title) + 3, t + 6, 0xFFFFFF);
  DrawText(c, bank, title, x0 + 2, t - 5, kText[0]);
}

void WindowFrame(Composer& c, const Bank& bank, const std::string& title, int l, int t, int r, int b) {
  const std::uint32_t border = TintColor(kBase[0], 96), bar = TintColor(kBase[0], 204);
  c.FillRect(l, t, r, b, 0xFFFFFF);
  c.FillRect(l, t, r, t, border);
  c.FillRect(l, b, r, b, border);
  c.FillRect(l, t, l, b, border);
  c.FillRect(r, t, r, b, border);
  for (int y = t + 1; y <= t + 17; ++y) {
    std::uint32_t row = 0;
    for (int s = 0; s <= 16; s += 8) {
      const int a = (bar >> s) & 255, z = 255;
      row |= static_cast<std::uint32_t>(a + (z - a) / 17 * (y - t - 1)) << s;
    }
    c.FillRect(l + 1, y, r - 1, y, row);
  }
  DrawText(c, bank, title, l + 4, t + 3, kText[0]);
}

}  // namespace

Composer ControlsDialog(const Bank& bank) {
  Composer c(420, 330, 0x202020);
  if (static_cast<int>(bank.size()) < kImageCount) return c;
  WindowFrame(c, bank, "Options - bitmap font: \x82t\x82 \x83 \x85 \x87 \x88 \x8A \x8C \x93", 10, 10, 409,
              319);
  GroupFrame(c, bank, "Sound", 22, 42, 200, 150);
  Mark(c, bank, 362, "Sound effects", 32, 56, 0, 0);
  Mark(c, bank, 361, "Music", 32, 76, 2, 0);
  Mark(c, bank, 362, "Autosave", 32, 96, 3, 0);
  Mark(c, bank, 361, "Disabled", 32, 116, 1, 0);
  GroupFrame(c, bank, "Controls", 214, 42, 396, 150);
  Mark(c, bank, 364, "Keys", 224, 56, 0, 1);
  Mark(c, bank, 363, "Pen", 224, 76, 2, 1);
  Mark(c, bank, 364, "Checked", 224, 96, 3, 1);
  Mark(c, bank, 363, "Disabled", 224, 116, 1, 1);
  DrawText(c, bank, "The quick brown fox jumps over the lazy dog.", 22, 162, kText[0]);
  DrawText(c, bank, "0123456789 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~", 22, 177, kText[0]);
  DrawText(c, bank, "ABCDEFGHIJKLMNOPQRSTUVWXYZ abcdefghijklmnopqrstuvwxyz", 22, 192, kText[0]);
  DrawText(c, bank, "D\x82velopp\x82 par - Bonne Chance! Arrows: \x86 \x8B \x8F \x92", 22, 207, kText[0]);
  Button(c, bank, "Normal", 22, 232, 80, 0);
  Button(c, bank, "Disabled", 112, 232, 80, 1);
  Button(c, bank, "Focused", 202, 232, 80, 2);
  Button(c, bank, "Pressed", 292, 232, 80, 3);
  Button(c, bank, "Cancel", 230, 277, 80, 0);
  Button(c, bank, "Ok", 320, 277, 80, 2);
  DrawButtonFace(c, bank, 22, 280, 38, 296, 0);
  c.Stamp(bank[kGlyphFirst + 0x86 - 33], 22 + 1 + (17 - bank[kGlyphFirst + 0x86 - 33].width - 1) / 2, 283,
          kText[0]);
  DrawButtonFace(c, bank, 40, 280, 56, 296, 3);
  c.Stamp(bank[kGlyphFirst + 0x8B - 33], 40 + 1 + (17 - bank[kGlyphFirst + 0x8B - 33].width - 1) / 2, 283,
          kText[0]);
  return c;
}

}  // namespace datagen
