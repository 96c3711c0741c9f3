// Writes 8-bit RGB or RGBA PNG files with stored (uncompressed) deflate
// blocks: small code, no library, readable by every viewer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace png {

// pixels: rows top to bottom, channels bytes per pixel (3 = R, G, B;
// 4 = R, G, B, A). Returns false when the file cannot be written.
bool Write(const std::string& path, int width, int height, int channels,
           const std::vector<std::uint8_t>& pixels);

// The encoded file in memory.
std::vector<std::uint8_t> Encode(int width, int height, int channels,
                                 const std::vector<std::uint8_t>& pixels);

}  // namespace png
