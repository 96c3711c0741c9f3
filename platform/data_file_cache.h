// Whole data files "Data<n>.dat" of the data directory, loaded into memory
// and handed out by their number. The cache owns what it loaded.
#pragma once

#include "platform/types.h"

// The file name, data directory included, is at most 43 characters.
constexpr int kDataFileNameSize = 44;

class DataFileCache : public CBase {
 public:
  // An empty cache for up to capacity files.
  static DataFileCache* Create(i32 capacity);
  ~DataFileCache() override;
  DataFileCache(const DataFileCache&) = delete;
  DataFileCache& operator=(const DataFileCache&) = delete;

  // Loads file identifier and returns its bytes, followed by one zero byte;
  // size gets the file's size when given. Null, with the cache and size
  // unchanged, when the cache is full, the file is already loaded, its name
  // is too long, or it cannot be opened or read whole.
  const u8* Load(u32 identifier, u32* size = nullptr);
  // Frees the file's bytes; the last entry takes its place. Returns the
  // number of entries afterwards (unchanged when it is not loaded).
  i32 Free(u32 identifier);

  i32 Count() const { return count_; }
  // The identifier of entry index (0 .. Count() - 1).
  u32 IdentifierAt(i32 index) const { return entries_[index].identifier; }

 private:
  struct Entry {
    u32 identifier;
    u8* data;
  };

  explicit DataFileCache(i32 capacity);
  int Find(u32 identifier) const;

  Entry* entries_ = nullptr;
  i32 capacity_ = 0;
  i32 count_ = 0;
};
