// A 24-bit surface that the previews compose the bank's pictures onto with
// the game's own blitters and sprite placement, so that what the previews
// show is what the player will see.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/image.h"
#include "tools/datagen/picture.h"

namespace datagen {

class Composer {
 public:
  Composer(int width, int height, std::uint32_t fill);
  ~Composer();
  Composer(Composer&& other) noexcept : surface_(other.surface_) { other.surface_ = nullptr; }
  Composer(const Composer&) = delete;
  Composer& operator=(const Composer&) = delete;

  int Width() const { return surface_->width; }
  int Height() const { return surface_->height; }
  std::uint32_t Get(int x, int y) const;
  void Set(int x, int y, std::uint32_t rgb);
  void FillRect(int left, int top, int right, int bottom, std::uint32_t rgb);

  // Types 0, 1, 2 and 14 at a whole-pixel position, drawn by the surface's
  // blitters.
  void Blit(const Picture& p, int x, int y);
  // The same enlarged scale times, over a backdrop, for contact sheets.
  void BlitScaled(const Picture& p, int x, int y, int scale, std::uint32_t backdrop);
  // A ball or shadow sprite centred at a 24.8 position, placed and drawn
  // as the scene engine draws sub-pixel clips.
  void DrawSprite(const Picture& p, std::int32_t x, std::int32_t y);
  // A type 12 picture through a 255-entry palette, as the controls draw it.
  void BlitPalette(const Picture& p, int x, int y, const std::uint32_t* palette, int scale = 1);
  // The black pixels of a glyph in the given colour.
  void Stamp(const Picture& glyph, int x, int y, std::uint32_t rgb);

  bool WritePng(const std::string& path) const;

 private:
  Surface* surface_;
};

}  // namespace datagen
