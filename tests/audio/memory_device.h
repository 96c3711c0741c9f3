// An output device that keeps everything it is asked to play in memory,
// with the software mixer as its synthesizer: tests render the real mixer
// and read back the bytes. Registered after the two built-in devices it
// gets id 2, so detection finds it before the OSS device.
#pragma once

#include <cstring>
#include <mutex>
#include <vector>

#include "audio/audio.h"

namespace audio_test {

class MemoryDevice {
 public:
  // Registers the device (once the library knows its own two) and clears
  // what it has recorded.
  static void Install() {
    AInitialize();
    ARegisterAudioDriver(&kRecord);
    Clear();
    present = true;
  }
  static void Clear() {
    std::lock_guard<std::mutex> lock(mutex);
    rendered.clear();
    updates = 0;
  }
  // The 16-bit samples played so far (left, right interleaved in stereo).
  static std::vector<i16> Samples16() {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<i16> samples(rendered.size() / 2);
    if (!samples.empty()) std::memcpy(samples.data(), rendered.data(), samples.size() * 2);
    return samples;
  }
  static std::vector<u8> Bytes() {
    std::lock_guard<std::mutex> lock(mutex);
    return rendered;
  }
  static u32 Updates() {
    std::lock_guard<std::mutex> lock(mutex);
    return updates;
  }

  // Answers detection only while present.
  static inline bool present = true;
  // The request the device was opened with.
  static inline AudioInfo opened{};

 private:
  static u32 GetCaps(AudioCaps* caps) {
    *caps = AudioCaps();
    std::strncpy(caps->name, "Memory", sizeof caps->name);
    return AUDIO_ERROR_NONE;
  }
  static u32 Ping() { return present ? AUDIO_ERROR_NONE : AUDIO_ERROR_NODEVICE; }
  static u32 Open(AudioInfo* info) {
    opened = *info;
    fill = nullptr;
    return AUDIO_ERROR_NONE;
  }
  static u32 Close() { return AUDIO_ERROR_NONE; }
  // Like the OSS device: 0 frames means one 4096-byte buffer.
  static u32 Update(u32 frames) {
    const u32 frameBytes = ((opened.format & AUDIO_FORMAT_16BITS) ? 2 : 1) *
                           ((opened.format & AUDIO_FORMAT_STEREO) ? 2 : 1);
    const u32 bytes = frames == 0 ? 4096 : frames * frameBytes;
    if (!fill) return AUDIO_ERROR_NONE;
    std::vector<u8> buffer(bytes);
    fill(buffer.data(), bytes);
    std::lock_guard<std::mutex> lock(mutex);
    rendered.insert(rendered.end(), buffer.begin(), buffer.end());
    ++updates;
    return AUDIO_ERROR_NONE;
  }
  static u32 SetCallback(AudioFillProc proc) {
    fill = proc;
    return AUDIO_ERROR_NONE;
  }

  static inline std::mutex mutex;
  static inline std::vector<u8> rendered;
  static inline u32 updates = 0;
  static inline AudioFillProc fill = nullptr;
  static inline const AudioDriver kOutput = {GetCaps, Ping, Open, Close, Update, SetCallback};
  static inline const AudioDeviceRecord kRecord = {&kOutput, nullptr};
};

}  // namespace audio_test
