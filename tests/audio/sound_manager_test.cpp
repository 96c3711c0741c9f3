#include "audio/sound_manager.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <memory>
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

long MillisecondsSince(Clock::time_point start) {
  return static_cast<long>(
      std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

// Energy of the left and right channels of a stereo rendering.
struct Energy {
  double left = 0;
  double right = 0;
};

Energy Measure(const std::vector<i16>& samples) {
  Energy e;
  for (size_t i = 0; i + 1 < samples.size(); i += 2) {
    e.left += double(samples[i]) * samples[i];
    e.right += double(samples[i + 1]) * samples[i + 1];
  }
  return e;
}

class SoundManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    snd_resetState();
    FakeOss::Install();
    MemoryDevice::Install();
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", dir_.Path().c_str());
    // Effect n: 3000 samples (68 ms) of the value 20 * (n + 1).
    for (int n = 0; n < 4; ++n) WriteWave(n, 3000);
  }
  void TearDown() override {
    snd_resetState();
    FakeOss::Uninstall();
    MemoryDevice::present = true;
  }

  void WriteWave(int n, size_t samples) {
    const Bytes data(samples, static_cast<u8>(128 + 20 * (n + 1)));
    ASSERT_TRUE(WriteFile(dir_ / ("wav/" + std::to_string(n) + ".wav"), PcmWave(1, 44100, 8, data)));
  }

  static std::vector<u32> VoiceStatus() {
    std::vector<u32> status;
    for (u32 i = 0; i < g_EffectVoiceCount; ++i) {
      u32 s = 9;
      AGetVoiceStatus(g_EffectVoices[i], &s);
      status.push_back(s);
    }
    return status;
  }

  static std::vector<u32> Pending() {
    std::vector<u32> pending;
    for (u32 i = 0; i < 4; ++i) pending.push_back(g_PendingEffects[i]);
    return pending;
  }

  TempDir dir_;
};

TEST_F(SoundManagerTest, OpensTheDeviceAndLoadsTheWaves) {
  ASSERT_EQ(snd_init(), 1u);
  EXPECT_EQ(g_SoundEnabled, 1u);
  EXPECT_EQ(MemoryDevice::opened.format, 0x0101);
  EXPECT_EQ(MemoryDevice::opened.rate, 44100);
  EXPECT_EQ(g_SndAudioInfo.deviceId, kMemoryDeviceId);
  ASSERT_EQ(g_EffectVoiceCount, 4u);
  for (u32 i = 0; i < 4; ++i) {
    EXPECT_EQ(g_EffectVoices[i], i + 1);
    EXPECT_EQ(g_WaveLoaded[i], 1u);
    u32 value = 0;
    AGetVoiceVolume(g_EffectVoices[i], &value);
    EXPECT_EQ(value, 64u);
    AGetVoicePanning(g_EffectVoices[i], &value);
    EXPECT_EQ(value, 128u);
  }
  EXPECT_EQ(g_EffectWaves[2]->length, 3000u);
}

TEST_F(SoundManagerTest, MissingWaveStopsTheStart) {
  std::remove((dir_ / "wav/2.wav").c_str());
  testing::internal::CaptureStderr();
  const Clock::time_point start = Clock::now();
  {
    SoundManager manager(4);
    EXPECT_FALSE(snd_threadStarted());
  }
  EXPECT_LT(MillisecondsSince(start), 100);
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            " Audio library, wave file no found :\n" + (dir_ / "wav/2.wav"));
  EXPECT_EQ(g_WaveLoaded[0], 1u);
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
  // Four effects in one cycle: effect n on voice n.
  for (i32 n = 3; n >= 0; --n) snd_play(n);
  snd_play(1);  // already pending: plays once
  snd_exec();
  EXPECT_EQ(Pending(), (std::vector<u32>{0, 0, 0, 0}));
  EXPECT_EQ(VoiceStatus(), (std::vector<u32>{0, 0, 0, 0}));

  // Every voice busy: effect 2 waits until one has played its 3000
  // samples, in the third buffer of 1024 frames.
  snd_play(2);
  MemoryDevice::Clear();
  snd_exec();
  const std::vector<i16> first = MemoryDevice::Samples16();
  // Centre panning: each voice at half level on both sides.
  const i16 expected = static_cast<i16>((20 + 40 + 60 + 80) * 96);
  ASSERT_GE(first.size(), 2u);
  EXPECT_EQ(first[0], expected);
  EXPECT_EQ(first[1], expected);
  snd_exec();
  EXPECT_EQ(Pending(), (std::vector<u32>{0, 0, 1, 0}));
  snd_exec();
  EXPECT_EQ(Pending(), (std::vector<u32>{0, 0, 0, 0}));
  EXPECT_EQ(VoiceStatus(), (std::vector<u32>{0, 1, 1, 1}));
  u32 position = 0;
  AGetVoicePosition(g_EffectVoices[0], &position);
  EXPECT_EQ(position, 0u);  // voice 0 restarted with effect 2
}

TEST_F(SoundManagerTest, PlayIgnoresUnknownEffectsAndSoundOff) {
  ASSERT_EQ(snd_init(), 1u);
  snd_play(-1);
  snd_play(4);
  snd_play(20);
  snd_play(32767);
  for (const auto& pending : g_PendingEffects) EXPECT_EQ(pending, 0u);
  snd_play(SoundMatch);
  snd_setSoundOn(0);
  EXPECT_EQ(Pending(), (std::vector<u32>{0, 0, 0, 0}));
  snd_play(SoundBounce);
  snd_exec();
  snd_exec();
  EXPECT_EQ(VoiceStatus(), (std::vector<u32>{1, 1, 1, 1}));
  snd_setSoundOn(1);
  snd_play(SoundAlert);
  EXPECT_EQ(Pending(), (std::vector<u32>{0, 0, 0, 1}));
}

// The volume choice as heard: centre, a little right, fully right.
TEST_F(SoundManagerTest, PanModesPlaceTheEffects) {
  ASSERT_EQ(snd_init(), 1u);
  std::vector<Energy> energies;
  for (u8 mode : {0, 1, 2, 7}) {
    snd_setPanMode(mode);
    MemoryDevice::Clear();
    snd_play(SoundShot);
    for (int i = 0; i < 4; ++i) snd_exec();
    energies.push_back(Measure(MemoryDevice::Samples16()));
    EXPECT_EQ(VoiceStatus()[0], 1u);
  }
  EXPECT_GT(energies[0].left, 0);
  EXPECT_DOUBLE_EQ(energies[0].left, energies[0].right);
  // 175: 21 rows right, 11 left.
  EXPECT_NEAR(std::sqrt(energies[1].right / energies[1].left), 21.0 / 11.0, 0.01);
  EXPECT_EQ(energies[2].left, 0);
  EXPECT_NEAR(energies[2].right, 4 * energies[0].right, 0.01 * energies[0].right);
  EXPECT_DOUBLE_EQ(energies[3].left, energies[0].left);
  EXPECT_DOUBLE_EQ(energies[3].right, energies[0].right);
}

TEST_F(SoundManagerTest, ThreadPlaysEffectsAndStopsPromptly) {
  // Made and destroyed at once, again and again: never a deadlock.
  for (int i = 0; i < 20; ++i) {
    snd_resetState();
    MemoryDevice::Install();
    const Clock::time_point start = Clock::now();
    { SoundManager manager(4); }
    EXPECT_LT(MillisecondsSince(start), 200);
  }

  snd_resetState();
  MemoryDevice::Install();
  SoundManager* manager = SoundManager::Create(4);
  ASSERT_TRUE(snd_threadStarted());
  manager->SetPanMode(2);
  manager->Play(SoundBounce);
  // The thread mixes a buffer every 20 ms; wait for the effect to sound.
  bool heard = false;
  for (int i = 0; i < 200 && !heard; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const std::vector<i16> samples = MemoryDevice::Samples16();
    for (size_t k = 1; k < samples.size() && !heard; k += 2) heard = samples[k] == (40 * 32 * 96) >> 4;
  }
  EXPECT_TRUE(heard);
  EXPECT_GT(MemoryDevice::Updates(), 0u);
  const Clock::time_point start = Clock::now();
  delete manager;
  EXPECT_LT(MillisecondsSince(start), 200);
  EXPECT_EQ(g_SoundThreadState, 0u);
  EXPECT_FALSE(snd_threadStarted());
}

TEST_F(SoundManagerTest, ResolvesPathsUnderTheDataDirectory) {
  EXPECT_EQ(snd_resolvePath("wav/1.wav"), dir_ / "wav/1.wav");
  EXPECT_EQ(snd_resolvePath("wav"), "");  // a directory
  EXPECT_EQ(snd_resolvePath("wav/9.wav"), "");
  EXPECT_EQ(snd_resolvePath(nullptr), "");
  EXPECT_EQ(snd_resolvePath("/no/such/file"), "/no/such/file");
}

}  // namespace
