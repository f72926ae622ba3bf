// Seeded randomness for the artwork: the same seed gives the same picture on every run.
#pragma once
#include <cstdint>

class Rng {
public:
  explicit Rng(uint64_t seed) : s_(seed) {}
  uint32_t next(); // splitmix64, upper bits
  float uniform(); // 0 ≤ u < 1
  float range(float lo, float hi) { return lo + (hi - lo) * uniform(); }

private:
  uint64_t s_;
};

// Smooth value noise that repeats every `period` units on both axes (period a whole number).
float periodicNoise(float x, float y, int period, uint32_t seed);
// Octaves of it, each twice finer and half as strong; the result stays in 0..1.
float fbm(float x, float y, int period, int octaves, uint32_t seed);
