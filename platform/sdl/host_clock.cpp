// Time: the high-resolution counter, frame completion and the frame cap, with the stepped
// clock and the frame hook that make scripted runs reproducible.
#include <thread>

#include "host_internal.h"
#include "host_testing.h"

namespace {

uint32_t clockStep;       // ms per frame; 0 = the system counter
uint64_t steppedMs;
bool noFrameWait;
HostFrameHook frameHook;
void *frameHookContext;
unsigned long frameCount;

} // namespace

uint64_t hostCounter() { return clockStep ? steppedMs : SDL_GetPerformanceCounter(); }
uint64_t hostCounterFrequency() { return clockStep ? 1000 : SDL_GetPerformanceFrequency(); }

uint32_t hostMilliseconds() {
  // Split the division so that counter * 1000 never overflows.
  uint64_t counter = hostCounter(), frequency = hostCounterFrequency();
  return (uint32_t)(counter / frequency * 1000 + counter % frequency * 1000 / frequency);
}

void hostFrameReady() {
  hostTakeAskedScreenshot();
  if (frameHook) frameHook(frameHookContext, frameCount);
  frameCount++;
  steppedMs += clockStep;
}

void hostPaceFrame(uint32_t lastFlipMs, uint32_t periodMs) {
  if (noFrameWait || clockStep) return; // a stepped clock only moves from frame to frame
  for (;;) {
    uint32_t elapsed = hostMilliseconds() - lastFlipMs;
    if (elapsed >= periodMs) return;
    if (periodMs - elapsed > 1) std::this_thread::sleep_for(std::chrono::milliseconds(periodMs - elapsed - 1));
  }
}

void hostTestSetClockStep(uint32_t stepMs, uint32_t startMs) {
  clockStep = stepMs;
  steppedMs = startMs;
}

void hostTestAdvanceClock(uint32_t ms) { steppedMs += ms; }
void hostTestSetNoFrameWait(bool noWait) { noFrameWait = noWait; }

void hostTestSetFrameHook(HostFrameHook hook, void *context) {
  frameHook = hook;
  frameHookContext = context;
}

unsigned long hostTestFrameCount() { return frameCount; }

void hostTestResetClock() {
  hostTestSetClockStep(0, 0);
  hostTestSetNoFrameWait(false);
  hostTestSetFrameHook(nullptr, nullptr);
  frameCount = 0;
}
