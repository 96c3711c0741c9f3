// bench-links: game
// The game's own logic per tick. The computer player's search runs five
// angles a tick for 32 ticks; on a full level-11 table (119 balls) each
// call must stay well under a millisecond.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "game/ball_fx.h"
#include "game/board.h"
#include "game/computer_player.h"
#include "game/shot.h"
#include "platform/fixed_math.h"
#include "ui/settings.h"

namespace {

// A full level-11 table on the Master skill, every ball at rest, with the
// cue ball on the shooting point.
struct FullTable {
  FullTable() {
    settings.Reset();
    settings.skill = kSkillMaster;
    settings.level = 11;
    settings.colourCount = Board::LevelColours(settings.skill, settings.level);
    board.LoadLevel();
    for (int r = 0; r < Board::kRows; ++r) {
      for (int c = 0; c < Board::kColumns; ++c) {
        if (board.Cell(r, c).colour) board.Cell(r, c).SetState(kBallAtRest);
      }
    }
    board.SetBallColour(cue, 1);
    cue.x = kShootX * 256;
    cue.y = kShootY * 256;
    cue.z = 10 * 256;
    cue.SetState(kBallAtRest);
  }

  SettingsRecord settings{};
  u32 general = 12345;
  u32 colour = 67890;
  BallFxSet fx{general};
  Board board{settings, general, colour, fx};
  Ball cue;
};

// One whole search (32 calls). Each call is one tick's share: reported are
// the mean time of the dearest call (the same angles every search) and the
// slowest single call seen.
void BM_ComputerSearch(benchmark::State& state) {
  static FullTable* table = new FullTable;
  ComputerPlayer player(table->board, table->cue, table->general, TrigTable());
  constexpr int kCalls = 32;
  double totalUs[kCalls] = {};
  double slowestUs = 0;
  for (auto _ : state) {
    player.ResetAim();
    for (int call = 0; call < kCalls; ++call) {
      const auto start = std::chrono::steady_clock::now();
      const u8 more = player.ComputerAim();
      const auto end = std::chrono::steady_clock::now();
      const double us = std::chrono::duration<double, std::micro>(end - start).count();
      totalUs[call] += us;
      slowestUs = std::max(slowestUs, us);
      if (!more) break;
    }
    benchmark::DoNotOptimize(player.bestAngle);
  }
  const double iterations = static_cast<double>(state.iterations());
  state.counters["dearest_call_us"] = *std::max_element(totalUs, totalUs + kCalls) / iterations;
  state.counters["slowest_call_us"] = slowestUs;
}
BENCHMARK(BM_ComputerSearch)->Unit(benchmark::kMicrosecond);

}  // namespace
