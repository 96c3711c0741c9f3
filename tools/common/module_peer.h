// Independent tracker-module players for comparison: libxmp plays a pass
// row by row (nearest-neighbour mixing, no DSP effects, 44.1 kHz stereo)
// and libopenmpt gives its own length of the song. Only tests and
// benchmarks use them.
#pragma once

#include <string>
#include <vector>

#include "platform/types.h"

namespace modpeer {

struct Channel {
  u8 note = 0;        // libxmp's current base note (0-based, 0 = none)
  u8 instrument = 0;  // 0-based
  u32 period = 0;     // libxmp's period x 4096
  u8 volume = 0;
  u8 pan = 0;
};

struct Row {
  int order = 0;
  int row = 0;
  double ms = 0;  // time from the start of the pass
  std::vector<Channel> channels;
};

struct Pass {
  std::vector<Row> rows;
  double ms = 0;
};

// Plays one pass with libxmp; channels per row only when asked. False when
// libxmp cannot load the file.
bool XmpPass(const std::vector<u8>& file, Pass* pass, bool withChannels);

// The song's length as libxmp's and libopenmpt's own scans give it, in
// milliseconds; negative when the player cannot load the file.
double XmpLengthMs(const std::vector<u8>& file);
double OpenmptLengthMs(const std::vector<u8>& file);

// A loaded module that renders whole passes, for the benchmark.
class XmpRenderer {
 public:
  explicit XmpRenderer(const std::vector<u8>& file);
  ~XmpRenderer();
  XmpRenderer(const XmpRenderer&) = delete;
  XmpRenderer& operator=(const XmpRenderer&) = delete;
  bool Loaded() const { return loaded_; }
  // Renders one pass from the start; returns the frames rendered.
  u64 RenderPass();

 private:
  void* context_ = nullptr;
  bool loaded_ = false;
};

std::vector<u8> ReadFile(const std::string& path);

}  // namespace modpeer
