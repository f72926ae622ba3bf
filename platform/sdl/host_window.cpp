// Host windows: one SDL window each, with the procedure and object its messages go to.
#include <cstdio>

#include "host_internal.h"
#include "host_scale.h"

namespace {

HostWindow *windows; // open windows, newest first

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
  hostSetIcon(sdl);
  hostWatchDisplayLoss();
  HostWindow *window = new HostWindow{sdl,
                                      SDL_GetWindowID(sdl),
                                      desc.proc,
                                      desc.userData,
                                      desc.width,
                                      desc.height,
                                      !(desc.sdlFlags & SDL_WINDOW_HIDDEN),
                                      windows,
                                      w,
                                      h};
  windows = window;
  hostApplyCursor(); // the pointer may have been hidden before any window existed
  return window;
}

void hostTellWindowRefused() {
  char text[512];
  snprintf(text, sizeof text, "Zyphora could not open its window (%s)", SDL_GetError());
  hostMessageBox("Zyphora", text);
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
