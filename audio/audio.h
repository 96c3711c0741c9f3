// The program's audio library: free functions with the prefix "A" that
// return a result code (0 = success) and give their outputs through
// pointers. Under them sit two driver tables, an output device that writes
// sample buffers and a synthesizer that plays up to 32 voices; opening the
// audio picks a device from the device table and forwards every later call
// to its two tables.
#pragma once

#include "platform/types.h"

// Result codes.
enum : u32 {
  AUDIO_ERROR_NONE = 0,
  AUDIO_ERROR_INVALHANDLE = 1,
  AUDIO_ERROR_INVALPARAM = 2,
  AUDIO_ERROR_NOTSUPPORTED = 3,
  AUDIO_ERROR_BADDEVICEID = 4,
  AUDIO_ERROR_NODEVICE = 5,
  AUDIO_ERROR_DEVICEBUSY = 6,
  AUDIO_ERROR_BADFORMAT = 7,
  AUDIO_ERROR_NOMEMORY = 8,
  AUDIO_ERROR_NODRAMMEMORY = 9,
  AUDIO_ERROR_FILENOTFOUND = 10,
  AUDIO_ERROR_BADFILEFORMAT = 11,
  AUDIO_LAST_ERROR = 11,
};

// Device ids run 0..7; this one asks AOpenAudio to detect a device.
constexpr u32 kAudioDetectDevice = 0xFFFF;
constexpr u32 kAudioMaxDevices = 8;
constexpr u32 kAudioMaxVoices = 32;

// AudioInfo::format bits.
constexpr u16 AUDIO_FORMAT_16BITS = 0x0001;
constexpr u16 AUDIO_FORMAT_STEREO = 0x0100;
constexpr u16 AUDIO_FORMAT_FILTER = 0x8000;

// AudioWave::format bits.
constexpr u16 AUDIO_WAVE_16BITS = 0x0001;
constexpr u16 AUDIO_WAVE_LOOP = 0x0010;
constexpr u16 AUDIO_WAVE_BIDILOOP = 0x0020;
constexpr u16 AUDIO_WAVE_STEREO = 0x0100;

// A device request, filled by the caller. Detection writes the chosen id
// back, and a device may write back the rate it really granted.
struct AudioInfo {
  u32 deviceId = 0;
  u16 format = 0;
  u16 rate = 0;
};

// A device description.
struct AudioCaps {
  u16 productId = 0;
  char name[30] = {};
  u32 formats = 0;
};

// One sample, owned by whoever made it. The data carries 4 guard bytes
// behind `length`; `handle` belongs to the synthesizer.
struct AudioWave {
  u8* data = nullptr;
  void* handle = nullptr;
  u32 length = 0;
  u32 loopStart = 0;
  u32 loopEnd = 0;
  u16 rate = 0;
  u16 format = 0;
};

// Fills a buffer of `bytes` bytes with output samples.
using AudioFillProc = void (*)(u8* buffer, u32 bytes);
// The synthesizer's tick procedure.
using AudioTimerProc = void (*)();

// An output device, slots in their fixed order.
struct AudioDriver {
  u32 (*GetAudioCaps)(AudioCaps* caps);
  u32 (*PingAudio)();
  u32 (*OpenAudio)(AudioInfo* info);
  u32 (*CloseAudio)();
  u32 (*UpdateAudio)(u32 frames);
  u32 (*SetAudioCallback)(AudioFillProc fill);
};

// A voice synthesizer, slots in their fixed order; voices count from 0.
struct SynthDriver {
  u32 (*GetAudioCaps)(AudioCaps* caps);
  u32 (*PingAudio)();
  u32 (*OpenAudio)(AudioInfo* info);
  u32 (*CloseAudio)();
  u32 (*UpdateAudio)();
  u32 (*OpenVoices)(u32 count);
  u32 (*CloseVoices)();
  u32 (*SetAudioTimerProc)(AudioTimerProc proc);
  u32 (*SetAudioTimerRate)(u32 bpm);
  u32 (*SetAudioMixerValue)(u32 channel, u32 value);
  u32 (*GetAudioDataAvail)();
  u32 (*CreateAudioData)(AudioWave* wave);
  u32 (*DestroyAudioData)(AudioWave* wave);
  u32 (*WriteAudioData)(AudioWave* wave, u32 offset, u32 count);
  u32 (*PrimeVoice)(u32 voice, AudioWave* wave);
  u32 (*StartVoice)(u32 voice);
  u32 (*StopVoice)(u32 voice);
  u32 (*SetVoicePosition)(u32 voice, u32 position);
  u32 (*SetVoiceFrequency)(u32 voice, u32 hertz);
  u32 (*SetVoiceVolume)(u32 voice, u32 volume);
  u32 (*SetVoicePanning)(u32 voice, u32 panning);
  u32 (*GetVoicePosition)(u32 voice, u32* out);
  u32 (*GetVoiceFrequency)(u32 voice, u32* out);
  u32 (*GetVoiceVolume)(u32 voice, u32* out);
  u32 (*GetVoicePanning)(u32 voice, u32* out);
  u32 (*GetVoiceStatus)(u32 voice, u32* out);
};

// An entry of the device table. A null output driver stands for the
// silent one, a null synthesizer for the software mixer.
struct AudioDeviceRecord {
  const AudioDriver* output;
  const SynthDriver* synth;
};

// Device table and opening.
u32 AInitialize();
u32 ARegisterAudioDriver(const AudioDeviceRecord* device);
u32 APingAudio(u32* id);
u32 AOpenAudio(AudioInfo* info);
u32 ACloseAudio();
u32 AUpdateAudio();
u32 AUpdateAudioEx(u32 frames);
u32 AGetVersion();
u32 AGetAudioDevCaps(u32 id, AudioCaps* caps);
// Copies the text of a result code into text, always terminated.
u32 AGetErrorText(u32 code, char* text, u32 size);
u32 AResetAudioState(u32 value);

// Voices, by handle (1-based).
u32 AOpenVoices(u32 count);
u32 ACloseVoices();
u32 ACreateAudioVoice(u32* handle);
u32 ADestroyAudioVoice(u32 handle);
u32 APlayVoice(u32 handle, AudioWave* wave);
u32 APrimeVoice(u32 handle, AudioWave* wave);
u32 AStartVoice(u32 handle);
u32 AStopVoice(u32 handle);
u32 ASetVoicePosition(u32 handle, u32 position);
u32 ASetVoiceFrequency(u32 handle, u32 hertz);
u32 ASetVoiceVolume(u32 handle, u32 volume);
u32 ASetVoicePanning(u32 handle, u32 panning);
u32 AGetVoicePosition(u32 handle, u32* out);
u32 AGetVoiceFrequency(u32 handle, u32* out);
u32 AGetVoiceVolume(u32 handle, u32* out);
u32 AGetVoicePanning(u32 handle, u32* out);
u32 AGetVoiceStatus(u32 handle, u32* status);

// Synthesizer settings and the buffer fill.
u32 ASetAudioTimerProc(AudioTimerProc proc);
u32 ASetAudioTimerRate(u32 bpm);
u32 ASetAudioMixerValue(u32 channel, u32 value);
u32 ASetAudioCallback(AudioFillProc fill);

// Sample data.
u32 AGetAudioDataAvail();
u32 ACreateAudioData(AudioWave* wave);
u32 ADestroyAudioData(AudioWave* wave);
u32 AWriteAudioData(AudioWave* wave, u32 offset, u32 count);

// Wave files (wave_file.cpp).
u32 ALoadWaveFile(const char* name, AudioWave** wave, u32 offset);
u32 AFreeWaveFile(AudioWave* wave);

// Tracker modules (module_player.cpp). One module plays at a time, on one
// voice per module channel, driven by the synthesizer's tick timer.
struct AudioModule;
struct AudioInstrument;

// Called by the module's sync command with its parameter and the order
// and row playing.
using AudioModuleCallback = void (*)(u32 param, u32 order, u32 row);

// What one channel of the playing module is doing.
struct AudioTrackInfo {
  u8 note = 0;  // 1..96, 0 none
  u8 instrument = 0;  // 1-based, 0 none
  u8 sample = 0;      // index into the instrument's samples
  u8 command = 0;
  u8 param = 0;
  u8 volumeColumn = 0;
  u8 volume = 0;    // final volume 0..64 (before the module volume)
  u8 panning = 0;   // final panning 0..255
  u16 period = 0;   // final period
  const AudioInstrument* instrumentData = nullptr;
};

u32 ALoadModuleFile(const char* name, AudioModule** module, u32 offset);
u32 AFreeModuleFile(AudioModule* module);
u32 APlayModule(AudioModule* module);
u32 AStopModule();
u32 APauseModule();
u32 AResumeModule();
u32 ASetModuleVolume(u32 volume);
u32 ASetModulePosition(u32 order, u32 row);
u32 AGetModuleVolume(u32* volume);
u32 AGetModulePosition(u32* order, u32* row);
// 1 once the module is paused or has ended, else 0.
u32 AGetModuleStatus(u32* status);
u32 ASetModuleCallback(AudioModuleCallback callback);
u32 AGetModuleTrack(u32 channel, AudioTrackInfo* track);
