// The screen behind the primary surface: an SDL window, its full-screen mode, and presenting
// through an SDL renderer and a streaming texture, scaled to the window as host_scale.h says.

#include <SDL.h>

#include "host_scale.h"
#include "objects.h"

namespace zyddraw {

namespace {
Layout gDisplayLayout = Layout::XRGB8888;

Layout layoutOfDepth(int bits) {
  return bits == 16 ? Layout::RGB565 : bits == 15 ? Layout::XRGB1555 : Layout::XRGB8888;
}

Uint32 sdlFormatOf(Layout l) {
  switch (l) {
  case Layout::RGB565: return SDL_PIXELFORMAT_RGB565;
  case Layout::XRGB1555: return SDL_PIXELFORMAT_RGB555;
  case Layout::ARGB4444: return SDL_PIXELFORMAT_ARGB4444;
  case Layout::ARGB8888:
  case Layout::XRGB8888: break;
  }
  return SDL_PIXELFORMAT_RGB888;
}
} // namespace

struct Display {
  SDL_Window *window = nullptr;
  bool fullscreen = false;
  int modeWidth = 0, modeHeight = 0;
  Layout modeLayout = Layout::XRGB8888;
  SDL_Renderer *renderer = nullptr;
  bool ownsRenderer = false;
  SDL_Texture *texture = nullptr;
  SDL_Texture *stage = nullptr; // the picture enlarged, for sharp scaling
  int textureWidth = 0, textureHeight = 0;
  Layout textureLayout = Layout::XRGB8888;

  void dropRenderer() {
    if (texture) SDL_DestroyTexture(texture);
    if (stage) SDL_DestroyTexture(stage);
    if (renderer && ownsRenderer) SDL_DestroyRenderer(renderer);
    texture = nullptr;
    stage = nullptr;
    renderer = nullptr;
    ownsRenderer = false;
  }
  ~Display() { dropRenderer(); }
};

std::shared_ptr<Display> makeDisplay() { return std::make_shared<Display>(); }

void setDisplayWindow(Display &d, SDL_Window *window, bool fullscreen) {
  if (window != d.window) d.dropRenderer();
  d.window = window;
  d.fullscreen = fullscreen;
}

SDL_Window *displayWindow(const Display &d) { return d.window; }
bool displayFullScreen(const Display &d) { return d.fullscreen; }

bool setDisplayMode(Display &d, int width, int height, int bits) {
  if (width <= 0 || height <= 0 || !(bits == 15 || bits == 16 || bits == 24 || bits == 32))
    return false;
  d.modeWidth = width;
  d.modeHeight = height;
  d.modeLayout = layoutOfDepth(bits);
  // The mode is the program's: the desktop keeps its own, and the mode's picture is shown
  // scaled on it.
  if (d.window) hostSetDesktopFullscreen(d.window, true);
  return true;
}

void restoreDisplayMode(Display &d) {
  d.modeWidth = d.modeHeight = 0;
  if (d.window) hostSetDesktopFullscreen(d.window, false);
}

void primaryShape(const Display &d, int *width, int *height, Layout *layout) {
  if (d.fullscreen && d.modeWidth > 0) {
    *width = d.modeWidth;
    *height = d.modeHeight;
    *layout = d.modeLayout;
    return;
  }
  // The client area of a host window is its picture, whatever size the window has now.
  *width = 640;
  *height = 480;
  if (d.window && !hostPictureSize(d.window, width, height))
    SDL_GetWindowSize(d.window, width, height);
  *layout = gDisplayLayout;
}

void present(Display &d, const uint8_t *pixels, long pitch, int width, int height, Layout layout) {
  if (!d.window) return;
  if (!d.renderer) {
    d.renderer = SDL_GetRenderer(d.window);
    d.ownsRenderer = d.renderer == nullptr;
    if (!d.renderer) d.renderer = SDL_CreateRenderer(d.window, -1, SDL_RENDERER_PRESENTVSYNC);
    if (!d.renderer) d.renderer = SDL_CreateRenderer(d.window, -1, 0);
    if (!d.renderer) return;
  }
  if (!d.texture || d.textureWidth != width || d.textureHeight != height ||
      d.textureLayout != layout) {
    if (d.texture) SDL_DestroyTexture(d.texture);
    d.texture = SDL_CreateTexture(d.renderer, sdlFormatOf(layout), SDL_TEXTUREACCESS_STREAMING,
                                  width, height);
    d.textureWidth = width;
    d.textureHeight = height;
    d.textureLayout = layout;
    if (!d.texture) return;
  }
  SDL_UpdateTexture(d.texture, nullptr, pixels, (int)pitch);
  hostRenderScaled(d.renderer, d.texture, width, height, &d.stage);
  SDL_RenderPresent(d.renderer);
}

Layout displayLayout() { return gDisplayLayout; }

} // namespace zyddraw

void zyDDrawSetDisplayDepth(int bits) { zyddraw::gDisplayLayout = zyddraw::layoutOfDepth(bits); }
