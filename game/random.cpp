#include "random.h"

namespace {
uint32_t randState = 1; // the library's default seed: an unseeded game draws the same sequence
}

void gameSrand(unsigned long seed) { randState = static_cast<uint32_t>(seed); }

int gameRand() {
  randState = randState * 1103515245u + 12345u; // wraps modulo 2^32
  return static_cast<int>((randState >> 16) & 0x7FFF);
}

uint32_t gameRandState() { return randState; }
