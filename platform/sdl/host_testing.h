#ifndef ZY_HOST_TESTING_H
#define ZY_HOST_TESTING_H

// Test hooks of the SDL host: scripted input, a stepped clock, an uncapped frame rate,
// a per-frame hook and recorded message boxes. Everything a scripted run of the game needs
// to be reproducible and headless. hostTestReset() puts every hook back to normal. They are
// a library of their own (zy_host_testing), which the shipped program does not link.

#include <cstdint>

#include "host.h"

// One frame of scripted input. While a script is active, real keyboard and mouse events are
// ignored; changes against the previous scripted frame become the same messages the real
// devices produce (WM_KEYDOWN/UP with scan codes, WM_MOUSEMOVE, WM_LBUTTONDOWN/UP, WM_CLOSE),
// delivered at the next event pump, so key state, mouse getters and event callbacks all see them.
struct HostInputFrame {
  int keys[16]; // Windows virtual-key codes held during this frame (use 160/161 for the shifts)
  int keyCount;
  int mouseX, mouseY; // client pixels
  bool leftButton;
  bool closeRequest; // the user closes the window (WM_CLOSE to every open window)
};

// Starts scripted input (all keys up, pointer at 0, 0, button up) and feeds one frame of it.
void hostTestSetInput(const HostInputFrame &frame);
// Called by hostWaitForInput while a script runs (the engine waits for input between frames,
// e.g. for a key release); it may feed input with hostTestSetInput. Without one, the wait
// releases every scripted key, as a player eventually would.
typedef void (*HostWaitHook)(void *context);
void hostTestSetWaitHook(HostWaitHook hook, void *context);

// Stops scripted input; real devices are read again.
void hostTestStopInput();

// With a non-zero step the counter runs at 1000 units a second, starts at startMs and advances
// by stepMs at every hostFrameReady (each flip); 0 reads the system counter again.
void hostTestSetClockStep(uint32_t stepMs, uint32_t startMs);
// Advances the stepped clock by ms at once (for code that waits on the clock outside a flip).
void hostTestAdvanceClock(uint32_t ms);

// true: hostPaceFrame never waits.
void hostTestSetNoFrameWait(bool noWait);

// Called at every hostFrameReady with the number of frames completed before this one
// (0 first): the frame is drawn and not yet presented, so its pixels can be read.
// The hook may feed the next frame's input with hostTestSetInput.
typedef void (*HostFrameHook)(void *context, unsigned long frame);
void hostTestSetFrameHook(HostFrameHook hook, void *context);
unsigned long hostTestFrameCount();

// Records message boxes instead of showing them (null shows them again).
typedef void (*HostMessageBoxHandler)(void *context, const char *title, const char *text);
void hostTestSetMessageBoxHandler(HostMessageBoxHandler handler, void *context);

// Scaled windows open at this whole multiple of their picture; 0 chooses from the desktop, as
// a player's run does. The reset sets 1: a test's windows have the picture's size on any display.
void hostTestSetOpeningScale(int scale);

// true: the display's focus changes are ignored and every window stays in front. Tests run
// side by side on one X server without a window manager, where one test's new window takes
// the focus from another's, which would then wait for it for ever. The reset sets true.
void hostTestSetFocusHeld(bool held);

// Every hook off, frame count 0, scripted input stopped, windows opening at 1x, focus held, no
// ending signal caught.
void hostTestReset();

#endif
