// DirectDraw surfaces: system-memory pixels with a pitch, locks, blits, flips and loss.

#include <algorithm>
#include <cstring>

#include "bands.h"
#include "objects.h"

namespace zyddraw {

namespace {

// Rows are padded, as video memory often is, so that callers must honour the pitch.
long pitchFor(Layout layout, int width) {
  return ((long)width * bytesPerPixel(layout) + 63) / 32 * 32;
}

// The rectangle or the whole surface, cut to the surface; false when nothing is left.
bool clipRect(const RECT *in, int width, int height, RECT *out) {
  *out = in ? *in : RECT{0, 0, width, height};
  out->left = std::max(out->left, 0L);
  out->top = std::max(out->top, 0L);
  out->right = std::min(out->right, (long)width);
  out->bottom = std::min(out->bottom, (long)height);
  return out->left < out->right && out->top < out->bottom;
}

} // namespace

Surface::Surface(std::shared_ptr<Display> display, Layout layout, int width, int height, DWORD caps,
                 DWORD caps2)
    : _display(std::move(display)), _layout(layout), _width(width), _height(height),
      _pitch(pitchFor(layout, width)), _memory((size_t)_pitch * height, 0), _caps(caps),
      _caps2(caps2) {}

Surface::~Surface() {
  flushDeferredDrawing(); // recorded drawing may read or write this surface
  if (_attached) _attached->Release();
  if (_clipper) _clipper->Release();
}

DWORD Surface::AddRef() { return ++_refs; }

DWORD Surface::Release() {
  DWORD left = --_refs;
  if (left == 0) delete this;
  return left;
}

HRESULT Surface::Lock(RECT *rect, DDSURFACEDESC2 *desc, DWORD, void *) {
  if (!desc) return DDERR_INVALIDPARAMS;
  if (_lost) return DDERR_SURFACELOST;
  if (_locked) return DDERR_SURFACEBUSY;
  flushDeferredDrawing();
  RECT r;
  if (rect && !clipRect(rect, _width, _height, &r)) return DDERR_INVALIDPARAMS;
  GetSurfaceDesc(desc);
  long x = rect ? r.left : 0, y = rect ? r.top : 0;
  desc->lpSurface = _memory.data() + y * _pitch + x * bytesPerPixel(_layout);
  _locked = true;
  return DD_OK;
}

HRESULT Surface::Unlock(RECT *) {
  if (!_locked) return DDERR_NOTLOCKED;
  flushDeferredDrawing();
  _locked = false;
  _texelsStale = true;
  presentIfPrimary();
  return DD_OK;
}

HRESULT Surface::Blt(RECT *destRect, IDirectDrawSurface7 *srcInterface, RECT *srcRect, DWORD flags,
                     DDBLTFX *fx) {
  if (_lost) return DDERR_SURFACELOST;
  if (_locked) return DDERR_SURFACEBUSY;
  flushDeferredDrawing();
  RECT d;
  int bpp = bytesPerPixel(_layout);
  if (flags & DDBLT_COLORFILL) {
    if (!fx) return DDERR_INVALIDPARAMS;
    if (!clipRect(destRect, _width, _height, &d)) return DD_OK;
    uint8_t stored[4];
    if (bpp == 4)
      std::memcpy(stored, &fx->dwFillColor, 4);
    else {
      uint16_t v = (uint16_t)fx->dwFillColor;
      std::memcpy(stored, &v, 2);
    }
    fillRows(_memory.data(), _pitch, bpp, stored, d.left, d.top, d.right, d.bottom);
  } else {
    Surface *src = static_cast<Surface *>(srcInterface);
    if (!src) return DDERR_INVALIDPARAMS;
    if (src->_lost) return DDERR_SURFACELOST;
    RECT s = srcRect ? *srcRect : RECT{0, 0, src->_width, src->_height};
    RECT full = destRect ? *destRect : RECT{0, 0, _width, _height};
    long sw = s.right - s.left, sh = s.bottom - s.top;
    long dw = full.right - full.left, dh = full.bottom - full.top;
    if (sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0 || s.left < 0 || s.top < 0 ||
        s.right > src->_width || s.bottom > src->_height)
      return DDERR_INVALIDPARAMS;
    if (!clipRect(&full, _width, _height, &d)) return DD_OK;
    int sbpp = bytesPerPixel(src->_layout);
    if (sw == dw && sh == dh && src->_layout == _layout && src != this) {
      // The same size and layout: row copies (a point stretch at 1:1 takes every pixel as it is).
      long sx = s.left + (d.left - full.left), sy = s.top + (d.top - full.top);
      for (long y = d.top; y < d.bottom; y++)
        std::memcpy(_memory.data() + y * _pitch + d.left * bpp,
                    src->_memory.data() + (sy + y - d.top) * src->_pitch + sx * sbpp,
                    (size_t)(d.right - d.left) * bpp);
    } else {
      // Each destination pixel takes the source pixel its centre falls on (a point stretch).
      for (long y = d.top; y < d.bottom; y++) {
        long sy = s.top + (2 * (y - full.top) + 1) * sh / (2 * dh);
        for (long x = d.left; x < d.right; x++) {
          long sx = s.left + (2 * (x - full.left) + 1) * sw / (2 * dw);
          const uint8_t *from = src->_memory.data() + sy * src->_pitch + sx * sbpp;
          uint8_t *to = _memory.data() + y * _pitch + x * bpp;
          if (src->_layout == _layout)
            std::memcpy(to, from, bpp);
          else
            fromARGB(_layout, to, toARGB(src->_layout, from));
        }
      }
    }
  }
  _texelsStale = true;
  presentIfPrimary();
  return DD_OK;
}

HRESULT Surface::Flip(IDirectDrawSurface7 *, DWORD) {
  if (!_attached) return DDERR_INVALIDPARAMS;
  if (_lost || _attached->_lost) return DDERR_SURFACELOST;
  flushDeferredDrawing();
  std::swap(_memory, _attached->_memory);
  presentIfPrimary();
  return DD_OK;
}

HRESULT Surface::GetAttachedSurface(DDSCAPS2 *caps, IDirectDrawSurface7 **surface) {
  if (!surface || !caps || !_attached || !(caps->dwCaps & DDSCAPS_BACKBUFFER))
    return DDERR_NOTFOUND;
  _attached->AddRef();
  *surface = _attached;
  return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(DDSURFACEDESC2 *desc) {
  if (!desc) return DDERR_INVALIDPARAMS;
  *desc = DDSURFACEDESC2{};
  desc->dwSize = sizeof *desc;
  desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
  desc->dwWidth = (DWORD)_width;
  desc->dwHeight = (DWORD)_height;
  desc->lPitch = _pitch;
  desc->ddpfPixelFormat = pixelFormatOf(_layout);
  desc->ddsCaps.dwCaps = _caps;
  desc->ddsCaps.dwCaps2 = _caps2;
  return DD_OK;
}

HRESULT Surface::SetClipper(IDirectDrawClipper *clipper) {
  if (clipper) {
    clipper->AddRef();
    if (primary() && clipperWindow(clipper))
      setDisplayWindow(*_display, clipperWindow(clipper), false);
  }
  if (_clipper) _clipper->Release();
  _clipper = clipper;
  return DD_OK;
}

HRESULT Surface::IsLost() { return _lost ? DDERR_SURFACELOST : DD_OK; }

HRESULT Surface::Restore() {
  _lost = false;
  return DD_OK;
}

const Texture *Surface::texture() {
  if (_lost) return nullptr;
  if (_texelsStale) {
    _texels.resize((size_t)_width * _height);
    int bpp = bytesPerPixel(_layout);
    for (int y = 0; y < _height; y++)
      for (int x = 0; x < _width; x++)
        _texels[(size_t)y * _width + x] = toARGB(_layout, _memory.data() + y * _pitch + x * bpp);
    _texture = {_texels.data(), _width, _height};
    _texelsStale = false;
  }
  return &_texture;
}

void Surface::presentIfPrimary() {
  if (primary()) present(*_display, _memory.data(), _pitch, _width, _height, _layout);
}

bool layoutOf(const DDPIXELFORMAT &pf, Layout *layout) {
  struct Known {
    Layout layout;
    DWORD bits, a, r, g, b;
  };
  static const Known known[] = {
      {Layout::ARGB8888, 32, 0xFF000000, 0xFF0000, 0xFF00, 0xFF}, // 32-bit with alpha
      {Layout::XRGB8888, 32, 0, 0xFF0000, 0xFF00, 0xFF},          // 32-bit display
      {Layout::RGB565, 16, 0, 0xF800, 0x07E0, 0x001F},            // 16-bit display
      {Layout::XRGB1555, 16, 0, 0x7C00, 0x03E0, 0x001F},          // 15-bit, opaque textures
      {Layout::ARGB4444, 16, 0xF000, 0x0F00, 0x00F0, 0x000F},     // 16-bit with alpha
  };
  DWORD a = (pf.dwFlags & DDPF_ALPHAPIXELS) ? pf.dwRGBAlphaBitMask : 0;
  for (const Known &k : known)
    if (pf.dwRGBBitCount == k.bits && a == k.a && pf.dwRBitMask == k.r && pf.dwGBitMask == k.g &&
        pf.dwBBitMask == k.b) {
      *layout = k.layout;
      return true;
    }
  return false;
}

void fillRows(uint8_t *pixels, long pitch, int bpp, const uint8_t *stored, long x0, long y0,
              long x1, long y1) {
  if (x0 >= x1 || y0 >= y1) return;
  uint8_t *first = pixels + y0 * pitch + x0 * bpp;
  size_t bytes = (size_t)(x1 - x0) * bpp;
  for (size_t i = 0; i < bytes; i += bpp) std::memcpy(first + i, stored, bpp);
  for (long y = y0 + 1; y < y1; y++) std::memcpy(pixels + y * pitch + x0 * bpp, first, bytes);
}

DDPIXELFORMAT pixelFormatOf(Layout l) {
  DDPIXELFORMAT pf{};
  pf.dwSize = sizeof pf;
  pf.dwFlags = DDPF_RGB;
  switch (l) {
  case Layout::ARGB8888:
    pf = {sizeof pf, DDPF_RGB | DDPF_ALPHAPIXELS, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000};
    break;
  case Layout::XRGB8888: pf = {sizeof pf, DDPF_RGB, 0, 32, 0xFF0000, 0xFF00, 0xFF, 0}; break;
  case Layout::RGB565: pf = {sizeof pf, DDPF_RGB, 0, 16, 0xF800, 0x07E0, 0x001F, 0}; break;
  case Layout::XRGB1555: pf = {sizeof pf, DDPF_RGB, 0, 16, 0x7C00, 0x03E0, 0x001F, 0}; break;
  case Layout::ARGB4444:
    pf = {sizeof pf, DDPF_RGB | DDPF_ALPHAPIXELS, 0, 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
    break;
  }
  return pf;
}

} // namespace zyddraw

void zyDDrawLoseSurface(IDirectDrawSurface7 *surface) {
  if (surface) static_cast<zyddraw::Surface *>(surface)->lose();
}
