// Draws the game's image bank and synthesises its sound effects.
// Usage: datagen OUTPUT_DIR [--preview PREVIEW_DIR]
//        datagen --preview PREVIEW_DIR
#include <cstdio>
#include <string>

#include "tools/datagen/data_writer.h"

int main(int argc, char** argv) {
  std::string out, preview;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--preview" && i + 1 < argc) {
      preview = argv[++i];
    } else if (!arg.empty() && arg[0] != '-' && out.empty()) {
      out = arg;
    } else {
      out.clear(), preview.clear();
      break;
    }
  }
  if (out.empty() && preview.empty()) {
    std::fprintf(stderr, "usage: %s OUTPUT_DIR [--preview PREVIEW_DIR]\n       %s --preview PREVIEW_DIR\n",
                 argv[0], argv[0]);
    return 2;
  }
  std::string error;
  if (!datagen::Generate(out, preview, error)) {
    std::fprintf(stderr, "datagen: %s\n", error.c_str());
    return 1;
  }
  return 0;
}
