#include "tests/support/wav_analysis.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>

namespace testing_support {

namespace {

constexpr double kPi = 3.14159265358979323846;

std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

// Checks the format chunk: plain or extensible PCM, 16 bits, 1 to 8 channels.
bool ReadFormat(const std::uint8_t* p, std::uint32_t size, PcmSound& sound, std::string* error) {
  if (size < 16) return Fail(error, "format chunk too short");
  const std::uint16_t tag = Le16(p);
  if (tag != 1 && tag != 0xFFFE) return Fail(error, "not PCM");
  sound.channels = Le16(p + 2);
  sound.rate = static_cast<int>(std::min<std::uint32_t>(Le32(p + 4), 1000000));
  if (sound.channels < 1 || sound.channels > 8) return Fail(error, "unsupported channel count");
  if (sound.rate < 1000) return Fail(error, "unsupported rate");
  if (Le16(p + 14) != 16) return Fail(error, "not 16-bit");
  return true;
}

// In-place radix-2 FFT; the size is a power of two.
void Fft(std::vector<std::complex<double>>& a) {
  const size_t n = a.size();
  for (size_t i = 1, j = 0; i < n; ++i) {
    size_t bit = n >> 1;
    for (; j & bit; bit >>= 1) j ^= bit;
    j |= bit;
    if (i < j) std::swap(a[i], a[j]);
  }
  for (size_t len = 2; len <= n; len <<= 1) {
    const std::complex<double> step = std::polar(1.0, -2 * kPi / static_cast<double>(len));
    for (size_t i = 0; i < n; i += len) {
      std::complex<double> w = 1;
      for (size_t k = 0; k < len / 2; ++k, w *= step) {
        const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
        a[i + k] = u + v;
        a[i + k + len / 2] = u - v;
      }
    }
  }
}

// Power per FFT bin, averaged over half-overlapping Hann windows; a signal
// shorter than one window is zero-padded.
std::vector<double> PowerSpectrum(const Signal& signal, size_t size) {
  std::vector<double> power(size / 2 + 1, 0.0);
  const size_t hop = size / 2;
  size_t start = 0;
  do {
    std::vector<std::complex<double>> block(size);
    for (size_t i = 0; i < size && start + i < signal.samples.size(); ++i) {
      const double hann = 0.5 - 0.5 * std::cos(2 * kPi * static_cast<double>(i) / size);
      block[i] = signal.samples[start + i] * hann;
    }
    Fft(block);
    for (size_t k = 0; k < power.size(); ++k) power[k] += std::norm(block[k]);
    start += hop;
  } while (start + size <= signal.samples.size());
  return power;
}

}  // namespace

bool ParseWav(const std::vector<std::uint8_t>& bytes, PcmSound& sound, std::string* error) {
  if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 ||
      std::memcmp(bytes.data() + 8, "WAVE", 4) != 0) {
    return Fail(error, "not a RIFF WAVE file");
  }
  PcmSound read;
  bool haveFormat = false;
  size_t pos = 12;
  while (pos + 8 <= bytes.size()) {
    const std::uint8_t* chunk = bytes.data() + pos;
    // Sizes in 64 bits: a chunk may claim up to 4 GiB.
    const std::uint64_t size = Le32(chunk + 4);
    const std::uint64_t available = bytes.size() - pos - 8;
    if (std::memcmp(chunk, "fmt ", 4) == 0) {
      if (size > available) return Fail(error, "format chunk past the end");
      if (!ReadFormat(chunk + 8, static_cast<std::uint32_t>(size), read, error)) return false;
      haveFormat = true;
    } else if (std::memcmp(chunk, "data", 4) == 0) {
      if (!haveFormat) return Fail(error, "data before format");
      const size_t frameBytes = 2u * read.channels;
      const size_t usable =
          static_cast<size_t>(std::min(size, available)) / frameBytes * frameBytes;
      read.samples.resize(usable / 2);
      for (size_t i = 0; i < read.samples.size(); ++i) {
        read.samples[i] = static_cast<std::int16_t>(Le16(chunk + 8 + 2 * i));
      }
      sound = std::move(read);
      return true;
    }
    pos += 8 + static_cast<size_t>(std::min(size + (size & 1), available));
  }
  return Fail(error, haveFormat ? "no data chunk" : "no format chunk");
}

bool ReadWav(const std::string& path, PcmSound& sound, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, "cannot open the file");
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                        std::istreambuf_iterator<char>());
  return ParseWav(bytes, sound, error);
}

std::vector<std::uint8_t> EncodeWav(const PcmSound& sound) {
  const std::uint32_t dataBytes = static_cast<std::uint32_t>(sound.samples.size() * 2);
  const std::uint16_t channels = static_cast<std::uint16_t>(sound.channels);
  std::vector<std::uint8_t> out = {'R', 'I', 'F', 'F'};
  Put32(out, 36 + dataBytes);
  for (char c : std::string("WAVEfmt ")) out.push_back(static_cast<std::uint8_t>(c));
  Put32(out, 16);
  Put16(out, 1);
  Put16(out, channels);
  Put32(out, static_cast<std::uint32_t>(sound.rate));
  Put32(out, static_cast<std::uint32_t>(sound.rate) * channels * 2);
  Put16(out, static_cast<std::uint16_t>(channels * 2));
  Put16(out, 16);
  for (char c : std::string("data")) out.push_back(static_cast<std::uint8_t>(c));
  Put32(out, dataBytes);
  for (std::int16_t s : sound.samples) Put16(out, static_cast<std::uint16_t>(s));
  return out;
}

Signal Signal::Slice(size_t from, size_t count) const {
  Signal part;
  part.rate = rate;
  from = std::min(from, samples.size());
  count = std::min(count, samples.size() - from);
  part.samples.assign(samples.begin() + from, samples.begin() + from + count);
  return part;
}

Signal ToMono(const PcmSound& sound) {
  Signal mono;
  mono.rate = sound.rate;
  mono.samples.resize(sound.Frames());
  for (size_t f = 0; f < mono.samples.size(); ++f) {
    double sum = 0;
    for (int c = 0; c < sound.channels; ++c) sum += sound.samples[f * sound.channels + c];
    mono.samples[f] = sum / sound.channels / 32768.0;
  }
  return mono;
}

Signal Resample(const Signal& signal, int rate) {
  if (signal.rate == rate || signal.rate <= 0 || signal.samples.empty()) {
    Signal same = signal;
    same.rate = rate;
    return same;
  }
  Signal out;
  out.rate = rate;
  const size_t count = static_cast<size_t>(
      static_cast<std::uint64_t>(signal.samples.size()) * rate / signal.rate);
  out.samples.resize(count);
  const double step = static_cast<double>(signal.rate) / rate;
  for (size_t i = 0; i < count; ++i) {
    const double at = i * step;
    const size_t k = static_cast<size_t>(at);
    const double next = k + 1 < signal.samples.size() ? signal.samples[k + 1] : signal.samples[k];
    out.samples[i] = signal.samples[k] + (next - signal.samples[k]) * (at - k);
  }
  return out;
}

PcmSound ToPcm(const Signal& signal, int channels) {
  PcmSound pcm;
  pcm.rate = signal.rate;
  pcm.channels = channels;
  pcm.samples.reserve(signal.samples.size() * channels);
  for (double s : signal.samples) {
    const double scaled = std::clamp(std::round(s * 32768.0), -32768.0, 32767.0);
    pcm.samples.insert(pcm.samples.end(), channels, static_cast<std::int16_t>(scaled));
  }
  return pcm;
}

std::vector<size_t> FindOnsets(const Signal& signal, const OnsetOptions& options) {
  const size_t quietNeeded = static_cast<size_t>(options.quietMs * signal.rate / 1000.0);
  std::vector<size_t> onsets;
  size_t quiet = quietNeeded;  // the start of the signal counts as quiet
  for (size_t i = 0; i < signal.samples.size(); ++i) {
    if (std::fabs(signal.samples[i]) < options.threshold) {
      ++quiet;
      continue;
    }
    if (quiet >= quietNeeded) onsets.push_back(i);
    quiet = 0;
  }
  return onsets;
}

bool IsSilent(const Signal& signal, double threshold) {
  return std::none_of(signal.samples.begin(), signal.samples.end(),
                      [threshold](double s) { return std::fabs(s) >= threshold; });
}

double Rms(const Signal& signal) {
  if (signal.samples.empty()) return 0;
  double sum = 0;
  for (double s : signal.samples) sum += s * s;
  return std::sqrt(sum / static_cast<double>(signal.samples.size()));
}

double RmsDb(const Signal& signal) {
  const double rms = Rms(signal);
  return rms > 0 ? 20 * std::log10(rms) : -std::numeric_limits<double>::infinity();
}

std::vector<double> BandEnergies(const Signal& signal, const std::vector<double>& edgesHz) {
  constexpr size_t kSize = 2048;
  std::vector<double> bands(edgesHz.size() > 1 ? edgesHz.size() - 1 : 0, 0.0);
  if (bands.empty() || signal.rate <= 0) return bands;
  const std::vector<double> power = PowerSpectrum(signal, kSize);
  double total = 0;
  for (size_t k = 0; k < power.size(); ++k) {
    const double hz = static_cast<double>(k) * signal.rate / kSize;
    for (size_t b = 0; b < bands.size(); ++b) {
      if (hz >= edgesHz[b] && hz < edgesHz[b + 1]) {
        bands[b] += power[k];
        total += power[k];
        break;
      }
    }
  }
  if (total > 0) {
    for (double& b : bands) b /= total;
  }
  return bands;
}

const std::vector<double>& DefaultBandEdges() {
  static const std::vector<double> edges = {0, 125, 250, 500, 1000, 2000, 4000, 8000, 11025};
  return edges;
}

double BandDistance(const std::vector<double>& a, const std::vector<double>& b) {
  double sum = 0;
  for (size_t i = 0; i < std::max(a.size(), b.size()); ++i) {
    sum += std::fabs((i < a.size() ? a[i] : 0) - (i < b.size() ? b[i] : 0));
  }
  return sum / 2;
}

Alignment Align(const Signal& whole, const Signal& part, size_t around, size_t radius) {
  Alignment best;
  best.correlation = -2;
  double partEnergy = 0;
  for (double s : part.samples) partEnergy += s * s;
  const size_t first = around > radius ? around - radius : 0;
  const size_t last = std::min(around + radius, whole.samples.size() - 1);
  for (size_t offset = first; offset <= last && !whole.samples.empty(); ++offset) {
    const size_t n = std::min(part.samples.size(), whole.samples.size() - offset);
    double dot = 0, wholeEnergy = 0;
    for (size_t i = 0; i < n; ++i) {
      dot += whole.samples[offset + i] * part.samples[i];
      wholeEnergy += whole.samples[offset + i] * whole.samples[offset + i];
    }
    const double norm = std::sqrt(wholeEnergy * partEnergy);
    const double correlation = norm > 0 ? dot / norm : 0;
    if (correlation > best.correlation) best = {offset, correlation};
  }
  if (best.correlation < -1) best.correlation = 0;
  return best;
}

}  // namespace testing_support
