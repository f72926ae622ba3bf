// Scaled host windows: the size they open at, the pointer in picture pixels, desktop full
// screen, and the keys that toggle it.
#include <cstring>

#include "host_internal.h"
#include "host_scale.h"
#include "host_vk.h"

namespace {

HostScaling scaling = HOST_SCALE_SHARP;
int playerW, playerH; // the player's last window size, 0 x 0 for none

// The scalings by their names in the settings and on the command line.
const struct {
  HostScaling scaling;
  const char *name;
} scalingNames[] = {
    {HOST_SCALE_SHARP, "sharp"},     // any size, crisp pixels
    {HOST_SCALE_INTEGER, "integer"}, // whole multiples only
};

// The size a scaled window opens at: the tests' scale, else the player's last size where it
// fits the desktop, else a whole multiple chosen from the desktop.
void openingSize(const HostWindowDesc &desc, int *w, int *h) {
  SDL_DisplayMode desktop;
  bool known = SDL_GetDesktopDisplayMode(0, &desktop) == 0;
  bool fits = playerW > 0 && (!known || (playerW <= desktop.w && playerH <= desktop.h));
  // The dummy driver's desktop is nobody's screen: its windows keep the picture's size.
  const char *driver = SDL_GetCurrentVideoDriver();
  bool dummy = driver && strcmp(driver, "dummy") == 0;
  int scale = hostTestSeams.openingScale > 0 ? hostTestSeams.openingScale
              : fits                         ? 0
              : dummy || !known              ? 1
                                : hostOpeningScale(desktop.w, desktop.h, desc.width, desc.height);
  *w = scale > 0 ? desc.width * scale : playerW;
  *h = scale > 0 ? desc.height * scale : playerH;
}

HostWindow *hostWindowOf(SDL_Window *window) {
  return window ? hostWindowOfId(SDL_GetWindowID(window)) : nullptr;
}

} // namespace

void hostOpeningSize(const HostWindowDesc &desc, int *w, int *h) {
  *w = desc.width;
  *h = desc.height;
  if (desc.sdlFlags & SDL_WINDOW_RESIZABLE) openingSize(desc, w, h);
}

void hostSetScaling(HostScaling chosen) { scaling = chosen; }
HostScaling hostScaling() { return scaling; }

const char *hostScalingName(HostScaling chosen) {
  for (const auto &named : scalingNames)
    if (named.scaling == chosen) return named.name;
  return scalingNames[0].name;
}

bool hostScalingNamed(const char *name, HostScaling *chosen) {
  for (const auto &named : scalingNames)
    if (name && strcmp(name, named.name) == 0) {
      *chosen = named.scaling;
      return true;
    }
  return false;
}

void hostSetOpeningSize(int width, int height) {
  bool both = width > 0 && height > 0;
  playerW = both ? width : 0;
  playerH = both ? height : 0;
}

void hostPointInPicture(HostWindow *window, int x, int y, int *px, int *py) {
  int w = window->width, h = window->height;
  SDL_GetWindowSize(window->sdl, &w, &h);
  hostWindowToPicture(hostPictureRect(w, h, window->width, window->height, scaling), window->width,
                      window->height, x, y, px, py);
}

bool hostPictureSize(SDL_Window *window, int *w, int *h) {
  HostWindow *host = hostWindowOf(window);
  if (!host) return false;
  *w = host->width;
  *h = host->height;
  return true;
}

bool hostSetDesktopFullscreen(SDL_Window *window, bool fullscreen) {
  if (!window) return false;
  HostWindow *host = hostWindowOf(window);
  bool already =
      (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (fullscreen == already) return true;
  if (fullscreen && host) SDL_GetWindowSize(window, &host->windowedWidth, &host->windowedHeight);
  if (SDL_SetWindowFullscreen(window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0)
    return false;
  // Some drivers leave the full-screen size on the window: put the windowed one back.
  if (!fullscreen && host && host->windowedWidth > 0)
    SDL_SetWindowSize(window, host->windowedWidth, host->windowedHeight);
  return true;
}

bool hostWindowState(SDL_Window *window, bool *fullscreen, int *windowedW, int *windowedH) {
  HostWindow *host = hostWindowOf(window);
  if (!host) return false;
  *fullscreen =
      (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (*fullscreen) {
    *windowedW = host->windowedWidth;
    *windowedH = host->windowedHeight;
  } else {
    SDL_GetWindowSize(window, windowedW, windowedH);
  }
  return true;
}

bool hostIsFullscreenToggle(unsigned int message, unsigned int wParam, long lParam) {
  bool repeat = (lParam >> 30) & 1;
  if (repeat) return false;
  // Windows sends a key pressed with Alt held as a system key.
  return ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && wParam == VK_F11) ||
         (message == WM_SYSKEYDOWN && wParam == VK_RETURN);
}
