// The program's random generator. Every random state is an explicit u32
// handed to whoever draws from it, so a fixed seed replays a game exactly.
#pragma once

#include "platform/types.h"

// Steps the state in place and returns the new value, 0..0x7fff.
inline u32 NextRandom(u32& state) {
  state = state * 1103515245u + 12345u;
  return (state >> 16) & 0x7fff;
}
