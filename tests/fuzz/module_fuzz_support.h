// Shared by the module loaders' fuzz targets: the input becomes an
// in-memory file that one loader opens by name; what loads is played for
// a bounded time through the real mixer, as modrender would play it, and
// freed again.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "audio/audio.h"
#include "tools/modrender/module_render.h"

namespace module_fuzz {

using Loader = u32 (*)(const char* name, AudioModule** module, u32 offset);

inline const std::string& InputPath() {
  static const std::string path = [] {
    const int fd = memfd_create("module_fuzz", 0);
    return "/proc/self/fd/" + std::to_string(fd);
  }();
  return path;
}

inline int Run(Loader load, const unsigned char* data, size_t size) {
  static const bool open = modrender::OpenRenderDevice() == AUDIO_ERROR_NONE;
  if (!open) return 0;
  std::FILE* file = std::fopen(InputPath().c_str(), "wb");
  if (!file) return 0;
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);
  AudioModule* module = nullptr;
  const u32 code = load(InputPath().c_str(), &module, 0);
  if (code == AUDIO_ERROR_NONE) {
    if (!module) __builtin_trap();  // success returns a module
    modrender::Options options;
    options.keepAudio = false;
    options.maxFrames = modrender::kRate / 4;
    options.maxLeadInFrames = modrender::kRate / 4;
    modrender::Result result;
    modrender::RenderModule(module, options, &result);
    AFreeModuleFile(module);
  } else if (module) {
    __builtin_trap();  // a failed load returns no module
  }
  return 0;
}

}  // namespace module_fuzz
