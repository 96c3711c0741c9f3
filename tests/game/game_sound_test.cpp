// The game's effects heard where they end up: the game runs in-process at
// its own pace with the sound manager on a stand-in OSS device, and the
// shot, bounce and match waves are found, in that order, in the bytes
// written to "/dev/dsp".
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "tests/audio/fake_oss.h"
#include "tests/game/game_rig.h"
#include "tests/support/wav_analysis.h"

namespace {

using audio_test::FakeOss;
using game_testing::GameRig;
namespace ts = testing_support;

// The game ticks every 20 ms, as the window runs it.
void PlayFor(GameRig& rig, int ticks) {
  auto next = std::chrono::steady_clock::now();
  for (int i = 0; i < ticks; ++i) {
    rig.Tick();
    next += std::chrono::milliseconds(20);
    std::this_thread::sleep_until(next);
  }
}

// The first 60 ms of effect n at the device's rate.
ts::Signal EffectStart(int n) {
  ts::PcmSound wave;
  const std::string path = std::string(DORRIMAC_BUILD_DIR) + "/wav/" + std::to_string(n) + ".wav";
  if (!ts::ReadWav(path, wave)) return {};
  const ts::Signal s = ts::Resample(ts::ToMono(wave), 44100);
  return s.Slice(0, 44100 * 60 / 1000);
}

// The effect whose start lines up best with the sound at an onset, or -1
// when none lines up well.
int EffectAt(const ts::Signal& heard, size_t onset, const std::vector<ts::Signal>& effects) {
  int best = -1;
  double bestCorrelation = 0.9;
  for (size_t n = 0; n < effects.size(); ++n) {
    const ts::Alignment a = ts::Align(heard, effects[n], onset, 300);
    if (a.correlation > bestCorrelation) {
      best = static_cast<int>(n);
      bestCorrelation = a.correlation;
    }
  }
  return best;
}

class GameSoundTest : public ::testing::Test {
 protected:
  void SetUp() override { FakeOss::Install(); }
  void TearDown() override {
    snd_resetState();
    FakeOss::Uninstall();
  }
};

TEST_F(GameSoundTest, ShotBounceAndMatchReachTheDevice) {
  std::vector<ts::Signal> effects;
  for (int n = 0; n < 4; ++n) effects.push_back(EffectStart(n));
  ASSERT_FALSE(effects[3].samples.empty()) << "the build writes wav/0..3.wav";
  std::vector<u8> written;
  {
    GameRig rig(101, [](SettingsRecord& s) { s.volume = 0; }, true);
    ASSERT_TRUE(snd_threadStarted());
    PlayFor(rig, 50);  // the title's alert dies away
    rig.game->NewGame();
    while (rig.game->State() != kStatePlayerAims && rig.ticks < 1000) PlayFor(rig, 1);
    // Two balls of the cue ball's colour in the top left corner; a shot
    // off the right cushion settles beside them.
    rig.ClearBoard();
    rig.Put(0, 0, rig.game->cueBall.colour);
    rig.Put(0, 1, rig.game->cueBall.colour);
    rig.Click(440, 312);
    while (rig.game->State() != kStateRemoval && rig.ticks < 2000) PlayFor(rig, 1);
    ASSERT_EQ(rig.game->State(), kStateRemoval);
    PlayFor(rig, 50);  // the match sound plays out
  }
  snd_resetState();
  written = FakeOss::Written();

  ts::PcmSound heard{44100, 2, std::vector<i16>(written.size() / 2)};
  std::memcpy(heard.samples.data(), written.data(), heard.samples.size() * 2);
  const ts::Signal mono = ts::ToMono(heard);
  std::vector<int> found;
  for (size_t onset : ts::FindOnsets(mono)) found.push_back(EffectAt(mono, onset, effects));
  EXPECT_EQ(found, (std::vector<int>{SoundAlert, SoundShot, SoundBounce, SoundMatch}));
}

}  // namespace
