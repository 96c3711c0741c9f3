// A stand-in for the OSS system calls: it records every call the OSS
// driver makes and the bytes written to "/dev/dsp", and can refuse any of
// them. No test needs a sound card. Also meant for in-process tests of the
// game that look for its effects in what reaches the device.
#pragma once

#include <linux/soundcard.h>

#include <algorithm>
#include <mutex>
#include <string>
#include <vector>

#include "audio/oss_device.h"

namespace audio_test {

struct OssCall {
  std::string name;     // "access", "open", "ioctl", "write", "close"
  unsigned long request;  // for ioctl
  long value;           // flags, the ioctl's int argument or bytes written
  bool operator==(const OssCall& o) const {
    return name == o.name && request == o.request && value == o.value;
  }
};

class FakeOss {
 public:
  static constexpr int kFd = 42;

  // Installs the fake with a device that is present and accepts anything.
  static void Install() {
    std::lock_guard<std::mutex> lock(mutex);
    calls.clear();
    written.clear();
    present = true;
    openResult = kFd;
    refusedRequest = 0;
    grantedRate = 0;
    answerSpace = false;
    space = audio_buf_info{};
    playing = false;
    queued = maxQueued = underruns = 0;
    OssSetSystemCalls(&kCalls);
  }
  static void Uninstall() { OssSetSystemCalls(nullptr); }

  static std::vector<OssCall> Calls() {
    std::lock_guard<std::mutex> lock(mutex);
    return calls;
  }
  static std::vector<u8> Written() {
    std::lock_guard<std::mutex> lock(mutex);
    return written;
  }

  // Makes the device play: it holds `fragments` fragments of `fragmentBytes`
  // and answers SNDCTL_DSP_GETOSPACE from what is queued, freeing space a
  // whole fragment at a time as a card does; writes join the queue as far
  // as it has room.
  static void PlayAs(int fragments, int fragmentBytes) {
    std::lock_guard<std::mutex> lock(mutex);
    playing = answerSpace = true;
    space = audio_buf_info{fragments, fragments, fragmentBytes, fragments * fragmentBytes};
  }
  // Plays `bytes` off the queue; running dry first counts as an underrun.
  static void Play(long bytes) {
    std::lock_guard<std::mutex> lock(mutex);
    if (queued < bytes) ++underruns;
    queued = queued < bytes ? 0 : queued - bytes;
  }
  static inline long queued = 0, maxQueued = 0, underruns = 0;

  // What the device does; set before the driver uses it.
  static inline bool present = true;
  static inline int openResult = kFd;
  static inline unsigned long refusedRequest = 0;  // an ioctl that fails
  static inline int grantedRate = 0;               // 0: the rate asked for
  static inline bool answerSpace = false;          // SNDCTL_DSP_GETOSPACE
  static inline audio_buf_info space{};

 private:
  static void Record(const char* name, unsigned long request, long value) {
    calls.push_back(OssCall{name, request, value});
  }
  static int Access(const char*, int mode) {
    std::lock_guard<std::mutex> lock(mutex);
    Record("access", 0, mode);
    return present ? 0 : -1;
  }
  static int Open(const char*, int flags) {
    std::lock_guard<std::mutex> lock(mutex);
    Record("open", 0, flags);
    return openResult;
  }
  static int Ioctl(int, unsigned long request, void* argument) {
    std::lock_guard<std::mutex> lock(mutex);
    if (request == SNDCTL_DSP_GETOSPACE) {
      Record("ioctl", request, 0);
      if (!answerSpace) return -1;
      if (playing) {
        const long total = long{space.fragstotal} * space.fragsize;
        space.fragments = static_cast<int>((total - queued) / space.fragsize);
        space.bytes = space.fragments * space.fragsize;
      }
      *static_cast<audio_buf_info*>(argument) = space;
      return 0;
    }
    int* value = static_cast<int*>(argument);
    Record("ioctl", request, *value);
    if (request == refusedRequest) return -1;
    if (request == SNDCTL_DSP_SPEED && grantedRate != 0) *value = grantedRate;
    return 0;
  }
  static ssize_t Write(int, const void* buffer, size_t bytes) {
    std::lock_guard<std::mutex> lock(mutex);
    Record("write", 0, static_cast<long>(bytes));
    if (playing) {
      bytes = std::min<size_t>(bytes, space.fragstotal * space.fragsize - queued);
      queued += static_cast<long>(bytes);
      maxQueued = std::max(maxQueued, queued);
    }
    const u8* data = static_cast<const u8*>(buffer);
    written.insert(written.end(), data, data + bytes);
    return static_cast<ssize_t>(bytes);
  }
  static int Close(int fd) {
    std::lock_guard<std::mutex> lock(mutex);
    Record("close", 0, fd);
    return 0;
  }

  static inline std::mutex mutex;
  static inline std::vector<OssCall> calls;
  static inline std::vector<u8> written;
  static inline bool playing = false;
  static inline const OssSystemCalls kCalls = {"/dev/dsp", Access, Open, Ioctl, Write, Close};
};

}  // namespace audio_test
