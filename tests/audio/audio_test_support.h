// Shared by the audio tests: a library opened on the memory device with
// the OSS calls faked, and waves built in memory.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <memory>
#include <vector>

#include "audio/audio.h"
#include "tests/audio/fake_oss.h"
#include "tests/audio/memory_device.h"

namespace audio_test {

constexpr u32 kMemoryDeviceId = 2;
constexpr u16 kMono16 = AUDIO_FORMAT_16BITS;
constexpr u16 kStereo16 = AUDIO_FORMAT_16BITS | AUDIO_FORMAT_STEREO;
constexpr u32 kOk = AUDIO_ERROR_NONE;
constexpr u32 kBadHandle = AUDIO_ERROR_INVALHANDLE;
constexpr u32 kBadParam = AUDIO_ERROR_INVALPARAM;

// Result codes and what they must be, in calling order; a failure names
// its row.
struct Code {
  u32 got, want;
};
inline void ExpectCodes(std::initializer_list<Code> codes) {
  int row = 0;
  for (const Code& code : codes) EXPECT_EQ(code.got, code.want) << "row " << row++;
}

// A wave made through the library, so the current synthesizer prepares
// it; freed with ADestroyAudioData.
struct WaveDeleter {
  void operator()(AudioWave* wave) const {
    ADestroyAudioData(wave);
    delete wave;
  }
};
using WavePtr = std::unique_ptr<AudioWave, WaveDeleter>;

// The guard bytes start as noise (0x55), so whatever the mixer plays from
// them shows whether it prepared them.
inline WavePtr MakeWave(const std::vector<u8>& bytes, u16 format = 0, u32 loopStart = 0,
                        u32 loopEnd = 0) {
  WavePtr wave(new AudioWave());
  *wave = AudioWave{nullptr, nullptr, static_cast<u32>(bytes.size()), loopStart, loopEnd, 44100,
                    format};
  if (ACreateAudioData(wave.get()) != AUDIO_ERROR_NONE) return nullptr;
  std::memset(wave->data + wave->length, 0x55, 4);
  std::copy(bytes.begin(), bytes.end(), wave->data);
  if (!bytes.empty()) AWriteAudioData(wave.get(), 0, wave->length);
  return wave;
}

// n signed 8-bit samples of one value.
inline std::vector<u8> Constant(size_t n, i8 value) {
  return std::vector<u8>(n, static_cast<u8>(value));
}

// Samples 0, 1, 2, ... (mod 256): the sample index shows in the output.
inline std::vector<u8> Ramp(size_t n) {
  std::vector<u8> bytes(n);
  for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<u8>(i);
  return bytes;
}

// 1 when the voice is stopped, 0 while it plays.
inline u32 Status(u32 voice) {
  u32 status = 9;
  AGetVoiceStatus(voice, &status);
  return status;
}

// Opens the memory device with the mixer; the OSS calls are faked so that
// nothing reaches a real sound card.
class MixerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeOss::Install();
    MemoryDevice::Install();
  }
  void TearDown() override {
    ACloseAudio();
    FakeOss::Uninstall();
  }

  void Open(u16 format, u16 rate = 44100) {
    AudioInfo info{kMemoryDeviceId, format, rate};
    ASSERT_EQ(AOpenAudio(&info), AUDIO_ERROR_NONE);
    ASSERT_EQ(AOpenVoices(4), AUDIO_ERROR_NONE);
  }

  // A voice at full volume with the given panning, playing wave at hertz
  // (its own rate when 0).
  u32 Play(AudioWave* wave, u32 panning = 128, u32 hertz = 0) {
    u32 voice = 0;
    EXPECT_EQ(ACreateAudioVoice(&voice), AUDIO_ERROR_NONE);
    ASetVoiceVolume(voice, 64);
    ASetVoicePanning(voice, panning);
    EXPECT_EQ(APlayVoice(voice, wave), AUDIO_ERROR_NONE);
    if (hertz) {
      EXPECT_EQ(ASetVoiceFrequency(voice, hertz), AUDIO_ERROR_NONE);
    }
    return voice;
  }

  // Renders frames and returns the output samples of just those frames:
  // signed 16-bit values, or the bytes of 8-bit output.
  std::vector<int> Render(u32 frames) {
    MemoryDevice::Clear();
    AUpdateAudioEx(frames);
    if (!(MemoryDevice::opened.format & AUDIO_FORMAT_16BITS)) {
      const std::vector<u8> bytes = MemoryDevice::Bytes();
      return std::vector<int>(bytes.begin(), bytes.end());
    }
    const std::vector<i16> samples = MemoryDevice::Samples16();
    return std::vector<int>(samples.begin(), samples.end());
  }
};

}  // namespace audio_test
