#include "audio/audio.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/audio/audio_test_support.h"

using namespace audio_test;

namespace {

using AudioLibraryTest = MixerFixture;

TEST_F(AudioLibraryTest, OpeningAndTheClosedState) {
  EXPECT_EQ(AOpenAudio(nullptr), AUDIO_ERROR_INVALPARAM);
  AudioInfo info{8, AUDIO_FORMAT_16BITS, 44100};
  EXPECT_EQ(AOpenAudio(&info), AUDIO_ERROR_BADDEVICEID);
  info.deviceId = 7;  // an empty slot
  EXPECT_EQ(AOpenAudio(&info), AUDIO_ERROR_BADDEVICEID);
  // Closed: updates do nothing, and voice calls land on the silent driver.
  EXPECT_EQ(AUpdateAudio(), AUDIO_ERROR_NONE);
  EXPECT_EQ(MemoryDevice::Updates(), 0u);
  u32 status = 0;
  EXPECT_EQ(AGetVoiceStatus(1, &status), AUDIO_ERROR_NONE);
  EXPECT_EQ(status, 1u);

  // Detection takes the highest id that answers: the memory device.
  info.deviceId = kAudioDetectDevice;
  ASSERT_EQ(AOpenAudio(&info), AUDIO_ERROR_NONE);
  EXPECT_EQ(info.deviceId, kMemoryDeviceId);
  EXPECT_EQ(AInitialize(), AUDIO_ERROR_NOTSUPPORTED);
  u32 id = 0;
  EXPECT_EQ(APingAudio(&id), AUDIO_ERROR_NOTSUPPORTED);
  EXPECT_EQ(APingAudio(nullptr), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(AOpenAudio(&info), AUDIO_ERROR_NOTSUPPORTED);
  EXPECT_EQ(ACloseAudio(), AUDIO_ERROR_NONE);
  EXPECT_EQ(AInitialize(), AUDIO_ERROR_NONE);
  EXPECT_EQ(AGetVersion(), 0x0106u);
}

TEST_F(AudioLibraryTest, VoiceHandlesCountFromOne) {
  Open(AUDIO_FORMAT_16BITS);
  u32 handles[5] = {};
  for (u32 i = 0; i < 4; ++i) {
    ASSERT_EQ(ACreateAudioVoice(&handles[i]), AUDIO_ERROR_NONE);
    EXPECT_EQ(handles[i], i + 1);
  }
  EXPECT_EQ(ACreateAudioVoice(&handles[4]), AUDIO_ERROR_NOMEMORY);
  EXPECT_EQ(ACreateAudioVoice(nullptr), AUDIO_ERROR_INVALPARAM);
  // Handle 0 wraps to the largest voice number.
  EXPECT_EQ(ADestroyAudioVoice(0), AUDIO_ERROR_INVALHANDLE);
  EXPECT_EQ(ADestroyAudioVoice(5), AUDIO_ERROR_INVALHANDLE);
  for (u32 i = 0; i < 3; ++i) EXPECT_EQ(ADestroyAudioVoice(handles[i]), AUDIO_ERROR_NONE);
  EXPECT_EQ(ACloseVoices(), AUDIO_ERROR_NOTSUPPORTED);
  // A freed slot is handed out again.
  u32 again = 0;
  ACreateAudioVoice(&again);
  EXPECT_EQ(again, 1u);
  ADestroyAudioVoice(again);
  ADestroyAudioVoice(handles[3]);
  EXPECT_EQ(ACloseVoices(), AUDIO_ERROR_NONE);
  EXPECT_EQ(ACreateAudioVoice(&again), AUDIO_ERROR_NOMEMORY);
  EXPECT_EQ(APlayVoice(1, nullptr), AUDIO_ERROR_INVALHANDLE);
}

TEST_F(AudioLibraryTest, ErrorTextsAreAlwaysTerminated) {
  char text[64];
  EXPECT_EQ(AGetErrorText(AUDIO_ERROR_BADFILEFORMAT, text, sizeof text), AUDIO_ERROR_NONE);
  EXPECT_STREQ(text, "Bad file format");
  EXPECT_EQ(AGetErrorText(12, text, sizeof text), AUDIO_ERROR_INVALPARAM);
  EXPECT_STREQ(text, "Unknown audio system error");
  std::memset(text, 'x', sizeof text);
  EXPECT_EQ(AGetErrorText(AUDIO_ERROR_NOMEMORY, text, 6), AUDIO_ERROR_NONE);
  EXPECT_STREQ(text, "Not e");
  EXPECT_EQ(text[6], 'x');
  EXPECT_EQ(AGetErrorText(AUDIO_ERROR_NOMEMORY, text, 0), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(AGetErrorText(AUDIO_ERROR_NOMEMORY, nullptr, 10), AUDIO_ERROR_INVALPARAM);
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

TEST_F(AudioLibraryTest, SampleData) {
  Open(AUDIO_FORMAT_16BITS);
  EXPECT_EQ(ACreateAudioData(nullptr), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ADestroyAudioData(nullptr), AUDIO_ERROR_INVALHANDLE);
  AudioWave wave;
  EXPECT_EQ(AWriteAudioData(&wave, 0, 1), AUDIO_ERROR_INVALHANDLE);
  wave.length = 8;
  ASSERT_EQ(ACreateAudioData(&wave), AUDIO_ERROR_NONE);
  EXPECT_EQ(wave.handle, wave.data);
  // A one-shot sample gets silent guard bytes once written to the end.
  std::memset(wave.data, 0x55, 12);
  EXPECT_EQ(AWriteAudioData(&wave, 0, 4), AUDIO_ERROR_NONE);
  EXPECT_EQ(wave.data[8], 0x55);
  EXPECT_EQ(AWriteAudioData(&wave, 4, 4), AUDIO_ERROR_NONE);
  EXPECT_EQ(std::memcmp(wave.data + 8, "\0\0\0\0", 4), 0);
  // A loop gets its first bytes behind its end.
  wave.format = AUDIO_WAVE_LOOP;
  wave.loopStart = 1;
  wave.loopEnd = 7;
  for (u8 i = 0; i < 8; ++i) wave.data[i] = i;
  EXPECT_EQ(AWriteAudioData(&wave, 0, 8), AUDIO_ERROR_NONE);
  EXPECT_EQ(wave.data[7], 1);
  EXPECT_EQ(wave.data[10], 4);
  EXPECT_EQ(ADestroyAudioData(&wave), AUDIO_ERROR_NONE);
  EXPECT_EQ(wave.data, nullptr);
}

}  // namespace
