#include "audio/sound_manager.h"

#include <pthread.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/startup.h"
#include "platform/system.h"

// g_SoundThreadState: the thread runs while it is kThreadRun; the manager
// asks it to stop with kThreadStop; the thread answers kThreadLeft when it
// has left its loop.
constexpr u32 kThreadLeft = 0;
constexpr u32 kThreadRun = 1;
constexpr u32 kThreadStop = 2;

std::atomic<u32> g_SoundEnabled{1};
std::atomic<u32> g_SoundThreadState{kThreadRun};
std::atomic<u32> g_PendingEffects[kSoundMaxWaves];
std::atomic<u32> g_EffectVoiceCount{0};
std::atomic<u32> g_EffectVoices[kSoundMaxEffectVoices];
AudioWave* g_EffectWaves[kSoundMaxWaves];
u32 g_WaveLoaded[kSoundMaxWaves];
AudioInfo g_SndAudioInfo;

namespace {

constexpr u32 kVoiceVolume = 64;
constexpr u32 kCentrePanning = 128;
constexpr const char* kWavePattern = "wav/%d.wav";

u32 g_SoundPeriodUs = 20000;
u32 g_SoundWaveCount = 4;
const char* g_ModuleFileName = "00.wav";
AudioModule* g_SndModule = nullptr;
u32 g_MusicOn = 0;
u32 g_MusicRequest = 0;
i32 g_ModuleIndex = 0;
i32 g_LoadedModule = -1;
u32 g_ModuleVolumeTarget = 64;
u32 g_ModuleVolume = 64;
u32 g_SndDeviceId = 0;
// The Sound setting; while off, effect requests are dropped.
std::atomic<u32> g_SoundOn{1};

pthread_t g_SoundThread;
bool g_ThreadStarted = false;
std::chrono::steady_clock::time_point g_PreviousTime;
// The thread sleeps on this, so that stopping it need not wait out a sleep.
std::mutex g_SleepMutex;
std::condition_variable g_SleepWake;

// The name under the data directory, or an absolute name as it is.
std::string DataPath(const char* name) {
  return name[0] == '/' ? std::string(name) : std::string(g_DataDir) + name;
}

std::string WaveName(u32 effect) {
  char name[32];
  std::snprintf(name, sizeof name, kWavePattern, static_cast<int>(effect));
  return name;
}

// Voices the music needs beside the effects: none, as long as no module
// loader exists and so no module is ever loaded.
u32 MusicVoices() { return 0; }

void ClearPending() {
  for (u32 i = 0; i < g_SoundWaveCount; ++i) g_PendingEffects[i] = 0;
}

void StartSoundThread() {
  g_SoundThreadState = kThreadRun;
  if (pthread_create(&g_SoundThread, nullptr, snd_thread, nullptr) != 0) {
    std::fputs("pthread_create() failed\n", stderr);
    std::exit(1);
  }
  g_ThreadStarted = true;
}

// Wakes the thread from its sleep and waits until it has ended.
void StopSoundThread() {
  if (!g_ThreadStarted) return;
  {
    std::lock_guard<std::mutex> lock(g_SleepMutex);
    g_SoundThreadState = kThreadStop;
  }
  g_SleepWake.notify_all();
  pthread_join(g_SoundThread, nullptr);
  g_ThreadStarted = false;
}

// Sleeps us microseconds, or less when the thread is asked to stop.
void SleepUnlessStopped(u32 us) {
  std::unique_lock<std::mutex> lock(g_SleepMutex);
  g_SleepWake.wait_for(lock, std::chrono::microseconds(us),
                       [] { return g_SoundThreadState != kThreadRun; });
}

// Starts each pending effect on the first stopped effect voice, lower
// effects first; an effect without a free voice waits for the next cycle.
void StartPendingEffects() {
  const u32 voices = g_EffectVoiceCount;
  if (voices == 0) return;
  for (u32 effect = 0; effect < g_SoundWaveCount; ++effect) {
    if (g_PendingEffects[effect] == 0) continue;
    for (u32 i = 0; i < voices; ++i) {
      u32 status = 0;
      const u32 voice = g_EffectVoices[i];
      if (AGetVoiceStatus(voice, &status) != AUDIO_ERROR_NONE || status != 1) continue;
      g_PendingEffects[effect] = 0;
      APlayVoice(voice, g_EffectWaves[effect]);
      break;
    }
  }
}

// Switches the music on or off, reopening the device with the voices the
// new state needs. Nothing asks for it in this game.
void SwitchMusic() {
  g_MusicRequest = 0;
  snd_close();
  if (!g_MusicOn) {
    g_MusicOn = 1;
    g_EffectVoiceCount = 4;
    if (snd_open(g_ModuleIndex) == 1) {
      APlayModule(g_SndModule);
      ASetModuleVolume(g_ModuleVolumeTarget);
    }
  } else {
    g_MusicOn = 0;
    g_EffectVoiceCount = 8;
    snd_open(g_ModuleIndex);
  }
}

}  // namespace

SoundManager* SoundManager::Create(short waves) {
  SoundManager* manager = new SoundManager(waves);
  CheckAlloc(manager);
  return manager;
}

SoundManager::SoundManager(short waves) {
  // The tables hold 20 waves.
  g_SoundWaveCount = static_cast<u32>(std::clamp<int>(waves, 0, kSoundMaxWaves));
  // Without a device the thread would have nothing to do.
  if (snd_init() != 0 && g_SoundEnabled) StartSoundThread();
}

SoundManager::~SoundManager() { StopSoundThread(); }

void SoundManager::Play(short effect) { snd_play(effect); }

void SoundManager::SetPanMode(u8 mode) { snd_setPanMode(mode); }

void SoundManager::SetSoundOn(u8 on) { snd_setSoundOn(on); }

u32 snd_init() {
  if (!g_SoundEnabled) return 1;
  g_ModuleVolumeTarget = g_ModuleVolume = 64;
  g_MusicRequest = g_MusicOn = 0;
  g_EffectVoiceCount = 4;
  g_LoadedModule = -1;
  g_ModuleIndex = 0;
  if (AInitialize() != AUDIO_ERROR_NONE) {
    std::fputs("Ainitialise() failed\n", stderr);
    g_SoundEnabled = 0;
    return 1;
  }
  if (APingAudio(&g_SndDeviceId) != AUDIO_ERROR_NONE) {
    g_SoundEnabled = 0;
    return 1;
  }
  if (snd_open(g_ModuleIndex) == 0) return 0;
  if (!g_SoundEnabled) return 1;
  // The waves load only once the device is open and the voices exist.
  for (u32 i = 0; i < g_SoundWaveCount; ++i) {
    const std::string name = WaveName(i);
    const std::string path = snd_resolvePath(name.c_str());
    if (ALoadWaveFile(path.empty() ? nullptr : path.c_str(), &g_EffectWaves[i], 0) !=
        AUDIO_ERROR_NONE) {
      std::fprintf(stderr, " Audio library, wave file no found :\n%s", DataPath(name.c_str()).c_str());
      return 0;
    }
    g_WaveLoaded[i] = 1;
  }
  return 1;
}

u32 snd_open(i32 moduleIndex) {
  if (g_SoundEnabled) {
    g_SndAudioInfo = AudioInfo{kAudioDetectDevice, AUDIO_FORMAT_16BITS | AUDIO_FORMAT_STEREO, 44100};
    if (AOpenAudio(&g_SndAudioInfo) != AUDIO_ERROR_NONE) {
      std::fputs("AOpenAudio() failed", stderr);
      g_SoundEnabled = 0;
      return 1;
    }
    if (snd_chargeModule(moduleIndex) == 0) return 0;
    const u32 voices = std::min<u32>(g_EffectVoiceCount, kSoundMaxEffectVoices);
    if (AOpenVoices(voices + (g_MusicOn ? MusicVoices() : 0)) != AUDIO_ERROR_NONE) {
      std::fputs("AOpenVoices() failed", stderr);
      return 0;
    }
    for (u32 i = 0; i < voices; ++i) {
      u32 voice = 0;
      if (ACreateAudioVoice(&voice) != AUDIO_ERROR_NONE) {
        std::fputs("ACreateAudioVoice() failed\n", stderr);
        return 0;
      }
      g_EffectVoices[i] = voice;
      ASetVoiceVolume(voice, kVoiceVolume);
      ASetVoicePanning(voice, kCentrePanning);
    }
    if (g_MusicOn) {
      APlayModule(g_SndModule);
      ASetModuleVolume(g_ModuleVolume);
    }
  }
  ClearPending();
  return 1;
}

u32 snd_chargeModule(i32 moduleIndex) {
  if (!g_MusicOn) return 1;
  if (g_LoadedModule < 0) {
    const std::string path = snd_resolvePath(g_ModuleFileName);
    if (ALoadModuleFile(path.empty() ? nullptr : path.c_str(), &g_SndModule, 0) ==
        AUDIO_ERROR_NONE) {
      g_LoadedModule = moduleIndex;
      return 1;
    }
    snd_error("ALoadModuleFile failed", "snd/snd_chargeModule()");
    std::printf("filename: %s\n", path.c_str());
    return 0;
  }
  if (AStopModule() != AUDIO_ERROR_NONE) std::fputs("AStopModule() failed\n", stderr);
  if (AFreeModuleFile(g_SndModule) != AUDIO_ERROR_NONE)
    std::fputs("AFreeModuleFile() failed\n", stderr);
  g_SndModule = nullptr;
  g_LoadedModule = -1;
  snd_close();
  return snd_open(moduleIndex) != 0 ? 1 : 0;
}

u32 snd_setModule(i32 moduleIndex) {
  g_ModuleIndex = moduleIndex;
  if (!g_MusicOn) return 0;
  return snd_chargeModule(moduleIndex) == 0 ? 1 : 0;
}

void snd_exec() {
  if (!g_SoundEnabled) return;
  AUpdateAudio();
  StartPendingEffects();
  if (g_MusicRequest) SwitchMusic();
}

void snd_close() {
  if (!g_SoundEnabled) return;
  if (g_MusicOn) AStopModule();
  for (u32 i = 0; i < g_EffectVoiceCount && i < kSoundMaxEffectVoices; ++i) {
    AStopVoice(g_EffectVoices[i]);
    ADestroyAudioVoice(g_EffectVoices[i]);
  }
  ACloseVoices();
  if (g_MusicOn && g_LoadedModule >= 0) {
    AFreeModuleFile(g_SndModule);
    g_SndModule = nullptr;
    g_LoadedModule = -1;
  }
  ASetAudioTimerProc(nullptr);
  ACloseAudio();
}

void snd_freeWaves() {
  if (!g_SoundEnabled) return;
  snd_close();
  for (u32 i = 0; i < kSoundMaxWaves; ++i) {
    if (!g_WaveLoaded[i]) continue;
    AFreeWaveFile(g_EffectWaves[i]);
    g_EffectWaves[i] = nullptr;
    g_WaveLoaded[i] = 0;
  }
}

void snd_play(i32 effect) {
  if (effect < 0 || static_cast<u32>(effect) >= g_SoundWaveCount || !g_SoundOn) return;
  g_PendingEffects[effect] = 1;
}

void snd_setPanMode(u8 mode) {
  const u32 panning = mode == 1 ? 175 : mode == 2 ? 255 : kCentrePanning;
  if (!g_SoundEnabled) return;
  const u32 voices = std::min<u32>(g_EffectVoiceCount, kSoundMaxEffectVoices);
  for (u32 i = 0; i < voices; ++i) ASetVoicePanning(g_EffectVoices[i], panning);
}

void snd_setSoundOn(u8 on) {
  g_SoundOn = on != 0;
  if (!on) ClearPending();
}

void snd_error(const char*, const char*) {}

void* snd_thread(void*) {
  g_PreviousTime = std::chrono::steady_clock::now();
  i32 carried = 0;
  while (g_SoundThreadState == kThreadRun) {
    // Without sound there is nothing to do but wait for the stop.
    if (g_SoundEnabled != 1) {
      SleepUnlessStopped(g_SoundPeriodUs);
      continue;
    }
    const i32 elapsed = snd_elapsedUs();
    carried = snd_sleepUs(static_cast<i32>(g_SoundPeriodUs) - elapsed + carried);
    if (g_SoundThreadState != kThreadRun) break;
    snd_exec();
  }
  g_SoundThreadState = kThreadLeft;
  return nullptr;
}

i32 snd_elapsedUs() {
  const auto now = std::chrono::steady_clock::now();
  const i64 us =
      std::chrono::duration_cast<std::chrono::microseconds>(now - g_PreviousTime).count();
  g_PreviousTime = now;
  return static_cast<i32>(std::clamp<i64>(us, INT32_MIN, INT32_MAX));
}

// Each cycle asks for the period less the time the previous one worked;
// no single sleep exceeds one period.
i32 snd_sleepUs(i32 us) {
  if (us <= 0) return 0;
  SleepUnlessStopped(std::min<u32>(static_cast<u32>(us % 1000000), g_SoundPeriodUs));
  return us;
}

std::string snd_resolvePath(const char* name) {
  if (!name) return std::string();
  if (name[0] == '/') return name;
  const std::string path = DataPath(name);
  struct stat info;
  if (stat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return std::string();
  return path;
}

bool snd_threadStarted() { return g_ThreadStarted; }

void snd_resetState() {
  StopSoundThread();
  snd_freeWaves();
  g_SoundEnabled = 1;
  g_SoundThreadState = kThreadRun;
  g_SoundOn = 1;
  g_SoundPeriodUs = 20000;
  g_SoundWaveCount = 4;
  g_EffectVoiceCount = 0;
  for (auto& voice : g_EffectVoices) voice = 0;
  for (auto& pending : g_PendingEffects) pending = 0;
  for (u32 i = 0; i < kSoundMaxWaves; ++i) {
    g_EffectWaves[i] = nullptr;
    g_WaveLoaded[i] = 0;
  }
  g_SndAudioInfo = AudioInfo();
  g_SndModule = nullptr;
  g_MusicOn = g_MusicRequest = 0;
  g_ModuleIndex = 0;
  g_LoadedModule = -1;
  g_ModuleVolumeTarget = g_ModuleVolume = 64;
  g_SndDeviceId = 0;
}
