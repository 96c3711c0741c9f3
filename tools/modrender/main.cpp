// modrender [--trace] MODULE OUT.wav: plays a tracker module once through
// the audio library's mixer (44.1 kHz, 16-bit stereo) and writes the sound
// as a WAVE file; --trace also prints the order and row of every row played.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/modrender/module_render.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: modrender [--trace] MODULE OUT.wav\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool trace = false;
  const char* paths[2] = {nullptr, nullptr};
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--trace") == 0) {
      trace = true;
    } else if (count < 2) {
      paths[count++] = argv[i];
    } else {
      return Usage();
    }
  }
  if (count != 2) return Usage();

  modrender::Options options;
  if (trace) {
    options.onRow = [](const modrender::RowEvent& e) {
      std::printf("order %u row %u\n", e.order, e.row);
    };
  }
  modrender::Result result;
  const u32 code = modrender::RenderFile(paths[0], options, &result);
  if (code != AUDIO_ERROR_NONE) {
    std::fprintf(stderr, "modrender: %s: %s\n", paths[0], modrender::ErrorText(code).c_str());
    return 1;
  }
  if (!modrender::WriteWav(paths[1], result.audio, modrender::kRate)) {
    std::fprintf(stderr, "modrender: cannot write %s\n", paths[1]);
    return 1;
  }
  const char* how = result.end == modrender::PassEnd::Ended    ? "the song ended"
                    : result.end == modrender::PassEnd::Looped ? "the song looped"
                                                               : "cut at the length limit";
  std::fprintf(stderr, "modrender: %zu rows, %.3f s of play (%s)\n", result.rows.size(),
               double(result.passFrames) / modrender::kRate, how);
  return 0;
}
