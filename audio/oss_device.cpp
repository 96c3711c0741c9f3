#include "audio/oss_device.h"

#include <fcntl.h>
#include <linux/soundcard.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

namespace {

int RealOpen(const char* path, int flags) { return ::open(path, flags); }
int RealIoctl(int fd, unsigned long request, void* argument) {
  return ::ioctl(fd, request, argument);
}

const OssSystemCalls* g_Calls = &kOssRealSystemCalls;

struct OssState {
  int fd = -1;
  u8 buffer[kOssBufferBytes] = {};
  AudioFillProc fill = nullptr;
  u16 format = 0;
  u32 rate = 0;  // frames a second, as the device granted
};

OssState g_State;

u32 BytesPerFrame() {
  return ((g_State.format & AUDIO_FORMAT_16BITS) ? 2u : 1u) *
         ((g_State.format & AUDIO_FORMAT_STEREO) ? 2u : 1u);
}

u32 GetCaps(AudioCaps* caps) {
  if (!caps) return AUDIO_ERROR_INVALPARAM;
  *caps = AudioCaps();
  caps->productId = 257;
  std::strncpy(caps->name, "Linux Voxware", sizeof caps->name);
  caps->formats = 0x0FFF;
  return AUDIO_ERROR_NONE;
}

u32 Ping() {
  return g_Calls->access(g_Calls->devicePath, W_OK) == 0 ? AUDIO_ERROR_NONE
                                                          : AUDIO_ERROR_NODEVICE;
}

// One format ioctl; false when the device refuses it.
bool Configure(unsigned long request, int value, int* granted) {
  *granted = value;
  return g_Calls->ioctl(g_State.fd, request, granted) >= 0;
}

u32 Open(AudioInfo* info) {
  g_State = OssState();
  if (!info) return AUDIO_ERROR_INVALPARAM;
  g_State.fd = g_Calls->open(g_Calls->devicePath, O_WRONLY | O_NONBLOCK);
  if (g_State.fd < 0) return AUDIO_ERROR_DEVICEBUSY;
  int fragments = kOssFragments;
  g_Calls->ioctl(g_State.fd, SNDCTL_DSP_SETFRAGMENT, &fragments);
  int format = 0, stereo = 0, rate = 0;
  const bool accepted =
      Configure(SNDCTL_DSP_SETFMT, (info->format & AUDIO_FORMAT_16BITS) ? AFMT_S16_LE : AFMT_U8,
                &format) &&
      Configure(SNDCTL_DSP_STEREO, (info->format & AUDIO_FORMAT_STEREO) ? 1 : 0, &stereo) &&
      Configure(SNDCTL_DSP_SPEED, info->rate, &rate);
  if (!accepted) {
    g_Calls->close(g_State.fd);
    g_State.fd = -1;
    return AUDIO_ERROR_BADFORMAT;
  }
  g_State.format = info->format;
  // The mixer opens after this and mixes at whatever rate the card plays.
  if (rate > 0 && rate <= 0xFFFF) info->rate = static_cast<u16>(rate);
  g_State.rate = info->rate;
  return AUDIO_ERROR_NONE;
}

u32 Close() {
  if (g_State.fd >= 0) g_Calls->close(g_State.fd);
  g_State.fd = -1;
  return AUDIO_ERROR_NONE;
}

// How many bytes the device's queue is kept at: about two update cycles,
// never less than one cycle and a fragment (the device frees its space a
// fragment at a time, so it may hold nearly a fragment more than it
// says), rounded up to whole fragments. Enough that small fragments do
// not starve the device, little enough that the sound follows the game.
i64 QueueTarget(i64 fragmentBytes) {
  const i64 cycle = i64{g_State.rate} * BytesPerFrame() * kOssCycleMs / 1000;
  const i64 bytes = std::max(2 * cycle, cycle + fragmentBytes);
  return (bytes + fragmentBytes - 1) / fragmentBytes * fragmentBytes;
}

// How many of `bytes` the device takes now. When it tells its free space,
// the queue is topped up to its target and no further, instead of
// drifting up to the whole 16-fragment queue; whole frames only. A device
// that does not answer gets the whole buffer.
u32 WritableBytes(u32 bytes) {
  audio_buf_info space{};
  if (g_Calls->ioctl(g_State.fd, SNDCTL_DSP_GETOSPACE, &space) < 0) return bytes;
  i64 room = std::max(space.bytes, 0);
  if (space.fragsize > 0 && space.fragstotal > 0) {
    const i64 queued = i64{space.fragstotal} * space.fragsize - space.bytes;
    room = std::min(room, QueueTarget(space.fragsize) - queued);
  }
  room = std::clamp<i64>(room, 0, bytes);
  return static_cast<u32>(room - room % BytesPerFrame());
}

// Fills and writes one buffer. What the device does not take is dropped:
// the descriptor never blocks the sound thread.
u32 Update(u32 frames) {
  u64 bytes = u64{frames} * BytesPerFrame();
  if (bytes == 0 || bytes > kOssBufferBytes) bytes = kOssBufferBytes;
  if (!g_State.fill) return AUDIO_ERROR_NONE;
  const u32 writable = WritableBytes(static_cast<u32>(bytes));
  if (writable == 0) return AUDIO_ERROR_NONE;
  g_State.fill(g_State.buffer, writable);
  g_Calls->write(g_State.fd, g_State.buffer, writable);
  return AUDIO_ERROR_NONE;
}

u32 SetCallback(AudioFillProc fill) {
  g_State.fill = fill;
  return AUDIO_ERROR_NONE;
}

}  // namespace

const OssSystemCalls kOssRealSystemCalls = {"/dev/dsp", ::access, RealOpen, RealIoctl, ::write,
                                            ::close};

void OssSetSystemCalls(const OssSystemCalls* calls) {
  g_Calls = calls ? calls : &kOssRealSystemCalls;
}

const AudioDriver kOssOutput = {GetCaps, Ping, Open, Close, Update, SetCallback};
