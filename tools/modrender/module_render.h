// Plays a tracker module once through the real software mixer into memory:
// the code behind the modrender tool, shared by the module tests, the
// loader fuzzers and the benchmark. The output is 44.1 kHz 16-bit stereo
// on an output device of its own that the library's device table holds.
//
// "Once" means until the player ends or jumps back to an order it has
// already played (a pattern loop inside one order is not such a jump).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "audio/audio.h"
#include "platform/types.h"

namespace modrender {

constexpr u32 kRate = 44100;

// A row as it started playing; frame counts output frames from the start
// of the first row.
struct RowEvent {
  u32 order = 0;
  u32 row = 0;
  u64 frame = 0;
};

enum class PassEnd { Ended, Looped, Limit };

struct Options {
  bool keepAudio = true;
  // Where a pass that neither ends nor loops is cut, in frames of play.
  u64 maxFrames = u64(kRate) * 60 * 20;
  // What is mixed at most before the first row: the player waits a row
  // time first, which a huge initial speed could stretch without end.
  u64 maxLeadInFrames = u64(kRate) * 30;
  // Called on the tick that read each row, after the player committed it
  // to the mixer's voices: the player's getters tell that row's state.
  std::function<void(const RowEvent&)> onRow;
};

struct Result {
  std::vector<RowEvent> rows;
  u64 passFrames = 0;      // from the start of the first row to the end of the pass
  u64 renderedFrames = 0;  // everything mixed, the lead-in before the first row included
  u64 ticks = 0;
  PassEnd end = PassEnd::Limit;
  std::vector<i16> audio;  // left, right interleaved, when kept
};

// Opens the library on the render device (once per process it registers
// the device). Both return a library result code.
u32 OpenRenderDevice();
u32 CloseRenderDevice();

// Plays a module loaded while the render device was open.
u32 RenderModule(AudioModule* module, const Options& options, Result* result);

// Opens the device, loads the file with ALoadModuleFile, renders it, frees
// it and closes the device: the load's result code when it fails.
u32 RenderFile(const char* path, const Options& options, Result* result);

// A 16-bit stereo RIFF WAVE file.
bool WriteWav(const std::string& path, const std::vector<i16>& stereo, u32 rate);

std::string ErrorText(u32 code);

}  // namespace modrender
