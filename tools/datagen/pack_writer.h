// Writes the image bank as the program loads it: the index file
// "bmst.bin" (number of data files, number of records) and the data files
// "bmdt%d.bin", each a run of little-endian records. Masked and palette
// pictures are followed by the mask record they link to.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/datagen/picture.h"

namespace datagen {

class PackWriter {
 public:
  // Appends the picture's record, and for types 2 and 12 its mask record.
  void Add(const Picture& p);

  int RecordCount() const { return static_cast<int>(records_.size()); }
  // The records split into data files of at most maxFileBytes each (a
  // single larger record gets a file of its own).
  std::vector<std::vector<std::uint8_t>> DataFiles(size_t maxFileBytes) const;
  std::vector<std::uint8_t> IndexFile(int dataFileCount) const;
  // Writes "bmst.bin" and the data files into dir; false with a message in
  // error when a file cannot be written.
  bool Write(const std::string& dir, size_t maxFileBytes, std::string& error) const;

 private:
  std::vector<std::vector<std::uint8_t>> records_;
};

// Writes bytes to a file; false when it cannot be written completely.
bool WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace datagen
