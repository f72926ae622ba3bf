// The title menu's frame (background, 224 mesh quads, title, items, the options panel or the
// high-score table, the bottom line, the present) on each renderer, uncapped. Arguments: the
// highlighted item (1 options, 2 table) and whether the sheet is smoothed (1, as at start-up) or
// sampled at the nearest texel (0, as after a game). The software Direct3D device runs
// headless; the OpenGL case needs an X display and is skipped without one.
#include "../bench_window.h"
#include "menu.h"

namespace {

void menuFrames(benchmark::State &state, Erenderer renderer) {
  if (!openBenchWindow(state, renderer)) return;
  MenuScreen screen;
  screen.surf_bg = loadMenuSheet();
  if (state.range(1)) screen.surf_bg->setTextureQuality(true);
  initGrid();
  gMenuActive = static_cast<int32_t>(state.range(0));
  for (auto _ : state) menuFrame(screen);
  delete screen.surf_bg;
  closeBenchWindow();
}

void BM_MenuFrameD3D(benchmark::State &s) { menuFrames(s, K_DIRECTX); }
void BM_MenuFrameOpenGL(benchmark::State &s) { menuFrames(s, K_OPENGL); }

void menuCases(benchmark::internal::Benchmark *b) {
  b->ArgNames({"item", "smooth"})->Unit(benchmark::kMillisecond);
  for (int item : {1, 2})
    for (int smooth : {1, 0}) b->Args({item, smooth});
}

} // namespace

BENCHMARK(BM_MenuFrameD3D)->Apply(menuCases);
BENCHMARK(BM_MenuFrameOpenGL)->Apply(menuCases);

BENCHMARK_MAIN();
