// The game's sounds: fifteen effects and two music tracks, by file name under data/audio/.
#pragma once
#include <string>
#include <vector>

#include "sound/synth.h"

struct Effect {
  const char *file; // name under data/audio/
  Wave (*make)();
  float peakDb; // its mastered peak, dBFS
};
const std::vector<Effect> &effects();
// The effect made and brought to its mastered peak.
Wave mastered(const Effect &e);

// Music peaks this far under full scale (dBFS): under the effects, with room for them on top.
const float kMusicPeakDb = -12;
float dbToGain(float db);

// A music track as its left and right channels, a whole number of bars that loops seamlessly.
std::vector<Wave> menuMusic();
std::vector<Wave> ingameMusic();
