// Whole games through the scripted runner, counted in the game's own frames.
//
// playGame runs doGame in the entry's window; the script sees the game's frames, 0 first, and
// never the window's own frames before the game (the OpenGL window flips once as it opens, and
// the runner flips once more: the device draws from its first flip on, as after the menu).
//
// replayGame plays a whole game from a fixed seed and a fixed script, with a digest of the game's
// state after every frame: the same seed and script must give the same game, on either renderer.
// The scripted player sweeps the field in the eight directions with fire held. So that a replay
// reaches the later levels, it cannot lose (its shield is topped up when low), and once the level
// clock has run out it clears the field with the smart bomb of the bonuses.
#ifndef GAME_RUNS_H
#define GAME_RUNS_H

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "ScriptedGame.h"

// `beforeGame` runs just before doGame (a seed, say).
void playGame(ScriptedGame &game, const std::function<void(unsigned long frame)> &script,
              const std::function<void()> &beforeGame = {});

struct ReplayResult {
  std::vector<uint64_t> digests;        // one per game frame, 0 first
  std::map<unsigned long, Frame> shots; // the frames asked for, as shown
  int32_t lastLevel = 0;
  int32_t lastScore = 0;
  bool ranAway = false;
};

// Plays `frames` frames of the scripted game from `seed` on the renderer the environment picks
// (ZYPHORA_RENDERER), capturing the listed frames.
ReplayResult replayGame(uint32_t seed, unsigned long frames,
                        const std::vector<unsigned long> &captureAt = {});

// A digest of every table and counter of the game, and of the random generator.
uint64_t gameStateDigest();

// Mean absolute difference per channel of two frames of the same size (-1 if they differ).
double meanChannelDifference(const Frame &a, const Frame &b);

#endif
