#include "audio/audio.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/audio/audio_test_support.h"

using namespace audio_test;

namespace {

using AudioLibraryTest = MixerFixture;

TEST_F(AudioLibraryTest, OpeningAndTheClosedState) {
  AudioInfo info{8, AUDIO_FORMAT_16BITS, 44100};
  AudioInfo empty{7, AUDIO_FORMAT_16BITS, 44100};  // an empty slot
  AudioWave wave;
  ExpectCodes({
      {AOpenAudio(nullptr), kBadParam}, {AOpenAudio(&info), AUDIO_ERROR_BADDEVICEID},
      {AOpenAudio(&empty), AUDIO_ERROR_BADDEVICEID},
      // Sample data calls refuse what they cannot use, freed data too.
      {ACreateAudioData(nullptr), kBadParam}, {ADestroyAudioData(nullptr), kBadHandle},
      {ACreateAudioData(&wave), kOk}, {ADestroyAudioData(&wave), kOk},
      {AWriteAudioData(&wave, 0, 1), kBadHandle},
  });
  // Closed: updates do nothing, and voice calls land on the silent driver.
  EXPECT_EQ(AUpdateAudio(), kOk);
  EXPECT_EQ(MemoryDevice::Updates(), 0u);
  EXPECT_EQ(Status(1), 1u);

  // Detection takes the highest id that answers: the memory device. Open,
  // the library refuses to start over until it is closed.
  info.deviceId = kAudioDetectDevice;
  ASSERT_EQ(AOpenAudio(&info), kOk);
  EXPECT_EQ(info.deviceId, kMemoryDeviceId);
  u32 id = 0;
  ExpectCodes({
      {AInitialize(), AUDIO_ERROR_NOTSUPPORTED}, {APingAudio(&id), AUDIO_ERROR_NOTSUPPORTED},
      {APingAudio(nullptr), kBadParam}, {AOpenAudio(&info), AUDIO_ERROR_NOTSUPPORTED},
      {ACloseAudio(), kOk}, {AInitialize(), kOk},
  });
}

TEST_F(AudioLibraryTest, VoiceHandlesCountFromOne) {
  Open(AUDIO_FORMAT_16BITS);
  u32 handles[5] = {};
  for (u32 i = 0; i < 4; ++i) {
    ASSERT_EQ(ACreateAudioVoice(&handles[i]), kOk);
    EXPECT_EQ(handles[i], i + 1);
  }
  ExpectCodes({
      {ACreateAudioVoice(&handles[4]), AUDIO_ERROR_NOMEMORY},
      {ACreateAudioVoice(nullptr), kBadParam},
      // Handle 0 wraps to the largest voice number.
      {ADestroyAudioVoice(0), kBadHandle}, {ADestroyAudioVoice(5), kBadHandle},
      {ADestroyAudioVoice(1), kOk}, {ADestroyAudioVoice(2), kOk},
      {ACloseVoices(), AUDIO_ERROR_NOTSUPPORTED},  // voices 3 and 4 still held
  });
  // A freed slot is handed out again.
  ACreateAudioVoice(&handles[0]);
  EXPECT_EQ(handles[0], 1u);
  for (u32 handle : {1, 3, 4}) ADestroyAudioVoice(handle);
  EXPECT_EQ(ACloseVoices(), kOk);
  EXPECT_EQ(ACreateAudioVoice(&handles[0]), AUDIO_ERROR_NOMEMORY);
}

TEST_F(AudioLibraryTest, ErrorTextsAreAlwaysTerminated) {
  char text[64];
  EXPECT_EQ(AGetErrorText(12, text, sizeof text), kBadParam);
  EXPECT_STREQ(text, "Unknown audio system error");
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(AGetErrorText(AUDIO_ERROR_NOMEMORY, text, 6), kOk);
  EXPECT_STREQ(text, "Not e");
  EXPECT_EQ(text[6], 'x');
  EXPECT_EQ(AGetErrorText(AUDIO_ERROR_NOMEMORY, text, 0), kBadParam);
  EXPECT_EQ(AGetErrorText(AUDIO_ERROR_NOMEMORY, nullptr, 10), kBadParam);
}

int g_NestedCodes = 0;
void UpdateFromInside() { g_NestedCodes += static_cast<int>(AUpdateAudio()) + 1; }

TEST_F(AudioLibraryTest, AnUpdateFromInsideAnUpdateDoesNotReachTheDevice) {
  Open(AUDIO_FORMAT_16BITS);
  g_NestedCodes = 0;
  ASetAudioTimerProc(UpdateFromInside);
  AUpdateAudioEx(4000);
  EXPECT_GT(g_NestedCodes, 0);  // the tick ran and its update returned 0
  EXPECT_EQ(MemoryDevice::Updates(), 1u);
}

}  // namespace
