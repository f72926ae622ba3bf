// The DirectDraw object, its clipper and the Direct3D object that makes devices.

#include <SDL.h>

#include "device.h"
#include "objects.h"

const IID IID_IDirectDraw7 = {1};
const IID IID_IDirect3D7 = {2};
const IID IID_IDirect3DTnLHalDevice = {3};
const IID IID_IDirect3DHALDevice = {4};
const IID IID_IDirect3DRGBDevice = {5};

namespace zyddraw {

namespace {

// Reference counting shared by the small objects of this file.
template <class Interface> class Counted : public Interface {
public:
  DWORD AddRef() override { return ++_refs; }
  DWORD Release() override {
    DWORD left = --_refs;
    if (left == 0) delete this;
    return left;
  }

private:
  DWORD _refs = 1;
};

class Clipper final : public Counted<IDirectDrawClipper> {
public:
  SDL_Window *window() const { return _window; }
  HRESULT SetHWnd(DWORD, SDL_Window *window) override {
    _window = window;
    return DD_OK;
  }

private:
  SDL_Window *_window = nullptr;
};

class Direct3D final : public Counted<IDirect3D7> {
public:
  explicit Direct3D(IDirectDraw7 *dd) : _dd(dd) { _dd->AddRef(); }
  ~Direct3D() override { _dd->Release(); }

  HRESULT CreateDevice(const IID &kind, IDirectDrawSurface7 *target,
                       IDirect3DDevice7 **device) override {
    if (!device) return DDERR_INVALIDPARAMS;
    *device = nullptr;
    if (!(kind == IID_IDirect3DRGBDevice)) return DDERR_NOTFOUND; // no hardware devices here
    Surface *surface = static_cast<Surface *>(target);
    if (!surface || surface->layout() == Layout::ARGB4444) return DDERR_INVALIDPARAMS;
    *device = makeDevice(surface);
    return D3D_OK;
  }

private:
  IDirectDraw7 *_dd;
};

class DirectDraw final : public Counted<IDirectDraw7> {
public:
  HRESULT QueryInterface(const IID &iid, void **object) override {
    if (!object) return DDERR_INVALIDPARAMS;
    *object = nullptr;
    if (iid == IID_IDirect3D7) {
      *object = static_cast<IDirect3D7 *>(new Direct3D(this));
      return DD_OK;
    }
    if (iid == IID_IDirectDraw7) {
      AddRef();
      *object = static_cast<IDirectDraw7 *>(this);
      return DD_OK;
    }
    return DDERR_NOTFOUND;
  }

  HRESULT SetCooperativeLevel(SDL_Window *window, DWORD flags) override {
    bool fullscreen = (flags & DDSCL_FULLSCREEN) != 0;
    if (fullscreen && (!(flags & DDSCL_EXCLUSIVE) || !window)) return DDERR_INVALIDPARAMS;
    if (!fullscreen && !(flags & DDSCL_NORMAL)) return DDERR_INVALIDPARAMS;
    setDisplayWindow(*_display, window, fullscreen);
    return DD_OK;
  }

  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bpp, DWORD, DWORD) override {
    if (!displayFullScreen(*_display)) return DDERR_GENERIC; // needs the exclusive level
    return setDisplayMode(*_display, (int)width, (int)height, (int)bpp) ? DD_OK : DDERR_UNSUPPORTED;
  }

  HRESULT RestoreDisplayMode() override {
    restoreDisplayMode(*_display);
    return DD_OK;
  }

  HRESULT CreateSurface(DDSURFACEDESC2 *desc, IDirectDrawSurface7 **surface, void *) override {
    if (!desc || !surface) return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    DWORD caps = (desc->dwFlags & DDSD_CAPS) ? desc->ddsCaps.dwCaps : 0;
    if (caps & DDSCAPS_PRIMARYSURFACE) return createPrimary(desc, caps, surface);
    if (!(desc->dwFlags & DDSD_WIDTH) || !(desc->dwFlags & DDSD_HEIGHT)) return DDERR_INVALIDPARAMS;
    // The largest texture the device takes; off-screen surfaces may be larger.
    const DWORD limit = (caps & DDSCAPS_TEXTURE) ? 4096 : 16384;
    if (desc->dwWidth == 0 || desc->dwHeight == 0 || desc->dwWidth > limit ||
        desc->dwHeight > limit)
      return DDERR_INVALIDPARAMS;
    Layout layout = displayLayout();
    if ((desc->dwFlags & DDSD_PIXELFORMAT) && !layoutOf(desc->ddpfPixelFormat, &layout))
      return DDERR_INVALIDPARAMS;
    *surface = new Surface(_display, layout, (int)desc->dwWidth, (int)desc->dwHeight, caps,
                           desc->ddsCaps.dwCaps2);
    return DD_OK;
  }

  HRESULT CreateClipper(DWORD, IDirectDrawClipper **clipper, void *) override {
    if (!clipper) return DDERR_INVALIDPARAMS;
    *clipper = new Clipper;
    return DD_OK;
  }

  // Presenting waits for the vertical blank itself (where the renderer offers it).
  HRESULT WaitForVerticalBlank(DWORD, void *) override { return DD_OK; }

private:
  HRESULT createPrimary(DDSURFACEDESC2 *desc, DWORD caps, IDirectDrawSurface7 **surface) {
    int width, height;
    Layout layout;
    primaryShape(*_display, &width, &height, &layout);
    Surface *primary = new Surface(_display, layout, width, height, caps, 0);
    bool chain = (caps & DDSCAPS_FLIP) && (desc->dwFlags & DDSD_BACKBUFFERCOUNT) &&
                 desc->dwBackBufferCount > 0;
    if (chain) {
      if (!displayFullScreen(*_display)) {
        primary->Release();
        return DDERR_INVALIDPARAMS; // flipping needs the full-screen level
      }
      primary->attach(new Surface(_display, layout, width, height,
                                  DDSCAPS_BACKBUFFER | DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY, 0));
    }
    *surface = primary;
    return DD_OK;
  }

  std::shared_ptr<Display> _display = makeDisplay();
};

} // namespace

SDL_Window *clipperWindow(IDirectDrawClipper *clipper) {
  return static_cast<Clipper *>(clipper)->window();
}

} // namespace zyddraw

HRESULT DirectDrawCreateEx(void *driver, void **object, const IID &iid, void *) {
  if (!object) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (driver || !(iid == IID_IDirectDraw7)) return DDERR_INVALIDPARAMS;
  *object = static_cast<IDirectDraw7 *>(new zyddraw::DirectDraw);
  return DD_OK;
}
