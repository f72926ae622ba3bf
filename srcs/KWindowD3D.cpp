// The Direct3D 7 window: host window, DirectDraw contexts, device with its fallbacks, view
// transform, presentation, gamma, frame pacing and the window procedure.

#include "KWindowD3D.h"

#include <cstdio>

#include "KGraphicD3D.h"
#include "KInput.h"
#include "KMiscTools.h"
#include "host.h"
#include "matrices.h"

namespace {

void showError(const char *text) { KMiscTools::messageBox("", text); }

// Component x 255 truncated toward zero, kept to its byte.
uint32_t channel255(float c) { return (uint32_t)(int)(c * 255.0f) & 255u; }

} // namespace

KWindowD3D::KWindowD3D(bool use3d)
    : dv(), _displayQRXMouse(false), _hWndQRX(nullptr), _lpDD(nullptr), _lpDDSPrimary(nullptr),
      _lpDDSBack(nullptr), _lpD3D(nullptr), _lpD3DDevice(nullptr), _clearColor(0),
      _userCallback(nullptr), _qrxCallback(nullptr), _maxFrameRate(0), hasRectangleText(false),
      isAccelerated(false), _use3d(use3d), _gamma(1.0f), _isWaitVBLSupported(false),
      _fullscreen(false), _sourceScreenDepth(0), _gameScreenDepth(0), _windowID(0), _windowWidth(0),
      _windowHeight(0), _windowDepth(0), _quit(false),
      _frames(*this,
              {_displayQRXMouse, _gamma, _maxFrameRate, _fullscreen, _userCallback, _qrxCallback},
              {[this] { endDrawing(); }, [this] { doGammaAdjustment(); }, [this] { present(); },
               [this] {
                 if (_lpD3DDevice) _lpD3DDevice->BeginScene(); // a toggle may have remade it
               },
               nullptr}) {}

KWindowD3D::~KWindowD3D() {
  KInput::freeMouse();
  releaseDirectContexts();
  _userCallback = nullptr;
  _qrxCallback = nullptr;
  _displayQRXMouse = false;
  if (hostWindowExists(_hWndQRX)) {
    hostSetUserData(_hWndQRX, nullptr);
    hostDestroyWindow(_hWndQRX);
  }
  _hWndQRX = nullptr;
}

// ---- opening -----------------------------------------------------------------------------

bool KWindowD3D::createGameWindow(short width, short height, short depth, bool windowed,
                                  const char *windowTitle) {
  _windowWidth = width;
  _windowHeight = height;
  _windowDepth = depth;
  _fullscreen = !windowed;
  return createRealWindow(width, height, depth, windowTitle);
}

bool KWindowD3D::createRealWindow(short width, short height, short depth, const char *title) {
  if (depth != -1) SwitchToResolution(-1, -1, depth);
  HostWindowDesc desc{};
  desc.title = title;
  desc.width = width;
  desc.height = height;
  // Resizable: the host shows the picture scaled to whatever size the player gives it.
  desc.sdlFlags = SDL_WINDOW_RESIZABLE | (_fullscreen ? SDL_WINDOW_BORDERLESS : 0);
  desc.x = desc.y = HOST_CENTERED;
  desc.proc = GameWindowProc;
  desc.userData = this;
  _hWndQRX = hostCreateWindow(desc);
  if (!_hWndQRX) {
    hostTellWindowRefused();
    return false;
  }
  hostShowNormal(_hWndQRX);
  KInput::initInput(_hWndQRX);
  return attachD3DToWindow();
}

bool KWindowD3D::attachD3DToWindow() {
  if (!_fullscreen && !createDirectContextsWindow()) {
    showError("can't create directX context, please reinstall direct X");
    return false;
  }
  if (_fullscreen && !createDirectContextsFullScreen()) {
    showError("can't create directX context for fullscreen, please reinstall direct X");
    return false;
  }
  return regenerateD3DDevice();
}

bool KWindowD3D::makeDevice() {
  // Hardware transform and lighting first, then hardware, then the software device.
  static const IID *const kinds[] = {&IID_IDirect3DTnLHalDevice, &IID_IDirect3DHALDevice,
                                     &IID_IDirect3DRGBDevice};
  for (const IID *kind : kinds)
    if (SUCCEEDED(_lpD3D->CreateDevice(*kind, _lpDDSBack, &_lpD3DDevice))) return true;
  _lpD3DDevice = nullptr;
  return false;
}

bool KWindowD3D::regenerateD3DDevice() {
  if (_lpD3DDevice) {
    _lpD3DDevice->EndScene();
    _lpD3DDevice->Release();
    _lpD3DDevice = nullptr;
  }
  if (!_lpD3D || !_lpDDSBack || !makeDevice()) return false;
  D3DVIEWPORT7 vp = {0, 0, (DWORD)_windowWidth, (DWORD)_windowHeight, 0.0f, 1.0f};
  if (FAILED(_lpD3DDevice->SetViewport(&vp))) return false;
  KGraphicD3D::setDirectX(_lpDD, _lpD3DDevice, _lpDDSBack, _windowWidth, _windowHeight);
  return true;
}

SDL_Window *KWindowD3D::sdlWindow() { return _hWndQRX ? hostSDLWindow(_hWndQRX) : nullptr; }

bool KWindowD3D::createDirectContextsWindow() {
  if (!_lpDD) {
    if (FAILED(DirectDrawCreateEx(nullptr, (void **)&_lpDD, IID_IDirectDraw7, nullptr)))
      return false;
    if (FAILED(_lpDD->QueryInterface(IID_IDirect3D7, (void **)&_lpD3D))) return false;
  }
  if (_lpDDSPrimary) {
    _lpDDSPrimary->Release();
    _lpDDSPrimary = nullptr;
  }
  _lpDDSBack = nullptr;
  if (FAILED(_lpDD->SetCooperativeLevel(sdlWindow(), DDSCL_NORMAL))) {
    showError("could not change cooperative level");
    return false;
  }
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_VIDEOMEMORY;
  if (FAILED(_lpDD->CreateSurface(&desc, &_lpDDSPrimary, nullptr))) {
    showError("can't create primary surface for window mode");
    return false;
  }
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY;
  desc.dwWidth = (DWORD)_windowWidth;
  desc.dwHeight = (DWORD)_windowHeight;
  if (FAILED(_lpDD->CreateSurface(&desc, &_lpDDSBack, nullptr))) {
    _lpDDSBack = nullptr;
    showError("can't create backbuffer");
    return false;
  }
  IDirectDrawClipper *clipper = nullptr;
  if (FAILED(_lpDD->CreateClipper(0, &clipper, nullptr))) return false;
  clipper->SetHWnd(0, sdlWindow());
  _lpDDSPrimary->SetClipper(clipper);
  clipper->Release();
  ClearSurface(_lpDDSPrimary);
  ClearSurface(_lpDDSBack);
  return true;
}

bool KWindowD3D::createDirectContextsFullScreen() {
  if (!_lpDD) {
    if (FAILED(DirectDrawCreateEx(nullptr, (void **)&_lpDD, IID_IDirectDraw7, nullptr)))
      return false;
    if (FAILED(_lpDD->QueryInterface(IID_IDirect3D7, (void **)&_lpD3D))) return false;
  }
  if (_lpDDSBack && _lpDDSPrimary) { // a windowed back buffer is ours to release
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    _lpDDSBack->GetSurfaceDesc(&d);
    if (!(d.ddsCaps.dwCaps & DDSCAPS_BACKBUFFER)) _lpDDSBack->Release();
  }
  if (_lpDDSPrimary) _lpDDSPrimary->Release();
  _lpDDSPrimary = nullptr;
  _lpDDSBack = nullptr;
  if (FAILED(_lpDD->SetCooperativeLevel(sdlWindow(), DDSCL_FULLSCREEN | DDSCL_ALLOWREBOOT |
                                                         DDSCL_EXCLUSIVE | DDSCL_FPUSETUP))) {
    showError("could not change cooperative level");
    return false;
  }
  short depth = _windowDepth <= 0 ? 16 : _windowDepth;
  if (FAILED(
          _lpDD->SetDisplayMode((DWORD)_windowWidth, (DWORD)_windowHeight, (DWORD)depth, 0, 0))) {
    char text[128];
    snprintf(text, sizeof text, "Could not switch screen to %dx%d %d bits", _windowWidth,
             _windowHeight, depth);
    showError(text);
    return false;
  }
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX |
                        DDSCAPS_VIDEOMEMORY | DDSCAPS_3DDEVICE;
  desc.dwBackBufferCount = 1;
  if (FAILED(_lpDD->CreateSurface(&desc, &_lpDDSPrimary, nullptr))) {
    _lpDDSPrimary = nullptr;
    return false;
  }
  DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, 0};
  if (FAILED(_lpDDSPrimary->GetAttachedSurface(&caps, &_lpDDSBack))) {
    _lpDDSBack = nullptr;
    return false;
  }
  // The chain keeps its back buffer alive; the window's pointer is a plain reference to it.
  _lpDDSBack->Release();
  _lpDDSPrimary->SetClipper(nullptr);
  _lpDDSBack->SetClipper(nullptr);
  ClearSurface(_lpDDSPrimary);
  ClearSurface(_lpDDSBack);
  return true;
}

void KWindowD3D::ClearSurface(IDirectDrawSurface7 *surface) {
  if (!surface) return;
  DDBLTFX fx{};
  fx.dwSize = sizeof fx;
  fx.dwFillColor = 0;
  surface->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

bool KWindowD3D::releaseDirectContexts() {
  if (_lpD3DDevice) _lpD3DDevice->Release();
  if (_lpD3D) _lpD3D->Release();
  if (!_fullscreen && _lpDDSBack) _lpDDSBack->Release(); // in full screen the chain owns it
  if (_lpDDSPrimary) _lpDDSPrimary->Release();
  if (_lpDD) {
    if (_fullscreen) _lpDD->RestoreDisplayMode();
    _lpDD->Release();
  }
  _lpD3DDevice = nullptr;
  _lpD3D = nullptr;
  _lpDDSBack = nullptr;
  _lpDDSPrimary = nullptr;
  _lpDD = nullptr;
  KGraphicD3D::setDirectX(nullptr, nullptr, nullptr, _windowWidth, _windowHeight);
  return true;
}

// The desktop's depth is the display depth of the surfaces DirectDraw makes here; sizes and
// refresh rates belong to the full-screen mode, which DirectDraw sets itself.
bool KWindowD3D::SwitchToResolution(short width, short height, short depth) {
  if (depth <= 0) depth = 16;
  (void)width;
  (void)height;
  SDL_GetDesktopDisplayMode(0, &dv);
  if (!(depth == 15 || depth == 16 || depth == 24 || depth == 32)) return false;
  zyDDrawSetDisplayDepth(depth);
  return true;
}

void KWindowD3D::toggleFullScreen(bool fullscreen) {
  if (fullscreen == _fullscreen) return;
  if (_lpD3DDevice) {
    _lpD3DDevice->EndScene();
    _lpD3DDevice->Release();
    _lpD3DDevice = nullptr;
  }
  if (!fullscreen) {
    if (!_hWndQRX || !_lpDD) return;
    // The flip chain (and its back buffer) goes with the full-screen primary.
    if (_lpDDSPrimary) _lpDDSPrimary->Release();
    _lpDDSPrimary = nullptr;
    _lpDDSBack = nullptr;
    _fullscreen = false;
    // Leaving the desktop full screen gives the window back the size the player had chosen.
    _lpDD->RestoreDisplayMode();
    SDL_SetWindowBordered(sdlWindow(), SDL_TRUE);
    SDL_SetWindowPosition(sdlWindow(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    if (!createDirectContextsWindow()) return;
  } else {
    if (!_hWndQRX) return;
    _fullscreen = true;
    // The full-screen mode covers the desktop without changing it (the display shows the
    // mode's picture scaled).
    if (!createDirectContextsFullScreen()) return;
  }
  regenerateD3DDevice();
}

// ---- view --------------------------------------------------------------------------------

void KWindowD3D::setDefaultWorldView() { setWorldView(0, 0, 0, 1.0f, false); }

void KWindowD3D::setWorldView(float translateX, float translateY, float rotation, float zoom,
                              bool clearworld) {
  if (!_lpD3DDevice) return;
  _lpD3DDevice->SetRenderTarget(_lpDDSBack, 0);
  D3DVIEWPORT7 vp = {0, 0, (DWORD)_windowWidth, (DWORD)_windowHeight, 0.0f, 1.0f};
  _lpD3DDevice->SetViewport(&vp);
  _lpD3DDevice->SetRenderState(D3DRENDERSTATE_LIGHTING, 0);
  _lpD3DDevice->SetRenderState(D3DRENDERSTATE_ZENABLE, 0);
  _lpD3DDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  _lpD3DDevice->SetRenderState(D3DRENDERSTATE_COLORVERTEX, 1);
  if (clearworld) {
    D3DRECT r = {0, 0, _windowWidth, _windowHeight};
    _lpD3DDevice->Clear(1, &r, D3DCLEAR_TARGET, _clearColor, 1.0f, 0);
  }
  D3DMATRIX projection, view, m;
  ortho(&projection, _windowWidth, _windowHeight, -100.0f, 100.0f);
  _lpD3DDevice->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &projection);
  translate(&view, (float)-(_windowWidth / 2), (float)(_windowHeight / 2), 0);
  rotatez(&m, rotation);
  multiply(&view, view, m);
  scale(&m, zoom, zoom, 1);
  multiply(&view, view, m);
  translate(&m, translateX, translateY, 0);
  multiply(&view, view, m);
  _lpD3DDevice->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
}

void KWindowD3D::setClearColor(float r, float g, float b, float a) {
  _clearColor = channel255(a) << 24 | channel255(r) << 16 | channel255(g) << 8 | channel255(b);
}

// ---- frames ------------------------------------------------------------------------------

// With no device there is nothing to show.
void KWindowD3D::flipBackBuffer(bool waitForBackWindow, bool restoreView) {
  if (_lpD3DDevice) _frames.flip(waitForBackWindow, restoreView);
}

// The scene closes with the frame's drawing; surfaces lost meanwhile are restored before the
// gamma overlay draws into the back buffer.
void KWindowD3D::endDrawing() {
  _lpD3DDevice->EndScene();
  if (_lpDDSPrimary && _lpDDSPrimary->IsLost() == DDERR_SURFACELOST) {
    _lpDDSPrimary->Restore();
    if (!_fullscreen && _lpDDSBack && _lpDDSBack->IsLost() == DDERR_SURFACELOST)
      _lpDDSBack->Restore();
  }
}

// Windowed: the back buffer blitted to the window's client area at the vertical blank; full
// screen: the chain flipped.
void KWindowD3D::present() {
  if (_lpDDSPrimary) {
    if (!_fullscreen) {
      _lpDD->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
      RECT source = {0, 0, _windowWidth, _windowHeight};
      RECT client = source; // the primary surface is the window's client area
      _lpDDSPrimary->Blt(&client, _lpDDSBack, &source, DDBLT_WAIT, nullptr);
    } else {
      _lpDDSPrimary->Flip(nullptr, DDFLIP_WAIT);
    }
  }
}

void KWindowD3D::doGammaAdjustment() {
  if (!_lpD3DDevice) return;
  setDefaultWorldView();
  float darkness = 1.0f - _gamma;
  if (darkness < 0) darkness = 0;
  if (darkness > 1) darkness = 1;
  D3DCOLOR colour = (D3DCOLOR)(darkness * 255.0f) << 24;
  float w = _windowWidth, h = _windowHeight;
  D3DLVERTEX quad[6] = {{0, 0, 0, 0, colour, 0, 0, 0},  {w, 0, 0, 0, colour, 0, 0, 0},
                        {0, -h, 0, 0, colour, 0, 0, 0}, {w, 0, 0, 0, colour, 0, 0, 0},
                        {w, -h, 0, 0, colour, 0, 0, 0}, {0, -h, 0, 0, colour, 0, 0, 0}};
  // Darken by source alpha whatever mode the last picture left, and put that mode back.
  DWORD src = D3DBLEND_SRCALPHA, dest = D3DBLEND_INVSRCALPHA;
  _lpD3DDevice->GetRenderState(D3DRENDERSTATE_SRCBLEND, &src);
  _lpD3DDevice->GetRenderState(D3DRENDERSTATE_DESTBLEND, &dest);
  _lpD3DDevice->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
  _lpD3DDevice->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
  _lpD3DDevice->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  _lpD3DDevice->SetTexture(0, nullptr);
  KGraphicD3D::_oldBindedText = nullptr;
  _lpD3DDevice->BeginScene();
  _lpD3DDevice->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, quad, 6, 0);
  _lpD3DDevice->EndScene();
  _lpD3DDevice->SetRenderState(D3DRENDERSTATE_SRCBLEND, src);
  _lpD3DDevice->SetRenderState(D3DRENDERSTATE_DESTBLEND, dest);
}

// PORTING: every pending event, not one (SDL does not merge mouse motion).
void KWindowD3D::processEvents() { hostPumpEvents(); }

long KWindowD3D::GameWindowProc(HWND hWnd, unsigned int messg, unsigned int wParam, long lParam) {
  KWindowD3D *self = static_cast<KWindowD3D *>(hostUserData(hWnd));
  return KFrameSequence::dispatch(self ? &self->_frames : nullptr, hWnd, messg, wParam, lParam);
}

// ---- simple operations -------------------------------------------------------------------

void KWindowD3D::terminate() { _quit = true; }
bool KWindowD3D::hasFocus() { return hostHasFocus(_hWndQRX); }
void KWindowD3D::setTitle(const char *title) {
  if (_hWndQRX) hostSetTitle(_hWndQRX, title);
}
bool KWindowD3D::isQuit() { return _quit; }
HWND KWindowD3D::getWindowHandle() { return _hWndQRX; }
void KWindowD3D::setMaxFrameRate(long desiredFrameRate) {
  _maxFrameRate = desiredFrameRate > 0 ? (uint32_t)(1000 / desiredFrameRate) : 0;
}
bool KWindowD3D::getRectangleTexCap() { return true; }
bool KWindowD3D::getAccelerationCap() { return true; }
void KWindowD3D::setRectangleTexCap(bool) {}
void KWindowD3D::setGamma(float gammai) { _gamma = gammai < 0 ? 0 : gammai; }
long KWindowD3D::getWindowWidth() { return _windowWidth; }
long KWindowD3D::getWindowHeight() { return _windowHeight; }
void KWindowD3D::restore() {
  if (_hWndQRX) hostShowNormal(_hWndQRX);
}
void KWindowD3D::minimize() {
  if (_hWndQRX) hostMinimize(_hWndQRX);
}
void KWindowD3D::displayMouse(bool mousestate) { _displayQRXMouse = mousestate; }
void KWindowD3D::setCallBack(ptkUserCallBack userCallBack) { _userCallback = userCallBack; }
void KWindowD3D::setQRXCallBack(ptkQRXCallBack qrxCallBack) { _qrxCallback = qrxCallBack; }
