// Scaled host windows: the size they open at, the pointer in picture pixels, desktop full
// screen, and the keys that toggle it.
#include <cstring>

#include "host_internal.h"
#include "host_scale.h"
#include "host_vk.h"

namespace {

int openingScale(const HostWindowDesc &desc) {
  if (hostTestSeams.openingScale > 0) return hostTestSeams.openingScale;
  // The dummy driver's desktop is nobody's screen: its windows keep the picture's size.
  const char *driver = SDL_GetCurrentVideoDriver();
  SDL_DisplayMode desktop;
  if ((driver && strcmp(driver, "dummy") == 0) || SDL_GetDesktopDisplayMode(0, &desktop) != 0) return 1;
  return hostOpeningScale(desktop.w, desktop.h, desc.width, desc.height);
}

HostWindow *hostWindowOf(SDL_Window *window) { return window ? hostWindowOfId(SDL_GetWindowID(window)) : nullptr; }

} // namespace

void hostOpeningSize(const HostWindowDesc &desc, int *w, int *h) {
  int scale = desc.sdlFlags & SDL_WINDOW_RESIZABLE ? openingScale(desc) : 1;
  *w = desc.width * scale;
  *h = desc.height * scale;
}

void hostPointInPicture(HostWindow *window, int x, int y, int *px, int *py) {
  int w = window->width, h = window->height;
  SDL_GetWindowSize(window->sdl, &w, &h);
  hostWindowToPicture(hostPictureRect(w, h, window->width, window->height), window->width, window->height, x, y,
                      px, py);
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
  bool already = (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
  if (fullscreen == already) return true;
  if (fullscreen && host) SDL_GetWindowSize(window, &host->windowedWidth, &host->windowedHeight);
  if (SDL_SetWindowFullscreen(window, fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) return false;
  // Some drivers leave the full-screen size on the window: put the windowed one back.
  if (!fullscreen && host && host->windowedWidth > 0)
    SDL_SetWindowSize(window, host->windowedWidth, host->windowedHeight);
  return true;
}

bool hostIsFullscreenToggle(unsigned int message, unsigned int wParam, long lParam) {
  bool repeat = (lParam >> 30) & 1;
  if (repeat) return false;
  // Windows sends a key pressed with Alt held as a system key.
  return ((message == WM_KEYDOWN || message == WM_SYSKEYDOWN) && wParam == VK_F11) ||
         (message == WM_SYSKEYDOWN && wParam == VK_RETURN);
}
