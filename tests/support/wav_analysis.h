// Sound files for tests: reading and encoding 16-bit PCM WAVE files, and the
// measures a test compares a recording with its source by: where sounds
// start after silence, how loud they are, how their energy spreads over a
// few frequency bands, and how well two waves line up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace testing_support {

// Interleaved 16-bit samples, `channels` per frame.
struct PcmSound {
  int rate = 0;
  int channels = 0;
  std::vector<std::int16_t> samples;

  size_t Frames() const { return channels > 0 ? samples.size() / channels : 0; }
  double DurationMs() const { return rate > 0 ? 1000.0 * Frames() / rate : 0; }
};

// Parses a RIFF WAVE image holding 16-bit PCM (1 to 8 channels). False with
// the reason in *error for anything else or a broken structure; a data
// chunk that claims more than the file holds is cut to what is there.
bool ParseWav(const std::vector<std::uint8_t>& bytes, PcmSound& sound,
              std::string* error = nullptr);
bool ReadWav(const std::string& path, PcmSound& sound, std::string* error = nullptr);
// The file image of a sound (write it with WriteFile).
std::vector<std::uint8_t> EncodeWav(const PcmSound& sound);

// A mono signal in [-1, 1) at a sample rate: what the measures work on.
struct Signal {
  int rate = 0;
  std::vector<double> samples;

  double DurationMs() const { return rate > 0 ? 1000.0 * samples.size() / rate : 0; }
  // The part from frame `from` on, at most `count` frames long.
  Signal Slice(size_t from, size_t count) const;
};

// The channels averaged into one.
Signal ToMono(const PcmSound& sound);
// Linear interpolation to another rate (enough to compare 22050 Hz effect
// files with a 44100 Hz recording).
Signal Resample(const Signal& signal, int rate);
// Back to 16-bit frames with `channels` copies of each sample.
PcmSound ToPcm(const Signal& signal, int channels);

// Sample index at which a sound starts: the first sample at or above
// `threshold` in magnitude after at least `quietMs` of samples below it
// (the very start of the signal counts as quiet).
struct OnsetOptions {
  double threshold = 0.01;  // about -40 dB of full scale
  double quietMs = 15;
};
std::vector<size_t> FindOnsets(const Signal& signal, const OnsetOptions& options = OnsetOptions());
// Whether any sample reaches the threshold.
bool IsSilent(const Signal& signal, double threshold = OnsetOptions().threshold);

// Root mean square level, linear and in dB of full scale (-inf for silence).
double Rms(const Signal& signal);
double RmsDb(const Signal& signal);

// Share of the signal's energy in each band between consecutive edges (Hz),
// from Hann-windowed 2048-point FFTs averaged over the signal. The shares
// add up to 1 for anything but silence.
std::vector<double> BandEnergies(const Signal& signal, const std::vector<double>& edgesHz);
// Bands an octave wide from 125 Hz up to 11025 Hz, the range that effect
// files at 22050 Hz can hold.
const std::vector<double>& DefaultBandEdges();
// Half the summed absolute difference of two band shares: 0 for the same
// spread, 1 for energy in disjoint bands.
double BandDistance(const std::vector<double>& a, const std::vector<double>& b);

// Where `part` fits best in `whole` near frame `around` (searching
// +-radius frames), with the normalised correlation there (1 = same shape).
// Both signals must have the same rate.
struct Alignment {
  size_t offset = 0;
  double correlation = 0;
};
Alignment Align(const Signal& whole, const Signal& part, size_t around, size_t radius);

}  // namespace testing_support
