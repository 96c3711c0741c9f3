// fuzz-links: audio
// Feeds arbitrary bytes to the wave loader as a file, and plays what loads
// through the software mixer for a few buffers.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "audio/audio.h"
#include "tests/audio/memory_device.h"

namespace {

// The input goes to an in-memory file that the loader opens by name.
const std::string& InputPath() {
  static const std::string path = [] {
    const int fd = memfd_create("wave_fuzz", 0);
    return "/proc/self/fd/" + std::to_string(fd);
  }();
  return path;
}

void OpenMixer() {
  static bool open = false;
  if (open) return;
  audio_test::MemoryDevice::Install();
  AudioInfo info{2, AUDIO_FORMAT_16BITS | AUDIO_FORMAT_STEREO, 44100};
  open = AOpenAudio(&info) == AUDIO_ERROR_NONE && AOpenVoices(1) == AUDIO_ERROR_NONE;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  OpenMixer();
  std::FILE* file = std::fopen(InputPath().c_str(), "wb");
  if (!file) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
  AudioWave* wave = nullptr;
  const u32 code = ALoadWaveFile(InputPath().c_str(), &wave, 0);
  if (code == AUDIO_ERROR_NONE) {
    u32 voice = 0;
    ACreateAudioVoice(&voice);
    ASetVoiceVolume(voice, 64);
    APlayVoice(voice, wave);
    for (int i = 0; i < 4; ++i) AUpdateAudio();
    AStopVoice(voice);
    ADestroyAudioVoice(voice);
    audio_test::MemoryDevice::Clear();
    AFreeWaveFile(wave);
  } else if (wave) {
    __builtin_trap();  // a failed load returns no wave
  }
  return 0;
}
