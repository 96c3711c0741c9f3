#include "audio/oss_device.h"

#include <fcntl.h>
#include <linux/soundcard.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/audio/audio_test_support.h"

using namespace audio_test;

namespace {

constexpr u32 kOssId = 1;
constexpr u16 kStereo16 = AUDIO_FORMAT_16BITS | AUDIO_FORMAT_STEREO;

OssCall Ioctl(unsigned long request, long value) { return OssCall{"ioctl", request, value}; }
OssCall Call(const char* name, long value) { return OssCall{name, 0, value}; }

class OssDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FakeOss::Install();
    AInitialize();
    // Only the OSS device answers detection here.
    MemoryDevice::present = false;
  }
  void TearDown() override {
    ACloseAudio();
    FakeOss::Uninstall();
    MemoryDevice::present = true;
  }

  u32 Open(u16 format, u16 rate = 44100) {
    info_ = AudioInfo{kOssId, format, rate};
    return AOpenAudio(&info_);
  }

  // The calls made since the device was opened, without the open itself.
  static std::vector<OssCall> UpdateCalls() {
    std::vector<OssCall> calls = FakeOss::Calls();
    calls.erase(calls.begin(), calls.begin() + 5);
    return calls;
  }

  AudioInfo info_;
};

TEST_F(OssDeviceTest, OpensWithTheOssSequence) {
  ASSERT_EQ(Open(kStereo16), AUDIO_ERROR_NONE);
  const std::vector<OssCall> expected = {
      Call("open", O_WRONLY | O_NONBLOCK),
      Ioctl(SNDCTL_DSP_SETFRAGMENT, 0x0010000C),
      Ioctl(SNDCTL_DSP_SETFMT, AFMT_S16_LE),
      Ioctl(SNDCTL_DSP_STEREO, 1),
      Ioctl(SNDCTL_DSP_SPEED, 44100),
  };
  EXPECT_EQ(FakeOss::Calls(), expected);
  ASSERT_EQ(ACloseAudio(), AUDIO_ERROR_NONE);
  EXPECT_EQ(FakeOss::Calls().back(), Call("close", FakeOss::kFd));

  ASSERT_EQ(Open(0, 22050), AUDIO_ERROR_NONE);
  const std::vector<OssCall> calls = FakeOss::Calls();
  EXPECT_EQ(calls[calls.size() - 3], Ioctl(SNDCTL_DSP_SETFMT, AFMT_U8));
  EXPECT_EQ(calls[calls.size() - 2], Ioctl(SNDCTL_DSP_STEREO, 0));
  EXPECT_EQ(calls[calls.size() - 1], Ioctl(SNDCTL_DSP_SPEED, 22050));
}

TEST_F(OssDeviceTest, RefusedFormatClosesTheDevice) {
  const unsigned long requests[] = {SNDCTL_DSP_SETFMT, SNDCTL_DSP_STEREO, SNDCTL_DSP_SPEED};
  for (size_t i = 0; i < 3; ++i) {
    FakeOss::Install();
    FakeOss::refusedRequest = requests[i];
    EXPECT_EQ(Open(kStereo16), AUDIO_ERROR_BADFORMAT);
    const std::vector<OssCall> calls = FakeOss::Calls();
    // open, the fragments, the format ioctls up to the refused one, close.
    ASSERT_EQ(calls.size(), 4 + i);
    EXPECT_EQ(calls[calls.size() - 2].request, requests[i]);
    EXPECT_EQ(calls.back(), Call("close", FakeOss::kFd));
    // The library is closed again: updates do nothing.
    EXPECT_EQ(AUpdateAudio(), AUDIO_ERROR_NONE);
    EXPECT_EQ(FakeOss::Calls().size(), calls.size());
  }
  // The fragment request may fail without harm.
  FakeOss::Install();
  FakeOss::refusedRequest = SNDCTL_DSP_SETFRAGMENT;
  EXPECT_EQ(Open(kStereo16), AUDIO_ERROR_NONE);
}

TEST_F(OssDeviceTest, BusyOrMissingDevice) {
  FakeOss::openResult = -1;
  EXPECT_EQ(Open(kStereo16), AUDIO_ERROR_DEVICEBUSY);
  FakeOss::present = false;
  u32 id = 9;
  EXPECT_EQ(APingAudio(&id), AUDIO_ERROR_NODEVICE);
  EXPECT_EQ(id, 0u);
  EXPECT_EQ(FakeOss::Calls().back(), Call("access", W_OK));
  AudioInfo detect{kAudioDetectDevice, kStereo16, 44100};
  EXPECT_EQ(AOpenAudio(&detect), AUDIO_ERROR_NODEVICE);
  EXPECT_EQ(detect.deviceId, 0u);
  FakeOss::present = true;
  FakeOss::openResult = FakeOss::kFd;
  EXPECT_EQ(APingAudio(&id), AUDIO_ERROR_NONE);
  EXPECT_EQ(id, kOssId);
  detect.deviceId = kAudioDetectDevice;
  EXPECT_EQ(AOpenAudio(&detect), AUDIO_ERROR_NONE);
  EXPECT_EQ(detect.deviceId, kOssId);
  EXPECT_EQ(AOpenAudio(&detect), AUDIO_ERROR_NOTSUPPORTED);
}

TEST_F(OssDeviceTest, UpdateWritesOneBufferOfTheFrameSize) {
  ASSERT_EQ(Open(kStereo16), AUDIO_ERROR_NONE);
  AUpdateAudioEx(0);
  AUpdateAudioEx(2000);  // 8000 bytes: more than the buffer
  AUpdateAudioEx(100);
  EXPECT_EQ(UpdateCalls(), (std::vector<OssCall>{
                               Ioctl(SNDCTL_DSP_GETOSPACE, 0), Call("write", 4096),
                               Ioctl(SNDCTL_DSP_GETOSPACE, 0), Call("write", 4096),
                               Ioctl(SNDCTL_DSP_GETOSPACE, 0), Call("write", 400)}));
  ACloseAudio();
  FakeOss::Install();
  ASSERT_EQ(Open(0), AUDIO_ERROR_NONE);
  AUpdateAudioEx(300);
  EXPECT_EQ(UpdateCalls().back(), Call("write", 300));
}

TEST_F(OssDeviceTest, WritesWhatTheMixerPlays) {
  ASSERT_EQ(Open(kStereo16), AUDIO_ERROR_NONE);
  ASSERT_EQ(AOpenVoices(1), AUDIO_ERROR_NONE);
  u32 voice = 0;
  ACreateAudioVoice(&voice);
  ASetVoiceVolume(voice, 64);
  ASetVoicePanning(voice, 255);
  WavePtr wave = MakeWave(Constant(2000, 127));
  ASSERT_EQ(APlayVoice(voice, wave.get()), AUDIO_ERROR_NONE);
  AUpdateAudioEx(4);
  const std::vector<u8> written = FakeOss::Written();
  ASSERT_EQ(written.size(), 16u);
  i16 samples[8];
  std::memcpy(samples, written.data(), sizeof samples);
  for (int i = 0; i < 8; i += 2) {
    EXPECT_EQ(samples[i], 0);
    EXPECT_EQ(samples[i + 1], 24384);
  }
}

// When the device tells its free space, the queue is topped up to two
// fragments: the sound stays that close behind the game.
TEST_F(OssDeviceTest, WritesNoMoreThanTheQueueTakes) {
  ASSERT_EQ(Open(kStereo16), AUDIO_ERROR_NONE);
  ASSERT_EQ(AOpenVoices(1), AUDIO_ERROR_NONE);
  FakeOss::answerSpace = true;
  FakeOss::space = audio_buf_info{16, 16, 4096, 65536};  // empty
  AUpdateAudio();
  FakeOss::space.bytes = 65536 - 6144;  // a fragment and a half queued
  AUpdateAudio();
  FakeOss::space.bytes = 65536 - 8192 + 3;  // whole frames only
  AUpdateAudio();
  FakeOss::space.bytes = 65536 - 8192 + 2;
  AUpdateAudio();
  FakeOss::space.bytes = 1000;  // nearly full
  AUpdateAudio();
  std::vector<long> writes;
  for (const OssCall& call : UpdateCalls())
    if (call.name == "write") writes.push_back(call.value);
  EXPECT_EQ(writes, (std::vector<long>{4096, 2048}));
  // A device queue of two fragments or fewer is limited by its free space.
  FakeOss::space = audio_buf_info{2, 2, 4096, 1002};
  AUpdateAudio();
  EXPECT_EQ(UpdateCalls().back(), Call("write", 1000));
}

TEST_F(OssDeviceTest, TheMixerUsesTheGrantedRate) {
  FakeOss::grantedRate = 48000;
  ASSERT_EQ(Open(kStereo16, 44100), AUDIO_ERROR_NONE);
  EXPECT_EQ(info_.rate, 48000);
  ASSERT_EQ(AOpenVoices(1), AUDIO_ERROR_NONE);
  u32 voice = 0;
  ACreateAudioVoice(&voice);
  WavePtr wave = MakeWave(Constant(100, 1));
  APrimeVoice(voice, wave.get());
  // One sample a frame at 48000 Hz exactly; at 44100 it would be 47999.
  ASSERT_EQ(ASetVoiceFrequency(voice, 48000), AUDIO_ERROR_NONE);
  u32 hertz = 0;
  AGetVoiceFrequency(voice, &hertz);
  EXPECT_EQ(hertz, 48000u);
}

TEST_F(OssDeviceTest, Capabilities) {
  AudioCaps caps;
  ASSERT_EQ(AGetAudioDevCaps(kOssId, &caps), AUDIO_ERROR_NONE);
  EXPECT_EQ(caps.productId, 257);
  EXPECT_STREQ(caps.name, "Linux Voxware");
  EXPECT_EQ(caps.formats, 0x0FFFu);
}

}  // namespace
