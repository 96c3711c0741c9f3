#include "audio/wave_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/audio/audio_test_support.h"
#include "tests/audio/wave_builder.h"
#include "tests/support/process.h"

using namespace audio_test;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

// Waves load with the mixer open, as the sound manager loads them.
class WaveFileTest : public MixerFixture {
 protected:
  void SetUp() override {
    MixerFixture::SetUp();
    Open(kStereo16);
  }

  // Writes bytes to a file and loads it; the wave is kept in wave_.
  u32 Load(const Bytes& bytes, u32 offset = 0) {
    const std::string path = dir_ / "test.wav";
    EXPECT_TRUE(WriteFile(path, bytes));
    AudioWave* wave = nullptr;
    const u32 code = ALoadWaveFile(path.c_str(), &wave, offset);
    wave_.reset(wave);
    if (code != AUDIO_ERROR_NONE) {
      EXPECT_EQ(wave, nullptr);
    }
    return code;
  }

  Bytes Data() const { return Bytes(wave_->data, wave_->data + wave_->length); }

  TempDir dir_;
  WavePtr wave_;
};

TEST_F(WaveFileTest, EightAndSixteenBitSamples) {
  // Odd 8-bit data: the pad byte comes in as one more sample, and the
  // unsigned samples become signed.
  Bytes data(1001, 0x80), expected(1002, 0x00);
  data[0] = 0xFF, data[1] = 0x00, data[1000] = 0x81;
  expected[0] = 0x7F, expected[1] = 0x80, expected[1000] = 0x01, expected[1001] = 0x80;
  ASSERT_EQ(Load(PcmWave(1, 11025, 8, data)), kOk);
  EXPECT_EQ(wave_->rate, 11025);
  EXPECT_EQ(wave_->format, 0);
  EXPECT_EQ(Data(), expected);
  // The mixer has made the guard bytes silent.
  EXPECT_EQ(Bytes(wave_->data + 1002, wave_->data + 1006), Bytes(4, 0));
  // 16-bit samples come in unchanged.
  data = {0x01, 0x80, 0xFF, 0x7F, 0x34, 0x12, 0x00, 0x00};
  ASSERT_EQ(Load(PcmWave(2, 44100, 16, data)), kOk);
  EXPECT_EQ(wave_->format, AUDIO_WAVE_16BITS | AUDIO_WAVE_STEREO);
  EXPECT_EQ(wave_->rate, 44100);
  EXPECT_EQ(Data(), data);
}

TEST_F(WaveFileTest, ChunksBeforeAndAroundTheFormat) {
  const Bytes data = {1, 2, 3, 4};
  const Bytes file = Riff({Chunk("LIST", Bytes(7, 'x')), Chunk("fmt ", FmtBody(1, 1, 8000, 8, 2)),
                           Chunk("fact", Bytes(4, 0)), Chunk("data", data)});
  ASSERT_EQ(Load(file), kOk);
  EXPECT_EQ(wave_->rate, 8000);
  EXPECT_EQ(Data(), (Bytes{0x81, 0x82, 0x83, 0x84}));
  // A RIFF length of 0 wraps the count of what is left: the walk goes on
  // to the data.
  Bytes zeroLength = PcmWave(1, 8000, 8, data);
  zeroLength[4] = 0;
  ASSERT_EQ(Load(zeroLength), kOk);
  EXPECT_EQ(wave_->length, 4u);
  // A RIFF image 1000 bytes into a larger file.
  Bytes embedded(1000, 0xEE);
  const Bytes wave = PcmWave(1, 8000, 8, data);
  embedded.insert(embedded.end(), wave.begin(), wave.end());
  ASSERT_EQ(Load(embedded, 1000), kOk);
  EXPECT_EQ(wave_->length, 4u);
}

// Sizes read from a header are bounded by what the file holds.
TEST_F(WaveFileTest, DataIsCutToTheFile) {
  const Bytes fmt = Chunk("fmt ", FmtBody(1, 1, 8000, 8));
  // A data chunk claiming 4 GB holds what the file holds.
  ASSERT_EQ(Load(Riff({fmt, Chunk("data", Bytes{0x90, 0x70}, true, 0xFFFFFFFF)})), kOk);
  EXPECT_EQ(Data(), (Bytes{0x10, 0xF0}));
  // Odd data at the very end of the file: no pad byte to take in.
  ASSERT_EQ(Load(Riff({fmt, Chunk("data", Bytes{0x80, 0x80, 0x80}, false)})), kOk);
  EXPECT_EQ(wave_->length, 3u);
}

// What is not a PCM wave, or whose header lies, is refused; none of these
// may crash or loop.
TEST_F(WaveFileTest, RefusesMalformedFiles) {
  const Bytes data = {1, 2};
  const Bytes fmt = Chunk("fmt ", FmtBody(1, 1, 8000, 8));
  Bytes notWave = PcmWave(1, 8000, 8, data);
  notWave[8] = 'X';
  const Bytes files[] = {
      Riff({Chunk("fmt ", FmtBody(3, 1, 8000, 32)), Chunk("data", data)}),  // float
      Riff({Chunk("fmt ", FmtBody(2, 1, 8000, 4)), Chunk("data", data)}),   // ADPCM
      Riff({Chunk("data", data)}),                                          // no "fmt "
      Riff({fmt}),                                                          // no "data"
      notWave,
      Riff({fmt, Chunk("data", data)}, 4),  // no room for chunks
      Bytes{'R', 'I', 'F'},
      Bytes{},
      // A chunk that claims to run past the end ends the walk.
      Riff({fmt, Chunk("LIST", Bytes(8, 0), true, 0xFFFFFFF0), Chunk("data", {1})}),
      Riff({Chunk("fmt ", Bytes(4, 1)), Chunk("data", data)}),  // "fmt " too short
      // Thousands of empty chunks with a wrapped count still end at the end.
      Riff(std::vector<Bytes>(5000, Chunk("junk", {})), 0),
  };
  for (const Bytes& file : files) EXPECT_EQ(Load(file), AUDIO_ERROR_BADFILEFORMAT) << &file - files;
  EXPECT_EQ(Load(PcmWave(1, 8000, 8, data), 0xFFFFFFFF), AUDIO_ERROR_BADFILEFORMAT);
  // No file, or nowhere to put the wave.
  AudioWave* wave = reinterpret_cast<AudioWave*>(1);
  EXPECT_EQ(ALoadWaveFile((dir_ / "none.wav").c_str(), &wave, 0), AUDIO_ERROR_FILENOTFOUND);
  EXPECT_EQ(wave, nullptr);
  EXPECT_EQ(ALoadWaveFile(nullptr, &wave, 0), AUDIO_ERROR_FILENOTFOUND);
  EXPECT_EQ(ALoadWaveFile((dir_ / "test.wav").c_str(), nullptr, 0), kBadParam);
}

}  // namespace
