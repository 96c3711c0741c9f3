#include "platform/str.h"

#include <climits>

int StrLen(const char* s) {
  int n = 0;
  while (s[n]) ++n;
  return n;
}

int StrIndexOf(const char* s, char c) {
  int i = 0;
  while (s[i] && s[i] != c) ++i;
  return i;
}

void IntToStr(char* buffer, i32 v) {
  char digits[12];
  int n = 0;
  // Widen first: the magnitude of INT_MIN does not fit in an i32.
  i64 magnitude = v < 0 ? -static_cast<i64>(v) : v;
  do {
    digits[n++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude > 0);
  int out = 0;
  if (v < 0) buffer[out++] = '-';
  while (n > 0) buffer[out++] = digits[--n];
  buffer[out] = 0;
}

i32 StrToInt(const char* s) {
  int i = 0;
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') negative = s[i++] == '-';
  i64 value = 0;
  for (; s[i] >= '0' && s[i] <= '9'; ++i) {
    value = value * 10 + (s[i] - '0');
    if (value > static_cast<i64>(INT_MAX) + 1) value = static_cast<i64>(INT_MAX) + 1;
  }
  if (negative) return static_cast<i32>(-value);
  return value > INT_MAX ? INT_MAX : static_cast<i32>(value);
}

i32 HexToInt(const char* s) {
  u32 value = 0;
  for (int i = 0;; ++i) {
    const char c = s[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      break;
    }
    value = value * 16 + static_cast<u32>(digit);
  }
  return static_cast<i32>(value);
}

void StrCpy(char* dst, const char* src) {
  int i = 0;
  do {
    dst[i] = src[i];
  } while (src[i++]);
}

char* StrCat(char* dst, const char* src) {
  StrCpy(dst + StrLen(dst), src);
  return dst;
}

void StrNCpy(char* dst, const char* src, int n) {
  int i = 0;
  for (; i < n && src[i]; ++i) dst[i] = src[i];
  dst[i] = 0;
}

void StrNCat(char* dst, const char* src, int n) {
  int len = StrLen(dst);
  for (int i = 0; src[i] && len < n; ++i) dst[len++] = src[i];
  dst[len] = 0;
}

void StrInsertChar(char* s, char c, int index) {
  for (int i = StrLen(s); i >= index; --i) s[i + 1] = s[i];
  s[index] = c;
}

void StrDeleteChars(char* s, int index, int n) {
  const int len = StrLen(s);
  if (index >= len || n <= 0) return;
  if (index + n > len) n = len - index;
  for (int i = index; i + n <= len; ++i) s[i] = s[i + n];
}

int StrCountChar(const char* s, char c) {
  int count = 0;
  for (int i = 0; s[i]; ++i) count += s[i] == c;
  return count;
}

int StrCmp(const char* a, const char* b) {
  int i = 0;
  for (; a[i] && a[i] == b[i]; ++i) {
  }
  return a[i] == b[i] ? 0 : 1;
}
