// fuzz-links: platform
// Loads arbitrary bytes as an image pack: the first four bytes become
// "bmst.bin" (data file count and record count), the rest "bmdt0.bin".
// Every image the pack makes is then drawn with the blitter of its type,
// whole and at a fraction, so that a picture whose size and buffers
// disagree shows up as a read past its storage.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

#include "platform/image_pack.h"
#include "platform/startup.h"
#include "tests/platform/pack_writer.h"

namespace {

std::string g_root;

// Removes the pack files and their directories when the fuzzer ends.
void RemovePackDir() {
  for (const char* name : {"/p/bmst.bin", "/p/bmdt0.bin", "/p", ""}) {
    std::remove((g_root + name).c_str());
  }
}

// The directory the pack files are written into, made once.
const std::string& PackDir() {
  static const std::string dir = [] {
    char name[] = "/tmp/image_pack_fuzz.XXXXXX";
    if (!mkdtemp(name)) std::abort();
    g_root = name;
    std::snprintf(g_DataDir, sizeof g_DataDir, "%s/", name);
    if (mkdir((g_root + "/p").c_str(), 0700) != 0) std::abort();
    std::atexit(RemovePackDir);
    return g_root + "/p";
  }();
  return dir;
}

void DrawAll(const ImagePack& pack, Surface& target) {
  for (int i = 0; i < pack.ImageCount(); ++i) {
    const Image* img = pack.GetImage(i);
    if (!img) continue;
    target.BlitOpaque(img, -1, -1);
    target.BlitColorKey(img, 3, 2);
    target.BlitMasked(img, -2, 5);
    target.BlitMaskedAlpha(img, 5, -3, 200);
    target.BlitShadow(img, 1, 1);
    target.BlitMaskedSubpixel(img, 2, 2, 77, 130);
    target.BlitMaskedAlphaSubpixel(img, -1, 0, 255, 1, 128);
    target.BlitShadowSubpixel(img, 0, -1, 3, 250);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& dir = PackDir();
  const std::size_t indexBytes = size < 4 ? size : 4;
  const pack_writer::Bytes index(data, data + indexBytes);
  const pack_writer::Bytes records(data + indexBytes, data + size);
  if (!pack_writer::Write(dir + "/bmst.bin", index)) std::abort();
  if (!pack_writer::Write(dir + "/bmdt0.bin", records)) std::abort();

  ImagePack* pack = ImagePack::Create("p");
  if (pack->RecordsRead() > pack->RecordCount() || pack->ImageCount() > pack->RecordsRead()) {
    std::abort();
  }
  static Surface* target = [] {
    Surface* s = Surface::Create(24, 16, 24);
    s->Lock();
    return s;
  }();
  DrawAll(*pack, *target);
  delete pack;
  return 0;
}
