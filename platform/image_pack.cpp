#include "platform/image_pack.h"

#include <climits>

#include "platform/startup.h"
#include "platform/system.h"

namespace {

constexpr long kRecordHeaderBytes = 10;  // type, width, height (u16 each), key or link (u32)

// Little-endian fields, each with one read.
bool ReadU16(std::FILE* f, u16& value) {
  u8 b[2];
  if (ReadBytes(f, b, sizeof b) != 1) return false;
  value = static_cast<u16>(b[0] | (b[1] << 8));
  return true;
}

bool ReadU32(std::FILE* f, u32& value) {
  u8 b[4];
  if (ReadBytes(f, b, sizeof b) != 1) return false;
  value = static_cast<u32>(b[0]) | (static_cast<u32>(b[1]) << 8) | (static_cast<u32>(b[2]) << 16) |
          (static_cast<u32>(b[3]) << 24);
  return true;
}

// Bytes of pixel data in a record: one per pixel for palette, shadow and
// bare mask records, three (B, G, R) for the rest. In 64 bits, since
// 65535 x 65535 x 3 does not fit in 32.
u64 DataBytes(u8 type, u16 width, u16 height) {
  const u64 area = static_cast<u64>(width) * height;
  const bool onePerPixel = type == kImagePalette || type == kImageShadow || type == kImageMaskRecord;
  return onePerPixel ? area : area * 3;
}

}  // namespace

ImagePack* ImagePack::Create(const char* subdir) {
  ImagePack* pack = new ImagePack();
  CheckAlloc(pack);
  pack->Load(subdir);
  return pack;
}

ImagePack::~ImagePack() { Clear(); }

void ImagePack::Clear() {
  // Each image lets go of its own references; buffers an image outside the
  // pack still holds stay alive after the pack's reference goes.
  for (int k = 0; k < imageCount; ++k) delete images[k];
  delete[] images;
  images = nullptr;
  imageCount = 0;
  for (int r = 0; r < recordsRead; ++r) buffers[r]->Release();
  delete[] buffers;
  buffers = nullptr;
  records = 0;
  recordsRead = 0;
}

void ImagePack::Load(const char* subdir) {
  Clear();
  path = std::string(g_DataDir) + subdir;
  int files = 0;
  if (!ReadIndex(files)) {
    ShowError("Cannot open file bmst.bin!");
    return;
  }
  if (records == 0) return;
  std::vector<RecordHeader> headers(static_cast<size_t>(records));
  buffers = new PixelBuffer*[static_cast<size_t>(records)]();
  ReadData(files, headers);
  MakeImages(headers);
}

bool ImagePack::ReadIndex(int& files) {
  const std::string name = path + "/bmst.bin";
  std::FILE* f = std::fopen(name.c_str(), "rb");
  if (!f) return false;
  u16 fileCount = 0;
  u16 recordCount = 0;
  const bool ok = ReadU16(f, fileCount) && ReadU16(f, recordCount);
  std::fclose(f);
  if (!ok) return false;
  files = fileCount;
  records = recordCount;
  return true;
}

void ImagePack::ReadData(int files, std::vector<RecordHeader>& headers) {
  for (int d = 0; d < files && recordsRead < records; ++d) {
    const std::string name = path + "/bmdt" + std::to_string(d) + ".bin";
    std::FILE* f = std::fopen(name.c_str(), "rb");
    if (!f) {
      ShowError(("Cannot open file " + name).c_str());
      return;  // the records of the files after it would be misnumbered
    }
    const bool whole = ReadFile(f, headers);
    std::fclose(f);
    if (!whole) return;
  }
}

bool ImagePack::ReadFile(std::FILE* f, std::vector<RecordHeader>& headers) {
  if (std::fseek(f, 0, SEEK_END) != 0) return false;
  const long size = std::ftell(f);
  if (size < 0 || std::fseek(f, 0, SEEK_SET) != 0) return false;

  long p = 0;
  while (p < size && recordsRead < records) {
    // A header or pixel data cut short by the end of the file ends the read.
    if (size - p < kRecordHeaderBytes) return false;
    RecordHeader h;
    u16 type = 0;
    if (!ReadU16(f, type) || !ReadU16(f, h.width) || !ReadU16(f, h.height) || !ReadU32(f, h.key)) {
      return false;
    }
    h.type = static_cast<u8>(type & 15);
    p += kRecordHeaderBytes;
    const u64 n = DataBytes(h.type, h.width, h.height);
    if (n > static_cast<u64>(size - p) || n > UINT32_MAX) return false;

    PixelBuffer* buffer = PixelBuffer::Create(static_cast<u32>(n));
    buffer->AddRef();  // the pack's own reference
    if (n > 0 && ReadBytes(f, buffer->data, n) != 1) {
      buffer->Release();
      return false;
    }
    p += static_cast<long>(n);
    // Records keep an even length: skip the pad byte after odd data.
    if (n & 1) {
      ++p;
      if (p < size && std::fseek(f, p, SEEK_SET) != 0) return false;
    }
    headers[static_cast<size_t>(recordsRead)] = h;
    buffers[recordsRead++] = buffer;
  }
  return true;
}

void ImagePack::MakeImages(const std::vector<RecordHeader>& headers) {
  // Bare mask records make no image; every other record has a slot.
  int count = 0;
  for (int r = 0; r < recordsRead; ++r) {
    if (headers[static_cast<size_t>(r)].type != kImageMaskRecord) ++count;
  }
  imageCount = count;
  images = new Image*[static_cast<size_t>(count > 0 ? count : 1)]();

  // Types 3 to 11 and 13 make no image and do not advance the index, so
  // their slots are left empty at the end of the table. A drawable record
  // whose image cannot be made keeps its slot (empty), so the indices of
  // the pictures after it stay put.
  int k = 0;
  for (int r = 0; r < recordsRead; ++r) {
    const RecordHeader& h = headers[static_cast<size_t>(r)];
    switch (h.type) {
      case kImageOpaque:
      case kImageColorKey:
      case kImageMasked:
      case kImagePalette:
      case kImageShadow:
        images[k++] = MakeImage(h, r);
        break;
      default:
        break;
    }
  }
}

Image* ImagePack::MakeImage(const RecordHeader& h, int r) const {
  if (h.width > INT16_MAX || h.height > INT16_MAX) return nullptr;  // image sizes are i16
  switch (h.type) {
    case kImageOpaque:
    case kImageColorKey:
      return Image::Create(h.width, h.height, h.key, h.type, buffers[r], nullptr);
    case kImageMasked:
    case kImagePalette: {
      // The link must name a record that was read and holds a byte per pixel.
      if (h.key >= static_cast<u32>(recordsRead)) return nullptr;
      PixelBuffer* mask = buffers[h.key];
      if (mask->size < static_cast<u64>(h.width) * h.height) return nullptr;
      if (mask->refcount >= INT16_MAX) return nullptr;  // the count is 16-bit
      return Image::Create(h.width, h.height, 0, h.type, buffers[r], mask);
    }
    case kImageShadow:
      return Image::Create(h.width, h.height, 0, kImageShadow, nullptr, buffers[r]);
    default:
      return nullptr;
  }
}
