#include "tools/common/module_peer.h"

#include <libopenmpt/libopenmpt.h>
#include <xmp.h>

#include <cstdio>

namespace modpeer {
namespace {

constexpr int kRate = 44100;

// Starts a pass: the peer's plainest mixing, so that speed compares like
// with like.
bool Start(xmp_context context) {
  if (xmp_start_player(context, kRate, 0) != 0) return false;
  xmp_set_player(context, XMP_PLAYER_INTERP, XMP_INTERP_NEAREST);
  xmp_set_player(context, XMP_PLAYER_DSP, 0);
  return true;
}

}  // namespace

bool XmpPass(const std::vector<u8>& file, Pass* pass, bool withChannels) {
  *pass = Pass();
  xmp_context context = xmp_create_context();
  bool ok = xmp_load_module_from_memory(context, file.data(), static_cast<long>(file.size())) == 0;
  if (ok) {
    ok = Start(context);
    xmp_module_info info;
    xmp_get_module_info(context, &info);
    const int channels = info.mod->chn;
    xmp_frame_info frame;
    while (ok && xmp_play_frame(context) == 0) {
      xmp_get_frame_info(context, &frame);
      if (frame.loop_count > 0) break;
      if (frame.frame == 0) {
        Row row;
        row.order = frame.pos;
        row.row = frame.row;
        row.ms = pass->ms;
        for (int c = 0; withChannels && c < channels && c < XMP_MAX_CHANNELS; ++c) {
          const xmp_channel_info& ci = frame.channel_info[c];
          row.channels.push_back({ci.note, ci.instrument, ci.period, ci.volume, ci.pan});
        }
        pass->rows.push_back(row);
      }
      pass->ms += frame.frame_time / 1000.0;
    }
    xmp_end_player(context);
    xmp_release_module(context);
  }
  xmp_free_context(context);
  return ok;
}

double XmpLengthMs(const std::vector<u8>& file) {
  xmp_context context = xmp_create_context();
  double ms = -1;
  if (xmp_load_module_from_memory(context, file.data(), static_cast<long>(file.size())) == 0) {
    if (Start(context)) {
      xmp_frame_info frame;
      xmp_get_frame_info(context, &frame);
      ms = frame.total_time;
      xmp_end_player(context);
    }
    xmp_release_module(context);
  }
  xmp_free_context(context);
  return ms;
}

double OpenmptLengthMs(const std::vector<u8>& file) {
  int error = 0;
  openmpt_module* module = openmpt_module_create_from_memory2(
      file.data(), file.size(), nullptr, nullptr, nullptr, nullptr, &error, nullptr, nullptr);
  if (!module) return -1;
  const double ms = openmpt_module_get_duration_seconds(module) * 1000.0;
  openmpt_module_destroy(module);
  return ms;
}

XmpRenderer::XmpRenderer(const std::vector<u8>& file) {
  context_ = xmp_create_context();
  loaded_ = xmp_load_module_from_memory(static_cast<xmp_context>(context_), file.data(),
                                        static_cast<long>(file.size())) == 0;
}

XmpRenderer::~XmpRenderer() {
  xmp_context context = static_cast<xmp_context>(context_);
  if (loaded_) xmp_release_module(context);
  xmp_free_context(context);
}

u64 XmpRenderer::RenderPass() {
  xmp_context context = static_cast<xmp_context>(context_);
  if (!loaded_ || !Start(context)) return 0;
  u64 frames = 0;
  xmp_frame_info frame;
  while (xmp_play_frame(context) == 0) {
    xmp_get_frame_info(context, &frame);
    if (frame.loop_count > 0) break;
    frames += static_cast<u64>(frame.buffer_size) / 4;
  }
  xmp_end_player(context);
  return frames;
}

std::vector<u8> ReadFile(const std::string& path) {
  std::vector<u8> bytes;
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return bytes;
  u8 buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    bytes.insert(bytes.end(), buffer, buffer + n);
  std::fclose(file);
  return bytes;
}

}  // namespace modpeer
