// The string helpers the controls and screens use on terminated 8-bit
// strings. Characters compare as signed bytes; the caller's buffer must be
// large enough.
#pragma once

#include "platform/types.h"

int StrLen(const char* s);
// Index of the first c; the length of s when c is absent (0 for an empty s).
int StrIndexOf(const char* s, char c);
// Decimal text of v, with "-" before a negative value. buffer holds 12 bytes.
void IntToStr(char* buffer, i32 v);
// Optional sign, then decimal digits up to the first non-digit; saturates
// at the i32 range.
i32 StrToInt(const char* s);
// Hexadecimal digits up to the first other character.
i32 HexToInt(const char* s);
void StrCpy(char* dst, const char* src);
char* StrCat(char* dst, const char* src);
// Copies at most n characters, then always a terminator.
void StrNCpy(char* dst, const char* src, int n);
// Appends while the result is shorter than n characters, then a terminator.
void StrNCat(char* dst, const char* src, int n);
void StrInsertChar(char* s, char c, int index);
// Removes n characters from index; stops at the terminator.
void StrDeleteChars(char* s, int index, int n);
int StrCountChar(const char* s, char c);
// 0 when equal, 1 otherwise (no ordering).
int StrCmp(const char* a, const char* b);
