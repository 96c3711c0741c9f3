#include "platform/key_codes.h"

#include <gtest/gtest.h>

TEST(KeyCodes, TranslatesTheTableAndNothingElse) {
  EXPECT_EQ(KeysymToKey(0xff50), kKeyHome);
  EXPECT_EQ(KeysymToKey(0xff52), kKeyUp);
  EXPECT_EQ(KeysymToKey(0xff54), kKeyDown);
  EXPECT_EQ(KeysymToKey(0x20), kKeySpace);
  EXPECT_EQ(KeysymToKey(0xff1b), kKeyEscape);
  EXPECT_EQ(KeysymToKey(0xffff), kKeyDelete);
  EXPECT_EQ(KeysymToKey(0x57), kKeyW);
  EXPECT_EQ(KeysymToKey(0x13), kKey19);
  // Lower-case letters and the real Pause keysym are not game keys.
  EXPECT_EQ(KeysymToKey(0x77), kKeyNone);
  EXPECT_EQ(KeysymToKey(0xff13), kKeyNone);
  EXPECT_EQ(KeysymToKey(0), kKeyNone);
}

TEST(KeyCodes, ReverseTableHasItsAsymmetries) {
  EXPECT_EQ(KeyToKeysym(kKeyUp), 0u);
  EXPECT_EQ(KeyToKeysym(kKeyDown), 0u);
  EXPECT_EQ(KeyToKeysym(kKey19), KeyToKeysym(kKeyPageDown));
  EXPECT_EQ(KeyToKeysym(0), 0u);
  EXPECT_EQ(KeyToKeysym(-1), 0u);
  EXPECT_EQ(KeyToKeysym(20), 0u);
  for (int k = 1; k <= 19; ++k) {
    if (k == kKeyUp || k == kKeyDown) continue;
    const u32 expected = k == kKey19 ? kKeyPageDown : static_cast<u32>(k);
    EXPECT_EQ(KeysymToKey(KeyToKeysym(k)), expected) << "key " << k;
  }
}
