#include "audio/silent_device.h"

#include <cstring>
#include <ctime>

namespace {

constexpr u32 kLastVoice = 31;

i64 SystemSeconds() { return static_cast<i64>(std::time(nullptr)); }

// Milliseconds are kept in 64 bits: the seconds since 1970 times 1000 no
// longer fit 32.
struct SilenceState {
  i64 previousMs = 0;
  i64 accumulatedMs = 0;
  i64 periodMs = 0;
  AudioTimerProc tick = nullptr;
};

SilenceState g_State;
SilenceClock g_Clock = SystemSeconds;

i64 NowMs() { return g_Clock() * 1000; }

u32 GetCaps(AudioCaps* caps) {
  if (!caps) return AUDIO_ERROR_INVALPARAM;
  *caps = AudioCaps();
  std::strncpy(caps->name, "Silence", sizeof caps->name);
  caps->formats = 0x0FFF;
  return AUDIO_ERROR_NONE;
}

u32 Ping() { return AUDIO_ERROR_NONE; }

u32 Open(AudioInfo* info) {
  g_State = SilenceState();
  g_State.previousMs = NowMs();
  return info ? AUDIO_ERROR_NONE : AUDIO_ERROR_INVALPARAM;
}

u32 Nothing() { return AUDIO_ERROR_NONE; }

// At most one tick per update, however much time has gone by.
u32 Update(u32) {
  const i64 now = NowMs();
  g_State.accumulatedMs += now - g_State.previousMs;
  if (g_State.accumulatedMs >= g_State.periodMs) {
    g_State.accumulatedMs -= g_State.periodMs;
    if (g_State.tick) g_State.tick();
  }
  g_State.previousMs = now;
  return AUDIO_ERROR_NONE;
}

u32 SetCallback(AudioFillProc) { return AUDIO_ERROR_NONE; }

u32 OpenVoices(u32 count) { return count <= kLastVoice ? AUDIO_ERROR_NONE : AUDIO_ERROR_INVALPARAM; }

u32 SetTimerProc(AudioTimerProc proc) {
  if (proc) g_State.tick = proc;
  return AUDIO_ERROR_NONE;
}

u32 SetTimerRate(u32 bpm) {
  if (bpm < 32 || bpm > 255) return AUDIO_ERROR_INVALPARAM;
  g_State.periodMs = 60000 / (24 * bpm);
  return AUDIO_ERROR_NONE;
}

u32 SetMixerValue(u32 channel, u32) {
  return channel >= 1 && channel <= 5 ? AUDIO_ERROR_NONE : AUDIO_ERROR_INVALPARAM;
}

u32 CheckWave(AudioWave* wave) { return wave ? AUDIO_ERROR_NONE : AUDIO_ERROR_INVALPARAM; }

u32 WriteData(AudioWave* wave, u32 offset, u32 count) {
  if (!wave || !wave->data) return AUDIO_ERROR_INVALHANDLE;
  if (u64{offset} + count >= wave->length) return AUDIO_ERROR_INVALPARAM;
  return AUDIO_ERROR_NONE;
}

u32 PrimeVoice(u32 voice, AudioWave* wave) {
  return voice > kLastVoice || !wave ? AUDIO_ERROR_INVALHANDLE : AUDIO_ERROR_NONE;
}

u32 VoiceOnly(u32 voice) { return voice > kLastVoice ? AUDIO_ERROR_INVALHANDLE : AUDIO_ERROR_NONE; }

// A voice check, then a value that must lie in kLowest..kHighest.
template <u32 kLowest, u32 kHighest>
u32 VoiceValue(u32 voice, u32 value) {
  if (voice > kLastVoice) return AUDIO_ERROR_INVALHANDLE;
  return value - kLowest > kHighest - kLowest ? AUDIO_ERROR_INVALPARAM : AUDIO_ERROR_NONE;
}

template <u32 kAnswer>
u32 Query(u32 voice, u32* out) {
  if (voice > kLastVoice) return AUDIO_ERROR_INVALHANDLE;
  if (!out) return AUDIO_ERROR_INVALPARAM;
  *out = kAnswer;
  return AUDIO_ERROR_NONE;
}

}  // namespace

void SilenceSetClock(SilenceClock clock) { g_Clock = clock ? clock : SystemSeconds; }

const AudioDriver kSilenceOutput = {GetCaps, Ping, Open, Nothing, Update, SetCallback};

const SynthDriver kSilenceSynth = {
    GetCaps,
    Ping,
    Open,
    Nothing,
    Nothing,
    OpenVoices,
    Nothing,
    SetTimerProc,
    SetTimerRate,
    SetMixerValue,
    Nothing,
    CheckWave,
    CheckWave,
    WriteData,
    PrimeVoice,
    VoiceOnly,
    VoiceOnly,
    VoiceValue<0, 0x100000>,
    VoiceValue<512, 524288>,
    VoiceValue<0, 63>,
    VoiceValue<0, 254>,
    Query<0>,
    Query<0>,
    Query<0>,
    Query<0>,
    Query<1>,  // every voice is always stopped
};
