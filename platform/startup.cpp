#include "platform/startup.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

char g_DataDir[1024];
char g_UserDir[1024];

namespace {

// Formats into out and reports whether the whole text fitted.
template <typename... Args>
bool Format(char* out, std::size_t size, const char* format, Args... args) {
  const int n = std::snprintf(out, size, format, args...);
  return n >= 0 && static_cast<std::size_t>(n) < size;
}

bool FileOpens(const char* path) {
  std::FILE* f = std::fopen(path, "r");
  if (!f) return false;
  std::fclose(f);
  return true;
}

}  // namespace

bool DataDirHolds(const char* dir) {
  char path[1024];
  if (!Format(path, sizeof path, "%s640x480/bmst.bin", dir) || !FileOpens(path)) return false;
  return Format(path, sizeof path, "%swav/0.wav", dir) && FileOpens(path);
}

bool ExecutableDir(const char* argv0, char* out, std::size_t size) {
  const char* slash = argv0 ? std::strrchr(argv0, '/') : nullptr;
  if (!slash) return Format(out, size, "%s", "./");
  const std::size_t length = static_cast<std::size_t>(slash - argv0) + 1;
  if (length >= size) return false;
  std::memcpy(out, argv0, length);
  out[length] = 0;
  return true;
}

bool ChooseDataDir(const char* argv0) {
  const char* chosen = nullptr;
  char exeDir[1024];
  if (DataDirHolds(kInstalledDataDir)) {
    chosen = kInstalledDataDir;
  } else if (ExecutableDir(argv0, exeDir, sizeof exeDir) && DataDirHolds(exeDir)) {
    chosen = exeDir;
  }
  if (!chosen) return false;
  return Format(g_DataDir, sizeof g_DataDir, "%s", chosen);
}

bool MakeUserDir() {
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* entry = getpwuid(getuid());
    home = entry && entry->pw_dir && *entry->pw_dir ? entry->pw_dir : nullptr;
  }
  if (!home) return false;
  if (!Format(g_UserDir, sizeof g_UserDir, "%s/.Dorrimac-1.2/", home)) return false;
  mkdir(g_UserDir, 0755);  // an existing directory is the ordinary case
  return true;
}
