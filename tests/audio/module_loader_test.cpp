#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "audio/module_build.h"
#include "tests/audio/audio_test_support.h"
#include "tests/audio/wave_builder.h"
#include "tests/support/process.h"
#include "tools/common/module_writer.h"

using namespace audio_test;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

using Loader = u32 (*)(const char*, AudioModule**, u32);
struct ModuleDeleter {
  void operator()(AudioModule* module) const { FreeModule(module); }
};
using ModulePtr = std::unique_ptr<AudioModule, ModuleDeleter>;

using modwriter::Loop;
using modwriter::Pattern;
using modwriter::Song;
using modwriter::WriteMOD;
using modwriter::WriteMTM;
using modwriter::WriteS3M;
using modwriter::WriteXM;

void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }
Bytes Set16(Bytes bytes, size_t at, u32 value) {
  bytes[at] = static_cast<u8>(value);
  bytes[at + 1] = static_cast<u8>(value >> 8);
  return bytes;
}
modwriter::Sample& FirstSample(Song& song) { return song.instruments[0].samples[0]; }

// One instrument of one 4-sample loop: a song whose fields are told apart
// when read back.
Song OneSampleSong(const char* name, const char* instrument, std::vector<i16> pcm) {
  Song song;
  song.name = name;
  modwriter::Instrument in;
  in.name = instrument;
  modwriter::Sample s;
  s.pcm = std::move(pcm);
  s.loop = Loop::Forward;
  s.loopEnd = static_cast<u32>(s.pcm.size());
  in.samples = {s};
  song.instruments = {in};
  return song;
}

// XM: the version word and the first pattern's header sit at fixed places.
constexpr size_t kXmVersion = 58, kXmFirstPattern = 336;

Song XmSong() {
  Song song = OneSampleSong("Song", "Lead", {1, 2, 3, 4});
  song.channels = 2;
  song.orders = {0, 1};
  song.restart = 1;
  song.speed = 5;
  song.bpm = 140;
  song.patterns = {Pattern(2, 2)};
  song.patterns[0].At(0, 0) = {0x31, 1, 0x20, 0x0F, 0x06};
  song.patterns[0].At(1, 1) = {0x61, 0, 0, 0, 2};
  modwriter::Instrument& in = song.instruments[0];
  std::fill(in.sampleMap + 48, in.sampleMap + 96, 3);  // 3 is beyond the samples
  // Three points, the last above 64, and a loop beyond them; panning: no
  // points, but sustain and flags set.
  in.volume = {{{0, 0}, {10, 8}, {20, 100}}, 1, 0, 5, 7};
  in.panning = {{}, 4, 0, 0, 3};
  in.vibratoType = 1, in.vibratoSweep = 2, in.vibratoDepth = 3, in.vibratoRate = 4;
  in.fadeout = 0x123;
  modwriter::Sample& s = in.samples[0];
  s.name = "Saw";
  s.loopStart = 1;
  s.volume = 70;
  s.panning = 200;
  s.relativeNote = -12;
  s.finetune = -5;
  return song;
}

// S3M: one channel, one pattern, the sample's bytes unsigned on disk.
Song S3mSong() {
  Song song = OneSampleSong("Tune", "Bass", {0, 127, -128, 1});
  song.channels = 1;
  song.orders = {0};
  song.speed = 4;
  song.bpm = 150;
  song.patterns = {Pattern(64, 1)};
  FirstSample(song).loopStart = 1;
  FirstSample(song).volume = 48;
  return song;
}

// The song's file with raw rows as its one pattern; without instruments
// the pattern ends the file.
Bytes S3mWithRows(Song song, const Bytes& rows) {
  song.instruments.clear();
  Bytes file = WriteS3M(song);
  const size_t pointer = 0x60 + ((song.orders.size() + 1) & ~size_t{1});
  file.resize(16 * size_t(file[pointer] | file[pointer + 1] << 8));
  Put(file, static_cast<u32>(rows.size() + 2), 2);
  Append(file, rows);
  return file;
}

// MOD: three orders; the sample's volume above 64, its loop past its end.
constexpr size_t kModSignature = 1080, kModFirstCell = 1084;

Song ModSong(u16 channels) {
  Song song = OneSampleSong("Mod", "Pluck", {0, 1, -1, -128, 7, 7, 7, 7});
  song.channels = channels;
  song.orders = {0, 0, 0};
  modwriter::Sample& s = FirstSample(song);
  s.finetune = -16;
  s.volume = 80;
  s.loopStart = 2;
  s.loopEnd = 12;
  return song;
}

// MTM: three channels naming the track of one note, the empty track 0
// and a track beyond those stored; a comment before the sample.
Bytes MtmFile() {
  Song song = OneSampleSong("Tracks", "Organ", {0, 127, -128, 1});
  song.channels = 3;
  song.orders = {0, 0};
  song.panning = {64, 128, 192};
  song.patterns = {Pattern(64, 3)};
  song.patterns[0].At(0, 0) = {37, 1, 0, 0xC, 0x20};
  FirstSample(song).finetune = -16;
  Bytes file = WriteMTM(song);
  const size_t samples = file.size() - 4, sequence = samples - 64;
  file = Set16(file, sequence + 2 * 2, 5);
  file.insert(file.begin() + samples, {'h', 'e', 'y'});
  return Set16(file, 28, 3);
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
  const Song song = XmSong();
  ASSERT_EQ(Load(ALoadXMModule, WriteXM(song)), kOk);
  const AudioModule& m = *module_;
  EXPECT_STREQ(m.name, "Song");
  EXPECT_EQ(m.flags, AUDIO_MODULE_LINEAR);
  EXPECT_EQ(std::vector<u32>({m.orderCount, m.restart, m.channelCount, m.patternCount,
                              m.instrumentCount, m.tempo, m.bpm, m.orders[1], m.panning[0]}),
            std::vector<u32>({2, 1, 2, 1, 1, 5, 140, 1, 127}));
  EXPECT_EQ(std::vector<u32>({m.patterns[0].rows, m.patterns[0].channels}),
            std::vector<u32>({2, 2}));
  const std::vector<ModuleCell> cells = Cells(m.patterns[0]);
  ASSERT_EQ(cells.size(), 4u);
  for (size_t i = 0; i < cells.size(); ++i) {
    const modwriter::Cell& w = song.patterns[0].cells[i];
    EXPECT_EQ(std::vector<u32>({cells[i].note, cells[i].instrument, cells[i].volume,
                                cells[i].effect, cells[i].param}),
              std::vector<u32>({w.note, w.instrument, w.volume, w.effect, w.param}))
        << "cell " << i;
  }
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
  EXPECT_EQ(Data(s), Bytes({1, 2, 3, 4}));  // the stored deltas summed
}

TEST_F(ModuleLoaderTest, XmSamplesLoopsAndLimits) {
  using Wave = modwriter::Sample;
  struct Case {
    const char* what;
    void (*change)(Wave&);
    u16 format;
    Bytes data;
  };
  const Case cases[] = {
      {"16-bit deltas",
       [](Wave& x) { x.sixteenBit = true, x.pcm = {0x0101, 0x0202}, x.loopEnd = 2; },
       AUDIO_WAVE_16BITS | AUDIO_WAVE_LOOP, {1, 1, 2, 2}},
      {"ping-pong", [](Wave& x) { x.loop = Loop::PingPong; }, AUDIO_WAVE_BIDILOOP, {1, 2, 3, 4}},
      {"loop past the end", [](Wave& x) { x.loopStart = 2, x.loopEnd = 5; }, 0, {1, 2, 3, 4}},
      {"empty loop", [](Wave& x) { x.loopEnd = 1; }, 0, {1, 2, 3, 4}},
  };
  for (const Case& c : cases) {
    Song song = XmSong();
    c.change(FirstSample(song));
    ASSERT_EQ(Load(ALoadXMModule, WriteXM(song)), kOk) << c.what;
    EXPECT_EQ(Sample(0).wave.format, c.format) << c.what;
    EXPECT_EQ(Data(Sample(0)), c.data) << c.what;
  }
  // Every limit refuses the file as no XM, so that the next loader is tried.
  const std::pair<const char*, Bytes (*)(Song)> refused[] = {
      {"version 0x0103", [](Song s) { return Set16(WriteXM(s), kXmVersion, 0x0103); }},
      {"257 orders", [](Song s) { return s.orders.resize(257), WriteXM(s); }},
      {"33 channels", [](Song s) { return s.channels = 33, WriteXM(s); }},
      {"257 patterns", [](Song s) { return s.patterns.resize(257, Pattern(1, 2)), WriteXM(s); }},
      {"129 instruments",
       [](Song s) { return s.instruments.resize(129, s.instruments[0]), WriteXM(s); }},
      {"17 samples",
       [](Song s) { return s.instruments[0].samples.resize(17, FirstSample(s)), WriteXM(s); }},
      {"packing 1", [](Song s) { Bytes f = WriteXM(s); f[kXmFirstPattern + 4] = 1; return f; }},
      {"257 rows", [](Song s) { return s.patterns = {Pattern(257, 2)}, WriteXM(s); }},
  };
  for (const auto& [what, make] : refused)
    EXPECT_EQ(Load(ALoadXMModule, make(XmSong())), AUDIO_ERROR_BADFILEFORMAT) << what;
  // The XM's name is no signature of the other formats.
  for (Loader other : {ALoadS3MModule, ALoadMODModule, ALoadMTMModule})
    EXPECT_EQ(Load(other, WriteXM(XmSong())), AUDIO_ERROR_BADFILEFORMAT);
}

TEST_F(ModuleLoaderTest, XmShortAndEmptyPatterns) {
  // Three rows of two channels, but the data stops inside the first cell
  // (a full cell: a first byte without bit 7 is the note): the cell is
  // completed with zeros and the five missing cells are empty.
  Song song = XmSong();
  song.instruments.clear();
  song.patterns = {Pattern(3, 2)};
  Bytes file = WriteXM(song);  // the pattern ends the file
  file.resize(kXmFirstPattern + 9);
  Append(file, {0x31, 1});
  ASSERT_EQ(Load(ALoadXMModule, Set16(file, kXmFirstPattern + 7, 2)), kOk);
  const AudioPattern& p = module_->patterns[0];
  EXPECT_EQ(Bytes(p.data, p.data + p.size),
            Bytes({0x31, 1, 0, 0, 0, 0x80, 0x80, 0x80, 0x80, 0x80}));
  // No rows plays as a missing pattern; no orders and no channels load.
  song.patterns = {Pattern(0, 2)};
  song.orders.clear();
  song.channels = 0;
  ASSERT_EQ(Load(ALoadXMModule, WriteXM(song)), kOk);
  EXPECT_EQ(std::vector<u32>({module_->orderCount, module_->channelCount, module_->patterns[0].rows,
                              module_->patterns[0].size}),
            std::vector<u32>({0, 0, 64, 0}));
  EXPECT_EQ(module_->patterns[0].data, nullptr);
}

TEST_F(ModuleLoaderTest, S3mChannelsOrdersAndSample) {
  Song song = S3mSong();
  song.orders = {0, 254, 7, 0, 255};
  // Channels 2 and 5 (settings 16 and up) are dropped; channel 3 is muted.
  song.channels = 6;
  song.s3mChannels = {0, 9, 16, 0x83, 5, 30};
  song.patterns = {Pattern(64, 6)};
  song.patterns[0].At(0, 2) = {49, 1, 0x10 + 30, 1, 5};
  song.patterns[0].At(0, 4) = {61, 1, 0x10 + 40};
  ASSERT_EQ(Load(ALoadS3MModule, WriteS3M(song)), kOk);
  const AudioModule& m = *module_;
  EXPECT_STREQ(m.name, "Tune");
  EXPECT_EQ(std::vector<u32>({m.flags, m.orderCount, m.orders[0], m.orders[1], m.channelCount,
                              m.tempo, m.bpm, m.patterns[0].rows, m.patterns[0].channels}),
            std::vector<u32>({AUDIO_MODULE_AMIGA, 2, 0, 0, 4, 4, 150, 64, 4}));
  // Pan table entries without their "set" bit: left, right, left, left.
  EXPECT_EQ(Bytes(m.panning, m.panning + 4), Bytes({0, 255, 0, 0}));
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
  // Only markers: no orders at all. A pan table entry with its bit set.
  song.orders = {255, 255, 255};
  song.panning = {0, 0, 0, 0, 0xC0};
  ASSERT_EQ(Load(ALoadS3MModule, WriteS3M(song)), kOk);
  EXPECT_EQ(module_->orderCount, 0);
  EXPECT_EQ(module_->panning[3], 0xC0);
  // 16-bit samples: lengths in samples become bytes, unsigned words signed.
  FirstSample(song).sixteenBit = true;
  FirstSample(song).pcm = {0, 32767, -32768, 1};
  ASSERT_EQ(Load(ALoadS3MModule, WriteS3M(song)), kOk);
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
  Bytes rows;
  for (const Line& line : lines) {
    for (int b : {0x80, line.command - 'A' + 1, int{line.info}, 0})
      rows.push_back(static_cast<u8>(b));
  }
  ASSERT_EQ(Load(ALoadS3MModule, S3mWithRows(S3mSong(), rows)), kOk);
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
    Song song = S3mSong();
    FirstSample(song).c2spd = t.c2spd;
    ASSERT_EQ(Load(ALoadS3MModule, WriteS3M(song)), kOk);
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
    u16 channels;
    u32 code;
  };
  for (const Signature& s : {Signature{"M.K.", 4, kOk},
                             {"FLT4", 4, kOk},
                             {"6CHN", 6, kOk},
                             {"OCTA", 8, kOk},
                             {"FLT8", 8, kOk},
                             {"10CH", 10, kOk},
                             {"32CH", 32, kOk},
                             {"11CH", 11, AUDIO_ERROR_BADFILEFORMAT},
                             {"34CH", 34, AUDIO_ERROR_BADFILEFORMAT},
                             {"M.K ", 4, AUDIO_ERROR_BADFILEFORMAT}}) {
    Bytes file = WriteMOD(ModSong(s.channels));
    std::copy(s.id, s.id + 4, file.begin() + kModSignature);
    ASSERT_EQ(Load(ALoadMODModule, file), s.code) << s.id;
    if (s.code == kOk) {
      EXPECT_EQ(module_->channelCount, s.channels) << s.id;
    }
  }
  // Row 0, one cell per channel; a period, where given, replaces the
  // note's: periods between and beyond the table's.
  struct Line {
    modwriter::Cell cell;
    u16 period;
    ModuleCell want;
  };
  const Line table[] = {
      {{0, 0x1F}, 4095, {10, 0x1F}},
      {{12, 1}, 0, {12, 1}},
      {{49}, 0, {49}},
      {{}, 427, {50}},
      {{96}, 0, {96}},
      {{}, 27, {}},
      {{0, 0, 0, 0x1, 0x00}, 0, {}},
      {{0, 0, 0, 0x2, 0x00}, 0, {}},
      {{0, 0, 0, 0xA, 0x00}, 0, {}},
      {{0, 0, 0, 0xE, 0x10}, 0, {}},
      {{0, 0, 0, 0xE, 0x20}, 0, {}},
      {{0, 0, 0, 0xE, 0xA0}, 0, {}},
      {{0, 0, 0, 0xE, 0xB0}, 0, {}},
      {{0, 0, 0, 0x1, 0x05}, 0, {0, 0, 0, 1, 5}},
      {{0, 0, 0, 0xE, 0x15}, 0, {0, 0, 0, 14, 0x15}},
      {{0, 0, 0, 0x8, 0x40}, 0, {0, 0, 0, 8, 0x80}},
      {{0, 0, 0, 0x8, 0x80}, 0, {0, 0, 0, 8, 255}},
      {{0, 0, 0, 0x8, 0xC0}, 0, {0, 0, 0, 8, 128}},
  };
  Song song = ModSong(32);
  song.patterns = {Pattern(64, 32)};
  for (size_t i = 0; i < std::size(table); ++i) song.patterns[0].At(0, i) = table[i].cell;
  Bytes file = WriteMOD(song);
  for (size_t i = 0; i < std::size(table); ++i) {
    u8* cell = &file[kModFirstCell + 4 * i];
    if (!table[i].period) continue;
    cell[0] = static_cast<u8>((cell[0] & 0xF0) | table[i].period >> 8);
    cell[1] = static_cast<u8>(table[i].period);
  }
  ASSERT_EQ(Load(ALoadMODModule, file), kOk);
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
  Song song = ModSong(4);
  song.orders[2] = 63;
  ASSERT_EQ(Load(ALoadMODModule, WriteMOD(song)), kOk);
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
  ASSERT_EQ(Load(ALoadMTMModule, MtmFile()), kOk);
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
    size_t tail;             // from the sample's start to the end (S3M pads it)
    u32 lastInstrument = 0;  // the one whose sample ends the file
    size_t padding = 0;      // before the sample: a sample past the end loads empty
  };
  // With two instruments a cut in the second frees the first's sample.
  Song twoInstruments = XmSong();
  twoInstruments.instruments.push_back(twoInstruments.instruments[0]);
  const Format formats[] = {{"xm", ALoadXMModule, WriteXM(XmSong()), 4, 4},
                            {"xm, 2 instruments", ALoadXMModule, WriteXM(twoInstruments), 4, 4, 1},
                            {"s3m", ALoadS3MModule, WriteS3M(S3mSong()), 4, 16, 0, 14},
                            {"mod", ALoadMODModule, WriteMOD(ModSong(4)), 8, 8},
                            {"mtm", ALoadMTMModule, MtmFile(), 4, 4}};
  for (const Format& f : formats) {
    const size_t dataStart = f.file.size() - f.tail;
    for (size_t cut = 0; cut < f.file.size(); ++cut) {
      // Every header byte early on, a stride through the middle, every
      // byte near the samples.
      if (cut > 64 && cut % 23 != 0 && cut + 16 < dataStart) continue;
      const Bytes part(f.file.begin(), f.file.begin() + cut);
      const u32 code = Load(f.loader, part);
      if (cut + f.padding < dataStart) {
        ASSERT_EQ(code, AUDIO_ERROR_BADFILEFORMAT) << f.what << " cut at " << cut;
      } else {
        ASSERT_EQ(code, kOk) << f.what << " cut at " << cut;
        const size_t kept = cut > dataStart ? std::min(cut - dataStart, f.sampleBytes) : 0;
        EXPECT_EQ(Sample(f.lastInstrument).wave.length, kept) << f.what;
      }
    }
  }
}
