// FastTracker II modules (XM 0x0104). The patterns are kept in the file's
// own packing; instruments, envelopes and samples map onto the model
// field by field.
#include <algorithm>
#include <cstring>
#include <new>

#include "audio/audio_file.h"
#include "audio/module_build.h"

namespace {

constexpr char kXmId[] = "Extended Module: ";
constexpr u32 kXmHeaderStart = 60;   // the header size counts from here
constexpr u32 kXmFixedHeader = 336;  // through the 256-entry order table
constexpr u32 kXmPatternHeader = 9;
constexpr u32 kXmInstrumentHead = 29;
constexpr u32 kXmInstrumentExtra = 214;
constexpr u32 kXmSampleHeader = 40;
constexpr u32 kXmMaxRows = 256;
constexpr u32 kXmMaxInstruments = 128;

// The fixed header; false when it is not an XM 0x0104 this loader reads
// or a count is beyond the model's tables. The pattern and instrument
// counts are left for their readers.
bool ReadHeader(ModuleFile& file, AudioModule* module, u32* patterns, u32* instruments) {
  u8 h[kXmFixedHeader];
  if (!file.Fits(0, sizeof h)) return false;
  IoReadBlock(h, sizeof h);
  if (std::memcmp(h, kXmId, 17) != 0 || Le16(h + 58) != 0x0104) return false;
  const u32 orders = Le16(h + 64), channels = Le16(h + 68);
  *patterns = Le16(h + 70);
  *instruments = Le16(h + 72);
  // Each bounded by the table it fills.
  if (orders > kModuleMaxOrders || channels > kModuleMaxChannels) return false;
  if (*patterns > kModuleMaxPatterns || *instruments > kXmMaxInstruments) return false;
  CopyName(module->name, 21, h + 17, 20);
  module->flags = Le16(h + 74) & AUDIO_MODULE_LINEAR;
  module->orderCount = static_cast<u16>(orders);
  module->restart = Le16(h + 66);
  module->channelCount = static_cast<u16>(channels);
  module->tempo = Le16(h + 76);
  module->bpm = Le16(h + 78);
  std::memcpy(module->orders, h + 80, orders);
  std::memset(module->panning, 127, sizeof module->panning);
  file.Seek(u64{kXmHeaderStart} + Le32(h + 60));
  return true;
}

u32 ReadPattern(ModuleFile& file, u16 channels, AudioPattern* pattern) {
  const u64 start = file.Tell();
  u8 h[kXmPatternHeader];
  if (!file.Fits(start, sizeof h)) return AUDIO_ERROR_BADFILEFORMAT;
  IoReadBlock(h, sizeof h);
  const u32 rows = Le16(h + 5), size = Le16(h + 7);
  if (h[4] != 0 || rows > kXmMaxRows) return AUDIO_ERROR_BADFILEFORMAT;
  // A header length below its own fields would step back into them.
  file.Seek(start + std::max<u32>(Le32(h), kXmPatternHeader));
  if (!file.Fits(file.Tell(), size)) return AUDIO_ERROR_BADFILEFORMAT;
  pattern->channels = channels;
  if (rows == 0) {
    // No rows to play: it plays as a missing pattern does.
    file.Seek(file.Tell() + size);
    pattern->rows = 64;
    return AUDIO_ERROR_NONE;
  }
  pattern->rows = static_cast<u16>(rows);
  if (size > 0) {
    pattern->data = new (std::nothrow) u8[size];
    if (!pattern->data) return AUDIO_ERROR_NOMEMORY;
    pattern->size = static_cast<u16>(size);
    IoReadBlock(pattern->data, size);
  }
  return CompletePatternData(pattern) ? AUDIO_ERROR_NONE : AUDIO_ERROR_NOMEMORY;
}

// Twelve points, x in the low and y in the high 16 bits; values clamped
// to 0..64, and sustain and loop points beyond the point count dropped.
void ReadEnvelope(const u8* points, u8 count, u8 sustain, u8 loopStart, u8 loopEnd, u8 type,
                  AudioEnvelopePoint* out, u8* outCount, u8* outSustain, u8* outLoopStart,
                  u8* outLoopEnd, u8* outFlags) {
  for (u32 i = 0; i < kModuleEnvelopePoints; ++i) {
    out[i].x = Le16(points + 4 * i);
    out[i].y = std::min<u16>(Le16(points + 4 * i + 2), 64);
  }
  count = std::min<u8>(count, kModuleEnvelopePoints);
  u8 flags = type & (kEnvelopeOn | kEnvelopeSustain | kEnvelopeLoop);
  if (count == 0) flags = 0;
  if (sustain >= count) {
    flags &= static_cast<u8>(~kEnvelopeSustain);
    sustain = 0;
  }
  if (loopStart >= count || loopEnd >= count || loopStart > loopEnd) {
    flags &= static_cast<u8>(~kEnvelopeLoop);
    loopStart = loopEnd = 0;
  }
  *outCount = count;
  *outSustain = sustain;
  *outLoopStart = loopStart;
  *outLoopEnd = loopEnd;
  *outFlags = flags;
}

// The 214 bytes after an instrument's first 29, when it has samples.
void ReadInstrumentExtra(const u8* e, AudioInstrument* instrument) {
  for (u32 n = 0; n < kModuleNotes; ++n) {
    instrument->sampleMap[n] = e[4 + n] < instrument->sampleCount ? e[4 + n] : 0;
  }
  const u8* b = e + 196;  // the byte fields after the two envelopes
  ReadEnvelope(e + 100, b[0], b[2], b[3], b[4], b[8], instrument->volumeEnvelope,
               &instrument->volumePoints, &instrument->volumeSustain, &instrument->volumeLoopStart,
               &instrument->volumeLoopEnd, &instrument->volumeFlags);
  ReadEnvelope(e + 148, b[1], b[5], b[6], b[7], b[9], instrument->panningEnvelope,
               &instrument->panningPoints, &instrument->panningSustain,
               &instrument->panningLoopStart, &instrument->panningLoopEnd,
               &instrument->panningFlags);
  instrument->vibratoType = b[10];
  instrument->vibratoSweep = b[11];
  instrument->vibratoDepth = b[12];
  instrument->vibratoRate = b[13];
  instrument->fadeout = Le16(b + 14);
}

void FillSample(const u8* h, AudioSample* sample) {
  AudioWave& wave = sample->wave;
  wave.length = Le32(h);
  wave.loopStart = Le32(h + 4);
  const u64 loopEnd = u64{wave.loopStart} + Le32(h + 8);
  wave.loopEnd = static_cast<u32>(std::min<u64>(loopEnd, 0xFFFFFFFF));
  wave.rate = 8363;
  const u8 type = h[14];
  wave.format = static_cast<u16>(((type & 0x10) ? AUDIO_WAVE_16BITS : 0) |
                                 ((type & 0x01) ? AUDIO_WAVE_LOOP : 0) |
                                 ((type & 0x02) ? AUDIO_WAVE_BIDILOOP : 0));
  sample->volume = std::min<u8>(h[12], 64);
  sample->finetune = static_cast<i8>(h[13]);
  sample->panning = h[15];
  sample->relativeNote = static_cast<i8>(h[16]);
  CopyName(sample->name, 23, h + 18, 22);
}

// The sample headers, then the data of every sample that has any.
u32 ReadSamples(ModuleFile& file, u32 headerSize, AudioInstrument* instrument) {
  for (u32 s = 0; s < instrument->sampleCount; ++s) {
    const u64 start = file.Tell();
    u8 h[kXmSampleHeader];
    if (!file.Fits(start, sizeof h)) return AUDIO_ERROR_BADFILEFORMAT;
    IoReadBlock(h, sizeof h);
    FillSample(h, &instrument->samples[s]);
    file.Seek(start + std::max<u32>(headerSize, kXmSampleHeader));
  }
  for (u32 s = 0; s < instrument->sampleCount; ++s) {
    AudioSample& sample = instrument->samples[s];
    const bool is16 = (sample.wave.format & AUDIO_WAVE_16BITS) != 0;
    const u32 code =
        ReadSampleData(file, &sample, is16 ? SampleCoding::kDelta16 : SampleCoding::kDelta8);
    if (code != AUDIO_ERROR_NONE) return code;
  }
  return AUDIO_ERROR_NONE;
}

u32 ReadInstrument(ModuleFile& file, AudioInstrument* instrument) {
  const u64 start = file.Tell();
  u8 h[kXmInstrumentHead + kXmInstrumentExtra];
  if (!file.Fits(start, kXmInstrumentHead)) return AUDIO_ERROR_BADFILEFORMAT;
  IoReadBlock(h, kXmInstrumentHead);
  const u32 headerSize = Le32(h), samples = Le16(h + 27);
  if (samples > kModuleMaxSamples) return AUDIO_ERROR_BADFILEFORMAT;
  CopyName(instrument->name, 23, h + 4, 22);
  u32 read = kXmInstrumentHead;
  if (samples > 0) {
    if (!file.Fits(file.Tell(), kXmInstrumentExtra)) return AUDIO_ERROR_BADFILEFORMAT;
    IoReadBlock(h + read, kXmInstrumentExtra);
    read += kXmInstrumentExtra;
    if (!NewSamples(instrument, samples)) return AUDIO_ERROR_NOMEMORY;
    ReadInstrumentExtra(h + kXmInstrumentHead, instrument);
  }
  file.Seek(start + std::max(headerSize, read));
  if (samples == 0) return AUDIO_ERROR_NONE;
  return ReadSamples(file, Le32(h + kXmInstrumentHead), instrument);
}

u32 ReadBody(ModuleFile& file, AudioModule* module, u32 patterns, u32 instruments) {
  if (!NewPatterns(module, patterns) || !NewInstruments(module, instruments)) {
    return AUDIO_ERROR_NOMEMORY;
  }
  for (u32 p = 0; p < patterns; ++p) {
    const u32 code = ReadPattern(file, module->channelCount, &module->patterns[p]);
    if (code != AUDIO_ERROR_NONE) return code;
  }
  for (u32 i = 0; i < instruments; ++i) {
    const u32 code = ReadInstrument(file, &module->instruments[i]);
    if (code != AUDIO_ERROR_NONE) return code;
  }
  return AUDIO_ERROR_NONE;
}

}  // namespace

u32 ALoadXMModule(const char* name, AudioModule** module, u32 offset) {
  if (!module) return AUDIO_ERROR_INVALPARAM;
  *module = nullptr;
  ModuleFile file;
  const u32 opened = file.Open(name, offset);
  if (opened != AUDIO_ERROR_NONE) return opened;
  AudioModule* loaded = NewModule();
  if (!loaded) return AUDIO_ERROR_NOMEMORY;
  u32 patterns = 0, instruments = 0;
  if (!ReadHeader(file, loaded, &patterns, &instruments)) {
    return FinishLoad(AUDIO_ERROR_BADFILEFORMAT, loaded, module);
  }
  return FinishLoad(ReadBody(file, loaded, patterns, instruments), loaded, module);
}
