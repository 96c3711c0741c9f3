// Ready-made songs for the module writer: a feature song that exercises
// one player feature per pattern (the side-by-side tests and the loader
// fuzzers' seeds) and busy songs of 4 to 32 channels for the benchmark.
#pragma once

#include <string>
#include <vector>

#include "tools/common/module_writer.h"

namespace modwriter {

enum class Format { XM, S3M, MOD, MTM };

const char* FormatName(Format format);
std::vector<u8> Write(Format format, const Song& song);

// Patterns in play order, each one feature: notes and instruments, speed
// and tempo, a pattern loop, a pattern delay, a break into a row, slides
// and portamento, vibrato and arpeggio, a position jump, an instrument
// with a volume envelope and key off, and a last plain pattern. MOD and
// MTM have no key off; every format plays the same rows.
Song FeatureSong(Format format);

// The name of the feature each pattern of FeatureSong holds.
const std::vector<std::string>& FeatureNames();

// A song with every channel busy: notes every other row, slides, vibrato,
// arpeggio; 8 patterns of 64 rows (about 60 seconds).
Song BusySong(u16 channels, bool sixteenBit);

}  // namespace modwriter
