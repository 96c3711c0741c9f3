// Test tool: plays a WAVE file on "/dev/dsp" the way the game's OSS device
// does (write-only and non-blocking, 16 fragments of 4096 bytes, 16-bit
// little endian, stereo, 44100 Hz), at real-time pace in 20 ms steps and
// never more than the device says is free. Silence comes before and after
// the sound; the write that carries the sound's first frame is cut to start
// with it, and its monotonic time is printed.
//
//   oss_tone FILE.wav [LEAD_IN_MS [TAIL_MS]]
//
// Prints "rate R", "sound-start-ms T", "max-queued-bytes N" and "done".
// Exit status: 0 played, 1 bad arguments or file, 2 no device, 3 a format
// the device refused.
#include <fcntl.h>
#include <linux/soundcard.h>
#include <sys/ioctl.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/wav_analysis.h"

using testing_support::PcmSound;

namespace {

constexpr int kStepMs = 20;
constexpr int kFrameBytes = 4;  // 16-bit stereo

double NowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

void SleepUntilMs(double ms) {
  timespec until{};
  until.tv_sec = static_cast<time_t>(ms / 1000);
  until.tv_nsec = static_cast<long>((ms - until.tv_sec * 1000.0) * 1e6);
  while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

// The device set up as the game sets it up; the granted rate, or 0.
int OpenDevice(int& fd) {
  fd = open("/dev/dsp", O_WRONLY | O_NONBLOCK);
  if (fd < 0) return -1;
  int fragments = 0x0010000C;
  ioctl(fd, SNDCTL_DSP_SETFRAGMENT, &fragments);
  int format = AFMT_S16_LE, stereo = 1, rate = 44100;
  if (ioctl(fd, SNDCTL_DSP_SETFMT, &format) < 0 || format != AFMT_S16_LE ||
      ioctl(fd, SNDCTL_DSP_STEREO, &stereo) < 0 || stereo != 1 ||
      ioctl(fd, SNDCTL_DSP_SPEED, &rate) < 0 || rate <= 0) {
    return 0;
  }
  return rate;
}

// Lead-in silence, the sound at the device's rate in stereo, tail silence.
std::vector<std::int16_t> Programme(const PcmSound& sound, int rate, int leadMs, int tailMs,
                                    size_t& soundStartFrame) {
  const PcmSound played = ToPcm(Resample(ToMono(sound), rate), 2);
  soundStartFrame = static_cast<size_t>(leadMs) * rate / 1000;
  std::vector<std::int16_t> samples(soundStartFrame * 2, 0);
  samples.insert(samples.end(), played.samples.begin(), played.samples.end());
  samples.insert(samples.end(), static_cast<size_t>(tailMs) * rate / 1000 * 2, 0);
  return samples;
}

// Free bytes in the device queue, whole frames; tracks the deepest queue.
size_t FreeBytes(int fd, size_t fallback, int& maxQueued) {
  audio_buf_info space{};
  if (ioctl(fd, SNDCTL_DSP_GETOSPACE, &space) < 0) return fallback;
  maxQueued = std::max(maxQueued, space.fragstotal * space.fragsize - space.bytes);
  return static_cast<size_t>(std::max(space.bytes, 0)) / kFrameBytes * kFrameBytes;
}

void Play(int fd, int rate, const std::vector<std::int16_t>& samples, size_t soundStartFrame) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(samples.data());
  const size_t total = samples.size() * 2, soundStart = soundStartFrame * kFrameBytes;
  const size_t stepBytes = static_cast<size_t>(rate) * kStepMs / 1000 * kFrameBytes;
  int maxQueued = 0;
  size_t written = 0;
  const double start = NowMs();
  for (int step = 0; written < total; ++step) {
    // Real-time pace, one step ahead of the clock.
    const size_t due =
        static_cast<size_t>((NowMs() - start) * rate / 1000) * kFrameBytes + stepBytes;
    size_t want = std::min({due > written ? due - written : 0, total - written,
                            FreeBytes(fd, stepBytes, maxQueued)});
    if (written < soundStart) want = std::min(want, soundStart - written);
    if (want > 0) {
      if (written == soundStart) std::printf("sound-start-ms %.3f\n", NowMs());
      const ssize_t n = write(fd, bytes + written, want);
      if (n > 0) written += static_cast<size_t>(n);
    }
    SleepUntilMs(start + (step + 1) * kStepMs);
  }
  ioctl(fd, SNDCTL_DSP_SYNC, nullptr);
  std::printf("max-queued-bytes %d\n", maxQueued);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: %s FILE.wav [LEAD_IN_MS [TAIL_MS]]\n", argv[0]);
    return 1;
  }
  PcmSound sound;
  std::string error;
  if (!ReadWav(argv[1], sound, &error)) {
    std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
    return 1;
  }
  const int leadMs = argc > 2 ? std::clamp(std::atoi(argv[2]), 0, 10000) : 300;
  const int tailMs = argc > 3 ? std::clamp(std::atoi(argv[3]), 0, 10000) : 200;
  int fd = -1;
  const int rate = OpenDevice(fd);
  if (rate < 0) {
    std::perror("/dev/dsp");
    return 2;
  }
  if (rate == 0) {
    std::fprintf(stderr, "/dev/dsp refused 16-bit stereo at 44100 Hz\n");
    close(fd);
    return 3;
  }
  std::printf("rate %d\n", rate);
  size_t soundStartFrame = 0;
  const std::vector<std::int16_t> samples = Programme(sound, rate, leadMs, tailMs, soundStartFrame);
  Play(fd, rate, samples, soundStartFrame);
  close(fd);
  std::printf("done\n");
  return 0;
}
