// The real game heard through a real sound server, as a player on a
// PulseAudio or PipeWire desktop hears it: a private daemon with a null
// sink, the OSS emulation preloaded into the game, and a recording of the
// sink compared with the game's own effect files.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "game/save_record.h"
#include "tests/e2e/prepared_settings.h"
#include "tests/support/game_run.h"
#include "tests/support/pulse_session.h"
#include "tests/support/wav_analysis.h"
#include "ui/settings.h"

using namespace testing_support;

namespace {

// A saved game in which a shot straight up lands between two red balls:
// (0, 10) and (0, 11) wait for a red cue ball in (1, 10), a cluster of
// three.
std::vector<unsigned char> ClusterGame() {
  SaveRecord r{};
  r.level = 0;
  r.currentColour = 1;
  r.nextColour = 2;
  r.colourCount = 4;
  r.cells[0][10] = 1;
  r.cells[0][11] = 1;
  r.cells[0][2] = 2;  // something left on the table after the cluster falls
  r.valid = 1;
  return std::vector<unsigned char>(r.Bytes(), r.Bytes() + kSaveRecordSize);
}

// An effect file of the game, as mono at the recording's rate.
Signal Effect(int number) {
  PcmSound wave;
  const std::string path = std::string(DORRIMAC_BUILD_DIR) + "/wav/" + std::to_string(number) + ".wav";
  EXPECT_TRUE(ReadWav(path, wave)) << path;
  return Resample(ToMono(wave), PulseSession::kRecordRate);
}

// The level the mixer gives an effect in the mono mix of the recording. An
// effect voice plays at volume 32 of 64; the Medium volume choice puts
// rows 21 and 11 of the mixer's volume table on the right and the left,
// and a row r scales a sample's high byte by r x 96 (the master) / 16:
// (21 + 11) / 2 x 6 / 256 = 0.375 of the wave on average.
constexpr double kMixGain = (21.0 + 11.0) / 2.0 * 96.0 / 16.0 / 256.0;

// Checks that `effect` is heard at `onset` of the recording: its first
// 100 ms sample for sample the same shape, and the whole of it at the level
// the mixer gives it and with its own spectrum. (A machine too busy to
// feed the device in time leaves a gap later in a long effect; the level
// and the spectrum still hold.)
void ExpectHeard(const Signal& heard, size_t onset, const Signal& effect, const char* what) {
  const size_t effectStart = FindOnsets(effect).at(0);
  const size_t around = onset > effectStart ? onset - effectStart : 0;
  const Signal head = effect.Slice(0, effectStart + effect.rate / 10);
  const Alignment fit = Align(heard, head, around, 90);
  EXPECT_GT(fit.correlation, 0.9) << what;
  const Signal part = heard.Slice(fit.offset, effect.samples.size());
  EXPECT_NEAR(RmsDb(part) - RmsDb(effect), 20 * std::log10(kMixGain), 1.5) << what;
  EXPECT_LT(BandDistance(BandEnergies(part, DefaultBandEdges()),
                         BandEnergies(effect, DefaultBandEdges())),
            0.1)
      << what;
}

class GameSound : public ::testing::Test {
 protected:
  // Starts the sound server and the game with the OSS emulation, recording
  // from before the game starts.
  void Start(u8 sound) {
    START_PULSE_OR_SKIP(pulse_);
    ASSERT_TRUE(pulse_.StartRecording()) << pulse_.Error();
    GameOptions options;
    options.env = pulse_.OssEnv();
    options.records[50] = PreparedSettings(1, sound);  // Pen
    options.records[0] = ClusterGame();
    START_GAME_OR_SKIP(run_, options);
  }

  // Leaves the title (the saved game resumes), waits for the table to rest,
  // then shoots straight up; returns the moment of the click.
  double ResumeAndShoot() {
    run_.Client().Click(run_.GameWindow(), 300, 300);
    // The red cue ball has rolled up to the shooting point and the table
    // rests: the game waits for the shot.
    bool ready = false;
    for (int i = 0; i < 300 && !ready; ++i) {
      const RgbImage shot = run_.Client().Grab(run_.GameWindow());
      const u8* p = shot.At(231, 469);
      ready = p[0] > 150 && p[1] < 90 && p[2] < 90;
      if (!ready) SleepMs(100);
    }
    if (!ready) run_.Screenshot("game-sound-not-ready");
    EXPECT_TRUE(ready) << "the cue ball never reached the shooting point";
    EXPECT_TRUE(run_.WaitStill(15000));
    run_.Client().MoveTo(run_.GameWindow(), 231, 60);
    SleepMs(50);
    const double clickMs = MonotonicMs();
    run_.Client().ButtonDown(1);
    run_.Client().ButtonUp(1);
    SleepMs(1500);  // the flight, the match and its chime
    return clickMs;
  }

  PulseSession pulse_;
  GameRun run_;
};

}  // namespace

TEST_F(GameSound, AlertShotAndMatchAreHeardPromptlyAsTheirOwnWaves) {
  Start(1);
  if (HasFatalFailure() || IsSkipped()) return;
  const double clickMs = ResumeAndShoot();
  const PcmSound recording = pulse_.StopRecording(ArtifactDir() + "/game-sound-shot.wav");
  // Shut-down with the sound thread running is prompt and complete.
  const double closeMs = MonotonicMs();
  run_.Client().SendDelete(run_.GameWindow());
  EXPECT_EQ(run_.WaitExit(5000), 0) << "the game should end cleanly with status 0";
  EXPECT_LT(MonotonicMs() - closeMs, 500);
  EXPECT_FALSE(run_.Process().Running());

  const Signal heard = ToMono(recording);
  const std::vector<size_t> onsets = FindOnsets(heard, {0.01, 60});
  ASSERT_EQ(onsets.size(), 3u) << "the title's alert, the shot and the match";
  ExpectHeard(heard, onsets[0], Effect(3), "alert");
  ExpectHeard(heard, onsets[1], Effect(0), "shot");
  ExpectHeard(heard, onsets[2], Effect(2), "match");

  // The shot reached the sink within 100 ms of the click.
  const double latencyMs = pulse_.FrameTimeMs(onsets[1]) - clickMs;
  std::printf("click to sink: %.1f ms\n", latencyMs);
  EXPECT_GT(latencyMs, 0);
  EXPECT_LT(latencyMs, 100);
  // The game is louder on the right at the Medium volume choice.
  double left = 0, right = 0;
  for (size_t i = 0; i + 1 < recording.samples.size(); i += 2) {
    left += double(recording.samples[i]) * recording.samples[i];
    right += double(recording.samples[i + 1]) * recording.samples[i + 1];
  }
  EXPECT_NEAR(10 * std::log10(right / left), 20 * std::log10(21.0 / 11.0), 1.0);
}

TEST_F(GameSound, SoundOffIsSilent) {
  Start(0);
  if (HasFatalFailure() || IsSkipped()) return;
  ResumeAndShoot();
  const PcmSound recording = pulse_.StopRecording();
  EXPECT_TRUE(IsSilent(ToMono(recording)));
}
