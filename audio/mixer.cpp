#include "audio/mixer.h"

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// MixerVoice::control bits.
constexpr u8 kStopped = 0x01;
constexpr u8 k16Bit = 0x02;
constexpr u8 kLooping = 0x04;
constexpr u8 kBidirectional = 0x08;
constexpr u8 kBackwards = 0x10;

constexpr int kFractionBits = 12;
constexpr i32 kOneSample = 1 << kFractionBits;
constexpr u32 kAccumulatorSize = 512;
constexpr u32 kDefaultMaster = 96;
constexpr u32 kDefaultBpm = 125;

// What one sample byte adds to the left and the right output, side by side
// as a stereo frame lies in the accumulator.
struct StereoPair {
  i32 left;
  i32 right;
};

// A voice's two volume rows merged into one table, so that a stereo frame
// takes one lookup and one 64-bit add. It is rebuilt when the voice's rows
// change; rows are compared by address, so rebuilding the volume table
// must forget it (Forget).
struct PairTable {
  const i32* left = nullptr;
  const i32* right = nullptr;
  alignas(16) StereoPair pairs[256];

  void Forget() { left = right = nullptr; }
  const StereoPair* For(const i32* leftRow, const i32* rightRow) {
    if (leftRow != left || rightRow != right) {
      for (u32 i = 0; i < 256; ++i) pairs[i] = {leftRow[i], rightRow[i]};
      left = leftRow;
      right = rightRow;
    }
    return pairs;
  }
};

struct MixerVoice {
  const u8* data = nullptr;
  // 20.12 fixed point, in samples.
  i32 position = 0;
  i32 step = 0;
  i32 loopStart = 0;
  i32 loopEnd = 0;
  // The last sample index that belongs to the voice (the guard sample).
  i32 lastSample = 0;
  u8 volume = 0;
  // Written by the game thread while the sound thread mixes.
  std::atomic<u8> panning{0};
  u8 control = kStopped;
  u8 last = 0;
  PairTable stereo;

  void Clear() {
    data = nullptr;
    position = step = loopStart = loopEnd = lastSample = 0;
    volume = 0;
    panning.store(0, std::memory_order_relaxed);
    control = kStopped;
    last = 0;
    stereo.Forget();
  }
};

struct MixerTables {
  i32 volume[65][256];
  i8 filter[32][256];
};

using MixRoutine = void (*)(i32* out, u32 count, MixerVoice& voice, const MixerTables& tables);

struct MixerState {
  u32 voiceCount = 0;
  u32 format = 0;
  u32 rate = 0;
  u32 tickPeriod = 1;
  u32 tickCounter = 0;
  AudioTimerProc tick = nullptr;
  MixRoutine mix8 = nullptr;
  MixRoutine mix16 = nullptr;
  MixerTables* tables = nullptr;
};

MixerState g_Mixer;
MixerVoice g_Voices[kAudioMaxVoices];
i32 g_Accumulator[kAccumulatorSize];

bool StereoOutput() { return (g_Mixer.format & AUDIO_FORMAT_STEREO) != 0; }

// The byte as a signed sample.
i32 Signed(u32 byte) { return byte < 128 ? static_cast<i32>(byte) : static_cast<i32>(byte) - 256; }

void BuildTables(MixerTables& tables, i32 master) {
  for (i32 row = 0; row < 65; ++row)
    for (u32 i = 0; i < 256; ++i) tables.volume[row][i] = (Signed(i) * row * master) >> 4;
  for (i32 row = 0; row < 32; ++row)
    for (u32 i = 0; i < 256; ++i)
      tables.filter[row][i] = static_cast<i8>(static_cast<u8>((Signed(i) * row) >> 5));
}

// The volume rows a voice adds to the left and right outputs. A side that
// gets nothing uses row 0, which is all zeros.
void PanRows(const MixerVoice& voice, const MixerTables& tables, const i32** left,
             const i32** right) {
  const u32 volume = voice.volume;
  const u32 pan = voice.panning.load(std::memory_order_relaxed);
  u32 l = volume, r = volume;
  if (pan < 16) {
    r = 0;
  } else if (pan >= 120 && pan <= 135) {
    l = r = volume >> 1;
  } else if (pan >= 240) {
    l = 0;
  } else {
    r = (volume * pan) >> 8;
    l = volume - r;
  }
  *left = tables.volume[l];
  *right = tables.volume[r];
}

// The sample byte a position reads; 16-bit samples are read by their high
// byte, which the caller's pointer starts at.
template <int kShift>
u8 SampleAt(const u8* samples, i64 position) {
  return samples[static_cast<size_t>(position >> kFractionBits) << kShift];
}

// Mono output: one sample read and one table lookup per frame. Returns the
// position after the last frame. Positions are carried in 64 bits, which
// saves widening them for every read; they never leave the 32-bit range.
template <int kShift>
i32 MixMono(i32* out, u32 count, const u8* samples, i64 position, i64 step, const i32* row) {
  for (i32* end = out + count; out != end; ++out) {
    *out += row[SampleAt<kShift>(samples, position)];
    position += step;
  }
  return static_cast<i32>(position);
}

#if defined(__SSE2__)
// Adds two frames' pairs to the accumulator with one 128-bit add.
void AddTwoFrames(i32* out, const StereoPair* first, const StereoPair* second) {
  const __m128i add = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(first)),
                                         _mm_loadl_epi64(reinterpret_cast<const __m128i*>(second)));
  __m128i* frames = reinterpret_cast<__m128i*>(out);
  _mm_storeu_si128(frames, _mm_add_epi32(_mm_loadu_si128(frames), add));
}
#endif

// Stereo output: one sample read and one pair lookup per frame; with SSE2,
// four frames a round, two to each 128-bit add. Returns the position after
// the last frame.
template <int kShift>
i32 MixStereo(i32* out, u32 count, const u8* samples, i64 position, i64 step,
              const StereoPair* pairs) {
  u32 i = 0;
#if defined(__SSE2__)
  for (; i + 4 <= count; i += 4, out += 8) {
    const StereoPair* frame[4];
    for (const StereoPair*& pair : frame) {
      pair = pairs + SampleAt<kShift>(samples, position);
      position += step;
    }
    AddTwoFrames(out, frame[0], frame[1]);
    AddTwoFrames(out + 4, frame[2], frame[3]);
  }
#endif
  for (; i < count; ++i, out += 2) {
    const StereoPair& pair = pairs[SampleAt<kShift>(samples, position)];
    out[0] += pair.left;
    out[1] += pair.right;
    position += step;
  }
  return static_cast<i32>(position);
}

// One routine for every output: 8- or 16-bit samples (16-bit ones are
// mixed by their high byte), mono or stereo output, plain or through the
// low-pass filter. The caller makes sure every frame it asks for reads
// inside the voice; the read-ahead after the last frame is kept inside too.
template <bool k16, bool kStereo, bool kFilter>
void Mix(i32* out, u32 count, MixerVoice& voice, const MixerTables& tables) {
  if constexpr (kFilter) {
    // The filter only smooths voices slower than one sample per frame.
    if (voice.step >= kOneSample || voice.step <= -kOneSample) {
      Mix<k16, kStereo, false>(out, count, voice, tables);
      return;
    }
  }
  constexpr int kShift = k16 ? 1 : 0;
  const u8* samples = voice.data + (k16 ? 1 : 0);
  const i32* left = tables.volume[voice.volume];
  const i32* right = left;
  if constexpr (kStereo) PanRows(voice, tables, &left, &right);
  i32 position = voice.position;
  const i32 step = voice.step;
  if constexpr (kFilter) {
    const i8* filter = tables.filter[std::abs(step) >> 7 & 31];
    u8 y = voice.last;
    for (u32 i = 0; i < count; ++i) {
      y = static_cast<u8>(y - filter[y] + filter[SampleAt<kShift>(samples, position)]);
      if constexpr (kStereo) {
        out[2 * i] += left[y];
        out[2 * i + 1] += right[y];
      } else {
        out[i] += left[y];
      }
      position += step;
    }
    voice.position = position;
    voice.last = y;
    return;
  }
  if (left == tables.volume[0] && right == left) {
    position += static_cast<i32>(count) * step;  // silent: only the position moves
  } else if (!kStereo) {
    position = MixMono<kShift>(out, count, samples, position, step, left);
  } else {
    position = MixStereo<kShift>(out, count, samples, position, step, voice.stereo.For(left, right));
  }
  voice.position = position;
  const i32 ahead = std::clamp(position >> kFractionBits, 0, voice.lastSample);
  voice.last = samples[static_cast<size_t>(ahead) << kShift];
}

template <bool kStereo, bool kFilter>
void ChooseRoutines() {
  g_Mixer.mix8 = Mix<false, kStereo, kFilter>;
  g_Mixer.mix16 = Mix<true, kStereo, kFilter>;
}

// Brings a voice that has passed its loop or its end back inside, or stops
// it. True when it was inside already.
bool InsideBoundary(MixerVoice& voice) {
  const i64 position = voice.position;
  if (voice.control & kBackwards) {
    if (position >= voice.loopStart) return true;
    if (voice.control & kBidirectional) {
      voice.position = static_cast<i32>(voice.loopStart + (voice.loopStart - position));
      voice.control &= static_cast<u8>(~kBackwards);
    } else if (voice.control & kLooping) {
      voice.position = static_cast<i32>(voice.loopEnd - (voice.loopStart - position));
    } else {
      voice.control |= kStopped;
    }
    return false;
  }
  if (position <= voice.loopEnd) return true;
  if (voice.control & kBidirectional) {
    voice.position = static_cast<i32>(voice.loopEnd - (position - voice.loopEnd));
    voice.control |= kBackwards;
  } else if (voice.control & kLooping) {
    voice.position = static_cast<i32>(position - voice.loopEnd + voice.loopStart);
  } else {
    voice.control |= kStopped;
  }
  return false;
}

// Mixes one voice over n accumulator entries, piece by piece up to each
// boundary of its loop or sample.
void MixVoice(i32* out, u32 n, MixerVoice& voice) {
  const bool stereo = StereoOutput();
  u32 frames = stereo ? n / 2 : n;
  while (frames > 0 && !(voice.control & kStopped)) {
    if (!InsideBoundary(voice)) continue;
    const bool backwards = (voice.control & kBackwards) != 0;
    const i64 distance = backwards ? i64{voice.position} - voice.loopStart
                                   : i64{voice.loopEnd} - voice.position;
    // All frames fit, or those up to and including the last one at or
    // before the boundary.
    u32 count = frames;
    if (u64{frames} * static_cast<u32>(voice.step) > static_cast<u64>(distance))
      count = static_cast<u32>((distance + voice.step) / voice.step);
    const MixRoutine routine = (voice.control & k16Bit) ? g_Mixer.mix16 : g_Mixer.mix8;
    if (backwards) voice.step = -voice.step;
    routine(out, count, voice, *g_Mixer.tables);
    if (backwards) voice.step = -voice.step;
    out += stereo ? 2 * count : count;
    frames -= count;
  }
}

// How many entries to mix before the next tick, which runs when its
// boundary is crossed; ticks fall on multiples of 64 entries.
u32 NextPiece(u32 left) {
  if (!g_Mixer.tick) return left;
  const i64 due = std::max<i64>(i64{g_Mixer.tickPeriod} - g_Mixer.tickCounter, 0);
  const u32 piece = static_cast<u32>(std::min<i64>((due + 64) & ~i64{63}, left));
  g_Mixer.tickCounter += piece;
  if (g_Mixer.tickCounter >= g_Mixer.tickPeriod) {
    g_Mixer.tickCounter -= g_Mixer.tickPeriod;
    g_Mixer.tick();
  }
  return piece;
}

// Little-endian 16-bit output. SSE2's saturating pack is exactly the clamp
// to -32768..32767, eight samples at a time.
void Clip16(const i32* in, u32 n, u8* out) {
  u32 i = 0;
#if defined(__SSE2__) && defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
  for (; i + 8 <= n; i += 8) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i + 4));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 2 * i), _mm_packs_epi32(low, high));
  }
#endif
  for (; i < n; ++i) {
    const u16 value = static_cast<u16>(std::clamp(in[i], -32768, 32767));
    out[2 * i] = static_cast<u8>(value);
    out[2 * i + 1] = static_cast<u8>(value >> 8);
  }
}

void Clip8(const i32* in, u32 n, u8* out) {
  for (u32 i = 0; i < n; ++i)
    out[i] = static_cast<u8>(std::clamp(i64{in[i]} + 32768, i64{0}, i64{65535}) >> 8);
}

bool BadVoice(u32 voice) { return voice >= g_Mixer.voiceCount; }

u32 GetCaps(AudioCaps* caps) {
  if (caps) *caps = AudioCaps();
  return AUDIO_ERROR_NOTSUPPORTED;
}

u32 Ping() { return AUDIO_ERROR_NOTSUPPORTED; }

u32 SetTimerRate(u32 bpm);

u32 Open(AudioInfo* info) {
  if (!info) return AUDIO_ERROR_INVALPARAM;
  for (MixerVoice& voice : g_Voices) voice.Clear();
  g_Mixer = MixerState();
  g_Mixer.format = info->format;
  g_Mixer.rate = std::clamp<u32>(info->rate, kMixerMinRate, kMixerMaxRate);
  const bool stereo = StereoOutput();
  if (g_Mixer.format & AUDIO_FORMAT_FILTER)
    stereo ? ChooseRoutines<true, true>() : ChooseRoutines<false, true>();
  else
    stereo ? ChooseRoutines<true, false>() : ChooseRoutines<false, false>();
  g_Mixer.tables = static_cast<MixerTables*>(std::malloc(sizeof(MixerTables)));
  if (!g_Mixer.tables) return AUDIO_ERROR_NOMEMORY;
  // Until someone sets a rate, ticks come at the module player's default
  // tempo: a period of 0 would never let the fill end.
  SetTimerRate(kDefaultBpm);
  ASetAudioMixerValue(1, kDefaultMaster);
  ASetAudioCallback(MixerFillBuffer);
  return AUDIO_ERROR_NONE;
}

u32 Close() {
  std::free(g_Mixer.tables);
  g_Mixer = MixerState();
  for (MixerVoice& voice : g_Voices) voice.Clear();
  return AUDIO_ERROR_NONE;
}

u32 Nothing() { return AUDIO_ERROR_NONE; }

u32 OpenVoices(u32 count) {
  if (count < 1 || count > kAudioMaxVoices) return AUDIO_ERROR_INVALPARAM;
  g_Mixer.voiceCount = count;
  // Stopped and without data until primed.
  for (u32 i = 0; i < count; ++i) {
    g_Voices[i].control |= kStopped;
    g_Voices[i].data = nullptr;
  }
  return AUDIO_ERROR_NONE;
}

u32 CloseVoices() {
  for (MixerVoice& voice : g_Voices) voice.Clear();
  return AUDIO_ERROR_NONE;
}

u32 SetTimerProc(AudioTimerProc proc) {
  g_Mixer.tick = proc;
  return AUDIO_ERROR_NONE;
}

u32 SetTimerRate(u32 bpm) {
  if (bpm < 32 || bpm > 255) return AUDIO_ERROR_INVALPARAM;
  const u32 period = g_Mixer.rate * (StereoOutput() ? 2 : 1) * 5 / (2 * bpm);
  g_Mixer.tickPeriod = std::max<u32>(period, 1);
  return AUDIO_ERROR_NONE;
}

u32 SetMixerValue(u32 channel, u32 value) {
  if (!g_Mixer.tables) return AUDIO_ERROR_NOTSUPPORTED;
  if (channel != 1 || value > 256) return AUDIO_ERROR_INVALPARAM;
  BuildTables(*g_Mixer.tables, static_cast<i32>(StereoOutput() ? value : value >> 1));
  for (MixerVoice& voice : g_Voices) voice.stereo.Forget();
  return AUDIO_ERROR_NONE;
}

u32 CreateData(AudioWave* wave) {
  if (!wave) return AUDIO_ERROR_INVALHANDLE;
  wave->handle = wave->data;
  return AUDIO_ERROR_NONE;
}

u32 DestroyData(AudioWave* wave) {
  return !wave || !wave->handle ? AUDIO_ERROR_INVALHANDLE : AUDIO_ERROR_NONE;
}

// A loop is used only when it lies inside the sample.
bool LoopInside(const AudioWave& wave) {
  return (wave.format & (AUDIO_WAVE_LOOP | AUDIO_WAVE_BIDILOOP)) && wave.loopStart < wave.loopEnd &&
         wave.loopEnd <= wave.length;
}

// Prepares the guard bytes behind the data: silence after a one-shot
// sample, the loop's first bytes after a loop, so that the read-ahead
// past the last mixed frame finds the right sample.
u32 WriteData(AudioWave* wave, u32 offset, u32 count) {
  if (!wave || !wave->handle) return AUDIO_ERROR_INVALHANDLE;
  u8* data = static_cast<u8*>(wave->handle);
  if (!(wave->format & AUDIO_WAVE_LOOP) || !LoopInside(*wave)) {
    if (u64{offset} + count >= wave->length) std::memset(data + wave->length, 0, 4);
  } else {
    std::memmove(data + wave->loopEnd, data + wave->loopStart, 4);
  }
  return AUDIO_ERROR_NONE;
}

u32 PrimeVoice(u32 v, AudioWave* wave) {
  if (BadVoice(v) || !wave || !wave->handle) return AUDIO_ERROR_INVALHANDLE;
  const bool is16 = (wave->format & AUDIO_WAVE_16BITS) != 0;
  const u32 shift = is16 ? 1 : 0;
  const u32 samples = std::min(wave->length >> shift, kMixerMaxSamples);
  // No samples: nothing to start.
  if (samples == 0) return AUDIO_ERROR_INVALHANDLE;
  MixerVoice& voice = g_Voices[v];
  voice.data = static_cast<const u8*>(wave->handle);
  voice.control = kStopped | (is16 ? k16Bit : 0);
  voice.position = 0;
  u32 start = samples, end = samples;
  if (LoopInside(*wave)) {
    start = std::min(wave->loopStart >> shift, samples);
    end = std::min(wave->loopEnd >> shift, samples);
  }
  if (start < end) {
    voice.control |= kLooping | ((wave->format & AUDIO_WAVE_BIDILOOP) ? kBidirectional : 0);
  } else {
    start = end = samples;
  }
  voice.loopStart = static_cast<i32>(start << kFractionBits);
  voice.loopEnd = static_cast<i32>(end << kFractionBits);
  voice.lastSample = static_cast<i32>(samples);
  return AUDIO_ERROR_NONE;
}

u32 StartVoice(u32 v) {
  if (BadVoice(v)) return AUDIO_ERROR_INVALHANDLE;
  // A voice never plays without sample data.
  if (!g_Voices[v].data) return AUDIO_ERROR_INVALHANDLE;
  g_Voices[v].control &= static_cast<u8>(~kStopped);
  return AUDIO_ERROR_NONE;
}

u32 StopVoice(u32 v) {
  if (BadVoice(v)) return AUDIO_ERROR_INVALHANDLE;
  g_Voices[v].control |= kStopped;
  return AUDIO_ERROR_NONE;
}

u32 SetPosition(u32 v, u32 position) {
  if (BadVoice(v)) return AUDIO_ERROR_INVALHANDLE;
  if (position >= 0x80000 || i64{position} * kOneSample >= g_Voices[v].loopEnd)
    return AUDIO_ERROR_INVALPARAM;
  g_Voices[v].position = static_cast<i32>(position * kOneSample);
  return AUDIO_ERROR_NONE;
}

u32 SetFrequency(u32 v, u32 hertz) {
  if (BadVoice(v)) return AUDIO_ERROR_INVALHANDLE;
  if (hertz < 512 || hertz > 524288) return AUDIO_ERROR_INVALPARAM;
  g_Voices[v].step = static_cast<i32>((g_Mixer.rate / 2 + u64{hertz} * kOneSample) / g_Mixer.rate);
  return AUDIO_ERROR_NONE;
}

u32 SetVolume(u32 v, u32 volume) {
  if (BadVoice(v)) return AUDIO_ERROR_INVALHANDLE;
  if (volume > 64) return AUDIO_ERROR_INVALPARAM;
  g_Voices[v].volume = static_cast<u8>(volume / 2);
  return AUDIO_ERROR_NONE;
}

u32 SetPanning(u32 v, u32 panning) {
  if (BadVoice(v)) return AUDIO_ERROR_INVALHANDLE;
  if (panning > 255) return AUDIO_ERROR_INVALPARAM;
  g_Voices[v].panning.store(static_cast<u8>(panning), std::memory_order_relaxed);
  return AUDIO_ERROR_NONE;
}

// The five voice queries differ only in what they read.
template <u32 (*kRead)(const MixerVoice&)>
u32 Query(u32 v, u32* out) {
  if (BadVoice(v)) return AUDIO_ERROR_INVALHANDLE;
  if (!out) return AUDIO_ERROR_INVALPARAM;
  *out = kRead(g_Voices[v]);
  return AUDIO_ERROR_NONE;
}

u32 ReadPosition(const MixerVoice& voice) {
  return static_cast<u32>(voice.position >> kFractionBits);
}
u32 ReadFrequency(const MixerVoice& voice) {
  return static_cast<u32>(static_cast<u64>(voice.step) * g_Mixer.rate >> kFractionBits);
}
u32 ReadVolume(const MixerVoice& voice) { return voice.volume * 2u; }
u32 ReadPanning(const MixerVoice& voice) { return voice.panning.load(std::memory_order_relaxed); }
u32 ReadStatus(const MixerVoice& voice) { return voice.control & kStopped; }

}  // namespace

void MixerFillBuffer(u8* buffer, u32 bytes) {
  const bool is16 = (g_Mixer.format & AUDIO_FORMAT_16BITS) != 0;
  u32 samples = is16 ? bytes / 2 : bytes;
  if (!g_Mixer.tables) {
    std::memset(buffer, is16 ? 0 : 0x80, bytes);
    return;
  }
  while (samples > 0) {
    const u32 n = std::min(samples, kAccumulatorSize);
    std::memset(g_Accumulator, 0, n * sizeof(i32));
    for (u32 done = 0; done < n;) {
      const u32 piece = NextPiece(n - done);
      for (u32 v = 0; v < g_Mixer.voiceCount; ++v) MixVoice(g_Accumulator + done, piece, g_Voices[v]);
      done += piece;
    }
    if (is16) {
      Clip16(g_Accumulator, n, buffer);
      buffer += 2 * n;
    } else {
      Clip8(g_Accumulator, n, buffer);
      buffer += n;
    }
    samples -= n;
  }
}

const SynthDriver kMixerSynth = {
    GetCaps,      Ping,
    Open,         Close,
    Nothing,      OpenVoices,
    CloseVoices,  SetTimerProc,
    SetTimerRate, SetMixerValue,
    Nothing,      CreateData,
    DestroyData,  WriteData,
    PrimeVoice,   StartVoice,
    StopVoice,    SetPosition,
    SetFrequency, SetVolume,
    SetPanning,   Query<ReadPosition>,
    Query<ReadFrequency>, Query<ReadVolume>,
    Query<ReadPanning>,   Query<ReadStatus>,
};
