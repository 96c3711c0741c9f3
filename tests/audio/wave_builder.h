// Builds RIFF WAVE files byte by byte for the loader's tests.
#pragma once

#include <utility>
#include <vector>

#include "platform/types.h"

namespace audio_test {

using Bytes = std::vector<u8>;

// value as n little-endian bytes.
inline void Put(Bytes& out, u32 value, int n) {
  for (int i = 0; i < n; ++i) out.push_back(static_cast<u8>(value >> (8 * i)));
}

// A chunk with its id, a length (the body's unless given) and the body,
// with the pad byte after an odd body unless told not to.
inline Bytes Chunk(const char* id, const Bytes& body, bool pad = true, i64 length = -1) {
  Bytes out(id, id + 4);
  Put(out, length < 0 ? static_cast<u32>(body.size()) : static_cast<u32>(length), 4);
  out.insert(out.end(), body.begin(), body.end());
  if (pad && body.size() % 2 == 1) out.push_back(0);
  return out;
}

// The 16 bytes of a "fmt " chunk, then `extra` zero bytes.
inline Bytes FmtBody(u16 tag, u16 channels, u32 rate, u16 bits, size_t extra = 0) {
  Bytes out;
  for (auto [value, n] : {std::pair<u32, int>{tag, 2}, {channels, 2}, {rate, 4},
                          {rate * channels * bits / 8, 4}, {channels * bits / 8u, 2}, {bits, 2}})
    Put(out, value, n);
  out.resize(out.size() + extra);
  return out;
}

// "RIFF", its length (that of the rest unless given), "WAVE", the chunks.
inline Bytes Riff(const std::vector<Bytes>& chunks, i64 length = -1) {
  Bytes body = {'W', 'A', 'V', 'E'};
  for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  return Chunk("RIFF", body, false, length);
}

// A plain PCM file: "fmt " then "data".
inline Bytes PcmWave(u16 channels, u32 rate, u16 bits, const Bytes& data) {
  return Riff({Chunk("fmt ", FmtBody(1, channels, rate, bits)), Chunk("data", data)});
}

}  // namespace audio_test
