// Builds image pack files in memory for tests, the fuzz target and the
// benchmarks: the index "bmst.bin" and records of the data files
// "bmdt%d.bin" (little-endian; odd pixel data followed by a pad byte).
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace pack_writer {

using Bytes = std::vector<unsigned char>;

inline void PutU16(Bytes& out, unsigned v) {
  out.push_back(static_cast<unsigned char>(v));
  out.push_back(static_cast<unsigned char>(v >> 8));
}

inline void PutU32(Bytes& out, std::uint32_t v) {
  PutU16(out, v & 0xFFFF);
  PutU16(out, v >> 16);
}

inline Bytes Index(unsigned files, unsigned records) {
  Bytes out;
  PutU16(out, files);
  PutU16(out, records);
  return out;
}

// One record; `data` is written as given (the caller picks its length).
inline Bytes Record(unsigned type, unsigned width, unsigned height, std::uint32_t key,
                    const Bytes& data, bool pad = true) {
  Bytes out;
  PutU16(out, type);
  PutU16(out, width);
  PutU16(out, height);
  PutU32(out, key);
  out.insert(out.end(), data.begin(), data.end());
  if (pad && (data.size() & 1)) out.push_back(0xEE);
  return out;
}

inline Bytes Join(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// B, G, R of each 0x00RRGGBB colour, row by row.
inline Bytes Pixels(const std::vector<std::uint32_t>& colours) {
  Bytes out;
  for (std::uint32_t c : colours) {
    out.push_back(static_cast<unsigned char>(c));
    out.push_back(static_cast<unsigned char>(c >> 8));
    out.push_back(static_cast<unsigned char>(c >> 16));
  }
  return out;
}

// A colour that names the pixel (x, y) it belongs to, and a w x h picture
// of such colours: a pixel drawn in the wrong place shows.
inline std::uint32_t Code(int x, int y) { return 0x400000u + static_cast<std::uint32_t>(y * 256 + x + 1); }

inline Bytes CodedPixels(int w, int h) {
  std::vector<std::uint32_t> colours;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) colours.push_back(Code(x, y));
  }
  return Pixels(colours);
}

inline bool Write(const std::string& path, const Bytes& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = bytes.empty() || std::fwrite(bytes.data(), bytes.size(), 1, f) == 1;
  return std::fclose(f) == 0 && ok;
}

// Writes bmst.bin and one bmdt%d.bin per entry of `files` into dir.
inline bool WritePack(const std::string& dir, unsigned declaredFiles, unsigned declaredRecords,
                      const std::vector<Bytes>& files) {
  if (!Write(dir + "/bmst.bin", Index(declaredFiles, declaredRecords))) return false;
  for (size_t d = 0; d < files.size(); ++d) {
    if (!Write(dir + "/bmdt" + std::to_string(d) + ".bin", files[d])) return false;
  }
  return true;
}

}  // namespace pack_writer
