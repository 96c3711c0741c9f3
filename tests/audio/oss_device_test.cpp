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

OssCall Ioctl(unsigned long request, long value) { return OssCall{"ioctl", request, value}; }
OssCall Call(const char* name, long value) { return OssCall{name, 0, value}; }

// What opening does: open, ask for the fragments, then the format, the
// channels and the rate.
std::vector<OssCall> OpenSequence(long format, long stereo, long rate) {
  return {Call("open", O_WRONLY | O_NONBLOCK), Ioctl(SNDCTL_DSP_SETFRAGMENT, 0x0010000C),
          Ioctl(SNDCTL_DSP_SETFMT, format), Ioctl(SNDCTL_DSP_STEREO, stereo),
          Ioctl(SNDCTL_DSP_SPEED, rate)};
}

class OssDeviceTest : public MixerFixture {
 protected:
  void SetUp() override {
    MixerFixture::SetUp();
    MemoryDevice::present = false;  // only the OSS device answers detection
  }

  u32 OpenOss(u16 format, u16 rate = 44100) {
    info_ = AudioInfo{kOssId, format, rate};
    return AOpenAudio(&info_);
  }

  // The size of every write so far.
  static std::vector<long> Writes() {
    std::vector<long> writes;
    for (const OssCall& call : FakeOss::Calls())
      if (call.name == "write") writes.push_back(call.value);
    return writes;
  }

  AudioInfo info_;
};

TEST_F(OssDeviceTest, OpensWithTheOssSequence) {
  ASSERT_EQ(OpenOss(kStereo16), AUDIO_ERROR_NONE);
  EXPECT_EQ(FakeOss::Calls(), OpenSequence(AFMT_S16_LE, 1, 44100));
  ASSERT_EQ(ACloseAudio(), AUDIO_ERROR_NONE);
  EXPECT_EQ(FakeOss::Calls().back(), Call("close", FakeOss::kFd));
  FakeOss::Install();
  ASSERT_EQ(OpenOss(0, 22050), AUDIO_ERROR_NONE);
  EXPECT_EQ(FakeOss::Calls(), OpenSequence(AFMT_U8, 0, 22050));
}

TEST_F(OssDeviceTest, RefusedFormatClosesTheDevice) {
  const unsigned long requests[] = {SNDCTL_DSP_SETFMT, SNDCTL_DSP_STEREO, SNDCTL_DSP_SPEED};
  for (size_t i = 0; i < 3; ++i) {
    FakeOss::Install();
    FakeOss::refusedRequest = requests[i];
    EXPECT_EQ(OpenOss(kStereo16), AUDIO_ERROR_BADFORMAT);
    // The calls up to the refused ioctl, then close.
    std::vector<OssCall> expected = OpenSequence(AFMT_S16_LE, 1, 44100);
    expected.resize(3 + i);
    expected.push_back(Call("close", FakeOss::kFd));
    EXPECT_EQ(FakeOss::Calls(), expected);
    // The library is closed again: updates do nothing.
    EXPECT_EQ(AUpdateAudio(), AUDIO_ERROR_NONE);
    EXPECT_EQ(FakeOss::Calls().size(), expected.size());
  }
  // The fragment request may fail without harm.
  FakeOss::Install();
  FakeOss::refusedRequest = SNDCTL_DSP_SETFRAGMENT;
  EXPECT_EQ(OpenOss(kStereo16), AUDIO_ERROR_NONE);
}

TEST_F(OssDeviceTest, BusyOrMissingDevice) {
  FakeOss::openResult = -1;
  EXPECT_EQ(OpenOss(kStereo16), AUDIO_ERROR_DEVICEBUSY);
  // Without "/dev/dsp" nothing answers: the silent device is only opened
  // by asking for it.
  FakeOss::present = false;
  u32 id = 9;
  EXPECT_EQ(APingAudio(&id), AUDIO_ERROR_NODEVICE);
  EXPECT_EQ(id, 0u);
  EXPECT_EQ(FakeOss::Calls().back(), Call("access", W_OK));
  AudioInfo detect{kAudioDetectDevice, kStereo16, 44100};
  EXPECT_EQ(AOpenAudio(&detect), AUDIO_ERROR_NODEVICE);
  EXPECT_EQ(detect.deviceId, 0u);
  FakeOss::present = true;
  EXPECT_EQ(APingAudio(&id), AUDIO_ERROR_NONE);
  EXPECT_EQ(id, kOssId);
}

// An update writes the mixer's output for the frames asked for, one
// buffer of 4096 bytes at most, and a whole buffer when asked for none.
TEST_F(OssDeviceTest, UpdateWritesWhatTheMixerPlays) {
  ASSERT_EQ(OpenOss(kStereo16), AUDIO_ERROR_NONE);
  ASSERT_EQ(AOpenVoices(1), AUDIO_ERROR_NONE);
  WavePtr wave = MakeWave(Constant(3000, 127));
  Play(wave.get(), 255);
  AUpdateAudioEx(0);
  AUpdateAudioEx(2000);  // 8000 bytes: more than the buffer
  AUpdateAudioEx(100);
  EXPECT_EQ(Writes(), (std::vector<long>{4096, 4096, 400}));
  const std::vector<u8> written = FakeOss::Written();
  i16 last[2];  // the last frame: the voice fully right
  std::memcpy(last, written.data() + written.size() - 4, sizeof last);
  EXPECT_EQ(last[0], 0);
  EXPECT_EQ(last[1], 24384);

  ACloseAudio();
  FakeOss::Install();
  ASSERT_EQ(OpenOss(0), AUDIO_ERROR_NONE);
  AUpdateAudioEx(300);  // one byte a frame
  EXPECT_EQ(Writes(), (std::vector<long>{300}));
}

// When the device tells its free space, the queue is topped up to about
// two update cycles (two 4096-byte fragments at 44100 Hz 16-bit stereo):
// the sound stays that close behind the game.
TEST_F(OssDeviceTest, WritesNoMoreThanTheQueueTakes) {
  ASSERT_EQ(OpenOss(kStereo16), AUDIO_ERROR_NONE);
  FakeOss::answerSpace = true;
  FakeOss::space = audio_buf_info{16, 16, 4096, 65536};
  // Free space: empty; a fragment and a half queued; 3 and 2 bytes short
  // of two fragments queued (less than a frame: nothing); nearly full.
  for (int bytes : {65536, 65536 - 6144, 65536 - 8192 + 3, 65536 - 8192 + 2, 1000}) {
    FakeOss::space.bytes = bytes;
    AUpdateAudio();
  }
  EXPECT_EQ(Writes(), (std::vector<long>{4096, 2048}));
  // A device queue of two fragments or fewer is limited by its free space.
  FakeOss::space = audio_buf_info{2, 2, 4096, 1002};
  AUpdateAudio();
  EXPECT_EQ(Writes().back(), 1000);
}

// Whatever fragment size the device grants for the 4096 bytes asked for,
// a steady update every 20 ms never lets it run dry, and the sound stays
// no more than two cycles and a fragment behind.
TEST_F(OssDeviceTest, SmallFragmentsDoNotStarveTheDevice) {
  const long cycle = 44100 * 4 * kOssCycleMs / 1000;  // 3528 bytes of 16-bit stereo
  for (int fragment : {4096, 2048, 1024, 512}) {
    FakeOss::Install();
    ASSERT_EQ(OpenOss(kStereo16), AUDIO_ERROR_NONE);
    FakeOss::PlayAs(16, fragment);
    for (int update = 0; update < 500; ++update) {
      AUpdateAudio();
      FakeOss::Play(cycle);
    }
    EXPECT_EQ(FakeOss::underruns, 0) << fragment;
    EXPECT_LE(FakeOss::maxQueued, 2 * cycle + fragment) << fragment;
    ACloseAudio();
  }
}

TEST_F(OssDeviceTest, TheMixerUsesTheGrantedRate) {
  FakeOss::grantedRate = 48000;
  ASSERT_EQ(OpenOss(kStereo16, 44100), AUDIO_ERROR_NONE);
  EXPECT_EQ(info_.rate, 48000);
  ASSERT_EQ(AOpenVoices(1), AUDIO_ERROR_NONE);
  WavePtr wave = MakeWave(Constant(100, 1));
  // One sample a frame at 48000 Hz exactly; at 44100 it would read 47999.
  const u32 voice = Play(wave.get(), 128, 48000);
  u32 hertz = 0;
  AGetVoiceFrequency(voice, &hertz);
  EXPECT_EQ(hertz, 48000u);
}

}  // namespace
