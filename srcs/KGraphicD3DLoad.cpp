// Textures of the Direct3D picture: loading files into 32- or 16-bit textures, pictures from
// pixel arrays, back-buffer grabs and screenshots.

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "KGraphicD3D.h"
#include "KImageFile.h"
#include "matrices.h"

namespace {

// The texture formats of the pictures.
const DDPIXELFORMAT kARGB8888 = {sizeof(DDPIXELFORMAT),
                                 DDPF_RGB | DDPF_ALPHAPIXELS,
                                 0,
                                 32,
                                 0x00FF0000,
                                 0x0000FF00,
                                 0x000000FF,
                                 0xFF000000};
const DDPIXELFORMAT kARGB4444 = {
    sizeof(DDPIXELFORMAT), DDPF_RGB | DDPF_ALPHAPIXELS, 0, 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
const DDPIXELFORMAT kRGB555 = {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, 16, 0x7C00, 0x03E0, 0x001F, 0};

// The smallest power of two not below n (1 for 1).
long powerOfTwoAbove(long n) {
  long side = 1;
  while (side < n) side *= 2;
  return side;
}

bool lock(IDirectDrawSurface7 *surface, DDSURFACEDESC2 *desc) {
  *desc = DDSURFACEDESC2{};
  desc->dwSize = sizeof *desc;
  return SUCCEEDED(surface->Lock(nullptr, desc, DDLOCK_WAIT, nullptr));
}

uint8_t *rowOf(const DDSURFACEDESC2 &desc, long y) {
  return (uint8_t *)desc.lpSurface + y * desc.lPitch;
}

long clamp255(long v) { return v < 0 ? 0 : v > 255 ? 255 : v; }

} // namespace

IDirectDrawSurface7 *KGraphicD3D::createTexture(long width, long height,
                                                const DDPIXELFORMAT *format) {
  if (!_directX || width <= 0 || height <= 0) return nullptr;
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
  desc.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE;
  desc.dwWidth = (DWORD)width;
  desc.dwHeight = (DWORD)height;
  desc.ddpfPixelFormat = format ? *format : kARGB8888;
  IDirectDrawSurface7 *surface = nullptr;
  return SUCCEEDED(_directX->CreateSurface(&desc, &surface, nullptr)) ? surface : nullptr;
}

// ---- files -------------------------------------------------------------------------------

bool KGraphicD3D::loadPicture(const char *filename, bool hiDef, bool hasalpha) {
  char name[sizeof imageFileName]; // the name may be our own imageFileName (a reload)
  snprintf(name, sizeof name, "%s", filename ? filename : "");
  freePicture();
  _hidef = hiDef;
  _hasAlpha = hasalpha;
  return hiDef ? loadPicture32(name, hiDef, hasalpha) : loadPicture16(name, hiDef, hasalpha);
}

bool KGraphicD3D::loadPicture32(const char *filename, bool, bool hasalpha) {
  return loadTexture(filename, false, hasalpha);
}

bool KGraphicD3D::loadPicture16(const char *filename, bool, bool hasalpha) {
  return loadTexture(filename, true, hasalpha);
}

// The extension test is case-sensitive here: "DATA.PNG" is no PNG.
KImageFile *KGraphicD3D::LoadGeneric(const char *filename) {
  return KImageFile::load(filename, false);
}

// The loaders' common path: 32-bit A R G B, or 16 bits as 4444 (alpha kept) or 555 (opaque).
bool KGraphicD3D::loadTexture(const char *filename, bool sixteenBits, bool hasalpha) {
  imageFileName[0] = 0;
  if (!_directX || !_d3d) return false;
  snprintf(imageFileName, sizeof imageFileName, "%s", filename);
  KImageFile *image = LoadGeneric(filename);
  if (!image) return false;
  long width = image->getWidth(), height = image->getHeight();
  long side = powerOfTwoAbove(width > height ? width : height);
  bool depth32 = image->hasAlpha() || image->getBpp() == 32;
  bool keyed = _ckActive && (!sixteenBits || depth32);
  const DDPIXELFORMAT *format = !sixteenBits            ? &kARGB8888
                                : (hasalpha && depth32) ? &kARGB4444
                                                        : &kRGB555;
  IDirectDrawSurface7 *texture = createTexture(side, side, format);
  DDSURFACEDESC2 desc;
  if (!texture || !lock(texture, &desc)) {
    if (texture) texture->Release();
    delete image;
    return false;
  }
  for (long y = 0; y < height; y++) {
    uint8_t *row = rowOf(desc, y);
    for (long x = 0; x < width; x++) {
      KImagePixel p = image->getPixel(x, height - 1 - y, true);
      uint32_t a = depth32 ? p.a : 255;
      if (keyed && p.r == _ckr && p.g == _ckg && p.b == _ckb) a = 0;
      if (format == &kARGB8888) {
        uint32_t texel = a << 24 | (uint32_t)p.r << 16 | (uint32_t)p.g << 8 | p.b;
        memcpy(row + x * 4, &texel, 4);
      } else {
        uint16_t texel =
            format == &kARGB4444
                ? (uint16_t)((a >> 4) << 12 | (p.r >> 4) << 8 | (p.g >> 4) << 4 | p.b >> 4)
                : (uint16_t)((p.r >> 3) << 10 | (p.g >> 3) << 5 | p.b >> 3);
        memcpy(row + x * 2, &texel, 2);
      }
    }
  }
  texture->Unlock(nullptr);
  _d3d->PreLoad(texture);
  delete image;
  _surface = texture;
  _ftextureWIDTH = _ftextureHEIGHT = (float)side;
  fimageWidth = (float)width;
  fimageHeight = (float)height;
  return true;
}

// ---- arrays ------------------------------------------------------------------------------

bool KGraphicD3D::makePictureFromArray(uint32_t *userPixelPtr, long width, long height, bool) {
  if (!userPixelPtr || width <= 0 || height <= 0) return false;
  IDirectDrawSurface7 *texture = createTexture(width, height);
  DDSURFACEDESC2 desc;
  if (!texture || !lock(texture, &desc)) {
    if (texture) texture->Release();
    return false;
  }
  for (long y = 0; y < height; y++) {
    uint8_t *row = rowOf(desc, y);
    for (long x = 0; x < width; x++) {
      uint32_t v = userPixelPtr[y * width + x]; // red in the low byte
      uint32_t texel = (v & 0xFF000000u) | (v & 0xFF) << 16 | (v & 0xFF00) | (v >> 16 & 0xFF);
      memcpy(row + x * 4, &texel, 4);
    }
  }
  texture->Unlock(nullptr);
  freePicture();
  imageFileName[0] = 0;
  _surface = texture;
  _ftextureWIDTH = fimageWidth = (float)width;
  _ftextureHEIGHT = fimageHeight = (float)height;
  return true;
}

// ---- grabs -------------------------------------------------------------------------------

bool KGraphicD3D::grabBackBuffer(ptkGrabCallBack cb) {
  freePicture();
  imageFileName[0] = 0;
  if (!_d3d || !_backBuffer) return false;
  _d3d->EndScene();
  IDirectDrawSurface7 *texture = createTexture(_screenWidth, _screenHeight);
  if (!texture) return false;
  DDSURFACEDESC2 out, in;
  if (!lock(texture, &out)) {
    texture->Release();
    return false;
  }
  if (!lock(_backBuffer, &in)) {
    texture->Unlock(nullptr);
    texture->Release();
    return false;
  }
  const DDPIXELFORMAT &pf = in.ddpfPixelFormat;
  long width = std::min<long>(_screenWidth, in.dwWidth),
       height = std::min<long>(_screenHeight, in.dwHeight);
  if (pf.dwRGBBitCount == 32 || pf.dwRGBBitCount == 16) {
    for (long y = 0; y < height; y++)
      for (long x = 0; x < width; x++) {
        long r, g, b;
        if (pf.dwRGBBitCount == 32) {
          uint32_t p;
          memcpy(&p, rowOf(in, y) + x * 4, 4);
          b = p & 255, g = (p >> 8) & 255, r = (p >> 16) & 255;
        } else {
          uint16_t p;
          memcpy(&p, rowOf(in, y) + x * 2, 2);
          if (pf.dwGBitMask == 0x07E0) { // 5-6-5
            r = ((p & pf.dwRBitMask) >> 11) << 3, g = ((p & pf.dwGBitMask) >> 5) * 4,
            b = (p & pf.dwBBitMask) << 3;
          } else { // 5-5-5
            r = ((p & pf.dwRBitMask) >> 10) << 3, g = ((p & pf.dwGBitMask) >> 5) * 8,
            b = (p & pf.dwBBitMask) << 3;
          }
        }
        if (cb) cb(x, y, &r, &g, &b);
        uint32_t texel =
            0xFF000000u | (uint32_t)clamp255(r) << 16 | (uint32_t)clamp255(g) << 8 | clamp255(b);
        memcpy(rowOf(out, y) + x * 4, &texel, 4);
      }
  }
  _backBuffer->Unlock(nullptr);
  texture->Unlock(nullptr);
  _surface = texture;
  _ftextureWIDTH = fimageWidth = (float)_screenWidth;
  _ftextureHEIGHT = fimageHeight = (float)_screenHeight;
  _d3d->BeginScene();
  return true;
}

bool KGraphicD3D::grabFrontBuffer() { return grabBackBuffer(nullptr); }

// The frame shrunk into the top-left width x height of the back buffer, drawn under the default
// view and world (a turned or zoomed view of the game must not turn the screenshot); the
// caller's view and world are put back.
void KGraphicD3D::shrinkFrame(long width, long height) {
  KGraphicD3D copy;
  copy.grabBackBuffer(nullptr);
  D3DMATRIX view, world, defaultView, identity;
  _d3d->GetTransform(D3DTRANSFORMSTATE_VIEW, &view);
  _d3d->GetTransform(D3DTRANSFORMSTATE_WORLD, &world);
  translate(&defaultView, (float)-(_screenWidth / 2), (float)(_screenHeight / 2), 0);
  translate(&identity, 0, 0, 0);
  _d3d->SetTransform(D3DTRANSFORMSTATE_VIEW, &defaultView);
  _d3d->SetTransform(D3DTRANSFORMSTATE_WORLD, &identity);
  copy.stretchAlphaRect(0, 0, (float)_screenWidth, (float)_screenHeight, 0, 0, (float)width,
                        (float)height, 1, 0);
  _d3d->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
  _d3d->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
}

// False when nothing was written (no window, an unknown format, a failed write): a failed
// screenshot is not reported as a success.
bool KGraphicD3D::saveBackBuffer(const char *cpcFileName, long imageFormat, long resizeW,
                                 long resizeH) {
  if (!_d3d || !_backBuffer) return false;
  bool saved = false;
  _d3d->EndScene();
  if (resizeW > 0 && resizeH > 0) {
    // No larger than the screen, as the OpenGL renderer's: the whole frame shrunk into the corner.
    resizeW = std::min(resizeW, _screenWidth), resizeH = std::min(resizeH, _screenHeight);
    shrinkFrame(resizeW, resizeH);
  } else {
    resizeW = _screenWidth, resizeH = _screenHeight;
  }
  DDSURFACEDESC2 in;
  if (lock(_backBuffer, &in)) {
    // Never read beyond the back buffer.
    long width = std::min<long>(resizeW, in.dwWidth), height = std::min<long>(resizeH, in.dwHeight);
    std::vector<uint32_t> pixels((size_t)width * height);
    for (long y = 0; y < height; y++)
      for (long x = 0; x < width; x++) {
        const uint8_t *p = rowOf(in, y) + x * (in.ddpfPixelFormat.dwRGBBitCount / 8);
        uint32_t v = 0;
        if (in.ddpfPixelFormat.dwRGBBitCount == 32) {
          memcpy(&v, p, 4);
        } else {
          uint16_t w;
          memcpy(&w, p, 2);
          bool is565 = in.ddpfPixelFormat.dwGBitMask == 0x07E0;
          uint32_t r = is565 ? (w >> 11) << 3 : ((w >> 10) & 31) << 3;
          uint32_t g = is565 ? ((w >> 5) & 63) << 2 : ((w >> 5) & 31) << 3;
          v = r << 16 | g << 8 | (w & 31u) << 3;
        }
        pixels[(size_t)(height - 1 - y) * width + x] = v | 0xFF000000u; // bottom row first, BGRA
      }
    _backBuffer->Unlock(nullptr);
    if (imageFormat >= K_IMAGE_BMP && imageFormat <= K_IMAGE_PNG && width > 0 && height > 0)
      saved =
          KImageFile::save(cpcFileName, (KImageFormat)imageFormat, (const uint8_t *)pixels.data(),
                           K_IMAGE_BGRA, width, height, width * 4, true);
  }
  _d3d->BeginScene();
  return saved;
}
