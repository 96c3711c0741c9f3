// Shared by the audio tests: a library opened on the memory device with
// the OSS calls faked, and waves built in memory.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "audio/audio.h"
#include "tests/audio/fake_oss.h"
#include "tests/audio/memory_device.h"

namespace audio_test {

constexpr u32 kMemoryDeviceId = 2;

// A wave made through the library, so the current synthesizer prepares
// it; freed with ADestroyAudioData.
struct WaveDeleter {
  void operator()(AudioWave* wave) const {
    ADestroyAudioData(wave);
    delete wave;
  }
};
using WavePtr = std::unique_ptr<AudioWave, WaveDeleter>;

inline WavePtr MakeWave(const std::vector<u8>& bytes, u16 format = 0, u32 loopStart = 0,
                        u32 loopEnd = 0, u16 rate = 44100) {
  WavePtr wave(new AudioWave());
  wave->length = static_cast<u32>(bytes.size());
  wave->format = format;
  wave->loopStart = loopStart;
  wave->loopEnd = loopEnd;
  wave->rate = rate;
  if (ACreateAudioData(wave.get()) != AUDIO_ERROR_NONE) return nullptr;
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

  // A voice at full volume with the given panning, playing wave at hertz.
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

  // Renders frames and returns the 16-bit samples of just those frames.
  std::vector<i16> Render(u32 frames) {
    MemoryDevice::Clear();
    AUpdateAudioEx(frames);
    return MemoryDevice::Samples16();
  }
};

}  // namespace audio_test
