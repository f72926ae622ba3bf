// The RGB device: render and texture-stage state, transforms, scenes, clears, and primitives
// handed to the rasteriser in screen space.

#include <cstring>
#include <memory>
#include <string>

#include "bands.h"
#include "device.h"

namespace zyddraw {

namespace {

bool gFastRasteriser = true;

const D3DMATRIX kIdentity = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

// Row vector times matrix.
void transform(const D3DMATRIX &m, float x, float y, float z, float out[4]) {
  out[0] = x * m._11 + y * m._21 + z * m._31 + m._41;
  out[1] = x * m._12 + y * m._22 + z * m._32 + m._42;
  out[2] = x * m._13 + y * m._23 + z * m._33 + m._43;
  out[3] = x * m._14 + y * m._24 + z * m._34 + m._44;
}

D3DMATRIX multiply(const D3DMATRIX &a, const D3DMATRIX &b) {
  const float *pa = &a._11, *pb = &b._11;
  D3DMATRIX r;
  float *pr = &r._11;
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++) {
      float sum = 0;
      for (int k = 0; k < 4; k++) sum += pa[i * 4 + k] * pb[k * 4 + j];
      pr[i * 4 + j] = sum;
    }
  return r;
}

// What a texture-stage operation makes of its two arguments.
Combine combineOf(DWORD op, DWORD arg1, DWORD arg2) {
  auto select = [](DWORD arg) {
    return arg == D3DTA_TEXTURE ? Combine::Texture : Combine::Diffuse;
  };
  switch (op) {
  case D3DTOP_SELECTARG1: return select(arg1);
  case D3DTOP_SELECTARG2: return select(arg2);
  case D3DTOP_MODULATE:
    return (arg1 == D3DTA_TEXTURE) != (arg2 == D3DTA_TEXTURE) ? Combine::Modulate : select(arg1);
  default: // a disabled stage passes the diffuse colour on
    return Combine::Diffuse;
  }
}

class Device final : public IDirect3DDevice7 {
public:
  explicit Device(Surface *target) : _target(target) {
    _target->AddRef();
    for (D3DMATRIX &m : _transforms) m = kIdentity;
    _viewport = {0, 0, (DWORD)target->width(), (DWORD)target->height(), 0.0f, 1.0f};
    // The defaults of Direct3D 7.
    _render[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
    _render[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
    _render[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
    _render[D3DRENDERSTATE_LIGHTING] = 1;
    _render[D3DRENDERSTATE_COLORVERTEX] = 1;
    _render[D3DRENDERSTATE_CLIPPING] = 1;
    _render[D3DRENDERSTATE_LASTPIXEL] = 1;
    _stage[D3DTSS_COLOROP] = D3DTOP_MODULATE;
    _stage[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    _stage[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    _stage[D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
    _stage[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    _stage[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
    _stage[D3DTSS_ADDRESS] = _stage[D3DTSS_ADDRESSU] = _stage[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
    _stage[D3DTSS_MAGFILTER] = D3DTFG_POINT;
    _stage[D3DTSS_MINFILTER] = D3DTFN_POINT;
  }
  ~Device() override {
    if (_bands) _bands->flush();
    if (_texture) _texture->Release();
    _target->Release();
  }

  DWORD AddRef() override { return ++_refs; }
  DWORD Release() override {
    DWORD left = --_refs;
    if (left == 0) delete this;
    return left;
  }

  HRESULT SetRenderTarget(IDirectDrawSurface7 *target, DWORD) override {
    Surface *s = static_cast<Surface *>(target);
    if (!s || s->layout() == Layout::ARGB4444) return DDERR_INVALIDPARAMS;
    flushDeferredDrawing();
    s->AddRef();
    _target->Release();
    _target = s;
    return D3D_OK;
  }

  HRESULT SetViewport(D3DVIEWPORT7 *vp) override {
    if (!vp || vp->dwWidth == 0 || vp->dwHeight == 0 ||
        (long)vp->dwX + vp->dwWidth > (long)_target->width() ||
        (long)vp->dwY + vp->dwHeight > (long)_target->height())
      return DDERR_INVALIDPARAMS;
    _viewport = *vp;
    return D3D_OK;
  }
  HRESULT GetViewport(D3DVIEWPORT7 *vp) override {
    if (!vp) return DDERR_INVALIDPARAMS;
    *vp = _viewport;
    return D3D_OK;
  }

  HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX *m) override {
    if (!m || state < D3DTRANSFORMSTATE_WORLD || state > D3DTRANSFORMSTATE_PROJECTION)
      return DDERR_INVALIDPARAMS;
    _transforms[state - 1] = *m;
    return D3D_OK;
  }
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX *m) override {
    if (!m || state < D3DTRANSFORMSTATE_WORLD || state > D3DTRANSFORMSTATE_PROJECTION)
      return DDERR_INVALIDPARAMS;
    *m = _transforms[state - 1];
    return D3D_OK;
  }

  HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override {
    if ((unsigned)state >= kRenderStates) return DDERR_INVALIDPARAMS;
    _render[state] = value;
    return D3D_OK;
  }
  HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD *value) override {
    if ((unsigned)state >= kRenderStates || !value) return DDERR_INVALIDPARAMS;
    *value = _render[state];
    return D3D_OK;
  }

  HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value) override {
    if (stage != 0 || (unsigned)state >= kStageStates) return DDERR_INVALIDPARAMS;
    _stage[state] = value;
    if (state == D3DTSS_ADDRESS) _stage[D3DTSS_ADDRESSU] = _stage[D3DTSS_ADDRESSV] = value;
    return D3D_OK;
  }
  HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD *value) override {
    if (stage != 0 || (unsigned)state >= kStageStates || !value) return DDERR_INVALIDPARAMS;
    *value = _stage[state];
    return D3D_OK;
  }

  HRESULT SetTexture(DWORD stage, IDirectDrawSurface7 *texture) override {
    if (stage != 0) return DDERR_INVALIDPARAMS;
    Surface *s = static_cast<Surface *>(texture);
    if (s) s->AddRef();
    if (_texture) _texture->Release();
    _texture = s;
    return D3D_OK;
  }
  HRESULT GetTexture(DWORD stage, IDirectDrawSurface7 **texture) override {
    if (stage != 0 || !texture) return DDERR_INVALIDPARAMS;
    if (_texture) _texture->AddRef();
    *texture = _texture;
    return D3D_OK;
  }

  HRESULT BeginScene() override {
    if (_inScene) return D3DERR_SCENE_IN_SCENE;
    _inScene = true;
    // The threading mode of this scene; the worker thread lives while the mode lasts.
    if (rasterThreads() > 1 && !_bands) _bands.reset(new BandedDrawing);
    if (rasterThreads() == 1) _bands.reset();
    return D3D_OK;
  }
  HRESULT EndScene() override {
    if (!_inScene) return D3DERR_SCENE_NOT_IN_SCENE;
    _inScene = false;
    if (_bands) _bands->flush();
    return D3D_OK;
  }

  HRESULT Clear(DWORD count, D3DRECT *rects, DWORD flags, D3DCOLOR color, D3DVALUE,
                DWORD) override {
    if (!(flags & D3DCLEAR_TARGET)) return D3D_OK;
    if (_target->lost()) return DDERR_SURFACELOST;
    flushDeferredDrawing();
    ClipRect vp = viewportRect();
    D3DRECT whole = {vp.x0, vp.y0, vp.x1, vp.y1};
    if (count == 0 || !rects) {
      rects = &whole;
      count = 1;
    }
    Target t = _target->target();
    int bpp = bytesPerPixel(t.layout);
    uint8_t stored[4];
    fromARGB(t.layout, stored, color); // the colour in the target's format, written as is
    for (DWORD i = 0; i < count; i++) {
      const D3DRECT &r = rects[i];
      fillRows(t.pixels, t.pitch, bpp, stored, std::max(r.x1, (long)vp.x0),
               std::max(r.y1, (long)vp.y0), std::min(r.x2, (long)vp.x1),
               std::min(r.y2, (long)vp.y1));
    }
    return D3D_OK;
  }

  HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, void *vertices, DWORD count,
                        DWORD) override {
    if (fvf != D3DFVF_LVERTEX || (!vertices && count)) return DDERR_INVALIDPARAMS;
    if (!_inScene) return D3DERR_SCENE_NOT_IN_SCENE;
    if (_target->lost()) return DDERR_SURFACELOST;
    const D3DLVERTEX *in = static_cast<const D3DLVERTEX *>(vertices);
    if (count > _screen.size()) {
      _screen.resize(count);
      _inside.resize(count);
    }
    D3DMATRIX m = multiply(multiply(_transforms[0], _transforms[1]), _transforms[2]);
    for (DWORD i = 0; i < count; i++) _inside[i] = toScreen(m, in[i], &_screen[i]);
    RasterState s = rasterState();
    Target t = _target->target();
    switch (type) {
    case D3DPT_POINTLIST:
      for (DWORD i = 0; i < count; i++)
        if (_inside[i]) draw(Primitive::Point, s, t, &_screen[i]);
      break;
    case D3DPT_LINELIST:
      for (DWORD i = 0; i + 1 < count; i += 2)
        if (_inside[i] && _inside[i + 1]) draw(Primitive::Line, s, t, &_screen[i]);
      break;
    case D3DPT_TRIANGLELIST:
      for (DWORD i = 0; i + 2 < count; i += 3) triangle(s, t, i, i + 1, i + 2);
      break;
    case D3DPT_TRIANGLESTRIP:
      // Every other triangle of a strip runs the other way round; reordering keeps one winding.
      for (DWORD i = 0; i + 2 < count; i++)
        if (i % 2 == 0)
          triangle(s, t, i, i + 1, i + 2);
        else
          triangle(s, t, i + 1, i, i + 2);
      break;
    default: return DDERR_INVALIDPARAMS;
    }
    return D3D_OK;
  }

  HRESULT PreLoad(IDirectDrawSurface7 *texture) override {
    Surface *s = static_cast<Surface *>(texture);
    if (!s) return DDERR_INVALIDPARAMS;
    return s->texture() ? D3D_OK : DDERR_SURFACELOST;
  }

private:
  static const unsigned kRenderStates = 256, kStageStates = 32;

  ClipRect viewportRect() const {
    return {(int)_viewport.dwX, (int)_viewport.dwY, (int)(_viewport.dwX + _viewport.dwWidth),
            (int)(_viewport.dwY + _viewport.dwHeight)};
  }

  // Projects a vertex to the viewport; false when clipping is on and it lies outside the depth
  // range or behind the eye (the renderer's vertices never do: its projection is orthographic).
  bool toScreen(const D3DMATRIX &m, const D3DLVERTEX &v, RasterVertex *out) const {
    float c[4];
    transform(m, v.x, v.y, v.z, c);
    if (!(c[3] > 0.0f)) return false;
    float x = c[0] / c[3], y = c[1] / c[3], z = c[2] / c[3];
    if (_render[D3DRENDERSTATE_CLIPPING] && !(z >= 0.0f && z <= 1.0f)) return false;
    out->x = (float)_viewport.dwX + (x + 1.0f) * 0.5f * (float)_viewport.dwWidth;
    out->y = (float)_viewport.dwY + (1.0f - y) * 0.5f * (float)_viewport.dwHeight;
    out->a = (float)(v.color >> 24);
    out->r = (float)((v.color >> 16) & 255);
    out->g = (float)((v.color >> 8) & 255);
    out->b = (float)(v.color & 255);
    out->u = v.tu;
    out->v = v.tv;
    return true;
  }

  RasterState rasterState() {
    RasterState s;
    s.texture = _texture ? _texture->texture() : nullptr;
    s.bilinear = _stage[D3DTSS_MAGFILTER] == D3DTFG_LINEAR;
    s.wrapU = _stage[D3DTSS_ADDRESSU] == D3DTADDRESS_WRAP;
    s.wrapV = _stage[D3DTSS_ADDRESSV] == D3DTADDRESS_WRAP;
    s.colour =
        combineOf(_stage[D3DTSS_COLOROP], _stage[D3DTSS_COLORARG1], _stage[D3DTSS_COLORARG2]);
    s.alpha = combineOf(_stage[D3DTSS_ALPHAOP], _stage[D3DTSS_ALPHAARG1], _stage[D3DTSS_ALPHAARG2]);
    s.blend = _render[D3DRENDERSTATE_ALPHABLENDENABLE] != 0;
    s.lastPixel = _render[D3DRENDERSTATE_LASTPIXEL] != 0;
    s.srcBlend = (D3DBLEND)_render[D3DRENDERSTATE_SRCBLEND];
    s.destBlend = (D3DBLEND)_render[D3DRENDERSTATE_DESTBLEND];
    s.clip = viewportRect();
    return s;
  }

  void triangle(const RasterState &s, const Target &t, DWORD i0, DWORD i1, DWORD i2) {
    if (!(_inside[i0] && _inside[i1] && _inside[i2])) return;
    RasterVertex v[3] = {_screen[i0], _screen[i1], _screen[i2]};
    // Clockwise on screen (y downward) has a positive cross product.
    float cross = (v[1].x - v[0].x) * (v[2].y - v[0].y) - (v[1].y - v[0].y) * (v[2].x - v[0].x);
    DWORD cull = _render[D3DRENDERSTATE_CULLMODE];
    if ((cull == D3DCULL_CW && cross > 0) || (cull == D3DCULL_CCW && cross < 0)) return;
    draw(Primitive::Triangle, s, t, v);
  }

  // Now, or at the end of the scene in bands.
  void draw(Primitive p, const RasterState &s, const Target &t, const RasterVertex *v) {
    TriangleDrawer triangle = _fast ? drawTriangleFast : drawTriangleReference;
    if (_bands)
      _bands->add(p, s, t, _target->height(), v, triangle);
    else
      drawPrimitive(p, s, t, v, triangle);
  }

  DWORD _refs = 1;
  Surface *_target;
  Surface *_texture = nullptr;
  D3DVIEWPORT7 _viewport;
  D3DMATRIX _transforms[3];
  DWORD _render[kRenderStates] = {};
  DWORD _stage[kStageStates] = {};
  bool _inScene = false;
  bool _fast = gFastRasteriser;
  std::vector<RasterVertex> _screen;
  std::vector<char> _inside;
  std::unique_ptr<BandedDrawing> _bands; // null: each primitive drawn at once
};

} // namespace

IDirect3DDevice7 *makeDevice(Surface *target) { return new Device(target); }

} // namespace zyddraw

void zyDDrawUseFastRasteriser(bool fast) { zyddraw::gFastRasteriser = fast; }

void zyDDrawSetRasterThreads(int threads) { zyddraw::setRasterThreads(threads); }

unsigned long long zyDDrawPixelsDrawn() { return zyddraw::pixelsDrawn(); }

bool zyDDrawUsePixels(const char *arithmetic) {
  using zyddraw::PixelOps;
  const std::string name = arithmetic ? arithmetic : "";
  if (name.empty())
    return zyddraw::usePixelOps(PixelOps::Avx2) || zyddraw::usePixelOps(PixelOps::Sse2) ||
           zyddraw::usePixelOps(PixelOps::Portable);
  return (name == "avx2" && zyddraw::usePixelOps(PixelOps::Avx2)) ||
         (name == "sse2" && zyddraw::usePixelOps(PixelOps::Sse2)) ||
         (name == "portable" && zyddraw::usePixelOps(PixelOps::Portable));
}
