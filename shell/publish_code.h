// The contest code of a result, for a player to copy into the contest's
// web form by hand, and the checksum that goes with it. Kept for a publish
// screen that shows the code; the game submits through the browser.
#pragma once

#include "platform/types.h"

constexpr int kPublishCodeSize = 17;  // 16 hexadecimal digits and the terminator

// The value as exactly 8 lower-case hexadecimal digits and a terminator.
void HexU32(u32 value, char out[9]);

// The 16-digit contest code of a score at a skill (0-based); sixteen "0"
// for a score of 0 or below.
void BuildPublishCode(char out[kPublishCodeSize], i32 score, u8 skill);

// CRC-32 in its BZIP2 form: polynomial 0x04C11DB7, most significant bit
// first, initial value and final XOR 0xFFFFFFFF.
u32 Crc32Bzip2(const u8* data, u16 length);
