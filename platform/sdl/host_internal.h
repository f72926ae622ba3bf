#ifndef ZY_HOST_INTERNAL_H
#define ZY_HOST_INTERNAL_H

// Shared between the host's own files; not part of its interface.

#include <SDL.h>

#include "host.h"

struct HostWindow {
  SDL_Window *sdl;
  uint32_t id; // SDL's window id
  HostWindowProc proc;
  void *userData;
  int width, height; // drawable size asked for
  bool focused;
  HostWindow *next;                  // the open windows, newest first
  int windowedWidth, windowedHeight; // the size to give back on leaving full screen
};

// A key of the keyboard: its Windows virtual-key code (sided for shift, control and alt)
// and its set-1 scan code.
struct HostKey {
  SDL_Scancode sdl;
  uint8_t virtualKey;
  uint8_t scanCode;
  bool extended;
};

const HostKey *hostKeyOfScancode(SDL_Scancode scancode);
const HostKey *hostKeyOfVirtualKey(int virtualKey);

// The newest open window (scripted input and message boxes go there), or null.
HostWindow *hostNewestWindow();
HostWindow *hostWindowOfId(uint32_t id);

// Delivers a keyboard or mouse message: updates the key, button and pointer state from it,
// then hands it to the window's procedure. Real and scripted input both come this way.
void hostDeliverInput(HostWindow *window, unsigned int message, unsigned int wParam, long lParam);

// The MK_ flags of a mouse message: buttons and modifier keys held now.
unsigned int hostMouseFlags();
// A point as a mouse message's lParam: x in the low word, y in the high word.
long hostPointLParam(int x, int y);

// Sends the messages of a key press or release, as a real key would (repeat: a held key's
// repeated press).
void hostSendKey(HostWindow *window, int virtualKey, bool down, bool repeat = false);
// WM_CLOSE to every open window (the user or the system asks the program to end).
void hostCloseAll();
// Shows or hides the system pointer as the display counter says.
void hostApplyCursor();
// Every key and button up, pointer at 0, 0.
void hostResetInputState();

// Scaled windows (host_scaled_window.cpp): the size a window opens at, and a point of the
// window in picture pixels.
void hostOpeningSize(const HostWindowDesc &desc, int *w, int *h);
void hostPointInPicture(HostWindow *window, int x, int y, int *px, int *py);

// ---- test seams --------------------------------------------------------------------------
// Where the test library (host_testing.h, built apart as zy_host_testing) steps in. The host's
// own files only read these; a player's program, which never links that library, keeps them
// as they start: every one off.
struct HostTestSeams {
  // Set while a script owns the keyboard and mouse: delivers the scripted input waiting for the
  // pump, and stands in for hostWaitForInput's wait.
  void (*deliverScriptedInput)();
  void (*waitForScriptedInput)();
  uint32_t clockStep; // ms per frame of the stepped counter; 0 = the system counter
  uint64_t steppedMs; // the stepped counter
  bool noFrameWait;   // hostPaceFrame never waits
  void (*frameHook)(void *context, unsigned long frame);
  void *frameHookContext;
  void (*messageBox)(void *context, const char *title, const char *text); // records instead
  void *messageBoxContext;
  int openingScale; // scaled windows' opening multiple; 0 chooses from the desktop
  bool focusHeld;   // the display's focus changes are ignored
};
extern HostTestSeams hostTestSeams;

// A script owns the keyboard and mouse: real devices are ignored.
inline bool hostScriptActive() { return hostTestSeams.deliverScriptedInput != nullptr; }

// Frames completed since the start (or a test's reset): the pads' taps end with each.
unsigned long hostFramesDone();
void hostResetFramesDone();

// Gamepads (host_pad.cpp): started at the first pump, their taps ended and held directions
// repeated at every pump; their SDL events turned into keys; their keys forgotten when the
// key state is reset.
void hostPumpPads();
void hostPadEvent(const SDL_Event &event);
void hostForgetPadKeys();

// Screenshots (host_shot.cpp): F12 key messages ask for one, the next complete frame takes it.
void hostWatchScreenshotKey(unsigned int message, unsigned int wParam, long lParam);
void hostTakeAskedScreenshot();

// The window icon (host_icon.cpp): the artwork's icon as a new RGBA surface (null when it
// cannot be made), and set on a window.
SDL_Surface *hostMakeIcon();
void hostSetIcon(SDL_Window *window);

// Shows an SDL message box until it is answered or an ending signal takes it down (host_box.cpp);
// false when it could not be shown or was taken down.
bool hostShowBox(const char *title, const char *text, SDL_Window *owner);
// Back to no ending signal caught (host_signals.cpp), for the next test.
void hostForgetEndSignal();

// Puts the display-loss save (host.h) on Xlib's I/O error handler, once SDL has opened X11.
void hostWatchDisplayLoss();

// mkdir -p (the path is changed while it runs, then put back); true when the folder exists.
bool hostMakeFolders(char *path);

#endif
