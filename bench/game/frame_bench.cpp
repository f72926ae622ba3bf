// One whole frame of the game (background mesh, aliens, their shots, spawning, ship, its shots,
// collisions, gauges, score, banner, present) on each renderer, uncapped. Before every frame
// the game's own tables are topped up to the scene's counts through the game's own functions,
// because the frame itself moves, kills and spawns things; only gameFrame is timed.
//   typical: 30 aliens, 150 particles, 40 alien shots + 20 ship shots
//   worst:   every pool full: 500 aliens, 1000 particles, 500 alien shots, 100 ship shots
// The background is always the 240-cell mesh. The software Direct3D device runs headless
// (SDL_VIDEODRIVER=dummy), once per drawing mode (threads:1 draws on the game's thread, threads:2
// in two bands on two threads) and pixel arithmetic (pixels:0 AVX2, 1 SSE2, 2 plain C++);
// the OpenGL case needs an X display and is skipped without one.
// Reported: mean wall-clock ms per frame (Time), its 95th percentile (p95_ms), the main thread's
// processor time per frame (cpu_ms: with threads:1 all of the frame on the software device; on
// OpenGL the driver's threads and the X server are not in it), and on the software device the
// pixels its triangles covered per frame (kpx) and the processor time per covered pixel
// (ns_per_px, with threads:1), and the target. From build/bin, the software device:
//   SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy ./bench_game_frame --benchmark_filter=D3D
// and OpenGL on Mesa's software renderer:
//   LIBGL_ALWAYS_SOFTWARE=1 SDL_AUDIODRIVER=dummy xvfb-run -a ./bench_game_frame
//     --benchmark_filter=OpenGL                                           (one command)
#include <algorithm>
#include <chrono>
#include <vector>

#include "../bench_clock.h"
#include "../bench_window.h"
#include "aliens.h"
#include "ddraw.h"
#include "game.h"

namespace {

struct Scene {
  int aliens, particles, alienShots, shipShots;
  double targetMs; // on the software device, one core
};
const char *const PIXEL_ARITHMETIC[] = {"avx2", "sse2", "portable"};

const Scene SCENES[] = {
    {30, 150, 40, 20, 2.0},     // typical
    {500, 1000, 500, 100, 8.0}, // worst: half a 60 Hz frame on one core
};

// How each pool tells a live entry, and frees one the way the game does.
bool isLive(const sAlien &a) { return a.alive; }
bool isLive(const sBullet &b) { return b.active; }
bool isLive(const sParticle &p) { return p.alpha > 0; }
void release(sAlien &a) { a.alive = false; }
void release(sBullet &b) { b.active = false; }
void release(sParticle &p) { p.alpha = 0; }

template <class T, size_t N> int liveCount(const T (&pool)[N]) {
  return (int)std::count_if(pool, pool + N, [](const T &x) { return isLive(x); });
}
// Kills make bursts of particles and aliens fire at will: the excess goes.
template <class T, size_t N> void keepAtMost(T (&pool)[N], int n) {
  for (T &x : pool)
    if (isLive(x) && n-- <= 0) release(x);
}

// The i-th live alien, round robin, as the source of new shots and particles.
sAlien *someAlien(int i) {
  std::vector<sAlien *> alive;
  for (sAlien &a : allAliens)
    if (a.alive) alive.push_back(&a);
  return alive[i % alive.size()];
}

void topUp(const Scene &s, KGraphic *sprites) {
  myShip.shield = 10; // alive whatever struck it (and a dead ship draws no fire)
  keepAtMost(allAliens, s.aliens);
  keepAtMost(particles, s.particles);
  keepAtMost(bulletEnnemy, s.alienShots);
  keepAtMost(bulletShip, s.shipShots);
  // Spawning: from level 14 on every kind is drawn; a difficulty of 1 spawns on every call.
  gLevel = 14;
  gDifficulty = 1;
  gLevelTimer = 50;
  while (liveCount(allAliens) < s.aliens) addAlien();
  for (sAlien &a : allAliens)
    if (a.alive && a.arrival < 1) { // finished at once, by the arrival's own last step
      a.arrival = 0.73f;
      doArrival(&a, sprites);
    }
  // A finished level with aliens left neither spawns nor changes level, and hides the banner.
  gLevelTimer = 0;
  for (int i = 0; liveCount(particles) < s.particles; i++) addParticles(someAlien(i));
  for (int i = 0; liveCount(bulletEnnemy) < s.alienShots; i++) addEnemyBullet(someAlien(i));
  // The ship stands still (no keys): its shots start all over the field, in every direction.
  while (liveCount(bulletShip) < s.shipShots)
    addShipBullet((float)(gameRand() % 448), (float)(gameRand() % 448), (float)(gameRand() % 360));
}

void gameFrames(benchmark::State &state, Erenderer renderer) {
  bool software = renderer == K_DIRECTX;
  if (software) {
    zyDDrawSetRasterThreads((int)state.range(1));
    if (!zyDDrawUsePixels(PIXEL_ARITHMETIC[state.range(2)])) {
      state.SkipWithError("this pixel arithmetic is not built in or not run by the processor");
      return;
    }
  }
  if (!openBenchWindow(state, renderer)) return;
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
  double cpu = 0;
  unsigned long long pixels = 0;
  for (auto _ : state) {
    topUp(scene, screen.surf_sprites);
    double cpu0 = threadCpuSeconds();
    unsigned long long pixels0 = zyDDrawPixelsDrawn();
    auto t0 = std::chrono::steady_clock::now();
    gameFrame(screen);
    std::chrono::duration<double> took = std::chrono::steady_clock::now() - t0;
    cpu += threadCpuSeconds() - cpu0;
    pixels += zyDDrawPixelsDrawn() - pixels0;
    state.SetIterationTime(took.count());
    ms.push_back(took.count() * 1000);
  }
  std::sort(ms.begin(), ms.end());
  double frames = (double)ms.size();
  state.counters["p95_ms"] = ms[ms.size() * 95 / 100];
  state.counters["cpu_ms"] = cpu * 1000 / frames;
  if (software) {
    state.counters["kpx"] = (double)pixels / frames / 1000;
    if (state.range(1) == 1) state.counters["ns_per_px"] = cpu * 1e9 / (double)pixels;
    state.counters["target_ms"] = scene.targetMs;
  }
  freeGamePictures(screen);
  closeBenchWindow();
  zyDDrawSetRasterThreads(2);
  zyDDrawUsePixels(nullptr);
}

void BM_GameFrameD3D(benchmark::State &s) { gameFrames(s, K_DIRECTX); }
void BM_GameFrameOpenGL(benchmark::State &s) { gameFrames(s, K_OPENGL); }

// Two seconds of frames at least, so the percentile rests on a hundred of them or more.
void timing(benchmark::internal::Benchmark *b) {
  b->UseManualTime()->MinTime(2)->Unit(benchmark::kMillisecond);
}
void softwareCases(benchmark::internal::Benchmark *b) {
  b->ArgNames({"worst", "threads", "pixels"})->ArgsProduct({{0, 1}, {1, 2}, {0, 1, 2}});
  timing(b);
}
void openGLCases(benchmark::internal::Benchmark *b) {
  b->ArgName("worst")->Arg(0)->Arg(1);
  timing(b);
}

} // namespace

BENCHMARK(BM_GameFrameD3D)->Apply(softwareCases);
BENCHMARK(BM_GameFrameOpenGL)->Apply(openGLCases);

BENCHMARK_MAIN();
