#include "audio/audio.h"

#include <cstdlib>
#include <cstring>

#include "audio/mixer.h"
#include "audio/oss_device.h"
#include "audio/silent_device.h"

namespace {

const AudioDeviceRecord kSilenceDevice = {&kSilenceOutput, &kSilenceSynth};
const AudioDeviceRecord kVoxwareDevice = {&kOssOutput, nullptr};

const char* const kErrorTexts[AUDIO_LAST_ERROR + 1] = {
    "Unknown audio system error", "Bad channel or sample handle", "Invalid parameter passed",
    "Invalid audio system call",  "Bad audio device identifier",  "No audio device found",
    "Audio device is busy",       "Bad audio data format",        "Not enough memory",
    "Not enough device memory",   "File not found",               "Bad file format",
};

const AudioDeviceRecord* g_Devices[kAudioMaxDevices];
u32 g_DeviceId = kAudioDetectDevice;
AudioDriver g_Output = kSilenceOutput;
SynthDriver g_Synth = kSilenceSynth;
u32 g_VoiceHandles[kAudioMaxVoices];
u32 g_VoiceCount = 0;
u32 g_UpdateNesting = 0;

bool DeviceOpen() { return g_DeviceId != kAudioDetectDevice; }

void EnterClosedState() {
  g_VoiceCount = 0;
  g_DeviceId = kAudioDetectDevice;
  std::memset(g_VoiceHandles, 0, sizeof g_VoiceHandles);
  g_Output = kSilenceOutput;
  g_Synth = kSilenceSynth;
}

// Probes ids 7 down to 1; id 0 (silence) is only ever opened by asking.
u32 DetectDevice(u32* id) {
  for (u32 i = kAudioMaxDevices - 1; i >= 1; --i) {
    const AudioDeviceRecord* device = g_Devices[i];
    if (!device) continue;
    if ((device->output && device->output->PingAudio() == AUDIO_ERROR_NONE) ||
        (device->synth && device->synth->PingAudio() == AUDIO_ERROR_NONE)) {
      *id = i;
      return AUDIO_ERROR_NONE;
    }
  }
  return AUDIO_ERROR_NODEVICE;
}

}  // namespace

u32 ARegisterAudioDriver(const AudioDeviceRecord* device) {
  for (const AudioDeviceRecord*& slot : g_Devices) {
    if (!slot || slot == device) {
      slot = device;
      return AUDIO_ERROR_NONE;
    }
  }
  return AUDIO_ERROR_NOMEMORY;
}

u32 AInitialize() {
  if (DeviceOpen()) return AUDIO_ERROR_NOTSUPPORTED;
  ARegisterAudioDriver(&kSilenceDevice);
  ARegisterAudioDriver(&kVoxwareDevice);
  EnterClosedState();
  return AUDIO_ERROR_NONE;
}

u32 APingAudio(u32* id) {
  if (!id) return AUDIO_ERROR_INVALPARAM;
  *id = 0;
  if (DeviceOpen()) return AUDIO_ERROR_NOTSUPPORTED;
  return DetectDevice(id);
}

u32 AOpenAudio(AudioInfo* info) {
  if (DeviceOpen()) return AUDIO_ERROR_NOTSUPPORTED;
  if (!info) return AResetAudioState(AUDIO_ERROR_INVALPARAM);
  if (info->deviceId == kAudioDetectDevice) {
    info->deviceId = 0;
    if (DetectDevice(&info->deviceId) != AUDIO_ERROR_NONE)
      return AResetAudioState(AUDIO_ERROR_NODEVICE);
  }
  if (info->deviceId >= kAudioMaxDevices || !g_Devices[info->deviceId])
    return AResetAudioState(AUDIO_ERROR_BADDEVICEID);
  const AudioDeviceRecord* device = g_Devices[info->deviceId];
  g_Output = device->output ? *device->output : kSilenceOutput;
  g_Synth = device->synth ? *device->synth : kMixerSynth;
  // The output opens first: it may write back the rate it granted, which
  // the synthesizer then mixes at.
  u32 code = g_Output.OpenAudio(info);
  if (code != AUDIO_ERROR_NONE) return AResetAudioState(code);
  code = g_Synth.OpenAudio(info);
  if (code != AUDIO_ERROR_NONE) {
    g_Output.CloseAudio();
    return AResetAudioState(code);
  }
  std::memset(g_VoiceHandles, 0, sizeof g_VoiceHandles);
  g_VoiceCount = 0;
  g_DeviceId = info->deviceId;
  return AUDIO_ERROR_NONE;
}

u32 ACloseAudio() {
  g_DeviceId = kAudioDetectDevice;
  u32 code = g_Synth.CloseAudio();
  if (code == AUDIO_ERROR_NONE) code = g_Output.CloseAudio();
  EnterClosedState();
  return code;
}

u32 AUpdateAudio() { return AUpdateAudioEx(0); }

u32 AUpdateAudioEx(u32 frames) {
  if (!DeviceOpen()) return AUDIO_ERROR_NONE;
  // A fill callback or tick procedure that updates again must not reach
  // the driver a second time.
  u32 code = AUDIO_ERROR_NONE;
  if (g_UpdateNesting++ == 0) code = g_Output.UpdateAudio(frames);
  --g_UpdateNesting;
  return code;
}

u32 AGetVersion() { return 0x0106; }

u32 AGetAudioDevCaps(u32 id, AudioCaps* caps) {
  if (!caps) return AUDIO_ERROR_INVALPARAM;
  *caps = AudioCaps();
  if (id >= kAudioMaxDevices || !g_Devices[id]) return AUDIO_ERROR_BADDEVICEID;
  const AudioDeviceRecord* device = g_Devices[id];
  if (device->output) return device->output->GetAudioCaps(caps);
  if (device->synth) return device->synth->GetAudioCaps(caps);
  return AUDIO_ERROR_BADDEVICEID;
}

u32 AGetErrorText(u32 code, char* text, u32 size) {
  // Nothing fits, not even the terminator.
  if (!text || size == 0) return AUDIO_ERROR_INVALPARAM;
  const bool known = code <= AUDIO_LAST_ERROR;
  const char* message = kErrorTexts[known ? code : 0];
  std::strncpy(text, message, size - 1);
  text[size - 1] = '\0';
  return known ? AUDIO_ERROR_NONE : AUDIO_ERROR_INVALPARAM;
}

u32 AResetAudioState(u32 value) {
  EnterClosedState();
  return value;
}

u32 AOpenVoices(u32 count) {
  std::memset(g_VoiceHandles, 0, sizeof g_VoiceHandles);
  const u32 code = g_Synth.OpenVoices(count);
  // The handle table holds 32, whatever a synthesizer accepts.
  if (code == AUDIO_ERROR_NONE) g_VoiceCount = count < kAudioMaxVoices ? count : kAudioMaxVoices;
  return code;
}

u32 ACloseVoices() {
  for (u32 i = 0; i < g_VoiceCount; ++i)
    if (g_VoiceHandles[i] != 0) return AUDIO_ERROR_NOTSUPPORTED;
  g_VoiceCount = 0;
  std::memset(g_VoiceHandles, 0, sizeof g_VoiceHandles);
  return g_Synth.CloseVoices();
}

u32 ACreateAudioVoice(u32* handle) {
  if (!handle) return AUDIO_ERROR_INVALPARAM;
  for (u32 i = 0; i < g_VoiceCount; ++i) {
    if (g_VoiceHandles[i] == 0) {
      g_VoiceHandles[i] = i + 1;
      *handle = i + 1;
      return AUDIO_ERROR_NONE;
    }
  }
  return AUDIO_ERROR_NOMEMORY;
}

u32 ADestroyAudioVoice(u32 handle) {
  // Handle 0 wraps to the largest value and is refused with the rest.
  if (handle - 1 >= g_VoiceCount) return AUDIO_ERROR_INVALHANDLE;
  g_VoiceHandles[handle - 1] = 0;
  return AUDIO_ERROR_NONE;
}

u32 APlayVoice(u32 handle, AudioWave* wave) {
  if (!wave) return AUDIO_ERROR_INVALHANDLE;
  u32 code = APrimeVoice(handle, wave);
  if (code == AUDIO_ERROR_NONE) code = ASetVoiceFrequency(handle, wave->rate);
  if (code == AUDIO_ERROR_NONE) code = AStartVoice(handle);
  return code;
}

u32 APrimeVoice(u32 handle, AudioWave* wave) { return g_Synth.PrimeVoice(handle - 1, wave); }
u32 AStartVoice(u32 handle) { return g_Synth.StartVoice(handle - 1); }
u32 AStopVoice(u32 handle) { return g_Synth.StopVoice(handle - 1); }
u32 ASetVoicePosition(u32 handle, u32 position) {
  return g_Synth.SetVoicePosition(handle - 1, position);
}
u32 ASetVoiceFrequency(u32 handle, u32 hertz) {
  return g_Synth.SetVoiceFrequency(handle - 1, hertz);
}
u32 ASetVoiceVolume(u32 handle, u32 volume) { return g_Synth.SetVoiceVolume(handle - 1, volume); }
u32 ASetVoicePanning(u32 handle, u32 panning) {
  return g_Synth.SetVoicePanning(handle - 1, panning);
}
u32 AGetVoicePosition(u32 handle, u32* out) { return g_Synth.GetVoicePosition(handle - 1, out); }
u32 AGetVoiceFrequency(u32 handle, u32* out) { return g_Synth.GetVoiceFrequency(handle - 1, out); }
u32 AGetVoiceVolume(u32 handle, u32* out) { return g_Synth.GetVoiceVolume(handle - 1, out); }
u32 AGetVoicePanning(u32 handle, u32* out) { return g_Synth.GetVoicePanning(handle - 1, out); }
u32 AGetVoiceStatus(u32 handle, u32* status) {
  return g_Synth.GetVoiceStatus(handle - 1, status);
}

u32 ASetAudioTimerProc(AudioTimerProc proc) { return g_Synth.SetAudioTimerProc(proc); }
u32 ASetAudioTimerRate(u32 bpm) { return g_Synth.SetAudioTimerRate(bpm); }
u32 ASetAudioMixerValue(u32 channel, u32 value) {
  return g_Synth.SetAudioMixerValue(channel, value);
}
u32 ASetAudioCallback(AudioFillProc fill) { return g_Output.SetAudioCallback(fill); }

u32 AGetAudioDataAvail() { return g_Synth.GetAudioDataAvail(); }

u32 ACreateAudioData(AudioWave* wave) {
  if (!wave) return AUDIO_ERROR_INVALPARAM;
  // 4 guard bytes behind the samples; sized in 64 bits so a length near
  // 4 GB cannot wrap to a small block.
  wave->data = static_cast<u8*>(std::malloc(static_cast<size_t>(wave->length) + 4));
  if (!wave->data) return AUDIO_ERROR_NOMEMORY;
  const u32 code = g_Synth.CreateAudioData(wave);
  if (code != AUDIO_ERROR_NONE) {
    std::free(wave->data);
    wave->data = nullptr;
  }
  return code;
}

u32 ADestroyAudioData(AudioWave* wave) {
  if (!wave) return AUDIO_ERROR_INVALHANDLE;
  const u32 code = g_Synth.DestroyAudioData(wave);
  std::free(wave->data);
  wave->data = nullptr;
  return code;
}

u32 AWriteAudioData(AudioWave* wave, u32 offset, u32 count) {
  if (!wave || !wave->data) return AUDIO_ERROR_INVALHANDLE;
  if (count == 0) return AUDIO_ERROR_INVALPARAM;
  return g_Synth.WriteAudioData(wave, offset, count);
}
