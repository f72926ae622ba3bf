// The game's own random generator.
//
// Every random draw of the game (alien kinds, spawn chances, particles, grid changes) comes from
// this linear congruential generator: state = state * 1103515245 + 12345 (mod 2^32), and each draw
// returns bits 16 to 30 of the new state, 0 .. GAME_RAND_MAX. The C library's rand() is a different
// generator on this platform, so the game keeps its own, under names that do not shadow the
// library's. The title menu reseeds it from the millisecond clock on every frame.
#ifndef ZYPHORA_RANDOM_H
#define ZYPHORA_RANDOM_H

#include <cstdint>

constexpr int GAME_RAND_MAX = 32767;

// Restarts the sequence from `seed` (only its low 32 bits count).
void gameSrand(unsigned long seed);

// Advances the state and returns the next value, 0 .. GAME_RAND_MAX.
int gameRand();

// The current 32-bit state, for tests and replays.
uint32_t gameRandState();

#endif
