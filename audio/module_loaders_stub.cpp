// Stand-ins for the four module file loaders until they are built: no file
// is recognised, so ALoadModuleFile answers "bad file format".
#include "audio/module.h"

u32 ALoadXMModule(const char*, AudioModule**, u32) { return AUDIO_ERROR_BADFILEFORMAT; }
u32 ALoadS3MModule(const char*, AudioModule**, u32) { return AUDIO_ERROR_BADFILEFORMAT; }
u32 ALoadMODModule(const char*, AudioModule**, u32) { return AUDIO_ERROR_BADFILEFORMAT; }
u32 ALoadMTMModule(const char*, AudioModule**, u32) { return AUDIO_ERROR_BADFILEFORMAT; }
