#include "draw/noise.h"

#include <cmath>

uint32_t Rng::next() {
  uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return uint32_t((z ^ (z >> 31)) >> 32);
}

float Rng::uniform() { return float(next() >> 8) / 16777216.f; }

static float lattice(int x, int y, uint32_t seed) {
  uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return float((h ^ (h >> 16)) & 0xFFFF) / 65535.f;
}

float periodicNoise(float x, float y, int period, uint32_t seed) {
  float fx = std::floor(x), fy = std::floor(y);
  int ix = int(fx), iy = int(fy);
  float tx = x - fx, ty = y - fy;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  auto at = [&](int i, int j) {
    return lattice(((i % period) + period) % period, ((j % period) + period) % period, seed);
  };
  float a = at(ix, iy), b = at(ix + 1, iy), c = at(ix, iy + 1), d = at(ix + 1, iy + 1);
  return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float fbm(float x, float y, int period, int octaves, uint32_t seed) {
  float sum = 0, weight = 0, amp = 1;
  for (int o = 0; o < octaves; ++o) {
    sum += amp * periodicNoise(x, y, period, seed + uint32_t(o) * 101u);
    weight += amp;
    x *= 2;
    y *= 2;
    period *= 2;
    amp *= 0.5f;
  }
  return sum / weight;
}
