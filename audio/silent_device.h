// "Silence", device 0: an output driver and a synthesizer that make no
// sound. They check their parameters like a real device and keep time for
// the tick procedure. Their tables are also the library's current drivers
// whenever no device is open.
#pragma once

#include "audio/audio.h"

extern const AudioDriver kSilenceOutput;
extern const SynthDriver kSilenceSynth;

// The clock the silent device keeps time with: whole seconds, like time().
using SilenceClock = i64 (*)();
// Replaces the clock; null restores time().
void SilenceSetClock(SilenceClock clock);
