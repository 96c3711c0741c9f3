// The tracker-module player: loading and freeing modules, the play
// controls, and the tick procedure that the mixer's tick timer runs. Each
// tick reads a row when one is due, runs every channel's volume column,
// command and envelopes, and commits what changed to the channel's voice.
#include "audio/module_player.h"

#include "audio/module_build.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "audio/module_build.h"

namespace {

ModulePlayer g_Player;

constexpr i32 kDefaultTempo = 125;
constexpr i32 kMinTempo = 32;
constexpr i32 kMaxTempo = 255;
constexpr u32 kMissingPatternRows = 64;
constexpr i32 kOctaveSteps = 768;  // 12 notes x 64 steps
constexpr i32 kTableTop = 7680;    // 10 octaves
constexpr u32 kAmigaClock = 14317456;
constexpr u32 kMinHertz = 512;  // what the mixer accepts
constexpr u32 kMaxHertz = 524288;

// One octave of the two frequency tables.
struct PitchTables {
  u32 linear[kOctaveSteps];  // 535232 x 2^(-i/768)
  u16 amiga[192];            // 27392 x 2^(-i/192): 12 notes x 16 finetunes
  PitchTables() {
    for (i32 i = 0; i < kOctaveSteps; ++i)
      linear[i] = static_cast<u32>(std::lround(535232.0 * std::exp2(-i / 768.0)));
    for (i32 i = 0; i < 192; ++i)
      amiga[i] = static_cast<u16>(std::lround(27392.0 * std::exp2(-i / 192.0)));
  }
};
const PitchTables kPitch;

bool Linear(const ModulePlayer& player) { return (player.moduleFlags & AUDIO_MODULE_LINEAR) != 0; }

// The frequency of a period; 0 is silence.
u32 PeriodHertz(const ModulePlayer& player, i32 period) {
  if (period < 1) return 0;
  if (!Linear(player)) return kAmigaClock / static_cast<u32>(period);
  const i32 shift = period / kOctaveSteps;
  return shift >= 32 ? 0 : kPitch.linear[period % kOctaveSteps] >> shift;
}

// ---- Rows ----

struct Cell {
  u8 note = 0, instrument = 0, volume = 0, command = 0, param = 0;
};

// Reads one packed cell without passing end; missing bytes read as 0.
Cell ReadCell(const u8*& data, const u8* end) {
  Cell cell;
  if (!data || data >= end) return cell;
  const u8 first = *data++;
  u8 mask = kCellNote | kCellInstrument | kCellVolume | kCellEffect | kCellParam;
  if (first & kCellPacked) {
    mask = first;
  } else {
    cell.note = first;
    mask &= static_cast<u8>(~kCellNote);
  }
  auto next = [&]() -> u8 { return data < end ? *data++ : 0; };
  if (mask & kCellNote) cell.note = next();
  if (mask & kCellInstrument) cell.instrument = next();
  if (mask & kCellVolume) cell.volume = next();
  if (mask & kCellEffect) cell.command = next();
  if (mask & kCellParam) cell.param = next();
  return cell;
}

void TriggerNote(ModulePlayer& player, ModuleChannel& ch, const Cell& cell) {
  const bool wasVibrato = ch.command == 4 || ch.command == 6;
  const bool isVibrato = cell.command == 4 || cell.command == 6;
  if ((wasVibrato && !isVibrato) || (ch.command == 0 && ch.param != 0)) {
    ch.outputPeriod = ch.period;
    ch.changes |= kChangeFrequency;
  }
  ch.volumeColumn = cell.volume;
  ch.command = cell.command;
  ch.param = cell.param;
  const AudioModule& module = *player.module;
  // An instrument number beyond the count is ignored.
  const bool named =
      cell.instrument >= 1 && cell.instrument <= module.instrumentCount && module.instruments;
  if (named) {
    ch.instrumentNumber = cell.instrument;
    ch.instrument = &module.instruments[cell.instrument - 1];
  }
  if (cell.note >= 1 && cell.note <= kModuleNotes) {
    ch.note = cell.note;
    NoteToPeriod(player, ch);
    if (named && ch.sample) ResetNoteState(ch);
  } else if (cell.note != 0) {
    KeyOff(ch);
  }
  if (named && ch.sample) {
    ch.volume = ch.outputVolume = std::min<i32>(ch.sample->volume, kMaxVolume);
    ch.changes |= kChangeVolume;
    if (!(player.moduleFlags & AUDIO_MODULE_AMIGA)) {
      ch.panning = ch.sample->panning;
      ch.changes |= kChangePanning;
    }
  }
}

// Points the row reader at the current pattern and skips to the row.
void EnterPattern(ModulePlayer& player) {
  const AudioModule& module = *player.module;
  player.pattern = module.orders[player.order];
  player.rowData = player.rowEnd = nullptr;
  player.cellsPerRow = 0;
  player.rows = kMissingPatternRows;
  if (player.pattern < module.patternCount && module.patterns) {
    const AudioPattern& pattern = module.patterns[player.pattern];
    player.rows = pattern.rows;
    player.rowData = pattern.data;
    player.rowEnd = pattern.data ? pattern.data + pattern.size : nullptr;
    // A row holds a cell for each of at most 32 channels.
    player.cellsPerRow = std::min<u32>(pattern.channels ? pattern.channels : module.channelCount,
                                       kModuleMaxChannels);
  }
  if (player.row >= player.rows) player.row = 0;
  for (i32 r = 0; r < player.row; ++r)
    for (u32 c = 0; c < player.cellsPerRow; ++c) ReadCell(player.rowData, player.rowEnd);
}

// Moves to the row due now: the next one, or where a jump or break goes.
// False when the module has ended.
bool AdvanceRow(ModulePlayer& player) {
  ++player.row;
  if (player.row >= player.rows) player.flags |= kPlayerBreak;
  const u16 pending = player.flags & (kPlayerJump | kPlayerBreak);
  if (!pending) return true;
  if (pending & kPlayerJump) {
    player.order = player.jumpOrder;
  } else {
    ++player.order;
  }
  player.row = player.jumpRow;
  player.jumpRow = 0;
  player.flags &= static_cast<u16>(~(kPlayerJump | kPlayerBreak));
  const AudioModule& module = *player.module;
  const i32 orders = std::min<i32>(module.orderCount, kModuleMaxOrders);
  if (player.order < 0 || player.order >= orders) {
    player.order = module.restart;
    // Nowhere to restart: the module has ended.
    if (player.order >= orders) {
      player.order = 0;
      player.flags |= kPlayerHalted;
      return false;
    }
  }
  EnterPattern(player);
  return true;
}

void ReadRow(ModulePlayer& player) {
  player.tick = 0;
  // A pattern delay repeats the row without reading its notes again.
  if (player.flags & kPlayerDelay) return;
  // Without channels or orders there is nothing to play.
  if (player.channelCount == 0 || player.module->orderCount == 0) {
    player.flags |= kPlayerHalted;
    return;
  }
  if (!AdvanceRow(player)) return;
  for (u32 c = 0; c < player.cellsPerRow || c < static_cast<u32>(player.channelCount); ++c) {
    const Cell cell = c < player.cellsPerRow ? ReadCell(player.rowData, player.rowEnd) : Cell();
    if (c < static_cast<u32>(player.channelCount)) TriggerNote(player, player.channels[c], cell);
  }
}

// ---- The commit to the voice ----

bool Playable(const AudioSample* sample) {
  return sample && sample->wave.data && sample->wave.length > 0;
}

void CommitVoice(ModulePlayer& player, ModuleChannel& ch, u32 voice) {
  u8 changes = ch.changes;
  ch.changes = 0;
  if (changes & (kChangeStart | kChangeOffset)) {
    // A note without sample data starts nothing and ends the old one.
    if (Playable(ch.sample) && APrimeVoice(voice, &ch.sample->wave) == AUDIO_ERROR_NONE) {
      if (changes & kChangeOffset) ASetVoicePosition(voice, static_cast<u32>(ch.sampleOffset));
    } else {
      changes = static_cast<u8>((changes & ~(kChangeStart | kChangeOffset)) | kChangeStop);
    }
  }
  if (changes & kChangeStop) AStopVoice(voice);
  if (changes & kChangeFrequency) {
    const u32 hertz = PeriodHertz(player, ch.finalPeriod);
    if ((hertz == 0) != ch.silent) {
      ch.silent = hertz == 0;
      changes |= kChangeVolume;
    }
    if (hertz) ASetVoiceFrequency(voice, std::clamp(hertz, kMinHertz, kMaxHertz));
  }
  if (changes & kChangeVolume) {
    const i32 volume = std::clamp(ch.finalVolume, 0, kMaxVolume);
    ASetVoiceVolume(voice, ch.silent ? 0 : static_cast<u32>(volume * player.globalVolume >> 6));
  }
  if (changes & kChangePanning)
    ASetVoicePanning(voice, static_cast<u32>(std::clamp(ch.finalPanning, 0, kMaxPanning)));
  if (changes & kChangeStart) AStartVoice(voice);
}

// The mixer's tick procedure.
void PlayerTick() {
  ModulePlayer& player = g_Player;
  if (player.flags & kPlayerHalted) return;
  if (++player.tick >= player.speed) {
    ReadRow(player);
    if (player.flags & kPlayerHalted) return;
  }
  for (i32 c = 0; c < player.channelCount; ++c) {
    ModuleChannel& ch = player.channels[c];
    RunVolumeColumn(player, ch);
    if ((ch.command || ch.param) && ch.command < kCommandCount) RunCommand(player, ch);
    RunEnvelopes(ch);
  }
  if ((player.flags & kPlayerDelay) && player.tick == 0 && --player.delayCounter <= 0)
    player.flags &= static_cast<u16>(~kPlayerDelay);
  if (player.flags & kPlayerVolumes) {
    player.flags &= static_cast<u16>(~kPlayerVolumes);
    for (i32 c = 0; c < player.channelCount; ++c) player.channels[c].changes |= kChangeVolume;
  }
  if (player.flags & kPlayerTempo) {
    player.flags &= static_cast<u16>(~kPlayerTempo);
    ASetAudioTimerRate(static_cast<u32>(player.tempo));
  }
  for (i32 c = 0; c < player.channelCount; ++c)
    CommitVoice(player, player.channels[c], player.voices[c]);
}

bool Playing() { return (g_Player.flags & kPlayerPlaying) != 0; }

void ClearPlayer() { std::memset(&g_Player, 0, sizeof g_Player); }

using ModuleLoader = u32 (*)(const char*, AudioModule**, u32);
constexpr ModuleLoader kLoaders[] = {ALoadXMModule, ALoadS3MModule, ALoadMODModule,
                                     ALoadMTMModule};

}  // namespace

// ---- Pitch ----

i32 NotePeriod(const ModulePlayer& player, const ModuleChannel& ch, i32 note) {
  const i32 v = std::max((ch.finetune >> 1) + (note + ch.relativeNote - 1) * 64, 0);
  if (v >= kTableTop) return 0;
  if (Linear(player)) return kTableTop - v;
  return kPitch.amiga[(v % kOctaveSteps) >> 2] >> (v / kOctaveSteps);
}

void NoteToPeriod(ModulePlayer& player, ModuleChannel& ch) {
  ch.keyOn = ch.note >= 1 && ch.note <= kModuleNotes;
  if (!ch.keyOn) return;
  if (ch.instrument) {
    const AudioInstrument& instrument = *ch.instrument;
    ch.sampleIndex = instrument.sampleMap[ch.note - 1];
    ch.sample = nullptr;
    if (ch.sampleIndex < instrument.sampleCount && instrument.samples) {
      ch.sample = &instrument.samples[ch.sampleIndex];
      ch.relativeNote = ch.sample->relativeNote;
      ch.finetune = ch.sample->finetune;
    }
  }
  const bool portamento = ch.command == 3 || ch.command == 5 || (ch.volumeColumn >> 4) == 15;
  if (!portamento) {
    ch.period = ch.outputPeriod = NotePeriod(player, ch, ch.note);
    ch.changes |= kChangeFrequency | kChangeStart;
  }
}

void ResetNoteState(ModuleChannel& ch) {
  if (!(ch.waveforms & 0x04)) ch.vibratoPosition = 0;
  if (!(ch.waveforms & 0x40)) ch.tremoloPosition = 0;
  ch.retrigCounter = ch.tremorCounter = ch.tremorState = 0;
  const AudioInstrument* instrument = ch.instrument;
  if (!instrument) return;
  if (EnvelopeOn(instrument->volumeFlags, instrument->volumePoints))
    ch.volumeEnvelope = EnvelopeState{-1, ch.volumeEnvelope.value, 0, ch.volumeEnvelope.slope};
  if (EnvelopeOn(instrument->panningFlags, instrument->panningPoints))
    ch.panningEnvelope = EnvelopeState{-1, ch.panningEnvelope.value, 0, ch.panningEnvelope.slope};
  ch.fadeoutRate = instrument->fadeout;
  ch.fadeoutVolume = kNoFadeout;
  if (instrument->vibratoDepth) {
    ch.autoVibratoPosition = 0;
    const i32 depth = instrument->vibratoDepth * 256;
    if (instrument->vibratoSweep) {
      ch.autoVibratoDepth = 0;
      ch.autoVibratoSweep = depth / instrument->vibratoSweep;
    } else {
      ch.autoVibratoDepth = depth;
      ch.autoVibratoSweep = 0;
    }
  }
}

void StartNote(ModulePlayer& player, ModuleChannel& ch) {
  if (ch.note < 1 || ch.note > kModuleNotes) return;
  NoteToPeriod(player, ch);
  ResetNoteState(ch);
}

void KeyOff(ModuleChannel& ch) {
  ch.keyOn = 0;
  if (!ch.instrument) {
    ch.changes |= kChangeStop;
  } else if (!EnvelopeOn(ch.instrument->volumeFlags, ch.instrument->volumePoints)) {
    ch.volume = ch.outputVolume = 0;
    ch.changes |= kChangeStop | kChangeVolume;
  }
}

// ---- The library's module interface ----

u32 ALoadModuleFile(const char* name, AudioModule** module, u32 offset) {
  if (!name || !module) return AUDIO_ERROR_INVALPARAM;
  *module = nullptr;
  u32 code = AUDIO_ERROR_BADFILEFORMAT;
  for (ModuleLoader load : kLoaders) {
    code = load(name, module, offset);
    if (code != AUDIO_ERROR_BADFILEFORMAT) break;
  }
  return code;
}

u32 AFreeModuleFile(AudioModule* module) {
  if (!module) return AUDIO_ERROR_INVALPARAM;
  FreeModule(module);
  return AUDIO_ERROR_NONE;
}

u32 APlayModule(AudioModule* module) {
  if (Playing()) return AUDIO_ERROR_NOTSUPPORTED;
  if (!module) return AUDIO_ERROR_INVALPARAM;
  ClearPlayer();
  ModulePlayer& player = g_Player;
  player.module = module;
  player.channelCount = std::min<i32>(module->channelCount, kModuleMaxChannels);
  player.moduleFlags = module->flags;
  player.speed = module->tempo;
  // The tick timer takes 32..255 beats per minute only.
  player.tempo = std::clamp<i32>(module->bpm, kMinTempo, kMaxTempo);
  player.globalVolume = kMaxVolume;
  player.flags = kPlayerPlaying | kPlayerJump;
  // Nothing to play: the module ends at once.
  if (module->orderCount == 0 || player.channelCount == 0) player.flags |= kPlayerHalted;
  for (i32 c = 0; c < player.channelCount; ++c) {
    if (ACreateAudioVoice(&player.voices[c]) != AUDIO_ERROR_NONE) {
      player.voices[c] = 0;
      AStopModule();
      return AUDIO_ERROR_NOMEMORY;
    }
    ModuleChannel& ch = player.channels[c];
    ch.panning = ch.finalPanning = module->panning[c];
    ch.fadeoutVolume = kNoFadeout;
    ASetVoicePanning(player.voices[c], static_cast<u32>(ch.panning));
  }
  ASetAudioTimerRate(static_cast<u32>(player.tempo));
  ASetAudioTimerProc(PlayerTick);
  return AUDIO_ERROR_NONE;
}

u32 AStopModule() {
  if (!Playing()) return AUDIO_ERROR_NOTSUPPORTED;
  for (u32 voice : g_Player.voices) {
    if (voice == 0) continue;
    AStopVoice(voice);
    ADestroyAudioVoice(voice);
  }
  ClearPlayer();
  ASetAudioTimerProc(nullptr);
  ASetAudioTimerRate(kDefaultTempo);
  return AUDIO_ERROR_NONE;
}

u32 APauseModule() {
  if (!Playing()) return AUDIO_ERROR_NOTSUPPORTED;
  g_Player.flags |= kPlayerHalted;
  for (i32 c = 0; c < g_Player.channelCount; ++c) ASetVoiceVolume(g_Player.voices[c], 0);
  return AUDIO_ERROR_NONE;
}

u32 AResumeModule() {
  if (!Playing()) return AUDIO_ERROR_NOTSUPPORTED;
  g_Player.flags = static_cast<u16>((g_Player.flags & ~kPlayerHalted) | kPlayerVolumes);
  return AUDIO_ERROR_NONE;
}

u32 ASetModuleVolume(u32 volume) {
  if (!Playing()) return AUDIO_ERROR_NOTSUPPORTED;
  if (volume > kMaxVolume) return AUDIO_ERROR_INVALPARAM;
  g_Player.globalVolume = static_cast<i32>(volume);
  if (!(g_Player.flags & kPlayerHalted)) g_Player.flags |= kPlayerVolumes;
  return AUDIO_ERROR_NONE;
}

u32 ASetModulePosition(u32 order, u32 row) {
  if (!Playing()) return AUDIO_ERROR_NOTSUPPORTED;
  // Beyond the module, the next row read takes the restart position.
  g_Player.jumpOrder = static_cast<i32>(std::min<u32>(order, kModuleMaxOrders));
  g_Player.jumpRow = static_cast<i32>(std::min<u32>(row, 0xFFFF));
  g_Player.flags |= kPlayerJump;
  return AUDIO_ERROR_NONE;
}

u32 AGetModuleVolume(u32* volume) {
  if (!Playing()) return AUDIO_ERROR_NOTSUPPORTED;
  if (!volume) return AUDIO_ERROR_INVALPARAM;
  *volume = static_cast<u32>(g_Player.globalVolume);
  return AUDIO_ERROR_NONE;
}

u32 AGetModulePosition(u32* order, u32* row) {
  if (!Playing()) return AUDIO_ERROR_NOTSUPPORTED;
  if (!order || !row) return AUDIO_ERROR_INVALPARAM;
  *order = static_cast<u32>(g_Player.order);
  *row = static_cast<u32>(g_Player.row);
  return AUDIO_ERROR_NONE;
}

u32 AGetModuleStatus(u32* status) {
  if (!Playing()) return AUDIO_ERROR_NOTSUPPORTED;
  if (!status) return AUDIO_ERROR_INVALPARAM;
  *status = (g_Player.flags & kPlayerHalted) ? 1 : 0;
  return AUDIO_ERROR_NONE;
}

u32 ASetModuleCallback(AudioModuleCallback callback) {
  if (!Playing()) return AUDIO_ERROR_NOTSUPPORTED;
  g_Player.callback = callback;
  return AUDIO_ERROR_NONE;
}

u32 AGetModuleTrack(u32 channel, AudioTrackInfo* track) {
  if (!Playing()) return AUDIO_ERROR_NOTSUPPORTED;
  if (channel >= kModuleMaxChannels || !track) return AUDIO_ERROR_INVALPARAM;
  const ModuleChannel& ch = g_Player.channels[channel];
  track->note = ch.note;
  track->instrument = ch.instrumentNumber;
  track->sample = ch.sampleIndex;
  track->command = ch.command;
  track->param = ch.param;
  track->volumeColumn = ch.volumeColumn;
  track->volume = static_cast<u8>(std::clamp(ch.finalVolume, 0, kMaxVolume));
  track->panning = static_cast<u8>(std::clamp(ch.finalPanning, 0, kMaxPanning));
  track->period = static_cast<u16>(ch.finalPeriod);
  track->instrumentData = ch.instrument;
  return AUDIO_ERROR_NONE;
}
