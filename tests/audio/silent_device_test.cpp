#include "audio/silent_device.h"

#include <gtest/gtest.h>

#include "tests/audio/audio_test_support.h"

using namespace audio_test;

namespace {

i64 g_Seconds = 1000;
i64 FakeSeconds() { return g_Seconds; }
int g_Ticks = 0;
void CountTick() { ++g_Ticks; }
void OtherTick() {}

class SilentDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeOss::Install();
    SilenceSetClock(FakeSeconds);
    AInitialize();
    AudioInfo info{0, AUDIO_FORMAT_16BITS, 44100};
    ASSERT_EQ(AOpenAudio(&info), AUDIO_ERROR_NONE);
  }
  void TearDown() override {
    ACloseAudio();
    SilenceSetClock(nullptr);
    FakeOss::Uninstall();
  }
};

TEST_F(SilentDeviceTest, ChecksItsParameters) {
  EXPECT_EQ(AOpenVoices(32), AUDIO_ERROR_INVALPARAM);
  ASSERT_EQ(AOpenVoices(31), AUDIO_ERROR_NONE);
  // Voices 0..31 exist for the synthesizer whatever was opened.
  const u32 last = 32, beyond = 33;
  EXPECT_EQ(AStartVoice(last), AUDIO_ERROR_NONE);
  EXPECT_EQ(AStopVoice(beyond), AUDIO_ERROR_INVALHANDLE);
  EXPECT_EQ(ASetVoiceVolume(1, 63), AUDIO_ERROR_NONE);
  EXPECT_EQ(ASetVoiceVolume(1, 64), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetVoicePanning(1, 254), AUDIO_ERROR_NONE);
  EXPECT_EQ(ASetVoicePanning(1, 255), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetVoiceFrequency(1, 512), AUDIO_ERROR_NONE);
  EXPECT_EQ(ASetVoiceFrequency(1, 511), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetVoiceFrequency(1, 524289), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetVoicePosition(1, 0x100000), AUDIO_ERROR_NONE);
  EXPECT_EQ(ASetVoicePosition(1, 0x100001), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetVoicePosition(beyond, 0), AUDIO_ERROR_INVALHANDLE);
  EXPECT_EQ(APrimeVoice(1, nullptr), AUDIO_ERROR_INVALHANDLE);
  EXPECT_EQ(ASetAudioMixerValue(0, 0), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetAudioMixerValue(5, 0), AUDIO_ERROR_NONE);
  EXPECT_EQ(ASetAudioMixerValue(6, 0), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(ASetAudioTimerRate(32), AUDIO_ERROR_NONE);
  EXPECT_EQ(ASetAudioTimerRate(256), AUDIO_ERROR_INVALPARAM);

  u32 out = 7;
  EXPECT_EQ(AGetVoiceStatus(1, &out), AUDIO_ERROR_NONE);
  EXPECT_EQ(out, 1u);  // always stopped
  EXPECT_EQ(AGetVoiceVolume(1, &out), AUDIO_ERROR_NONE);
  EXPECT_EQ(out, 0u);
  EXPECT_EQ(AGetVoicePanning(1, nullptr), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(AGetVoicePosition(beyond, &out), AUDIO_ERROR_INVALHANDLE);

  WavePtr wave = MakeWave(Constant(10, 0));
  EXPECT_EQ(AWriteAudioData(wave.get(), 0, 9), AUDIO_ERROR_NONE);
  EXPECT_EQ(AWriteAudioData(wave.get(), 1, 9), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(AWriteAudioData(wave.get(), 0xFFFFFFFF, 2), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(AWriteAudioData(wave.get(), 0, 0), AUDIO_ERROR_INVALPARAM);
  EXPECT_EQ(APlayVoice(1, wave.get()), AUDIO_ERROR_NONE);
}

TEST_F(SilentDeviceTest, TickClockRunsOneTickPerUpdate) {
  g_Ticks = 0;
  ASetAudioTimerProc(CountTick);
  // 125 bpm: 60000 / (24 * 125) = 20 ms a tick.
  ASSERT_EQ(ASetAudioTimerRate(125), AUDIO_ERROR_NONE);
  AUpdateAudio();
  EXPECT_EQ(g_Ticks, 0);
  // One second later: one tick, 980 ms kept, then a tick per update
  // until less than a period is left.
  ++g_Seconds;
  AUpdateAudio();
  EXPECT_EQ(g_Ticks, 1);
  for (int i = 0; i < 60; ++i) AUpdateAudio();
  EXPECT_EQ(g_Ticks, 50);
  // A null procedure leaves the one set before in place.
  ASetAudioTimerProc(nullptr);
  g_Seconds += 1;
  AUpdateAudio();
  EXPECT_EQ(g_Ticks, 51);
  ASetAudioTimerProc(OtherTick);
  g_Seconds += 1;
  AUpdateAudio();
  EXPECT_EQ(g_Ticks, 51);
}

TEST_F(SilentDeviceTest, IsNeverDetected) {
  ACloseAudio();
  FakeOss::present = false;
  MemoryDevice::present = false;
  u32 id = 5;
  EXPECT_EQ(APingAudio(&id), AUDIO_ERROR_NODEVICE);
  MemoryDevice::present = true;
  AudioCaps caps;
  ASSERT_EQ(AGetAudioDevCaps(0, &caps), AUDIO_ERROR_NONE);
  EXPECT_STREQ(caps.name, "Silence");
  EXPECT_EQ(caps.productId, 0);
}

}  // namespace
