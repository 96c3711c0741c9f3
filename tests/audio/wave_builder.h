// Builds RIFF WAVE files byte by byte for the loader's tests.
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "platform/types.h"

namespace audio_test {

using Bytes = std::vector<u8>;

inline void PutU16(Bytes& out, u32 value) {
  out.push_back(static_cast<u8>(value));
  out.push_back(static_cast<u8>(value >> 8));
}

inline void PutU32(Bytes& out, u32 value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

inline void PutId(Bytes& out, const char* id) { out.insert(out.end(), id, id + 4); }

// A chunk with its id, a length (the body's unless given) and the body,
// with the pad byte after an odd body unless told not to.
inline Bytes Chunk(const char* id, const Bytes& body, bool pad = true, i64 length = -1) {
  Bytes out;
  PutId(out, id);
  PutU32(out, length < 0 ? static_cast<u32>(body.size()) : static_cast<u32>(length));
  out.insert(out.end(), body.begin(), body.end());
  if (pad && body.size() % 2 == 1) out.push_back(0);
  return out;
}

inline Bytes FmtBody(u16 tag, u16 channels, u32 rate, u16 bits, size_t extra = 0) {
  Bytes out;
  PutU16(out, tag);
  PutU16(out, channels);
  PutU32(out, rate);
  PutU32(out, rate * channels * bits / 8);
  PutU16(out, channels * bits / 8);
  PutU16(out, bits);
  out.resize(out.size() + extra);
  return out;
}

// "RIFF", its length (that of the rest unless given), "WAVE", the chunks.
inline Bytes Riff(const std::vector<Bytes>& chunks, i64 length = -1) {
  Bytes body;
  PutId(body, "WAVE");
  for (const Bytes& chunk : chunks) body.insert(body.end(), chunk.begin(), chunk.end());
  Bytes out;
  PutId(out, "RIFF");
  PutU32(out, length < 0 ? static_cast<u32>(body.size()) : static_cast<u32>(length));
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

// A plain PCM file: "fmt " then "data".
inline Bytes PcmWave(u16 channels, u32 rate, u16 bits, const Bytes& data) {
  return Riff({Chunk("fmt ", FmtBody(1, channels, rate, bits)), Chunk("data", data)});
}

}  // namespace audio_test
