// The software mixer: the synthesizer of the OSS device. It keeps up to 32
// voices, each playing an AudioWave at its own pitch, volume and panning,
// mixes them into a 32-bit accumulator, runs the tick procedure at the tick
// rate and converts the sum to the output format with clipping.
#pragma once

#include "audio/audio.h"

extern const SynthDriver kMixerSynth;

// The output driver's fill function, installed when the mixer opens.
void MixerFillBuffer(u8* buffer, u32 bytes);

// Output rates the mixer works at; a request outside is clamped, so the
// tick period and the voice steps stay in range.
constexpr u32 kMixerMinRate = 4000;
constexpr u32 kMixerMaxRate = 65535;
// Positions are 20.12 fixed point in an i32. A voice plays at most this
// many samples, so that a position one step past the end (at most 131
// samples at the lowest rate) still fits.
constexpr u32 kMixerMaxSamples = 0x7FF00;
