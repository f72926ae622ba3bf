// The Direct3D 7 picture: settings, texture binding and every drawing operation.
// Making textures (files, arrays, grabs, screenshots) is in KGraphicD3DLoad.cpp.

#include "KGraphicD3D.h"

#include <cstdio>
#include <utility>

#include "matrices.h"

IDirectDraw7 *KGraphicD3D::_directX = nullptr;
IDirect3DDevice7 *KGraphicD3D::_d3d = nullptr;
IDirectDrawSurface7 *KGraphicD3D::_backBuffer = nullptr;
IDirectDrawSurface7 *KGraphicD3D::_oldBindedText = nullptr;
long KGraphicD3D::_screenWidth = 0;
long KGraphicD3D::_screenHeight = 0;

namespace {

// x x 255 truncated toward zero, kept within a byte.
uint32_t byte255(float x) {
  float v = x * 255.0f;
  return v <= 0.0f ? 0u : v >= 255.0f ? 255u : (uint32_t)v;
}

D3DLVERTEX vertex(float x, float y, D3DCOLOR colour, float u = 0, float v = 0) {
  return {x, y, 0.0f, 0, colour, 0, u, v};
}

D3DMATRIX product(const D3DMATRIX &a, const D3DMATRIX &b) {
  D3DMATRIX r;
  multiply(&r, a, b);
  return r;
}
D3DMATRIX translation(float x, float y) {
  D3DMATRIX m;
  translate(&m, x, y, 0);
  return m;
}
D3DMATRIX rotation(float angle) {
  D3DMATRIX m;
  rotatez(&m, angle);
  return m;
}
D3DMATRIX scaling(float zoom) {
  D3DMATRIX m;
  scale(&m, zoom, zoom, 1);
  return m;
}

} // namespace

KGraphicD3D::KGraphicD3D()
    : imageFileName(), _currentState(false), _sourceAlpha(D3DBLEND_SRCALPHA),
      _destAlpha(D3DBLEND_INVSRCALPHA), _surface(nullptr), _blitColorChanged(false), _blitRed(1),
      _blitGreen(1), _blitBlue(1), _blitAlpha(1), _blend(1), _textureQualityD3D(D3DTFG_POINT),
      _textureWrapD3D(D3DTADDRESS_CLAMP), _oldTextureQualityD3D((D3DTEXTUREMAGFILTER)3),
      _oldTextureWrapD3D((D3DTEXTUREADDRESS)2), _oldsourceAlpha((D3DBLEND)1),
      _olddestAlpha((D3DBLEND)1), _hidef(false), _hasAlpha(false), _lineWidth(1), _pixels(nullptr),
      _ftextureWIDTH(0), _ftextureHEIGHT(0), fimageHeight(0), fimageWidth(0), _ckActive(false),
      _textureWrap(false), _textureQuality(false), _ckr(0), _ckg(0), _ckb(0) {}

KGraphicD3D::~KGraphicD3D() { freePicture(); }

void KGraphicD3D::setDirectX(IDirectDraw7 *dd, IDirect3DDevice7 *device, IDirectDrawSurface7 *back,
                             long width, long height) {
  _directX = dd;
  _d3d = device;
  _backBuffer = back;
  _screenWidth = width;
  _screenHeight = height;
  _oldBindedText = nullptr;
  if (!device) return;
  static const struct {
    D3DRENDERSTATETYPE state;
    DWORD value;
  } renderStates[] = {
      {D3DRENDERSTATE_LIGHTING, 0},                 // vertices are pre-lit
      {D3DRENDERSTATE_ZENABLE, 0},                  // 2D: no depth test
      {D3DRENDERSTATE_CULLMODE, D3DCULL_NONE},      // mirrored blits turn triangles over
      {D3DRENDERSTATE_COLORVERTEX, 1},              // the vertex colour is the diffuse
      {D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA}, // alpha mode 1 until a blit sets one
      {D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA},
      {D3DRENDERSTATE_TEXTUREPERSPECTIVE, 0}, // affine mapping
      {D3DRENDERSTATE_ALPHATESTENABLE, 0},
      {D3DRENDERSTATE_DITHERENABLE, 0},
      {D3DRENDERSTATE_CLIPPING, 1},
      {D3DRENDERSTATE_ANTIALIAS, 0},
      {D3DRENDERSTATE_EDGEANTIALIAS, 0},
  };
  for (const auto &rs : renderStates) device->SetRenderState(rs.state, rs.value);
  static const struct {
    D3DTEXTURESTAGESTATETYPE state;
    DWORD value;
  } stageStates[] = {
      {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, // alpha = texture alpha x diffuse alpha
      {D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},    {D3DTSS_ALPHAOP, D3DTOP_MODULATE},
      {D3DTSS_ADDRESS, D3DTADDRESS_CLAMP}, // with U and V
      {D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP}, {D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP},
      {D3DTSS_MAGFILTER, D3DTFG_POINT},     {D3DTSS_MINFILTER, D3DTFN_POINT},
  };
  for (const auto &ss : stageStates) device->SetTextureStageState(0, ss.state, ss.value);
}

// ---- settings ----------------------------------------------------------------------------

float KGraphicD3D::getWidth() { return fimageWidth; }
float KGraphicD3D::getHeight() { return fimageHeight; }

void KGraphicD3D::setTextureQuality(bool quality) {
  _textureQuality = quality;
  _textureQualityD3D = quality ? D3DTFG_LINEAR : D3DTFG_POINT;
}

void KGraphicD3D::allowTextureWrap(bool texwRap) {
  _textureWrap = texwRap;
  _textureWrapD3D = texwRap ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP;
}

void KGraphicD3D::setAlphaMode(long alphamode) {
  static const D3DBLEND factors[4][2] = {
      {D3DBLEND_SRCALPHA, D3DBLEND_DESTALPHA},   // K_ALPHA_ADD
      {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}, // K_ALPHA_NORMAL
      {D3DBLEND_ONE, D3DBLEND_INVSRCALPHA},      // K_ALPHA_PREMULTIPLIED
      {D3DBLEND_ZERO, D3DBLEND_INVSRCALPHA},     // K_ALPHA_ERASE
  };
  if (alphamode < 0 || alphamode > 3) return;
  _sourceAlpha = factors[alphamode][0];
  _destAlpha = factors[alphamode][1];
}

void KGraphicD3D::setBlitColor(float r, float g, float b, float a) {
  if (r == 1 && g == 1 && b == 1 && a == 1) {
    _blitColorChanged = false;
    return;
  }
  auto clamp01 = [](float v) { return v > 1 ? 1.0f : v < 0 ? 0.0f : v; };
  _blitRed = clamp01(r);
  _blitGreen = clamp01(g);
  _blitBlue = clamp01(b);
  _blitAlpha = clamp01(a);
  _blitColorChanged = true;
}

void KGraphicD3D::setColorKey(bool active, unsigned char r, unsigned char g, unsigned char b) {
  _ckActive = active;
  _ckr = r;
  _ckg = g;
  _ckb = b;
}

void KGraphicD3D::freePicture() {
  if (_surface) {
    if (_oldBindedText == _surface) _oldBindedText = nullptr;
    _surface->Release();
    _surface = nullptr;
  }
  _ftextureWIDTH = _ftextureHEIGHT = 0;
  fimageWidth = fimageHeight = 0;
}

void KGraphicD3D::pollArray() {} // the array was copied once

void KGraphicD3D::selectTexture() {
  if (_surface && _d3d) qrx_bindTexture();
}

// ---- shared drawing steps ----------------------------------------------------------------

bool KGraphicD3D::qrx_bindTexture() {
  if (_oldBindedText == _surface) return true;
  if (FAILED(_d3d->SetTexture(0, _surface))) return false;
  _oldBindedText = _surface;
  return true;
}

bool KGraphicD3D::reloadIfLost() {
  if (!_surface || _surface->IsLost() != DDERR_SURFACELOST) return _surface != nullptr;
  char name[sizeof imageFileName];
  snprintf(name, sizeof name, "%s", imageFileName);
  freePicture();
  // A picture that did not come from a file cannot come back: it stays empty.
  if (name[0]) loadPicture(name, _hidef, _hasAlpha);
  return _surface != nullptr;
}

void KGraphicD3D::applyPictureState() {
  _d3d->SetTextureStageState(0, D3DTSS_ADDRESS, _textureWrapD3D);
  _d3d->SetTextureStageState(0, D3DTSS_ADDRESSU, _textureWrapD3D);
  _d3d->SetTextureStageState(0, D3DTSS_ADDRESSV, _textureWrapD3D);
  _d3d->SetTextureStageState(0, D3DTSS_MAGFILTER, _textureQualityD3D);
  _d3d->SetTextureStageState(0, D3DTSS_MINFILTER, _textureQualityD3D);
  _d3d->SetRenderState(D3DRENDERSTATE_SRCBLEND, _sourceAlpha);
  _d3d->SetRenderState(D3DRENDERSTATE_DESTBLEND, _destAlpha);
}

// The one vertex colour of a textured operation: white at opacity _blend, or the tint.
// blendOnly: the four-point blit takes the tint's alpha alone.
D3DCOLOR KGraphicD3D::textureColour(bool tinted, bool blendOnly) const {
  if (!tinted || !_blitColorChanged) return byte255(_blend) << 24 | 0xFFFFFF;
  float alpha = blendOnly ? _blitAlpha : _blend * _blitAlpha;
  return byte255(alpha) << 24 | byte255(_blitRed) << 16 | byte255(_blitGreen) << 8 |
         byte255(_blitBlue);
}

D3DMATRIX KGraphicD3D::world() const {
  D3DMATRIX m;
  _d3d->GetTransform(D3DTRANSFORMSTATE_WORLD, &m);
  return m;
}

void KGraphicD3D::setWorld(const D3DMATRIX &m) {
  D3DMATRIX copy = m;
  _d3d->SetTransform(D3DTRANSFORMSTATE_WORLD, &copy);
}

void KGraphicD3D::drawUntextured(D3DPRIMITIVETYPE type, D3DLVERTEX *vertices, DWORD count) {
  _d3d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  _d3d->SetTexture(0, nullptr);
  _d3d->DrawPrimitive(type, D3DFVF_LVERTEX, vertices, count, 0);
  _oldBindedText = nullptr;
}

// ---- textured blits ----------------------------------------------------------------------

void KGraphicD3D::GenericBlit(long x1, long y1, long x2, long y2, float destX, float destY,
                              bool flipx, bool flipy, bool tinted) {
  if (!reloadIfLost()) return;
  applyPictureState();
  if (!qrx_bindTexture()) return;
  D3DMATRIX w = world();
  // The half-pixel offset puts texel centres on pixel centres.
  setWorld(product(w, translation(destX - 0.5f, -destY + 0.5f)));
  float width = (float)(x2 - x1), height = (float)(y1 - y2);
  float uA = x1 / _ftextureWIDTH, uB = x2 / _ftextureWIDTH;
  float vA = y1 / _ftextureHEIGHT, vB = y2 / _ftextureHEIGHT;
  if (flipx) std::swap(uA, uB);
  if (flipy) std::swap(vA, vB);
  D3DCOLOR c = textureColour(tinted, false);
  D3DLVERTEX strip[4] = {vertex(0, 0, c, uA, vA), vertex(width, 0, c, uB, vA),
                         vertex(0, height, c, uA, vB), vertex(width, height, c, uB, vB)};
  _d3d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, strip, 4, 0);
  setWorld(w);
}

void KGraphicD3D::blitRect(float x1, float y1, float x2, float y2, short destX, short destY,
                           bool flipx, bool flipy) {
  if (!_surface || !_d3d) return;
  _d3d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
  GenericBlit((long)x1, (long)y1, (long)x2, (long)y2, destX, destY, flipx, flipy, false);
}

void KGraphicD3D::blitAlphaRect(float x1, float y1, float x2, float y2, short destX, short destY,
                                bool flipx, bool flipy) {
  if (!_surface || !_d3d) return;
  _d3d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  GenericBlit((long)x1, (long)y1, (long)x2, (long)y2, destX, destY, flipx, flipy, true);
}

void KGraphicD3D::blitRectFx(float x1, float y1, float x2, float y2, short destX, short destY,
                             float angle, float zoom, bool flipx, bool flipy) {
  if (!_surface || !_d3d || zoom == 0) return;
  float mx = (x2 - x1) / 2, my = (y2 - y1) / 2;
  D3DMATRIX w = world();
  setWorld(product(product(product(translation(-mx, my), rotation(angle)), scaling(zoom)), w));
  _blend = 1.0f;
  blitRect(x1, y1, x2, y2, (short)(destX + mx), (short)(destY + my), flipx, flipy);
  _blend = 1.0f;
  setWorld(w);
}

void KGraphicD3D::blitAlphaRectFx(float x1, float y1, float x2, float y2, short destX, short destY,
                                  float angle, float zoom, float blend, bool flipx, bool flipy) {
  if (!_surface || !_d3d || zoom == 0 || blend <= 0) return;
  float mx = (x2 - x1) / 2, my = (y2 - y1) / 2;
  D3DMATRIX w = world();
  setWorld(product(product(product(translation(-mx, my), rotation(angle)), scaling(zoom)), w));
  _blend = blend;
  blitAlphaRect(x1, y1, x2, y2, (short)(destX + mx), (short)(destY + my), flipx, flipy);
  _blend = 1.0f;
  setWorld(w);
}

void KGraphicD3D::genericStretchBlit(float sx1, float sy1, float sx2, float sy2, float dx1,
                                     float dy1, float dx2, float dy2) {
  if (!reloadIfLost()) return;
  applyPictureState();
  if (!qrx_bindTexture()) return;
  setWorld(product(world(), translation(dx1 - 0.5f, -dy1 + 0.5f)));
  float width = dx2 - dx1, height = dy1 - dy2;
  float uA = sx1 / _ftextureWIDTH, uB = sx2 / _ftextureWIDTH;
  float vA = sy1 / _ftextureHEIGHT, vB = sy2 / _ftextureHEIGHT;
  D3DCOLOR c = textureColour(true, false);
  D3DLVERTEX strip[4] = {vertex(0, 0, c, uA, vA), vertex(width, 0, c, uB, vA),
                         vertex(0, height, c, uA, vB), vertex(width, height, c, uB, vB)};
  _d3d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, strip, 4, 0);
}

void KGraphicD3D::stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1,
                                   float dx2, float dy2, float blend, float angle) {
  if (!_surface || !_d3d) return;
  float mx = (dx2 - dx1) / 2, my = (dy2 - dy1) / 2;
  D3DMATRIX w = world();
  setWorld(product(product(translation(-mx, my), rotation(angle)), w));
  _blend = blend;
  _d3d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  genericStretchBlit(sx1, sy1, sx2, sy2, dx1 + mx, dy1 + my, dx2 + mx, dy2 + my);
  _blend = 1.0f;
  setWorld(w);
}

void KGraphicD3D::blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3,
                                    float sy3, float sx4, float sy4, float dx1, float dy1,
                                    float dx2, float dy2, float dx3, float dy3, float dx4,
                                    float dy4) {
  if (!_surface || !_d3d || !reloadIfLost()) return;
  _d3d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  applyPictureState();
  if (!qrx_bindTexture()) return;
  D3DCOLOR c = textureColour(true, true);
  auto corner = [&](float sx, float sy, float dx, float dy) {
    return vertex(dx, -dy, c, sx / _ftextureWIDTH, sy / _ftextureHEIGHT);
  };
  D3DLVERTEX p1 = corner(sx1, sy1, dx1, dy1), p2 = corner(sx2, sy2, dx2, dy2);
  D3DLVERTEX p3 = corner(sx3, sy3, dx3, dy3), p4 = corner(sx4, sy4, dx4, dy4);
  D3DLVERTEX list[6] = {p1, p2, p3, p1, p3, p4};
  _d3d->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, list, 6, 0);
}

void KGraphicD3D::blitTiledRect(short destX, short destY, short width, short height,
                                float tileFactor, float angle) {
  if (!_surface || !_d3d || !reloadIfLost()) return;
  _d3d->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 0);
  D3DTEXTUREADDRESS address = _textureWrap ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP;
  _d3d->SetTextureStageState(0, D3DTSS_ADDRESS, address);
  _d3d->SetTextureStageState(0, D3DTSS_ADDRESSU, address);
  _d3d->SetTextureStageState(0, D3DTSS_ADDRESSV, address);
  D3DTEXTUREMAGFILTER filter = _textureQuality ? D3DTFG_LINEAR : D3DTFG_POINT;
  _d3d->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
  _d3d->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
  int mx = width / 2, my = height / 2;
  D3DMATRIX w = world();
  if (!qrx_bindTexture()) return;
  setWorld(product(product(product(translation((float)-mx, (float)my), rotation(angle)),
                           translation((float)(destX + mx), (float)(-destY - my))),
                   w));
  D3DCOLOR c = byte255(_blend) << 24 | 0xFFFFFF; // never tinted
  float fw = width, fh = height;
  D3DLVERTEX strip[4] = {vertex(0, 0, c, 0, 0), vertex(fw, 0, c, tileFactor, 0),
                         vertex(0, -fh, c, 0, tileFactor),
                         vertex(fw, -fh, c, tileFactor, tileFactor)};
  _d3d->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, strip, 4, 0);
  setWorld(w);
}

// ---- untextured drawing ------------------------------------------------------------------

namespace {
// Colour of the untextured operations; components are clamped to 0..1.
D3DCOLOR plainColour(float r, float g, float b, float blend) {
  return byte255(blend) << 24 | byte255(r) << 16 | byte255(g) << 8 | byte255(b);
}
} // namespace

void KGraphicD3D::drawRect(float x1, float y1, float x2, float y2, float r, float g, float b,
                           float blend) {
  if (!_d3d) return;
  D3DCOLOR c = plainColour(r, g, b, blend);
  D3DLVERTEX list[6] = {vertex(x1, -y1, c), vertex(x2, -y1, c), vertex(x1, -y2, c),
                        vertex(x2, -y1, c), vertex(x2, -y2, c), vertex(x1, -y2, c)};
  drawUntextured(D3DPT_TRIANGLELIST, list, 6);
}

void KGraphicD3D::drawLine(float x1, float y1, float x2, float y2, float r, float g, float b,
                           float blend) {
  if (!_d3d) return;
  D3DCOLOR c = plainColour(r, g, b, blend);
  D3DLVERTEX line[2] = {vertex(x1, -y1, c), vertex(x2, -y2, c)};
  drawUntextured(D3DPT_LINELIST, line, 2);
}

void KGraphicD3D::plotPixel(float x1, float y1, float r, float g, float b, float blend) {
  if (!_d3d) return;
  D3DLVERTEX point = vertex(x1, -y1, plainColour(r, g, b, blend));
  drawUntextured(D3DPT_POINTLIST, &point, 1);
}
