#ifndef ZY_TESTS_GAME_LINKS_H
#define ZY_TESTS_GAME_LINKS_H

class KSound;

// How many times playSample was called on `sound` since the last reset.
int soundPlays(const KSound *sound);
void resetSoundPlays();

#endif
