#ifndef ZY_DDRAW_OBJECTS_H
#define ZY_DDRAW_OBJECTS_H

// The objects behind the DirectDraw interfaces, shared by the files of this folder.

#include <memory>
#include <vector>

#include "ddraw.h"
#include "raster.h"

namespace zyddraw {

// What the screen shows: the window of the cooperative level, its display mode, and the SDL
// renderer and streaming texture the primary surface is presented through.
struct Display;
std::shared_ptr<Display> makeDisplay();
void setDisplayWindow(Display &d, SDL_Window *window, bool fullscreen);
SDL_Window *displayWindow(const Display &d);
bool displayFullScreen(const Display &d);
// The display mode of a full-screen program; false when the depth is not 15, 16, 24 or 32.
bool setDisplayMode(Display &d, int width, int height, int bits);
void restoreDisplayMode(Display &d);
// Size and layout of a primary surface made now.
void primaryShape(const Display &d, int *width, int *height, Layout *layout);
// Shows the pixels of a primary surface in the window (waiting for the vertical blank where
// the renderer offers it). Without a window, or when SDL offers no renderer, nothing is shown.
void present(Display &d, const uint8_t *pixels, long pitch, int width, int height, Layout layout);

// The window a clipper follows: a windowed primary surface shows in it.
SDL_Window *clipperWindow(IDirectDrawClipper *clipper);

// The display depth of surfaces made without a pixel format (zyDDrawSetDisplayDepth).
Layout displayLayout();

class Surface final : public IDirectDrawSurface7 {
public:
  Surface(std::shared_ptr<Display> display, Layout layout, int width, int height, DWORD caps,
          DWORD caps2);
  ~Surface() override;

  DWORD AddRef() override;
  DWORD Release() override;
  HRESULT Lock(RECT *rect, DDSURFACEDESC2 *desc, DWORD flags, void *event) override;
  HRESULT Unlock(RECT *rect) override;
  HRESULT Blt(RECT *destRect, IDirectDrawSurface7 *src, RECT *srcRect, DWORD flags,
              DDBLTFX *fx) override;
  HRESULT Flip(IDirectDrawSurface7 *target, DWORD flags) override;
  HRESULT GetAttachedSurface(DDSCAPS2 *caps, IDirectDrawSurface7 **surface) override;
  HRESULT GetSurfaceDesc(DDSURFACEDESC2 *desc) override;
  HRESULT SetClipper(IDirectDrawClipper *clipper) override;
  HRESULT IsLost() override;
  HRESULT Restore() override;

  Layout layout() const { return _layout; }
  int width() const { return _width; }
  int height() const { return _height; }
  bool lost() const { return _lost; }
  void lose() { _lost = true; }
  bool primary() const { return (_caps & DDSCAPS_PRIMARYSURFACE) != 0; }
  void attach(Surface *back) { _attached = back; }
  Target target() { return {_memory.data(), _pitch, _layout}; }
  // The texels as A R G B, converted again after each change.
  const Texture *texture();

private:
  void presentIfPrimary();

  std::shared_ptr<Display> _display;
  Layout _layout;
  int _width, _height;
  long _pitch;
  std::vector<uint8_t> _memory;
  DWORD _caps, _caps2;
  DWORD _refs = 1;
  bool _lost = false;
  bool _locked = false;
  Surface *_attached = nullptr; // the back buffer of a flipping primary
  IDirectDrawClipper *_clipper = nullptr;
  std::vector<uint32_t> _texels; // the A R G B copy for sampling
  bool _texelsStale = true;
  Texture _texture{};
};

} // namespace zyddraw

#endif
