#include "platform/key_codes.h"

namespace {

// Keysym of each KeyCode, indexed by the code.
constexpr u32 kKeysyms[20] = {
    0,       // none
    0xff50,  // Home
    0xff52,  // Up
    0xff55,  // Prior
    0xff51,  // Left
    0xff53,  // Right
    0xff57,  // End
    0xff54,  // Down
    0xff56,  // Next
    0x20,    // space
    0xff0d,  // Return
    0xff1b,  // Escape
    0xff08,  // BackSpace
    0xffff,  // Delete
    0x57,    // W
    0x41,    // A
    0x44,    // D
    0x53,    // S
    0x58,    // X
    0x13,    // the bare value 0x13
};

}  // namespace

u32 KeysymToKey(u32 keysym) {
  for (u32 k = 1; k < 20; ++k) {
    if (kKeysyms[k] == keysym) return k;
  }
  return kKeyNone;
}

u32 KeyToKeysym(i32 key) {
  if (key < 1 || key > 19) return 0;
  if (key == kKeyUp || key == kKeyDown) return 0;
  if (key == kKey19) return kKeysyms[kKeyPageDown];
  return kKeysyms[key];
}
