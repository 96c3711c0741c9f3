// The module player checked from outside: songs built with the module
// writer played once through modrender's code side by side with libxmp
// (the row sequence, the notes and instruments, held pitches and the pass
// length), the mixer's output of two notes against its own formulas, the
// modrender tool itself, and the real modules of Debian's game data
// packages against libxmp's and libopenmpt's song lengths.
#include "tools/modrender/module_render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "audio/module.h"
#include "tests/support/process.h"
#include "tools/common/module_peer.h"
#include "tools/common/module_songs.h"
#include "tools/common/real_modules.h"

using modwriter::Format;
using testing_support::ChildProcess;
using testing_support::TempDir;

namespace {

struct ChannelState {
  u8 note = 0;
  u8 instrument = 0;
  u32 hertz = 0;        // the mixer voice's frequency
  u32 period = 0;       // the player's final period
  bool bent = false;    // a pitch effect or auto-vibrato since the last note
  bool ported = false;  // the note came with a tone portamento
};

struct Played {
  u32 code = AUDIO_ERROR_NONE;
  modrender::Result result;
  std::vector<std::vector<ChannelState>> rows;
};

bool BendsPitch(const AudioTrackInfo& t) {
  const u8 x = t.param >> 4;
  switch (t.command) {
    case 0x0: return t.param != 0;
    case 0x1:
    case 0x2:
    case 0x3:
    case 0x4:
    case 0x5:
    case 0x6:
    case 30:
    case 33: return true;
    case 0xE: return x == 1 || x == 2 || x == 5;
    default: return false;
  }
}

// Plays a file through the library once, reading every channel's note,
// instrument and voice frequency on the tick that starts each row.
Played PlayOnce(const std::string& path, bool keepAudio) {
  Played played;
  std::vector<ChannelState> channels(kAudioMaxVoices);
  modrender::Options options;
  options.keepAudio = keepAudio;
  options.onRow = [&](const modrender::RowEvent&) {
    for (u32 c = 0; c < channels.size(); ++c) {
      AudioTrackInfo track;
      if (AGetModuleTrack(c, &track) != AUDIO_ERROR_NONE) break;
      ChannelState& s = channels[c];
      // A note (re)starting on this row sounds unbent until an effect bends it.
      if (track.note != s.note || (track.command == 0 && track.param == 0)) s.bent = false;
      // A tone portamento's note is its target; libxmp keeps naming the
      // note it slides from until the next note starts.
      const bool porta = track.command == 3 || track.command == 5 || track.volumeColumn >= 0xF0;
      if (porta)
        s.ported = true;
      else if (track.note != s.note)
        s.ported = false;
      s.note = track.note;
      s.period = track.period;
      s.instrument = track.instrument;
      if (BendsPitch(track) || (track.instrumentData && track.instrumentData->vibratoDepth))
        s.bent = true;
      AGetVoiceFrequency(c + 1, &s.hertz);
    }
    played.rows.push_back(channels);
  };
  played.code = modrender::RenderFile(path.c_str(), options, &played.result);
  return played;
}

double Hertz(const modpeer::Channel& c) {
  return c.period ? 8363.0 * 428.0 * 4096.0 / c.period : 0;
}

TEST(ModuleRender, FeatureSongsPlayAsLibxmpPlaysThem) {
  TempDir dir;
  for (Format format : {Format::XM, Format::S3M, Format::MOD, Format::MTM}) {
    SCOPED_TRACE(modwriter::FormatName(format));
    const std::vector<u8> bytes = modwriter::Write(format, modwriter::FeatureSong(format));
    const std::string path = dir / (std::string("features.") + modwriter::FormatName(format));
    ASSERT_TRUE(modwriter::SaveFile(path, bytes));
    const Played ours = PlayOnce(path, false);
    ASSERT_EQ(ours.code, AUDIO_ERROR_NONE);
    modpeer::Pass peer;
    ASSERT_TRUE(modpeer::XmpPass(bytes, &peer, true));

    // One pass: the same rows in the same order, ending the same way.
    ASSERT_EQ(ours.result.rows.size(), peer.rows.size());
    EXPECT_NE(ours.result.end, modrender::PassEnd::Limit);
    int noteOffset = 1000, checkedPitches = 0;
    for (size_t i = 0; i < peer.rows.size(); ++i) {
      const modrender::RowEvent& row = ours.result.rows[i];
      ASSERT_EQ(row.order, u32(peer.rows[i].order)) << "row " << i;
      ASSERT_EQ(row.row, u32(peer.rows[i].row)) << "row " << i;
      for (u32 c = 0; c < peer.rows[i].channels.size(); ++c) {
        const modpeer::Channel& theirs = peer.rows[i].channels[c];
        const ChannelState& mine = ours.rows[i][c];
        if (theirs.note == 255 || mine.ported) continue;  // 255: nothing played on it yet
        // Notes equal after one offset per format, instruments 1-based.
        if (noteOffset == 1000) noteOffset = int(mine.note) - int(theirs.note);
        EXPECT_EQ(int(mine.note) - int(theirs.note), noteOffset)
            << "order " << row.order << " row " << row.row << " channel " << c;
        EXPECT_EQ(mine.instrument, theirs.instrument + 1)
            << "order " << row.order << " row " << row.row << " channel " << c;
        // A held note sounds at the same pitch within the rounding of the
        // mixer's 20.12 step (and, with Amiga periods, of the player's
        // whole-number period, which libxmp keeps as a fraction).
        if (!mine.bent && mine.hertz && theirs.period) {
          const double periodRounding = format == Format::XM ? 0 : Hertz(theirs) / mine.period;
          EXPECT_NEAR(double(mine.hertz), Hertz(theirs), 44100.0 / 8192 + 1.5 + periodRounding)
              << "order " << row.order << " row " << row.row << " channel " << c;
          ++checkedPitches;
        }
      }
    }
    EXPECT_GT(checkedPitches, 100);
    const double ms = ours.result.passFrames * 1000.0 / modrender::kRate;
    EXPECT_NEAR(ms, peer.ms, peer.ms * 0.005);
  }
}

// A voice as the mixer plays it: note, sample volume and panning.
struct MixVoice {
  u8 note;
  u8 volume;
  u8 panning;
};

// The mixer's formulas: step = (rate / 2 + f x 4096) / rate; a voice's row
// L = volume / 2 and V[L][x] = (x x L x 96) >> 4; panning below 16 left
// only, 120..135 half on each side, 240 and up right only, else r =
// (L x pan) >> 8 and l = L - r.
i32 Table(i32 x, i32 row) { return (x * row * 96) >> 4; }

void AddVoice(const MixVoice& v, i32 x, i32* left, i32* right) {
  const i32 row = v.volume / 2;
  if (v.panning < 16) {
    *left += Table(x, row);
  } else if (v.panning >= 120 && v.panning <= 135) {
    *left += Table(x, row >> 1);
    *right += Table(x, row >> 1);
  } else if (v.panning >= 240) {
    *right += Table(x, row);
  } else {
    const i32 r = (row * v.panning) >> 8;
    *left += Table(x, row - r);
    *right += Table(x, r);
  }
}

// Every output frame of one row of notes is the sum the mixer's formulas
// give for the sample bytes under the voices' 20.12 positions.
TEST(ModuleRender, MixedFramesFollowTheMixerFormulas) {
  const std::vector<std::vector<MixVoice>> cases = {
      {{49, 64, 0}, {61, 40, 255}},   // one voice on each side
      {{49, 64, 128}},                // centre: half on each side
      {{55, 50, 64}, {37, 64, 200}},  // shared between the sides
  };
  TempDir dir;
  for (const auto& voices : cases) {
    SCOPED_TRACE(voices.size());
    modwriter::Song song;
    song.channels = static_cast<u16>(voices.size());
    song.orders = {0};
    modwriter::Pattern pattern(4, song.channels);
    for (u32 i = 0; i < voices.size(); ++i) {
      pattern.At(0, i) = {voices[i].note, static_cast<u8>(i + 1), 0, 0, 0};
      modwriter::Instrument in;
      modwriter::Sample s;
      for (int k = 0; k < 3000; ++k)
        s.pcm.push_back(static_cast<i16>(((k * (7 + 6 * i)) % 250) - 125 + (k == 0)));
      s.panning = voices[i].panning;
      s.volume = voices[i].volume;
      in.samples = {s};
      song.instruments.push_back(in);
    }
    song.patterns = {pattern};
    ASSERT_TRUE(modwriter::SaveFile(dir / "mix.xm", modwriter::WriteXM(song)));
    const Played played = PlayOnce(dir / "mix.xm", true);
    ASSERT_EQ(played.code, AUDIO_ERROR_NONE);
    const std::vector<i16>& audio = played.result.audio;
    size_t start = 0;
    while (start < audio.size() && audio[start] == 0) ++start;
    start &= ~size_t(1);
    ASSERT_LT(start + 4000, audio.size());
    std::vector<u32> steps;
    for (const MixVoice& v : voices) {
      // Linear frequency of a note: 8363 x 2^((note - 49) / 12) Hz, as the
      // player hands it to the mixer.
      const u32 hertz = static_cast<u32>(8363.0 * std::pow(2.0, (v.note - 49) / 12.0) + 0.5);
      steps.push_back((44100 / 2 + hertz * 4096) / 44100);
    }
    EXPECT_EQ(steps[0], voices[0].note == 49 ? 777u : steps[0]);
    for (u32 k = 0; k < 2000; ++k) {
      i32 left = 0, right = 0;
      for (u32 i = 0; i < voices.size(); ++i) {
        const i32 x = song.instruments[i].samples[0].pcm[(u64(k) * steps[i]) >> 12];
        AddVoice(voices[i], x, &left, &right);
      }
      ASSERT_EQ(audio[start + 2 * k], left) << "frame " << k;
      ASSERT_EQ(audio[start + 2 * k + 1], right) << "frame " << k;
    }
  }
}

TEST(ModuleRender, ToolWritesTheWaveAndTracesEveryRow) {
  TempDir dir;
  const std::string module = dir / "features.xm";
  ASSERT_TRUE(modwriter::SaveFile(module, modwriter::WriteXM(modwriter::FeatureSong(Format::XM))));
  const std::vector<u8> junk(3000, 0x41);
  ASSERT_TRUE(modwriter::SaveFile(dir / "junk.mod", junk));
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* stderrText;
  };
  const Case cases[] = {
      {{"--trace", module, dir / "out.wav"}, 0, "rows"},
      {{dir / "junk.mod", dir / "junk.wav"}, 1, "Bad file format"},
      {{dir / "absent.xm", dir / "absent.wav"}, 1, "File not found"},
      {{module}, 2, "usage"},
  };
  std::string trace;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0]);
    std::vector<std::string> argv = {MODRENDER_EXE};
    argv.insert(argv.end(), c.args.begin(), c.args.end());
    ChildProcess child;
    ASSERT_TRUE(child.Start(argv, {}, "", dir / "stdout", dir / "stderr"));
    const auto status = child.Wait(60000);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(ChildProcess::ExitCode(*status), c.status);
    const std::string errors = testing_support::ReadFile(dir / "stderr");
    EXPECT_NE(errors.find(c.stderrText), std::string::npos) << errors;
    if (trace.empty()) trace = testing_support::ReadFile(dir / "stdout");
  }
  // One trace line per row played, and the sound in a 16-bit stereo wave.
  const Played direct = PlayOnce(module, false);
  EXPECT_EQ(size_t(std::count(trace.begin(), trace.end(), '\n')), direct.result.rows.size());
  EXPECT_EQ(trace.substr(0, 16), "order 0 row 0\nor");
  const std::string wave = testing_support::ReadFile(dir / "out.wav");
  ASSERT_GT(wave.size(), 44u);
  EXPECT_EQ(wave.substr(0, 4), "RIFF");
  EXPECT_EQ((wave.size() - 44) / 4, direct.result.renderedFrames);
}

// Each pass of a real module lasts what an independent player says the
// song lasts: libxmp's length, or libopenmpt's where the two disagree.
TEST(ModuleRender, RealModulesPlayOncePassesAsLongAsTheirSongs) {
  modpeer::RealModules real;
  for (const std::string& package : real.Missing())
    std::printf("[ SKIPPED  ] %s could not be fetched\n", package.c_str());
  if (real.Files().empty()) GTEST_SKIP() << "no package with modules could be fetched";
  if (real.Missing().empty()) {
    EXPECT_EQ(real.Files().size(), 11u);
  }
  for (const std::string& path : real.Files()) {
    SCOPED_TRACE(path);
    const Played played = PlayOnce(path, false);
    ASSERT_EQ(played.code, AUDIO_ERROR_NONE);
    EXPECT_NE(played.result.end, modrender::PassEnd::Limit);
    const std::vector<u8> bytes = modpeer::ReadFile(path);
    const double ours = played.result.passFrames * 1000.0 / modrender::kRate;
    const double xmp = modpeer::XmpLengthMs(bytes), openmpt = modpeer::OpenmptLengthMs(bytes);
    const bool peersAgree = std::fabs(xmp - openmpt) <= 0.02 * xmp;
    const double reference = peersAgree ? xmp : openmpt;
    std::printf("%-40s rows %6zu  ours %9.0f ms  libxmp %9.0f ms  libopenmpt %9.0f ms\n",
                path.substr(path.find_last_of('/') + 1).c_str(), played.result.rows.size(), ours,
                xmp, openmpt);
    EXPECT_NEAR(ours, reference, 0.02 * reference);
  }
}

}  // namespace
