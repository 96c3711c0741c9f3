#include "audio/module_build.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "audio/audio.h"
#include "audio/audio_file.h"

// ---- Allocation and freeing ----

AudioModule* NewModule() { return new (std::nothrow) AudioModule(); }

bool NewPatterns(AudioModule* module, u32 count) {
  if (count == 0) return true;
  module->patterns = new (std::nothrow) AudioPattern[count]();
  if (!module->patterns) return false;
  module->patternCount = static_cast<u16>(count);
  return true;
}

bool NewInstruments(AudioModule* module, u32 count) {
  if (count == 0) return true;
  module->instruments = new (std::nothrow) AudioInstrument[count]();
  if (!module->instruments) return false;
  module->instrumentCount = static_cast<u16>(count);
  return true;
}

bool NewSamples(AudioInstrument* instrument, u32 count) {
  if (count == 0) return true;
  instrument->samples = new (std::nothrow) AudioSample[count]();
  if (!instrument->samples) return false;
  instrument->sampleCount = static_cast<u16>(count);
  return true;
}

void FreeModule(AudioModule* module) {
  if (!module) return;
  for (u32 i = 0; module->patterns && i < module->patternCount; ++i) {
    delete[] module->patterns[i].data;
  }
  delete[] module->patterns;
  for (u32 i = 0; module->instruments && i < module->instrumentCount; ++i) {
    AudioInstrument& instrument = module->instruments[i];
    for (u32 s = 0; instrument.samples && s < instrument.sampleCount; ++s) {
      if (instrument.samples[s].wave.data) ADestroyAudioData(&instrument.samples[s].wave);
    }
    delete[] instrument.samples;
  }
  delete[] module->instruments;
  delete module;
}

// ---- The file being loaded ----

ModuleFile::~ModuleFile() {
  if (open_) IoCloseFile();
}

u32 ModuleFile::Open(const char* name, u32 offset) {
  const u32 code = IoOpenFile(name);
  if (code != AUDIO_ERROR_NONE) return code;
  open_ = true;
  base_ = offset;
  size_ = static_cast<u64>(std::max<i64>(IoFileSize(), 0));
  Seek(0);
  return AUDIO_ERROR_NONE;
}

bool ModuleFile::Fits(u64 pos, u64 size) const {
  // Positions come from 32-bit fields times small factors, far below
  // 2^63, so the sums cannot wrap.
  return base_ + pos <= size_ && size <= size_ - (base_ + pos);
}

u64 ModuleFile::Available(u64 pos) const { return base_ + pos < size_ ? size_ - (base_ + pos) : 0; }

void ModuleFile::Seek(u64 pos) { IoSeekFile(static_cast<i64>(base_ + pos), SEEK_SET); }

u64 ModuleFile::Tell() const {
  const i64 at = IoTellFile();
  return static_cast<u64>(at) > base_ ? static_cast<u64>(at) - base_ : 0;
}

// ---- Pattern data ----

void PatternWriter::Put(const ModuleCell& cell) {
  const u8 fields[] = {cell.note, cell.instrument, cell.volume, cell.effect, cell.param};
  u8 flags = kCellPacked;
  for (u32 i = 0; i < 5; ++i) {
    if (fields[i] != 0) flags = static_cast<u8>(flags | (1u << i));
  }
  bytes_.push_back(flags);
  for (const u8 field : fields) {
    if (field != 0) bytes_.push_back(field);
  }
}

bool PatternWriter::Finish(AudioPattern* pattern, u16 rows, u16 channels) {
  pattern->packing = 0;
  pattern->rows = rows;
  pattern->channels = channels;
  // At most 256 rows x 32 channels x 6 bytes: the size fits 16 bits.
  pattern->size = static_cast<u16>(std::min<size_t>(bytes_.size(), 0xFFFF));
  pattern->data = nullptr;
  if (pattern->size == 0) return true;
  pattern->data = new (std::nothrow) u8[pattern->size];
  if (!pattern->data) return false;
  std::memcpy(pattern->data, bytes_.data(), pattern->size);
  return true;
}

namespace {

// Bytes that follow a cell's first byte.
u32 CellFieldCount(u8 first) {
  if (!(first & kCellPacked)) return 4;
  u32 count = 0;
  for (u32 bit = 0; bit < 5; ++bit) count += (first >> bit) & 1;
  return count;
}

}  // namespace

bool CompletePatternData(AudioPattern* pattern) {
  if (pattern->size == 0) return true;  // no data plays as empty cells
  const u32 cells = u32{pattern->rows} * pattern->channels;
  size_t pos = 0;
  u32 cell = 0;
  for (; cell < cells && pos < pattern->size; ++cell) {
    pos += 1 + CellFieldCount(pattern->data[pos]);
  }
  if (cell == cells && pos <= pattern->size) return true;
  // The last cell read was cut short by pos - size bytes; every cell not
  // reached is missing.
  const size_t cut = pos > pattern->size ? pos - pattern->size : 0;
  const size_t grown = pattern->size + cut + (cells - cell);
  if (grown > 0xFFFF) return true;  // cannot happen: 256 x 32 x 6 < 2^16
  u8* data = new (std::nothrow) u8[grown];
  if (!data) return false;
  if (pattern->size) std::memcpy(data, pattern->data, pattern->size);
  std::memset(data + pattern->size, 0, cut);
  std::memset(data + pattern->size + cut, kCellPacked, cells - cell);
  delete[] pattern->data;
  pattern->data = data;
  pattern->size = static_cast<u16>(grown);
  return true;
}

// ---- Samples ----

void KeepLoopInside(AudioWave* wave) {
  const bool inside = wave->loopStart < wave->loopEnd && wave->loopEnd <= wave->length;
  if (inside && (wave->format & (AUDIO_WAVE_LOOP | AUDIO_WAVE_BIDILOOP))) return;
  wave->format = static_cast<u16>(wave->format & ~(AUDIO_WAVE_LOOP | AUDIO_WAVE_BIDILOOP));
  wave->loopStart = 0;
  wave->loopEnd = 0;
}

namespace {

void Decode(u8* data, u32 length, SampleCoding coding) {
  switch (coding) {
    case SampleCoding::kSigned8:
    case SampleCoding::kSigned16: break;
    case SampleCoding::kUnsigned8:
      for (u32 i = 0; i < length; ++i) data[i] ^= 0x80;
      break;
    case SampleCoding::kDelta8: {
      u8 sum = 0;
      for (u32 i = 0; i < length; ++i) data[i] = sum = static_cast<u8>(sum + data[i]);
      break;
    }
    case SampleCoding::kDelta16: {
      u16 sum = 0;
      for (u32 i = 0; i + 1 < length; i += 2) {
        sum = static_cast<u16>(sum + (data[i] | (data[i + 1] << 8)));
        data[i] = static_cast<u8>(sum);
        data[i + 1] = static_cast<u8>(sum >> 8);
      }
      break;
    }
    case SampleCoding::kUnsigned16:
      for (u32 i = 1; i < length; i += 2) data[i] ^= 0x80;
      break;
  }
}

}  // namespace

u32 ReadSampleData(ModuleFile& file, AudioSample* sample, SampleCoding coding) {
  AudioWave& wave = sample->wave;
  // Never more than the file holds: the allocation is bounded by the file.
  const u64 held = file.Available(file.Tell());
  if (wave.length > held) wave.length = static_cast<u32>(held);
  KeepLoopInside(&wave);
  if (wave.length == 0) return AUDIO_ERROR_NONE;
  const u32 code = ACreateAudioData(&wave);
  if (code != AUDIO_ERROR_NONE) {
    wave.length = 0;
    return code;
  }
  IoReadBlock(wave.data, wave.length);
  Decode(wave.data, wave.length, coding);
  AWriteAudioData(&wave, 0, wave.length);
  return AUDIO_ERROR_NONE;
}

void CopyName(char* dest, size_t capacity, const u8* source, size_t length) {
  std::memset(dest, 0, capacity);
  const size_t limit = std::min(length, capacity - 1);
  for (size_t i = 0; i < limit && source[i] != 0; ++i) dest[i] = static_cast<char>(source[i]);
}

u32 FinishLoad(u32 code, AudioModule* module, AudioModule** out) {
  if (code != AUDIO_ERROR_NONE) {
    FreeModule(module);
    return code;
  }
  *out = module;
  return AUDIO_ERROR_NONE;
}
