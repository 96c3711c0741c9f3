// bench-links: module_render module_peer tools_common
// Renders the same tracker modules once through this library's module
// player and mixer and once through libxmp (nearest-neighbour mixing, no
// DSP effects), both at 44.1 kHz 16-bit stereo, and reports how many
// times faster than real time each runs (in the thread's CPU time) and
// their ratio ("speedup" above 1 means this player is faster). The modules
// are the writer's busy songs of 4 to 32 channels and, where Debian's game
// data packages can be fetched, the real modules they ship.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "tools/common/module_peer.h"
#include "tools/common/module_songs.h"
#include "tools/common/real_modules.h"
#include "tools/modrender/module_render.h"

namespace {

// The thread's own CPU time: other work on a busy machine does not count
// against either player.
double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return t.tv_sec + t.tv_nsec * 1e-9;
}

struct Subject {
  std::string name;
  std::vector<u8> bytes;
};

std::vector<Subject> Subjects() {
  using modwriter::Format;
  std::vector<Subject> subjects = {
      {"busy_4ch.mod", modwriter::WriteMOD(modwriter::BusySong(4, false))},
      {"busy_8ch.xm", modwriter::WriteXM(modwriter::BusySong(8, true))},
      {"busy_16ch.s3m", modwriter::WriteS3M(modwriter::BusySong(16, false))},
      {"busy_32ch.xm", modwriter::WriteXM(modwriter::BusySong(32, true))},
  };
  modpeer::RealModules real;
  for (const std::string& missing : real.Missing())
    std::fprintf(stderr, "module_bench: %s could not be fetched; its modules are left out\n",
                 missing.c_str());
  for (const std::string& path : real.Files())
    subjects.push_back({path.substr(path.find_last_of('/') + 1), modpeer::ReadFile(path)});
  return subjects;
}

// Loads a module through the library, from a temporary file.
AudioModule* Load(const std::vector<u8>& bytes) {
  char path[] = "/tmp/module-bench-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return nullptr;
  const bool written = write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
  close(fd);
  AudioModule* module = nullptr;
  if (!written || ALoadModuleFile(path, &module, 0) != AUDIO_ERROR_NONE) module = nullptr;
  unlink(path);
  return module;
}

void BM_PlayerVersusLibxmp(benchmark::State& state, const Subject* subject) {
  if (modrender::OpenRenderDevice() != AUDIO_ERROR_NONE) {
    state.SkipWithError("the render device does not open");
    return;
  }
  AudioModule* module = Load(subject->bytes);
  modpeer::XmpRenderer peer(subject->bytes);
  if (!module || !peer.Loaded()) {
    if (module) AFreeModuleFile(module);
    modrender::CloseRenderDevice();
    state.SkipWithError(module ? "libxmp does not load it" : "the player does not load it");
    return;
  }
  modrender::Options options;
  options.keepAudio = false;
  double ourSeconds = 0, peerSeconds = 0, ourSound = 0, peerSound = 0;
  bool oursFirst = true;
  for (auto _ : state) {
    // The two take turns at going first, so neither always finds the
    // caches warm.
    for (int turn = 0; turn < 2; ++turn) {
      const double start = CpuSeconds();
      if ((turn == 0) == oursFirst) {
        modrender::Result result;
        modrender::RenderModule(module, options, &result);
        ourSeconds += CpuSeconds() - start;
        ourSound += double(result.renderedFrames) / modrender::kRate;
      } else {
        const u64 peerFrames = peer.RenderPass();
        peerSeconds += CpuSeconds() - start;
        peerSound += double(peerFrames) / modrender::kRate;
      }
    }
    oursFirst = !oursFirst;
  }
  AFreeModuleFile(module);
  modrender::CloseRenderDevice();
  const double ours = ourSound / ourSeconds, theirs = peerSound / peerSeconds;
  state.counters["player_x_realtime"] = ours;
  state.counters["libxmp_x_realtime"] = theirs;
  state.counters["speedup"] = ours / theirs;
  state.counters["seconds"] = ourSound / state.iterations();
}

const bool kRegistered = [] {
  static const std::vector<Subject> subjects = Subjects();
  for (const Subject& subject : subjects)
    benchmark::RegisterBenchmark(("BM_PlayerVersusLibxmp/" + subject.name).c_str(),
                                 BM_PlayerVersusLibxmp, &subject)
        ->Unit(benchmark::kMillisecond)
        ->MinTime(1.0);
  return true;
}();

}  // namespace
