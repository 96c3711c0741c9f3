#include "platform/record_file.h"

#include <cstring>
#include <unistd.h>

#include <vector>

#include "platform/startup.h"

namespace {

RecordWriteFunction g_write = std::fwrite;

// Enough for the user directory, a number of up to eleven characters and
// ".bin"; the temporary name adds ".XXXXXX".
constexpr std::size_t kNameSize = sizeof(g_UserDir) + 32;

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

u32 WriteRecordFile(i32 number, const u8* data, u32 size) {
  char name[kNameSize];
  char tempName[kNameSize + 8];
  if (!RecordFileName(number, name, sizeof(name))) return 0;
  const int n = std::snprintf(tempName, sizeof(tempName), "%s.XXXXXX", name);
  if (n < 0 || static_cast<std::size_t>(n) >= sizeof(tempName)) return 0;

  const int fd = mkstemp(tempName);
  if (fd < 0) return 0;
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
