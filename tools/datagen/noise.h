// Deterministic randomness for grain and texture: a seeded generator and
// hash-based value noise, so the same build always paints the same bytes.
#pragma once

#include <cstdint>

namespace datagen {

// A small PCG-style generator with an explicit seed.
class Rng {
 public:
  explicit Rng(std::uint64_t seed) : state_(seed * 6364136223846793005ull + 1442695040888963407ull) {}
  std::uint32_t Next();
  // Uniform in [0, 1).
  float Uniform() { return (Next() >> 8) * (1.0f / 16777216.0f); }
  // Uniform in [lo, hi).
  float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

 private:
  std::uint64_t state_;
};

// A value in [0, 1) fixed by the integer lattice point and the seed.
float Hash2(int x, int y, std::uint32_t seed);
// Smooth value noise in [0, 1) on a unit lattice.
float ValueNoise(float x, float y, std::uint32_t seed);
// Sum of octaves of value noise, normalised to [0, 1).
float Fbm(float x, float y, std::uint32_t seed, int octaves);

}  // namespace datagen
