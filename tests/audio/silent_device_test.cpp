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

// Every range checked at its edges. Voices 0..31 exist for the
// synthesizer whatever was opened: handle 32 is the last.
TEST_F(SilentDeviceTest, ChecksItsParameters) {
  WavePtr wave = MakeWave(Constant(10, 0));
  u32 out = 7;
  ExpectCodes({
      {AOpenVoices(32), kBadParam}, {AOpenVoices(31), kOk},
      {AStartVoice(32), kOk}, {AStopVoice(33), kBadHandle},
      {ASetVoiceVolume(1, 63), kOk}, {ASetVoiceVolume(1, 64), kBadParam},
      {ASetVoicePanning(1, 254), kOk}, {ASetVoicePanning(1, 255), kBadParam},
      {ASetVoiceFrequency(1, 512), kOk}, {ASetVoiceFrequency(1, 511), kBadParam},
      {ASetVoiceFrequency(1, 524289), kBadParam},
      {ASetVoicePosition(1, 0x100000), kOk}, {ASetVoicePosition(1, 0x100001), kBadParam},
      {APrimeVoice(1, nullptr), kBadHandle}, {APlayVoice(1, wave.get()), kOk},
      {ASetAudioMixerValue(0, 0), kBadParam}, {ASetAudioMixerValue(5, 0), kOk},
      {ASetAudioMixerValue(6, 0), kBadParam},
      {ASetAudioTimerRate(32), kOk}, {ASetAudioTimerRate(256), kBadParam},
      {AGetVoicePanning(1, nullptr), kBadParam}, {AGetVoicePosition(33, &out), kBadHandle},
      // Writes must end before the last byte; the end is summed in 64 bits.
      {AWriteAudioData(wave.get(), 0, 9), kOk}, {AWriteAudioData(wave.get(), 1, 9), kBadParam},
      {AWriteAudioData(wave.get(), 0xFFFFFFFF, 2), kBadParam},
      {AWriteAudioData(wave.get(), 0, 0), kBadParam},
  });
  // Queries answer a stopped, silent voice.
  EXPECT_EQ(Status(1), 1u);
  EXPECT_EQ(AGetVoiceVolume(1, &out), kOk);
  EXPECT_EQ(out, 0u);
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
  // A null procedure leaves the one set before in place; another replaces it.
  for (AudioTimerProc proc : {AudioTimerProc{nullptr}, OtherTick}) {
    ASetAudioTimerProc(proc);
    ++g_Seconds;
    AUpdateAudio();
  }
  EXPECT_EQ(g_Ticks, 51);
}

}  // namespace
