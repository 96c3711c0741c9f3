// The sound measures the end-to-end tests judge recordings by: wave files,
// onsets, level, band spectrum, rate conversion and alignment.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "tests/support/wav_analysis.h"

using namespace testing_support;

namespace {

void AppendSine(Signal& s, double hz, size_t count, double amplitude) {
  for (size_t i = 0; i < count; ++i) {
    s.samples.push_back(amplitude * std::sin(2 * M_PI * hz * i / s.rate));
  }
}

void AppendSilence(Signal& s, size_t count) { s.samples.insert(s.samples.end(), count, 0.0); }

Signal Sine(int rate, double hz, size_t count, double amplitude) {
  Signal s;
  s.rate = rate;
  AppendSine(s, hz, count, amplitude);
  return s;
}

void PutChunk(std::vector<std::uint8_t>& out, const char* id,
              const std::vector<std::uint8_t>& body) {
  out.insert(out.end(), id, id + 4);
  const std::uint32_t size = static_cast<std::uint32_t>(body.size());
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(size >> (8 * i)));
  out.insert(out.end(), body.begin(), body.end());
}

// A RIFF WAVE image with a format chunk of the given bits per sample.
std::vector<std::uint8_t> Wave(int bits, const std::vector<std::uint8_t>& data,
                               const std::vector<std::uint8_t>& before = {}) {
  std::vector<std::uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  out.insert(out.end(), before.begin(), before.end());
  // PCM, mono, 22050 Hz.
  PutChunk(out, "fmt ", {1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0,
                         static_cast<std::uint8_t>(bits), 0});
  PutChunk(out, "data", data);
  return out;
}

}  // namespace

TEST(WavAnalysis, WaveFilesRoundTripAndBrokenOnesAreRefused) {
  PcmSound sound;
  sound.rate = 44100;
  sound.channels = 2;
  sound.samples = {0, -1, 32767, -32768, 1234, -4321};
  PcmSound back;
  ASSERT_TRUE(ParseWav(EncodeWav(sound), back));
  EXPECT_EQ(back.rate, 44100);
  EXPECT_EQ(back.channels, 2);
  EXPECT_EQ(back.samples, sound.samples);
  EXPECT_EQ(back.Frames(), 3u);

  // An odd-sized chunk before the format is skipped with its pad byte.
  std::vector<std::uint8_t> list;
  PutChunk(list, "LIST", {'a', 'b', 'c'});
  list.push_back(0);
  ASSERT_TRUE(ParseWav(Wave(16, {1, 0, 2, 0}, list), back));
  EXPECT_EQ(back.rate, 22050);
  EXPECT_EQ(back.samples, (std::vector<std::int16_t>{1, 2}));

  // A data chunk that claims more than is there keeps the whole frames.
  std::vector<std::uint8_t> cut = Wave(16, {1, 0, 2, 0, 3});
  cut[cut.size() - 9] = 200;
  ASSERT_TRUE(ParseWav(cut, back));
  EXPECT_EQ(back.samples.size(), 2u);

  std::string error;
  EXPECT_FALSE(ParseWav(Wave(8, {1, 2}), back, &error));
  EXPECT_EQ(error, "not 16-bit");
  EXPECT_FALSE(ParseWav({'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, back, &error));
  EXPECT_EQ(error, "not a RIFF WAVE file");
  std::vector<std::uint8_t> dataFirst = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
  PutChunk(dataFirst, "data", {0, 0});
  EXPECT_FALSE(ParseWav(dataFirst, back, &error));
  EXPECT_EQ(error, "data before format");
}

TEST(WavAnalysis, OnsetsFollowQuietStretchesOnly) {
  Signal s;
  s.rate = 44100;
  AppendSilence(s, 1000);
  AppendSine(s, 441, 500, 0.5);  // starts at phase 0: its first sample is silent
  AppendSilence(s, 1000);        // 22.7 ms: long enough to count as quiet
  AppendSine(s, 441, 500, 0.5);
  AppendSilence(s, 300);         // 6.8 ms: the same sound going on
  AppendSine(s, 441, 500, 0.5);
  // 441 Hz at 44100 Hz: 0.5 sin(2 pi n / 100) first reaches 0.01 at n = 1.
  const std::vector<size_t> onsets = FindOnsets(s);
  EXPECT_EQ(onsets, (std::vector<size_t>{1001, 2501}));
  EXPECT_FALSE(IsSilent(s));
  EXPECT_TRUE(IsSilent(s.Slice(0, 1001)));
  Signal hiss = Sine(44100, 3000, 4410, 0.005);
  EXPECT_TRUE(FindOnsets(hiss).empty());
}

TEST(WavAnalysis, LevelAndBandsOfPureTones) {
  const Signal low = Sine(44100, 660, 44100, 0.5);
  const Signal high = Sine(44100, 1320, 44100, 0.5);
  EXPECT_NEAR(RmsDb(low), -9.03, 0.01);  // 0.5 / sqrt(2)
  EXPECT_TRUE(std::isinf(RmsDb(Signal{44100, std::vector<double>(10, 0.0)})));
  const std::vector<double> lowBands = BandEnergies(low, DefaultBandEdges());
  ASSERT_EQ(lowBands.size(), 8u);
  EXPECT_GT(lowBands[3], 0.99);  // 500 to 1000 Hz
  const std::vector<double> highBands = BandEnergies(high, DefaultBandEdges());
  EXPECT_GT(highBands[4], 0.99);  // 1000 to 2000 Hz
  EXPECT_GT(BandDistance(lowBands, highBands), 0.98);
  EXPECT_NEAR(BandDistance(lowBands, lowBands), 0, 1e-12);
  // Shorter than one FFT window: padded, still in its band.
  EXPECT_GT(BandEnergies(low.Slice(0, 1000), DefaultBandEdges())[3], 0.9);
}

TEST(WavAnalysis, EffectRateAndRecordingRateCompare) {
  Signal effect;
  effect.rate = 22050;
  AppendSilence(effect, 2205);
  AppendSine(effect, 660, 4410, 0.5);
  const Signal up = Resample(effect, 44100);
  EXPECT_EQ(up.samples.size(), 2 * effect.samples.size());
  EXPECT_NEAR(up.DurationMs(), effect.DurationMs(), 0.1);
  ASSERT_EQ(FindOnsets(effect).size(), 1u);
  ASSERT_EQ(FindOnsets(up).size(), 1u);
  EXPECT_NEAR(static_cast<double>(FindOnsets(up)[0]), 2.0 * FindOnsets(effect)[0], 2);
  EXPECT_NEAR(RmsDb(up), RmsDb(effect), 0.1);
  EXPECT_LT(BandDistance(BandEnergies(up, DefaultBandEdges()),
                         BandEnergies(effect, DefaultBandEdges())),
            0.01);
  const PcmSound stereo = ToPcm(up, 2);
  EXPECT_EQ(stereo.Frames(), up.samples.size());
  EXPECT_NEAR(RmsDb(ToMono(stereo)), RmsDb(up), 0.01);
}

TEST(WavAnalysis, AlignFindsWhereAPartSits) {
  Signal whole;
  whole.rate = 44100;
  AppendSilence(whole, 1234);
  AppendSine(whole, 660, 2000, 0.3);
  AppendSine(whole, 990, 2000, 0.3);
  AppendSilence(whole, 500);
  const Signal part = whole.Slice(1234, 4000);
  const Alignment fit = Align(whole, part, 1200, 100);
  EXPECT_EQ(fit.offset, 1234u);
  EXPECT_NEAR(fit.correlation, 1.0, 1e-9);
  // A different wave lines up poorly wherever it is put.
  EXPECT_LT(Align(whole, Sine(44100, 3000, 4000, 0.3), 1200, 100).correlation, 0.2);
}
