// Where the program's data and the player's records live.
#pragma once

#include <cstddef>

// The data directory, always ending with "/"; data file names are formed by
// appending to it.
extern char g_DataDir[1024];
// The user directory "$HOME/.Dorrimac-1.2/"; record files are named in it.
extern char g_UserDir[1024];

// Where `cmake --install` puts the data, tried first.
constexpr const char* kInstalledDataDir = "/usr/local/share/Dorrimac-1.2/";
constexpr const char* kMissingDataMessage = "Error open resource. Please reinstall. \n";

// True when dir holds "640x480/bmst.bin" and "wav/0.wav" (dir ends in "/").
bool DataDirHolds(const char* dir);
// The directory of the executable named argv0, with its trailing "/"; a name
// without "/" means the current directory. False when it does not fit.
bool ExecutableDir(const char* argv0, char* out, std::size_t size);
// Picks the installed directory or else the executable's; false when
// neither holds the data. Sets g_DataDir on success.
bool ChooseDataDir(const char* argv0);
// Builds g_UserDir from HOME (or the password database when HOME is not
// set) and creates it with mode 0755. False when no home is known or the
// name does not fit.
bool MakeUserDir();
