// The game's four sound effects, synthesised: 16-bit mono samples at
// 22050 Hz, peaks below -6 dBFS, with short fades at both ends.
#pragma once

#include <cstdint>
#include <vector>

namespace datagen {

enum SoundEffect { kSoundShot = 0, kSoundBounce = 1, kSoundMatch = 2, kSoundAlert = 3, kSoundCount = 4 };

// The highest sample magnitude the effects reach (about -6.9 dBFS).
constexpr int kSoundPeak = 14700;

std::vector<std::int16_t> MakeSound(SoundEffect effect);

}  // namespace datagen
