// Host windows: one SDL window each, with the procedure and object its messages go to.
#include "host_internal.h"
#include "host_scale.h"

namespace {

HostWindow *windows; // open windows, newest first

// The game's icon, drawn here: a cyan ship pointing up on a transparent 32 x 32 square.
void setIcon(SDL_Window *window) {
  enum { SIZE = 32 };
  static uint32_t pixels[SIZE * SIZE];
  for (int y = 0; y < SIZE; y++)
    for (int x = 0; x < SIZE; x++) {
      int half = (y - 2) / 2; // the hull widens by one pixel every two rows
      bool hull = y >= 2 && y < 28 && x >= 16 - half && x < 16 + half;
      bool engine = y >= 24 && (x == 16 - half + 1 || x == 16 + half - 2);
      pixels[y * SIZE + x] = engine ? 0xFFFF8020u : hull ? 0xFF20E0F0u : 0; // ARGB
    }
  SDL_Surface *icon = SDL_CreateRGBSurfaceWithFormatFrom(pixels, SIZE, SIZE, 32, SIZE * 4, SDL_PIXELFORMAT_ARGB8888);
  if (icon) {
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
  }
}

void unlink(HostWindow *window) {
  for (HostWindow **p = &windows; *p; p = &(*p)->next)
    if (*p == window) {
      *p = window->next;
      return;
    }
}

} // namespace

HostWindow *hostCreateWindow(const HostWindowDesc &desc) {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  int x = desc.x == HOST_CENTERED ? (int)SDL_WINDOWPOS_CENTERED : desc.x;
  int y = desc.y == HOST_CENTERED ? (int)SDL_WINDOWPOS_CENTERED : desc.y;
  int w, h;
  hostOpeningSize(desc, &w, &h);
  SDL_Window *sdl = SDL_CreateWindow(desc.title ? desc.title : "", x, y, w, h, desc.sdlFlags);
  if (!sdl) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return nullptr;
  }
  setIcon(sdl);
  HostWindow *window = new HostWindow{sdl, SDL_GetWindowID(sdl), desc.proc, desc.userData,
                                      desc.width, desc.height, !(desc.sdlFlags & SDL_WINDOW_HIDDEN), windows, w, h};
  windows = window;
  hostApplyCursor(); // the pointer may have been hidden before any window existed
  return window;
}

void hostDestroyWindow(HostWindow *window) {
  if (!hostWindowExists(window)) return;
  hostSendMessage(window, WM_DESTROY, 0, 0);
  unlink(window);
  SDL_DestroyWindow(window->sdl);
  delete window;
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool hostWindowExists(const HostWindow *window) {
  for (HostWindow *w = windows; w; w = w->next)
    if (w == window) return true;
  return false;
}

HostWindow *hostNewestWindow() { return windows; }

HostWindow *hostWindowOfId(uint32_t id) {
  for (HostWindow *w = windows; w; w = w->next)
    if (w->id == id) return w;
  return nullptr;
}

long hostSendMessage(HostWindow *window, unsigned int message, unsigned int wParam, long lParam) {
  if (!hostWindowExists(window) || !window->proc) return 0;
  return window->proc(window, message, wParam, lParam);
}

SDL_Window *hostSDLWindow(HostWindow *window) { return window ? window->sdl : nullptr; }
void *hostUserData(HostWindow *window) { return window ? window->userData : nullptr; }
void hostSetUserData(HostWindow *window, void *userData) {
  if (window) window->userData = userData;
}

void hostSetTitle(HostWindow *window, const char *title) {
  if (hostWindowExists(window)) SDL_SetWindowTitle(window->sdl, title ? title : "");
}

void hostShowNormal(HostWindow *window) {
  if (!hostWindowExists(window)) return;
  SDL_ShowWindow(window->sdl);
  SDL_RestoreWindow(window->sdl);
  // Shown means in front, as on Windows. Without a window manager (a bare X server) nobody
  // else gives a new window the focus, and the engine would wait for it for ever.
  SDL_SetWindowInputFocus(window->sdl);
}

void hostMinimize(HostWindow *window) {
  if (hostWindowExists(window)) SDL_MinimizeWindow(window->sdl);
}

bool hostSetFullscreen(HostWindow *window, bool fullscreen) {
  return hostWindowExists(window) && hostSetDesktopFullscreen(window->sdl, fullscreen);
}

bool hostHasFocus(const HostWindow *window) { return hostWindowExists(window) && window->focused; }
