// The OpenGL window on the SDL host: SDL stands in for the Win32 window and WGL.
#include "KWindowGL.h"

#include <GL/gl.h>
#include <SDL.h>

#include <cctype>
#include <cstring>

#include "KGraphicGL.h"
#include "KInput.h"
#include "KMiscTools.h"
#include "host.h"

namespace {

// The driver's swap-interval call, null until the context offers swap control.
int (*WaitVBL)(int interval);

// The probe window of getAccelerationCap is named by this title.
const char *const kProbeTitle = "Zyphora OpenGL probe";

// Lower-cased copy of a driver string, at most size - 1 bytes.
void lowerCopy(char *to, size_t size, const char *from) {
  size_t i = 0;
  for (; from && from[i] && i + 1 < size; i++) to[i] = (char)tolower((unsigned char)from[i]);
  to[i] = 0;
}

} // namespace

KWindowGL::KWindowGL() : KWindowGL(false) {}

KWindowGL::KWindowGL(bool use3d)
    : _frames(*this,
              {_displayQRXMouse, _gamma, _maxFrameRate, _fullscreen, _userCallback, _qrxCallback},
              {[] {
                 if (WaitVBL) WaitVBL(1); // present on the next vertical blank
               },
               [this] { doGammaAdjustment(); }, [this] { showFrame(); }, nullptr,
               [this](unsigned int messg, unsigned int wParam) { ownHandling(messg, wParam); }}) {
  init(use3d);
}

void KWindowGL::init(bool use3d) {
  _clearR = _clearG = _clearB = _clearA = 0;
  _openGLContext = nullptr;
  _hwnd = nullptr;
  _userCallback = nullptr;
  _qrxCallback = nullptr;
  _silent = false;
  _capsDetected = false;
  _isWaitVBLSupported = false;
  _fullscreen = false;
  _modeSwitched = false;
  _windowWidth = _windowHeight = _windowDepth = 0;
  _maxFrameRate = 0;
  hasRectangleText = false;
  isAccelerated = false;
  _use3d = use3d;
  _gamma = 1.0f;
  _quit = false;
  _displayQRXMouse = false;
  KMiscTools::initMillisecond();
}

KWindowGL::~KWindowGL() {
  // The probe leaves the game's pointer alone: it never owned it.
  if (!_silent) KInput::freeMouse();
  _userCallback = nullptr;
  _qrxCallback = nullptr;
  if (!_silent) KInput::showPointer();
  if (_openGLContext) {
    // Deleting the context takes the canvas with it when another context is current.
    if (SDL_GL_GetCurrentContext() == _openGLContext) {
      _canvas.destroy();
      SDL_GL_MakeCurrent(nullptr, nullptr);
    }
    SDL_GL_DeleteContext(_openGLContext);
    _openGLContext = nullptr;
  }
  RestoreResolution();
  if (_hwnd) hostDestroyWindow(_hwnd);
  _hwnd = nullptr;
  _quit = true;
}

// ---- opening ----------------------------------------------------------------------------------

bool KWindowGL::createGameWindow(short width, short height, short depth, bool windowed,
                                 const char *windowTitle) {
  if (_silent) {
    width = height = 256;
    depth = -1;
    windowed = true;
  }
  _windowWidth = width;
  _windowHeight = height;
  _windowDepth = depth;
  KGraphicGL::setScreenSize(width, height, depth);
  _fullscreen = !windowed;

  // The pixel format is chosen with the window: with a depth buffer when asked, then without;
  // a window without any OpenGL format is still made, so that the failure can be told.
  if (!createHostWindow(windowTitle, _use3d) && !(_use3d && createHostWindow(windowTitle, false))) {
    _hwnd = hostCreateWindow(HostWindowDesc{windowTitle, width, height, SDL_WINDOW_HIDDEN,
                                            HOST_CENTERED, HOST_CENTERED, GameWindowProc, this});
    if (!_hwnd) {
      if (!_silent) hostTellWindowRefused();
      return false;
    }
  }
  if (!_silent) {
    setTitle(windowTitle);
    hostShowNormal(_hwnd);
    if (_fullscreen) SwitchToResolution(width, height, depth);
  }
  KInput::initInput(_hwnd);
  // Without a context no OpenGL call may be made: the window stays, unusable, until deleted.
  if (!AttachOpenGLToWindow(depth)) return false;

  detectCaps();
  // The game draws into its own picture, which the window shows at any size; a driver
  // without framebuffer objects draws into the window, which then keeps the picture's size.
  if (!_silent && !_canvas.create(width, height, _use3d)) {
    SDL_SetWindowResizable(hostSDLWindow(_hwnd), SDL_FALSE);
    SDL_SetWindowSize(hostSDLWindow(_hwnd), width, height);
  }
  KGraphicGL::setScreenSize(width, height, depth);
  KInput::initInput(_hwnd);
  KMiscTools::initMiscTools();
  if (!_silent) {
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_LIGHTING);
    flipBackBuffer(true, true);
  }
  _capsDetected = true;
  char vendor[2048], renderer[2048];
  lowerCopy(vendor, sizeof vendor, (const char *)glGetString(GL_VENDOR));
  lowerCopy(renderer, sizeof renderer, (const char *)glGetString(GL_RENDERER));
  if (isSoftwareRenderer(vendor, renderer)) isAccelerated = false;
  glViewport(0, 0, width, height);
  setDefaultWorldView();
  return true;
}

bool KWindowGL::createHostWindow(const char *title, bool withDepth) {
  // SDL keeps the context attributes only while its video is up: hold it across the creation.
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  SDL_GL_ResetAttributes();
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0); // no destination alpha: it reads as 1
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, withDepth ? 16 : 0);
  uint32_t flags = SDL_WINDOW_OPENGL | (_silent ? SDL_WINDOW_HIDDEN : SDL_WINDOW_RESIZABLE);
  HostWindowDesc desc{title,         _windowWidth,  _windowHeight,  flags,
                      HOST_CENTERED, HOST_CENTERED, GameWindowProc, this};
  if (_silent) desc.x = desc.y = 30, desc.width = desc.height = 256;
  _hwnd = hostCreateWindow(desc);
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  if (_hwnd) isAccelerated = true; // until the driver strings say otherwise
  return _hwnd != nullptr;
}

bool KWindowGL::AttachOpenGLToWindow(short) {
  SDL_Window *window = hostSDLWindow(_hwnd);
  if (!(SDL_GetWindowFlags(window) & SDL_WINDOW_OPENGL)) {
    KMiscTools::messageBox("Could not initialize openGL", "Please install your video drivers");
    KMiscTools::messageBox("Could not select fixel format",
                           "OpenGl error : video drivers probably missing.");
    return false;
  }
  _openGLContext = SDL_GL_CreateContext(window);
  if (!_openGLContext) {
    KMiscTools::messageBox("Could not create openGL Context", "OpenGl error");
    return false;
  }
  if (SDL_GL_MakeCurrent(window, _openGLContext) != 0) {
    KMiscTools::messageBox("Could not make  openGL Context", "OpenGl error");
    return false;
  }
  return true;
}

void KWindowGL::detectCaps() {
  const char *extensions = (const char *)glGetString(GL_EXTENSIONS);
  hasRectangleText = extensions && (strstr(extensions, "GL_EXT_texture_rectangle") ||
                                    strstr(extensions, "GL_NV_texture_rectangle"));
  getRectangleTexCap();
  // The swap-control extension lives in the window system's string on this platform (GLX):
  // SDL answers whether the driver takes a swap interval.
  _isWaitVBLSupported = SDL_GL_SetSwapInterval(1) == 0;
  if (_isWaitVBLSupported) WaitVBL = SDL_GL_SetSwapInterval;
}

bool KWindowGL::isSoftwareRenderer(const char *vendor, const char *renderer) {
  static const char *const vendors[] = {
      "microsoft corporation", // the Windows GDI renderer
  };
  static const char *const renderers[] = {
      "gdi generic",         // the Windows GDI renderer
      "llvmpipe",            // Mesa, on the processor with LLVM
      "softpipe",            // Mesa's reference software renderer
      "software rasterizer", // Mesa's classic swrast
      "swrast",
  };
  char v[2048], r[2048];
  lowerCopy(v, sizeof v, vendor);
  lowerCopy(r, sizeof r, renderer);
  for (const char *name : vendors)
    if (strstr(v, name)) return true;
  for (const char *name : renderers)
    if (strstr(r, name)) return true;
  return false;
}

// ---- display mode -----------------------------------------------------------------------------

bool KWindowGL::SwitchToResolution(short width, short height, short) {
  // The window covers the desktop in its own mode and shows the picture scaled; a depth-only
  // switch (no size) has nothing to do.
  if (width <= 0 || height <= 0 || !hostSetFullscreen(_hwnd, true)) return false;
  _modeSwitched = true;
  return true;
}

void KWindowGL::RestoreResolution() {
  if (!_modeSwitched) return; // nothing was ever switched
  hostSetFullscreen(_hwnd, false);
  _modeSwitched = false;
}

void KWindowGL::toggleFullScreen(bool fullscreen) {
  if (fullscreen == _fullscreen) return;
  if (!fullscreen) {
    if (!hostWindowExists(_hwnd)) return;
    RestoreResolution();
    SDL_SetWindowPosition(hostSDLWindow(_hwnd), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    _fullscreen = false;
    return;
  }
  SwitchToResolution(_windowWidth, _windowHeight, _windowDepth);
  _fullscreen = true;
}

// ---- view -------------------------------------------------------------------------------------

void KWindowGL::setDefaultWorldView() { setWorldView(0, 0, 0, 1, false); }

void KWindowGL::setWorldView(float translateX, float translateY, float rotation, float zoom,
                             bool clearworld) {
  int halfW = _windowWidth / 2, halfH = _windowHeight / 2;
  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  glOrtho(0, _windowWidth, 0, _windowHeight, -100, 100);
  glMatrixMode(GL_MODELVIEW);
  if (clearworld) {
    glClearColor(_clearR, _clearG, _clearB, _clearA);
    glClear(GL_COLOR_BUFFER_BIT);
  }
  glLoadIdentity();
  glTranslatef((float)halfW, (float)halfH, 0);
  glRotatef(rotation, 0, 0, 1);
  glScalef(zoom, zoom, 0);
  glTranslatef((float)-halfW, (float)-halfH, 0);
  glTranslatef(translateX, translateY, 0);
  glDisable(GL_DEPTH_TEST);
}

void KWindowGL::setClearColor(float r, float g, float b, float a) {
  _clearR = r;
  _clearG = g;
  _clearB = b;
  _clearA = a;
}

// ---- frames -----------------------------------------------------------------------------------

void KWindowGL::flipBackBuffer(bool waitForBackWindow, bool restoreView) {
  _frames.flip(waitForBackWindow, restoreView);
}

// The game's picture scaled into the window, then the buffers swapped.
void KWindowGL::showFrame() {
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(hostSDLWindow(_hwnd), &w, &h);
  _canvas.present(w, h);
  SDL_GL_SwapWindow(hostSDLWindow(_hwnd));
}

void KWindowGL::doGammaAdjustment() {
  setDefaultWorldView();
  float darkness = 1 - _gamma;
  glDisable(GL_TEXTURE_2D);
  KGraphicGL::_oldBindedText = -1; // texturing is off: the next bind must enable it again
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(0, 0, 0, darkness);
  glBegin(GL_QUADS);
  glVertex2i(0, _windowHeight);
  glVertex2i(_windowWidth, _windowHeight);
  glVertex2i(_windowWidth, 0);
  glVertex2i(0, 0);
  glEnd();
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
}

void KWindowGL::setMaxFrameRate(long desiredFrameRate) {
  _maxFrameRate = desiredFrameRate > 0 ? (uint32_t)(1000 / desiredFrameRate) : 0;
}

// ---- messages ---------------------------------------------------------------------------------

// Every pending event, not just one: SDL does not merge pointer motion as Windows does.
void KWindowGL::processEvents() { hostPumpEvents(); }

long KWindowGL::GameWindowProc(HWND hWnd, unsigned int messg, unsigned int wParam, long lParam) {
  KWindowGL *self = static_cast<KWindowGL *>(hostUserData(hWnd));
  return KFrameSequence::dispatch(self ? &self->_frames : nullptr, hWnd, messg, wParam, lParam);
}

// What only this window handles: a paint while in the back flips (the game stands still
// there), and the full screen left while another application is active.
void KWindowGL::ownHandling(unsigned int messg, unsigned int wParam) {
  switch (messg) {
  case WM_PAINT:
    if (!hostHasFocus(_hwnd)) flipBackBuffer(true, true);
    break;
  case WM_ACTIVATEAPP:
    if (_silent || !_fullscreen) break;
    if (wParam == 0) {
      RestoreResolution();
      hostMinimize(_hwnd);
    } else {
      SwitchToResolution(_windowWidth, _windowHeight, _windowDepth);
    }
    break;
  default: break;
  }
}

void KWindowGL::terminate() {
  _quit = true;
  // The host's message loop is the game's own frame loop, which ends on isQuit.
}

bool KWindowGL::isQuit() { return _quit; }
bool KWindowGL::hasFocus() { return hostHasFocus(_hwnd); }
void KWindowGL::setTitle(const char *title) { hostSetTitle(_hwnd, title); }
HWND KWindowGL::getWindowHandle() { return _hwnd; }
void KWindowGL::minimize() { hostMinimize(_hwnd); }
void KWindowGL::restore() { hostShowNormal(_hwnd); }
void KWindowGL::setGamma(float gammai) { _gamma = gammai; }
long KWindowGL::getWindowWidth() { return _windowWidth; }
long KWindowGL::getWindowHeight() { return _windowHeight; }
void KWindowGL::displayMouse(bool mousestate) { _displayQRXMouse = mousestate; }
void KWindowGL::setCallBack(ptkUserCallBack userCallBack) { _userCallback = userCallBack; }
void KWindowGL::setQRXCallBack(ptkQRXCallBack qrxCallBack) { _qrxCallback = qrxCallBack; }

// ---- capabilities -----------------------------------------------------------------------------

bool KWindowGL::getRectangleTexCap() {
  KGraphicGL::setRectangleTexSupport(hasRectangleText);
  return hasRectangleText;
}

void KWindowGL::setRectangleTexCap(bool forceRectangleCap) { hasRectangleText = forceRectangleCap; }

bool KWindowGL::getAccelerationCap() {
  if (!_capsDetected) {
    // A hidden probe window answers for the driver. It publishes its own size and makes its
    // own context current: whatever an open window had set is put back afterwards.
    short width = KGraphicGL::screenWidth, height = KGraphicGL::screenHeight,
          depth = KGraphicGL::screenDepth;
    HWND inputWindow = KInput::_hwnd;
    SDL_Window *current = SDL_GL_GetCurrentWindow();
    SDL_GLContext context = SDL_GL_GetCurrentContext();
    KWindowGL *probe = new KWindowGL(false);
    probe->_silent = true;
    probe->createGameWindow(640, 480, 16, true, kProbeTitle);
    isAccelerated = probe->isAccelerated;
    delete probe;
    if (context) SDL_GL_MakeCurrent(current, context);
    KGraphicGL::screenWidth = width;
    KGraphicGL::screenHeight = height;
    KGraphicGL::screenDepth = depth;
    KInput::_hwnd = inputWindow;
  }
  _quit = false;
  return isAccelerated;
}
