#ifndef ZY_DDRAW_H
#define ZY_DDRAW_H

// A software DirectDraw 7 / Direct3D 7: the subset the Direct3D renderer uses, named after the
// API it stands in for. Surfaces live in system memory; the device rasterises as Direct3D 7
// does (pixel centres on integers, top-left fill rule, affine texturing); presenting shows the
// primary surface in an SDL window. Windows stand in as SDL windows.

#include <cstdint>

#include "win_types.h"

struct SDL_Window;

typedef float D3DVALUE;
typedef uint32_t D3DCOLOR; // A R G B from the high byte down

// Results.
enum : HRESULT {
  DD_OK = 0,
  D3D_OK = 0,
  DDERR_GENERIC = (HRESULT)0x80004005,
  DDERR_INVALIDPARAMS = (HRESULT)0x80070057,
  DDERR_OUTOFMEMORY = (HRESULT)0x8007000E,
  DDERR_UNSUPPORTED = (HRESULT)0x80004001,
  DDERR_SURFACELOST = (HRESULT)0x887601C2,
  DDERR_NOTLOCKED = (HRESULT)0x887602DA,
  DDERR_SURFACEBUSY = (HRESULT)0x887601AE,
  DDERR_NOCLIPPERATTACHED = (HRESULT)0x887601E4,
  DDERR_NOTFOUND = (HRESULT)0x887600FF,
  D3DERR_SCENE_IN_SCENE = (HRESULT)0x88760B0C,
  D3DERR_SCENE_NOT_IN_SCENE = (HRESULT)0x88760B0D,
};

// Interface and device identifiers.
struct IID {
  int id;
};
inline bool operator==(const IID &a, const IID &b) { return a.id == b.id; }
extern const IID IID_IDirectDraw7;
extern const IID IID_IDirect3D7;
extern const IID IID_IDirect3DTnLHalDevice; // refused: no hardware here
extern const IID IID_IDirect3DHALDevice;    // refused: no hardware here
extern const IID IID_IDirect3DRGBDevice;    // the software device

struct RECT {
  long left, top, right, bottom;
};

// Surface description (the fields used).
enum : DWORD {
  DDSD_CAPS = 0x1,
  DDSD_HEIGHT = 0x2,
  DDSD_WIDTH = 0x4,
  DDSD_PITCH = 0x8,
  DDSD_BACKBUFFERCOUNT = 0x20,
  DDSD_PIXELFORMAT = 0x1000,
};
enum : DWORD {
  DDSCAPS_BACKBUFFER = 0x4,
  DDSCAPS_COMPLEX = 0x8,
  DDSCAPS_FLIP = 0x10,
  DDSCAPS_OFFSCREENPLAIN = 0x40,
  DDSCAPS_PRIMARYSURFACE = 0x200,
  DDSCAPS_SYSTEMMEMORY = 0x800,
  DDSCAPS_TEXTURE = 0x1000,
  DDSCAPS_3DDEVICE = 0x2000,
  DDSCAPS_VIDEOMEMORY = 0x4000,
  DDSCAPS2_TEXTUREMANAGE = 0x10,
};
enum : DWORD {
  DDPF_ALPHAPIXELS = 0x1,
  DDPF_RGB = 0x40,
};
struct DDPIXELFORMAT {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwFourCC;
  DWORD dwRGBBitCount;
  DWORD dwRBitMask;
  DWORD dwGBitMask;
  DWORD dwBBitMask;
  DWORD dwRGBAlphaBitMask;
};
struct DDSCAPS2 {
  DWORD dwCaps;
  DWORD dwCaps2;
  DWORD dwCaps3;
  DWORD dwCaps4;
};
struct DDSURFACEDESC2 {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwHeight;
  DWORD dwWidth;
  long lPitch;
  DWORD dwBackBufferCount;
  void *lpSurface;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS2 ddsCaps;
};

// Lock, Blt, Flip and cooperative-level flags.
enum : DWORD {
  DDLOCK_WAIT = 0x1,
  DDLOCK_READONLY = 0x10,
  DDLOCK_WRITEONLY = 0x20,
  DDBLT_COLORFILL = 0x400,
  DDBLT_WAIT = 0x1000000,
  DDFLIP_WAIT = 0x1,
  DDSCL_FULLSCREEN = 0x1,
  DDSCL_ALLOWREBOOT = 0x2,
  DDSCL_NORMAL = 0x8,
  DDSCL_EXCLUSIVE = 0x10,
  DDSCL_FPUSETUP = 0x800,
  DDWAITVB_BLOCKBEGIN = 0x1,
};
struct DDBLTFX {
  DWORD dwSize;
  DWORD dwFillColor; // in the destination's pixel format
};

class IDirectDrawClipper;

class IDirectDrawSurface7 {
public:
  virtual ~IDirectDrawSurface7() {}
  virtual DWORD AddRef() = 0;
  virtual DWORD Release() = 0;
  virtual HRESULT Lock(RECT *rect, DDSURFACEDESC2 *desc, DWORD flags, void *event) = 0;
  virtual HRESULT Unlock(RECT *rect) = 0;
  // Colour fill (DDBLT_COLORFILL) or copy of src (same format; sizes may differ: point stretch).
  virtual HRESULT Blt(RECT *destRect, IDirectDrawSurface7 *src, RECT *srcRect, DWORD flags,
                      DDBLTFX *fx) = 0;
  virtual HRESULT Flip(IDirectDrawSurface7 *target, DWORD flags) = 0;
  virtual HRESULT GetAttachedSurface(DDSCAPS2 *caps, IDirectDrawSurface7 **surface) = 0;
  virtual HRESULT GetSurfaceDesc(DDSURFACEDESC2 *desc) = 0;
  virtual HRESULT SetClipper(IDirectDrawClipper *clipper) = 0;
  virtual HRESULT IsLost() = 0;
  virtual HRESULT Restore() = 0;
};
typedef IDirectDrawSurface7 *LPDIRECTDRAWSURFACE7;

class IDirectDrawClipper {
public:
  virtual ~IDirectDrawClipper() {}
  virtual DWORD AddRef() = 0;
  virtual DWORD Release() = 0;
  virtual HRESULT SetHWnd(DWORD flags, SDL_Window *window) = 0;
};
typedef IDirectDrawClipper *LPDIRECTDRAWCLIPPER;

class IDirectDraw7 {
public:
  virtual ~IDirectDraw7() {}
  virtual DWORD AddRef() = 0;
  virtual DWORD Release() = 0;
  virtual HRESULT QueryInterface(const IID &iid, void **object) = 0;
  virtual HRESULT SetCooperativeLevel(SDL_Window *window, DWORD flags) = 0;
  virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bpp, DWORD refreshRate,
                                 DWORD flags) = 0;
  virtual HRESULT RestoreDisplayMode() = 0;
  virtual HRESULT CreateSurface(DDSURFACEDESC2 *desc, IDirectDrawSurface7 **surface,
                                void *outer) = 0;
  virtual HRESULT CreateClipper(DWORD flags, IDirectDrawClipper **clipper, void *outer) = 0;
  virtual HRESULT WaitForVerticalBlank(DWORD flags, void *event) = 0;
};
typedef IDirectDraw7 *LPDIRECTDRAW7;

// Makes the DirectDraw object (driver must be null: the default and only one).
HRESULT DirectDrawCreateEx(void *driver, void **object, const IID &iid, void *outer);

// ---- Direct3D 7 ----

struct D3DMATRIX {
  D3DVALUE _11, _12, _13, _14;
  D3DVALUE _21, _22, _23, _24;
  D3DVALUE _31, _32, _33, _34;
  D3DVALUE _41, _42, _43, _44;
};

struct D3DVIEWPORT7 {
  DWORD dwX, dwY, dwWidth, dwHeight;
  D3DVALUE dvMinZ, dvMaxZ;
};

// The pre-lit vertex: position, reserved word, diffuse, specular, one texture coordinate set.
struct D3DLVERTEX {
  D3DVALUE x, y, z;
  DWORD dwReserved;
  D3DCOLOR color;
  D3DCOLOR specular;
  D3DVALUE tu, tv;
};
enum : DWORD { D3DFVF_LVERTEX = 0x1E2 };

enum D3DPRIMITIVETYPE {
  D3DPT_POINTLIST = 1,
  D3DPT_LINELIST = 2,
  D3DPT_TRIANGLELIST = 4,
  D3DPT_TRIANGLESTRIP = 5,
};

enum D3DTRANSFORMSTATETYPE {
  D3DTRANSFORMSTATE_WORLD = 1,
  D3DTRANSFORMSTATE_VIEW = 2,
  D3DTRANSFORMSTATE_PROJECTION = 3,
};

enum D3DRENDERSTATETYPE {
  D3DRENDERSTATE_ANTIALIAS = 2,
  D3DRENDERSTATE_TEXTUREPERSPECTIVE = 4,
  D3DRENDERSTATE_ZENABLE = 7,
  D3DRENDERSTATE_ALPHATESTENABLE = 15,
  D3DRENDERSTATE_LASTPIXEL = 16, // lines draw their end pixel (the default)
  D3DRENDERSTATE_SRCBLEND = 19,
  D3DRENDERSTATE_DESTBLEND = 20,
  D3DRENDERSTATE_CULLMODE = 22,
  D3DRENDERSTATE_DITHERENABLE = 26,
  D3DRENDERSTATE_ALPHABLENDENABLE = 27,
  D3DRENDERSTATE_EDGEANTIALIAS = 40,
  D3DRENDERSTATE_CLIPPING = 136,
  D3DRENDERSTATE_LIGHTING = 137,
  D3DRENDERSTATE_COLORVERTEX = 141,
};

enum _D3DBLEND {
  D3DBLEND_ZERO = 1,
  D3DBLEND_ONE = 2,
  D3DBLEND_SRCALPHA = 5,
  D3DBLEND_INVSRCALPHA = 6,
  D3DBLEND_DESTALPHA = 7,
};
typedef _D3DBLEND D3DBLEND;

enum D3DCULL { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };

enum D3DTEXTURESTAGESTATETYPE {
  D3DTSS_COLOROP = 1,
  D3DTSS_COLORARG1 = 2,
  D3DTSS_COLORARG2 = 3,
  D3DTSS_ALPHAOP = 4,
  D3DTSS_ALPHAARG1 = 5,
  D3DTSS_ALPHAARG2 = 6,
  D3DTSS_ADDRESS = 12,
  D3DTSS_ADDRESSU = 13,
  D3DTSS_ADDRESSV = 14,
  D3DTSS_MAGFILTER = 16,
  D3DTSS_MINFILTER = 17,
};
enum D3DTEXTUREOP {
  D3DTOP_DISABLE = 1,
  D3DTOP_SELECTARG1 = 2,
  D3DTOP_SELECTARG2 = 3,
  D3DTOP_MODULATE = 4,
};
enum : DWORD {
  D3DTA_DIFFUSE = 0,
  D3DTA_CURRENT = 1,
  D3DTA_TEXTURE = 2,
};
enum _D3DTEXTUREADDRESS {
  D3DTADDRESS_WRAP = 1,
  D3DTADDRESS_MIRROR = 2,
  D3DTADDRESS_CLAMP = 3,
};
typedef _D3DTEXTUREADDRESS D3DTEXTUREADDRESS;
enum _D3DTEXTUREMAGFILTER {
  D3DTFG_POINT = 1,
  D3DTFG_LINEAR = 2,
};
typedef _D3DTEXTUREMAGFILTER D3DTEXTUREMAGFILTER;
enum D3DTEXTUREMINFILTER {
  D3DTFN_POINT = 1,
  D3DTFN_LINEAR = 2,
};

enum : DWORD {
  D3DCLEAR_TARGET = 0x1,
  D3DCLEAR_ZBUFFER = 0x2,
  D3DCLEAR_STENCIL = 0x4,
};
struct D3DRECT {
  long x1, y1, x2, y2;
};

class IDirect3DDevice7 {
public:
  virtual ~IDirect3DDevice7() {}
  virtual DWORD AddRef() = 0;
  virtual DWORD Release() = 0;
  virtual HRESULT SetRenderTarget(IDirectDrawSurface7 *target, DWORD flags) = 0;
  virtual HRESULT SetViewport(D3DVIEWPORT7 *viewport) = 0;
  virtual HRESULT GetViewport(D3DVIEWPORT7 *viewport) = 0;
  virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX *matrix) = 0;
  virtual HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX *matrix) = 0;
  virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
  virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD *value) = 0;
  virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state,
                                       DWORD value) = 0;
  virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state,
                                       DWORD *value) = 0;
  virtual HRESULT SetTexture(DWORD stage, IDirectDrawSurface7 *texture) = 0;
  virtual HRESULT GetTexture(DWORD stage, IDirectDrawSurface7 **texture) = 0;
  virtual HRESULT BeginScene() = 0;
  virtual HRESULT EndScene() = 0;
  virtual HRESULT Clear(DWORD count, D3DRECT *rects, DWORD flags, D3DCOLOR color, D3DVALUE z,
                        DWORD stencil) = 0;
  virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD fvf, void *vertices, DWORD count,
                                DWORD flags) = 0;
  virtual HRESULT PreLoad(IDirectDrawSurface7 *texture) = 0;
};
typedef IDirect3DDevice7 *LPDIRECT3DDEVICE7;

class IDirect3D7 {
public:
  virtual ~IDirect3D7() {}
  virtual DWORD AddRef() = 0;
  virtual DWORD Release() = 0;
  // Refuses the hardware kinds (DDERR_NOTFOUND) and makes the RGB device.
  virtual HRESULT CreateDevice(const IID &kind, IDirectDrawSurface7 *target,
                               IDirect3DDevice7 **device) = 0;
};
typedef IDirect3D7 *LPDIRECT3D7;

// ---- Hooks for tests and tools (not part of the Windows API) ----

// Pixel format of the primary surface and of off-screen surfaces made without one:
// 32 (X8R8G8B8, the default), 16 (R5G6B5) or 15 (X1R5G5B5).
void zyDDrawSetDisplayDepth(int bits);
// Marks a surface lost, as a mode change by another program would (managed textures included,
// so that the reload path can be exercised).
void zyDDrawLoseSurface(IDirectDrawSurface7 *surface);
// Chooses the rasteriser of devices made afterwards: false = the slow reference one.
void zyDDrawUseFastRasteriser(bool fast);
// The drawing threads of scenes begun afterwards: 1 draws each primitive at once, 2 draws the
// scene in two bands of rows at its end (the default where there are two cores or more).
void zyDDrawSetRasterThreads(int threads);
// The pixels the fast rasteriser's triangles have covered so far (for benchmarks).
unsigned long long zyDDrawPixelsDrawn();
// Chooses the fast rasteriser's pixel arithmetic: "portable" (plain C++), "sse2" or "avx2"; null
// for the fastest there is (the default). False, changing nothing, when the build lacks that one
// or the processor cannot run it.
bool zyDDrawUsePixels(const char *arithmetic);

#endif
