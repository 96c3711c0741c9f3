// Runs a program as a child process for end-to-end tests: environment,
// working directory, output captured to files, waiting with a time limit.
#pragma once

#include <sys/types.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts argv[0] with argv. env entries replace or add variables; an
  // empty value removes one. stdout and stderr go to the given files (or
  // /dev/null when empty).
  bool Start(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
             const std::string& workDir = "", const std::string& stdoutPath = "",
             const std::string& stderrPath = "");

  // Waits up to timeoutMs; the raw wait status when the child ended.
  std::optional<int> Wait(int timeoutMs);
  // Exit status when it exited normally, -1 otherwise (signal, still running).
  static int ExitCode(int waitStatus);
  bool Running();
  // SIGTERM, then SIGKILL after a grace period; reaps the child.
  void Stop();
  pid_t Pid() const { return pid_; }

 private:
  pid_t pid_ = -1;
  std::optional<int> status_;
};

// Reads a whole file; empty when it cannot be read.
std::string ReadFile(const std::string& path);

// A directory removed with everything in it when the object goes.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& Path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

// Writes bytes to a file, making parent directories.
bool WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);
// Copies a file keeping its permission bits.
bool CopyFile(const std::string& from, const std::string& to);

// While alive, file permissions hold for the calling thread even when the
// tests run as root: the capabilities that override them are set aside.
class FilePermissionsEnforced {
 public:
  FilePermissionsEnforced();
  ~FilePermissionsEnforced();
  FilePermissionsEnforced(const FilePermissionsEnforced&) = delete;
  FilePermissionsEnforced& operator=(const FilePermissionsEnforced&) = delete;

 private:
  unsigned savedEffective_ = 0;
  bool changed_ = false;
};

// Where tests leave screenshots and recordings for a person to look at.
std::string ArtifactDir();

}  // namespace testing_support
