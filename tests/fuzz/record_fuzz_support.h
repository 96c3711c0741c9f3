// Shared by the fuzz targets of the record files: a private user directory
// (also the data directory: no pictures, no waves) and a way to put each
// input there as the record's file.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/record_file.h"
#include "platform/startup.h"

namespace record_fuzz {

inline std::string& FilePath() {
  static std::string path;
  return path;
}

inline char* Directory() {
  static char dir[] = "/tmp/dorrimac-record-fuzz-XXXXXX";
  return dir;
}

// Makes the directory, points the user and data directories at it, and
// names the record's file there. Everything goes when the process ends.
inline void UsePrivateDirectory(int record) {
  if (!mkdtemp(Directory())) std::abort();
  std::atexit([] {
    unlink(FilePath().c_str());
    rmdir(Directory());
  });
  std::snprintf(g_UserDir, sizeof g_UserDir, "%s/", Directory());
  std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", Directory());
  char name[2048];
  RecordFileName(record, name, sizeof name);
  FilePath() = name;
}

// Writes the input as the record's file, unscrambled bytes and all.
inline void WriteInput(const unsigned char* data, size_t size) {
  if (std::FILE* f = std::fopen(FilePath().c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
}

}  // namespace record_fuzz
