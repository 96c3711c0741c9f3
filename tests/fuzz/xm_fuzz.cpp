// fuzz-links: module_render
// Feeds arbitrary bytes to the XM loader and plays what loads for a quarter of a
// second of sound.
#include "audio/module.h"
#include "tests/fuzz/module_fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size) {
  return module_fuzz::Run(ALoadXMModule, data, size);
}
