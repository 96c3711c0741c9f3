// bench-links: game
// One whole game tick while a shot flies with the spring lattice on: the
// state machine, the flight, the lattice step, the animations and the
// dirty redraw of the generated image bank into the 640 x 480 back buffer.
// Each flight starts from the same saved position, a full-power shot off
// the right cushion into the level's first table.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "audio/sound_manager.h"
#include "game/game.h"
#include "platform/record_file.h"
#include "platform/startup.h"
#include "ui/app_context.h"
#include "ui/settings.h"
#include "ui/wnd_manager.h"

namespace {

// The data the build generated lies next to the executable's directory.
bool FindData() {
  char exe[1024] = {};
  const ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
  if (n <= 0) return false;
  std::string dir(exe, static_cast<size_t>(n));
  for (int up = 0; up < 3; ++up) {
    dir = dir.substr(0, dir.rfind('/'));
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", dir.c_str());
    if (DataDirHolds(g_DataDir)) return true;
  }
  return false;
}

class BenchWindow : public IWndManager {
 public:
  u32 OnCommand(u8) override { return 1; }
};

struct Flight {
  Flight() {
    haveData = FindData();
    char user[] = "/tmp/dorrimac-tick-bench-XXXXXX";
    if (mkdtemp(user)) std::snprintf(g_UserDir, sizeof g_UserDir, "%s/", user);
    g_SoundEnabled = 0;  // no device, no sound thread
    window.CreateOffscreen(640, 480);
    window.IWndManager::OnCreate();
    window.context->generalRandom = 7;
    window.context->colourRandom = 11;
    game = GGame::Create(&window, window.GetImagePack(), window.GetClipList(),
                         window.GetDirtyList(), window.context);
    window.game = game;
    game->background = window.context->settings->background;
    game->clearFlag = 1;
    game->Activate();
    game->NewGame();
    Aim();
    game->SaveGame(kRecordAutosave);
  }

  void Aim() {
    for (int i = 0; i < 1000 && game->State() != kStatePlayerAims; ++i) game->Tick();
  }

  // The same shot from the same position again.
  void Shoot() {
    if (game->LoadGame(kRecordAutosave)) Aim();
    game->OnMouseDown(470, 11);  // full power
    game->OnMouseDown(440, 300);
  }

  bool haveData = false;
  BenchWindow window;
  GGame* game = nullptr;
};

void BM_FlightTick(benchmark::State& state) {
  static Flight* flight = new Flight;
  if (!flight->haveData) state.SkipWithError("no generated data next to the build");
  flight->Shoot();
  i64 flights = 1;
  for (auto _ : state) {
    if (flight->game->State() != kStateShot) {
      state.PauseTiming();
      flight->Shoot();
      ++flights;
      state.ResumeTiming();
    }
    flight->game->Tick();
  }
  state.counters["ticks_per_flight"] =
      benchmark::Counter(static_cast<double>(state.iterations()) / flights);
}
BENCHMARK(BM_FlightTick)->Unit(benchmark::kMicrosecond);

}  // namespace
