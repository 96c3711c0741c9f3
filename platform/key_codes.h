// The small set of keys the game and the screens act on, translated from X
// keysyms, and back for the on-screen keyboard.
#pragma once

#include "platform/types.h"

enum KeyCode : u32 {
  kKeyNone = 0,
  kKeyHome = 1,
  kKeyUp = 2,
  kKeyPageUp = 3,
  kKeyLeft = 4,
  kKeyRight = 5,
  kKeyEnd = 6,
  kKeyDown = 7,
  kKeyPageDown = 8,
  kKeySpace = 9,
  kKeyReturn = 10,
  kKeyEscape = 11,
  kKeyBackSpace = 12,
  kKeyDelete = 13,
  kKeyW = 14,
  kKeyA = 15,
  kKeyD = 16,
  kKeyS = 17,
  kKeyX = 18,
  kKey19 = 19,
};

// Keysyms not in the table give 0. Letters count only as upper-case keysyms.
u32 KeysymToKey(u32 keysym);
// The reverse table; Up and Down give 0, and 19 gives Next like 8.
u32 KeyToKeysym(i32 key);
