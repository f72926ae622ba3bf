// Banded drawing at the end of the scene, and the devices' threading mode.

#include "bands.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace zyddraw {

namespace {

// Devices with recorded drawing; only the thread that drives the devices touches it.
std::vector<BandedDrawing *> gPending;

int defaultThreads() {
  const char *forced = std::getenv("ZYPHORA_RASTER_THREADS");
  if (forced && (std::atoi(forced) == 1 || std::atoi(forced) == 2)) return std::atoi(forced);
  return std::thread::hardware_concurrency() > 1 ? 2 : 1;
}

int gThreads = defaultThreads();

} // namespace

void drawPrimitive(Primitive p, const RasterState &s, const Target &t, const RasterVertex *v,
                   TriangleDrawer triangle) {
  switch (p) {
  case Primitive::Triangle: triangle(s, t, v); break;
  case Primitive::Line: drawLine(s, t, v[0], v[1]); break;
  case Primitive::Point: drawPoint(s, t, v[0]); break;
  }
}

BandedDrawing::BandedDrawing() : _worker([this] { work(); }) {}

BandedDrawing::~BandedDrawing() {
  flush();
  {
    std::lock_guard<std::mutex> lock(_mutex);
    _quit = true;
  }
  _wake.notify_all();
  _worker.join();
}

void BandedDrawing::add(Primitive p, const RasterState &s, const Target &t, int height,
                        const RasterVertex *v, TriangleDrawer triangle) {
  if (_commands.empty()) gPending.push_back(this);
  // Consecutive primitives mostly share their state: it is stored once.
  if (_states.empty() || std::memcmp(&_states.back(), &s, sizeof s) != 0) _states.push_back(s);
  Command c{p, (uint32_t)_states.size() - 1, t, height / 2, triangle, {}};
  int n = p == Primitive::Triangle ? 3 : p == Primitive::Line ? 2 : 1;
  std::copy(v, v + n, c.v);
  _commands.push_back(c);
}

void BandedDrawing::flush() {
  if (_commands.empty()) return;
  {
    std::lock_guard<std::mutex> lock(_mutex);
    _go = true;
  }
  _wake.notify_all();
  drawBand(false);
  {
    std::unique_lock<std::mutex> lock(_mutex);
    _wake.wait(lock, [this] { return !_go; });
  }
  _commands.clear();
  _states.clear();
  gPending.erase(std::remove(gPending.begin(), gPending.end(), this), gPending.end());
}

void BandedDrawing::drawBand(bool lower) const {
  for (const Command &c : _commands) {
    RasterState s = _states[c.state];
    if (lower)
      s.clip.y0 = std::max(s.clip.y0, c.split);
    else
      s.clip.y1 = std::min(s.clip.y1, c.split);
    if (s.clip.y0 < s.clip.y1) drawPrimitive(c.kind, s, c.target, c.v, c.triangle);
  }
}

void BandedDrawing::work() {
  std::unique_lock<std::mutex> lock(_mutex);
  for (;;) {
    _wake.wait(lock, [this] { return _go || _quit; });
    if (_quit) return;
    lock.unlock();
    drawBand(true);
    lock.lock();
    _go = false;
    _wake.notify_all();
  }
}

void flushDeferredDrawing() {
  while (!gPending.empty()) gPending.back()->flush();
}

int rasterThreads() { return gThreads; }

void setRasterThreads(int threads) { gThreads = threads > 1 ? 2 : 1; }

} // namespace zyddraw
