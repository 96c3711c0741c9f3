#include "tools/common/module_songs.h"

namespace modwriter {
namespace {

constexpr u16 kChannels = 4;
constexpr u8 kKeyOff = 97;
constexpr u8 kC4 = 49;  // plays a sample at its own rate

Instrument PlainInstrument(const std::string& name, u32 period, u8 volume, bool sixteenBit) {
  Instrument in;
  in.name = name;
  Sample s = SquareSample(4 * period * 8, period, sixteenBit);
  s.volume = volume;
  in.samples.push_back(s);
  return in;
}

// The XM instrument with a sustained volume envelope and a fade-out.
Instrument EnvelopeInstrument() {
  Instrument in = PlainInstrument("envelope", 24, 64, false);
  in.volume.points = {{0, 64}, {10, 32}, {20, 48}, {40, 0}};
  in.volume.sustain = 2;
  in.volume.flags = 1 | 2;
  in.fadeout = 2048;
  in.vibratoType = 0;
  in.vibratoDepth = 4;
  in.vibratoRate = 16;
  in.vibratoSweep = 8;
  return in;
}

void Note(Pattern& p, u32 row, u32 ch, u8 note, u8 instrument) {
  p.At(row, ch).note = note;
  p.At(row, ch).instrument = instrument;
}

void Effect(Pattern& p, u32 row, u32 ch, u8 effect, u8 param) {
  p.At(row, ch).effect = effect;
  p.At(row, ch).param = param;
}

void EffectRun(Pattern& p, u32 first, u32 last, u32 ch, u8 effect, u8 param) {
  for (u32 row = first; row <= last; ++row) Effect(p, row, ch, effect, param);
}

Pattern NotesPattern() {
  Pattern p(64, kChannels);
  for (u32 i = 0; i < 16; ++i) Note(p, i * 4, i % 4, static_cast<u8>(37 + (i * 5) % 24), 1 + i % 2);
  return p;
}

Pattern SpeedPattern() {
  Pattern p(64, kChannels);
  const u8 speeds[4] = {0x03, 0x50, 0x06, 0x7D};  // speed 3, tempo 80, speed 6, tempo 125
  for (u32 i = 0; i < 4; ++i) {
    Effect(p, i * 16, 0, 0xF, speeds[i]);
    Note(p, i * 16, 1, static_cast<u8>(kC4 + i), 1);
  }
  return p;
}

Pattern LoopPattern() {
  Pattern p(64, kChannels);
  Effect(p, 8, 0, 0xE, 0x60);
  Effect(p, 15, 0, 0xE, 0x62);
  Note(p, 8, 1, kC4, 1);
  Note(p, 12, 1, kC4 + 7, 2);
  Effect(p, 31, 0, 0xD, 0x00);
  return p;
}

Pattern DelayPattern() {
  Pattern p(64, kChannels);
  Effect(p, 4, 0, 0xE, 0xE2);
  Note(p, 4, 1, kC4, 2);
  Effect(p, 8, 0, 0xD, 0x00);
  return p;
}

Pattern BreakPattern() {
  Pattern p(64, kChannels);
  Note(p, 0, 1, kC4 + 2, 1);
  Effect(p, 2, 0, 0xD, 0x32);  // the next order from row 32
  return p;
}

// Entered at row 32 by the break before it.
Pattern SlidePattern() {
  Pattern p(64, kChannels);
  Note(p, 32, 0, kC4, 1);
  EffectRun(p, 34, 37, 0, 0x1, 0x04);
  EffectRun(p, 40, 43, 0, 0x2, 0x04);
  Note(p, 44, 0, kC4 + 12, 0);
  EffectRun(p, 44, 55, 0, 0x3, 0x10);
  Note(p, 32, 1, kC4 - 5, 2);
  EffectRun(p, 36, 47, 1, 0xA, 0x02);
  EffectRun(p, 48, 55, 1, 0xA, 0x20);
  Note(p, 32, 2, kC4 + 4, 1);
  Effect(p, 40, 2, 0xC, 0x20);
  Effect(p, 44, 2, 0xE, 0x13);  // fine slide up
  return p;
}

Pattern VibratoPattern() {
  Pattern p(64, kChannels);
  Note(p, 0, 0, kC4, 1);
  EffectRun(p, 0, 31, 0, 0x4, 0x48);
  Note(p, 0, 1, kC4 - 12, 2);
  EffectRun(p, 0, 31, 1, 0x0, 0x47);
  Note(p, 32, 2, kC4, 1);
  EffectRun(p, 32, 47, 2, 0x7, 0x48);
  Note(p, 48, 3, kC4 + 3, 2);
  Effect(p, 48, 3, 0xE, 0x93);  // retrigger every 3 ticks
  return p;
}

Pattern EnvelopePattern() {
  Pattern p(64, kChannels);
  Note(p, 0, 0, kC4, 3);
  p.At(16, 0).note = kKeyOff;
  Note(p, 32, 0, kC4 + 5, 3);
  p.At(40, 0).note = kKeyOff;
  Note(p, 0, 1, kC4 + 7, 1);
  p.At(8, 1).note = kKeyOff;
  return p;
}

Pattern JumpPattern(u8 target) {
  Pattern p(64, kChannels);
  Note(p, 0, 2, kC4 + 9, 2);
  Effect(p, 10, 0, 0xB, target);
  return p;
}

Pattern LastPattern() {
  Pattern p(64, kChannels);
  for (u32 i = 0; i < 8; ++i) Note(p, i * 8, i % 4, static_cast<u8>(kC4 - 12 + i * 3), 1 + i % 2);
  return p;
}

const u8 kBusyEffects[][2] = {{0xA, 0x01}, {0x4, 0x34}, {0x0, 0x37}, {0x1, 0x02},
                              {0x2, 0x02}, {0xA, 0x10}, {0x7, 0x24}, {0x0, 0x00}};

}  // namespace

const char* FormatName(Format format) {
  switch (format) {
    case Format::XM: return "XM";
    case Format::S3M: return "S3M";
    case Format::MOD: return "MOD";
    case Format::MTM: return "MTM";
  }
  return "";
}

std::vector<u8> Write(Format format, const Song& song) {
  switch (format) {
    case Format::XM: return WriteXM(song);
    case Format::S3M: return WriteS3M(song);
    case Format::MOD: return WriteMOD(song);
    case Format::MTM: return WriteMTM(song);
  }
  return {};
}

const std::vector<std::string>& FeatureNames() {
  static const std::vector<std::string> names = {
      "notes",   "speed and tempo",      "pattern loop", "pattern delay", "break", "slides",
      "vibrato", "envelope and key off", "jump",         "skipped",       "last"};
  return names;
}

Song FeatureSong(Format format) {
  Song song;
  song.name = std::string("features ") + FormatName(format);
  song.channels = kChannels;
  song.instruments = {PlainInstrument("plain", 32, 64, format == Format::XM),
                      PlainInstrument("soft", 16, 48, false), EnvelopeInstrument()};
  song.patterns = {NotesPattern(),  SpeedPattern(), LoopPattern(),    DelayPattern(),
                   BreakPattern(),  SlidePattern(), VibratoPattern(), EnvelopePattern(),
                   JumpPattern(10), NotesPattern(), LastPattern()};
  // The jump at order 8 skips order 9.
  for (u8 i = 0; i < song.patterns.size(); ++i) song.orders.push_back(i);
  return song;
}

Song BusySong(u16 channels, bool sixteenBit) {
  Song song;
  song.name = "busy";
  song.channels = channels;
  for (u32 i = 0; i < 4; ++i)
    song.instruments.push_back(
        PlainInstrument("busy", 12 + 8 * i, 40 + 8 * i, sixteenBit && i % 2 == 0));
  for (u32 pattern = 0; pattern < 8; ++pattern) {
    Pattern p(64, channels);
    for (u32 ch = 0; ch < channels; ++ch) {
      for (u32 row = ch % 2; row < 64; row += 2) {
        const u32 step = (row / 2 + ch * 3 + pattern * 5);
        Note(p, row, ch, static_cast<u8>(37 + step % 30), static_cast<u8>(1 + step % 4));
        const u8* effect = kBusyEffects[(step + ch) % 8];
        Effect(p, row, ch, effect[0], effect[1]);
        Effect(p, row + 1 < 64 ? row + 1 : row, ch, effect[0], effect[1]);
      }
    }
    song.patterns.push_back(p);
    song.orders.push_back(static_cast<u8>(pattern));
  }
  return song;
}

}  // namespace modwriter
