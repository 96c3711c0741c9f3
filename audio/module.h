// A tracker module in memory. Every accepted file format (XM, S3M, MOD,
// MTM) loads into this one model; its pattern data is held in the packed
// cell encoding of XM whatever the file's own format was. The loaders fill
// it, the module player reads it, and AFreeModuleFile frees all of it.
#pragma once

#include "audio/audio.h"
#include "platform/types.h"

// AudioModule::flags bits.
constexpr u16 AUDIO_MODULE_LINEAR = 0x0001;  // linear frequency table (XM)
constexpr u16 AUDIO_MODULE_AMIGA = 0x8000;   // set by the S3M, MOD and MTM loaders

constexpr u32 kModuleMaxOrders = 256;
constexpr u32 kModuleMaxChannels = 32;
constexpr u32 kModuleMaxPatterns = 256;
constexpr u32 kModuleMaxSamples = 16;  // per instrument
constexpr u32 kModuleEnvelopePoints = 12;
constexpr u32 kModuleNotes = 96;
constexpr u8 kModuleKeyOff = 97;

// Packed cell flag byte: bit 7 marks a flag byte, the low bits say which
// of note, instrument, volume column, effect and parameter follow.
constexpr u8 kCellPacked = 0x80;
constexpr u8 kCellNote = 0x01;
constexpr u8 kCellInstrument = 0x02;
constexpr u8 kCellVolume = 0x04;
constexpr u8 kCellEffect = 0x08;
constexpr u8 kCellParam = 0x10;

// Envelope flag bits.
constexpr u8 kEnvelopeOn = 1;
constexpr u8 kEnvelopeSustain = 2;
constexpr u8 kEnvelopeLoop = 4;

struct AudioEnvelopePoint {
  u16 x;  // tick
  u16 y;  // value
};

struct AudioPattern {
  u16 packing;   // always 0
  u16 channels;
  u16 rows;
  u16 size;      // bytes of packed data
  u8* data;      // owned; null when size is 0
};

struct AudioSample {
  char name[32];
  u8 volume;        // 0..64
  u8 panning;       // 0..255
  i8 relativeNote;  // semitones
  i8 finetune;
  AudioWave wave;   // data stored signed; length and loops in bytes
};

struct AudioInstrument {
  char name[32];
  u8 sampleMap[kModuleNotes];  // sample index per note 1..96
  u16 sampleCount;             // 0..16
  u8 vibratoType;
  u8 vibratoSweep;
  u8 vibratoDepth;
  u8 vibratoRate;
  u16 fadeout;
  AudioEnvelopePoint volumeEnvelope[kModuleEnvelopePoints];
  u8 volumePoints;
  u8 volumeSustain;
  u8 volumeLoopStart;
  u8 volumeLoopEnd;
  u8 volumeFlags;
  AudioEnvelopePoint panningEnvelope[kModuleEnvelopePoints];
  u8 panningPoints;
  u8 panningSustain;
  u8 panningLoopStart;
  u8 panningLoopEnd;
  u8 panningFlags;
  AudioSample* samples;  // owned; null when sampleCount is 0
};

struct AudioModule {
  char name[32];
  u16 flags;
  u16 orderCount;       // 1..256
  u16 restart;
  u16 channelCount;     // 1..32
  u16 patternCount;     // up to 256
  u16 instrumentCount;
  u16 tempo;            // initial ticks per row
  u16 bpm;              // initial beats per minute
  u8 orders[kModuleMaxOrders];
  u8 panning[kModuleMaxChannels];  // 0 left, 128 centre, 255 right
  AudioPattern* patterns;          // owned
  AudioInstrument* instruments;    // owned
};

// The loaders, tried in this order by ALoadModuleFile while the result is
// AUDIO_ERROR_BADFILEFORMAT. Each frees what it allocated on failure.
u32 ALoadXMModule(const char* name, AudioModule** module, u32 offset);
u32 ALoadS3MModule(const char* name, AudioModule** module, u32 offset);
u32 ALoadMODModule(const char* name, AudioModule** module, u32 offset);
u32 ALoadMTMModule(const char* name, AudioModule** module, u32 offset);
