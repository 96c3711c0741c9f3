#include "tools/modrender/module_render.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "audio/mixer.h"
#include "audio/module.h"

namespace modrender {
namespace {

constexpr char kDeviceName[] = "Module render";
constexpr u32 kFramesPerUpdate = 256;

// One pass in progress; the tick hook reads and writes it.
struct Run {
  AudioModule* module = nullptr;
  const Options* options = nullptr;
  Result* result = nullptr;
  u32 bpm = 125;
  u64 firstRowTick = 1;
  bool started = false;
  bool done = false;
  u32 order = 0;
  u32 row = 0;
  bool visited[256] = {};
  u64 passSamples = 0;
};

Run* g_Run = nullptr;
AudioTimerProc g_PlayerTick = nullptr;
SynthDriver g_Synth;
u32 g_DeviceId = kAudioDetectDevice;
i16 g_Buffer[kFramesPerUpdate * 2];
AudioFillProc g_Fill = nullptr;

// The mixer's tick period in output samples (two per stereo frame), as it
// computes it for stereo output.
u64 TickSamples(u32 bpm) { return u64(kRate) * 2 * 5 / (2 * u64(bpm)); }

// Does the row hold a pattern loop jump (E6y, y > 0) on any channel? The
// packed cells are walked with every read bounded by the pattern's size.
bool RowLoops(const AudioModule* module, u32 order, u32 row) {
  if (order >= module->orderCount || module->orders[order] >= module->patternCount) return false;
  const AudioPattern& pattern = module->patterns[module->orders[order]];
  const u8* data = pattern.data;
  const u32 size = data ? pattern.size : 0;
  u32 at = 0;
  for (u32 r = 0; r <= row && r < pattern.rows; ++r) {
    for (u32 ch = 0; ch < pattern.channels; ++ch) {
      u8 fields[5] = {};
      if (at >= size) return false;
      const u8 first = data[at];
      const u8 mask = (first & kCellPacked) ? first : 0x1F;
      if (first & kCellPacked) ++at;
      for (u32 f = 0; f < 5; ++f)
        if ((mask & (1u << f)) && at < size) fields[f] = data[at++];
      if (r == row && fields[3] == 0xE && (fields[4] >> 4) == 6 && (fields[4] & 15)) return true;
    }
  }
  return false;
}

// Decides after each tick whether it read a new row and whether that row
// ends the pass.
void AfterTick(Run& run) {
  Result& result = *run.result;
  ++result.ticks;
  u32 status = 0;
  if (AGetModuleStatus(&status) == AUDIO_ERROR_NONE && status) {
    run.done = true;
    result.end = PassEnd::Ended;
    return;
  }
  u32 order = 0, row = 0;
  AGetModulePosition(&order, &row);
  bool newRow = false;
  if (!run.started) {
    newRow = result.ticks >= run.firstRowTick;
  } else if (order != run.order || row != run.row) {
    newRow = true;
    const bool jumpedBack =
        order == run.order && row < run.row && !RowLoops(run.module, run.order, run.row);
    if ((order != run.order && order < 256 && run.visited[order]) || jumpedBack) {
      run.done = true;
      result.end = PassEnd::Looped;
      return;
    }
  }
  if (newRow) {
    run.started = true;
    run.order = order;
    run.row = row;
    if (order < 256) run.visited[order] = true;
    const RowEvent event{order, row, result.passFrames};
    result.rows.push_back(event);
    if (run.options->onRow) run.options->onRow(event);
  }
  if (run.started) {
    run.passSamples += TickSamples(run.bpm);
    result.passFrames = run.passSamples / 2;
    if (result.passFrames > run.options->maxFrames) {
      run.done = true;
      result.end = PassEnd::Limit;
    }
  }
}

void HookTick() {
  if (g_PlayerTick) g_PlayerTick();
  if (g_Run && !g_Run->done) AfterTick(*g_Run);
}

u32 HookTimerProc(AudioTimerProc proc) {
  g_PlayerTick = proc;
  return kMixerSynth.SetAudioTimerProc(proc ? HookTick : nullptr);
}

u32 HookTimerRate(u32 bpm) {
  const u32 code = kMixerSynth.SetAudioTimerRate(bpm);
  if (code == AUDIO_ERROR_NONE && g_Run) g_Run->bpm = bpm;
  return code;
}

// The output side: mixes into a fixed buffer and keeps what a run wants.
u32 DeviceCaps(AudioCaps* caps) {
  *caps = AudioCaps();
  std::strncpy(caps->name, kDeviceName, sizeof caps->name - 1);
  return AUDIO_ERROR_NONE;
}
// Never detected: it is opened by its id only.
u32 DevicePing() { return AUDIO_ERROR_NODEVICE; }
u32 DeviceOpen(AudioInfo*) {
  g_Fill = nullptr;
  return AUDIO_ERROR_NONE;
}
u32 DeviceClose() { return AUDIO_ERROR_NONE; }
u32 DeviceUpdate(u32 frames) {
  frames = std::min(frames == 0 ? kFramesPerUpdate : frames, kFramesPerUpdate);
  if (!g_Fill) return AUDIO_ERROR_NONE;
  g_Fill(reinterpret_cast<u8*>(g_Buffer), frames * 4);
  if (g_Run) {
    g_Run->result->renderedFrames += frames;
    if (g_Run->options->keepAudio)
      g_Run->result->audio.insert(g_Run->result->audio.end(), g_Buffer, g_Buffer + frames * 2);
  }
  return AUDIO_ERROR_NONE;
}
u32 DeviceCallback(AudioFillProc fill) {
  g_Fill = fill;
  return AUDIO_ERROR_NONE;
}

const AudioDriver kOutput = {DeviceCaps,  DevicePing,   DeviceOpen,
                             DeviceClose, DeviceUpdate, DeviceCallback};
const AudioDeviceRecord kRecord = {&kOutput, &g_Synth};

u32 RegisterDevice() {
  if (g_DeviceId != kAudioDetectDevice) return AUDIO_ERROR_NONE;
  g_Synth = kMixerSynth;
  g_Synth.SetAudioTimerProc = HookTimerProc;
  g_Synth.SetAudioTimerRate = HookTimerRate;
  AInitialize();
  const u32 code = ARegisterAudioDriver(&kRecord);
  if (code != AUDIO_ERROR_NONE) return code;
  for (u32 id = 0; id < kAudioMaxDevices; ++id) {
    AudioCaps caps;
    if (AGetAudioDevCaps(id, &caps) == AUDIO_ERROR_NONE && std::strcmp(caps.name, kDeviceName) == 0)
      g_DeviceId = id;
  }
  return g_DeviceId == kAudioDetectDevice ? AUDIO_ERROR_NODEVICE : AUDIO_ERROR_NONE;
}

void Put32(std::vector<u8>& out, u32 v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<u8>(v >> (8 * i)));
}

}  // namespace

u32 OpenRenderDevice() {
  u32 code = RegisterDevice();
  if (code != AUDIO_ERROR_NONE) return code;
  AudioInfo info{g_DeviceId, AUDIO_FORMAT_16BITS | AUDIO_FORMAT_STEREO, kRate};
  code = AOpenAudio(&info);
  if (code == AUDIO_ERROR_NONE) code = AOpenVoices(kAudioMaxVoices);
  return code;
}

u32 CloseRenderDevice() {
  ACloseVoices();
  return ACloseAudio();
}

u32 RenderModule(AudioModule* module, const Options& options, Result* result) {
  *result = Result();
  Run run;
  run.module = module;
  run.options = &options;
  run.result = result;
  run.bpm = 125;
  run.firstRowTick = std::max<u32>(1, module->tempo);
  g_Run = &run;
  u32 code = APlayModule(module);
  if (code == AUDIO_ERROR_NONE) {
    const u64 limit = options.maxFrames + options.maxLeadInFrames;
    while (!run.done && result->renderedFrames < limit) AUpdateAudioEx(kFramesPerUpdate);
    AStopModule();
  }
  g_Run = nullptr;
  return code;
}

u32 RenderFile(const char* path, const Options& options, Result* result) {
  u32 code = OpenRenderDevice();
  if (code != AUDIO_ERROR_NONE) return code;
  AudioModule* module = nullptr;
  code = ALoadModuleFile(path, &module, 0);
  if (code == AUDIO_ERROR_NONE) {
    code = RenderModule(module, options, result);
    AFreeModuleFile(module);
  }
  CloseRenderDevice();
  return code;
}

bool WriteWav(const std::string& path, const std::vector<i16>& stereo, u32 rate) {
  const u32 dataBytes = static_cast<u32>(std::min<size_t>(stereo.size() * 2, 0xFFFFFF00u));
  std::vector<u8> header;
  header.insert(header.end(), {'R', 'I', 'F', 'F'});
  Put32(header, 36 + dataBytes);
  header.insert(header.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  Put32(header, 16);
  Put32(header, 1 | (2u << 16));  // PCM, two channels
  Put32(header, rate);
  Put32(header, rate * 4);
  Put32(header, 4 | (16u << 16));  // block align 4, 16 bits
  header.insert(header.end(), {'d', 'a', 't', 'a'});
  Put32(header, dataBytes);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(header.data(), 1, header.size(), file) == header.size();
  // Samples are stored little-endian, as this machine holds them.
  if (ok && dataBytes) ok = std::fwrite(stereo.data(), 1, dataBytes, file) == dataBytes;
  return std::fclose(file) == 0 && ok;
}

std::string ErrorText(u32 code) {
  char text[64];
  AGetErrorText(code, text, sizeof text);
  return text;
}

}  // namespace modrender
