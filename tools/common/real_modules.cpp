#include "tools/common/real_modules.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>

namespace modpeer {
namespace fs = std::filesystem;

namespace {

bool IsModule(const fs::path& path) {
  std::string ext = path.extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return std::tolower(c); });
  return ext == ".xm" || ext == ".s3m" || ext == ".mod" || ext == ".mtm";
}

// Package names are our own constants, so they go into the shell as they are.
bool Fetch(const std::string& dir, const std::string& package) {
  const std::string command = "cd '" + dir + "' && apt-get download -q " + package +
                              " >/dev/null 2>&1 && dpkg-deb -x " + package + "_*.deb '" + dir +
                              "/tree' >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

}  // namespace

const std::vector<std::string>& RealModules::Packages() {
  static const std::vector<std::string> packages = {"bomberclone-data", "penguin-command",
                                                    "ceferino-data", "monsterz-data"};
  return packages;
}

RealModules::RealModules() {
  std::string pattern = (fs::temp_directory_path() / "real-modules-XXXXXX").string();
  if (!mkdtemp(pattern.data())) return;
  dir_ = pattern;
  for (const std::string& package : Packages())
    if (!Fetch(dir_, package)) missing_.push_back(package);
  std::error_code error;
  const fs::path tree = fs::path(dir_) / "tree";
  if (fs::exists(tree, error)) {
    for (const auto& entry : fs::recursive_directory_iterator(tree, error))
      if (entry.is_regular_file() && IsModule(entry.path()))
        files_.push_back(entry.path().string());
  }
  std::sort(files_.begin(), files_.end());
}

RealModules::~RealModules() {
  std::error_code error;
  if (!dir_.empty()) fs::remove_all(dir_, error);
}

}  // namespace modpeer
