#include "platform/system.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <sys/syscall.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

u32 TickMsFromTime(long seconds, long microseconds) {
  const u32 t = (static_cast<u32>(seconds) & 0xFFFFFFu) * 1000000u + static_cast<u32>(microseconds);
  return t / 1000u;
}

u32 GetTickMs() {
  timeval tv;
  gettimeofday(&tv, nullptr);
  return TickMsFromTime(tv.tv_sec, tv.tv_usec);
}

u32 TickMsSince(u32 earlier, u32 later) {
  // GetTickMs counts 0 .. 2^32 / 1000 - 1 and starts again from 0.
  // The count behind it wraps after 2^32 microseconds, 4294967.296 ms, so
  // a difference across the wrap is right to within a millisecond.
  constexpr u32 kPeriod = 4294967u;
  if (later >= earlier) return later - earlier;
  return kPeriod - earlier + later;
}

void ShowError(const char*) {}

void CheckAlloc(const void*) {}

size_t ReadBytes(std::FILE* file, void* destination, size_t n) {
  return std::fread(destination, n, 1, file);
}

namespace {

// The browsers tried for a web address, in order; the first one found runs.
const char* const kBrowsers[] = {"xdg-open", "x-www-browser", "netscape", "konqueror",
                                 "nautilus", "opera",         "mozilla",  "mosaik",
                                 "links",    "firefox",       "chromium"};

// The child must not keep the game's descriptors (the X connection, the
// sound device) open in a browser that outlives it.
void CloseInheritedDescriptors() {
#ifdef SYS_close_range
  if (syscall(SYS_close_range, 3u, ~0u, 0u) == 0) return;
#endif
  const long max = sysconf(_SC_OPEN_MAX);
  for (long fd = 3; fd < (max > 0 && max < 65536 ? max : 65536); ++fd) close(static_cast<int>(fd));
}

[[noreturn]] void RunBrowser(const char* address, bool web) {
  CloseInheritedDescriptors();
  if (!web) {
    execlp(address, address, static_cast<char*>(nullptr));
    _exit(127);
  }
  for (const char* browser : kBrowsers) {
    execlp(browser, address, address, static_cast<char*>(nullptr));
  }
  _exit(127);
}

}  // namespace

pid_t OpenURL(const char* address) {
  char upper[1025];
  size_t n = 0;
  for (; address[n] && n < 1024; ++n) {
    upper[n] = static_cast<char>(std::toupper(static_cast<unsigned char>(address[n])));
  }
  upper[n] = 0;
  const bool web = std::strncmp(upper, "HTTP://", 7) == 0;

  // The browser runs as a grandchild: the child that forks it ends at once
  // and is reaped here, so no zombie is left behind and the game never waits
  // for the browser. The grandchild's pid comes back through a pipe.
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    return -1;
  }
  if (child == 0) {
    close(fds[0]);
    const pid_t browser = fork();
    if (browser == 0) {
      close(fds[1]);
      setsid();
      RunBrowser(address, web);
    }
    ssize_t ignored = write(fds[1], &browser, sizeof browser);
    (void)ignored;
    _exit(0);
  }
  close(fds[1]);
  pid_t browser = -1;
  ssize_t got;
  do {
    got = read(fds[0], &browser, sizeof browser);
  } while (got < 0 && errno == EINTR);
  close(fds[0]);
  while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  return got == static_cast<ssize_t>(sizeof browser) ? browser : -1;
}
