#include "shell/contest_key.h"

void BuildContestKey(u8 key[kContestKeySize]) {
  // A small congruential walk; each byte also depends on its position.
  u8 v = 0x3D;
  for (int i = 0; i < kContestKeySize; ++i) {
    v = static_cast<u8>(v * 29 + 0x47 + 3 * i);
    key[i] = static_cast<u8>(v ^ (0xA5 >> (i % 4)));
  }
}
