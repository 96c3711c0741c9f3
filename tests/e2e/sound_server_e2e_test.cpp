// An OSS program heard through a real sound server: a private PulseAudio
// daemon with a null sink, the OSS emulation library preloaded into the
// stand-in player, and a recording of the sink's monitor compared with the
// source wave: the onsets of its notes, its level, its spectrum, and how
// long after its first write the sound reached the sink.
#include <signal.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>
#include <sstream>

#include "tests/support/pulse_session.h"
#include "tests/support/wav_analysis.h"
#include "tests/support/x_session.h"

using namespace testing_support;

namespace {

// A sine note with 3 ms fades at both ends, so that no click spreads its
// energy over the spectrum.
void AppendNote(Signal& s, double hz, int ms, double amplitude) {
  const size_t count = static_cast<size_t>(s.rate) * ms / 1000;
  const double fade = s.rate * 0.003;
  for (size_t i = 0; i < count; ++i) {
    const double envelope = std::min({1.0, i / fade, (count - i) / fade});
    s.samples.push_back(amplitude * envelope * std::sin(2 * M_PI * hz * i / s.rate));
  }
}

// Two notes an octave apart with a gap between them, as an effect file
// would be: 16-bit mono at 22050 Hz.
PcmSound Jingle() {
  Signal s;
  s.rate = 22050;
  AppendNote(s, 660, 120, 0.5);
  s.samples.insert(s.samples.end(), s.rate * 60 / 1000, 0.0);
  AppendNote(s, 1320, 160, 0.4);
  return ToPcm(s, 1);
}

// The value after `key` in the stand-in's report, NaN when absent.
double Reported(const std::string& report, const std::string& key) {
  std::istringstream lines(report);
  std::string name;
  double value;
  while (lines >> name >> value) {
    if (name == key) return value;
  }
  return NAN;
}

bool Gone(pid_t pid) { return pid > 0 && kill(pid, 0) != 0 && errno == ESRCH; }

}  // namespace

TEST(SoundServer, OssProgramIsHeardInTheSinkPromptlyAndUnchanged) {
  PulseSession pulse;
  START_PULSE_OR_SKIP(pulse);
  TempDir dir;
  const PcmSound jingle = Jingle();
  ASSERT_TRUE(WriteFile(dir / "jingle.wav", EncodeWav(jingle)));
  ASSERT_TRUE(pulse.StartRecording()) << pulse.Error();

  // A second of silence before the jingle: a device queue that grew with
  // every write would show in the latency by then.
  ChildProcess player;
  ASSERT_TRUE(player.Start({DORRIMAC_OSS_TONE, dir / "jingle.wav", "1000", "200"}, pulse.OssEnv(),
                           "", dir / "player.out", dir / "player.err"));
  const auto status = player.Wait(10000);
  ASSERT_TRUE(status) << "the player did not finish";
  ASSERT_EQ(ChildProcess::ExitCode(*status), 0) << ReadFile(dir / "player.err");
  SleepMs(50);  // the last blocks of the monitor on their way
  const PcmSound recording = pulse.StopRecording(ArtifactDir() + "/sound-server-jingle.wav");

  const std::string report = ReadFile(dir / "player.out");
  EXPECT_EQ(Reported(report, "rate"), PulseSession::kRecordRate) << report;
  const double soundStartMs = Reported(report, "sound-start-ms");
  ASSERT_FALSE(std::isnan(soundStartMs)) << report;

  const Signal heard = ToMono(recording);
  const Signal source = Resample(ToMono(jingle), heard.rate);
  const std::vector<size_t> sourceOnsets = FindOnsets(source);
  const std::vector<size_t> heardOnsets = FindOnsets(heard);
  ASSERT_EQ(sourceOnsets.size(), 2u);
  ASSERT_EQ(heardOnsets.size(), 2u) << "the recording should hold the two notes and nothing else";
  // The notes keep their spacing to the sample.
  EXPECT_NEAR(static_cast<double>(heardOnsets[1] - heardOnsets[0]),
              static_cast<double>(sourceOnsets[1] - sourceOnsets[0]), 2);

  // The sound's first frame reached the sink soon after it was written.
  ASSERT_GE(heardOnsets[0], sourceOnsets[0]);
  const size_t start = heardOnsets[0] - sourceOnsets[0];
  const double latencyMs = pulse.FrameTimeMs(start) - soundStartMs;
  std::printf("write to sink: %.1f ms; deepest device queue: %.0f bytes\n", latencyMs,
              Reported(report, "max-queued-bytes"));
  EXPECT_GT(latencyMs, 0);
  EXPECT_LT(latencyMs, 100);

  // Sample for sample the same wave, at the same level and spectrum.
  const Alignment fit = Align(heard, source, start, 50);
  EXPECT_GT(fit.correlation, 0.99);
  EXPECT_NEAR(static_cast<double>(fit.offset), static_cast<double>(start), 2);
  const Signal heardJingle = heard.Slice(fit.offset, source.samples.size());
  EXPECT_NEAR(RmsDb(heardJingle), RmsDb(source), 0.5);
  EXPECT_LT(BandDistance(BandEnergies(heardJingle, DefaultBandEdges()),
                         BandEnergies(source, DefaultBandEdges())),
            0.05);
  // Each note in its own place: the low one first.
  const size_t gap = sourceOnsets[1] - sourceOnsets[0];
  const auto lowShare = BandEnergies(heard.Slice(heardOnsets[0], gap), {500, 1000, 2000});
  const auto highShare = BandEnergies(heard.Slice(heardOnsets[1], gap), {500, 1000, 2000});
  EXPECT_GT(lowShare[0], 0.95);
  EXPECT_GT(highShare[1], 0.95);
  EXPECT_TRUE(IsSilent(heard.Slice(fit.offset + source.samples.size() + heard.rate / 200,
                                   heard.samples.size())));
}

TEST(SoundServer, IdleSinkRecordsSilenceInRealTimeAndShutsDownCleanly) {
  pid_t server = -1, recorder = -1;
  {
    PulseSession pulse;
    START_PULSE_OR_SKIP(pulse);
    server = pulse.DaemonPid();
    ASSERT_TRUE(pulse.StartRecording()) << pulse.Error();
    recorder = pulse.RecorderPid();
    const double from = MonotonicMs();
    SleepMs(400);
    const PcmSound recording = pulse.StopRecording();
    const double elapsed = MonotonicMs() - from;
    EXPECT_TRUE(IsSilent(ToMono(recording)));
    // The sink's clock is ours: the recording covers the time it ran, and
    // its timeline ends no later than now.
    EXPECT_NEAR(recording.DurationMs(), elapsed, 60);
    EXPECT_LE(pulse.FrameTimeMs(recording.Frames()), MonotonicMs());
    EXPECT_GT(pulse.FrameTimeMs(recording.Frames()), MonotonicMs() - 100);
  }
  EXPECT_TRUE(Gone(server)) << "the sound server outlived its session";
  EXPECT_TRUE(Gone(recorder)) << "the recorder outlived its session";
}
