#include "tools/datagen/sounds.h"

#include <algorithm>
#include <cmath>

#include "tools/datagen/noise.h"
#include "tools/datagen/wave_writer.h"

namespace datagen {
namespace {

constexpr float kTwoPi = 6.2831853f;

using Signal = std::vector<float>;

Signal Silence(float seconds) { return Signal(static_cast<size_t>(seconds * kSampleRate), 0.0f); }

float Time(size_t i) { return static_cast<float>(i) / kSampleRate; }

// A decaying sine partial starting at `start` seconds.
void AddPartial(Signal& s, float start, float freq, float amp, float decay, float attack = 0.002f) {
  for (size_t i = static_cast<size_t>(start * kSampleRate); i < s.size(); ++i) {
    const float t = Time(i) - start;
    const float env = std::min(1.0f, t / attack) * std::exp(-t / decay);
    s[i] += amp * env * std::sin(kTwoPi * freq * t);
  }
}

// A bell-like note: a fundamental and a few brighter, faster partials.
void AddBell(Signal& s, float start, float freq, float amp, float decay) {
  AddPartial(s, start, freq, amp, decay);
  AddPartial(s, start, freq * 2.0f, amp * 0.35f, decay * 0.6f);
  AddPartial(s, start, freq * 3.01f, amp * 0.16f, decay * 0.35f);
  AddPartial(s, start, freq * 4.2f, amp * 0.08f, decay * 0.2f);
}

// Fades in and out, scales to the common peak and rounds to 16 bits.
std::vector<std::int16_t> Finish(Signal s, float fadeIn, float fadeOut) {
  const size_t in = static_cast<size_t>(fadeIn * kSampleRate),
               out = static_cast<size_t>(fadeOut * kSampleRate);
  for (size_t i = 0; i < s.size(); ++i) {
    if (i < in) s[i] *= static_cast<float>(i) / in;
    if (i + out >= s.size()) s[i] *= static_cast<float>(s.size() - 1 - i) / out;
  }
  float peak = 1e-6f;
  for (float v : s) peak = std::max(peak, std::fabs(v));
  std::vector<std::int16_t> pcm;
  pcm.reserve(s.size());
  for (float v : s) pcm.push_back(static_cast<std::int16_t>(std::lround(v / peak * kSoundPeak)));
  return pcm;
}

// A crisp cue strike: a click of bright noise over a short wooden "tock".
Signal Shot() {
  Signal s = Silence(0.16f);
  Rng rng(1);
  float previous = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const float white = rng.Range(-1, 1);
    s[i] += (white - previous) * 0.55f * std::exp(-Time(i) / 0.0025f);  // high-passed noise
    previous = white;
  }
  AddPartial(s, 0, 1480, 0.55f, 0.018f, 0.0005f);
  AddPartial(s, 0, 840, 0.45f, 0.028f, 0.0005f);
  AddPartial(s, 0, 2950, 0.25f, 0.008f, 0.0005f);
  return s;
}

// A soft knock: a low thump that drops in pitch, with a little wood.
Signal Bounce() {
  Signal s = Silence(0.14f);
  float phase = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    const float t = Time(i);
    phase += kTwoPi * (140 + 70 * std::exp(-t / 0.02f)) / kSampleRate;
    s[i] += 0.8f * std::min(1.0f, t / 0.003f) * std::exp(-t / 0.035f) * std::sin(phase);
  }
  AddPartial(s, 0, 430, 0.25f, 0.012f, 0.001f);
  AddPartial(s, 0, 960, 0.08f, 0.006f, 0.001f);
  return s;
}

// A bright rising chime: four bell notes of a major arpeggio.
Signal Match() {
  Signal s = Silence(0.8f);
  const float notes[4] = {1046.5f, 1318.5f, 1568.0f, 2093.0f};
  for (int n = 0; n < 4; ++n) AddBell(s, 0.065f * n, notes[n], 0.5f, 0.22f + 0.05f * n);
  return s;
}

// A two-note jingle, a fourth up, in a mellow marimba-like tone.
Signal Alert() {
  Signal s = Silence(0.6f);
  const float notes[2] = {784.0f, 1046.5f};
  for (int n = 0; n < 2; ++n) {
    const float start = 0.15f * n, decay = n ? 0.2f : 0.12f;
    AddPartial(s, start, notes[n], 0.6f, decay, 0.003f);
    AddPartial(s, start, notes[n] * 4.0f, 0.12f, decay * 0.15f, 0.001f);
    AddPartial(s, start, notes[n] * 2.0f, 0.15f, decay * 0.5f, 0.002f);
  }
  return s;
}

}  // namespace

std::vector<std::int16_t> MakeSound(SoundEffect effect) {
  switch (effect) {
    case kSoundShot: return Finish(Shot(), 0.0005f, 0.02f);
    case kSoundBounce: return Finish(Bounce(), 0.001f, 0.02f);
    case kSoundMatch: return Finish(Match(), 0.002f, 0.08f);
    default: return Finish(Alert(), 0.002f, 0.06f);
  }
}

}  // namespace datagen
