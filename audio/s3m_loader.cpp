// Scream Tracker 3 modules (S3M). The rows are converted to the XM packing
// and the effects translated to their XM counterparts; only the first 16
// channels (the PCM ones) are kept.
#include <algorithm>
#include <cstring>

#include "audio/audio_file.h"
#include "audio/module_build.h"

namespace {

constexpr u32 kS3mHeader = 96;
constexpr u32 kS3mInstrumentHeader = 80;
constexpr u32 kS3mChannels = 32;
constexpr u32 kS3mRows = 64;
constexpr u32 kS3mMaxInstruments = 100;
constexpr u8 kS3mPanTableFlag = 252;
constexpr u8 kNoChannel = 0xFF;

// XM effect numbers: digits 0..9, then the letters A..Z.
constexpr u8 Fx(char letter) { return static_cast<u8>(10 + (letter - 'A')); }
constexpr u8 kFxExtended = Fx('E');

// The parts of the header the body needs.
struct S3mLayout {
  u32 patterns = 0;
  u32 instruments = 0;
  u16 pointers[kS3mMaxInstruments + kModuleMaxPatterns] = {};  // instruments, then patterns
  u8 channelMap[kS3mChannels] = {};  // module channel, or kNoChannel
  bool signedSamples = false;        // the old file format 1
};

// Channel panning from the optional pan table and the channel settings.
u8 ChannelPanning(u8 setting, u8 table) {
  if (table & 0x20) return static_cast<u8>(table << 4);
  // Bit 7 only mutes the channel in the tracker; its side is in bits 0..6.
  const u8 s = setting & 0x7F;
  if (s < 8) return 0;
  if (s < 16) return 255;
  return table;
}

u32 ReadHeader(ModuleFile& file, AudioModule* module, S3mLayout* layout) {
  u8 h[kS3mHeader];
  if (!file.Fits(0, sizeof h)) return AUDIO_ERROR_BADFILEFORMAT;
  IoReadBlock(h, sizeof h);
  if (std::memcmp(h + 44, "SCRM", 4) != 0) return AUDIO_ERROR_BADFILEFORMAT;
  const u32 orders = Le16(h + 32);
  layout->instruments = Le16(h + 34);
  layout->patterns = Le16(h + 36);
  // Bounded by the order, instrument and pattern tables.
  if (orders > kModuleMaxOrders || layout->instruments > kS3mMaxInstruments ||
      layout->patterns > kModuleMaxPatterns) {
    return AUDIO_ERROR_BADFILEFORMAT;
  }
  layout->signedSamples = Le16(h + 42) == 1;
  const bool panTable = h[53] == kS3mPanTableFlag;
  const u32 pointers = layout->instruments + layout->patterns;
  u8 tables[kModuleMaxOrders + 2 * (kS3mMaxInstruments + kModuleMaxPatterns) + kS3mChannels] = {};
  const u32 tableBytes = orders + 2 * pointers + (panTable ? kS3mChannels : 0);
  if (!file.Fits(kS3mHeader, tableBytes)) return AUDIO_ERROR_BADFILEFORMAT;
  IoReadBlock(tables, tableBytes);
  for (u32 i = 0; i < pointers; ++i) layout->pointers[i] = Le16(tables + orders + 2 * i);
  const u8* panning = panTable ? tables + orders + 2 * pointers : nullptr;

  CopyName(module->name, sizeof module->name, h, 28);
  module->flags = AUDIO_MODULE_AMIGA;
  module->tempo = h[49];
  module->bpm = h[50];
  // Marker entries (254 skip, 255 end) and patterns beyond the count go.
  for (u32 i = 0; i < orders; ++i) {
    if (tables[i] < layout->patterns) module->orders[module->orderCount++] = tables[i];
  }
  for (u32 c = 0; c < kS3mChannels; ++c) {
    const u8 setting = h[64 + c];
    layout->channelMap[c] = kNoChannel;
    if ((setting & 0x7F) >= 16) continue;  // off, or an AdLib channel
    const u8 pan = ChannelPanning(setting, panning ? panning[c] : 0);
    layout->channelMap[c] = static_cast<u8>(module->channelCount);
    module->panning[module->channelCount++] = pan;
  }
  return AUDIO_ERROR_NONE;
}

// ---- Effects ----

void SetEffect(ModuleCell* cell, u8 effect, u8 param) {
  cell->effect = effect;
  cell->param = param;
}

void SetExtended(ModuleCell* cell, u8 sub, u8 x) {
  SetEffect(cell, kFxExtended, static_cast<u8>(sub << 4 | (x & 15)));
}

void TranslateVolumeSlide(u8 info, ModuleCell* cell) {
  const u8 x = info >> 4, y = info & 15;
  if (x == 0 || y == 0) {
    SetEffect(cell, Fx('A'), info);
  } else if (x == 15) {
    SetExtended(cell, 0xB, y);  // fine slide down (FF included)
  } else if (y == 15) {
    SetExtended(cell, 0xA, x);  // fine slide up
  }
}

// Portamento down (E) or up (F): fine, extra fine or every tick.
void TranslatePortamento(u8 info, u8 effect, ModuleCell* cell) {
  const u8 x = info >> 4, amount = info & 15;
  if (x == 15) {
    SetExtended(cell, effect, amount);
  } else if (x == 14) {
    SetEffect(cell, Fx('X'), static_cast<u8>(effect << 4 | amount));
  } else {
    SetEffect(cell, effect, info);
  }
}

void TranslateSpecial(u8 info, ModuleCell* cell) {
  static constexpr i8 kExtended[16] = {0x0, 0x3, 0x5, 0x4, 0x7, -1,  -1,  -1,
                                       0x8, -1,  -1,  0x6, 0xC, 0xD, 0xE, -1};
  const u8 sub = info >> 4, x = info & 15;
  if (sub == 0xA) {
    // Old stereo control: sides, quarters and centre.
    static constexpr i16 kPan[8] = {0, 255, 0, 255, 64, 192, 128, 128};
    if (x < 8) SetEffect(cell, 8, static_cast<u8>(kPan[x]));
  } else if (kExtended[sub] >= 0) {
    SetExtended(cell, static_cast<u8>(kExtended[sub]), x);
  }
}

// The XM effect for S3M command letter with its info; a command without
// one leaves the cell's effect empty.
void TranslateEffect(char letter, u8 info, ModuleCell* cell) {
  SetEffect(cell, 0, 0);
  switch (letter) {
    case 'A':
      if (info <= 31) SetEffect(cell, Fx('F'), info);
      break;
    case 'B': SetEffect(cell, Fx('B'), info); break;
    case 'C': SetEffect(cell, Fx('D'), info); break;
    case 'D': TranslateVolumeSlide(info, cell); break;
    case 'E': TranslatePortamento(info, 2, cell); break;
    case 'F': TranslatePortamento(info, 1, cell); break;
    case 'G': SetEffect(cell, 3, info); break;
    case 'H': SetEffect(cell, 4, info); break;
    case 'I': SetEffect(cell, Fx('T'), info); break;
    case 'J': SetEffect(cell, 0, info); break;
    case 'K': SetEffect(cell, 6, info); break;
    case 'L': SetEffect(cell, 5, info); break;
    case 'O': SetEffect(cell, 9, info); break;
    case 'Q': SetEffect(cell, Fx('R'), info); break;
    case 'R': SetEffect(cell, 7, info); break;
    case 'S': TranslateSpecial(info, cell); break;
    case 'T':
      if (info >= 32) SetEffect(cell, Fx('F'), info);
      break;
    case 'U': SetEffect(cell, Fx('U'), info); break;
    case 'V': SetEffect(cell, Fx('G'), info); break;
    case 'X':
      SetEffect(cell, 8, info < 128 ? static_cast<u8>(info * 2) : info == 128 ? 255 : 128);
      break;
    case 'Z': SetEffect(cell, Fx('Z'), info); break;
    default: break;
  }
}

// ---- Patterns ----

u8 TranslateNote(u8 note) {
  if (note == 254) return kModuleKeyOff;
  if (note == 255) return 0;
  const u32 n = (note >> 4) * 12u + (note & 15) + 1;
  return n < kModuleKeyOff ? static_cast<u8>(n) : 0;
}

// One row's entries into cells, until its end byte.
void ReadRow(ByteReader& in, const S3mLayout& layout, u8* memory, ModuleCell* cells) {
  while (!in.AtEnd()) {
    const u8 what = in.Next();
    if (what == 0) return;
    const u8 target = layout.channelMap[what & 31];
    // A channel not kept still has its bytes read past.
    ModuleCell ignored;
    u8 ignoredMemory = 0;
    ModuleCell* cell = target == kNoChannel ? &ignored : &cells[target];
    u8* remembered = target == kNoChannel ? &ignoredMemory : &memory[target];
    if (what & 32) {
      cell->note = TranslateNote(in.Next());
      cell->instrument = in.Next();
    }
    if (what & 64) {
      const u8 volume = in.Next();
      cell->volume = volume <= 64 ? static_cast<u8>(volume + 16) : 0;
    }
    if (what & 128) {
      const u8 command = in.Next();
      u8 info = in.Next();
      if (info != 0) *remembered = info;
      if (info == 0 && command >= 1 && command <= 26 && std::strchr("DEFGKLQ", 'A' + command - 1)) {
        info = *remembered;
      }
      if (command >= 1 && command <= 26) {
        TranslateEffect(static_cast<char>('A' + command - 1), info, cell);
      } else {
        SetEffect(cell, 0, 0);
      }
    }
  }
}

u32 ReadPattern(ModuleFile& file, u16 pointer, const S3mLayout& layout, u16 channels,
                AudioPattern* pattern) {
  pattern->rows = kS3mRows;
  pattern->channels = channels;
  if (pointer == 0) return AUDIO_ERROR_NONE;  // no data: empty rows
  const u64 pos = u64{pointer} * 16;
  if (!file.Fits(pos, 2)) return AUDIO_ERROR_BADFILEFORMAT;
  file.Seek(pos);
  u8 lengthBytes[2];
  IoReadBlock(lengthBytes, 2);
  const u32 length = Le16(lengthBytes);
  if (!file.Fits(pos + 2, length > 2 ? length - 2 : 0)) return AUDIO_ERROR_BADFILEFORMAT;
  // The length counts its own two bytes, but some writers leave them
  // out: two bytes more are read where the file has them (the rows end
  // before any byte of what follows is used).
  std::vector<u8> packed(std::min<u64>(length, file.Available(pos + 2)));
  IoReadBlock(packed.data(), packed.size());
  ByteReader in(packed.data(), packed.size());
  u8 memory[kModuleMaxChannels] = {};
  PatternWriter out;
  for (u32 row = 0; row < kS3mRows; ++row) {
    ModuleCell cells[kModuleMaxChannels];
    ReadRow(in, layout, memory, cells);
    for (u32 c = 0; c < channels; ++c) out.Put(cells[c]);
  }
  return out.Finish(pattern, kS3mRows, channels) ? AUDIO_ERROR_NONE : AUDIO_ERROR_NOMEMORY;
}

// ---- Instruments ----

// The sample's pitch as a note offset from its C-4 rate, in 128ths of a
// semitone, by a fixed-point logarithm.
void RateToPitch(u32 c2spd, AudioSample* sample) {
  i64 x = (i64{c2spd} << 15) / 8363;
  i64 e = -98304;
  while (x > 4096) {
    x = (x + 1) >> 1;
    e += 24576;
  }
  i64 t = (1024 - 1928 * x) >> 11;
  t = ((t + 15391) * x + 1024) >> 11;
  t = ((t - 51097) * x + 1024) >> 11;
  t = ((t + 99053) * x + 1024) >> 11;
  const i64 r = t + e - 61419;
  sample->relativeNote = static_cast<i8>(static_cast<u8>((r >> 11) & 0xFF));
  sample->finetune = static_cast<i8>((r >> 4) & 127);
}

u32 ReadInstrument(ModuleFile& file, u16 pointer, bool signedData, AudioInstrument* instrument) {
  if (pointer == 0) return AUDIO_ERROR_NONE;  // an empty slot
  const u64 pos = u64{pointer} * 16;
  u8 h[kS3mInstrumentHeader];
  if (!file.Fits(pos, sizeof h)) return AUDIO_ERROR_BADFILEFORMAT;
  file.Seek(pos);
  IoReadBlock(h, sizeof h);
  const bool pcm = h[0] == 1;
  if (pcm && std::memcmp(h + 76, "SCRS", 4) != 0) return AUDIO_ERROR_BADFILEFORMAT;
  CopyName(instrument->name, sizeof instrument->name, h + 48, 28);
  const u32 length = Le32(h + 16);
  if (!pcm || length == 0) return AUDIO_ERROR_NONE;
  if (!NewSamples(instrument, 1)) return AUDIO_ERROR_NOMEMORY;
  AudioSample& sample = instrument->samples[0];
  CopyName(sample.name, 23, h + 48, 28);
  const u8 flags = h[31];
  const bool is16 = (flags & 4) != 0;
  // Lengths count samples; the wave counts bytes.
  const u32 scale = is16 ? 2 : 1;
  auto bytes = [scale](u32 v) {
    return static_cast<u32>(std::min<u64>(u64{v} * scale, 0xFFFFFFFF));
  };
  sample.wave.length = bytes(length);
  sample.wave.loopStart = bytes(Le32(h + 20));
  sample.wave.loopEnd = bytes(Le32(h + 24));
  sample.wave.format =
      static_cast<u16>(((flags & 1) ? AUDIO_WAVE_LOOP : 0) | (is16 ? AUDIO_WAVE_16BITS : 0));
  const u32 c2spd = Le32(h + 32);
  sample.wave.rate = static_cast<u16>(c2spd);
  sample.volume = std::min<u8>(h[28], 64);
  sample.panning = 127;
  if (c2spd != 0) RateToPitch(c2spd, &sample);
  // The data's paragraph number: a high byte, then a 16-bit word.
  file.Seek((u64{h[13]} << 16 | Le16(h + 14)) * 16);
  const SampleCoding coding =
      is16 ? (signedData ? SampleCoding::kSigned16 : SampleCoding::kUnsigned16)
           : (signedData ? SampleCoding::kSigned8 : SampleCoding::kUnsigned8);
  return ReadSampleData(file, &sample, coding);
}

u32 ReadBody(ModuleFile& file, const S3mLayout& layout, AudioModule* module) {
  if (!NewPatterns(module, layout.patterns) || !NewInstruments(module, layout.instruments)) {
    return AUDIO_ERROR_NOMEMORY;
  }
  for (u32 p = 0; p < layout.patterns; ++p) {
    const u16 pointer = layout.pointers[layout.instruments + p];
    const u32 code = ReadPattern(file, pointer, layout, module->channelCount, &module->patterns[p]);
    if (code != AUDIO_ERROR_NONE) return code;
  }
  for (u32 i = 0; i < layout.instruments; ++i) {
    const u32 code =
        ReadInstrument(file, layout.pointers[i], layout.signedSamples, &module->instruments[i]);
    if (code != AUDIO_ERROR_NONE) return code;
  }
  return AUDIO_ERROR_NONE;
}

}  // namespace

u32 ALoadS3MModule(const char* name, AudioModule** module, u32 offset) {
  if (!module) return AUDIO_ERROR_INVALPARAM;
  *module = nullptr;
  ModuleFile file;
  const u32 opened = file.Open(name, offset);
  if (opened != AUDIO_ERROR_NONE) return opened;
  AudioModule* loaded = NewModule();
  if (!loaded) return AUDIO_ERROR_NOMEMORY;
  S3mLayout layout;
  u32 code = ReadHeader(file, loaded, &layout);
  if (code == AUDIO_ERROR_NONE) code = ReadBody(file, layout, loaded);
  return FinishLoad(code, loaded, module);
}
