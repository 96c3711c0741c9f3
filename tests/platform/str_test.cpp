#include "platform/str.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

TEST(Str, IndexOfAndCounting) {
  EXPECT_EQ(StrIndexOf("abc", 'z'), 3);
  EXPECT_EQ(StrIndexOf("abc", 'a'), 0);
  EXPECT_EQ(StrIndexOf("abc", 'c'), 2);
  EXPECT_EQ(StrIndexOf("", 'q'), 0);
  EXPECT_EQ(StrLen(""), 0);
  EXPECT_EQ(StrCountChar("a|b||c", '|'), 3);
  EXPECT_EQ(StrCmp("abc", "abc"), 0);
  EXPECT_EQ(StrCmp("abc", "abd"), 1);
  EXPECT_EQ(StrCmp("ab", "abc"), 1);
  EXPECT_EQ(StrCmp("abc", "ab"), 1);
}

TEST(Str, NumbersBothWays) {
  char text[16];
  IntToStr(text, 0);
  EXPECT_STREQ(text, "0");
  IntToStr(text, -305);
  EXPECT_STREQ(text, "-305");
  IntToStr(text, INT_MAX);
  EXPECT_STREQ(text, "2147483647");
  IntToStr(text, INT_MIN);
  EXPECT_STREQ(text, "-2147483648");

  EXPECT_EQ(StrToInt("-12x"), -12);
  EXPECT_EQ(StrToInt("+"), 0);
  EXPECT_EQ(StrToInt("x12"), 0);
  EXPECT_EQ(StrToInt("+77"), 77);
  EXPECT_EQ(StrToInt("-2147483648"), INT_MIN);
  EXPECT_EQ(StrToInt("99999999999999"), INT_MAX);
  EXPECT_EQ(StrToInt("-99999999999999"), INT_MIN);

  EXPECT_EQ(HexToInt("1aF"), 431);
  EXPECT_EQ(HexToInt("g1"), 0);
  EXPECT_EQ(HexToInt("FFFFFF"), 0xFFFFFF);
}

TEST(Str, BoundedCopyAndAppend) {
  char text[16];
  StrNCpy(text, "abcdef", 3);
  EXPECT_STREQ(text, "abc");
  StrNCpy(text, "ab", 5);
  EXPECT_STREQ(text, "ab");
  StrNCat(text, "cdef", 4);
  EXPECT_STREQ(text, "abcd");
  StrCpy(text, "x");
  EXPECT_STREQ(StrCat(text, "yz"), "xyz");
}

TEST(Str, InsertAndDelete) {
  char text[16] = "hello";
  StrInsertChar(text, 'X', 0);
  EXPECT_STREQ(text, "Xhello");
  StrInsertChar(text, '!', 6);
  EXPECT_STREQ(text, "Xhello!");
  StrDeleteChars(text, 1, 2);
  EXPECT_STREQ(text, "Xllo!");
  StrDeleteChars(text, 5, 1);  // at the terminator: nothing
  EXPECT_STREQ(text, "Xllo!");
  // Deleting past the end stops at the terminator and reads nothing
  // beyond it (the bytes after it are poisoned here).
  std::memset(text + 6, 'Q', sizeof text - 6);
  StrDeleteChars(text, 3, 8);
  EXPECT_STREQ(text, "Xll");
}
