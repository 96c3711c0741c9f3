#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "audio/module_build.h"
#include "tests/audio/audio_test_support.h"
#include "tests/audio/wave_builder.h"
#include "tests/support/process.h"

using namespace audio_test;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

using Loader = u32 (*)(const char*, AudioModule**, u32);
struct ModuleDeleter {
  void operator()(AudioModule* module) const { FreeModule(module); }
};
using ModulePtr = std::unique_ptr<AudioModule, ModuleDeleter>;

void PutBE16(Bytes& out, u32 value) {
  out.push_back(static_cast<u8>(value >> 8));
  out.push_back(static_cast<u8>(value));
}
void PutText(Bytes& out, const char* text, size_t n) {
  for (size_t i = 0; i < n; ++i)
    out.push_back(i < std::strlen(text) ? static_cast<u8>(text[i]) : 0);
}
void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }

// ---- Minimal writers: one pattern, one sample, fields chosen per test ----

// A full cell, two empty ones, a cell of note and parameter.
Bytes XmPattern() {
  static const u8 kCells[] = {0x31, 1, 0x20, 0x0F, 0x06, 0x80, 0x80, 0x91, 0x61, 2};
  return Bytes(std::begin(kCells), std::end(kCells));
}

struct XmFile {
  u16 version = 0x0104, orders = 2, channels = 2, patterns = 1, instruments = 1, samples = 1;
  u8 packing = 0;
  u16 rows = 2;
  Bytes pattern = XmPattern();
  u32 sampleLength = 4, loopStart = 1, loopLength = 3;
  u8 sampleType = 0x01;  // forward loop, 8-bit
};

Bytes MakeXm(const XmFile& f) {
  Bytes out;
  PutText(out, "Extended Module: ", 17);
  PutText(out, "Song", 20);
  out.push_back(0x1A);
  PutText(out, "tracker", 20);
  Put(out, f.version, 2);
  Put(out, 276, 4);
  for (u32 v :
       {u32{f.orders}, 1u, u32{f.channels}, u32{f.patterns}, u32{f.instruments}, 1u, 5u, 140u})
    Put(out, v, 2);
  for (u32 i = 0; i < 256; ++i) out.push_back(static_cast<u8>(i % 3));
  for (u32 p = 0; p < f.patterns; ++p) {
    Put(out, 9, 4);
    out.push_back(f.packing);
    Put(out, f.rows, 2);
    Put(out, static_cast<u32>(f.pattern.size()), 2);
    Append(out, f.pattern);
  }
  for (u32 i = 0; i < f.instruments; ++i) {
    Put(out, 263, 4);
    PutText(out, "Lead", 22);
    out.push_back(0);
    Put(out, f.samples, 2);
    Put(out, 40, 4);
    for (u32 n = 0; n < 96; ++n) out.push_back(n < 48 ? 0 : 3);  // 3 is beyond the samples
    // Volume envelope: three points, the last above 64; panning: none.
    for (u32 p = 0; p < 12; ++p) Put(out, p * 10 | (p == 2 ? 100u : p * 8) << 16, 4);
    for (u32 p = 0; p < 12; ++p) Put(out, p | 32u << 16, 4);
    // Points 3 and 0; sustain 1, loop 0..5 (beyond 3 points); pan sustain 4.
    for (u8 b : {3, 0, 1, 0, 5, 4, 0, 0, 7, 3, 1, 2, 3, 4}) out.push_back(b);
    Put(out, 0x123, 2);
    out.resize(out.size() + 22);  // reserved word and padding to 263 bytes
    for (u32 s = 0; s < f.samples; ++s) {
      for (u32 v : {f.sampleLength, f.loopStart, f.loopLength}) Put(out, v, 4);
      for (u8 b : {u8{70}, u8(-5), f.sampleType, u8{200}, u8(-12), u8{0}}) out.push_back(b);
      PutText(out, "Saw", 22);
    }
    for (u32 s = 0; s < f.samples; ++s) {
      for (u32 b = 0; b < f.sampleLength; ++b) out.push_back(1);  // deltas: 1, 2, 3, ...
    }
  }
  return out;
}

// S3M: one pattern, one PCM instrument; `rows` holds raw row data.
struct S3mFile {
  std::vector<u8> orders = {0, 255};
  std::vector<u8> settings = std::vector<u8>(32, 255);
  std::vector<u8> panTable;  // 32 entries, or none
  Bytes rows = Bytes(64, 0);
  u32 c2spd = 8363;
  u8 flags = 1;
};

void SetLE16(Bytes& out, size_t at, u32 value) {
  out[at] = static_cast<u8>(value);
  out[at + 1] = static_cast<u8>(value >> 8);
}
void PadToParagraph(Bytes& out) { out.resize((out.size() + 15) & ~size_t{15}); }

Bytes MakeS3m(const S3mFile& f) {
  Bytes out;
  PutText(out, "Tune", 28);
  for (u8 b : {0x1A, 16, 0, 0}) out.push_back(b);
  for (u32 v : {static_cast<u32>(f.orders.size()), 1u, 1u, 0u, 0x1320u, 2u}) Put(out, v, 2);
  PutText(out, "SCRM", 4);
  for (u8 b : {64, 4, 150, 0xB0, 0}) out.push_back(b);
  out.push_back(f.panTable.empty() ? 0 : 252);
  out.resize(64);
  Append(out, f.settings);
  Append(out, f.orders);
  const size_t pointers = out.size();
  out.resize(out.size() + 4);
  Append(out, f.panTable);
  PadToParagraph(out);
  SetLE16(out, pointers + 2, static_cast<u32>(out.size() / 16));
  Put(out, static_cast<u32>(f.rows.size() + 2), 2);
  Append(out, f.rows);
  PadToParagraph(out);
  SetLE16(out, pointers, static_cast<u32>(out.size() / 16));
  out.push_back(1);
  PutText(out, "file", 13);
  Put(out, static_cast<u32>(out.size() / 16 + 5), 2);  // the data follows the 80 bytes
  for (u32 v : {4u, 1u, 4u}) Put(out, v, 4);
  for (u8 b : {u8{48}, u8{0}, u8{0}, f.flags}) out.push_back(b);
  Put(out, f.c2spd, 4);
  out.resize(out.size() + 12);
  PutText(out, "Bass", 28);
  PutText(out, "SCRS", 4);
  // Four samples: 8-bit, or 16-bit little-endian with the flag 4.
  if (f.flags & 4) {
    for (u8 b : {0x00, 0x80, 0xFF, 0xFF, 0x00, 0x00, 0x01, 0x80}) out.push_back(b);
  } else {
    for (u8 b : {0x80, 0xFF, 0x00, 0x81}) out.push_back(b);
  }
  return out;
}

// MOD: cells for pattern 0 (others blank), one sample of 4 words.
Bytes MakeMod(const char* signature, u32 channels, const std::vector<u32>& cells,
              u8 lastOrder = 0) {
  Bytes out;
  PutText(out, "Mod", 20);
  for (u32 s = 0; s < 31; ++s) {
    PutText(out, s == 0 ? "Pluck" : "", 22);
    PutBE16(out, s == 0 ? 4 : 0);
    out.push_back(s == 0 ? 0x0F : 0);  // finetune -1
    out.push_back(s == 0 ? 80 : 0);    // volume above 64
    PutBE16(out, 1);
    PutBE16(out, s == 0 ? 5 : 1);  // loop end beyond the sample
  }
  out.push_back(3);
  out.push_back(127);
  for (u32 i = 0; i < 128; ++i) out.push_back(i == 2 ? lastOrder : 0);
  PutText(out, signature, 4);
  const u32 patterns = lastOrder + 1u;
  for (u32 i = 0; i < 64 * channels * patterns; ++i) {
    const u32 cell = i < cells.size() ? cells[i] : 0;
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<u8>(cell >> shift));
  }
  for (u8 b : {0, 1, 0xFF, 0x80, 7, 7, 7, 7}) out.push_back(b);
  return out;
}

u32 ModCell(u32 period, u32 instrument, u32 effect, u32 param) {
  return (instrument & 0xF0) << 24 | period << 16 | (instrument & 15) << 12 | effect << 8 | param;
}

// MTM: three channels naming track 1, the empty track 0 and a track
// beyond those stored; one sample.
Bytes MakeMtm() {
  Bytes out;
  PutText(out, "MTM", 3);
  out.push_back(0x10);
  PutText(out, "Tracks", 20);
  Put(out, 1, 2);                        // tracks
  for (u8 b : {0, 1}) out.push_back(b);  // last pattern, last order
  Put(out, 3, 2);                        // comment bytes
  for (u8 b : {1, 0, 64, 3}) out.push_back(b);
  for (u32 c = 0; c < 32; ++c) out.push_back(static_cast<u8>(c < 3 ? 4 + c * 4 : 0));
  PutText(out, "Organ", 22);
  for (u32 v : {4u, 0u, 4u}) Put(out, v, 4);
  for (u8 b : {0x0F, 64, 0}) out.push_back(b);
  for (u32 i = 0; i < 128; ++i) out.push_back(0);
  Bytes track(192);
  track[0] = 12 << 2, track[1] = 0x1C, track[2] = 0x20;  // note 12, instrument 1, C 20
  Append(out, track);
  for (u32 c = 0; c < 32; ++c) Put(out, c == 0 ? 1 : c == 2 ? 5 : 0, 2);
  PutText(out, "hey", 3);
  for (u8 b : {0x80, 0xFF, 0x00, 0x81}) out.push_back(b);
  return out;
}

// The cells of a pattern, decoded from the packed data.
std::vector<ModuleCell> Cells(const AudioPattern& pattern) {
  std::vector<ModuleCell> cells;
  ByteReader in(pattern.data, pattern.size);
  while (!in.AtEnd()) {
    const u8 first = in.Next();
    // A first byte without bit 7 is the note, and all four others follow.
    const bool packed = (first & kCellPacked) != 0;
    u8 fields[5] = {packed ? u8{0} : first};
    for (u32 i = packed ? 0 : 1; i < 5; ++i) {
      if (!packed || (first & (1u << i))) fields[i] = in.Next();
    }
    cells.push_back({fields[0], fields[1], fields[2], fields[3], fields[4]});
  }
  return cells;
}

class ModuleLoaderTest : public MixerFixture {
 protected:
  void SetUp() override {
    MixerFixture::SetUp();
    Open(kStereo16);
  }
  u32 Load(Loader loader, const Bytes& bytes) {
    const std::string path = dir_ / "module";
    EXPECT_TRUE(WriteFile(path, bytes));
    AudioModule* module = nullptr;
    const u32 code = loader(path.c_str(), &module, 0);
    if (code != AUDIO_ERROR_NONE) {
      EXPECT_EQ(module, nullptr);
    }
    module_.reset(module);
    return code;
  }
  AudioSample& Sample(u32 instrument) { return module_->instruments[instrument].samples[0]; }
  Bytes Data(const AudioSample& sample) {
    return Bytes(sample.wave.data, sample.wave.data + sample.wave.length);
  }

  TempDir dir_;
  ModulePtr module_;
};

}  // namespace

TEST_F(ModuleLoaderTest, XmFieldsRoundTrip) {
  const XmFile file;
  ASSERT_EQ(Load(ALoadXMModule, MakeXm(file)), kOk);
  const AudioModule& m = *module_;
  EXPECT_STREQ(m.name, "Song");
  EXPECT_EQ(m.flags, AUDIO_MODULE_LINEAR);
  EXPECT_EQ(std::vector<u32>({m.orderCount, m.restart, m.channelCount, m.patternCount,
                              m.instrumentCount, m.tempo, m.bpm, m.orders[1], m.panning[0]}),
            std::vector<u32>({2, 1, 2, 1, 1, 5, 140, 1, 127}));
  // XM pattern data stays as stored.
  EXPECT_EQ(std::vector<u32>({m.patterns[0].rows, m.patterns[0].channels}),
            std::vector<u32>({2, 2}));
  EXPECT_EQ(Bytes(m.patterns[0].data, m.patterns[0].data + m.patterns[0].size), file.pattern);
  const AudioInstrument& in = m.instruments[0];
  EXPECT_STREQ(in.name, "Lead");
  EXPECT_EQ(Bytes(in.sampleMap, in.sampleMap + 96), Bytes(96, 0));  // 3 is beyond the samples
  // Values clamped to 64; the loop beyond the 3 points and the panning
  // envelope without points are dropped.
  EXPECT_EQ(std::vector<u32>({in.volumePoints, in.volumeEnvelope[1].x, in.volumeEnvelope[1].y,
                              in.volumeEnvelope[2].y, in.volumeSustain, in.volumeLoopStart,
                              in.volumeLoopEnd, in.volumeFlags, in.panningPoints, in.panningSustain,
                              in.panningFlags}),
            std::vector<u32>({3, 10, 8, 64, 1, 0, 0, kEnvelopeOn | kEnvelopeSustain, 0, 0, 0}));
  EXPECT_EQ(std::vector<u32>(
                {in.vibratoType, in.vibratoSweep, in.vibratoDepth, in.vibratoRate, in.fadeout}),
            std::vector<u32>({1, 2, 3, 4, 0x123}));
  const AudioSample& s = Sample(0);
  EXPECT_STREQ(s.name, "Saw");
  EXPECT_EQ(std::vector<i32>({s.volume, s.panning, s.relativeNote, s.finetune, s.wave.rate,
                              static_cast<i32>(s.wave.loopStart), static_cast<i32>(s.wave.loopEnd),
                              s.wave.format}),
            std::vector<i32>({64, 200, -12, -5, 8363, 1, 4, AUDIO_WAVE_LOOP}));
  EXPECT_EQ(Data(s), Bytes({1, 2, 3, 4}));  // deltas summed
}

// Sample formats and loops, and every limit that refuses the file.
TEST_F(ModuleLoaderTest, XmSamplesLoopsAndLimits) {
  struct Case {
    const char* what;
    void (*change)(XmFile&);
    u32 code;
    u16 format;
    Bytes data;
  };
  const Case cases[] = {
      {"16-bit deltas",
       [](XmFile& f) { f.sampleType = 0x12; },
       kOk,
       AUDIO_WAVE_16BITS | AUDIO_WAVE_BIDILOOP,
       {1, 1, 2, 2}},
      {"loop past the end", [](XmFile& f) { f.loopStart = 2; }, kOk, 0, {1, 2, 3, 4}},
      {"empty loop", [](XmFile& f) { f.loopLength = 0; }, kOk, 0, {1, 2, 3, 4}},
      {"version 0x0103", [](XmFile& f) { f.version = 0x0103; }, AUDIO_ERROR_BADFILEFORMAT, 0, {}},
      {"257 orders", [](XmFile& f) { f.orders = 257; }, AUDIO_ERROR_BADFILEFORMAT, 0, {}},
      {"33 channels", [](XmFile& f) { f.channels = 33; }, AUDIO_ERROR_BADFILEFORMAT, 0, {}},
      {"257 patterns", [](XmFile& f) { f.patterns = 257; }, AUDIO_ERROR_BADFILEFORMAT, 0, {}},
      {"129 instruments", [](XmFile& f) { f.instruments = 129; }, AUDIO_ERROR_BADFILEFORMAT, 0, {}},
      {"17 samples", [](XmFile& f) { f.samples = 17; }, AUDIO_ERROR_BADFILEFORMAT, 0, {}},
      {"packing 1", [](XmFile& f) { f.packing = 1; }, AUDIO_ERROR_BADFILEFORMAT, 0, {}},
      {"257 rows", [](XmFile& f) { f.rows = 257; }, AUDIO_ERROR_BADFILEFORMAT, 0, {}},
  };
  for (const Case& c : cases) {
    XmFile file;
    c.change(file);
    ASSERT_EQ(Load(ALoadXMModule, MakeXm(file)), c.code) << c.what;
    if (c.code != kOk) continue;
    EXPECT_EQ(Sample(0).wave.format, c.format) << c.what;
    EXPECT_EQ(Data(Sample(0)), c.data) << c.what;
  }
  // The XM's name is no signature of the other formats.
  for (Loader other : {ALoadS3MModule, ALoadMODModule, ALoadMTMModule})
    EXPECT_EQ(Load(other, MakeXm(XmFile())), AUDIO_ERROR_BADFILEFORMAT);
}

TEST_F(ModuleLoaderTest, XmShortAndEmptyPatterns) {
  // Three rows of two channels, but the data stops inside the first cell:
  // the cell is completed with zeros and the five missing cells are empty.
  XmFile file;
  file.rows = 3;
  file.pattern = {0x31, 1};
  ASSERT_EQ(Load(ALoadXMModule, MakeXm(file)), kOk);
  const AudioPattern& p = module_->patterns[0];
  EXPECT_EQ(Bytes(p.data, p.data + p.size),
            Bytes({0x31, 1, 0, 0, 0, 0x80, 0x80, 0x80, 0x80, 0x80}));
  // No rows plays as a missing pattern; no orders and no channels load.
  file.rows = 0;
  file.orders = file.channels = 0;
  ASSERT_EQ(Load(ALoadXMModule, MakeXm(file)), kOk);
  EXPECT_EQ(std::vector<u32>({module_->orderCount, module_->channelCount, module_->patterns[0].rows,
                              module_->patterns[0].size}),
            std::vector<u32>({0, 0, 64, 0}));
  EXPECT_EQ(module_->patterns[0].data, nullptr);
}

TEST_F(ModuleLoaderTest, S3mChannelsOrdersAndSample) {
  S3mFile file;
  file.orders = {0, 254, 7, 0, 255};
  file.settings = {0, 9, 16, 0x83, 5, 30};
  file.settings.resize(32, 255);
  file.panTable = {0, 0, 0, 0, 0x2C};
  file.panTable.resize(32, 0);
  // Row 0: channel 2 (dropped) first, then channel 4: C-5, instrument 1,
  // volume 40.
  file.rows = {0xE2, 0x40, 1, 30, 1, 5, 0x64, 0x50, 1, 40, 0};
  ASSERT_EQ(Load(ALoadS3MModule, MakeS3m(file)), kOk);
  const AudioModule& m = *module_;
  EXPECT_STREQ(m.name, "Tune");
  EXPECT_EQ(std::vector<u32>({m.flags, m.orderCount, m.orders[0], m.orders[1], m.channelCount,
                              m.tempo, m.bpm, m.patterns[0].rows, m.patterns[0].channels}),
            std::vector<u32>({AUDIO_MODULE_AMIGA, 2, 0, 0, 4, 4, 150, 64, 4}));
  // Left, right, left (the mute bit set), and 0xC from the pan table.
  EXPECT_EQ(Bytes(m.panning, m.panning + 4), Bytes({0, 255, 0, 0xC0}));
  const std::vector<ModuleCell> cells = Cells(m.patterns[0]);
  ASSERT_EQ(cells.size(), 64u * 4);
  EXPECT_EQ(cells[0].note + cells[1].note + cells[2].note, 0);
  EXPECT_EQ(
      std::vector<u32>({cells[3].note, cells[3].instrument, cells[3].volume, cells[3].effect}),
      std::vector<u32>({61, 1, 56, 0}));
  const AudioSample& s = Sample(0);
  EXPECT_STREQ(m.instruments[0].name, "Bass");
  EXPECT_EQ(
      std::vector<u32>({s.volume, s.panning, s.wave.loopStart, s.wave.loopEnd, s.wave.format}),
      std::vector<u32>({48, 127, 1, 4, AUDIO_WAVE_LOOP}));
  EXPECT_EQ(Data(s), Bytes({0x00, 0x7F, 0x80, 0x01}));  // unsigned made signed
  // Only markers: no orders at all.
  file.orders = {255, 255, 255};
  ASSERT_EQ(Load(ALoadS3MModule, MakeS3m(file)), kOk);
  EXPECT_EQ(module_->orderCount, 0);
  // 16-bit samples: lengths in samples become bytes, unsigned words signed.
  file.flags = 5;
  ASSERT_EQ(Load(ALoadS3MModule, MakeS3m(file)), kOk);
  EXPECT_EQ(
      std::vector<u32>({Sample(0).wave.loopStart, Sample(0).wave.loopEnd, Sample(0).wave.format}),
      std::vector<u32>({2, 8, AUDIO_WAVE_LOOP | AUDIO_WAVE_16BITS}));
  EXPECT_EQ(Data(Sample(0)), Bytes({0x00, 0x00, 0xFF, 0x7F, 0x00, 0x80, 0x01, 0x00}));
}

// One row per command of the effect map, all on channel 0.
TEST_F(ModuleLoaderTest, S3mEffectMap) {
  struct Line {
    char command;
    u8 info, effect, param;
  };
  constexpr u8 E = 14, X = 33;
  const Line lines[] = {
      {'A', 0x05, 15, 0x05},
      {'A', 0x20, 0, 0},
      {'B', 0x02, 11, 0x02},
      {'C', 0x10, 13, 0x10},
      {'D', 0x05, 10, 0x05},
      {'D', 0x50, 10, 0x50},
      {'D', 0xF3, E, 0xB3},
      {'D', 0xFF, E, 0xBF},
      {'D', 0x3F, E, 0xA3},
      {'D', 0x34, 0, 0},
      {'E', 0xF2, E, 0x22},
      {'E', 0xE3, X, 0x23},
      {'E', 0x12, 2, 0x12},
      {'F', 0xF2, E, 0x12},
      {'F', 0xE3, X, 0x13},
      {'F', 0x12, 1, 0x12},
      {'G', 0x10, 3, 0x10},
      {'H', 0x34, 4, 0x34},
      {'I', 0x12, 29, 0x12},
      {'J', 0x37, 0, 0x37},
      {'K', 0x02, 6, 0x02},
      {'L', 0x03, 5, 0x03},
      {'O', 0x08, 9, 0x08},
      {'Q', 0x05, 27, 0x05},
      {'R', 0x23, 7, 0x23},
      {'S', 0x01, E, 0x01},
      {'S', 0x12, E, 0x32},
      {'S', 0x23, E, 0x53},
      {'S', 0x34, E, 0x44},
      {'S', 0x45, E, 0x75},
      {'S', 0x86, E, 0x86},
      {'S', 0xB7, E, 0x67},
      {'S', 0xC8, E, 0xC8},
      {'S', 0xD9, E, 0xD9},
      {'S', 0xEA, E, 0xEA},
      {'S', 0xA0, 8, 0},
      {'S', 0xA3, 8, 255},
      {'S', 0xA4, 8, 64},
      {'S', 0xA5, 8, 192},
      {'S', 0xA7, 8, 128},
      {'S', 0xA8, 0, 0},
      {'S', 0x51, 0, 0},
      {'S', 0xF1, 0, 0},
      {'T', 0x20, 15, 0x20},
      {'T', 0x1F, 0, 0},
      {'U', 0x12, 30, 0x12},
      {'V', 0x30, 16, 0x30},
      {'X', 0x40, 8, 0x80},
      {'X', 0x80, 8, 255},
      {'X', 0xA4, 8, 128},
      {'Z', 0x05, 35, 0x05},
      {'W', 0x10, 0, 0},
      {'[', 0x10, 0, 0},
      {'Z', 0x07, 35, 0x07},
      // Zero info: the remembered one for D E F G K L Q only.
      {'D', 0x00, 10, 0x07},
      {'H', 0x00, 4, 0x00},
      {'Q', 0x00, 27, 0x07},
  };
  S3mFile file;
  file.settings[0] = 0;
  file.rows.clear();
  for (const Line& line : lines) {
    for (int b : {0x80, line.command - 'A' + 1, int{line.info}, 0})
      file.rows.push_back(static_cast<u8>(b));
  }
  ASSERT_EQ(Load(ALoadS3MModule, MakeS3m(file)), kOk);
  const std::vector<ModuleCell> cells = Cells(module_->patterns[0]);
  ASSERT_EQ(cells.size(), 64u);
  for (size_t i = 0; i < std::size(lines); ++i) {
    EXPECT_EQ(cells[i].effect, lines[i].effect) << "row " << i << " " << lines[i].command;
    EXPECT_EQ(cells[i].param, lines[i].param) << "row " << i << " " << lines[i].command;
  }
}

// The sample's rate becomes a relative note and finetune in 128ths of a
// semitone, matching 12 log2(rate / 8363) within a step.
TEST_F(ModuleLoaderTest, S3mC2spdTriples) {
  struct Triple {
    u32 c2spd;
    i32 note, finetune;
  };
  const Triple triples[] = {{8363, 0, 0},     {16726, 12, 0},   {4181, -12, 0},   {8000, -1, 30},
                            {22050, 16, 100}, {44100, 28, 100}, {100000, 42, 123}};
  for (const Triple& t : triples) {
    S3mFile file;
    file.c2spd = t.c2spd;
    ASSERT_EQ(Load(ALoadS3MModule, MakeS3m(file)), kOk);
    const AudioSample& s = Sample(0);
    EXPECT_EQ(s.relativeNote, t.note) << t.c2spd;
    EXPECT_EQ(s.finetune, t.finetune) << t.c2spd;
    EXPECT_EQ(s.wave.rate, t.c2spd & 0xFFFF);
    EXPECT_NEAR(s.relativeNote + s.finetune / 128.0, 12 * std::log2(t.c2spd / 8363.0), 1.0 / 128);
  }
}

TEST_F(ModuleLoaderTest, ModSignaturesPeriodsAndEffects) {
  struct Signature {
    const char* id;
    u32 code, channels;
  };
  for (const Signature& s : {Signature{"M.K.", kOk, 4},
                             {"FLT4", kOk, 4},
                             {"6CHN", kOk, 6},
                             {"OCTA", kOk, 8},
                             {"FLT8", kOk, 8},
                             {"10CH", kOk, 10},
                             {"32CH", kOk, 32},
                             {"11CH", AUDIO_ERROR_BADFILEFORMAT, 0},
                             {"34CH", AUDIO_ERROR_BADFILEFORMAT, 0},
                             {"M.K ", AUDIO_ERROR_BADFILEFORMAT, 0}}) {
    ASSERT_EQ(Load(ALoadMODModule, MakeMod(s.id, s.channels, {})), s.code) << s.id;
    if (s.code == kOk) {
      EXPECT_EQ(module_->channelCount, s.channels) << s.id;
    }
  }
  struct Cell {
    u32 period, instrument, effect, param;
    ModuleCell want;
  };
  const Cell table[] = {
      {4095, 0x1F, 0, 0, {10, 0x1F}},
      {3624, 1, 0, 0, {12, 1}},
      {428, 0, 0, 0, {49}},
      {427, 0, 0, 0, {50}},
      {28, 0, 0, 0, {96}},
      {27, 0, 0, 0, {}},
      {0, 0, 0x1, 0x00, {}},
      {0, 0, 0x2, 0x00, {}},
      {0, 0, 0xA, 0x00, {}},
      {0, 0, 0xE, 0x10, {}},
      {0, 0, 0xE, 0x20, {}},
      {0, 0, 0xE, 0xA0, {}},
      {0, 0, 0xE, 0xB0, {}},
      {0, 0, 0x1, 0x05, {0, 0, 0, 1, 5}},
      {0, 0, 0xE, 0x15, {0, 0, 0, 14, 0x15}},
      {0, 0, 0x8, 0x40, {0, 0, 0, 8, 0x80}},
      {0, 0, 0x8, 0x80, {0, 0, 0, 8, 255}},
      {0, 0, 0x8, 0xC0, {0, 0, 0, 8, 128}},
  };
  std::vector<u32> raw;
  for (const Cell& c : table) raw.push_back(ModCell(c.period, c.instrument, c.effect, c.param));
  ASSERT_EQ(Load(ALoadMODModule, MakeMod("32CH", 32, raw)), kOk);
  const std::vector<ModuleCell> cells = Cells(module_->patterns[0]);
  ASSERT_EQ(cells.size(), 64u * 32);
  for (size_t i = 0; i < std::size(table); ++i) {
    const ModuleCell& w = table[i].want;
    EXPECT_EQ(std::vector<u32>({cells[i].note, cells[i].instrument, cells[i].volume,
                                cells[i].effect, cells[i].param}),
              std::vector<u32>({w.note, w.instrument, w.volume, w.effect, w.param}))
        << "cell " << i;
  }
}

TEST_F(ModuleLoaderTest, ModOrdersPanningAndSample) {
  // Order 63 anywhere in the table makes 64 patterns, whatever the length.
  ASSERT_EQ(Load(ALoadMODModule, MakeMod("M.K.", 4, {}, 63)), kOk);
  const AudioModule& m = *module_;
  EXPECT_STREQ(m.name, "Mod");
  EXPECT_EQ(std::vector<u32>({m.flags, m.orderCount, m.restart, m.patternCount, m.instrumentCount,
                              m.tempo, m.bpm, m.orders[2]}),
            std::vector<u32>({AUDIO_MODULE_AMIGA, 3, 127, 64, 31, 6, 125, 63}));
  EXPECT_EQ(Bytes(m.panning, m.panning + 4), Bytes({0, 255, 255, 0}));
  // Loop end cut to the length; volume to 64; finetune nibble 15 is -1.
  const AudioSample& s = Sample(0);
  EXPECT_STREQ(m.instruments[0].name, "Pluck");
  EXPECT_EQ(std::vector<i32>({s.volume, s.finetune, s.panning, static_cast<i32>(s.wave.loopStart),
                              static_cast<i32>(s.wave.loopEnd), s.wave.format}),
            std::vector<i32>({64, -16, 128, 2, 8, AUDIO_WAVE_LOOP}));
  EXPECT_EQ(Data(s), Bytes({0, 1, 0xFF, 0x80, 7, 7, 7, 7}));
  EXPECT_EQ(m.instruments[1].sampleCount, 0);
}

TEST_F(ModuleLoaderTest, MtmTracksAndSample) {
  ASSERT_EQ(Load(ALoadMTMModule, MakeMtm()), kOk);
  const AudioModule& m = *module_;
  EXPECT_STREQ(m.name, "Tracks");
  EXPECT_EQ(std::vector<u32>({m.flags, m.orderCount, m.restart, m.channelCount, m.patternCount,
                              m.instrumentCount, m.tempo, m.bpm}),
            std::vector<u32>({AUDIO_MODULE_AMIGA, 2, 256, 3, 1, 1, 6, 125}));
  EXPECT_EQ(Bytes(m.panning, m.panning + 3), Bytes({64, 128, 192}));
  const std::vector<ModuleCell> cells = Cells(m.patterns[0]);
  ASSERT_EQ(cells.size(), 64u * 3);
  EXPECT_EQ(std::vector<u32>({cells[0].note, cells[0].instrument, cells[0].effect, cells[0].param}),
            std::vector<u32>({37, 1, 12, 0x20}));
  // Track 0 and a track beyond those stored: empty cells.
  for (size_t i = 1; i < cells.size(); ++i) {
    EXPECT_EQ(cells[i].note | cells[i].instrument | cells[i].effect | cells[i].param, 0) << i;
  }
  const AudioSample& s = Sample(0);
  EXPECT_EQ(
      std::vector<i32>({s.volume, s.finetune, static_cast<i32>(s.wave.loopEnd), s.wave.format}),
      std::vector<i32>({64, -16, 4, AUDIO_WAVE_LOOP}));
  EXPECT_EQ(Data(s), Bytes({0x00, 0x7F, 0x80, 0x01}));
}

// Cuts of every format: before the sample data the file is refused;
// inside it the short last sample is cut. ASan checks that nothing leaks
// and nothing is read past a buffer.
TEST_F(ModuleLoaderTest, TruncatedFiles) {
  struct Format {
    const char* what;
    Loader loader;
    Bytes file;
    size_t sampleBytes;
    u32 lastInstrument = 0;  // the one whose sample ends the file
  };
  // With two instruments a cut in the second frees the first's sample.
  XmFile twoInstruments;
  twoInstruments.instruments = 2;
  const Format formats[] = {{"xm", ALoadXMModule, MakeXm(XmFile()), 4},
                            {"xm, 2 instruments", ALoadXMModule, MakeXm(twoInstruments), 4, 1},
                            {"s3m", ALoadS3MModule, MakeS3m(S3mFile()), 4},
                            {"mod", ALoadMODModule, MakeMod("M.K.", 4, {}), 8},
                            {"mtm", ALoadMTMModule, MakeMtm(), 4}};
  for (const Format& f : formats) {
    const size_t dataStart = f.file.size() - f.sampleBytes;
    for (size_t cut = 0; cut < f.file.size(); ++cut) {
      // Every header byte early on, a stride through the middle, every
      // byte near the samples.
      if (cut > 64 && cut % 23 != 0 && cut + 16 < dataStart) continue;
      const Bytes part(f.file.begin(), f.file.begin() + cut);
      const u32 code = Load(f.loader, part);
      if (cut < dataStart) {
        ASSERT_EQ(code, AUDIO_ERROR_BADFILEFORMAT) << f.what << " cut at " << cut;
      } else {
        ASSERT_EQ(code, kOk) << f.what << " cut at " << cut;
        EXPECT_EQ(Sample(f.lastInstrument).wave.length, cut - dataStart) << f.what;
      }
    }
  }
}
