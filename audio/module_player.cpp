// The tracker-module entry points of the library. No module loader or
// player is built yet: no file loads as a module and, with nothing ever
// playing, every player call answers "not playing".
#include "audio/audio.h"

u32 ALoadModuleFile(const char* name, AudioModule** module, u32) {
  if (!name || !module) return AUDIO_ERROR_INVALPARAM;
  *module = nullptr;
  return AUDIO_ERROR_NOTSUPPORTED;
}

u32 AFreeModuleFile(AudioModule* module) {
  return module ? AUDIO_ERROR_NOTSUPPORTED : AUDIO_ERROR_INVALPARAM;
}

u32 APlayModule(AudioModule* module) {
  return module ? AUDIO_ERROR_NOTSUPPORTED : AUDIO_ERROR_INVALPARAM;
}

u32 AStopModule() { return AUDIO_ERROR_NOTSUPPORTED; }

u32 ASetModuleVolume(u32) { return AUDIO_ERROR_NOTSUPPORTED; }
