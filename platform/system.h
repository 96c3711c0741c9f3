// Small services shared by the whole program: the millisecond clock, the
// browser launcher and the two empty hooks every factory calls.
#pragma once

#include <cstdio>
#include <sys/types.h>

#include "platform/types.h"

// Milliseconds from the wall clock: ((seconds mod 2^24) * 1000000 + usec)
// mod 2^32 / 1000. It wraps about every 71.6 minutes; take differences with
// TickMsSince, which knows the wrap.
u32 GetTickMs();
// The same formula for a given time, for tests of the wrap.
u32 TickMsFromTime(long seconds, long microseconds);
// Milliseconds from `earlier` to `later`, two GetTickMs values, across a wrap.
u32 TickMsSince(u32 earlier, u32 later);

// Starts a browser on an http:// address, or runs the address as a command
// otherwise, in a process of its own. Returns the process id or -1.
pid_t OpenURL(const char* address);

// The error reporter: shows nothing.
void ShowError(const char* message);
// Called with every newly made object; does nothing.
void CheckAlloc(const void* object);
// One fread of n bytes; returns the number of whole blocks read (0 or 1).
size_t ReadBytes(std::FILE* file, void* destination, size_t n);
