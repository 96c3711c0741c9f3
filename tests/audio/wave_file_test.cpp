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
    Open(AUDIO_FORMAT_16BITS | AUDIO_FORMAT_STEREO);
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

  std::vector<u8> Data() const { return Bytes(wave_->data, wave_->data + wave_->length); }

  TempDir dir_;
  WavePtr wave_;
};

TEST_F(WaveFileTest, EightBitMonoWithOddLength) {
  Bytes data(1001, 0x80);
  data[0] = 0xFF;
  data[1] = 0x00;
  data[1000] = 0x81;
  ASSERT_EQ(Load(PcmWave(1, 11025, 8, data)), AUDIO_ERROR_NONE);
  // The pad byte comes in as one more sample; samples become signed.
  EXPECT_EQ(wave_->length, 1002u);
  EXPECT_EQ(wave_->rate, 11025);
  EXPECT_EQ(wave_->format, 0);
  EXPECT_EQ(wave_->loopStart, 0u);
  EXPECT_EQ(wave_->loopEnd, 0u);
  EXPECT_EQ(wave_->data[0], 0x7F);
  EXPECT_EQ(wave_->data[1], 0x80);
  EXPECT_EQ(wave_->data[2], 0x00);
  EXPECT_EQ(wave_->data[1000], 0x01);
  EXPECT_EQ(wave_->data[1001], 0x80);  // the pad byte 0
  // The mixer has made the guard bytes silent.
  EXPECT_EQ(Bytes(wave_->data + 1002, wave_->data + 1006), Bytes(4, 0));
}

TEST_F(WaveFileTest, SixteenBitStereoUnchanged) {
  const Bytes data = {0x01, 0x80, 0xFF, 0x7F, 0x34, 0x12, 0x00, 0x00};
  ASSERT_EQ(Load(PcmWave(2, 44100, 16, data)), AUDIO_ERROR_NONE);
  EXPECT_EQ(wave_->format, 0x0101);
  EXPECT_EQ(wave_->rate, 44100);
  EXPECT_EQ(Data(), data);
  // Only the low 16 bits of the rate are kept.
  ASSERT_EQ(Load(PcmWave(1, 65536 + 30464, 16, data)), AUDIO_ERROR_NONE);
  EXPECT_EQ(wave_->rate, 30464);
  EXPECT_EQ(wave_->format, 0x0001);
}

TEST_F(WaveFileTest, ChunksBeforeAndAroundTheFormat) {
  const Bytes data = {1, 2, 3, 4};
  const Bytes file = Riff({Chunk("LIST", Bytes(7, 'x')), Chunk("fmt ", FmtBody(1, 1, 8000, 8, 2)),
                           Chunk("fact", Bytes(4, 0)), Chunk("data", data)});
  ASSERT_EQ(Load(file), AUDIO_ERROR_NONE);
  EXPECT_EQ(wave_->rate, 8000);
  EXPECT_EQ(Data(), (Bytes{0x81, 0x82, 0x83, 0x84}));
  // A RIFF length of 0 wraps the count of what is left: the walk goes on
  // to the data.
  Bytes zeroLength = PcmWave(1, 8000, 8, data);
  zeroLength[4] = 0;
  ASSERT_EQ(Load(zeroLength), AUDIO_ERROR_NONE);
  EXPECT_EQ(wave_->length, 4u);
  // A RIFF image 1000 bytes into a larger file.
  Bytes embedded(1000, 0xEE);
  const Bytes wave = PcmWave(1, 8000, 8, data);
  embedded.insert(embedded.end(), wave.begin(), wave.end());
  ASSERT_EQ(Load(embedded, 1000), AUDIO_ERROR_NONE);
  EXPECT_EQ(wave_->length, 4u);
}

TEST_F(WaveFileTest, RefusesWhatIsNotPcmWave) {
  const Bytes data = {1, 2};
  EXPECT_EQ(Load(Riff({Chunk("fmt ", FmtBody(3, 1, 8000, 32)), Chunk("data", data)})),
            AUDIO_ERROR_BADFILEFORMAT);
  EXPECT_EQ(Load(Riff({Chunk("fmt ", FmtBody(2, 1, 8000, 4)), Chunk("data", data)})),
            AUDIO_ERROR_BADFILEFORMAT);
  // No "fmt " chunk: format tag 0.
  EXPECT_EQ(Load(Riff({Chunk("data", data)})), AUDIO_ERROR_BADFILEFORMAT);
  // No "data" chunk.
  EXPECT_EQ(Load(Riff({Chunk("fmt ", FmtBody(1, 1, 8000, 8))})), AUDIO_ERROR_BADFILEFORMAT);
  Bytes notWave = PcmWave(1, 8000, 8, data);
  notWave[8] = 'X';
  EXPECT_EQ(Load(notWave), AUDIO_ERROR_BADFILEFORMAT);
  // A RIFF length of 4 leaves no room for chunks.
  EXPECT_EQ(Load(Riff({Chunk("fmt ", FmtBody(1, 1, 8000, 8)), Chunk("data", data)}, 4)),
            AUDIO_ERROR_BADFILEFORMAT);
  EXPECT_EQ(Load(Bytes{'R', 'I', 'F'}), AUDIO_ERROR_BADFILEFORMAT);
  EXPECT_EQ(Load(Bytes{}), AUDIO_ERROR_BADFILEFORMAT);
}

TEST_F(WaveFileTest, ArgumentsAndMissingFiles) {
  AudioWave* wave = reinterpret_cast<AudioWave*>(1);
  EXPECT_EQ(ALoadWaveFile((dir_ / "none.wav").c_str(), &wave, 0), AUDIO_ERROR_FILENOTFOUND);
  EXPECT_EQ(wave, nullptr);
  EXPECT_EQ(ALoadWaveFile(nullptr, &wave, 0), AUDIO_ERROR_FILENOTFOUND);
  EXPECT_EQ(ALoadWaveFile((dir_ / "none.wav").c_str(), nullptr, 0), AUDIO_ERROR_INVALPARAM);
}

// Sizes and counts are bounded by what the file holds: a header that
// claims more is cut or refused, never trusted.
TEST_F(WaveFileTest, HostileHeaders) {
  const Bytes fmt = Chunk("fmt ", FmtBody(1, 1, 8000, 8));
  // A data chunk claiming 4 GB holds what the file holds.
  ASSERT_EQ(Load(Riff({fmt, Chunk("data", Bytes{0x90, 0x70}, true, 0xFFFFFFFF)})),
            AUDIO_ERROR_NONE);
  EXPECT_EQ(Data(), (Bytes{0x10, 0xF0}));
  // Odd data at the very end of the file: no pad byte to take in.
  ASSERT_EQ(Load(Riff({fmt, Chunk("data", Bytes{0x80, 0x80, 0x80}, false)})), AUDIO_ERROR_NONE);
  EXPECT_EQ(wave_->length, 3u);
  // A chunk that claims to run past the end ends the walk.
  EXPECT_EQ(Load(Riff({fmt, Chunk("LIST", Bytes(8, 0), true, 0xFFFFFFF0), Chunk("data", {1})})),
            AUDIO_ERROR_BADFILEFORMAT);
  // An "fmt " chunk too short for its fields.
  EXPECT_EQ(Load(Riff({Chunk("fmt ", Bytes(4, 1)), Chunk("data", {1, 2})})),
            AUDIO_ERROR_BADFILEFORMAT);
  // Thousands of empty chunks with a wrapped count still end at the end.
  std::vector<Bytes> empties(5000, Chunk("junk", {}));
  EXPECT_EQ(Load(Riff(empties, 0)), AUDIO_ERROR_BADFILEFORMAT);
  // An offset past the end of the file.
  EXPECT_EQ(Load(PcmWave(1, 8000, 8, {1, 2}), 0xFFFFFFFF), AUDIO_ERROR_BADFILEFORMAT);
}

TEST_F(WaveFileTest, LoadedWavePlays) {
  Bytes data(100, 0xFF);  // 127 once signed
  ASSERT_EQ(Load(PcmWave(1, 44100, 8, data)), AUDIO_ERROR_NONE);
  const u32 voice = Play(wave_.get(), 255);
  const std::vector<i16> out = Render(100);
  EXPECT_EQ(out[1], 24384);
  EXPECT_EQ(out[199], 24384);
  u32 status = 0;
  Render(2);
  AGetVoiceStatus(voice, &status);
  EXPECT_EQ(status, 1u);
}

}  // namespace
