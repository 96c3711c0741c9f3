// The game's door to the audio library. At start-up it opens the audio
// device, makes the effect voices and loads the effect waves; then a sound
// thread, every 20 ms, lets the library mix and write one buffer and starts
// the effects the game has asked for since. The game thread only marks an
// effect as wanted and sets the stereo placement of the effect voices.
// Without an audio device the manager stays silent and the game runs on.
//
// All state is module-level, shared with the snd_ functions below; there
// is only ever one sound manager.
#pragma once

#include <atomic>
#include <string>

#include "audio/audio.h"
#include "platform/types.h"

// The effects the game asks for; effect n plays the wave "wav/<n>.wav" of
// the data directory.
enum SoundEffect {
  SoundShot = 0,
  SoundBounce = 1,
  SoundMatch = 2,
  SoundAlert = 3,
};

constexpr u32 kSoundMaxWaves = 20;
constexpr u32 kSoundMaxEffectVoices = 8;

class SoundManager : public CBase {
 public:
  static SoundManager* Create(short waves);

  // Opens the sound and starts the thread, unless there is no device to
  // feed or the start failed half-way.
  explicit SoundManager(short waves);
  // Stops the thread and waits for it. The device and the waves stay.
  ~SoundManager() override;
  SoundManager(const SoundManager&) = delete;
  SoundManager& operator=(const SoundManager&) = delete;

  // Asks for an effect; numbers outside 0..waves-1 are ignored, and so is
  // every request while sound is switched off.
  void Play(short effect);
  // The volume choice: 1 places the effects a little right (175), 2 fully
  // right (255), anything else in the centre (128).
  void SetPanMode(u8 mode);
  // The Sound setting: off drops effect requests, on takes them again.
  void SetSoundOn(u8 on);
};

// The module functions, under their own names.
u32 snd_init();
u32 snd_open(i32 moduleIndex);
u32 snd_chargeModule(i32 moduleIndex);
u32 snd_setModule(i32 moduleIndex);
void snd_exec();
void snd_close();
void snd_freeWaves();
void snd_play(i32 effect);
void snd_setPanMode(u8 mode);
void snd_setSoundOn(u8 on);
void snd_error(const char* message, const char* where);
void* snd_thread(void*);
i32 snd_elapsedUs();
i32 snd_sleepUs(i32 us);
// The path of a sound file: an absolute name as it is, else the data
// directory followed by the name, when that is a file. Empty when not.
std::string snd_resolvePath(const char* name);
// True while the sound thread exists.
bool snd_threadStarted();
// Stops the thread, closes the device, frees the waves and puts every
// module-level value back to its start, so that tests begin afresh.
void snd_resetState();

// Module-level state that tests look at.
extern std::atomic<u32> g_SoundEnabled;
extern std::atomic<u32> g_SoundThreadState;
extern std::atomic<u32> g_PendingEffects[kSoundMaxWaves];
extern std::atomic<u32> g_EffectVoiceCount;
extern std::atomic<u32> g_EffectVoices[kSoundMaxEffectVoices];
extern AudioWave* g_EffectWaves[kSoundMaxWaves];
extern u32 g_WaveLoaded[kSoundMaxWaves];
extern AudioInfo g_SndAudioInfo;
