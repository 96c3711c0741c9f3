#include "tests/support/pulse_session.h"

#include <fcntl.h>
#include <glob.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <limits>
#include <random>
#include <sstream>

namespace testing_support {

namespace {

constexpr int kRecordChannels = 2;
constexpr size_t kRecordFrameBytes = 2 * kRecordChannels;
// A minute of recording at most: a runaway test must not eat the memory.
constexpr size_t kMaxRecordedBytes = 60u * PulseSession::kRecordRate * kRecordFrameBytes;

void Sleep(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

std::string FindInPath(const std::string& name) {
  const char* path = std::getenv("PATH");
  std::stringstream dirs(path && *path ? path : "/usr/local/bin:/usr/bin:/bin");
  std::string dir;
  while (std::getline(dirs, dir, ':')) {
    const std::string candidate = dir + "/" + name;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return "";
}

// The OSS emulation library lives in the multiarch library directory.
std::string FindPreloadLibrary() {
  for (const char* pattern : {"/usr/lib/*/pulseaudio/libpulsedsp.so",
                              "/usr/lib64/pulseaudio/libpulsedsp.so",
                              "/usr/lib/pulseaudio/libpulsedsp.so"}) {
    glob_t found{};
    std::string first;
    if (glob(pattern, 0, nullptr, &found) == 0 && found.gl_pathc > 0) first = found.gl_pathv[0];
    globfree(&found);
    if (!first.empty()) return first;
  }
  return "";
}

bool WriteText(const std::string& path, const std::string& text) {
  return WriteFile(path, std::vector<unsigned char>(text.begin(), text.end()));
}

}  // namespace

double MonotonicMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

bool PulseSession::FindTools() {
  pulseaudio_ = FindInPath("pulseaudio");
  pactl_ = FindInPath("pactl");
  parec_ = FindInPath("parec");
  preload_ = FindPreloadLibrary();
  std::string missing;
  if (pulseaudio_.empty()) missing += " pulseaudio";
  if (pactl_.empty()) missing += " pactl";
  if (parec_.empty()) missing += " parec";
  if (preload_.empty()) missing += " libpulsedsp.so";
  if (missing.empty()) return true;
  skip_ = "the sound server packages (pulseaudio, pulseaudio-utils) are not installed; missing:" +
          missing;
  return false;
}

// The server script loads only a null sink and the native protocol on a
// socket of its own, guarded by a cookie of its own.
bool PulseSession::WriteConfiguration() {
  std::vector<unsigned char> cookie(256);
  std::random_device random;
  for (auto& byte : cookie) byte = static_cast<unsigned char>(random());
  address_ = "unix:" + (dir_ / "native");
  const std::string script =
      std::string("load-module module-null-sink sink_name=") + kSinkName +
      " format=s16le channels=2 rate=" + std::to_string(kRecordRate) + "\n"
      "load-module module-native-protocol-unix socket=" + (dir_ / "native") +
      " auth-anonymous=0 auth-cookie=" + (dir_ / "cookie") + "\n"
      "set-default-sink " + kSinkName + "\n";
  for (const char* sub : {"run", "state", "config"}) mkdir((dir_ / sub).c_str(), 0700);
  return WriteFile(dir_ / "cookie", cookie) && WriteText(dir_ / "server.pa", script) &&
         WriteText(dir_ / "client.conf", "autospawn = no\n");
}

std::map<std::string, std::string> PulseSession::ClientEnv() const {
  return {{"PULSE_SERVER", address_},
          {"PULSE_COOKIE", dir_ / "cookie"},
          {"PULSE_CLIENTCONFIG", dir_ / "client.conf"}};
}

std::map<std::string, std::string> PulseSession::OssEnv() const {
  std::map<std::string, std::string> env = ClientEnv();
  env["LD_PRELOAD"] = preload_;
  return env;
}

bool PulseSession::Start(int timeoutMs) {
  if (!FindTools()) return false;
  if (dir_.Path().empty() || !WriteConfiguration()) {
    error_ = "cannot write the sound server's configuration";
    return false;
  }
  // Everything the daemon keeps lives in the temporary directory; it never
  // exits on idle, never talks to a session bus and asks for no realtime.
  std::map<std::string, std::string> env = {
      {"HOME", dir_.Path()},           {"XDG_RUNTIME_DIR", dir_ / "run"},
      {"PULSE_RUNTIME_PATH", dir_ / "run"}, {"PULSE_STATE_PATH", dir_ / "state"},
      {"XDG_CONFIG_HOME", dir_ / "config"}, {"PULSE_CLIENTCONFIG", dir_ / "client.conf"},
      {"PULSE_SERVER", ""},            {"DISPLAY", ""},
      {"DBUS_SESSION_BUS_ADDRESS", ""}};
  const std::vector<std::string> argv = {
      pulseaudio_, "-n", "-F", dir_ / "server.pa", "--daemonize=no", "--system=false",
      "--use-pid-file=no", "--exit-idle-time=-1", "--realtime=no", "--high-priority=no",
      "--disable-shm=yes", "--log-target=stderr", "--log-level=info"};
  if (!daemon_.Start(argv, env, dir_.Path(), "", dir_ / "daemon.log")) {
    error_ = "cannot start pulseaudio";
    return false;
  }
  if (WaitUntilAnswering(timeoutMs)) return true;
  error_ = "the private sound server did not answer; its log:\n" + Log();
  Stop();
  return false;
}

bool PulseSession::Pactl(const std::vector<std::string>& args, std::string* output) {
  std::vector<std::string> argv = {pactl_};
  argv.insert(argv.end(), args.begin(), args.end());
  ChildProcess pactl;
  if (!pactl.Start(argv, ClientEnv(), "", output ? dir_ / "pactl.out" : "")) return false;
  const auto status = pactl.Wait(2000);
  if (output) *output = ReadFile(dir_ / "pactl.out");
  return status && ChildProcess::ExitCode(*status) == 0;
}

bool PulseSession::WaitUntilAnswering(int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (std::chrono::steady_clock::now() < end) {
    if (!daemon_.Running()) return false;
    if (Pactl({"info"})) return true;
    Sleep(20);
  }
  return false;
}

// An idle null sink renders two seconds ahead and only then notices that
// the recorder asked for a short latency; suspending and resuming it once
// the recorder is connected starts its clock afresh at the short latency.
bool PulseSession::RestartSinkClock(int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::string outputs;
  while (recorder_.Running() && std::chrono::steady_clock::now() < end) {
    if (Pactl({"list", "short", "source-outputs"}, &outputs) && !outputs.empty()) {
      return Pactl({"suspend-sink", kSinkName, "1"}) && Pactl({"suspend-sink", kSinkName, "0"});
    }
    Sleep(5);
  }
  return false;
}

bool PulseSession::StartRecording(int timeoutMs) {
  if (recorder_.Running() || !daemon_.Running()) return false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    recorded_.clear();
    timelineMs_ = std::numeric_limits<double>::infinity();
  }
  flowing_ = false;
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return false;
  // parec opens the pipe's write end under its own /proc name as its
  // standard output; the original descriptor closes on exec.
  const std::string pipePath = "/proc/self/fd/" + std::to_string(fds[1]);
  const std::vector<std::string> argv = {
      parec_, "--device=" + std::string(kSinkName) + ".monitor", "--format=s16le",
      "--rate=" + std::to_string(kRecordRate), "--channels=2", "--raw", "--latency-msec=5",
      "--client-name=dorrimac-test-recorder"};
  const bool started = recorder_.Start(argv, ClientEnv(), "", pipePath, dir_ / "recorder.log");
  close(fds[1]);
  if (!started) {
    close(fds[0]);
    return false;
  }
  readFd_ = fds[0];
  reader_ = std::thread([this, fd = fds[0]] { ReadRecording(fd); });
  RestartSinkClock(timeoutMs);
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!flowing_ && recorder_.Running() && std::chrono::steady_clock::now() < end) Sleep(2);
  if (flowing_) return true;
  error_ = "the recorder delivered nothing; its log:\n" + ReadFile(dir_ / "recorder.log");
  StopRecording();
  return false;
}

// Keeps every block with its time of arrival: the frames up to the end of a
// block had passed through the sink by then.
void PulseSession::ReadRecording(int fd) {
  std::vector<std::uint8_t> block(4096);
  for (;;) {
    const ssize_t n = read(fd, block.data(), block.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    const double now = MonotonicMs();
    std::lock_guard<std::mutex> lock(mutex_);
    if (recorded_.size() + static_cast<size_t>(n) > kMaxRecordedBytes) continue;
    recorded_.insert(recorded_.end(), block.begin(), block.begin() + n);
    const double frames = static_cast<double>(recorded_.size() / kRecordFrameBytes);
    timelineMs_ = std::min(timelineMs_, now - frames * 1000.0 / kRecordRate);
    flowing_ = true;
  }
}

PcmSound PulseSession::StopRecording(const std::string& wavPath) {
  recorder_.Stop();
  if (reader_.joinable()) reader_.join();
  if (readFd_ >= 0) close(readFd_);
  readFd_ = -1;
  PcmSound sound;
  sound.rate = kRecordRate;
  sound.channels = kRecordChannels;
  std::lock_guard<std::mutex> lock(mutex_);
  const size_t frames = recorded_.size() / kRecordFrameBytes;
  sound.samples.resize(frames * kRecordChannels);
  for (size_t i = 0; i < sound.samples.size(); ++i) {
    sound.samples[i] = static_cast<std::int16_t>(recorded_[2 * i] | (recorded_[2 * i + 1] << 8));
  }
  if (!wavPath.empty()) WriteFile(wavPath, EncodeWav(sound));
  return sound;
}

double PulseSession::FrameTimeMs(size_t frame) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return timelineMs_ + frame * 1000.0 / kRecordRate;
}

void PulseSession::Stop() {
  if (recorder_.Pid() > 0 || reader_.joinable()) StopRecording();
  daemon_.Stop();
}

}  // namespace testing_support
