#ifndef ZY_HOST_H
#define ZY_HOST_H

// The SDL host: what the engine needs of Win32, and nothing more.
//  - windows whose events arrive as Windows-style messages at a window procedure,
//  - key state by virtual-key code, mouse position and left button in client pixels,
//  - the system pointer's show/hide counter,
//  - a high-resolution counter, frame pacing,
//  - the executable's path, the user's data folder, message boxes.
// Everything runs on the thread that created the windows.

#include <cstddef>
#include <cstdint>

struct SDL_Window;
struct HostWindow;

// Windows message numbers, with wParam/lParam laid out as Windows lays them out.
enum : unsigned int {
  WM_DESTROY = 0x0002,
  WM_PAINT = 0x000F,
  WM_CLOSE = 0x0010,
  WM_ACTIVATEAPP = 0x001C, // wParam 1 activated, 0 deactivated
  WM_KEYDOWN = 0x0100,     // wParam virtual key; lParam repeat 1, scan code bits 16-23,
  WM_KEYUP = 0x0101,       //   extended key bit 24, previous state bit 30, released bit 31
  WM_CHAR = 0x0102,        // wParam character code
  WM_SYSKEYDOWN = 0x0104,  // Alt and F10, as Windows sends them
  WM_SYSKEYUP = 0x0105,
  WM_MOUSEMOVE = 0x0200, // wParam MK_ flags; lParam x in the low word, y in the high word
  WM_LBUTTONDOWN = 0x0201,
  WM_LBUTTONUP = 0x0202,
  WM_RBUTTONDOWN = 0x0204,
  WM_RBUTTONUP = 0x0205,
  WM_MBUTTONDOWN = 0x0207,
  WM_MBUTTONUP = 0x0208,
  WM_MOUSEWHEEL = 0x020A, // wParam delta (120 a notch) in the high word, MK_ flags low
};

// Mouse-message key flags (low word of wParam).
constexpr unsigned int MK_LBUTTON = 0x01, MK_RBUTTON = 0x02, MK_SHIFT = 0x04, MK_CONTROL = 0x08,
                       MK_MBUTTON = 0x10;

// A window procedure: returns the message's result (0 = handled).
typedef long (*HostWindowProc)(HostWindow *window, unsigned int message, unsigned int wParam,
                               long lParam);

// ---- windows --------------------------------------------------------------------------------

struct HostWindowDesc {
  const char *title;
  int width, height;   // drawable size in pixels
  uint32_t sdlFlags;   // SDL_WINDOW_OPENGL, SDL_WINDOW_HIDDEN, SDL_WINDOW_FULLSCREEN, ...
  int x, y;            // position, or HOST_CENTERED
  HostWindowProc proc; // may be null: messages are then dropped
  void *userData;      // the object the procedure finds with hostUserData
};
enum { HOST_CENTERED = -0x7fff };

// Starts SDL's video (once) and opens a window with the game's icon; null on failure.
HostWindow *hostCreateWindow(const HostWindowDesc &desc);
// Tells the player, in a box or on stderr, why the last window could not be opened.
void hostTellWindowRefused();
// Sends WM_DESTROY to the window's procedure, then closes the window.
void hostDestroyWindow(HostWindow *window);
bool hostWindowExists(const HostWindow *window);

SDL_Window *hostSDLWindow(HostWindow *window);
void *hostUserData(HostWindow *window);
void hostSetUserData(HostWindow *window, void *userData);

void hostSetTitle(HostWindow *window, const char *title);
void hostShowNormal(HostWindow *window);
void hostMinimize(HostWindow *window);
// Desktop full screen (no display-mode switch), or back to the window it was (host_scale.h).
bool hostSetFullscreen(HostWindow *window, bool fullscreen);
// The window is the one with the keyboard focus (the foreground window).
bool hostHasFocus(const HostWindow *window);

// ---- events ---------------------------------------------------------------------------------

// Turns every pending event into messages and delivers them to the window procedures.
void hostPumpEvents();
// Waits up to timeoutMs for one event, then delivers everything pending.
void hostWaitEvents(int timeoutMs);
// Delivers one message to the window's procedure at once (as SendMessage does).
long hostSendMessage(HostWindow *window, unsigned int message, unsigned int wParam, long lParam);

// Waits for input to change outside a frame (a key release, say): real devices are waited
// on for up to 10 ms and pumped; scripted input asks the test's wait hook (host_testing.h).
void hostWaitForInput();

// SIGINT, SIGTERM and SIGHUP end the program as closing every window does, whatever is on
// screen: from then on each event pump sends WM_CLOSE to every window, and a message box that is
// up is taken down (and no new one shown). A signal ignored from the start (nohup) stays
// ignored. Called before SDL starts, which then keeps its own handlers off.
void hostCatchEndSignals();
// The ending signal caught (SIGTERM, say), 0 for none.
int hostEndSignal();

// With SDL_VIDEODRIVER unset, limits SDL to the drivers that show something and opens the display
// once: false, with SDL's reason, when none opens. A driver asked for by name is taken as it is.
bool hostOpenRealDisplay(char *reason, size_t size);
// `save` runs when the X server goes away under the program, before it ends with status 1.
void hostOnDisplayLost(void (*save)());

// ---- keyboard and mouse ---------------------------------------------------------------------

// The key with this Windows virtual-key code is down. The generic codes 16, 17, 18
// (shift, control, alt) answer for either side; 160-165 for their own side.
bool hostKeyDown(int virtualKey);
// Pointer position in client pixels of the window (last known position): pixels of the
// picture the window shows, whatever its size (host_scale.h).
void hostMousePosition(const HostWindow *window, int *x, int *y);
bool hostLeftButtonDown();
// ShowCursor: raises (show) or lowers the display counter and returns it; the system
// pointer is visible while the counter is 0 or more.
int hostShowCursor(bool show);

// ---- time -----------------------------------------------------------------------------------

uint64_t hostCounter();
uint64_t hostCounterFrequency();
// Called by every window's flip once the frame is complete, just before it is presented.
void hostFrameReady();
// Milliseconds of hostCounter, cut to 32 bits (the engine's KMiscTools::getMilliseconds clock).
uint32_t hostMilliseconds();
// Frame cap: returns once hostMilliseconds() - lastFlipMs >= periodMs (unsigned), sleeping until
// about a millisecond before the deadline and spinning the rest. Windows pace with this and never
// spin on the clock themselves: a test's stepped clock moves only at hostFrameReady, and a test
// may switch the wait off (host_testing.h).
void hostPaceFrame(uint32_t lastFlipMs, uint32_t periodMs);

// ---- screenshots ----------------------------------------------------------------------------

// F12 asks for a screenshot. At the next hostFrameReady (the frame drawn, not yet shown) the
// writer saves the frame as a PNG at the path it is given, zyphora-YYYYMMDD-HHMMSS.png (-2, -3,
// ... for more in the same second) in the user's pictures folder (XDG_PICTURES_DIR of
// user-dirs.dirs, else ~/Pictures, made if missing); the host prints the path on standard
// output, or a line on standard error when the save fails. Without a writer F12 saves nothing.
typedef bool (*HostScreenshotWriter)(const char *path);
void hostSetScreenshotWriter(HostScreenshotWriter writer);

// ---- folders and message boxes -------------------------------------------------------------

// The running executable's full path, cut to size - 1 bytes; false when it cannot be read.
bool hostExecutablePath(char *path, size_t size);
// $XDG_DATA_HOME/zyphora (default ~/.local/share/zyphora), created if missing; false when
// it cannot be made or does not fit.
bool hostUserFolder(char *path, size_t size);
// $XDG_CONFIG_HOME/zyphora (default ~/.config/zyphora), the desktop settings' folder, likewise.
bool hostConfigFolder(char *path, size_t size);
// A modal box with an OK button; standard error when no display can show one.
void hostMessageBox(const char *title, const char *text);

#endif
