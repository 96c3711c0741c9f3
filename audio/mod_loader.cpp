// ProTracker-style modules (MOD) with 31 samples and 4 to 32 channels,
// told apart by the signature at offset 1080. Cells of four bytes give an
// Amiga period, which becomes the nearest note at or below it.
#include <algorithm>
#include <cstring>
#include <vector>

#include "audio/audio_file.h"
#include "audio/module_build.h"

namespace {

constexpr u32 kModHeader = 1084;
constexpr u32 kModSamples = 31;
constexpr u32 kModSampleHeader = 30;
constexpr u32 kModOrders = 128;
constexpr u32 kModMaxPattern = 127;  // pattern numbers a MOD can store
constexpr u32 kModRows = 64;

// Eight octaves of twelve periods, highest first.
constexpr u16 kPeriods[kModuleNotes] = {
    6848, 6464, 6096, 5760, 5424, 5120, 4832, 4560, 4304, 4064, 3840, 3624,
    3424, 3232, 3048, 2880, 2712, 2560, 2416, 2280, 2152, 2032, 1920, 1812,
    1712, 1616, 1524, 1440, 1356, 1280, 1208, 1140, 1076, 1016, 960,  906,
    856,  808,  762,  720,  678,  640,  604,  570,  538,  508,  480,  453,
    428,  404,  381,  360,  339,  320,  302,  285,  269,  254,  240,  226,
    214,  202,  190,  180,  170,  160,  151,  143,  135,  127,  120,  113,
    107,  101,  95,   90,   85,   80,   75,   71,   67,   63,   60,   56,
    53,   50,   47,   45,   42,   40,   37,   35,   33,   31,   30,   28,
};

// Channels for a signature; 0 when it is not one of a MOD.
u32 SignatureChannels(const u8* id) {
  static const char* const kFour[] = {"M.K.", "M!K!", "M&K!", "FLT4"};
  for (const char* four : kFour) {
    if (std::memcmp(id, four, 4) == 0) return 4;
  }
  if (std::memcmp(id, "6CHN", 4) == 0) return 6;
  // Octalyser's modules hold eight channels, as "8CHN" and "FLT8" do.
  if (!std::memcmp(id, "8CHN", 4) || !std::memcmp(id, "FLT8", 4) || !std::memcmp(id, "OCTA", 4)) {
    return 8;
  }
  if (id[0] >= '1' && id[0] <= '3' && id[1] >= '0' && id[1] <= '9' && id[2] == 'C' &&
      id[3] == 'H') {
    const u32 n = (id[0] - '0') * 10u + (id[1] - '0');
    if (n >= 10 && n <= 32 && n % 2 == 0) return n;
  }
  return 0;
}

u8 PeriodToNote(u32 period) {
  if (period == 0) return 0;
  for (u32 i = 0; i < kModuleNotes; ++i) {
    if (period >= kPeriods[i]) return static_cast<u8>(i + 1);
  }
  return 0;
}

// Effect and parameter as the player knows them: slides without an
// amount are dropped, and panning takes the full 0..255 range.
void TranslateEffect(u8 effect, u8 param, ModuleCell* cell) {
  const bool noAmount = (effect == 1 || effect == 2 || effect == 0xA) && param == 0;
  const bool noFine =
      effect == 0xE && (param == 0x10 || param == 0x20 || param == 0xA0 || param == 0xB0);
  if (noAmount || noFine) return;
  if (effect == 8) param = param < 128 ? static_cast<u8>(param * 2) : param == 128 ? 255 : 128;
  cell->effect = effect;
  cell->param = param;
}

u32 ReadPattern(const u8* raw, u16 channels, AudioPattern* pattern) {
  PatternWriter out;
  for (u32 i = 0; i < kModRows * channels; ++i) {
    const u8* b = raw + 4 * i;
    ModuleCell cell;
    cell.note = PeriodToNote((b[0] & 15u) << 8 | b[1]);
    cell.instrument = static_cast<u8>((b[0] & 0xF0) + (b[2] >> 4));
    TranslateEffect(b[2] & 15, b[3], &cell);
    out.Put(cell);
  }
  return out.Finish(pattern, kModRows, channels) ? AUDIO_ERROR_NONE : AUDIO_ERROR_NOMEMORY;
}

// One sample header into the instrument, and its data from the file.
u32 ReadSample(ModuleFile& file, const u8* h, AudioInstrument* instrument) {
  CopyName(instrument->name, 23, h, 22);
  const u32 words = Be16(h + 22);
  if (words == 0) return AUDIO_ERROR_NONE;
  if (!NewSamples(instrument, 1)) return AUDIO_ERROR_NOMEMORY;
  AudioSample& sample = instrument->samples[0];
  CopyName(sample.name, 23, h, 22);
  sample.finetune = static_cast<i8>(h[24] << 4);
  sample.volume = std::min<u8>(h[25], 64);
  sample.panning = 128;
  AudioWave& wave = sample.wave;
  wave.length = 2 * words;
  wave.rate = 8363;
  const u32 loopStart = Be16(h + 26), loopWords = Be16(h + 28);
  if (loopWords > 1 && loopStart < words) {
    wave.format = AUDIO_WAVE_LOOP;
    wave.loopStart = 2 * loopStart;
    wave.loopEnd = std::min(2 * (loopStart + loopWords), wave.length);
  }
  return ReadSampleData(file, &sample, SampleCoding::kSigned8);
}

u32 ReadModule(ModuleFile& file, AudioModule* module) {
  u8 h[kModHeader];
  if (!file.Fits(0, sizeof h)) return AUDIO_ERROR_BADFILEFORMAT;
  IoReadBlock(h, sizeof h);
  const u32 channels = SignatureChannels(h + 1080);
  if (channels == 0) return AUDIO_ERROR_BADFILEFORMAT;
  CopyName(module->name, 21, h, 20);
  module->flags = AUDIO_MODULE_AMIGA;
  // The order table holds 128 entries.
  module->orderCount = std::min<u16>(h[950], kModOrders);
  module->restart = h[951];
  module->channelCount = static_cast<u16>(channels);
  module->tempo = 6;
  module->bpm = 125;
  std::memcpy(module->orders, h + 952, kModOrders);
  u32 patterns = 0;
  for (u32 i = 0; i < kModOrders; ++i) {
    if (h[952 + i] <= kModMaxPattern) patterns = std::max<u32>(patterns, h[952 + i] + 1u);
  }
  for (u32 c = 0; c < channels; ++c) module->panning[c] = (c % 4 == 0 || c % 4 == 3) ? 0 : 255;

  const u64 patternBytes = u64{kModRows} * channels * 4;
  if (!file.Fits(kModHeader, patterns * patternBytes)) return AUDIO_ERROR_BADFILEFORMAT;
  if (!NewPatterns(module, patterns) || !NewInstruments(module, kModSamples)) {
    return AUDIO_ERROR_NOMEMORY;
  }
  std::vector<u8> raw(patternBytes);
  for (u32 p = 0; p < patterns; ++p) {
    IoReadBlock(raw.data(), raw.size());
    const u32 code = ReadPattern(raw.data(), module->channelCount, &module->patterns[p]);
    if (code != AUDIO_ERROR_NONE) return code;
  }
  for (u32 s = 0; s < kModSamples; ++s) {
    const u32 code = ReadSample(file, h + 20 + kModSampleHeader * s, &module->instruments[s]);
    if (code != AUDIO_ERROR_NONE) return code;
  }
  return AUDIO_ERROR_NONE;
}

}  // namespace

u32 ALoadMODModule(const char* name, AudioModule** module, u32 offset) {
  if (!module) return AUDIO_ERROR_INVALPARAM;
  *module = nullptr;
  ModuleFile file;
  const u32 opened = file.Open(name, offset);
  if (opened != AUDIO_ERROR_NONE) return opened;
  AudioModule* loaded = NewModule();
  if (!loaded) return AUDIO_ERROR_NOMEMORY;
  return FinishLoad(ReadModule(file, loaded), loaded, module);
}
