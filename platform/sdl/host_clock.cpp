// Time: the high-resolution counter, frame completion and the frame cap. A test may step the
// counter from frame to frame, switch the cap's wait off and watch each frame (host_testing.h).
#include <thread>

#include "host_internal.h"

namespace {

unsigned long frameCount;

} // namespace

uint64_t hostCounter() {
  return hostTestSeams.clockStep ? hostTestSeams.steppedMs : SDL_GetPerformanceCounter();
}
uint64_t hostCounterFrequency() {
  return hostTestSeams.clockStep ? 1000 : SDL_GetPerformanceFrequency();
}

uint32_t hostMilliseconds() {
  // Split the division so that counter * 1000 never overflows.
  uint64_t counter = hostCounter(), frequency = hostCounterFrequency();
  return (uint32_t)(counter / frequency * 1000 + counter % frequency * 1000 / frequency);
}

void hostFrameReady() {
  hostTakeAskedScreenshot();
  if (hostTestSeams.frameHook) hostTestSeams.frameHook(hostTestSeams.frameHookContext, frameCount);
  frameCount++;
  hostTestSeams.steppedMs += hostTestSeams.clockStep;
}

void hostPaceFrame(uint32_t lastFlipMs, uint32_t periodMs) {
  // A stepped clock only moves from frame to frame.
  if (hostTestSeams.noFrameWait || hostTestSeams.clockStep) return;
  for (;;) {
    uint32_t elapsed = hostMilliseconds() - lastFlipMs;
    if (elapsed >= periodMs) return;
    if (periodMs - elapsed > 1)
      std::this_thread::sleep_for(std::chrono::milliseconds(periodMs - elapsed - 1));
  }
}

unsigned long hostFramesDone() { return frameCount; }
void hostResetFramesDone() { frameCount = 0; }
