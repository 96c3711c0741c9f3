#include "audio/wave_file.h"

#include <cstdio>
#include <new>

#include "audio/audio_file.h"

namespace {

// The first 16 bytes of the "fmt " chunk.
struct WaveFormat {
  u16 tag = 0;
  u16 channels = 0;
  u32 rate = 0;
  u32 bytesPerSecond = 0;
  u16 blockAlign = 0;
  u16 bits = 0;
};

void ReadFormat(WaveFormat* format) {
  IoReadWord(&format->tag);
  IoReadWord(&format->channels);
  IoReadLong(&format->rate);
  IoReadLong(&format->bytesPerSecond);
  IoReadWord(&format->blockAlign);
  IoReadWord(&format->bits);
}

// Walks the chunks up to "data", reading "fmt " on the way. On success the
// file stands at the first sample byte and *length holds the data chunk's
// padded length, cut to what the file holds.
u32 WalkChunks(WaveFormat* format, u32* length) {
  u32 riffId = 0, riffLength = 0, waveId = 0;
  IoReadLong(&riffId);
  IoReadLong(&riffLength);
  IoReadLong(&waveId);
  if (riffId != kRiffId || waveId != kWaveId) return AUDIO_ERROR_BADFILEFORMAT;
  // An unsigned count, as the files have it: a RIFF length smaller than
  // the chunks wraps around and the walk goes on to the end of the file.
  u32 remaining = riffLength + (riffLength & 1) - 4;
  if (remaining == 0) return AUDIO_ERROR_BADFILEFORMAT;
  const i64 fileSize = IoFileSize();
  for (;;) {
    if (IoTellFile() + 8 > fileSize) return AUDIO_ERROR_BADFILEFORMAT;
    u32 id = 0, n = 0;
    IoReadLong(&id);
    IoReadLong(&n);
    const u64 padded = u64{n} + (n & 1);
    remaining -= static_cast<u32>(8 + padded);
    if (id == kDataId) {
      const u64 held = static_cast<u64>(fileSize - IoTellFile());
      *length = static_cast<u32>(padded < held ? padded : held);
      return AUDIO_ERROR_NONE;
    }
    if (id == kFmtId) {
      // Shorter than its six fields: not a format this loader knows.
      if (padded < 16) return AUDIO_ERROR_BADFILEFORMAT;
      ReadFormat(format);
      IoSeekFile(static_cast<i64>(padded - 16), SEEK_CUR);
    } else {
      IoSeekFile(static_cast<i64>(padded), SEEK_CUR);
    }
    if (remaining == 0 || IoTellFile() >= fileSize) return AUDIO_ERROR_BADFILEFORMAT;
  }
}

// Reads the header and the samples into wave, which owns them on success.
u32 ReadWave(AudioWave* wave) {
  WaveFormat format;
  u32 length = 0;
  const u32 code = WalkChunks(&format, &length);
  if (code != AUDIO_ERROR_NONE) return code;
  if (format.tag != 1) return AUDIO_ERROR_BADFILEFORMAT;
  wave->length = length;
  wave->rate = static_cast<u16>(format.rate);
  wave->format = static_cast<u16>((format.bits == 8 ? 0 : AUDIO_WAVE_16BITS) |
                                  (format.channels == 1 ? 0 : AUDIO_WAVE_STEREO));
  const u32 created = ACreateAudioData(wave);
  if (created != AUDIO_ERROR_NONE) return created;
  IoReadBlock(wave->data, length);
  // 8-bit wave samples are unsigned; voices play signed ones.
  if (!(wave->format & AUDIO_WAVE_16BITS))
    for (u32 i = 0; i < length; ++i) wave->data[i] ^= 0x80;
  AWriteAudioData(wave, 0, length);
  return AUDIO_ERROR_NONE;
}

}  // namespace

u32 ALoadWaveFile(const char* name, AudioWave** wave, u32 offset) {
  if (!wave) return AUDIO_ERROR_INVALPARAM;
  *wave = nullptr;
  if (IoOpenFile(name) != AUDIO_ERROR_NONE) return AUDIO_ERROR_FILENOTFOUND;
  IoSeekFile(offset, SEEK_SET);
  AudioWave* record = new (std::nothrow) AudioWave();
  if (!record) {
    IoCloseFile();
    return AUDIO_ERROR_NOMEMORY;
  }
  const u32 code = ReadWave(record);
  IoCloseFile();
  if (code != AUDIO_ERROR_NONE) {
    AFreeWaveFile(record);
    return code;
  }
  *wave = record;
  return AUDIO_ERROR_NONE;
}

u32 AFreeWaveFile(AudioWave* wave) {
  const u32 code = ADestroyAudioData(wave);
  delete wave;
  return code;
}
