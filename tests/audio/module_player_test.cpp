#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "audio/module.h"
#include "tests/audio/audio_test_support.h"

using namespace audio_test;

namespace {

constexpr u32 kRowTime = 6 * 1764;  // speed 6 at 125 bpm, stereo samples
constexpr u8 kZ = 35, kKeyOff = 97;

// One cell put into a pattern.
struct Put {
  u32 pattern, row, channel;
  u8 note, instrument, volume, command, param;
};

struct InstrumentShape {
  u32 length = 8000;  // 8-bit samples, 0 for a sample without data
  bool loop = true;
  std::vector<AudioEnvelopePoint> envelope;  // volume envelope when not empty
  u8 sustain = 0;
  u16 fadeout = 0;
};

// A module built in memory the way the loaders leave one: arrays from
// new[], waves through the library, freed by AFreeModuleFile. Channel 0
// carries a sync command on every row so the test sees each row played.
AudioModule* BuildModule(u32 channels, const std::vector<u8>& orders, u32 patterns,
                         const std::vector<Put>& puts, const InstrumentShape& shape = {},
                         u16 flags = AUDIO_MODULE_LINEAR) {
  AudioModule* module = new AudioModule();
  module->flags = flags;
  module->orderCount = static_cast<u16>(orders.size());
  std::copy(orders.begin(), orders.end(), module->orders);
  module->channelCount = static_cast<u16>(channels);
  module->tempo = 6;
  module->bpm = 125;
  std::fill(std::begin(module->panning), std::end(module->panning), 128);
  module->patternCount = static_cast<u16>(patterns);
  module->patterns = patterns ? new AudioPattern[patterns]() : nullptr;
  for (u32 p = 0; p < patterns; ++p) {
    std::vector<u8> bytes;
    for (u32 row = 0; row < 64; ++row) {
      for (u32 c = 0; c < channels; ++c) {
        Put cell{p, row, c, 0, 0, 0, c == 0 ? kZ : u8{0}, static_cast<u8>(row)};
        for (const Put& put : puts)
          if (put.pattern == p && put.row == row && put.channel == c) cell = put;
        const u8 fields[5] = {cell.note, cell.instrument, cell.volume, cell.command, cell.param};
        u8 mask = 0x80;
        for (int f = 0; f < 5; ++f)
          if (fields[f]) mask |= static_cast<u8>(1 << f);
        bytes.push_back(mask);
        for (u8 field : fields)
          if (field) bytes.push_back(field);
      }
    }
    module->patterns[p] = AudioPattern{0, static_cast<u16>(channels), 64,
                                       static_cast<u16>(bytes.size()), new u8[bytes.size()]};
    std::copy(bytes.begin(), bytes.end(), module->patterns[p].data);
  }
  module->instrumentCount = 1;
  module->instruments = new AudioInstrument[1]();
  AudioInstrument& in = module->instruments[0];
  in.sampleCount = 1;
  in.samples = new AudioSample[1]();
  in.fadeout = shape.fadeout;
  if (!shape.envelope.empty()) {
    std::copy(shape.envelope.begin(), shape.envelope.end(), in.volumeEnvelope);
    in.volumePoints = static_cast<u8>(shape.envelope.size());
    in.volumeSustain = shape.sustain;
    in.volumeFlags = kEnvelopeOn | kEnvelopeSustain;
  }
  AudioSample& sample = in.samples[0];
  sample.volume = 64;
  sample.panning = 128;
  AudioWave& wave = sample.wave;
  wave.length = shape.length;
  wave.rate = 8363;
  if (shape.loop) {
    wave.format = AUDIO_WAVE_LOOP;
    wave.loopEnd = shape.length;
  }
  if (shape.length > 0 && ACreateAudioData(&wave) == AUDIO_ERROR_NONE) {
    std::fill(wave.data, wave.data + wave.length, 64);
    AWriteAudioData(&wave, 0, wave.length);
  }
  return module;
}

// What the test sees at the start of each row: where the player is and
// what channel 1 and its voice were doing at the end of the row before.
struct Seen {
  u32 order, row, time;
  AudioTrackInfo track;
  u32 voiceStatus, voiceVolume, voicePosition;
};

std::vector<Seen> g_Seen;
u32 g_Time = 0;  // stereo samples rendered before the current update

void OnSync(u32, u32 order, u32 row) {
  Seen seen{order, row, g_Time, {}, 9, 99, 0};
  AGetModuleTrack(1, &seen.track);
  AGetVoiceStatus(2, &seen.voiceStatus);
  AGetVoiceVolume(2, &seen.voiceVolume);
  AGetVoicePosition(2, &seen.voicePosition);
  g_Seen.push_back(seen);
}

class ModulePlayerTest : public MixerFixture {
 protected:
  void SetUp() override {
    MixerFixture::SetUp();
    Open(kStereo16);
    ASSERT_EQ(AOpenVoices(8), kOk);
    g_Seen.clear();
    g_Time = 0;
  }
  void TearDown() override {
    Stop();
    MixerFixture::TearDown();
  }

  // Stops and frees the module before, and plays this one from a fresh log.
  void Play(AudioModule* module) {
    Stop();
    g_Seen.clear();
    g_Time = 0;
    module_ = module;
    ASSERT_EQ(APlayModule(module), kOk);
    ASSERT_EQ(ASetModuleCallback(OnSync), kOk);
  }
  // Renders in pieces of one tick quantum (64 samples), so each row is
  // seen at the time its tick fell.
  void RenderSamples(u32 samples) {
    for (u32 done = 0; done < samples; done += 64, g_Time += 64) AUpdateAudioEx(32);
  }
  void RenderRows(u32 rows) { RenderSamples(rows * kRowTime + 64); }
  void Stop() {
    AStopModule();
    if (module_) AFreeModuleFile(module_);
    module_ = nullptr;
  }

  AudioModule* module_ = nullptr;
};

// Expected rows: order, first and last row, the samples from the row
// before to the first of them (later ones a row-time apart).
struct Span {
  u32 order, first, last, gap = kRowTime;
};

std::vector<Seen> Expand(const std::vector<Span>& spans) {
  std::vector<Seen> rows;
  for (const Span& span : spans)
    for (u32 row = span.first; row <= span.last; ++row)
      rows.push_back(Seen{span.order, row, row == span.first ? span.gap : kRowTime, {}, 0, 0, 0});
  return rows;
}

// The row sequence and row lengths through speed and tempo commands,
// breaks, jumps, loops, delays, missing patterns and the end of the song.
TEST_F(ModulePlayerTest, RowSequenceAndTiming) {
  struct Case {
    const char* name;
    std::vector<u8> orders;
    u16 restart, patterns;
    std::vector<Put> puts;  // on channel 1
    std::vector<Span> rows;
    bool ends;
    u32 position = 0;  // at least this far into the sample at the last row, when set
  };
  constexpr u32 kTempo32Tick = 6890;  // 44100 x 2 x 5 / 64
  const Case cases[] = {
      {"F20: tempo 32 from the row's next tick", {0}, 9, 1, {{0, 1, 1, 0, 0, 0, 15, 0x20}},
       {{0, 0, 1}, {0, 2, 2, 6 * kTempo32Tick}, {0, 3, 3, 6 * kTempo32Tick}}, false},
      {"F1F: speed 31", {0}, 9, 1, {{0, 1, 1, 0, 0, 0, 15, 0x1F}},
       {{0, 0, 1}, {0, 2, 2, 31 * 1764}}, false},
      {"F00: no change", {0}, 9, 1, {{0, 1, 1, 0, 0, 0, 15, 0x00}}, {{0, 0, 63}}, true},
      {"D32 goes to row 32 of the next order", {0, 0}, 9, 1, {{0, 2, 1, 0, 0, 0, 13, 0x32}},
       {{0, 0, 2}, {1, 32, 63}}, true},
      {"D32 after the last order goes to the restart", {0, 1}, 1, 2,
       {{1, 2, 1, 0, 0, 0, 13, 0x32}}, {{0, 0, 63}, {1, 0, 2}, {1, 32, 34}}, false},
      {"B05 beyond 3 orders is ignored", {0, 0, 0}, 9, 1, {{0, 1, 1, 0, 0, 0, 11, 5}},
       {{0, 0, 63}, {1, 0, 1}}, false},
      {"B02 jumps", {0, 0, 0}, 9, 1, {{0, 1, 1, 0, 0, 0, 11, 2}}, {{0, 0, 1}, {2, 0, 1}}, false},
      {"E60 at row 8, E62 at row 15: three passes", {0}, 9, 1,
       {{0, 8, 1, 0, 0, 0, 14, 0x60}, {0, 15, 1, 0, 0, 0, 14, 0x62}},
       {{0, 0, 15}, {0, 8, 15}, {0, 8, 63}}, true},
      // The sync command runs again on each repeat of the delayed row.
      // Its note starts once: three row-times at 8363 Hz take it 3010
      // samples in, a restart at each repeat would leave it near 1003.
      {"EE2 holds a row three row-times", {0}, 9, 1, {{0, 1, 1, 49, 1, 0, 14, 0xE2}},
       {{0, 0, 1}, {0, 1, 1}, {0, 1, 2}}, false, 2900},
      {"a missing pattern plays 64 empty rows", {0, 7, 0}, 9, 1, {},
       {{0, 0, 63}, {2, 0, 1, 65 * kRowTime}}, false},
      {"an invalid restart ends play", {0}, 1, 1, {}, {{0, 0, 63}}, true},
      {"a valid restart loops", {0, 1}, 1, 2, {}, {{0, 0, 63}, {1, 0, 63}, {1, 0, 1}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AudioModule* module = BuildModule(2, c.orders, c.patterns, c.puts);
    module->restart = c.restart;
    Play(module);
    const std::vector<Seen> want = Expand(c.rows);
    u32 status = 0;
    while (g_Seen.size() <= want.size() && g_Time < 300 * kRowTime && status == 0) {
      RenderSamples(64 * 64);
      AGetModuleStatus(&status);
    }
    ASSERT_GE(g_Seen.size(), want.size());
    u32 previous = 0;
    for (size_t i = 0; i < want.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(g_Seen[i].order, want[i].order);
      EXPECT_EQ(g_Seen[i].row, want[i].row);
      // Ticks fall on 64-sample boundaries. The mixer's tick counter runs
      // on from the case before, so only the first case times its start.
      if (i > 0 || &c == cases) {
        EXPECT_NEAR(static_cast<double>(g_Seen[i].time - previous), want[i].time, 64.0);
      }
      previous = g_Seen[i].time;
    }
    EXPECT_EQ(status, c.ends ? 1u : 0u);
    EXPECT_GE(g_Seen[want.size() - 1].voicePosition, c.position);
    if (c.ends) {
      EXPECT_EQ(g_Seen.size(), want.size());
    }
  }
}

// Note 49 without relative note or finetune plays at 8363 Hz in both pitch
// modes; the note value is clamped at the table's bottom and a note past
// its top is held silent.
TEST_F(ModulePlayerTest, NotePitch) {
  struct Case {
    u16 flags;
    u8 note;
    i8 relative;
    u16 period;
    u32 hertz, volume;
  };
  const Case cases[] = {
      {AUDIO_MODULE_LINEAR, 49, 0, 4608, 8363, 64},
      {AUDIO_MODULE_AMIGA, 49, 0, 1712, 8363, 64},
      {AUDIO_MODULE_LINEAR, 1, -96, 7680, 535232 >> 10, 64},
      {AUDIO_MODULE_AMIGA, 1, -96, 27392, 14317456 / 27392, 64},
      {AUDIO_MODULE_LINEAR, 96, 30, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    AudioModule* module = BuildModule(2, {0}, 1, {{0, 0, 1, c.note, 1, 0, 0, 0}}, {}, c.flags);
    module->instruments[0].samples[0].relativeNote = c.relative;
    Play(module);
    RenderRows(2);
    ASSERT_GE(g_Seen.size(), 2u);
    EXPECT_EQ(g_Seen[1].track.period, c.period);
    EXPECT_EQ(g_Seen[1].voiceStatus, 0u);
    EXPECT_EQ(g_Seen[1].voiceVolume, c.volume);
    if (c.hertz) {
      // The voice runs at the step the mixer gives that frequency.
      u32 hertz = 0, want = 0;
      AGetVoiceFrequency(2, &hertz);
      ASetVoiceFrequency(8, c.hertz);
      AGetVoiceFrequency(8, &want);
      EXPECT_EQ(hertz, want);
    }
  }
}

// Key-off, envelopes, fadeout, tone portamento targets and notes without
// sample data, seen on channel 1 at the start of each row.
TEST_F(ModulePlayerTest, ChannelBehaviour) {
  // Without an envelope a key-off stops the voice at once.
  Play(BuildModule(2, {0}, 1, {{0, 0, 1, 49, 1, 0, 0, 0}, {0, 1, 1, kKeyOff, 0, 0, 0, 0}}));
  RenderRows(3);
  ASSERT_GE(g_Seen.size(), 3u);
  EXPECT_EQ(g_Seen[1].voiceStatus, 0u);
  EXPECT_EQ(g_Seen[2].voiceStatus, 1u);
  EXPECT_EQ(g_Seen[2].track.volume, 0u);

  // The envelope falls to 32 and holds at its sustain point while the key
  // is down ((32 x 64 x 32767) >> 21 = 31); after the key-off at row 3 the
  // fadeout takes 1024 a tick off 32767.
  InstrumentShape sustain;
  sustain.envelope = {{0, 64}, {4, 32}, {8, 0}};
  sustain.sustain = 1;
  sustain.fadeout = 1024;
  Play(BuildModule(2, {0}, 1, {{0, 0, 1, 49, 1, 0, 0, 0}, {0, 3, 1, kKeyOff, 0, 0, 0, 0}},
                   sustain));
  RenderRows(6);
  ASSERT_GE(g_Seen.size(), 6u);
  const u32 held[] = {31, 31, 31};
  for (int row = 1; row <= 3; ++row) EXPECT_EQ(g_Seen[row].track.volume, held[row - 1]) << row;
  // Released: the envelope falls on from 32 towards 0 over 4 ticks while
  // the fadeout runs; the voice keeps playing, silent.
  EXPECT_EQ(g_Seen[4].track.volume, 0u);
  EXPECT_EQ(g_Seen[4].voiceStatus, 0u);

  // Tone portamento: 3 slides towards its note at 16 x 4 a tick; 5 and the
  // volume column's F take their row's note as the new target.
  Play(BuildModule(2, {0}, 1,
                   {{0, 0, 1, 49, 1, 0, 0, 0},
                    {0, 1, 1, 61, 0, 0, 3, 0x10},
                    {0, 2, 1, 49, 0, 0, 5, 0},
                    {0, 3, 1, 61, 0, 0xF1, 0, 0},
                    {0, 4, 1, 0, 0, 0xF1, 0, 0}}));
  RenderRows(6);
  ASSERT_GE(g_Seen.size(), 6u);
  const u16 periods[] = {4608, 4608 - 5 * 64, 4608, 4608 - 5 * 64, 4608 - 10 * 64};
  for (int row = 1; row <= 5; ++row) EXPECT_EQ(g_Seen[row].track.period, periods[row - 1]) << row;

  // A sample without data, or only an instrument beyond the count, starts
  // no voice.
  InstrumentShape empty;
  empty.length = 0;
  const InstrumentShape shapes[] = {empty, {}};
  const u8 instruments[] = {1, 5};
  for (int i = 0; i < 2; ++i) {
    Play(BuildModule(2, {0}, 1, {{0, 0, 1, 49, instruments[i], 0, 0, 0}}, shapes[i]));
    RenderRows(2);
    ASSERT_GE(g_Seen.size(), 2u);
    EXPECT_EQ(g_Seen[1].voiceStatus, 1u) << i;
  }
}

TEST_F(ModulePlayerTest, PlayControls) {
  Play(BuildModule(2, {0}, 1, {{0, 0, 1, 49, 1, 0, 0, 0}}));
  RenderRows(2);
  u32 volume = 0, status = 9, order = 9, row = 9;
  AGetVoiceVolume(2, &volume);
  EXPECT_EQ(volume, 64u);
  ExpectCodes({{APlayModule(module_), AUDIO_ERROR_NOTSUPPORTED},
               {ASetModuleVolume(65), kBadParam},
               {AGetModuleTrack(32, nullptr), kBadParam},
               {AGetModuleStatus(nullptr), kBadParam},
               {APauseModule(), kOk}});
  AGetVoiceVolume(2, &volume);
  AGetModuleStatus(&status);
  EXPECT_EQ(volume, 0u);
  EXPECT_EQ(status, 1u);
  // Paused, the rows stand still and the module volume waits.
  const size_t rowsSeen = g_Seen.size();
  ASetModuleVolume(32);
  RenderRows(2);
  EXPECT_EQ(g_Seen.size(), rowsSeen);
  AGetVoiceVolume(2, &volume);
  EXPECT_EQ(volume, 0u);
  // Resumed, the next tick restores the volume, now at half.
  ASSERT_EQ(AResumeModule(), kOk);
  RenderSamples(1764 + 64);
  AGetVoiceVolume(2, &volume);
  EXPECT_EQ(volume, 32u);
  // A new position is taken at the next row.
  const size_t before = g_Seen.size();
  ASSERT_EQ(ASetModulePosition(0, 40), kOk);
  RenderRows(1);
  ASSERT_GT(g_Seen.size(), before);
  EXPECT_EQ(g_Seen[before].row, 40u);
  AGetModulePosition(&order, &row);
  EXPECT_EQ(order, 0u);
  EXPECT_GE(row, 40u);
  ASSERT_EQ(AStopModule(), kOk);
  ExpectCodes({{AStopModule(), AUDIO_ERROR_NOTSUPPORTED},
               {APauseModule(), AUDIO_ERROR_NOTSUPPORTED},
               {AGetModuleStatus(&status), AUDIO_ERROR_NOTSUPPORTED},
               {APlayModule(nullptr), kBadParam}});
  // The stopped player gave its voices back.
  u32 voice = 0;
  EXPECT_EQ(ACreateAudioVoice(&voice), kOk);
  EXPECT_EQ(voice, 1u);
  ADestroyAudioVoice(voice);
}

TEST_F(ModulePlayerTest, FailuresUndoThemselves) {
  // More channels than voices: "not enough memory", every voice freed.
  module_ = BuildModule(9, {0}, 1, {});
  EXPECT_EQ(APlayModule(module_), AUDIO_ERROR_NOMEMORY);
  u32 status = 0, voice = 0;
  EXPECT_EQ(AGetModuleStatus(&status), AUDIO_ERROR_NOTSUPPORTED);
  for (u32 v = 1; v <= 8; ++v) {
    EXPECT_EQ(ACreateAudioVoice(&voice), kOk);
    EXPECT_EQ(voice, v);
  }
  for (u32 v = 1; v <= 8; ++v) ADestroyAudioVoice(v);
  Stop();

  // No orders, or no channels: silence that ends at once.
  struct Case {
    u32 channels;
    std::vector<u8> orders;
  };
  const Case cases[] = {{2, {}}, {0, {0}}};
  for (const Case& c : cases) {
    module_ = BuildModule(c.channels, c.orders, 1, {});
    ASSERT_EQ(APlayModule(module_), kOk);
    RenderRows(2);
    AGetModuleStatus(&status);
    EXPECT_EQ(status, 1u);
    Stop();
  }
  // Pattern data shorter than its rows claim reads as empty cells, also
  // when a new position skips rows.
  module_ = BuildModule(2, {0}, 1, {});
  delete[] module_->patterns[0].data;
  module_->patterns[0].data = new u8[3]{0x83, 49, 1};
  module_->patterns[0].size = 3;
  ASSERT_EQ(APlayModule(module_), kOk);
  RenderRows(2);
  ASetModulePosition(0, 40);
  RenderRows(2);
  u32 order = 9, row = 0;
  AGetModulePosition(&order, &row);
  EXPECT_EQ(order, 0u);
  EXPECT_GE(row, 40u);
  Stop();
  // A tempo beyond the timer's range is clamped, not refused.
  AudioModule* slow = BuildModule(2, {0}, 1, {});
  slow->bpm = 20;
  Play(slow);
  RenderSamples(3 * 6 * 6890);
  ASSERT_GE(g_Seen.size(), 2u);
  EXPECT_NEAR(static_cast<double>(g_Seen[1].time - g_Seen[0].time), 6 * 6890, 64.0);
  EXPECT_EQ(ALoadModuleFile(nullptr, &module_, 0), kBadParam);
  EXPECT_EQ(AFreeModuleFile(nullptr), kBadParam);
}

}  // namespace
