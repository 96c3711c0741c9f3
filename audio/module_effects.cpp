// The module player's effects: the volume column and the 36 commands with
// the extended E sub-commands, run once per tick and channel. Tick 0 is the
// first tick of a row: most commands set up there and slide on later ticks.
#include <algorithm>

#include "audio/module_player.h"

namespace {

const u8 kHalfSine[32] = {0,   24,  49,  74,  97,  120, 141, 161, 180, 197, 212,
                          224, 235, 244, 250, 253, 255, 253, 250, 244, 235, 224,
                          212, 197, 180, 161, 141, 120, 97,  74,  49,  24};
const i8 kRetrigAdd[16] = {0, -1, -2, -4, -8, -16, 0, 0, 0, 1, 2, 4, 8, 16, 0, 0};
const u8 kRetrigMultiply[16] = {16, 16, 16, 16, 16, 16, 11, 8, 16, 16, 16, 16, 16, 16, 24, 32};

void SetVolume(ModuleChannel& ch, i32 volume) {
  ch.volume = ch.outputVolume = std::clamp(volume, 0, kMaxVolume);
  ch.changes |= kChangeVolume;
}

void SetPanning(ModuleChannel& ch, i32 panning) {
  ch.panning = std::clamp(panning, 0, kMaxPanning);
  ch.changes |= kChangePanning;
}

void SetPeriod(ModuleChannel& ch, i32 period) {
  ch.period = ch.outputPeriod = std::clamp(period, kMinPeriod, kMaxPeriod);
  ch.changes |= kChangeFrequency;
}

// Below 16 the memory lowers by its low nibble, else raises by its high.
i32 Slide(i32 value, u8 memory, i32 top) {
  return memory < 16 ? std::max(value - memory, 0) : std::min(value + (memory >> 4), top);
}

// The vibrato and tremolo wave at a position (a byte): its size, signed by
// the position's sign.
i32 Wave(u8 waveform, i32 position) {
  const i32 index = (position >> 2) & 31;
  const bool negative = (position & 0x80) != 0;
  i32 size = 0;
  switch (waveform & 3) {
    case 0: size = kHalfSine[index]; break;
    case 1: size = negative ? 255 - index * 8 : index * 8; break;
    case 2: size = 255; break;
    default: break;
  }
  return negative ? -size : size;
}

void VibratoStep(ModuleChannel& ch, int shift) {
  const i32 delta = Wave(ch.waveforms & 0x0F, ch.vibratoPosition) * ch.vibratoDepth >> shift;
  // A silent note stays silent.
  if (ch.period != 0) ch.outputPeriod = std::clamp(ch.period + delta, kMinPeriod, kMaxPeriod);
  ch.vibratoPosition = (ch.vibratoPosition + ch.vibratoSpeed) & 0xFF;
  ch.changes |= kChangeFrequency;
}

void VibratoSetup(ModuleChannel& ch, u8 param) {
  if (param & 0x0F) ch.vibratoDepth = param & 0x0F;
  if (param >> 4) ch.vibratoSpeed = (param >> 4) * 4;
}

void PortamentoStep(ModuleChannel& ch) {
  if (ch.period < ch.portaTarget) {
    ch.period = std::min(ch.period + ch.portaSpeed, ch.portaTarget);
  } else if (ch.period > ch.portaTarget) {
    ch.period = std::max(ch.period - ch.portaSpeed, ch.portaTarget);
  }
  ch.outputPeriod = ch.period;
  ch.changes |= kChangeFrequency;
}

// Tick 0 of a tone portamento: the row's note becomes the target and the
// note slides there instead of starting.
void PortamentoTarget(const ModulePlayer& player, ModuleChannel& ch) {
  if (ch.note != 0) ch.portaTarget = NotePeriod(player, ch, ch.note);
  ch.changes &= static_cast<u8>(~(kChangeFrequency | kChangeStart));
}

void PatternLoop(ModulePlayer& player, ModuleChannel& ch, i32 count) {
  if (count == 0) {
    ch.loopRow = player.row;
    return;
  }
  ch.loopCounter = ch.loopCounter == 0 ? count : ch.loopCounter - 1;
  if (ch.loopCounter != 0) {
    player.jumpOrder = player.order;
    player.jumpRow = ch.loopRow;
    player.flags |= kPlayerJump;
  }
}

void Extended(ModulePlayer& player, ModuleChannel& ch) {
  const bool first = player.tick == 0;
  const u8 y = ch.param & 0x0F;
  switch (ch.param >> 4) {
    case 0x1:
      if (!first) break;
      if (y) ch.finePortaUp = static_cast<u8>(y * 4);
      SetPeriod(ch, ch.period - ch.finePortaUp);
      break;
    case 0x2:
      if (!first) break;
      if (y) ch.finePortaDown = static_cast<u8>(y * 4);
      SetPeriod(ch, ch.period + ch.finePortaDown);
      break;
    case 0x3:
      if (first) ch.glissando = y;
      break;
    case 0x4:
      if (first) ch.waveforms = static_cast<u8>((ch.waveforms & 0xF0) | y);
      break;
    case 0x5:
      if (!first) break;
      ch.finetune = y * 16 - 128;
      if (ch.note != 0) ch.outputPeriod = NotePeriod(player, ch, ch.note);
      ch.changes |= kChangeFrequency;
      break;
    case 0x6:
      if (first) PatternLoop(player, ch, y);
      break;
    case 0x7:
      if (first) ch.waveforms = static_cast<u8>((ch.waveforms & 0x0F) | y << 4);
      break;
    case 0x8:
      if (first) SetPanning(ch, y * 16);
      break;
    case 0x9:
      if (y && player.tick % y == 0) StartNote(player, ch);
      break;
    case 0xA:
      if (first) SetVolume(ch, ch.volume + y);
      break;
    case 0xB:
      if (first) SetVolume(ch, ch.volume - y);
      break;
    case 0xC:
      if (player.tick == y) SetVolume(ch, 0);
      break;
    case 0xD:
      // Only a stop goes through until the delayed note starts.
      ch.changes &= kChangeStop;
      if (player.tick == y) {
        StartNote(player, ch);
        ch.changes |= kChangeVolume | kChangePanning;
      }
      break;
    case 0xE:
      if (first && !(player.flags & kPlayerDelay)) {
        player.delayCounter = y + 1;
        player.flags |= kPlayerDelay;
      }
      break;
    default:
      break;
  }
}

void Retrigger(ModulePlayer& player, ModuleChannel& ch) {
  const u8 p = ch.param;
  if (player.tick == 0) {
    if (p > 15) ch.retrigMode = p >> 4;
    if (p & 0x0F) ch.retrigInterval = p & 0x0F;
    return;
  }
  if (++ch.retrigCounter < ch.retrigInterval || ch.retrigInterval == 0) return;
  ch.retrigCounter = 0;
  i32 volume = (ch.volume + kRetrigAdd[ch.retrigMode]) * kRetrigMultiply[ch.retrigMode] >> 4;
  if (ch.volumeColumn >= 0x10 && ch.volumeColumn <= 0x50) volume = ch.volumeColumn - 16;
  if ((ch.volumeColumn >> 4) == 12) SetPanning(ch, (ch.volumeColumn & 0x0F) * 16);
  SetVolume(ch, volume);
  if (ch.note != 0) NoteToPeriod(player, ch);
}

void Tremor(ModuleChannel& ch, bool first) {
  if (first && ch.param) ch.tremorMemory = ch.param;
  if (ch.tremorCounter == 0) {
    ch.tremorCounter = ch.tremorState ? ch.tremorMemory & 0x0F : ch.tremorMemory >> 4;
    ch.tremorState = !ch.tremorState;
  } else {
    --ch.tremorCounter;
  }
  ch.outputVolume = ch.tremorState ? ch.volume : 0;
  ch.changes |= kChangeVolume;
}

void Tremolo(ModuleChannel& ch, bool first) {
  if (first) {
    if (ch.param & 0x0F) ch.tremoloDepth = ch.param & 0x0F;
    if (ch.param >> 4) ch.tremoloSpeed = (ch.param >> 4) * 4;
    return;
  }
  const i32 delta = Wave(ch.waveforms >> 4, ch.tremoloPosition) * ch.tremoloDepth >> 6;
  ch.outputVolume = std::clamp(ch.volume + delta, 0, kMaxVolume);
  ch.tremoloPosition = (ch.tremoloPosition + ch.tremoloSpeed) & 0xFF;
  ch.changes |= kChangeVolume;
}

// Commands 1, 2 and X: slides of the period by a remembered amount.
void PortamentoUpDown(ModulePlayer& player, ModuleChannel& ch) {
  const bool first = player.tick == 0;
  const u8 p = ch.param;
  switch (ch.command) {
    case 1:
      if (first && p) ch.portaUp = p * 4;
      if (!first) SetPeriod(ch, ch.period - ch.portaUp);
      break;
    case 2:
      if (first && p) ch.portaDown = p * 4;
      if (!first) SetPeriod(ch, ch.period + ch.portaDown);
      break;
    default:  // X: extra fine, tick 0 only, no x4
      if (!first) break;
      if (p >> 4 == 1) {
        if (p & 0x0F) ch.extraFineUp = p & 0x0F;
        SetPeriod(ch, ch.period - ch.extraFineUp);
      } else if (p >> 4 == 2) {
        if (p & 0x0F) ch.extraFineDown = p & 0x0F;
        SetPeriod(ch, ch.period + ch.extraFineDown);
      }
      break;
  }
}

void SetTiming(ModulePlayer& player, u8 p) {
  if (p >= 32) {
    player.tempo = p;
    player.flags |= kPlayerTempo;
  } else if (p > 0) {
    player.speed = p;
  }
}

}  // namespace

void RunVolumeColumn(ModulePlayer& player, ModuleChannel& ch) {
  const u8 value = ch.volumeColumn;
  const i32 x = value & 0x0F;
  const bool first = player.tick == 0;
  switch (value >> 4) {
    case 1: case 2: case 3: case 4: case 5:
      if (first && value <= 0x50) SetVolume(ch, value - 16);
      break;
    case 6:
      if (!first) SetVolume(ch, ch.volume - x);
      break;
    case 7:
      if (!first) SetVolume(ch, ch.volume + x);
      break;
    case 8:
      if (first) SetVolume(ch, ch.volume - x);
      break;
    case 9:
      if (first) SetVolume(ch, ch.volume + x);
      break;
    case 10:
      if (first && x) ch.vibratoSpeed = x * 4;
      break;
    case 11:
      if (!first) {
        VibratoStep(ch, 5);
      } else if (x) {
        ch.vibratoDepth = x;
      }
      break;
    case 12:
      if (first) SetPanning(ch, x * 16);
      break;
    case 13:
      if (!first) SetPanning(ch, ch.panning - x);
      break;
    case 14:
      if (!first) SetPanning(ch, ch.panning + x);
      break;
    case 15:
      // Tone portamento at the speed of command 3 with x * 16.
      if (!first) {
        PortamentoStep(ch);
      } else {
        if (x) ch.portaSpeed = x * 16 * 4;
        PortamentoTarget(player, ch);
      }
      break;
    default:
      break;
  }
}

void RunCommand(ModulePlayer& player, ModuleChannel& ch) {
  const bool first = player.tick == 0;
  const u8 p = ch.param;
  const u8 x = p >> 4, y = p & 0x0F;
  switch (ch.command) {
    case 0: {  // arpeggio
      const i32 phase = player.tick % 3;
      const i32 note = ch.note + (phase == 1 ? x : phase == 2 ? y : 0);
      if (ch.note != 0) ch.outputPeriod = NotePeriod(player, ch, note);
      ch.changes |= kChangeFrequency;
      break;
    }
    case 1: case 2: case 33:  // portamento up, down; X extra fine
      PortamentoUpDown(player, ch);
      break;
    case 3:  // tone portamento
      if (!first) {
        PortamentoStep(ch);
        break;
      }
      if (p) ch.portaSpeed = p * 4;
      PortamentoTarget(player, ch);
      break;
    case 4:  // vibrato
    case 30:  // U: fine vibrato
      if (first) {
        VibratoSetup(ch, p);
      } else {
        VibratoStep(ch, ch.command == 4 ? 5 : 7);
      }
      break;
    case 5:  // tone portamento and volume slide
    case 6:  // vibrato and volume slide
      if (first) {
        if (p) ch.volumeSlide = p;
        if (ch.command == 5) PortamentoTarget(player, ch);
        break;
      }
      if (ch.command == 5) {
        PortamentoStep(ch);
      } else {
        VibratoStep(ch, 5);
      }
      SetVolume(ch, Slide(ch.volume, ch.volumeSlide, kMaxVolume));
      break;
    case 7:
      Tremolo(ch, first);
      break;
    case 8:
      if (first) SetPanning(ch, p);
      break;
    case 9:  // sample offset
      if (!first) break;
      ch.sampleOffset = p * 256;
      ch.changes |= kChangeOffset | kChangeStart;
      break;
    case 10:  // A: volume slide
      if (first) {
        if (p) ch.volumeSlide = p;
      } else {
        SetVolume(ch, Slide(ch.volume, ch.volumeSlide, kMaxVolume));
      }
      break;
    case 11:  // B: position jump
      if (first && p < player.module->orderCount) {
        player.jumpOrder = p;
        player.flags |= kPlayerJump;
      }
      break;
    case 12:  // C: set volume
      if (first) SetVolume(ch, p);
      break;
    case 13:  // D: pattern break
      if (!first) break;
      player.flags |= kPlayerBreak;
      player.jumpRow = x * 10 + y;
      break;
    case 14:
      Extended(player, ch);
      break;
    case 15:  // F: speed or tempo
      if (first) SetTiming(player, p);
      break;
    case 16:  // G: global volume
      if (!first) break;
      player.globalVolume = std::min<i32>(p, kMaxVolume);
      player.flags |= kPlayerVolumes;
      break;
    case 17:  // H: global volume slide
      if (first) {
        if (p) player.globalSlide = p;
        break;
      }
      player.globalVolume =
          Slide(player.globalVolume, static_cast<u8>(player.globalSlide), kMaxVolume);
      player.flags |= kPlayerVolumes;
      break;
    case 20:  // K: key off
      if (player.tick == p) KeyOff(ch);
      break;
    case 25:  // P: panning slide
      if (first) {
        if (p) ch.panningSlide = p;
      } else {
        SetPanning(ch, Slide(ch.panning, ch.panningSlide, kMaxPanning));
      }
      break;
    case 27:  // R: multi retrigger
      Retrigger(player, ch);
      break;
    case 29:  // T: tremor
      Tremor(ch, first);
      break;
    case 35:  // Z: sync
      if (first && player.callback)
        player.callback(p, static_cast<u32>(player.order), static_cast<u32>(player.row));
      break;
    default:  // L and the letters without a command
      break;
  }
}
