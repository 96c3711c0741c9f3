#include "tests/support/process.h"

#include <fcntl.h>
#include <linux/capability.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace testing_support {

namespace fs = std::filesystem;

ChildProcess::~ChildProcess() { Stop(); }

bool ChildProcess::Start(const std::vector<std::string>& argv,
                         const std::map<std::string, std::string>& env, const std::string& workDir,
                         const std::string& stdoutPath, const std::string& stderrPath) {
  if (argv.empty()) return false;
  status_.reset();
  pid_ = fork();
  if (pid_ < 0) return false;
  if (pid_ == 0) {
    for (const auto& [name, value] : env) {
      if (value.empty()) {
        unsetenv(name.c_str());
      } else {
        setenv(name.c_str(), value.c_str(), 1);
      }
    }
    if (!workDir.empty() && chdir(workDir.c_str()) != 0) _exit(126);
    const int out = open(stdoutPath.empty() ? "/dev/null" : stdoutPath.c_str(),
                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(stderrPath.empty() ? "/dev/null" : stderrPath.c_str(),
                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out >= 0) dup2(out, 1);
    if (err >= 0) dup2(err, 2);
    umask(022);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execv(args[0], args.data());
    _exit(127);
  }
  return true;
}

std::optional<int> ChildProcess::Wait(int timeoutMs) {
  if (status_) return status_;
  if (pid_ <= 0) return std::nullopt;
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int status = 0;
    const pid_t r = waitpid(pid_, &status, WNOHANG);
    if (r == pid_) {
      status_ = status;
      pid_ = -1;
      return status_;
    }
    if (r < 0 && errno != EINTR) return std::nullopt;
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
}

int ChildProcess::ExitCode(int waitStatus) {
  return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

bool ChildProcess::Running() { return pid_ > 0 && !Wait(0); }

void ChildProcess::Stop() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  if (!Wait(2000)) {
    kill(pid_, SIGKILL);
    Wait(5000);
  }
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "dorrimac-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back(0);
  if (mkdtemp(buffer.data())) path_ = buffer.data();
}

TempDir::~TempDir() {
  std::error_code ignored;
  if (!path_.empty()) {
    // Make everything writable again first (tests make read-only parts).
    for (auto it = fs::recursive_directory_iterator(path_, ignored);
         it != fs::recursive_directory_iterator(); it.increment(ignored)) {
      fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
  }
}

bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::error_code ignored;
  fs::create_directories(fs::path(path).parent_path(), ignored);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

bool CopyFile(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::create_directories(fs::path(to).parent_path(), error);
  return fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
}

std::string ArtifactDir() {
  const char* dir = std::getenv("DORRIMAC_ARTIFACT_DIR");
  std::string path = dir && *dir ? dir : DORRIMAC_DEFAULT_ARTIFACT_DIR;
  std::error_code ignored;
  fs::create_directories(path, ignored);
  return path;
}

namespace {

// The calling thread's capability sets (the low 32 capabilities hold the
// ones that override file permissions).
bool Capabilities(__user_cap_data_struct (&data)[2], bool set) {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  return syscall(set ? SYS_capset : SYS_capget, &header, data) == 0;
}

constexpr unsigned kOverrides = CAP_TO_MASK(CAP_DAC_OVERRIDE) | CAP_TO_MASK(CAP_DAC_READ_SEARCH);

}  // namespace

FilePermissionsEnforced::FilePermissionsEnforced() {
  __user_cap_data_struct data[2] = {};
  if (!Capabilities(data, false) || (data[0].effective & kOverrides) == 0) return;
  savedEffective_ = data[0].effective;
  data[0].effective &= ~kOverrides;
  changed_ = Capabilities(data, true);
}

FilePermissionsEnforced::~FilePermissionsEnforced() {
  __user_cap_data_struct data[2] = {};
  if (!changed_ || !Capabilities(data, false)) return;
  data[0].effective = savedEffective_;
  Capabilities(data, true);
}

}  // namespace testing_support
