// What the demo costs the processor: the game alone, ticked as fast as it
// goes, and the whole program (game and sound thread on the stand-in OSS
// device) at its own pace of 50 ticks a second. The figures are printed
// and kept as test properties; the bounds only catch a tick that would not
// fit its frame.
#include <gtest/gtest.h>

#include <time.h>

#include <chrono>
#include <cstdio>
#include <thread>

#include "tests/audio/fake_oss.h"
#include "tests/game/game_rig.h"

namespace {

using game_testing::GameRig;

// CPU time of the whole process, or of the calling thread alone.
double CpuMs(clockid_t clock = CLOCK_PROCESS_CPUTIME_ID) {
  timespec t{};
  clock_gettime(clock, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

TEST(GameCpuTest, DemoTicksAsFastAsTheyGo) {
  GameRig rig(131);
  rig.game->StartDemo();
  rig.Tick(200);
  constexpr int kTicks = 3000;
  const double start = CpuMs();
  rig.Tick(kTicks);
  const double perTick = (CpuMs() - start) / kTicks;
  std::printf("demo, game alone: %.3f ms of CPU per tick\n", perTick);
  RecordProperty("cpu_us_per_tick", static_cast<int>(perTick * 1000));
  EXPECT_LT(perTick, 10.0);  // half of the 20 ms frame, even under the sanitizers
}

TEST(GameCpuTest, WholeProgramAtFiftyTicksASecond) {
  audio_test::FakeOss::Install();
  {
    GameRig rig(137, [](SettingsRecord&) {}, true);
    rig.game->StartDemo();
    constexpr int kTicks = 150;  // three seconds
    const double start = CpuMs();
    const double gameStart = CpuMs(CLOCK_THREAD_CPUTIME_ID);
    const auto wallStart = std::chrono::steady_clock::now();
    auto next = wallStart;
    for (int i = 0; i < kTicks; ++i) {
      rig.Tick();
      next += std::chrono::milliseconds(20);
      std::this_thread::sleep_until(next);
    }
    const double cpu = CpuMs() - start;
    const double game = CpuMs(CLOCK_THREAD_CPUTIME_ID) - gameStart;
    const double wall =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wallStart)
            .count();
    std::printf(
        "demo, whole program: %.3f ms of CPU per tick (the game's thread %.3f ms), "
        "%.1f%% of one core\n",
        cpu / kTicks, game / kTicks, 100.0 * cpu / wall);
    RecordProperty("whole_cpu_us_per_tick", static_cast<int>(cpu / kTicks * 1000));
    EXPECT_LT(cpu / wall, 0.5);
  }
  snd_resetState();
  audio_test::FakeOss::Uninstall();
}

}  // namespace
