#include "platform/str.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <string>
#include <utility>

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
  for (i32 v : {0, -305, INT_MAX, INT_MIN}) {
    IntToStr(text, v);
    EXPECT_EQ(text, std::to_string(v));
  }
  const std::pair<const char*, i32> parsed[] = {
      {"-12x", -12},         {"+", 0}, {"x12", 0}, {"+77", 77}, {"-2147483648", INT_MIN},
      {"99999999999999", INT_MAX}, {"-99999999999999", INT_MIN}};
  for (const auto& [s, v] : parsed) EXPECT_EQ(StrToInt(s), v) << s;
  EXPECT_EQ(HexToInt("1aF"), 431);
  EXPECT_EQ(HexToInt("g1"), 0);
  EXPECT_EQ(HexToInt("FFFFFF"), 0xFFFFFF);
}

TEST(Str, BoundedCopyAppendInsertAndDelete) {
  char text[16];
  StrNCpy(text, "abcdef", 3);
  EXPECT_STREQ(text, "abc");
  StrNCpy(text, "ab", 5);
  EXPECT_STREQ(text, "ab");
  StrNCat(text, "cdef", 4);
  EXPECT_STREQ(text, "abcd");
  StrCpy(text, "hello");
  StrInsertChar(text, 'X', 0);
  StrInsertChar(text, '!', 6);
  EXPECT_STREQ(StrCat(text, "?"), "Xhello!?");
  StrDeleteChars(text, 1, 2);
  StrDeleteChars(text, 6, 1);  // at the terminator: nothing
  EXPECT_STREQ(text, "Xllo!?");
  // Deleting past the end stops at the terminator and reads nothing
  // beyond it (the bytes after it are poisoned here).
  std::memset(text + 7, 'Q', sizeof text - 7);
  StrDeleteChars(text, 3, 8);
  EXPECT_STREQ(text, "Xll");
}
