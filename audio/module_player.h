// The module player's state, shared by its files: the player itself
// (module_player.cpp: interface, rows, notes and the commit to the voices),
// the effects (module_effects.cpp) and the envelopes (module_envelope.cpp).
// Everything runs on the thread that pumps the audio library.
#pragma once

#include "audio/module.h"

// ModuleChannel::changes: what the end of the tick commits to the voice.
constexpr u8 kChangeFrequency = 0x01;
constexpr u8 kChangeVolume = 0x02;
constexpr u8 kChangePanning = 0x04;
constexpr u8 kChangeStart = 0x08;   // prime the sample and start
constexpr u8 kChangeStop = 0x10;
constexpr u8 kChangeOffset = 0x20;  // prime and set the position

// ModulePlayer::flags.
constexpr u16 kPlayerJump = 0x0001;     // position jump, loop or a new position
constexpr u16 kPlayerBreak = 0x0002;    // on to the next pattern
constexpr u16 kPlayerDelay = 0x0004;    // pattern delay running
constexpr u16 kPlayerTempo = 0x0008;    // tempo changed
constexpr u16 kPlayerVolumes = 0x0010;  // every channel's volume to commit
constexpr u16 kPlayerHalted = 0x0020;   // paused or ended
constexpr u16 kPlayerPlaying = 0x0080;

// Slides and vibrato keep periods in this range; 0 is silence.
constexpr i32 kMinPeriod = 1;
constexpr i32 kMaxPeriod = 31999;
constexpr i32 kMaxVolume = 64;
constexpr i32 kMaxPanning = 255;
constexpr i32 kEnvelopeMax = 64 * 256;
constexpr i32 kNoFadeout = 32767;
constexpr u32 kCommandCount = 36;  // 0..9, A..Z

struct EnvelopeState {
  i32 tick;
  i32 value;  // 0..16384, 256 per unit
  i32 point;  // the point being approached
  i32 slope;
};

struct ModuleChannel {
  u8 keyOn;  // a note 1..96 is held
  u8 changes;
  u8 volumeColumn;
  u8 command;
  u8 param;
  u8 instrumentNumber;  // 1-based
  u8 sampleIndex;
  u8 note;  // 1..96, 0 none yet
  i32 finetune;
  i32 relativeNote;
  i32 volume;        // 0..64
  i32 outputVolume;  // after tremolo, tremor, note cut
  i32 finalVolume;   // after envelope and fadeout
  i32 panning;
  i32 finalPanning;  // after the panning envelope
  i32 period;
  i32 outputPeriod;  // after vibrato, arpeggio, portamento
  i32 finalPeriod;   // after auto-vibrato
  const AudioInstrument* instrument;
  AudioSample* sample;
  u8 waveforms;  // low nibble vibrato, high nibble tremolo
  u8 glissando;
  i32 vibratoPosition, vibratoDepth, vibratoSpeed;
  i32 tremoloPosition, tremoloDepth, tremoloSpeed;
  i32 portaUp, portaDown, portaSpeed, portaTarget;
  u8 volumeSlide, panningSlide, finePortaUp, finePortaDown, extraFineUp, extraFineDown;
  u8 retrigMode, retrigInterval, retrigCounter;
  u8 tremorMemory, tremorState, tremorCounter;
  i32 sampleOffset;
  i32 fadeoutVolume;  // 32767 = none
  i32 fadeoutRate;
  EnvelopeState volumeEnvelope;
  EnvelopeState panningEnvelope;
  i32 autoVibratoPosition, autoVibratoDepth, autoVibratoSweep;
  i32 loopRow, loopCounter;
  bool silent;  // the period gives no frequency: the voice is held at volume 0
};

struct ModulePlayer {
  AudioModule* module;
  const u8* rowData;  // the next cell of the current pattern, none for a missing one
  const u8* rowEnd;
  u32 cellsPerRow;
  ModuleChannel channels[kModuleMaxChannels];
  u32 voices[kModuleMaxChannels];
  u16 flags;
  u16 moduleFlags;
  i32 channelCount;
  i32 tick;  // 0 = first tick of a row
  i32 row;
  i32 rows;
  i32 pattern;
  i32 order;
  i32 speed;  // ticks per row
  i32 tempo;  // beats per minute
  i32 globalVolume;
  i32 globalSlide;
  i32 jumpOrder;
  i32 jumpRow;
  i32 delayCounter;
  AudioModuleCallback callback;
};

// Pitch (module_player.cpp). The period of a note of the channel's sample,
// 0 when it lies beyond the table.
i32 NotePeriod(const ModulePlayer& player, const ModuleChannel& channel, i32 note);
void NoteToPeriod(ModulePlayer& player, ModuleChannel& channel);
void StartNote(ModulePlayer& player, ModuleChannel& channel);
void KeyOff(ModuleChannel& channel);
void ResetNoteState(ModuleChannel& channel);

// Effects (module_effects.cpp), once per tick and channel.
void RunVolumeColumn(ModulePlayer& player, ModuleChannel& channel);
void RunCommand(ModulePlayer& player, ModuleChannel& channel);

// Envelopes, fadeout and auto-vibrato (module_envelope.cpp).
bool EnvelopeOn(u8 flags, u8 points);
void RunEnvelopes(ModuleChannel& channel);
