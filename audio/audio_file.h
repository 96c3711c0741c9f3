// File input shared by the wave and module loaders: one open file at a
// time, read with little- or big-endian helpers that never fail but give
// zeros past the end of the file. Loads therefore run one after another.
#pragma once

#include <cstdio>

#include "platform/types.h"

// Opens name for reading, replacing any file still open; 10 when it
// cannot be opened (also for a null name).
u32 IoOpenFile(const char* name);
u32 IoCloseFile();
// whence is SEEK_SET or SEEK_CUR.
u32 IoSeekFile(i64 offset, int whence);
// Where reading stands and how long the file is, to bound what a header
// claims by what the file holds.
i64 IoTellFile();
i64 IoFileSize();
// Reads n bytes; when fewer arrive, the whole block is zeroed.
u32 IoReadBlock(void* buffer, u64 n);
u32 IoReadByte(u8* value);
u32 IoReadWord(u16* value);
u32 IoReadLong(u32* value);
u32 IoReadWordBE(u16* value);
u32 IoReadLongBE(u32* value);
