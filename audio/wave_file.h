// RIFF WAVE files (uncompressed PCM) loaded into an AudioWave that a voice
// can play: ALoadWaveFile and AFreeWaveFile, declared in audio/audio.h.
#pragma once

#include "audio/audio.h"

// The four-character codes of a wave file, as read little-endian.
constexpr u32 kRiffId = 0x46464952;  // "RIFF"
constexpr u32 kWaveId = 0x45564157;  // "WAVE"
constexpr u32 kFmtId = 0x20746D66;   // "fmt "
constexpr u32 kDataId = 0x61746164;  // "data"
