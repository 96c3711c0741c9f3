// MultiTracker modules (MTM). Patterns are lists of shared tracks, one
// per channel; each track holds 64 rows of three-byte cells.
#include <algorithm>
#include <cstring>
#include <vector>

#include "audio/audio_file.h"
#include "audio/module_build.h"

namespace {

constexpr u32 kMtmHeader = 66;
constexpr u32 kMtmSampleHeader = 37;
constexpr u32 kMtmOrders = 128;
constexpr u32 kMtmRows = 64;
constexpr u32 kMtmTrackBytes = kMtmRows * 3;
constexpr u32 kMtmTrackList = 32;  // track numbers per pattern
constexpr u32 kMtmMaxSamples = 128;
constexpr u8 kMtmNoteOffset = 25;

struct MtmLayout {
  u32 tracks = 0;
  u32 patterns = 0;
  u32 samples = 0;
  u32 commentBytes = 0;
};

u32 ReadHeader(ModuleFile& file, AudioModule* module, MtmLayout* layout) {
  u8 h[kMtmHeader];
  if (!file.Fits(0, sizeof h)) return AUDIO_ERROR_BADFILEFORMAT;
  IoReadBlock(h, sizeof h);
  if (std::memcmp(h, "MTM", 3) != 0 || (h[3] >> 4) != 1) return AUDIO_ERROR_BADFILEFORMAT;
  layout->tracks = Le16(h + 24);
  layout->commentBytes = Le16(h + 28);
  layout->samples = h[30];
  const u32 channels = h[33];
  // The channel and pan tables hold 32 entries, the instrument list 128.
  if (layout->samples > kMtmMaxSamples || h[32] != kMtmRows || channels > kModuleMaxChannels) {
    return AUDIO_ERROR_BADFILEFORMAT;
  }
  CopyName(module->name, 21, h + 4, 20);
  module->flags = AUDIO_MODULE_AMIGA;
  // The order table holds 128 entries.
  module->orderCount = static_cast<u16>(std::min<u32>(h[27] + 1u, kMtmOrders));
  module->restart = 256;
  module->channelCount = static_cast<u16>(channels);
  module->tempo = 6;
  module->bpm = 125;
  for (u32 c = 0; c < channels; ++c)
    module->panning[c] = static_cast<u8>(std::min<u8>(h[34 + c], 15) * 16);
  layout->patterns = h[26] + 1u;
  return AUDIO_ERROR_NONE;
}

void FillSample(const u8* h, AudioInstrument* instrument) {
  CopyName(instrument->name, 23, h, 22);
  AudioSample& sample = instrument->samples[0];
  CopyName(sample.name, 23, h, 22);
  AudioWave& wave = sample.wave;
  wave.length = Le32(h + 22);
  wave.rate = 8363;
  const u32 loopStart = Le32(h + 26), loopEnd = Le32(h + 30);
  if (u64{loopStart} + 2 < loopEnd && loopEnd <= wave.length) {
    wave.format = AUDIO_WAVE_LOOP;
    wave.loopStart = loopStart;
    wave.loopEnd = loopEnd;
  }
  // A finetune nibble, stored as MOD stores it.
  sample.finetune = static_cast<i8>(h[34] << 4);
  sample.volume = std::min<u8>(h[35], 64);
  sample.panning = 128;
}

// One channel's cell of a row of a track.
ModuleCell TrackCell(const u8* b) {
  ModuleCell cell;
  const u8 note = b[0] >> 2;
  cell.note = note ? static_cast<u8>(note + kMtmNoteOffset) : 0;
  cell.instrument = static_cast<u8>((b[0] & 3) << 4 | b[1] >> 4);
  cell.effect = b[1] & 15;
  cell.param = b[2];
  return cell;
}

u32 ReadPatterns(const std::vector<u8>& tracks, const u8* lists, AudioModule* module) {
  const u32 trackCount = static_cast<u32>(tracks.size() / kMtmTrackBytes);
  for (u32 p = 0; p < module->patternCount; ++p) {
    const u8* list = lists + 2 * kMtmTrackList * p;
    PatternWriter out;
    for (u32 row = 0; row < kMtmRows; ++row) {
      for (u32 c = 0; c < module->channelCount; ++c) {
        // Track 0 is the empty track; tracks are numbered from 1.
        const u32 t = Le16(list + 2 * c);
        out.Put(t == 0 || t > trackCount ? ModuleCell()
                                         : TrackCell(&tracks[(t - 1) * kMtmTrackBytes + 3 * row]));
      }
    }
    if (!out.Finish(&module->patterns[p], kMtmRows, module->channelCount)) {
      return AUDIO_ERROR_NOMEMORY;
    }
  }
  return AUDIO_ERROR_NONE;
}

u32 ReadBody(ModuleFile& file, const MtmLayout& layout, AudioModule* module) {
  const u32 patterns = layout.patterns;
  const u64 sampleBytes = u64{kMtmSampleHeader} * layout.samples;
  const u64 trackBytes = u64{kMtmTrackBytes} * layout.tracks;
  const u64 listBytes = 2u * kMtmTrackList * patterns;
  if (!file.Fits(kMtmHeader,
                 sampleBytes + kMtmOrders + trackBytes + listBytes + layout.commentBytes)) {
    return AUDIO_ERROR_BADFILEFORMAT;
  }
  if (!NewPatterns(module, patterns) || !NewInstruments(module, layout.samples)) {
    return AUDIO_ERROR_NOMEMORY;
  }
  std::vector<u8> headers(sampleBytes), tracks(trackBytes), lists(listBytes);
  IoReadBlock(headers.data(), headers.size());
  IoReadBlock(module->orders, kMtmOrders);
  IoReadBlock(tracks.data(), tracks.size());
  IoReadBlock(lists.data(), lists.size());
  file.Seek(file.Tell() + layout.commentBytes);
  u32 code = ReadPatterns(tracks, lists.data(), module);
  for (u32 s = 0; code == AUDIO_ERROR_NONE && s < layout.samples; ++s) {
    AudioInstrument& instrument = module->instruments[s];
    const u8* h = &headers[kMtmSampleHeader * s];
    CopyName(instrument.name, 23, h, 22);
    if (Le32(h + 22) == 0) continue;
    if (!NewSamples(&instrument, 1)) return AUDIO_ERROR_NOMEMORY;
    FillSample(h, &instrument);
    code = ReadSampleData(file, &instrument.samples[0], SampleCoding::kUnsigned8);
  }
  return code;
}

}  // namespace

u32 ALoadMTMModule(const char* name, AudioModule** module, u32 offset) {
  if (!module) return AUDIO_ERROR_INVALPARAM;
  *module = nullptr;
  ModuleFile file;
  const u32 opened = file.Open(name, offset);
  if (opened != AUDIO_ERROR_NONE) return opened;
  AudioModule* loaded = NewModule();
  if (!loaded) return AUDIO_ERROR_NOMEMORY;
  MtmLayout layout;
  u32 code = ReadHeader(file, loaded, &layout);
  if (code == AUDIO_ERROR_NONE) code = ReadBody(file, layout, loaded);
  return FinishLoad(code, loaded, module);
}
