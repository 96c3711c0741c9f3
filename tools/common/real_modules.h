// The tracker modules that Debian's free game data packages ship, fetched
// with apt-get download and unpacked with dpkg-deb into a temporary
// directory, for tests and benchmarks that play real music.
#pragma once

#include <string>
#include <vector>

namespace modpeer {

class RealModules {
 public:
  // Fetches and unpacks every package it can; `missing` names those that
  // could not be fetched.
  RealModules();
  ~RealModules();
  RealModules(const RealModules&) = delete;
  RealModules& operator=(const RealModules&) = delete;

  // XM, S3M, MOD and MTM files found, sorted by path.
  const std::vector<std::string>& Files() const { return files_; }
  const std::vector<std::string>& Missing() const { return missing_; }

  static const std::vector<std::string>& Packages();

 private:
  std::string dir_;
  std::vector<std::string> files_;
  std::vector<std::string> missing_;
};

}  // namespace modpeer
