// The game's sounds: fifteen effects and two music tracks, by file name under data/audio/.
#pragma once
#include <string>
#include <vector>

#include "sound/synth.h"

struct Effect {
    const char* file;   // name under data/audio/
    Wave (*make)();
};
const std::vector<Effect>& effects();

// A music track as its left and right channels, a whole number of bars that loops seamlessly.
std::vector<Wave> menuMusic();
std::vector<Wave> ingameMusic();
