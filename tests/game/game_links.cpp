// What the ship and mesh code links against outside its own files, for the unit tests:
// a KSound that only counts its plays, and the sound bank's pointers that the code uses.
#include "game_links.h"

#include <map>

#include "KSound.h"

namespace {
std::map<const KSound *, int> plays;
}

KSound::KSound() {}
KSound::~KSound() {}
void KSound::playSample() { plays[this]++; }
void KSound::setVolume(int) {}
bool KSound::isPlaying() { return false; }

int soundPlays(const KSound *sound) {
  auto it = plays.find(sound);
  return it == plays.end() ? 0 : it->second;
}
void resetSoundPlays() { plays.clear(); }

KSound *snd_shipshot = new KSound();
KSound *snd_changeBackground = new KSound();
