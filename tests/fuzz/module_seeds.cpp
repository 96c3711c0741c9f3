// module_seeds FORMAT DIR: writes the module writer's songs in one format
// (xm, s3m, mod, mtm) into DIR as seeds for that loader's fuzz target.
#include <cstdio>
#include <cstring>
#include <string>

#include "tools/common/module_songs.h"

int main(int argc, char** argv) {
  using modwriter::Format;
  if (argc != 3) {
    std::fprintf(stderr, "usage: module_seeds xm|s3m|mod|mtm DIR\n");
    return 2;
  }
  const std::string name = argv[1];
  const Format format = name == "xm"    ? Format::XM
                        : name == "s3m" ? Format::S3M
                        : name == "mod" ? Format::MOD
                                        : Format::MTM;
  const std::string dir = argv[2];
  const bool ok = modwriter::SaveFile(dir + "/features." + name,
                                      modwriter::Write(format, modwriter::FeatureSong(format))) &&
                  modwriter::SaveFile(dir + "/busy." + name,
                                      modwriter::Write(format, modwriter::BusySong(8, false)));
  return ok ? 0 : 1;
}
