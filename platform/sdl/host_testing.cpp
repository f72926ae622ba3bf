// The test hooks of host_testing.h other than scripted input (host_script.cpp): each sets one of
// the seams the host reads (host_internal.h).
#include "host_testing.h"
#include "host_internal.h"
#include "host_scale.h"

void hostTestSetClockStep(uint32_t stepMs, uint32_t startMs) {
  hostTestSeams.clockStep = stepMs;
  hostTestSeams.steppedMs = startMs;
}

void hostTestAdvanceClock(uint32_t ms) { hostTestSeams.steppedMs += ms; }
void hostTestSetNoFrameWait(bool noWait) { hostTestSeams.noFrameWait = noWait; }

void hostTestSetFrameHook(HostFrameHook hook, void *context) {
  hostTestSeams.frameHook = hook;
  hostTestSeams.frameHookContext = context;
}

unsigned long hostTestFrameCount() { return hostFramesDone(); }

void hostTestSetMessageBoxHandler(HostMessageBoxHandler handler, void *context) {
  hostTestSeams.messageBox = handler;
  hostTestSeams.messageBoxContext = context;
}

void hostTestSetOpeningScale(int scale) { hostTestSeams.openingScale = scale > 0 ? scale : 0; }
void hostTestSetFocusHeld(bool held) { hostTestSeams.focusHeld = held; }

void hostTestReset() {
  hostTestSetWaitHook(nullptr, nullptr);
  hostTestStopInput();
  hostTestSetClockStep(0, 0);
  hostTestSetNoFrameWait(false);
  hostTestSetFrameHook(nullptr, nullptr);
  hostResetFramesDone();
  hostTestSetMessageBoxHandler(nullptr, nullptr);
  hostTestSetOpeningScale(1);
  hostSetOpeningSize(0, 0);
  hostSetScaling(HOST_SCALE_SHARP);
  hostTestSetFocusHeld(true);
  hostForgetEndSignal();
}
