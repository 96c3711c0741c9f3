#include "platform/record_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/startup.h"

namespace {

RecordWriteFunction g_write = std::fwrite;

// Enough for the user directory, a number of up to eleven characters and
// ".bin"; the temporary name adds ".XXXXXX".
constexpr std::size_t kNameSize = sizeof(g_UserDir) + 32;

// Temporary names end in six of these, as mkstemp's do.
constexpr char kTempChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr int kTempSuffix = 6;
constexpr int kTempAttempts = 100;

u64 MixBits(u64 x) {
  x += 0x9E3779B97F4A7C15ull;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
  return x ^ (x >> 31);
}

// Creates "<name>.XXXXXX" with a fresh suffix and opens it for writing. It
// is created as a plain create would (0666 less the umask): mkstemp would
// make every record owner-only. -1 on failure.
int CreateTemporary(const char* name, char* tempName, std::size_t size) {
  static std::atomic<u64> counter{0};
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const u64 seed = (static_cast<u64>(getpid()) << 32) ^ static_cast<u64>(now.tv_nsec) ^
                   (static_cast<u64>(now.tv_sec) << 20);
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    u64 bits = MixBits(seed + ++counter);
    char suffix[kTempSuffix + 1];
    for (int i = 0; i < kTempSuffix; ++i, bits /= sizeof(kTempChars) - 1)
      suffix[i] = kTempChars[bits % (sizeof(kTempChars) - 1)];
    suffix[kTempSuffix] = '\0';
    const int n = std::snprintf(tempName, size, "%s.%s", name, suffix);
    if (n < 0 || static_cast<std::size_t>(n) >= size) return -1;
    const int fd = open(tempName, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// True for the writer's temporary names: the record's file name (prefix,
// or any run of digits and ".bin." when prefix is null) and six letters
// or digits.
bool IsRecordTemporary(const char* name, const char* prefix) {
  const char* suffix = name;
  if (prefix) {
    const std::size_t n = std::strlen(prefix);
    if (std::strncmp(name, prefix, n) != 0) return false;
    suffix = name + n;
  } else {
    while (*suffix >= '0' && *suffix <= '9') ++suffix;
    if (suffix == name || std::strncmp(suffix, ".bin.", 5) != 0) return false;
    suffix += 5;
  }
  for (int i = 0; i < kTempSuffix; ++i)
    if (!suffix[i] || !std::strchr(kTempChars, suffix[i])) return false;
  return suffix[kTempSuffix] == '\0';
}

// Scrambles the record chunk by chunk into a small buffer and writes each
// chunk; false at the first short write.
bool WriteScrambled(std::FILE* file, i32 number, const u8* data, u32 size) {
  u8 chunk[512];
  for (u32 done = 0; done < size;) {
    const u32 n = size - done < sizeof(chunk) ? size - done : static_cast<u32>(sizeof(chunk));
    std::memcpy(chunk, data + done, n);
    // The key of byte i is (number + i) mod 256, i counted from the record's start.
    ScrambleRecord(static_cast<i32>(static_cast<u8>(number) + done % 256), chunk, n);
    if (g_write(chunk, 1, n, file) != n) return false;
    done += n;
  }
  return true;
}

// Writes the whole record to a new temporary file and closes it; the
// file is removed again on any failure.
bool WriteTemporary(const char* tempName, int fd, i32 number, const u8* data, u32 size) {
  std::FILE* file = fdopen(fd, "wb");
  if (!file) {
    close(fd);
    unlink(tempName);
    return false;
  }
  bool ok = WriteScrambled(file, number, data, size);
  ok = ok && std::fflush(file) == 0 && fsync(fileno(file)) == 0;
  ok = (std::fclose(file) == 0) && ok;
  if (!ok) unlink(tempName);
  return ok;
}

}  // namespace

void SetRecordWriteFunction(RecordWriteFunction write) { g_write = write ? write : std::fwrite; }

void ScrambleRecord(i32 number, u8* data, u32 size) {
  // The key wraps at 256; only the low byte of number + i matters.
  u8 key = static_cast<u8>(number);
  for (u32 i = 0; i < size; ++i) data[i] ^= key++;
}

bool RecordFileName(i32 number, char* out, std::size_t size) {
  const int n = std::snprintf(out, size, "%s%06d.bin", g_UserDir, number);
  return n >= 0 && static_cast<std::size_t>(n) < size;
}

void RemoveRecordTemporaries(i32 number) {
  char prefix[32];
  if (number != kAnyRecord) std::snprintf(prefix, sizeof(prefix), "%06d.bin.", number);
  DIR* dir = opendir(g_UserDir);
  if (!dir) return;
  const int dirFd = dirfd(dir);
  while (const dirent* entry = readdir(dir)) {
    if (!IsRecordTemporary(entry->d_name, number == kAnyRecord ? nullptr : prefix)) continue;
    // Only a plain file under such a name is one of ours.
    struct stat st;
    if (fstatat(dirFd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode))
      unlinkat(dirFd, entry->d_name, 0);
  }
  closedir(dir);
}

u32 WriteRecordFile(i32 number, const u8* data, u32 size) {
  char name[kNameSize];
  char tempName[kNameSize + 8];
  if (!RecordFileName(number, name, sizeof(name))) return 0;
  // A save killed before its rename left its temporary file behind.
  RemoveRecordTemporaries(number);

  const int fd = CreateTemporary(name, tempName, sizeof(tempName));
  if (fd < 0) return 0;
  // A replaced record keeps its permissions.
  struct stat old;
  if (stat(name, &old) == 0 && S_ISREG(old.st_mode)) fchmod(fd, old.st_mode & 07777);
  if (!WriteTemporary(tempName, fd, number, data, size)) return 0;
  if (std::rename(tempName, name) != 0) {
    unlink(tempName);
    return 0;
  }
  return 1;
}

u32 ReadRecordFile(i32 number, u8* data, u32 size) {
  char name[kNameSize];
  if (!RecordFileName(number, name, sizeof(name))) return 0;
  std::FILE* file = std::fopen(name, "rb");
  if (!file) return 0;
  // Read into a copy first so that a short file changes nothing.
  std::vector<u8> bytes(size);
  const bool complete = std::fread(bytes.data(), 1, size, file) == size;
  std::fclose(file);
  if (!complete) return 0;
  ScrambleRecord(number, bytes.data(), size);
  if (size > 0) std::memcpy(data, bytes.data(), size);
  return 1;
}
