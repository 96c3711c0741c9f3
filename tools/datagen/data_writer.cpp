#include "tools/datagen/data_writer.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "tools/datagen/image_bank.h"
#include "tools/datagen/layout.h"
#include "tools/datagen/pack_writer.h"
#include "tools/datagen/preview.h"
#include "tools/datagen/sounds.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

// Data files are cut at this size: a few files of sensible size.
constexpr size_t kDataFileBytes = 1 << 20;

bool MakeDir(const std::string& path, std::string& error) {
  if (mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) return true;
  error = "cannot create directory " + path;
  return false;
}

bool WritePack(const std::vector<Picture>& bank, const std::string& dir, std::string& error) {
  if (static_cast<int>(bank.size()) != kImageCount) {
    error =
        "the image bank has " + std::to_string(bank.size()) + " pictures, not " + std::to_string(kImageCount);
    return false;
  }
  PackWriter pack;
  for (const Picture& p : bank) pack.Add(p);
  if (!pack.Write(dir, kDataFileBytes, error)) return false;
  // Data files left over from an earlier, longer split would only confuse.
  for (size_t d = pack.DataFiles(kDataFileBytes).size();; ++d) {
    const std::string stale = dir + "/bmdt" + std::to_string(d) + ".bin";
    if (unlink(stale.c_str()) != 0) break;
  }
  return true;
}

bool WriteSounds(const std::string& dir, std::string& error) {
  for (int n = 0; n < kSoundCount; ++n) {
    const std::string path = dir + "/" + std::to_string(n) + ".wav";
    if (!WriteBytes(path, EncodeWave(MakeSound(static_cast<SoundEffect>(n)), kSampleRate))) {
      error = "cannot write " + path;
      return false;
    }
  }
  return true;
}

}  // namespace

bool Generate(const std::string& outDir, const std::string& previewDir, std::string& error) {
  FontSet fonts;
  if (!fonts.Open(error)) return false;
  const std::vector<Picture> bank = BuildImageBank(fonts);
  if (!outDir.empty()) {
    if (!MakeDir(outDir, error) || !MakeDir(outDir + "/640x480", error) || !MakeDir(outDir + "/wav", error))
      return false;
    if (!WritePack(bank, outDir + "/640x480", error) || !WriteSounds(outDir + "/wav", error)) return false;
  }
  if (!previewDir.empty()) {
    if (!MakeDir(previewDir, error)) return false;
    if (!WritePreviews(bank, fonts, previewDir, error)) return false;
  }
  return true;
}

}  // namespace datagen
