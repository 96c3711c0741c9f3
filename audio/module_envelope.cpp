// The instrument-driven part of a channel's tick: fadeout after the key is
// released, the volume and panning envelopes with sustain and loop, and
// auto-vibrato. They turn the output volume, panning and period into the
// final ones that the commit hands to the voice.
#include <algorithm>

#include "audio/module_player.h"

namespace {

const i8 kAutoVibrato[256] = {
    0,   -1,  -2,  -4,  -5,  -7,  -8,  -10, -11, -13, -15, -16, -18, -19, -21, -22, -23, -25, -26,
    -28, -29, -31, -32, -33, -35, -36, -37, -38, -40, -41, -42, -43, -44, -45, -46, -47, -48, -49,
    -50, -51, -52, -53, -54, -55, -55, -56, -57, -58, -58, -59, -59, -60, -60, -61, -61, -61, -62,
    -62, -62, -63, -63, -63, -63, -63, -63, -63, -63, -63, -63, -63, -62, -62, -62, -61, -61, -61,
    -60, -60, -59, -59, -58, -58, -57, -56, -55, -55, -54, -53, -52, -51, -50, -49, -48, -47, -46,
    -45, -44, -43, -42, -41, -40, -38, -37, -36, -35, -33, -32, -31, -29, -28, -26, -25, -23, -22,
    -21, -19, -18, -16, -15, -13, -11, -10, -8,  -7,  -5,  -4,  -2,  -1,  0,   2,   3,   5,   6,
    8,   9,   11,  12,  14,  16,  17,  19,  20,  22,  23,  24,  26,  27,  29,  30,  32,  33,  34,
    36,  37,  38,  39,  41,  42,  43,  44,  45,  46,  47,  48,  49,  50,  51,  52,  53,  54,  55,
    56,  56,  57,  58,  59,  59,  60,  60,  61,  61,  62,  62,  62,  63,  63,  63,  64,  64,  64,
    64,  64,  64,  64,  64,  64,  64,  64,  63,  63,  63,  62,  62,  62,  61,  61,  60,  60,  59,
    59,  58,  57,  56,  56,  55,  54,  53,  52,  51,  50,  49,  48,  47,  46,  45,  44,  43,  42,
    41,  39,  38,  37,  36,  34,  33,  32,  30,  29,  27,  26,  24,  23,  22,  20,  19,  17,  16,
    14,  12,  11,  9,   8,   6,   5,   3,   2};

// One envelope of an instrument, with its points bounded: at most 12
// points, values 0..64, sustain and loop only where they name points.
struct Envelope {
  const AudioEnvelopePoint* points;
  i32 count;
  i32 sustain = -1;  // -1: none
  i32 loopStart = -1, loopEnd = -1;

  Envelope(const AudioEnvelopePoint* p, u8 n, u8 flags, u8 sustainPoint, u8 start, u8 end)
      : points(p), count(std::min<i32>(n, kModuleEnvelopePoints)) {
    if ((flags & kEnvelopeSustain) && sustainPoint < count) sustain = sustainPoint;
    if ((flags & kEnvelopeLoop) && start <= end && end < count) {
      loopStart = start;
      loopEnd = end;
    }
  }
  i32 X(i32 i) const { return points[i].x; }
  i32 Y(i32 i) const { return std::min<i32>(points[i].y, 64) * 256; }
};

// Advances an envelope by one tick: along the slope towards its next
// point, or on reaching it, held at the sustain point while the key is
// down, back to the loop start at the loop end, then towards the next one.
void Walk(EnvelopeState& state, const Envelope& envelope, bool keyOn) {
  if (++state.tick < envelope.X(state.point)) {
    state.value = std::clamp(state.value + state.slope, 0, kEnvelopeMax);
    return;
  }
  i32 point = state.point;
  const bool hold = point == envelope.sustain && keyOn;
  if (!hold && point == envelope.loopEnd) point = envelope.loopStart;
  state.tick = envelope.X(point);
  state.value = envelope.Y(point);
  state.slope = 0;
  state.point = point;
  // A loop of one point holds like a sustain.
  if (hold || point == envelope.loopEnd || point + 1 >= envelope.count) return;
  const i32 distance = envelope.X(point + 1) - envelope.X(point);
  if (distance > 0) state.slope = (envelope.Y(point + 1) - envelope.Y(point)) / distance;
  state.point = point + 1;
}

Envelope VolumeEnvelope(const AudioInstrument& in) {
  return Envelope(in.volumeEnvelope, in.volumePoints, in.volumeFlags, in.volumeSustain,
                  in.volumeLoopStart, in.volumeLoopEnd);
}

Envelope PanningEnvelope(const AudioInstrument& in) {
  return Envelope(in.panningEnvelope, in.panningPoints, in.panningFlags, in.panningSustain,
                  in.panningLoopStart, in.panningLoopEnd);
}

i32 AutoVibratoWave(u8 type, i32 position) {
  switch (type) {
    case 0: return kAutoVibrato[position];
    case 1: return position < 128 ? -64 : 64;
    case 2: return (((position >> 1) + 64) & 127) - 64;
    case 3: return ((64 - (position >> 1)) & 127) - 64;
    default: return 0;
  }
}

void AutoVibrato(ModuleChannel& ch, const AudioInstrument& in) {
  const i32 full = in.vibratoDepth * 256;
  if (ch.keyOn && ch.autoVibratoSweep) {
    ch.autoVibratoDepth += ch.autoVibratoSweep;
    if (ch.autoVibratoDepth >= full) {
      ch.autoVibratoDepth = full;
      ch.autoVibratoSweep = 0;
    }
  }
  ch.autoVibratoPosition = (ch.autoVibratoPosition + in.vibratoRate) & 0xFF;
  const i32 wave = AutoVibratoWave(in.vibratoType, ch.autoVibratoPosition);
  const i32 period = ch.outputPeriod + (wave * 4 * ch.autoVibratoDepth >> 16);
  // A silent note stays silent.
  ch.finalPeriod = ch.outputPeriod == 0 ? 0 : std::clamp(period, kMinPeriod, kMaxPeriod);
  ch.changes |= kChangeFrequency;
}

}  // namespace

bool EnvelopeOn(u8 flags, u8 points) { return (flags & kEnvelopeOn) && points > 0; }

void RunEnvelopes(ModuleChannel& ch) {
  const AudioInstrument* instrument = ch.instrument;
  if (!instrument) {
    ch.finalVolume = ch.outputVolume;
    ch.finalPanning = ch.panning;
    ch.finalPeriod = ch.outputPeriod;
    return;
  }
  const AudioInstrument& in = *instrument;
  if (!ch.keyOn) {
    ch.fadeoutVolume -= ch.fadeoutRate;
    if (ch.fadeoutVolume < 0) ch.fadeoutVolume = ch.fadeoutRate = 0;
    ch.changes |= kChangeVolume;
  }
  if (EnvelopeOn(in.volumeFlags, in.volumePoints)) {
    Walk(ch.volumeEnvelope, VolumeEnvelope(in), ch.keyOn);
    ch.finalVolume = (ch.volumeEnvelope.value >> 8) * ch.outputVolume * ch.fadeoutVolume >> 21;
    ch.changes |= kChangeVolume;
  } else {
    ch.finalVolume = ch.fadeoutVolume == kNoFadeout ? ch.outputVolume
                                                    : ch.outputVolume * ch.fadeoutVolume >> 15;
  }
  if (EnvelopeOn(in.panningFlags, in.panningPoints)) {
    Walk(ch.panningEnvelope, PanningEnvelope(in), ch.keyOn);
    const i32 spread = ch.panning > 128 ? (256 - ch.panning) * 8 : ch.panning * 8;
    ch.finalPanning = std::clamp(ch.panning + (spread * (ch.panningEnvelope.value - 8192) >> 16),
                                 0, kMaxPanning);
    ch.changes |= kChangePanning;
  } else {
    ch.finalPanning = ch.panning;
  }
  if (in.vibratoDepth) {
    AutoVibrato(ch, in);
  } else {
    ch.finalPeriod = ch.outputPeriod;
  }
}
