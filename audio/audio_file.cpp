#include "audio/audio_file.h"

#include <cstring>

#include "audio/audio.h"

namespace {

std::FILE* g_File = nullptr;
i64 g_FileSize = 0;

// Reads n bytes little- or big-endian into a value; 0 when fewer arrive.
template <typename T, bool kBigEndian>
u32 ReadInteger(T* value) {
  u8 bytes[sizeof(T)];
  IoReadBlock(bytes, sizeof bytes);
  T result = 0;
  for (size_t i = 0; i < sizeof(T); ++i) {
    const size_t shift = 8 * (kBigEndian ? sizeof(T) - 1 - i : i);
    result = static_cast<T>(result | static_cast<T>(T{bytes[i]} << shift));
  }
  *value = result;
  return AUDIO_ERROR_NONE;
}

}  // namespace

u32 IoOpenFile(const char* name) {
  IoCloseFile();
  if (!name) return AUDIO_ERROR_FILENOTFOUND;
  g_File = std::fopen(name, "rb");
  if (!g_File) return AUDIO_ERROR_FILENOTFOUND;
  g_FileSize = 0;
  if (fseeko(g_File, 0, SEEK_END) == 0) g_FileSize = ftello(g_File);
  fseeko(g_File, 0, SEEK_SET);
  return AUDIO_ERROR_NONE;
}

u32 IoCloseFile() {
  if (g_File) std::fclose(g_File);
  g_File = nullptr;
  g_FileSize = 0;
  return AUDIO_ERROR_NONE;
}

u32 IoSeekFile(i64 offset, int whence) {
  if (g_File) fseeko(g_File, static_cast<off_t>(offset), whence);
  return AUDIO_ERROR_NONE;
}

i64 IoTellFile() { return g_File ? static_cast<i64>(ftello(g_File)) : 0; }

i64 IoFileSize() { return g_FileSize; }

u32 IoReadBlock(void* buffer, u64 n) {
  if (n == 0) return AUDIO_ERROR_NONE;
  if (!g_File || std::fread(buffer, 1, n, g_File) != n) std::memset(buffer, 0, n);
  return AUDIO_ERROR_NONE;
}

u32 IoReadByte(u8* value) { return ReadInteger<u8, false>(value); }
u32 IoReadWord(u16* value) { return ReadInteger<u16, false>(value); }
u32 IoReadLong(u32* value) { return ReadInteger<u32, false>(value); }
u32 IoReadWordBE(u16* value) { return ReadInteger<u16, true>(value); }
u32 IoReadLongBE(u32* value) { return ReadInteger<u32, true>(value); }
