#include "tools/datagen/pack_writer.h"

#include <cstdio>

namespace datagen {
namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned v) {
  out.push_back(static_cast<std::uint8_t>(v & 255));
  out.push_back(static_cast<std::uint8_t>((v >> 8) & 255));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// Header, data and the pad byte that keeps every record an even length.
std::vector<std::uint8_t> Record(unsigned type, int w, int h, std::uint32_t keyOrLink,
                                 const std::vector<std::uint8_t>& data) {
  std::vector<std::uint8_t> r;
  r.reserve(10 + data.size() + 1);
  Put16(r, type);
  Put16(r, static_cast<unsigned>(w));
  Put16(r, static_cast<unsigned>(h));
  Put32(r, keyOrLink);
  r.insert(r.end(), data.begin(), data.end());
  if (data.size() % 2) r.push_back(0);
  return r;
}

}  // namespace

void PackWriter::Add(const Picture& p) {
  const bool linked = p.type == kMasked || p.type == kPalette;
  const std::uint32_t keyOrLink = linked ? static_cast<std::uint32_t>(records_.size() + 1) : p.key;
  records_.push_back(Record(p.type, p.width, p.height, keyOrLink, p.type == kShadow ? p.mask : p.pixels));
  if (linked) records_.push_back(Record(kMaskRecord, p.width, p.height, 0, p.mask));
}

std::vector<std::vector<std::uint8_t>> PackWriter::DataFiles(size_t maxFileBytes) const {
  std::vector<std::vector<std::uint8_t>> files(1);
  for (const auto& r : records_) {
    if (!files.back().empty() && files.back().size() + r.size() > maxFileBytes) files.emplace_back();
    files.back().insert(files.back().end(), r.begin(), r.end());
  }
  return files;
}

std::vector<std::uint8_t> PackWriter::IndexFile(int dataFileCount) const {
  std::vector<std::uint8_t> out;
  Put16(out, static_cast<unsigned>(dataFileCount));
  Put16(out, static_cast<unsigned>(records_.size()));
  return out;
}

bool PackWriter::Write(const std::string& dir, size_t maxFileBytes, std::string& error) const {
  const auto files = DataFiles(maxFileBytes);
  for (size_t i = 0; i < files.size(); ++i) {
    const std::string path = dir + "/bmdt" + std::to_string(i) + ".bin";
    if (!WriteBytes(path, files[i])) {
      error = "cannot write " + path;
      return false;
    }
  }
  if (!WriteBytes(dir + "/bmst.bin", IndexFile(static_cast<int>(files.size())))) {
    error = "cannot write " + dir + "/bmst.bin";
    return false;
  }
  return true;
}

bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace datagen
