#include "shell/publish_code.h"

namespace {

constexpr u32 kCodeMask = 0x5E3B9D27;

}  // namespace

void HexU32(u32 value, char out[9]) {
  static const char kDigits[] = "0123456789abcdef";
  for (int i = 7; i >= 0; --i) {
    out[i] = kDigits[value & 0xF];
    value >>= 4;
  }
  out[8] = 0;
}

void BuildPublishCode(char out[kPublishCodeSize], i32 score, u8 skill) {
  for (int i = 0; i < kPublishCodeSize - 1; ++i) out[i] = '0';
  out[kPublishCodeSize - 1] = 0;
  if (score <= 0) return;

  u8 b[8];
  const u32 s = static_cast<u32>(score);
  b[0] = 0;
  b[1] = 0;
  b[2] = b[3] = static_cast<u8>(skill + 139);
  for (int i = 0; i < 4; ++i) b[4 + i] = static_cast<u8>(s >> (24 - 8 * i));
  // The check byte: the signed bytes 3..7 summed, remainder of 255 (which
  // keeps the sum's sign), low byte kept.
  int sum = 0;
  for (int i = 3; i < 8; ++i) sum += static_cast<i8>(b[i]);
  b[2] = static_cast<u8>(sum % 255);
  // Both halves are masked as little-endian words.
  for (int i = 0; i < 8; ++i) b[i] ^= static_cast<u8>(kCodeMask >> (8 * (i % 4)));
  for (int i = 3; i < 8; ++i) b[i] ^= b[i - 1];

  const u32 high = static_cast<u32>(b[0]) << 24 | static_cast<u32>(b[1]) << 16 |
                   static_cast<u32>(b[2]) << 8 | b[3];
  const u32 low = static_cast<u32>(b[4]) << 24 | static_cast<u32>(b[5]) << 16 |
                  static_cast<u32>(b[6]) << 8 | b[7];
  HexU32(high, out);
  HexU32(low, out + 8);
}

u32 Crc32Bzip2(const u8* data, u16 length) {
  u32 table[256];
  for (u32 n = 0; n < 256; ++n) {
    u32 c = n << 24;
    for (int k = 0; k < 8; ++k) c = c & 0x80000000u ? (c << 1) ^ 0x04C11DB7u : c << 1;
    table[n] = c;
  }
  u32 crc = 0xFFFFFFFFu;
  for (u16 i = 0; i < length; ++i) crc = (crc << 8) ^ table[(crc >> 24) ^ data[i]];
  return crc ^ 0xFFFFFFFFu;
}
