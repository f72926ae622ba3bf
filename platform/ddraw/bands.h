#ifndef ZY_DDRAW_BANDS_H
#define ZY_DDRAW_BANDS_H

// A scene's drawing deferred to its end and done in two bands of rows at once, the lower one on
// a worker thread. Each band draws every recorded primitive in order, clipped to its rows (the
// rasteriser's pixels do not depend on the clip), so every pixel sees the same primitives in the
// same order as when each is drawn at once.

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "raster.h"

namespace zyddraw {

enum class Primitive { Triangle, Line, Point };
typedef void (*TriangleDrawer)(const RasterState &, const Target &, const RasterVertex[3]);

// Draws one primitive (one, two or three vertices) at once.
void drawPrimitive(Primitive p, const RasterState &s, const Target &t, const RasterVertex *v,
                   TriangleDrawer triangle);

class BandedDrawing {
public:
  BandedDrawing();
  ~BandedDrawing(); // draws what is pending, then stops the worker
  BandedDrawing(const BandedDrawing &) = delete;
  BandedDrawing &operator=(const BandedDrawing &) = delete;

  // Records a primitive for a target of the given height (the bands split it in the middle).
  void add(Primitive p, const RasterState &s, const Target &t, int height, const RasterVertex *v,
           TriangleDrawer triangle);
  // Draws everything recorded, both bands at once, and returns when both are done.
  void flush();

private:
  struct Command {
    Primitive kind;
    uint32_t state; // index in _states
    Target target;
    int split; // the first row of the lower band
    TriangleDrawer triangle;
    RasterVertex v[3];
  };
  void drawBand(bool lower) const;
  void work();

  std::vector<RasterState> _states;
  std::vector<Command> _commands;
  std::mutex _mutex;
  std::condition_variable _wake;
  bool _go = false, _quit = false; // under _mutex: the worker's band to draw, the end
  std::thread _worker;
};

// Draws what every device has recorded: before anything reads or changes pixels or texels.
void flushDeferredDrawing();

// The threads of scenes begun from now on: 1 draws each primitive at once, 2 in bands at the end
// of the scene. By default 2 where the processor has two cores or more; ZYPHORA_RASTER_THREADS=1
// or 2 in the environment chooses.
int rasterThreads();
void setRasterThreads(int threads);

} // namespace zyddraw

#endif
