#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

void Put(std::vector<std::uint8_t>& out, std::uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>((v >> (8 * i)) & 255));
}

void PutId(std::vector<std::uint8_t>& out, const char* id) { out.insert(out.end(), id, id + 4); }

}  // namespace

std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& samples, int rate) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  std::vector<std::uint8_t> out;
  out.reserve(44 + dataBytes);
  PutId(out, "RIFF");
  Put(out, 4 + (8 + 16) + (8 + dataBytes), 4);
  PutId(out, "WAVE");
  PutId(out, "fmt ");
  Put(out, 16, 4);
  Put(out, 1, 2);  // PCM
  Put(out, 1, 2);  // mono
  Put(out, static_cast<std::uint32_t>(rate), 4);
  Put(out, static_cast<std::uint32_t>(rate) * 2, 4);  // bytes per second
  Put(out, 2, 2);                                     // block alignment
  Put(out, 16, 2);                                    // bits per sample
  PutId(out, "data");
  Put(out, dataBytes, 4);
  for (std::int16_t s : samples) Put(out, static_cast<std::uint16_t>(s), 2);
  return out;
}

}  // namespace datagen
