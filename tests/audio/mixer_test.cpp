#include "audio/mixer.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/audio/audio_test_support.h"

using namespace audio_test;

namespace {

constexpr u16 kStereo16 = AUDIO_FORMAT_16BITS | AUDIO_FORMAT_STEREO;
constexpr u16 kMono16 = AUDIO_FORMAT_16BITS;
// Mono output at full volume: master 48, row 32, so a sample s comes out
// as (s * 32 * 48) >> 4 = 96 * s.
constexpr int kMonoScale = 96;

// The sample bytes a mono 16-bit rendering played, in order.
std::vector<int> PlayedBytes(const std::vector<i16>& samples) {
  std::vector<int> bytes;
  for (i16 s : samples) bytes.push_back((s / kMonoScale) & 0xFF);
  return bytes;
}

using MixerTest = MixerFixture;

TEST_F(MixerTest, FullVolumeSampleByPanning) {
  Open(kStereo16);
  WavePtr high = MakeWave(Constant(100, 127));
  WavePtr low = MakeWave(Constant(100, -128));
  const u32 right = Play(high.get(), 255);
  std::vector<i16> out = Render(8);
  ASSERT_EQ(out.size(), 16u);
  for (size_t i = 0; i < out.size(); i += 2) {
    EXPECT_EQ(out[i], 0);
    EXPECT_EQ(out[i + 1], 24384);
  }
  ASetVoicePanning(right, 128);
  out = Render(4);
  for (i16 s : out) EXPECT_EQ(s, 12192);
  // 175: r = (32 * 175) >> 8 = 21 rows right, 11 left.
  ASetVoicePanning(right, 175);
  out = Render(1);
  EXPECT_EQ(out[0], (127 * 11 * 96) >> 4);
  EXPECT_EQ(out[1], (127 * 21 * 96) >> 4);
  AStopVoice(right);
  Play(low.get(), 0);
  out = Render(1);
  EXPECT_EQ(out[0], -24576);
  EXPECT_EQ(out[1], 0);
}

TEST_F(MixerTest, MonoHalvesTheMaster) {
  Open(kMono16);
  WavePtr wave = MakeWave(Constant(100, 127));
  Play(wave.get(), 255);
  for (i16 s : Render(8)) EXPECT_EQ(s, 12192);
}

TEST_F(MixerTest, SixteenBitSamplesMixByTheirHighByte) {
  Open(kStereo16);
  // 0x7F00, 0x00FF, 0x8012 little-endian.
  WavePtr wave = MakeWave({0x00, 0x7F, 0xFF, 0x00, 0x12, 0x80}, AUDIO_WAVE_16BITS);
  Play(wave.get(), 255);
  const std::vector<i16> out = Render(3);
  EXPECT_EQ(out[1], 24384);
  EXPECT_EQ(out[3], 0);
  EXPECT_EQ(out[5], -24576);
}

TEST_F(MixerTest, FrequencyStepsAreTwentyTwelveFixedPoint) {
  Open(kMono16);
  WavePtr wave = MakeWave(Ramp(200));
  const u32 voice = Play(wave.get(), 128, 22050);
  u32 hertz = 0;
  AGetVoiceFrequency(voice, &hertz);
  EXPECT_EQ(hertz, 22050u);  // step 2048: half a sample per frame
  EXPECT_EQ(PlayedBytes(Render(8)), (std::vector<int>{0, 0, 1, 1, 2, 2, 3, 3}));

  // 8363 Hz gives step 777: sample floor(777 * n / 4096) at frame n.
  ASetVoicePosition(voice, 0);
  ASetVoiceFrequency(voice, 8363);
  const std::vector<int> played = PlayedBytes(Render(64));
  for (int n = 0; n < 64; ++n) EXPECT_EQ(played[n], 777 * n / 4096) << n;
  EXPECT_EQ(ASetVoiceFrequency(voice, 511), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetVoiceFrequency(voice, 524289), AUDIO_ERROR_INVALPARAM);
}

TEST_F(MixerTest, SumsAreClippedNotWrapped) {
  Open(kStereo16);
  WavePtr high = MakeWave(Constant(100, 127));
  WavePtr low = MakeWave(Constant(100, -128));
  Play(high.get(), 255);
  Play(high.get(), 255);
  Play(low.get(), 0);
  Play(low.get(), 0);
  const std::vector<i16> out = Render(2);
  EXPECT_EQ(out[0], -32768);
  EXPECT_EQ(out[1], 32767);
}

TEST_F(MixerTest, EightBitOutputIsUnsignedHighByte) {
  Open(AUDIO_FORMAT_STEREO);
  WavePtr high = MakeWave(Constant(100, 127));
  const u32 a = Play(high.get(), 128);
  MemoryDevice::Clear();
  AUpdateAudioEx(2);
  // 12192 + 32768 = 44960, high byte 175.
  EXPECT_EQ(MemoryDevice::Bytes(), (std::vector<u8>{175, 175, 175, 175}));
  ASetVoicePanning(a, 255);
  Play(high.get(), 255);
  MemoryDevice::Clear();
  AUpdateAudioEx(1);
  EXPECT_EQ(MemoryDevice::Bytes(), (std::vector<u8>{128, 255}));
}

TEST_F(MixerTest, OneShotVoiceStopsAfterItsLength) {
  Open(kMono16);
  WavePtr wave = MakeWave(Constant(10, 50));
  const u32 voice = Play(wave.get());
  u32 status = 0;
  AGetVoiceStatus(voice, &status);
  EXPECT_EQ(status, 0u);
  const std::vector<i16> out = Render(16);
  // Ten samples, then the zeroed guard sample, then silence.
  for (int i = 0; i < 10; ++i) EXPECT_EQ(out[i], 50 * kMonoScale) << i;
  for (int i = 10; i < 16; ++i) EXPECT_EQ(out[i], 0) << i;
  AGetVoiceStatus(voice, &status);
  EXPECT_EQ(status, 1u);
}

TEST_F(MixerTest, ForwardLoopWrapsByItsOvershoot) {
  Open(kMono16);
  WavePtr wave = MakeWave(Ramp(8), AUDIO_WAVE_LOOP, 2, 6);
  const u32 shortLoop = Play(wave.get());
  // The loop's first bytes were copied behind its end, so position 6
  // plays sample 2; position 7 lies 1 past the end and wraps to 3.
  EXPECT_EQ(PlayedBytes(Render(15)),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 2, 3, 4, 5, 2, 3, 4, 5, 2}));
  AStopVoice(shortLoop);

  // Loop 1000..2000 at 1.5 samples a frame: 2000.5 wraps to 1000.5.
  WavePtr longWave = MakeWave(Ramp(3000), AUDIO_WAVE_LOOP, 1000, 2000);
  const u32 voice = Play(longWave.get(), 128, 66150);
  ASetVoicePosition(voice, 1999);
  EXPECT_EQ(PlayedBytes(Render(3)),
            (std::vector<int>{1999 & 0xFF, 1000 & 0xFF, 1002 & 0xFF}));
  u32 position = 0;
  AGetVoicePosition(voice, &position);
  EXPECT_EQ(position, 1003u);  // 1003.5
}

TEST_F(MixerTest, BidirectionalLoopReflectsAtBothEnds) {
  Open(kMono16);
  WavePtr wave = MakeWave(Ramp(10), AUDIO_WAVE_LOOP | AUDIO_WAVE_BIDILOOP, 2, 6);
  // 1.25 samples a frame: 6.25 passes the end by 0.25 and turns to 5.75;
  // 0.75 passes the start by 1.25 and turns to 3.25.
  Play(wave.get(), 128, 55125);
  EXPECT_EQ(PlayedBytes(Render(19)), (std::vector<int>{0, 1, 2, 3, 5, 5, 4, 3, 2, 3, 4, 5, 5, 3,
                                                        2, 2, 4, 5, 5}));
}

TEST_F(MixerTest, LoopOutsideTheSampleIsNotUsed) {
  Open(kMono16);
  WavePtr beyond = MakeWave(Constant(10, 20), AUDIO_WAVE_LOOP, 2, 11);
  WavePtr empty = MakeWave(Constant(10, 20), AUDIO_WAVE_LOOP, 6, 6);
  const u32 a = Play(beyond.get());
  const u32 b = Play(empty.get());
  Render(32);
  u32 status = 0;
  AGetVoiceStatus(a, &status);
  EXPECT_EQ(status, 1u);
  AGetVoiceStatus(b, &status);
  EXPECT_EQ(status, 1u);
}

TEST_F(MixerTest, VoiceParametersAreChecked) {
  Open(kMono16);
  u32 voice = 0;
  ACreateAudioVoice(&voice);
  // Never primed: no data to play.
  EXPECT_EQ(AStartVoice(voice), AUDIO_ERROR_INVALHANDLE);
  EXPECT_EQ(AStartVoice(5), AUDIO_ERROR_INVALHANDLE);
  EXPECT_EQ(ASetVoiceVolume(voice, 65), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetVoicePanning(voice, 256), AUDIO_ERROR_INVALPARAM);
  AudioWave noData;
  EXPECT_EQ(APrimeVoice(voice, &noData), AUDIO_ERROR_INVALHANDLE);
  WavePtr wave = MakeWave(Constant(10, 1));
  ASSERT_EQ(APrimeVoice(voice, wave.get()), AUDIO_ERROR_NONE);
  EXPECT_EQ(ASetVoicePosition(voice, 9), AUDIO_ERROR_NONE);
  EXPECT_EQ(ASetVoicePosition(voice, 10), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetVoicePosition(voice, 0x80000), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetVoicePosition(voice, 0x100000), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetVoiceVolume(voice, 33), AUDIO_ERROR_NONE);
  u32 volume = 0;
  AGetVoiceVolume(voice, &volume);
  EXPECT_EQ(volume, 32u);
  EXPECT_EQ(AOpenVoices(33), AUDIO_ERROR_INVALPARAM);
}

// Steps far beyond the 4 guard bytes and samples beyond the 20.12 range:
// under the sanitizers any read outside the data or overflowing position
// would fail here.
TEST_F(MixerTest, FastAndLongVoicesStayInsideTheirData) {
  Open(kMono16, 1);  // clamped to the lowest rate, the largest steps
  WavePtr shortWave = MakeWave(Constant(10, 30));
  const u32 fast = Play(shortWave.get(), 128, 524288);
  const std::vector<i16> out = Render(4);
  EXPECT_EQ(out[0], 30 * kMonoScale);
  EXPECT_EQ(out[1], 0);
  u32 status = 0;
  AGetVoiceStatus(fast, &status);
  EXPECT_EQ(status, 1u);

  WavePtr longWave = MakeWave(Constant(kMixerMaxSamples + 4096, 30));
  const u32 voice = Play(longWave.get(), 128, 524288);
  EXPECT_EQ(ASetVoicePosition(voice, kMixerMaxSamples - 1), AUDIO_ERROR_NONE);
  EXPECT_EQ(ASetVoicePosition(voice, kMixerMaxSamples), AUDIO_ERROR_INVALPARAM);
  Render(4);
  AGetVoiceStatus(voice, &status);
  EXPECT_EQ(status, 1u);
}

TEST_F(MixerTest, FilteredMixingSmoothsSlowVoices) {
  Open(kMono16 | AUDIO_FORMAT_FILTER);
  WavePtr wave = MakeWave(Constant(100, 127));
  const u32 voice = Play(wave.get(), 128, 22050);
  // k = 2048 >> 7 = 16, F[16][s] = s / 2 rounded down: y runs 63, 95,
  // 111, 119, 123 towards the sample.
  std::vector<i16> out = Render(5);
  EXPECT_EQ(out, (std::vector<i16>{63 * 96, 95 * 96, 111 * 96, 119 * 96, 123 * 96}));
  // A voice at one sample a frame or faster bypasses the filter.
  ASetVoiceFrequency(voice, 44100);
  out = Render(2);
  EXPECT_EQ(out, (std::vector<i16>{127 * 96, 127 * 96}));
}

int g_Ticks = 0;
void CountTick() { ++g_Ticks; }

TEST_F(MixerTest, TickTimerRunsAtTheTempo) {
  Open(kStereo16);
  g_Ticks = 0;
  ASetAudioTimerProc(CountTick);
  // 125 bpm: a tick every 1764 samples (20 ms); a second holds 50.
  ASSERT_EQ(ASetAudioTimerRate(125), AUDIO_ERROR_NONE);
  for (int i = 0; i < 50; ++i) AUpdateAudioEx(882);
  EXPECT_EQ(g_Ticks, 50);
  EXPECT_EQ(ASetAudioTimerRate(31), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetAudioTimerRate(256), AUDIO_ERROR_INVALPARAM);
  ASetAudioTimerProc(nullptr);
  g_Ticks = 0;
  AUpdateAudioEx(882);
  EXPECT_EQ(g_Ticks, 0);
}

TEST_F(MixerTest, TickPeriodNeverZero) {
  // A tiny rate is clamped, so even the fastest tempo has a period and a
  // tick procedure set before any tempo runs at the default one.
  Open(AUDIO_FORMAT_16BITS, 1);
  g_Ticks = 0;
  ASetAudioTimerProc(CountTick);
  AUpdateAudioEx(1000);
  EXPECT_GT(g_Ticks, 0);
  ASetAudioTimerRate(255);
  AUpdateAudioEx(1000);
  EXPECT_GT(g_Ticks, 10);
}

}  // namespace
