// One whole frame of the game (background mesh, aliens, their shots, spawning, ship, its shots,
// collisions, gauges, score, banner, present) on each renderer, uncapped. Before every frame
// the game's own tables are topped up to the scene's counts through the game's own functions,
// because the frame itself moves, kills and spawns things; only gameFrame is timed.
//   typical: 30 aliens, 150 particles, 40 alien shots + 20 ship shots
//   worst:   every pool full: 500 aliens, 1000 particles, 500 alien shots, 100 ship shots
// The background is always the 240-cell mesh. The software Direct3D device runs headless
// (SDL_VIDEODRIVER=dummy); the OpenGL case needs an X display and is skipped without one.
// Reported: mean ms per frame (Time), 99th percentile (p99_ms), the target (target_ms).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

#include "KMiscTools.h"
#include "KQRX.h"
#include "aliens.h"
#include "game.h"

namespace {

struct Scene {
  int aliens, particles, alienShots, shipShots;
  double targetMs; // on the software device, one core
};
const Scene SCENES[] = {
    {30, 150, 40, 20, 4.0},     // typical
    {500, 1000, 500, 100, 16.7}, // worst: one 60 Hz frame
};

int countAlive(const sAlien *a, int n) { return (int)std::count_if(a, a + n, [](const sAlien &x) { return x.alive; }); }
int countActive(const sBullet *b, int n) { return (int)std::count_if(b, b + n, [](const sBullet &x) { return x.active; }); }
int countLit(const sParticle *p, int n) { return (int)std::count_if(p, p + n, [](const sParticle &x) { return x.alpha > 0; }); }

// The i-th live alien, round robin, as the source of new shots and particles.
sAlien *someAlien(int i) {
  std::vector<sAlien *> alive;
  for (sAlien &a : allAliens)
    if (a.alive) alive.push_back(&a);
  return alive[i % alive.size()];
}

void topUp(const Scene &s, KGraphic *sprites) {
  myShip.shield = 10; // alive whatever struck it (and a dead ship draws no fire)
  // Spawning: from level 14 on every kind is drawn; a difficulty of 1 spawns on every call.
  gLevel = 14;
  gDifficulty = 1;
  gLevelTimer = 50;
  while (countAlive(allAliens, MAX_ALIENS) < s.aliens) addAlien();
  for (sAlien &a : allAliens)
    if (a.alive && a.arrival < 1) { // finished at once, by the arrival's own last step
      a.arrival = 0.73f;
      doArrival(&a, sprites);
    }
  // A finished level with aliens left neither spawns nor changes level, and hides the banner.
  gLevelTimer = 0;
  for (int i = 0; countLit(particles, MAX_PARTICLES) < s.particles; i++) addParticles(someAlien(i));
  for (int i = 0; countActive(bulletEnnemy, MAX_ENEMY_BULLETS) < s.alienShots; i++) addEnemyBullet(someAlien(i));
  while (countActive(bulletShip, MAX_SHIP_BULLETS) < s.shipShots)
    addShipBullet((float)(gameRand() % 448), (float)(gameRand() % 448), (float)(gameRand() % 360));
}

void gameFrames(benchmark::State &state, Erenderer renderer) {
  KMiscTools::initMiscTools();
  setenv("vblank_mode", "0", 0); // Mesa: no wait for the vertical blank in the buffer swap
  gameWindow = KQRX::createKWindow(renderer, false);
  if (!gameWindow->createGameWindow(480, 480, -1, true, "Zyphora")) {
    state.SkipWithError("no window on this renderer here");
    delete gameWindow;
    gameWindow = nullptr;
    return;
  }
  gameWindow->setMaxFrameRate(0); // the 60 Hz cap is not part of the frame
  loadSounds();
  sGameScreen screen;
  loadGamePictures(screen);
  resetGame();
  gameSrand(1);
  screen.fadeToWhite = 0; // the veil of the first ten frames only
  const Scene &scene = SCENES[state.range(0)];
  for (int i = 0; i < 60; i++) { // a second of play first, so shots and particles spread out
    topUp(scene, screen.surf_sprites);
    gameFrame(screen);
  }
  std::vector<double> ms;
  for (auto _ : state) {
    topUp(scene, screen.surf_sprites);
    auto t0 = std::chrono::steady_clock::now();
    gameFrame(screen);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - t0;
    state.SetIterationTime(took.count());
    ms.push_back(took.count() * 1000);
  }
  std::sort(ms.begin(), ms.end());
  state.counters["p99_ms"] = ms[ms.size() * 99 / 100];
  state.counters["target_ms"] = scene.targetMs;
  freeGamePictures(screen);
  freeSounds();
  delete gameWindow;
  gameWindow = nullptr;
}

void BM_GameFrameD3D(benchmark::State &s) { gameFrames(s, K_DIRECTX); }
void BM_GameFrameOpenGL(benchmark::State &s) { gameFrames(s, K_OPENGL); }

void sceneCases(benchmark::internal::Benchmark *b) {
  b->ArgName("worst")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_GameFrameD3D)->Apply(sceneCases);
BENCHMARK(BM_GameFrameOpenGL)->Apply(sceneCases);

BENCHMARK_MAIN();
