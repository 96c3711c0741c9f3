// A private PulseAudio sound server for a test: its own directories, cookie
// and socket, one null sink (no sound card needed), the environment that
// makes a program's "/dev/dsp" play to it through the OSS emulation
// library, and a recording of what the sink plays, with the time at which
// each recorded frame passed through the sink.
#pragma once

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/process.h"
#include "tests/support/wav_analysis.h"

namespace testing_support {

// Milliseconds of CLOCK_MONOTONIC: one clock for every process of a test.
double MonotonicMs();

class PulseSession {
 public:
  static constexpr const char* kSinkName = "dorrimac_test";
  // The recording format: 16-bit stereo at this rate.
  static constexpr int kRecordRate = 44100;

  PulseSession() = default;
  ~PulseSession() { Stop(); }
  PulseSession(const PulseSession&) = delete;
  PulseSession& operator=(const PulseSession&) = delete;

  // Starts the daemon and waits until it answers. False with the reason in
  // Error(); SkipReason() is set instead when the sound server packages are
  // not installed.
  bool Start(int timeoutMs = 5000);
  // Ends the recording and the daemon and reaps them; safe to repeat.
  void Stop();

  // "unix:" and the path of the server's socket.
  const std::string& ServerAddress() const { return address_; }
  // What a client of this server needs: server, cookie and a client
  // configuration that never spawns a server of its own.
  std::map<std::string, std::string> ClientEnv() const;
  // ClientEnv() plus LD_PRELOAD of the OSS emulation library, so that a
  // program's "/dev/dsp" plays to this server's sink.
  std::map<std::string, std::string> OssEnv() const;
  const std::string& PreloadLibrary() const { return preload_; }

  // Starts recording the sink's monitor and returns once sound data flows.
  bool StartRecording(int timeoutMs = 3000);
  // Ends the recording and returns it (16-bit stereo, kRecordRate); also
  // writes it as a WAVE file when a path is given.
  PcmSound StopRecording(const std::string& wavPath = "");
  // Monotonic time (ms) at which a recorded frame passed through the sink,
  // at the latest: each block of the recording reached the test after the
  // sink played it, so the earliest arrival bounds the whole timeline.
  double FrameTimeMs(size_t frame) const;

  const std::string& Error() const { return error_; }
  const std::string& SkipReason() const { return skip_; }
  // The daemon's own log, for failure messages.
  std::string Log() const { return ReadFile(dir_ / "daemon.log"); }
  pid_t DaemonPid() const { return daemon_.Pid(); }
  pid_t RecorderPid() const { return recorder_.Pid(); }

 private:
  bool FindTools();
  bool WriteConfiguration();
  bool WaitUntilAnswering(int timeoutMs);
  bool RestartSinkClock(int timeoutMs);
  // Runs pactl against this server; true when it succeeded.
  bool Pactl(const std::vector<std::string>& args, std::string* output = nullptr);
  void ReadRecording(int fd);

  TempDir dir_;
  ChildProcess daemon_;
  ChildProcess recorder_;
  std::string pulseaudio_, pactl_, parec_, preload_;
  std::string address_;
  std::string error_, skip_;

  std::thread reader_;
  int readFd_ = -1;
  mutable std::mutex mutex_;
  std::vector<std::uint8_t> recorded_;
  double timelineMs_ = 0;  // FrameTimeMs(0)
  std::atomic<bool> flowing_{false};
};

}  // namespace testing_support

// Starts a sound server or skips the test when its packages are missing.
#define START_PULSE_OR_SKIP(session)                                         \
  do {                                                                       \
    if (!(session).Start()) {                                                \
      if (!(session).SkipReason().empty()) GTEST_SKIP() << (session).SkipReason(); \
      FAIL() << (session).Error();                                           \
    }                                                                        \
  } while (0)
