// Numbered record files in the user directory: the settings, the saved
// games and the top-10 tables are each stored as one block of bytes in
// "<user dir>NNNNNN.bin", every byte XORed with (record number + index)
// mod 256, with no header, length or checksum.
#pragma once

#include <cstddef>
#include <cstdio>

#include "platform/types.h"

// Record numbers the program uses.
constexpr i32 kRecordAutosave = 0;        // the autosaved game
constexpr i32 kRecordSettings = 50;       // the settings record
constexpr i32 kRecordTop10Base = 100;     // + 4 x skill: that skill's top-10 table
constexpr i32 kRecordDemoInterrupt = 10000;  // the game the demo interrupted

// Writes the record atomically: the scrambled bytes go to a temporary file
// "NNNNNN.bin.XXXXXX" beside the record, which replaces the old one only
// when every byte was written and the file closed cleanly. A new record
// gets the permissions of a plain create (0666 less the umask), a
// replaced one keeps its own. Temporary files of this record left by an
// earlier save that was killed are removed first. 1 on success; 0 leaves
// the old record as it was.
u32 WriteRecordFile(i32 number, const u8* data, u32 size);

// Removes the temporary files that saves killed before their rename left
// in the user directory: those of one record, or of every record when
// number is kAnyRecord. Nothing else is touched.
constexpr i32 kAnyRecord = -1;
void RemoveRecordTemporaries(i32 number);

// Reads size bytes of the record and unscrambles them into data. 1 when
// all of them were there (extra bytes in the file are ignored); 0 for a
// missing or short file, and then data is left untouched.
u32 ReadRecordFile(i32 number, u8* data, u32 size);

// The record's file name: the user directory, the number zero-padded to
// six digits, ".bin". False when it does not fit in size bytes.
bool RecordFileName(i32 number, char* out, std::size_t size);

// XORs byte i with (number + i) mod 256; scrambling and unscrambling are
// the same operation.
void ScrambleRecord(i32 number, u8* data, u32 size);

// The function the writer hands its bytes to (fwrite by default). Tests
// replace it to simulate a full disk; null restores fwrite.
using RecordWriteFunction = std::size_t (*)(const void* bytes, std::size_t size, std::size_t count,
                                            std::FILE* file);
void SetRecordWriteFunction(RecordWriteFunction write);
