// The image bank: every picture of the program, loaded once from an index
// file "bmst.bin" and the numbered data files "bmdt0.bin", "bmdt1.bin", ...
// of one directory under the data directory.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/image.h"

class ImagePack : public CBase {
 public:
  // A pack loaded from g_DataDir + subdir; empty when the files are missing.
  static ImagePack* Create(const char* subdir);
  ~ImagePack() override;
  ImagePack(const ImagePack&) = delete;
  ImagePack& operator=(const ImagePack&) = delete;

  // Loads the pack from g_DataDir + subdir, dropping what it held before.
  void Load(const char* subdir);

  // The picture with the given index, or null when the index is out of
  // range or its slot is empty. Every image lookup goes through here.
  Image* GetImage(int index) const {
    return (index >= 0 && index < imageCount) ? images[index] : nullptr;
  }

  int RecordCount() const { return records; }     // as declared by the index
  int RecordsRead() const { return recordsRead; }  // complete records found in the data
  int ImageCount() const { return imageCount; }
  const std::string& Path() const { return path; }

 private:
  // The header of one record of a data file.
  struct RecordHeader {
    u8 type = 0;  // low four bits of the stored type
    u16 width = 0;
    u16 height = 0;
    u32 key = 0;  // colour key, or the mask record's number for types 2 and 12
  };

  ImagePack() = default;
  // Reads the data file count and `records`; false when unreadable.
  bool ReadIndex(int& files);
  // Reads up to `records` records into headers and `buffers`.
  void ReadData(int files, std::vector<RecordHeader>& headers);
  // Reads the records of one open data file from record recordsRead on;
  // false when the file ends inside a record (the rest is not to be trusted).
  bool ReadFile(std::FILE* file, std::vector<RecordHeader>& headers);
  // Builds the image table from the records read.
  void MakeImages(const std::vector<RecordHeader>& headers);
  Image* MakeImage(const RecordHeader& h, int record) const;
  // Lets go of every image and buffer.
  void Clear();

  int records = 0;
  int recordsRead = 0;
  int imageCount = 0;
  PixelBuffer** buffers = nullptr;  // one per record; the pack holds a reference on each
  Image** images = nullptr;
  std::string path;
};
