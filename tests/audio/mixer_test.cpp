#include "audio/mixer.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/audio/audio_test_support.h"

using namespace audio_test;

namespace {

// Mono output at full volume: master 48, row 32, so a sample s comes out
// as (s * 32 * 48) >> 4 = 96 * s.
constexpr int kMonoScale = 96;

// The sample bytes a mono 16-bit rendering played, in order.
std::vector<int> PlayedBytes(const std::vector<int>& samples) {
  std::vector<int> bytes;
  for (int s : samples) bytes.push_back((s / kMonoScale) & 0xFF);
  return bytes;
}

using MixerTest = MixerFixture;

// One sample value held by one or two voices at full volume, as output:
// the volume table, the panning rows, 16-bit samples mixed by their high
// byte, the 8-bit conversion, and sums clipped rather than wrapped.
TEST_F(MixerTest, OutputLevels) {
  struct Case {
    u16 output;
    std::vector<u8> sample;  // repeated through the wave
    u16 waveFormat;
    u32 panning;
    int voices;
    std::vector<int> frame;
  };
  const Case cases[] = {
      {kStereo16, {127}, 0, 255, 1, {0, 24384}},
      {kStereo16, {127}, 0, 128, 1, {12192, 12192}},  // centre: half on each side
      // 175: r = (32 * 175) >> 8 = 21 rows right, 11 left.
      {kStereo16, {127}, 0, 175, 1, {(127 * 11 * 96) >> 4, (127 * 21 * 96) >> 4}},
      {kStereo16, {0x80}, 0, 0, 1, {-24576, 0}},
      {kMono16, {127}, 0, 255, 1, {12192}},  // mono halves the master
      {kStereo16, {0x12, 0x80}, AUDIO_WAVE_16BITS, 255, 1, {0, -24576}},  // 0x8012
      {kStereo16, {127}, 0, 255, 2, {0, 32767}},
      {kStereo16, {0x80}, 0, 0, 2, {-32768, 0}},
      // 8-bit output is the unsigned high byte: (12192 + 32768) >> 8.
      {AUDIO_FORMAT_STEREO, {127}, 0, 128, 1, {175, 175}},
      {AUDIO_FORMAT_STEREO, {127}, 0, 255, 2, {128, 255}},
      {AUDIO_FORMAT_STEREO, {0x80}, 0, 0, 2, {0, 128}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    ACloseAudio();
    Open(c.output);
    std::vector<u8> bytes;
    for (int i = 0; i < 100; ++i) bytes.insert(bytes.end(), c.sample.begin(), c.sample.end());
    WavePtr wave = MakeWave(bytes, c.waveFormat);
    for (int v = 0; v < c.voices; ++v) Play(wave.get(), c.panning);
    // Nine frames: whole blocks of eight output samples and a rest.
    std::vector<int> frames;
    for (int f = 0; f < 9; ++f) frames.insert(frames.end(), c.frame.begin(), c.frame.end());
    EXPECT_EQ(Render(9), frames);
  }
}

// A playing voice's level follows each change of its volume, its panning
// and the master volume, even when its volume rows stay the same.
TEST_F(MixerTest, LevelsFollowVolumePanningAndMasterChanges) {
  Open(kStereo16);
  WavePtr wave = MakeWave(Constant(4000, 127));
  const u32 voice = Play(wave.get(), 255);
  struct Change {
    u32 volume, panning, master;
    std::vector<int> frame;
  };
  const Change changes[] = {
      {64, 255, 96, {0, 24384}},
      {64, 255, 48, {0, 12192}},    // same rows, new table
      {64, 0, 48, {12192, 0}},      // the other side
      {32, 0, 48, {6096, 0}},       // row 16: (127 * 16 * 48) >> 4
      {32, 128, 96, {6096, 6096}},  // row 8 on each side
      {64, 255, 96, {0, 24384}},    // back to the first rows
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(&c - changes);
    ASetVoiceVolume(voice, c.volume);
    ASetVoicePanning(voice, c.panning);
    ASSERT_EQ(ASetAudioMixerValue(1, c.master), AUDIO_ERROR_NONE);
    std::vector<int> frames;
    for (int f = 0; f < 7; ++f) frames.insert(frames.end(), c.frame.begin(), c.frame.end());
    EXPECT_EQ(Render(7), frames);
  }
}

TEST_F(MixerTest, FrequencyStepsAreTwentyTwelveFixedPoint) {
  Open(kMono16);
  WavePtr wave = MakeWave(Ramp(200));
  // 22050 Hz: step 2048, half a sample per frame.
  const u32 voice = Play(wave.get(), 128, 22050);
  EXPECT_EQ(PlayedBytes(Render(8)), (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3}));
  u32 position = 0;
  AGetVoicePosition(voice, &position);
  EXPECT_EQ(position, 4u);
  // 8363 Hz gives step 777 (rounded): sample floor(777 * n / 4096) at frame n.
  ASetVoicePosition(voice, 0);
  ASetVoiceFrequency(voice, 8363);
  const std::vector<int> played = PlayedBytes(Render(64));
  for (int n = 0; n < 64; ++n) EXPECT_EQ(played[n], 777 * n / 4096) << n;
  // A silent voice is not mixed but moves on all the same.
  ASetVoiceFrequency(voice, 44100);
  ASetVoiceVolume(voice, 0);
  EXPECT_EQ(Render(3), (std::vector<int>{0, 0, 0}));
  ASetVoiceVolume(voice, 64);
  EXPECT_EQ(PlayedBytes(Render(2)), (std::vector<int>{(777 * 64 / 4096) + 3, (777 * 64 / 4096) + 4}));
}

// Ramp samples show which sample each frame plays; the status after 32
// more frames tells whether the voice stopped.
TEST_F(MixerTest, OneShotsAndLoops) {
  constexpr u16 kLoop = AUDIO_WAVE_LOOP;
  constexpr u16 kBidi = AUDIO_WAVE_LOOP | AUDIO_WAVE_BIDILOOP;
  struct Case {
    u32 length;
    u16 format;
    u32 loopStart, loopEnd, hertz, from;
    std::vector<int> played;
    u32 stopped;
  };
  // Ten samples, the silenced guard sample, then nothing.
  const std::vector<int> once = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0};
  const Case cases[] = {
      {10, 0, 0, 0, 44100, 0, once, 1},
      // Loops are used only when start < end <= length.
      {10, kLoop, 2, 11, 44100, 0, once, 1},
      {10, kLoop, 6, 6, 44100, 0, once, 1},
      // Position 6 plays the loop's start, copied behind its end; 7 lies 1
      // past the end and wraps to 3.
      {8, kLoop, 2, 6, 44100, 0, {0, 1, 2, 3, 4, 5, 2, 3, 4, 5, 2, 3, 4, 5, 2}, 0},
      // 1.5 samples a frame: 2000.5 wraps to 1000.5, the half kept.
      {3000, kLoop, 1000, 2000, 66150, 1999, {1999 & 0xFF, 1000 & 0xFF, 1002 & 0xFF}, 0},
      // 1.25 a frame: 6.25 passes the end by 0.25 and turns to 5.75; 0.75
      // passes the start by 1.25 and turns to 3.25.
      {10, kBidi, 2, 6, 55125, 0, {0, 1, 2, 3, 5, 5, 4, 3, 2, 3, 4, 5, 5, 3, 2, 2, 4, 5, 5}, 0},
  };
  Open(kMono16);
  for (const Case& c : cases) {
    SCOPED_TRACE(&c - cases);
    WavePtr wave = MakeWave(Ramp(c.length), c.format, c.loopStart, c.loopEnd);
    const u32 voice = Play(wave.get(), 128, c.hertz);
    ASSERT_EQ(ASetVoicePosition(voice, c.from), AUDIO_ERROR_NONE);
    EXPECT_EQ(PlayedBytes(Render(static_cast<u32>(c.played.size()))), c.played);
    Render(32);
    EXPECT_EQ(Status(voice), c.stopped);
    AStopVoice(voice);
    ADestroyAudioVoice(voice);
  }
}

// A voice never plays without data, nor from outside its sample.
TEST_F(MixerTest, VoiceParametersAreChecked) {
  Open(kMono16);
  u32 voice = 0;
  ACreateAudioVoice(&voice);
  AudioWave noData;
  WavePtr wave = MakeWave(Constant(10, 1));
  ExpectCodes({
      {AStartVoice(voice), kBadHandle},  // never primed
      {APrimeVoice(voice, &noData), kBadHandle}, {AStartVoice(5), kBadHandle},
      {APrimeVoice(voice, wave.get()), kOk},
      {ASetVoicePosition(voice, 9), kOk}, {ASetVoicePosition(voice, 10), kBadParam},
      {ASetVoicePosition(voice, 0x100000), kBadParam},  // 2^32 in 20.12
      {ASetVoiceFrequency(voice, 511), kBadParam}, {ASetVoiceFrequency(voice, 524289), kBadParam},
      {ASetVoiceVolume(voice, 65), kBadParam}, {ASetVoicePanning(voice, 256), kBadParam},
      {AOpenVoices(33), kBadParam},
  });
}

// Steps far beyond the 4 guard bytes and samples beyond the 20.12 range:
// under the sanitizers any read outside the data or overflowing position
// would fail here.
TEST_F(MixerTest, FastAndLongVoicesStayInsideTheirData) {
  Open(kMono16, 1);  // clamped to the lowest rate, the largest steps
  WavePtr shortWave = MakeWave(Constant(10, 30));
  const u32 fast = Play(shortWave.get(), 128, 524288);
  EXPECT_EQ(Render(4), (std::vector<int>{30 * kMonoScale, 0, 0, 0}));
  EXPECT_EQ(Status(fast), 1u);

  WavePtr longWave = MakeWave(Constant(kMixerMaxSamples + 4096, 30));
  const u32 voice = Play(longWave.get(), 128, 524288);
  EXPECT_EQ(ASetVoicePosition(voice, kMixerMaxSamples - 1), AUDIO_ERROR_NONE);
  EXPECT_EQ(ASetVoicePosition(voice, kMixerMaxSamples), AUDIO_ERROR_INVALPARAM);
  Render(4);
  EXPECT_EQ(Status(voice), 1u);
}

TEST_F(MixerTest, FilteredMixingSmoothsSlowVoices) {
  Open(kMono16 | AUDIO_FORMAT_FILTER);
  WavePtr wave = MakeWave(Constant(100, 127));
  const u32 voice = Play(wave.get(), 128, 22050);
  // k = 2048 >> 7 = 16, F[16][s] = s / 2 rounded down: y runs 63, 95,
  // 111, 119, 123 towards the sample.
  EXPECT_EQ(Render(5), (std::vector<int>{63 * 96, 95 * 96, 111 * 96, 119 * 96, 123 * 96}));
  // A voice at one sample a frame or faster bypasses the filter.
  ASetVoiceFrequency(voice, 44100);
  EXPECT_EQ(Render(2), (std::vector<int>{127 * 96, 127 * 96}));
}

int g_Ticks = 0;
void CountTick() { ++g_Ticks; }

TEST_F(MixerTest, TickTimerRunsAtTheTempo) {
  Open(kStereo16);
  g_Ticks = 0;
  ASetAudioTimerProc(CountTick);
  // 125 bpm: a tick every 1764 samples (20 ms); a second holds 50.
  ASSERT_EQ(ASetAudioTimerRate(125), kOk);
  for (int i = 0; i < 50; ++i) AUpdateAudioEx(882);
  EXPECT_EQ(g_Ticks, 50);
  ExpectCodes({{ASetAudioTimerRate(31), kBadParam}, {ASetAudioTimerRate(256), kBadParam}});
  // A counter left past a shorter new period ticks once a piece of 64
  // samples until it has caught up; the fill never stalls on it.
  ASetAudioTimerRate(32);
  for (const int ticks = g_Ticks; g_Ticks == ticks;) AUpdateAudioEx(32);
  AUpdateAudioEx(1500);  // 3000 samples on: past a period of 864
  const int ticks = g_Ticks;
  ASetAudioTimerRate(255);
  AUpdateAudioEx(32);
  EXPECT_EQ(g_Ticks, ticks + 1);
  AUpdateAudioEx(64);
  EXPECT_EQ(g_Ticks, ticks + 3);
  g_Ticks = 50;
  ASetAudioTimerProc(nullptr);
  AUpdateAudioEx(882);
  EXPECT_EQ(g_Ticks, 50);

  // A tiny rate is clamped, so even the fastest tempo has a period, and a
  // tick procedure set before any tempo runs at the default one.
  ACloseAudio();
  Open(kMono16, 1);
  ASetAudioTimerProc(CountTick);
  AUpdateAudioEx(1000);
  EXPECT_GT(g_Ticks, 50);
  ASetAudioTimerRate(255);
  AUpdateAudioEx(1000);
  EXPECT_GT(g_Ticks, 60);
}

}  // namespace
