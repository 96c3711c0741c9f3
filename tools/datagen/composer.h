// A 24-bit picture that the previews compose the bank's pictures onto,
// drawing each type the way the game does, so that what the previews show
// is what the player will see.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/datagen/picture.h"

namespace datagen {

class Composer {
 public:
  Composer(int width, int height, std::uint32_t fill);

  int Width() const { return w_; }
  int Height() const { return h_; }
  std::uint32_t Get(int x, int y) const;
  void Set(int x, int y, std::uint32_t rgb);
  void FillRect(int left, int top, int right, int bottom, std::uint32_t rgb);

  // Types 0, 1, 2 and 14 as the scene engine draws them; `scale` enlarges
  // each source pixel for close-ups.
  void Blit(const Picture& p, int x, int y, int scale = 1);
  // A type 12 picture through a 255-entry palette.
  void BlitPalette(const Picture& p, int x, int y, const std::uint32_t* palette, int scale = 1);
  // The black pixels of a glyph in the given colour.
  void Stamp(const Picture& glyph, int x, int y, std::uint32_t rgb);

  bool WritePng(const std::string& path) const;

 private:
  int w_, h_;
  std::vector<std::uint32_t> px_;
};

}  // namespace datagen
