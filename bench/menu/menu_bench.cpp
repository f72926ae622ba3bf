// The title menu's frame (background, 224 mesh quads, title, items, the options panel or the
// high-score table, the bottom line, the present) on each renderer, uncapped. The software
// Direct3D device runs headless; the OpenGL case needs an X display and is skipped without one.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "KMiscTools.h"
#include "KQRX.h"
#include "KSound.h"
#include "menu.h"
#include "zyphora.h"

namespace {

void menuFrames(benchmark::State &state, Erenderer renderer, int32_t item)
{
    KMiscTools::initMiscTools();
    gameWindow = KQRX::createKWindow(renderer, false);
    if (!gameWindow->createGameWindow(480, 480, -1, true, "Zyphora")) {
        state.SkipWithError("no window on this renderer here");
        delete gameWindow;
        gameWindow = nullptr;
        return;
    }
    gameWindow->setMaxFrameRate(0);
    loadSounds();
    MenuScreen screen;
    screen.surf_bg = loadMenuSheet();
    screen.surf_bg->setTextureQuality(true);
    initGrid();
    gMenuActive = item;
    for (auto _ : state) menuFrame(screen);
    delete screen.surf_bg;
    freeSounds();
    delete gameWindow;
    gameWindow = nullptr;
}

void BM_MenuFrameD3DOptions(benchmark::State &s) { menuFrames(s, K_DIRECTX, 1); }
void BM_MenuFrameD3DTable(benchmark::State &s) { menuFrames(s, K_DIRECTX, 2); }
void BM_MenuFrameOpenGLOptions(benchmark::State &s) { menuFrames(s, K_OPENGL, 1); }
void BM_MenuFrameOpenGLTable(benchmark::State &s) { menuFrames(s, K_OPENGL, 2); }

}  // namespace

BENCHMARK(BM_MenuFrameD3DOptions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuFrameD3DTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuFrameOpenGLOptions)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MenuFrameOpenGLTable)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
