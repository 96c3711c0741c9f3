// Writes small tracker modules (XM, S3M, MOD, MTM) from a plain description,
// for the module tests, the loader fuzzers' seeds and the benchmark. Cells
// are given as XM cells (note 1..96, 97 key off; the XM volume column;
// effects 0..35 with their parameter); each writer converts them to its
// format and leaves out what the format cannot hold (the volume column of
// MOD and MTM, envelopes outside XM, effects a format has no letter for).
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace modwriter {

struct Cell {
  u8 note = 0;
  u8 instrument = 0;
  u8 volume = 0;
  u8 effect = 0;
  u8 param = 0;
};

struct Pattern {
  u16 rows = 64;
  u16 channels = 4;
  std::vector<Cell> cells;  // rows x channels, row after row

  Pattern() = default;
  Pattern(u16 rowCount, u16 channelCount)
      : rows(rowCount), channels(channelCount), cells(size_t(rowCount) * channelCount) {}
  Cell& At(u32 row, u32 channel) { return cells[size_t(row) * channels + channel]; }
  const Cell& At(u32 row, u32 channel) const { return cells[size_t(row) * channels + channel]; }
};

struct Envelope {
  std::vector<std::pair<u16, u16>> points;  // (tick, value 0..64)
  u8 sustain = 0;
  u8 loopStart = 0;
  u8 loopEnd = 0;
  u8 flags = 0;  // 1 on, 2 sustain, 4 loop
};

enum class Loop : u8 { None, Forward, PingPong };

struct Sample {
  std::string name;
  std::vector<i16> pcm;  // 8-bit samples hold -128..127
  bool sixteenBit = false;
  Loop loop = Loop::None;
  u32 loopStart = 0;  // in samples
  u32 loopEnd = 0;    // in samples, exclusive
  u8 volume = 64;
  u8 panning = 128;
  i8 relativeNote = 0;
  i8 finetune = 0;   // XM units (-128..127); MOD keeps the high nibble
  u32 c2spd = 8363;  // S3M
};

struct Instrument {
  std::string name;
  std::vector<Sample> samples;  // MOD, S3M and MTM keep the first one
  u8 sampleMap[96] = {};
  Envelope volume;
  Envelope panning;
  u8 vibratoType = 0;
  u8 vibratoSweep = 0;
  u8 vibratoDepth = 0;
  u8 vibratoRate = 0;
  u16 fadeout = 0;
};

struct Song {
  std::string name;
  u16 channels = 4;
  std::vector<u8> orders;
  u16 restart = 0;
  u16 speed = 6;
  u16 bpm = 125;
  bool linear = true;       // XM frequency table
  std::vector<u8> panning;  // per channel, 0..255; empty for the format's default
  std::vector<u8> s3mChannels;  // S3M channel settings; empty for L R R L over the channels
  std::vector<Pattern> patterns;
  std::vector<Instrument> instruments;
};

std::vector<u8> WriteXM(const Song& song);
std::vector<u8> WriteS3M(const Song& song);
std::vector<u8> WriteMOD(const Song& song);
std::vector<u8> WriteMTM(const Song& song);

// The Amiga period that the MOD loader reads back as note n (1..96).
u16 ModPeriod(u32 note);

// A short looping tone for test instruments: a square wave of `period`
// samples, `length` samples long, looping over its whole length.
Sample SquareSample(u32 length, u32 period, bool sixteenBit = false);

bool SaveFile(const std::string& path, const std::vector<u8>& bytes);

}  // namespace modwriter
