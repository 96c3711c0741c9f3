#include "tools/common/module_writer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>

namespace modwriter {
namespace {

// A growing little-endian byte buffer.
class Out {
 public:
  std::vector<u8> bytes;

  size_t Size() const { return bytes.size(); }
  void U8(u32 v) { bytes.push_back(static_cast<u8>(v)); }
  void U16(u32 v) { U8(v); U8(v >> 8); }
  void U32(u32 v) { U16(v); U16(v >> 16); }
  void U16BE(u32 v) { U8(v >> 8); U8(v); }
  void Text(const std::string& text, size_t size) {
    for (size_t i = 0; i < size; ++i) U8(i < text.size() ? static_cast<u8>(text[i]) : 0);
  }
  void Raw(const std::vector<u8>& data) { bytes.insert(bytes.end(), data.begin(), data.end()); }
  void PadTo(size_t multiple) {
    while (bytes.size() % multiple) U8(0);
  }
  void Put16At(size_t at, u32 v) {
    bytes[at] = static_cast<u8>(v);
    bytes[at + 1] = static_cast<u8>(v >> 8);
  }
};

const Cell kEmpty{};

const Cell& CellOf(const Song& song, u32 pattern, u32 row, u32 channel) {
  if (pattern >= song.patterns.size()) return kEmpty;
  const Pattern& p = song.patterns[pattern];
  if (row >= p.rows || channel >= p.channels) return kEmpty;
  return p.At(row, channel);
}

const Sample* FirstSample(const Instrument& instrument) {
  return instrument.samples.empty() ? nullptr : &instrument.samples[0];
}

// 8-bit data for formats that only keep 8 bits.
u8 Byte8(const Sample& s, size_t i) {
  const i16 v = s.pcm[i];
  return static_cast<u8>(s.sixteenBit ? (v >> 8) : v);
}

u8 ChannelPan(const Song& song, u32 channel) {
  if (channel < song.panning.size()) return song.panning[channel];
  return (channel % 4 == 0 || channel % 4 == 3) ? 0 : 255;
}

// ---- XM ----

void WriteXMPattern(Out& out, const Song& song, u32 index) {
  const u16 rows = index < song.patterns.size() ? song.patterns[index].rows : 64;
  Out data;
  for (u32 row = 0; row < rows; ++row) {
    for (u32 ch = 0; ch < song.channels; ++ch) {
      const Cell& c = CellOf(song, index, row, ch);
      const u8 flags = 0x80 | (c.note ? 1 : 0) | (c.instrument ? 2 : 0) | (c.volume ? 4 : 0) |
                       (c.effect ? 8 : 0) | (c.param ? 16 : 0);
      data.U8(flags);
      if (c.note) data.U8(c.note);
      if (c.instrument) data.U8(c.instrument);
      if (c.volume) data.U8(c.volume);
      if (c.effect) data.U8(c.effect);
      if (c.param) data.U8(c.param);
    }
  }
  out.U32(9);
  out.U8(0);
  out.U16(rows);
  out.U16(static_cast<u32>(data.Size()));
  out.Raw(data.bytes);
}

void WriteXMEnvelope(Out& out, const Envelope& e) {
  for (size_t i = 0; i < 12; ++i) {
    const auto point = i < e.points.size() ? e.points[i] : std::pair<u16, u16>(0, 0);
    out.U16(point.first);
    out.U16(point.second);
  }
}

void WriteXMSampleData(Out& out, const Sample& s) {
  i32 previous = 0;
  for (i16 v : s.pcm) {
    const i32 delta = v - previous;
    previous = v;
    if (s.sixteenBit) {
      out.U16(static_cast<u16>(delta));
    } else {
      out.U8(static_cast<u8>(delta));
    }
  }
}

void WriteXMInstrument(Out& out, const Instrument& in) {
  const u32 count = static_cast<u32>(in.samples.size());
  out.U32(count ? 243 : 29);
  out.Text(in.name, 22);
  out.U8(0);
  out.U16(count);
  if (count == 0) return;
  out.U32(40);
  for (u8 m : in.sampleMap) out.U8(m);
  WriteXMEnvelope(out, in.volume);
  WriteXMEnvelope(out, in.panning);
  out.U8(static_cast<u32>(in.volume.points.size()));
  out.U8(static_cast<u32>(in.panning.points.size()));
  for (u8 v : {in.volume.sustain, in.volume.loopStart, in.volume.loopEnd, in.panning.sustain,
               in.panning.loopStart, in.panning.loopEnd, in.volume.flags, in.panning.flags,
               in.vibratoType, in.vibratoSweep, in.vibratoDepth, in.vibratoRate})
    out.U8(v);
  out.U16(in.fadeout);
  out.U16(0);
  for (const Sample& s : in.samples) {
    const u32 unit = s.sixteenBit ? 2 : 1;
    const bool loops = s.loop != Loop::None;
    out.U32(static_cast<u32>(s.pcm.size()) * unit);
    out.U32(loops ? s.loopStart * unit : 0);
    out.U32(loops ? (s.loopEnd - s.loopStart) * unit : 0);
    out.U8(s.volume);
    out.U8(static_cast<u8>(s.finetune));
    out.U8((s.loop == Loop::Forward ? 1 : s.loop == Loop::PingPong ? 2 : 0) |
           (s.sixteenBit ? 16 : 0));
    out.U8(s.panning);
    out.U8(static_cast<u8>(s.relativeNote));
    out.U8(0);
    out.Text(s.name, 22);
  }
  for (const Sample& s : in.samples) WriteXMSampleData(out, s);
}

// ---- S3M ----

struct S3MCommand {
  u8 command = 0;  // 1 = A .. 26 = Z; 0 none
  u8 info = 0;
};

S3MCommand S3MExtended(u8 param) {
  const u8 x = param >> 4, y = param & 15;
  switch (x) {
    case 0x0: return {19, y};
    case 0x1: return {6, static_cast<u8>(0xF0 | y)};
    case 0x2: return {5, static_cast<u8>(0xF0 | y)};
    case 0x3: return {19, static_cast<u8>(0x10 | y)};
    case 0x4: return {19, static_cast<u8>(0x30 | y)};
    case 0x5: return {19, static_cast<u8>(0x20 | y)};
    case 0x6: return {19, static_cast<u8>(0xB0 | y)};
    case 0x7: return {19, static_cast<u8>(0x40 | y)};
    case 0x8: return {19, static_cast<u8>(0x80 | y)};
    case 0xA: return {4, static_cast<u8>((y << 4) | 0xF)};
    case 0xB: return {4, static_cast<u8>(0xF0 | y)};
    case 0xC: return {19, static_cast<u8>(0xC0 | y)};
    case 0xD: return {19, static_cast<u8>(0xD0 | y)};
    case 0xE: return {19, static_cast<u8>(0xE0 | y)};
    default: return {};
  }
}

// The S3M command for an XM effect; none where S3M has no such letter.
S3MCommand S3MOf(u8 effect, u8 param) {
  switch (effect) {
    case 0x0: return param ? S3MCommand{10, param} : S3MCommand{};
    case 0x1: return {6, std::min<u8>(param, 0xDF)};
    case 0x2: return {5, std::min<u8>(param, 0xDF)};
    case 0x3: return {7, param};
    case 0x4: return {8, param};
    case 0x5: return {12, param};
    case 0x6: return {11, param};
    case 0x7: return {18, param};
    case 0x8: return {24, static_cast<u8>(param == 255 ? 128 : param / 2)};
    case 0x9: return {15, param};
    case 0xA: return {4, param};
    case 0xB: return {2, param};
    case 0xD: return {3, param};
    case 0xE: return S3MExtended(param);
    case 0xF: return {static_cast<u8>(param < 32 ? 1 : 20), param};
    case 16: return {22, param};                     // G: global volume
    case 27: return {17, param};                     // R: retrigger
    case 29: return {9, param};                      // T: tremor
    case 30: return {21, param};                     // U: fine vibrato
    case 33:                                         // X: extra-fine slides
      if ((param >> 4) == 1) return {6, static_cast<u8>(0xE0 | (param & 15))};
      if ((param >> 4) == 2) return {5, static_cast<u8>(0xE0 | (param & 15))};
      return {};
    case 35: return {26, param};
    default: return {};
  }
}

std::vector<u8> S3MPatternData(const Song& song, u32 index) {
  Out out;
  out.U16(0);
  for (u32 row = 0; row < 64; ++row) {
    for (u32 ch = 0; ch < song.channels && ch < 16; ++ch) {
      const Cell& c = CellOf(song, index, row, ch);
      u8 volume = (c.volume >= 0x10 && c.volume <= 0x50) ? c.volume : 0;
      if (c.effect == 0xC && !volume) volume = 0x10 + std::min<u8>(c.param, 64);
      const S3MCommand command = S3MOf(c.effect, c.param);
      const u8 w = static_cast<u8>(ch | ((c.note || c.instrument) ? 32 : 0) | (volume ? 64 : 0) |
                                   (command.command ? 128 : 0));
      if (w == ch) continue;
      out.U8(w);
      if (w & 32) {
        const u32 n = c.note;
        out.U8(n == 97 ? 254 : (n >= 1 && n <= 96) ? (((n - 1) / 12) << 4) | ((n - 1) % 12) : 255);
        out.U8(c.instrument);
      }
      if (w & 64) out.U8(volume - 0x10);
      if (w & 128) {
        out.U8(command.command);
        out.U8(command.info);
      }
    }
    out.U8(0);
  }
  out.Put16At(0, static_cast<u32>(out.Size()));
  return out.bytes;
}

void WriteS3MInstrument(Out& out, const Instrument& in, u32 dataPara) {
  const Sample* s = FirstSample(in);
  const bool loops = s && s->loop != Loop::None;
  out.U8(s ? 1 : 0);
  out.Text("", 12);
  out.U8(dataPara >> 16);
  out.U16(dataPara);
  out.U32(s ? static_cast<u32>(s->pcm.size()) : 0);
  out.U32(loops ? s->loopStart : 0);
  out.U32(loops ? s->loopEnd : 0);
  out.U8(s ? s->volume : 0);
  out.U8(0);
  out.U8(0);
  out.U8((loops ? 1 : 0) | (s && s->sixteenBit ? 4 : 0));
  out.U32(s ? s->c2spd : 8363);
  out.Text("", 12);
  out.Text(in.name, 28);
  out.Text(s ? "SCRS" : "", 4);
}

// The header up to the pan table; returns where the parapointers go.
size_t WriteS3MHeader(Out& out, const Song& song, u32 orders) {
  const u32 instruments = static_cast<u32>(song.instruments.size());
  const u32 patterns = static_cast<u32>(song.patterns.size());
  out.Text(song.name, 28);
  out.U8(0x1A);
  out.U8(16);
  out.U16(0);
  out.U16(orders);
  out.U16(instruments);
  out.U16(patterns);
  out.U16(0);
  out.U16(0x1320);
  out.U16(2);  // unsigned sample data
  out.Text("SCRM", 4);
  for (u32 v : {64u, u32(song.speed), u32(song.bpm), 0xB0u, 0u, 252u}) out.U8(v);
  out.Text("", 8);
  out.U16(0);
  for (u32 ch = 0; ch < 32; ++ch) {
    // Left channels 0..7, right 8..15, in the usual L R R L order.
    const bool left = ch % 4 == 0 || ch % 4 == 3;
    if (ch < song.s3mChannels.size())
      out.U8(song.s3mChannels[ch]);
    else
      out.U8(ch < song.channels && ch < 16 ? (left ? ch / 2 : 8 + ch / 2) : 255);
  }
  for (u32 i = 0; i < orders; ++i) out.U8(i < song.orders.size() ? song.orders[i] : 255);
  const size_t pointers = out.Size();
  out.Text("", 2 * (instruments + patterns));
  for (u32 ch = 0; ch < 32; ++ch)
    out.U8(ch < song.panning.size() ? 0x20 | (song.panning[ch] >> 4) : 0);
  out.PadTo(16);
  return pointers;
}

// ---- MOD ----

const u16 kModPeriods[96] = {
    6848, 6464, 6096, 5760, 5424, 5120, 4832, 4560, 4304, 4064, 3840, 3624,
    3424, 3232, 3048, 2880, 2712, 2560, 2416, 2280, 2152, 2032, 1920, 1812,
    1712, 1616, 1524, 1440, 1356, 1280, 1208, 1140, 1076, 1016, 960,  906,
    856,  808,  762,  720,  678,  640,  604,  570,  538,  508,  480,  453,
    428,  404,  381,  360,  339,  320,  302,  285,  269,  254,  240,  226,
    214,  202,  190,  180,  170,  160,  151,  143,  135,  127,  120,  113,
    107,  101,  95,   90,   85,   80,   75,   71,   67,   63,   60,   56,
    53,   50,   47,   45,   42,   40,   37,   35,   33,   31,   30,   28};

std::string ModSignature(u32 channels) {
  if (channels == 4) return "M.K.";
  if (channels == 6 || channels == 8) return std::to_string(channels) + "CHN";
  char text[8];
  std::snprintf(text, sizeof text, "%02uCH", channels);
  return text;
}

// A MOD or MTM cell's effect and parameter: the four-bit effects only; a
// volume column that sets a volume becomes effect C when no effect is set.
void ProtrackerEffect(const Cell& c, u8* effect, u8* param) {
  *effect = c.effect < 16 ? c.effect : 0;
  *param = c.effect < 16 ? c.param : 0;
  if (c.effect == 0 && c.param == 0 && c.volume >= 0x10 && c.volume <= 0x50) {
    *effect = 0xC;
    *param = c.volume - 0x10;
  }
}

u32 PatternSpan(const Song& song) {
  u32 highest = 0;
  for (u8 o : song.orders) highest = std::max<u32>(highest, o);
  return highest + 1;
}

// ---- MTM ----

using Track = std::vector<u8>;  // 64 rows x 3 bytes

Track MtmTrack(const Song& song, u32 pattern, u32 channel) {
  Track track(192, 0);
  for (u32 row = 0; row < 64; ++row) {
    const Cell& c = CellOf(song, pattern, row, channel);
    u8 effect, param;
    ProtrackerEffect(c, &effect, &param);
    const u32 note = (c.note >= 26 && c.note <= 88) ? c.note - 25 : 0;
    track[row * 3] = static_cast<u8>((note << 2) | ((c.instrument >> 4) & 3));
    track[row * 3 + 1] = static_cast<u8>(((c.instrument & 15) << 4) | effect);
    track[row * 3 + 2] = param;
  }
  return track;
}

// Every distinct column once as a track, an empty column as track 0; the
// sequence names each pattern's 32 tracks.
void MtmTracks(const Song& song, std::vector<Track>* tracks, std::vector<u16>* sequence) {
  const u32 patterns = static_cast<u32>(song.patterns.size());
  std::map<Track, u32> known;
  sequence->assign(size_t(patterns) * 32, 0);
  const Track empty(192, 0);
  for (u32 p = 0; p < patterns; ++p) {
    for (u32 ch = 0; ch < song.channels && ch < 32; ++ch) {
      Track track = MtmTrack(song, p, ch);
      if (track == empty) continue;
      auto it = known.find(track);
      if (it == known.end()) {
        tracks->push_back(track);
        it = known.emplace(track, static_cast<u32>(tracks->size())).first;
      }
      (*sequence)[p * 32 + ch] = static_cast<u16>(it->second);
    }
  }
}

}  // namespace

u16 ModPeriod(u32 note) { return (note >= 1 && note <= 96) ? kModPeriods[note - 1] : 0; }

Sample SquareSample(u32 length, u32 period, bool sixteenBit) {
  Sample s;
  s.name = "square";
  s.sixteenBit = sixteenBit;
  s.pcm.resize(length);
  const i16 high = sixteenBit ? 16000 : 64;
  for (u32 i = 0; i < length; ++i) s.pcm[i] = ((i % period) < period / 2) ? high : -high;
  s.loop = Loop::Forward;
  s.loopStart = 0;
  s.loopEnd = length;
  return s;
}

std::vector<u8> WriteXM(const Song& song) {
  Out out;
  out.Text("Extended Module: ", 17);
  out.Text(song.name, 20);
  out.U8(0x1A);
  out.Text("module_writer", 20);
  out.U16(0x0104);
  out.U32(276);
  out.U16(static_cast<u32>(song.orders.size()));
  out.U16(song.restart);
  out.U16(song.channels);
  out.U16(static_cast<u32>(song.patterns.size()));
  out.U16(static_cast<u32>(song.instruments.size()));
  out.U16(song.linear ? 1 : 0);
  out.U16(song.speed);
  out.U16(song.bpm);
  for (size_t i = 0; i < 256; ++i) out.U8(i < song.orders.size() ? song.orders[i] : 0);
  for (u32 i = 0; i < song.patterns.size(); ++i) WriteXMPattern(out, song, i);
  for (const Instrument& in : song.instruments) WriteXMInstrument(out, in);
  return out.bytes;
}

std::vector<u8> WriteS3M(const Song& song) {
  const u32 orders = static_cast<u32>((song.orders.size() + 1) & ~size_t(1));
  const u32 instruments = static_cast<u32>(song.instruments.size());
  const u32 patterns = static_cast<u32>(song.patterns.size());
  Out out;
  const size_t pointers = WriteS3MHeader(out, song, orders);
  // Instruments, then patterns, then sample data, each on a paragraph.
  std::vector<std::vector<u8>> patternData;
  for (u32 i = 0; i < patterns; ++i) patternData.push_back(S3MPatternData(song, i));
  size_t at = out.Size() + 80 * size_t(instruments);
  at = (at + 15) & ~size_t(15);
  std::vector<u32> patternPara;
  for (const auto& data : patternData) {
    patternPara.push_back(static_cast<u32>(at / 16));
    at = (at + data.size() + 15) & ~size_t(15);
  }
  for (u32 i = 0; i < instruments; ++i) {
    const Sample* s = FirstSample(song.instruments[i]);
    out.Put16At(pointers + 2 * i, static_cast<u32>(out.Size() / 16));
    WriteS3MInstrument(out, song.instruments[i], s ? static_cast<u32>(at / 16) : 0);
    if (s) at = (at + s->pcm.size() * (s->sixteenBit ? 2 : 1) + 15) & ~size_t(15);
  }
  out.PadTo(16);
  for (u32 i = 0; i < patterns; ++i) {
    out.Put16At(pointers + 2 * (instruments + i), patternPara[i]);
    out.Raw(patternData[i]);
    out.PadTo(16);
  }
  for (const Instrument& in : song.instruments) {
    const Sample* s = FirstSample(in);
    if (!s) continue;
    for (size_t i = 0; i < s->pcm.size(); ++i) {
      if (s->sixteenBit)
        out.U16(static_cast<u16>(s->pcm[i]) ^ 0x8000);
      else
        out.U8(Byte8(*s, i) ^ 0x80);
    }
    out.PadTo(16);
  }
  return out.bytes;
}

std::vector<u8> WriteMOD(const Song& song) {
  Out out;
  out.Text(song.name, 20);
  for (u32 i = 0; i < 31; ++i) {
    const Sample* s = i < song.instruments.size() ? FirstSample(song.instruments[i]) : nullptr;
    out.Text(i < song.instruments.size() ? song.instruments[i].name : "", 22);
    const u32 words = s ? static_cast<u32>(s->pcm.size() + 1) / 2 : 0;
    const bool loops = s && s->loop != Loop::None;
    out.U16BE(words);
    out.U8(s ? (static_cast<u8>(s->finetune) >> 4) : 0);
    out.U8(s ? s->volume : 0);
    out.U16BE(loops ? s->loopStart / 2 : 0);
    out.U16BE(loops ? (s->loopEnd - s->loopStart) / 2 : 1);
  }
  out.U8(static_cast<u32>(song.orders.size()));
  // 127 is what ProTracker writes when the song restarts at the start;
  // players read the file as ProTracker's by it.
  out.U8(song.restart ? song.restart : 127);
  for (size_t i = 0; i < 128; ++i) out.U8(i < song.orders.size() ? song.orders[i] : 0);
  out.Text(ModSignature(song.channels), 4);
  const u32 span = PatternSpan(song);
  for (u32 p = 0; p < span; ++p) {
    for (u32 row = 0; row < 64; ++row) {
      for (u32 ch = 0; ch < song.channels; ++ch) {
        const Cell& c = CellOf(song, p, row, ch);
        u8 effect, param;
        ProtrackerEffect(c, &effect, &param);
        const u32 period = ModPeriod(c.note);
        out.U8((c.instrument & 0xF0) | (period >> 8));
        out.U8(period);
        out.U8(((c.instrument & 15) << 4) | effect);
        out.U8(param);
      }
    }
  }
  for (u32 i = 0; i < 31 && i < song.instruments.size(); ++i) {
    const Sample* s = FirstSample(song.instruments[i]);
    if (!s) continue;
    for (size_t k = 0; k < s->pcm.size(); ++k) out.U8(Byte8(*s, k));
    if (s->pcm.size() % 2) out.U8(0);
  }
  return out.bytes;
}

std::vector<u8> WriteMTM(const Song& song) {
  const u32 patterns = static_cast<u32>(song.patterns.size());
  std::vector<Track> tracks;
  std::vector<u16> sequence;
  MtmTracks(song, &tracks, &sequence);
  const u32 samples = static_cast<u32>(song.instruments.size());
  Out out;
  out.Text("MTM", 3);
  out.U8(0x10);
  out.Text(song.name, 20);
  out.U16(static_cast<u32>(tracks.size()));
  out.U8(patterns ? patterns - 1 : 0);
  out.U8(song.orders.empty() ? 0 : static_cast<u32>(song.orders.size()) - 1);
  out.U16(0);
  out.U8(samples);
  out.U8(0);
  out.U8(64);
  out.U8(song.channels);
  for (u32 ch = 0; ch < 32; ++ch) out.U8(ChannelPan(song, ch) >> 4);
  for (const Instrument& in : song.instruments) {
    const Sample* s = FirstSample(in);
    const bool loops = s && s->loop != Loop::None;
    out.Text(in.name, 22);
    out.U32(s ? static_cast<u32>(s->pcm.size()) : 0);
    out.U32(loops ? s->loopStart : 0);
    out.U32(loops ? s->loopEnd : 0);
    out.U8(s ? (static_cast<u8>(s->finetune) >> 4) : 0);
    out.U8(s ? s->volume : 0);
    out.U8(0);
  }
  for (size_t i = 0; i < 128; ++i) out.U8(i < song.orders.size() ? song.orders[i] : 0);
  for (const Track& t : tracks) out.Raw(t);
  for (u16 t : sequence) out.U16(t);
  for (const Instrument& in : song.instruments) {
    const Sample* s = FirstSample(in);
    if (!s) continue;
    for (size_t i = 0; i < s->pcm.size(); ++i) out.U8(Byte8(*s, i) ^ 0x80);
  }
  return out.bytes;
}

bool SaveFile(const std::string& path, const std::vector<u8>& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  const bool written =
      bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace modwriter
