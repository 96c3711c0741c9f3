// The generator's top level: builds the image bank and the sound effects
// and writes them (and, when asked, the preview pictures).
#pragma once

#include <string>

namespace datagen {

// Writes "640x480/bmst.bin" with its data files and "wav/0.wav" to
// "wav/3.wav" under outDir, and the previews into previewDir; an empty
// name skips that part. False with a message in error on failure.
bool Generate(const std::string& outDir, const std::string& previewDir, std::string& error);

}  // namespace datagen
