#ifndef DESKTOP_EVENTS_H
#define DESKTOP_EVENTS_H

// What a player does to a window, as SDL reports it: the pointer moved or a button pressed at
// a point of the window (window points, not picture pixels); and the size of a saved PNG.

#include <SDL.h>

#include <cstdio>

inline void pushMotion(SDL_Window *window, int x, int y) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = SDL_GetWindowID(window);
  e.motion.x = x;
  e.motion.y = y;
  SDL_PushEvent(&e);
}

inline void pushLeftButton(SDL_Window *window, int x, int y, bool down) {
  SDL_Event e{};
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = SDL_GetWindowID(window);
  e.button.button = SDL_BUTTON_LEFT;
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.x = x;
  e.button.y = y;
  SDL_PushEvent(&e);
}

// Width and height of a PNG file from its header; false when it is not one.
inline bool pngSize(const char *path, int *w, int *h) {
  unsigned char header[24];
  FILE *f = fopen(path, "rb");
  if (!f) return false;
  bool ok =
      fread(header, 1, sizeof header, f) == sizeof header && header[1] == 'P' && header[2] == 'N';
  fclose(f);
  if (!ok) return false;
  *w = header[16] << 24 | header[17] << 16 | header[18] << 8 | header[19];
  *h = header[20] << 24 | header[21] << 16 | header[22] << 8 | header[23];
  return true;
}

#endif
