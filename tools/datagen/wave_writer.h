// RIFF WAVE files of 16-bit PCM, the form the game's sound effects take.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace datagen {

constexpr int kSampleRate = 22050;

// The complete file: "RIFF", "WAVE", a 16-byte "fmt " chunk (PCM, mono,
// 16 bits) and the "data" chunk.
std::vector<std::uint8_t> EncodeWave(const std::vector<std::int16_t>& samples, int rate);

}  // namespace datagen
