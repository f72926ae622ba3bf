// The game's window for a frame benchmark: uncapped, with the game's sounds loaded, and the
// case skipped where the renderer cannot open one (OpenGL without an X display).
#ifndef ZYPHORA_BENCH_WINDOW_H
#define ZYPHORA_BENCH_WINDOW_H

#include <benchmark/benchmark.h>

#include <cstdlib>

#include "KMiscTools.h"
#include "KQRX.h"
#include "host_testing.h"
#include "zyphora.h"

inline bool openBenchWindow(benchmark::State &state, Erenderer renderer) {
  KMiscTools::initMiscTools();
  setenv("vblank_mode", "0", 0); // Mesa: no wait for the vertical blank in the buffer swap
  // A bare X server (xvfb-run) has no window manager to give the window the focus it would
  // otherwise wait for after every flip.
  hostTestSetFocusHeld(true);
  gameWindow = KQRX::createKWindow(renderer, false);
  if (!gameWindow->createGameWindow(480, 480, -1, true, "Zyphora")) {
    state.SkipWithError("no window on this renderer here");
    delete gameWindow;
    gameWindow = nullptr;
    return false;
  }
  gameWindow->setMaxFrameRate(0); // the 60 Hz cap is not part of the frame
  loadSounds();
  return true;
}

inline void closeBenchWindow() {
  freeSounds();
  delete gameWindow;
  gameWindow = nullptr;
}

#endif
