#include "audio/sound_manager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <thread>
#include <vector>

#include "platform/startup.h"
#include "tests/audio/audio_test_support.h"
#include "tests/audio/wave_builder.h"
#include "tests/support/process.h"

using namespace audio_test;
using testing_support::TempDir;
using testing_support::WriteFile;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

class SoundManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    snd_resetState();
    FakeOss::Install();
    MemoryDevice::Install();
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", dir_.Path().c_str());
    // Effect n: 3000 samples (68 ms) of the value 20 * (n + 1).
    for (int n = 0; n < 4; ++n) {
      const Bytes data(3000, static_cast<u8>(128 + 20 * (n + 1)));
      const std::string path = dir_ / ("wav/" + std::to_string(n) + ".wav");
      ASSERT_TRUE(WriteFile(path, PcmWave(1, 44100, 8, data)));
    }
  }
  void TearDown() override {
    snd_resetState();
    FakeOss::Uninstall();
  }

  static std::vector<u32> VoiceStatus() {
    std::vector<u32> status;
    for (u32 i = 0; i < g_EffectVoiceCount; ++i) status.push_back(Status(g_EffectVoices[i]));
    return status;
  }

  // The effects waiting to start, over the whole table.
  static std::vector<u32> Pending() {
    std::vector<u32> pending;
    for (u32 i = 0; i < kSoundMaxWaves; ++i)
      if (g_PendingEffects[i]) pending.push_back(i);
    return pending;
  }

  TempDir dir_;
};

TEST_F(SoundManagerTest, MissingWaveStopsTheStart) {
  std::remove((dir_ / "wav/2.wav").c_str());
  testing::internal::CaptureStderr();
  const Clock::time_point start = Clock::now();
  {
    SoundManager manager(4);
    EXPECT_FALSE(snd_threadStarted());
  }
  EXPECT_LT(Clock::now() - start, milliseconds(100));
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            " Audio library, wave file no found :\n" + (dir_ / "wav/2.wav"));
  EXPECT_EQ(g_WaveLoaded[1], 1u);
  EXPECT_EQ(g_WaveLoaded[2], 0u);
}

TEST_F(SoundManagerTest, NoDeviceMeansSilenceAndNoThread) {
  FakeOss::present = false;
  MemoryDevice::present = false;
  SoundManager* manager = SoundManager::Create(4);
  EXPECT_EQ(g_SoundEnabled, 0u);
  EXPECT_FALSE(snd_threadStarted());
  manager->Play(SoundShot);
  manager->SetPanMode(2);
  snd_exec();
  EXPECT_EQ(MemoryDevice::Updates(), 0u);
  delete manager;

  // A device that is there but cannot be opened.
  snd_resetState();
  FakeOss::present = true;
  FakeOss::openResult = -1;
  testing::internal::CaptureStderr();
  SoundManager busy(4);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "AOpenAudio() failed");
  EXPECT_EQ(g_SoundEnabled, 0u);
  EXPECT_FALSE(snd_threadStarted());
}

TEST_F(SoundManagerTest, PendingEffectsWaitForAFreeVoice) {
  ASSERT_EQ(snd_init(), 1u);
  // Effects outside the four, and any while sound is off, are dropped.
  for (i32 effect : {-1, 4, 19, 20, 32767}) snd_play(effect);
  snd_setSoundOn(0);
  snd_play(SoundBounce);
  EXPECT_EQ(Pending(), std::vector<u32>{});
  snd_setSoundOn(1);
  // Four effects in one cycle: effect n on voice n.
  for (i32 n = 3; n >= 0; --n) snd_play(n);
  snd_play(1);  // already pending: plays once
  snd_exec();
  EXPECT_EQ(Pending(), std::vector<u32>{});
  EXPECT_EQ(VoiceStatus(), (std::vector<u32>{0, 0, 0, 0}));

  // Every voice busy: effect 2 waits until one has played its 3000
  // samples, in the third buffer of 1024 frames.
  snd_play(2);
  MemoryDevice::Clear();
  snd_exec();
  // Centre panning: each voice at half level on both sides.
  const std::vector<i16> first = MemoryDevice::Samples16();
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ(first[0], (20 + 40 + 60 + 80) * 96);
  EXPECT_EQ(first[1], first[0]);
  snd_exec();
  EXPECT_EQ(Pending(), std::vector<u32>{2});
  snd_exec();
  EXPECT_EQ(Pending(), std::vector<u32>{});
  EXPECT_EQ(VoiceStatus(), (std::vector<u32>{0, 1, 1, 1}));
  u32 position = 0;
  AGetVoicePosition(g_EffectVoices[0], &position);
  EXPECT_EQ(position, 0u);  // voice 0 restarted with effect 2
  // Switching sound off drops what is pending.
  snd_play(SoundAlert);
  snd_setSoundOn(0);
  EXPECT_EQ(Pending(), std::vector<u32>{});
}

// The volume choice as heard, by the energy of each channel: centre, a
// little right, fully right, and centre for any other mode.
TEST_F(SoundManagerTest, PanModesPlaceTheEffects) {
  ASSERT_EQ(snd_init(), 1u);
  const u8 modes[] = {0, 1, 2, 7};
  double left[4] = {}, right[4] = {};
  for (int m = 0; m < 4; ++m) {
    snd_setPanMode(modes[m]);
    MemoryDevice::Clear();
    snd_play(SoundShot);
    for (int i = 0; i < 4; ++i) snd_exec();
    EXPECT_EQ(VoiceStatus()[0], 1u);  // played out
    const std::vector<i16> s = MemoryDevice::Samples16();
    for (size_t i = 0; i + 1 < s.size(); i += 2) {
      left[m] += double(s[i]) * s[i];
      right[m] += double(s[i + 1]) * s[i + 1];
    }
  }
  EXPECT_GT(left[0], 0);
  EXPECT_DOUBLE_EQ(left[0], right[0]);
  // 175: 21 rows right, 11 left.
  EXPECT_NEAR(std::sqrt(right[1] / left[1]), 21.0 / 11.0, 0.01);
  EXPECT_EQ(left[2], 0);
  EXPECT_NEAR(right[2], 4 * right[0], 0.01 * right[0]);
  EXPECT_DOUBLE_EQ(left[3], left[0]);
  EXPECT_DOUBLE_EQ(right[3], right[0]);
}

TEST_F(SoundManagerTest, ThreadPlaysEffectsAndStopsPromptly) {
  // Made and destroyed at once, again and again: never a deadlock.
  for (int i = 0; i < 20; ++i) {
    const Clock::time_point start = Clock::now();
    { SoundManager manager(4); }
    EXPECT_LT(Clock::now() - start, milliseconds(200));
    snd_resetState();
    MemoryDevice::Install();
  }
  SoundManager* manager = SoundManager::Create(4);
  ASSERT_TRUE(snd_threadStarted());
  manager->SetPanMode(2);
  manager->Play(SoundBounce);
  // The thread mixes a buffer every 20 ms; wait for the effect to sound.
  bool heard = false;
  for (int i = 0; i < 200 && !heard; ++i) {
    std::this_thread::sleep_for(milliseconds(10));
    const std::vector<i16> samples = MemoryDevice::Samples16();
    for (size_t k = 1; k < samples.size() && !heard; k += 2) heard = samples[k] == 40 * 192;
  }
  EXPECT_TRUE(heard);
  const Clock::time_point start = Clock::now();
  delete manager;
  EXPECT_LT(Clock::now() - start, milliseconds(200));
  EXPECT_EQ(g_SoundThreadState, 0u);
  EXPECT_FALSE(snd_threadStarted());
}

}  // namespace
