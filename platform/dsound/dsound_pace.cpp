// Paced output for scripted tests: SDL's output mixes only what the frames have handed it, so
// a game run faster than real time is heard, through the real output, as if it ran at 60 frames
// a second.
#include <chrono>
#include <condition_variable>

#include "dsound_internal.h"

namespace {

struct Pace {
  std::mutex mutex;
  std::condition_variable changed;
  bool on = false;
  uint64_t granted = 0; // frames the frames have handed the output
  uint64_t mixed = 0;   // frames the output has mixed
  size_t period = 1024; // frames per output callback, as last seen
};
Pace gPace;

} // namespace

void dsoundPaceWait(size_t frames) {
  std::unique_lock<std::mutex> lock(gPace.mutex);
  gPace.period = frames;
  gPace.changed.notify_all();
  gPace.changed.wait(lock, [&] { return !gPace.on || gPace.granted - gPace.mixed >= frames; });
}

void dsoundPaceMixed(size_t frames) {
  std::lock_guard<std::mutex> lock(gPace.mutex);
  gPace.mixed += frames;
  gPace.changed.notify_all();
}

void dsoundTestPaceOutput(bool on) {
  std::lock_guard<std::mutex> lock(gPace.mutex);
  gPace.on = on;
  gPace.granted = gPace.mixed = 0;
  gPace.changed.notify_all();
}

bool dsoundTestAdvanceOutput(size_t frames) {
  std::unique_lock<std::mutex> lock(gPace.mutex);
  gPace.granted += frames;
  gPace.changed.notify_all();
  return gPace.changed.wait_for(lock, std::chrono::seconds(5), [] {
    return !gPace.on || gPace.granted - gPace.mixed < gPace.period;
  });
}
