// The window icon: the artwork's 64 x 64 icon, built into the host so that every window shows
// it, even one opened before the data folder is found (the message boxes of a failed start).
#define STB_IMAGE_STATIC // private to the host: the engine's picture codec has its own copy
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <stb_image.h>

#include "host_icon_png.h" // icon.png's bytes, written by the build
#include <cstring>

#include "host_internal.h"

SDL_Surface *hostMakeIcon() {
  int w, h, channels;
  stbi_uc *rgba = stbi_load_from_memory(hostIconPng, (int)sizeof hostIconPng, &w, &h, &channels, 4);
  if (!rgba) return nullptr;
  SDL_Surface *icon = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
  if (icon)
    for (int y = 0; y < h; y++)
      memcpy((uint8_t *)icon->pixels + y * icon->pitch, rgba + y * w * 4, (size_t)w * 4);
  stbi_image_free(rgba);
  return icon;
}

void hostSetIcon(SDL_Window *window) {
  if (SDL_Surface *icon = hostMakeIcon()) {
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
  }
}
