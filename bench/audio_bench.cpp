// bench-links: audio
// Mixing one second of 44.1 kHz 16-bit stereo with 4 and with 32 voices.
// Each iteration is one second of sound, so the "realtime" counter says
// how many times faster than real time the mixer runs.
#include <benchmark/benchmark.h>

#include <vector>

#include "audio/audio.h"
#include "audio/mixer.h"
#include "tests/audio/memory_device.h"

namespace {

constexpr u32 kRate = 44100;
constexpr u32 kSecondBytes = kRate * 4;

// A looping wave of one second of a triangle, so no voice runs out.
AudioWave* MakeLoop(bool sixteenBit) {
  AudioWave* wave = new AudioWave();
  const u32 samples = kRate;
  wave->length = sixteenBit ? samples * 2 : samples;
  wave->format = AUDIO_WAVE_LOOP | (sixteenBit ? AUDIO_WAVE_16BITS : 0);
  wave->loopStart = 0;
  wave->loopEnd = wave->length;
  wave->rate = kRate;
  ACreateAudioData(wave);
  for (u32 i = 0; i < wave->length; ++i) wave->data[i] = static_cast<u8>((i * 3) & 0x7F);
  AWriteAudioData(wave, 0, wave->length);
  return wave;
}

void BM_MixOneSecond(benchmark::State& state) {
  const u32 voices = static_cast<u32>(state.range(0));
  audio_test::MemoryDevice::Install();
  AudioInfo info{2, AUDIO_FORMAT_16BITS | AUDIO_FORMAT_STEREO, kRate};
  if (AOpenAudio(&info) != AUDIO_ERROR_NONE || AOpenVoices(voices) != AUDIO_ERROR_NONE) {
    state.SkipWithError("cannot open the mixer");
    return;
  }
  std::vector<AudioWave*> waves;
  for (u32 v = 0; v < voices; ++v) {
    waves.push_back(MakeLoop(v % 2 == 1));
    u32 handle = 0;
    ACreateAudioVoice(&handle);
    ASetVoiceVolume(handle, 48);
    ASetVoicePanning(handle, (v * 97) % 256);  // left, right, centre and between
    APlayVoice(handle, waves.back());
    ASetVoiceFrequency(handle, 8000 + v * 3001);
  }
  std::vector<u8> buffer(kSecondBytes);
  for (auto _ : state) {
    MixerFillBuffer(buffer.data(), kSecondBytes);
    benchmark::DoNotOptimize(buffer.data());
  }
  state.counters["realtime"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  for (u32 v = 1; v <= voices; ++v) ADestroyAudioVoice(v);
  ACloseVoices();
  ACloseAudio();
  for (AudioWave* wave : waves) AFreeWaveFile(wave);
}

BENCHMARK(BM_MixOneSecond)->Arg(4)->Arg(32)->Unit(benchmark::kMicrosecond);

}  // namespace
