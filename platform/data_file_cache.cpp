#include "platform/data_file_cache.h"

#include <cstdio>

#include "platform/startup.h"
#include "platform/system.h"

namespace {

// Opens the file and takes its size; null when it cannot be opened or
// measured.
std::FILE* OpenSized(const char* name, long* size) {
  std::FILE* file = std::fopen(name, "rb");
  if (!file) return nullptr;
  if (std::fseek(file, 0, SEEK_END) != 0 || (*size = std::ftell(file)) < 0 ||
      *size > 0xFFFFFFFEL || std::fseek(file, 0, SEEK_SET) != 0) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

}  // namespace

DataFileCache* DataFileCache::Create(i32 capacity) {
  DataFileCache* cache = new DataFileCache(capacity);
  CheckAlloc(cache);
  return cache;
}

DataFileCache::DataFileCache(i32 capacity) : capacity_(capacity > 0 ? capacity : 0) {
  entries_ = new Entry[capacity_ > 0 ? capacity_ : 1];
}

DataFileCache::~DataFileCache() {
  for (i32 i = 0; i < count_; ++i) delete[] entries_[i].data;
  delete[] entries_;
  entries_ = nullptr;
  capacity_ = count_ = 0;
}

int DataFileCache::Find(u32 identifier) const {
  for (i32 i = 0; i < count_; ++i) {
    if (entries_[i].identifier == identifier) return i;
  }
  return -1;
}

const u8* DataFileCache::Load(u32 identifier, u32* size) {
  if (count_ >= capacity_ || Find(identifier) >= 0) return nullptr;
  char name[kDataFileNameSize];
  const int n = std::snprintf(name, sizeof(name), "%sData%d.dat", g_DataDir,
                              static_cast<int>(identifier));
  if (n < 0 || n >= kDataFileNameSize) return nullptr;  // the directory is too long

  long length = 0;
  std::FILE* file = OpenSized(name, &length);
  if (!file) return nullptr;
  u8* data = new u8[static_cast<size_t>(length) + 1];
  const bool whole = std::fread(data, 1, static_cast<size_t>(length), file) ==
                     static_cast<size_t>(length);
  std::fclose(file);
  if (!whole) {
    delete[] data;
    return nullptr;
  }
  data[length] = 0;
  entries_[count_++] = Entry{identifier, data};
  if (size) *size = static_cast<u32>(length);
  return data;
}

i32 DataFileCache::Free(u32 identifier) {
  const int i = Find(identifier);
  if (i < 0) return count_;
  delete[] entries_[i].data;
  entries_[i] = entries_[count_ - 1];
  --count_;
  return count_;
}
