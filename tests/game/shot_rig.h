// A board with a cue ball, a next ball and a shot, without the game object,
// for the flight and soak tests. Sounds are recorded instead of played.
#pragma once

#include <algorithm>
#include <memory>
#include <vector>

#include "game/aimer.h"
#include "game/shot.h"
#include "tests/game/board_rig.h"

struct ShotRig {
  explicit ShotRig(u32 seed = 1) : rig(MakeRig(seed)) {
    shot.sound = [this](short effect) { sounds.push_back(effect); };
    aimer.Init(1, kShootX * 256, kShootY * 256, 0);
    PlaceCue(1);
  }

  Board& board() { return rig->board; }

  // The cue ball of the colour at rest on the shooting point.
  void PlaceCue(u8 colour) {
    board().SetBallColour(cue, colour);
    cue.x = kShootX * 256;
    cue.y = kShootY * 256;
    cue.z = 10 * 256;
    cue.SetState(kBallAtRest);
  }

  // A click of the pen on the table at (x, y) px with the power (24.8): the
  // aimer's target moves there and the shot is computed.
  bool Click(int x, int y, i32 power) {
    if (!aimer.ClampPoint(x * 256, y * 256, 0)) return false;
    aimer.MoveTarget(static_cast<i16>(((x * 256) - aimer.targetX) >> 8),
                     static_cast<i16>(((y * 256) - aimer.targetY) >> 8));
    return shot.ComputeShot(aimer.targetX, aimer.targetY, power);
  }

  // Flies until the ball settles or bursts, at most `limit` ticks; returns
  // the ticks flown, or -1 when the ball was still flying.
  int Fly(int limit = 100000) {
    for (int t = 1; t <= limit; ++t) {
      minX = std::min(minX, cue.x);
      maxX = std::max(maxX, cue.x);
      minY = std::min(minY, cue.y);
      if (!shot.FlightStep()) return t;
    }
    return -1;
  }

  std::unique_ptr<BoardRig> rig;
  Ball cue;
  Ball next;
  Shot shot{rig->board, cue, next, rig->settings, rig->colour, rig->fx.bursts};
  Aimer aimer;
  std::vector<short> sounds;
  i32 minX = 1 << 30, maxX = -(1 << 30), minY = 1 << 30;
};
