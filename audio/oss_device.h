// "Linux Voxware": the output driver that writes to the OSS digital audio
// device. It has no synthesizer of its own, so the software mixer plays its
// voices. The system calls it makes and the device path sit in a table
// that tests replace.
#pragma once

#include <sys/types.h>

#include "audio/audio.h"

extern const AudioDriver kOssOutput;

// Every call the OSS driver makes to the system, and the device it opens.
struct OssSystemCalls {
  const char* devicePath;
  int (*access)(const char* path, int mode);
  int (*open)(const char* path, int flags);
  int (*ioctl)(int fd, unsigned long request, void* argument);
  ssize_t (*write)(int fd, const void* buffer, size_t bytes);
  int (*close)(int fd);
};

// The real calls on "/dev/dsp".
extern const OssSystemCalls kOssRealSystemCalls;
// Replaces the table (it must outlive its use); null restores the real one.
void OssSetSystemCalls(const OssSystemCalls* calls);

// Open parameters: 16 fragments of 2^12 bytes, the size of one update.
constexpr int kOssFragments = 0x0010000C;
constexpr u32 kOssBufferBytes = 4096;
// The sound thread updates the device once every this many milliseconds;
// an update tops the device's queue up to about two such cycles of sound.
constexpr int kOssCycleMs = 20;
