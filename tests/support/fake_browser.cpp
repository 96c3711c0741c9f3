// Stands in for a web browser in tests: writes the arguments it was started
// with, and the descriptors it inherited, to the file FAKE_BROWSER_OUT.
#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const char* out = std::getenv("FAKE_BROWSER_OUT");
  if (!out) return 2;
  std::FILE* f = std::fopen(out, "w");
  if (!f) return 3;
  std::fprintf(f, "%s|%s\n", argc > 0 ? argv[0] : "", argc > 1 ? argv[1] : "");
  // Descriptors other than the standard three and the one listing them.
  if (DIR* dir = opendir("/proc/self/fd")) {
    const int own = dirfd(dir);
    while (dirent* entry = readdir(dir)) {
      const std::string name = entry->d_name;
      if (name == "." || name == "..") continue;
      const int fd = std::atoi(name.c_str());
      if (fd > 2 && fd != own && fd != fileno(f)) std::fprintf(f, "fd %d\n", fd);
    }
    closedir(dir);
  }
  return std::fclose(f) == 0 ? 0 : 4;
}
