// What the four module loaders share: allocation and freeing of the
// module model, a bounded view of the file being loaded, a bounded byte
// reader for pattern data, the packed-cell writer and sample creation.
#pragma once

#include <cstddef>
#include <vector>

#include "audio/module.h"

// ---- Allocation and freeing ----

// A zeroed module record; null when there is no memory.
AudioModule* NewModule();
// Zeroed arrays owned by the module or instrument; false on no memory.
// The counts are bounded by the caller (patterns and instruments at most
// 256, samples at most 16).
bool NewPatterns(AudioModule* module, u32 count);
bool NewInstruments(AudioModule* module, u32 count);
bool NewSamples(AudioInstrument* instrument, u32 count);
// Frees everything a loader made: pattern data and patterns, every
// sample's wave data, the sample arrays, the instruments and the module.
void FreeModule(AudioModule* module);

// ---- The file being loaded ----

// The module's place in the open file: positions are relative to the
// offset the loader was given, and every block a loader reads is first
// checked against what the file holds.
class ModuleFile {
 public:
  ModuleFile() = default;
  ~ModuleFile();
  ModuleFile(const ModuleFile&) = delete;
  ModuleFile& operator=(const ModuleFile&) = delete;

  // Opens name for a module starting at offset; 10 when it cannot.
  u32 Open(const char* name, u32 offset);
  // True when size bytes from position pos lie inside the file.
  bool Fits(u64 pos, u64 size) const;
  // Bytes the file holds from pos on (0 past its end).
  u64 Available(u64 pos) const;
  void Seek(u64 pos);
  u64 Tell() const;

 private:
  u64 base_ = 0;
  u64 size_ = 0;  // of the whole file
  bool open_ = false;
};

// Integers inside a block already read.
inline u16 Le16(const u8* p) { return static_cast<u16>(p[0] | p[1] << 8); }
inline u32 Le32(const u8* p) { return u32{Le16(p)} | u32{Le16(p + 2)} << 16; }
inline u16 Be16(const u8* p) { return static_cast<u16>(p[0] << 8 | p[1]); }

// ---- Pattern data ----

// Reads a byte buffer front to back; bytes past its end read as 0.
class ByteReader {
 public:
  ByteReader(const u8* data, size_t size) : data_(data), size_(size) {}
  u8 Next() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool AtEnd() const { return pos_ >= size_; }

 private:
  const u8* data_;
  size_t size_;
  size_t pos_ = 0;
};

// One cell of a row: 0 in a field means "none".
struct ModuleCell {
  u8 note = 0;
  u8 instrument = 0;
  u8 volume = 0;
  u8 effect = 0;
  u8 param = 0;
};

// Builds packed pattern data one cell at a time, each cell as a flag byte
// followed by its non-zero fields.
class PatternWriter {
 public:
  void Put(const ModuleCell& cell);
  // Hands the bytes to pattern (rows by channels); false on no memory.
  bool Finish(AudioPattern* pattern, u16 rows, u16 channels);

 private:
  std::vector<u8> bytes_;
};

// Makes XM packed data hold at least rows x channels whole cells: a cell
// cut short gets zero bytes, missing cells are appended empty. The bytes
// stored stay as they were; a pattern without data stays without (it
// plays as empty cells). False on no memory.
bool CompletePatternData(AudioPattern* pattern);

// ---- Samples ----

// How a format stores its sample bytes.
enum class SampleCoding {
  kSigned8,     // MOD
  kUnsigned8,   // S3M, MTM
  kDelta8,      // XM 8-bit: running sum of bytes
  kDelta16,     // XM 16-bit: running sum of little-endian words
  kUnsigned16,  // S3M 16-bit
  kSigned16,    // S3M 16-bit, old signed files
};

// Reads the sample's data from the file's current position. The wave's
// length is cut to what the file holds (a short last sample); its loop is
// then kept only when it lies inside. Creates the wave's data, decodes it
// and hands it to the synthesizer. 0, or the code of ACreateAudioData.
u32 ReadSampleData(ModuleFile& file, AudioSample* sample, SampleCoding coding);

// Clears the loop bits of a wave whose loop is empty, inverted or not
// inside its data.
void KeepLoopInside(AudioWave* wave);

// Copies a fixed-size name field, stopping at its first zero and at
// capacity - 1 characters; the rest of the destination is zeroed.
void CopyName(char* dest, size_t capacity, const u8* source, size_t length);

// Ends a load: on failure frees the module, on success hands it out.
// Returns code.
u32 FinishLoad(u32 code, AudioModule* module, AudioModule** out);
