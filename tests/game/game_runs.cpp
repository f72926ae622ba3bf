#include "game_runs.h"

#include <algorithm>
#include <cstdlib>
#include <iterator>

#include "KWindow.h"
#include "aliens.h"
#include "game.h"

namespace {

// FNV-1a over bytes, continuing from `h`. The tables are static, so their padding is zero.
uint64_t mix(uint64_t h, const void *data, size_t size) {
  const unsigned char *p = static_cast<const unsigned char *>(data);
  for (size_t i = 0; i < size; i++) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

template <typename T> uint64_t mixValue(uint64_t h, const T &value) {
  return mix(h, &value, sizeof value);
}

// The player's keys for a game frame: a new direction every 45 frames, fire held until the last
// 30 frames, which let the ship's autofire counter come back to rest (it outlives the game).
Input playerInput(unsigned long frame, unsigned long frames) {
  static const int directions[8][2] = {
      {VK_UP, 0},   {VK_UP, VK_RIGHT},  {VK_RIGHT, 0}, {VK_DOWN, VK_RIGHT},
      {VK_DOWN, 0}, {VK_DOWN, VK_LEFT}, {VK_LEFT, 0},  {VK_UP, VK_LEFT},
  };
  // Co-prime steps so the sweep does not settle into one corner.
  const int *dir = directions[(frame / 45 * 3) % 8];
  Input in;
  in.keys.push_back(dir[0]);
  if (dir[1]) in.keys.push_back(dir[1]);
  if (frame + 30 < frames) in.keys.push_back(frame % 300 < 150 ? VK_SPACE : VK_LCONTROL);
  return in;
}

// Live entries only, each with its slot: a free slot's leftovers are not part of the game.
template <typename T, size_t N, typename Live>
uint64_t mixLive(uint64_t h, const T (&table)[N], Live live) {
  for (size_t i = 0; i < N; i++)
    if (live(table[i])) h = mixValue(mixValue(h, i), table[i]);
  return mixValue(h, N);
}

} // namespace

uint64_t gameStateDigest() {
  uint64_t h = 14695981039346656037ull;
  h = mixValue(h, myShip);
  auto shot = [](const sBullet &b) { return b.active; };
  auto fading = [](const auto &e) { return e.alpha > 0; };
  h = mixLive(h, bulletShip, shot);
  h = mixLive(h, bulletEnnemy, shot);
  h = mixLive(h, allAliens, [](const sAlien &a) { return a.alive; });
  h = mixLive(h, bonuses, [](const sBonus &b) { return b.active; });
  h = mixLive(h, particles, fading);
  h = mixLive(h, allFloatingScores, fading);
  h = mixLive(h, reactors, fading);
  h = mix(h, gameGridForDeform, sizeof(sGameGridPoint) * GAME_GRID_ROWS * GAME_GRID_COLUMNS);
  const int32_t counters[] = {gCurrentBackground,  gLevel,      gScore,       gNextBonus,
                              gNextBonusIncrement, gDifficulty, gBulletRatio, gAlienChoice,
                              gSpeedScore,         gShieldScore};
  h = mixValue(h, counters);
  h = mixValue(h, gLevelTimer);
  return mixValue(h, gameRandState());
}

void playGame(ScriptedGame &game, const std::function<void(unsigned long)> &script,
              const std::function<void()> &beforeGame) {
  bool playing = false;
  unsigned long frame = 0;
  game.onFrame = [&](unsigned long) {
    if (playing) script(frame++);
  };
  game.runWithWindow([&] {
    gameWindow->flipBackBuffer(true, true);
    if (beforeGame) beforeGame();
    playing = true;
    doGame();
    playing = false;
  });
  game.onFrame = nullptr;
}

ReplayResult replayGame(uint32_t seed, unsigned long frames,
                        const std::vector<unsigned long> &captureAt) {
  ReplayResult result;
  result.digests.reserve(frames);
  ScriptedGame game;
  game.maxFrames = frames + 20;
  auto script = [&](unsigned long frame) {
    result.digests.push_back(gameStateDigest());
    for (unsigned long at : captureAt)
      if (at == frame) result.shots[at] = game.capture();
    if (frame + 1 >= frames) {
      game.setInput({{VK_ESCAPE}});
      return;
    }
    // The script's part, between two frames: the input, the shield, the bomb.
    game.setInput(playerInput(frame + 1, frames));
    if (myShip.shield < 4) myShip.shield = 10;
    if (gLevelTimer <= 0) killAllAliens();
  };
  playGame(game, script, [&] {
    // What outlives a game starts as in a new program: no particle, the rewards at 50.
    std::fill(std::begin(particles), std::end(particles), sParticle{});
    gSpeedScore = gShieldScore = 50;
    gameSrand(seed);
    game.setInput(playerInput(0, frames));
  });
  result.lastLevel = gLevel;
  result.lastScore = gScore;
  result.ranAway = game.ranAway();
  return result;
}

double meanChannelDifference(const Frame &a, const Frame &b) {
  if (a.width != b.width || a.height != b.height || a.pixels.empty()) return -1;
  uint64_t sum = 0;
  for (size_t i = 0; i < a.pixels.size(); i++)
    for (int shift : {0, 8, 16}) {
      int ca = (a.pixels[i] >> shift) & 0xFF, cb = (b.pixels[i] >> shift) & 0xFF;
      sum += (uint64_t)std::abs(ca - cb);
    }
  return (double)sum / (3.0 * a.pixels.size());
}
