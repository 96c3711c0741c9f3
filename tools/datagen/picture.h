// One picture of the image bank in the form the pack stores it, and the
// conversions from a painted canvas.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/datagen/canvas.h"

namespace datagen {

// How the program draws a picture (the low four bits of a pack record).
enum PictureType : std::uint8_t {
  kOpaque = 0,
  kColorKey = 1,
  kMasked = 2,
  kPalette = 12,
  kShadow = 14,
  kMaskRecord = 15,
};

struct Picture {
  int width = 0;
  int height = 0;
  std::uint8_t type = kOpaque;
  std::uint32_t key = 0;             // colour key of type 1
  std::vector<std::uint8_t> pixels;  // B, G, R per pixel (types 0-2); indices (type 12)
  std::vector<std::uint8_t> mask;    // types 2, 12, 14: 0 opaque .. 255 transparent
  std::string name;                  // for the contact sheets
};

// The canvas as an opaque picture (its alpha is ignored).
Picture OpaquePicture(const Canvas& c, const std::string& name);
// The canvas as a masked picture: alpha becomes the mask, and fully
// transparent pixels take the colour of the nearest painted pixel so that
// sub-pixel blending never pulls in a dark fringe.
Picture MaskedPicture(const Canvas& c, const std::string& name);
// A mask-only (shadow) picture from darkness values 0..1 per pixel.
Picture ShadowPicture(const Coverage& darkness, const std::string& name);

// Colour of pixel (x, y) of a type 0-2 picture as 0xRRGGBB.
std::uint32_t PixelColor(const Picture& p, int x, int y);

}  // namespace datagen
