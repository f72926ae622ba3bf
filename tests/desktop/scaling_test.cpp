// A game window at any size, on each renderer (built once per renderer, as the renderer
// contract is): F11 and Alt+Enter toggle desktop full screen, each flip shows the 480 x 480
// picture scaled and centred on black (sharp or whole multiples), and every reader still sees
// the game's picture, with the pointer in its pixels.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "KInput.h"
#include "KQRX.h"
#include "desktop_events.h"
#include "host_scale.h"
#include "host_testing.h"
#if SCALING_GL
#include <GL/gl.h>
#include <GL/glext.h>

#include "KGraphicGL.h"
#include "KWindowGL.h"
using Window = KWindowGL;
#else
#include "KGraphicD3D.h"
#include "KWindowD3D.h"
using Window = KWindowD3D;
#endif

namespace {

std::vector<KEvent> events;
bool recordEvent(KEvent *e) {
  events.push_back(*e);
  return true;
}
std::vector<unsigned> keysSeen; // wParam of the key messages, through the user callback
bool recordKey(HWND, unsigned int message, unsigned int wParam, long) {
  if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) keysSeen.push_back(wParam);
  return true;
}

// The game received this key message for the key of this scan code.
bool sawKey(unsigned int message, int scanCode) {
  for (const KEvent &e : events)
    if ((unsigned)e.nativeMessage == message && (e.nativeData >> 16 & 0xFF) == scanCode)
      return true;
  return false;
}

struct ScaledWindow : ::testing::Test {
  Window *window = nullptr;
  KGraphic *g = nullptr;

  void SetUp() override { open(1); }
  void TearDown() override { close(); }
  void open(int scale) {
    close();
    hostTestReset();
    hostTestSetNoFrameWait(true);
    hostTestSetOpeningScale(scale);
    events.clear();
    keysSeen.clear();
    // Through the factory: the engine's pointer is a picture of the window's renderer.
    window = static_cast<Window *>(KQRX::createKWindow(SCALING_RENDERER, false));
    ASSERT_TRUE(window->createGameWindow(480, 480, -1, true, "Zyphora"));
    window->setQRXCallBack(recordEvent);
    window->setCallBack(recordKey);
    window->flipBackBuffer(false, true); // drawing belongs between flips
    g = KQRX::createKGraphic();
  }
  void close() {
    delete g;
    g = nullptr;
    delete window;
    window = nullptr;
    hostTestReset();
  }
  SDL_Window *sdl() { return hostSDLWindow(window->getWindowHandle()); }
  void press(std::initializer_list<int> keys) {
    HostInputFrame frame{};
    for (int k : keys) frame.keys[frame.keyCount++] = k;
    hostTestSetInput(frame);
    window->flipBackBuffer(false, true);
    hostTestSetInput(HostInputFrame{});
    window->flipBackBuffer(false, true);
  }
  // Red top-left pixel, green bottom-right pixel, white elsewhere, in a 480 x 480 frame, shown.
  void showMarkedFrame() {
    window->setClearColor(1, 1, 1, 1);
    window->setWorldView(0, 0, 0, 1, true);
    g->drawRect(0, 0, 1, 1, 1, 0, 0, 1);
    g->drawRect(479, 479, 480, 480, 0, 1, 0, 1);
    window->flipBackBuffer(false, true);
  }
  // Vertical stripes of `width` picture pixels, of this colour on white, starting with colour.
  void drawStripes(int width, float r, float gr, float b) {
    window->setClearColor(1, 1, 1, 1);
    window->setWorldView(0, 0, 0, 1, true);
    for (int x = 0; x < 480; x += 2 * width)
      g->drawRect((float)x, 0, (float)(x + width), 480, r, gr, b, 1);
  }
  void resize(int w, int h) {
    SDL_SetWindowSize(sdl(), w, h);
    window->flipBackBuffer(false, true);
  }
  void drawableSize(int *w, int *h) {
#if SCALING_GL
    SDL_GL_GetDrawableSize(sdl(), w, h);
#else
    SDL_GetWindowSize(sdl(), w, h);
#endif
  }

#if SCALING_GL
  // R G B of the picture being drawn, y downward.
  uint32_t drawnAt(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(x, 479 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (uint32_t)p[0] << 16 | p[1] << 8 | p[2];
  }
  // R G B the window shows at a point, y downward. Mesa's software renderer copies its back
  // buffer to the window at a swap and keeps it: what the window shows is read there.
  uint32_t shownAt(int x, int y) {
    auto bind =
        reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBindFramebuffer"));
    int w, h;
    SDL_GL_GetDrawableSize(sdl(), &w, &h);
    bind(GL_READ_FRAMEBUFFER, 0);
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(x, h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    KCanvasGL::selectRead(false);
    return (uint32_t)p[0] << 16 | p[1] << 8 | p[2];
  }
  // The picture is the game's size wherever it is drawn and read.
  void expectPictureOfTheGamesSize() {
    ASSERT_TRUE(window->_canvas.active());
    EXPECT_EQ(KGraphicGL::screenWidth, 480);
  }
  void expectDrawingReady() {}
#else
  uint32_t drawnAt(int x, int y) {
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    if (FAILED(window->_lpDDSBack->Lock(nullptr, &d, DDLOCK_WAIT, nullptr))) return 0xDEADBEEF;
    uint32_t p = ((const uint32_t *)((const char *)d.lpSurface + y * d.lPitch))[x] & 0xFFFFFF;
    window->_lpDDSBack->Unlock(nullptr);
    return p;
  }
  uint32_t shownAt(int x, int y) {
    SDL_Renderer *renderer = SDL_GetRenderer(sdl());
    uint32_t p = 0xDEADBEEF;
    SDL_Rect r = {x, y, 1, 1};
    if (!renderer || SDL_RenderReadPixels(renderer, &r, SDL_PIXELFORMAT_ARGB8888, &p, 4) != 0)
      return 0xDEADBEEF;
    return p & 0xFFFFFF;
  }
  void expectPictureOfTheGamesSize() {
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    window->_lpDDSPrimary->GetSurfaceDesc(&d);
    EXPECT_EQ(d.dwWidth, 480u); // the client area is the picture
    window->_lpDDSBack->GetSurfaceDesc(&d);
    EXPECT_EQ(d.dwWidth, 480u);
  }
  // A toggle remakes the device and tells the pictures.
  void expectDrawingReady() {
    ASSERT_NE(window->_lpD3DDevice, nullptr);
    EXPECT_EQ(KGraphicD3D::_backBuffer, window->_lpDDSBack);
  }
#endif
};

TEST_F(ScaledWindow, OpensResizableAtTheOpeningScaleAndDrawsItsOwnPicture) {
  open(2);
  int w, h;
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 960);
  drawableSize(&w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 960);
  EXPECT_TRUE(SDL_GetWindowFlags(sdl()) & SDL_WINDOW_RESIZABLE);
  EXPECT_EQ(window->getWindowWidth(), 480);
  expectPictureOfTheGamesSize();
  showMarkedFrame();
  EXPECT_EQ(shownAt(0, 0), 0xFF0000u);
  EXPECT_EQ(shownAt(1, 1), 0xFF0000u);
  EXPECT_EQ(shownAt(2, 2), 0xFFFFFFu);
  EXPECT_EQ(shownAt(959, 959), 0x00FF00u);
  EXPECT_EQ(drawnAt(0, 0), 0xFF0000u); // the picture outlives the flip
  EXPECT_EQ(drawnAt(479, 479), 0x00FF00u);
}

TEST_F(ScaledWindow, F11AndAltEnterToggleDesktopFullScreenAndStillReachTheGame) {
  open(2);
  press({122});
  EXPECT_TRUE(window->_fullscreen);
  EXPECT_EQ(SDL_GetWindowFlags(sdl()) & SDL_WINDOW_FULLSCREEN_DESKTOP,
            (uint32_t)SDL_WINDOW_FULLSCREEN_DESKTOP);
  expectDrawingReady();
  EXPECT_TRUE(sawKey(WM_KEYDOWN, 0x57)); // the game saw F11 as before
  ASSERT_FALSE(keysSeen.empty());
  EXPECT_EQ(keysSeen.back(), 122u);
  // SDL reports the desktop's size. (Xvfb has no window manager to carry the request out, so
  // the full-screen picture's pixels are checked on the Direct3D window.)
  int w, h;
  drawableSize(&w, &h);
  SDL_DisplayMode desktop;
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
  EXPECT_EQ(w, desktop.w);
  EXPECT_EQ(h, desktop.h);

  press({122});
  EXPECT_FALSE(window->_fullscreen);
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 960); // back to the size it had
  EXPECT_EQ(h, 960);

  events.clear();
  press({164, 13}); // Alt+Enter
  EXPECT_TRUE(window->_fullscreen);
  EXPECT_TRUE(sawKey(WM_SYSKEYDOWN, 0x1C));
  press({164, 13});
  EXPECT_FALSE(window->_fullscreen);
  EXPECT_EQ(SDL_GetWindowFlags(sdl()) & SDL_WINDOW_FULLSCREEN, 0u);
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 960);
  EXPECT_EQ(keysSeen.back(), 13u);
  press({13}); // Enter alone is the game's
  EXPECT_FALSE(window->_fullscreen);
  expectDrawingReady();
}

TEST_F(ScaledWindow, IntegerScalingShowsWholeMultiplesCentredOnBlack) {
  hostSetScaling(HOST_SCALE_INTEGER);
  resize(1000, 1000); // 2x at (20, 20)
  showMarkedFrame();
  EXPECT_EQ(shownAt(19, 19), 0x000000u);
  EXPECT_EQ(shownAt(20, 20), 0xFF0000u);
  EXPECT_EQ(shownAt(21, 21), 0xFF0000u); // sharp: the pixel's whole block
  EXPECT_EQ(shownAt(22, 22), 0xFFFFFFu);
  EXPECT_EQ(shownAt(979, 979), 0x00FF00u);
  EXPECT_EQ(shownAt(980, 500), 0x000000u);

  resize(1000, 600); // 1x at (260, 60)
  showMarkedFrame();
  EXPECT_EQ(shownAt(260, 60), 0xFF0000u);
  EXPECT_EQ(shownAt(739, 539), 0x00FF00u);
  EXPECT_EQ(shownAt(259, 300), 0x000000u);
  EXPECT_EQ(shownAt(500, 59), 0x000000u);
}

// Sharp scaling at 700 / 480 of the picture: 8-pixel stripes keep their width to a tenth of a
// point each (a nearest-pixel stretch makes them 11 or 12 points), and each edge is at most one
// mixed point wide (a smooth stretch from the picture itself mixes two).
TEST_F(ScaledWindow, SharpScalingFillsTheHeightWithCrispEvenPixels) {
  resize(1000, 700); // 700 x 700 at (150, 0)
  showMarkedFrame();
  EXPECT_EQ(shownAt(149, 350), 0x000000u);
  EXPECT_EQ(shownAt(850, 350), 0x000000u);
  EXPECT_EQ(shownAt(150, 0), 0xFF0000u);
  EXPECT_EQ(shownAt(849, 699), 0x00FF00u);

  drawStripes(8, 0, 0, 0); // black stripes on white
  window->flipBackBuffer(false, true);
  const double ratio = 700.0 / 480;
  std::vector<double> white(700);
  for (int x = 0; x < 700; x++) white[x] = (shownAt(150 + x, 350) & 0xFF) / 255.0;
  for (int stripe = 1; stripe < 59; stripe += 2) { // the white ones, inside
    double first = stripe * 8 * ratio, last = (stripe + 1) * 8 * ratio;
    double covered = 0;
    int mixedLeft = 0, mixedRight = 0;
    for (int x = (int)first - 2; x <= (int)last + 2; x++) {
      covered += white[x];
      bool mixed = white[x] > 0.03 && white[x] < 0.97;
      if (mixed && x < (first + last) / 2) mixedLeft++;
      if (mixed && x > (first + last) / 2) mixedRight++;
    }
    EXPECT_NEAR(covered, 8 * ratio, 0.25) << "stripe " << stripe;
    EXPECT_LE(mixedLeft, 1) << "stripe " << stripe;
    EXPECT_LE(mixedRight, 1) << "stripe " << stripe;
  }
}

TEST_F(ScaledWindow, SmallerWindowsShrinkThePictureSmoothly) {
  resize(300, 360);        // 300 x 300 at (0, 30)
  drawStripes(1, 0, 0, 1); // blue stripes
  window->flipBackBuffer(false, true);
  EXPECT_EQ(shownAt(150, 10), 0x000000u);
  EXPECT_EQ(shownAt(150, 349), 0x000000u);
  int blended = 0; // filtered stripes mix; picked ones would be pure blue or white
  for (int x = 0; x < 300; x++) {
    uint32_t red = shownAt(x, 180) >> 16 & 255;
    if (red > 0x20 && red < 0xE0) blended++;
  }
  EXPECT_GT(blended, 100);
  EXPECT_EQ(drawnAt(0, 0), 0x0000FFu); // the picture itself keeps its size
  EXPECT_EQ(drawnAt(479, 0), 0xFFFFFFu);
}

TEST_F(ScaledWindow, ReadersAndThePointerStayInPicturePixels) {
  open(2);
  showMarkedFrame(); // the marked frame is shown ...
  window->setClearColor(0, 0, 1, 1);
  window->setWorldView(0, 0, 0, 1, true); // ... while a blue one is drawn

  const char *path = "desktop_scaled_" SCALING_LABEL ".png";
  ASSERT_TRUE(g->saveBackBuffer(path, K_SAVE_PNG, 0, 0));
  int w = 0, h = 0;
  ASSERT_TRUE(pngSize(path, &w, &h));
  EXPECT_EQ(w, 480);
  EXPECT_EQ(h, 480);
  remove(path);
  KGraphic *grab = KQRX::createKGraphic();
  ASSERT_TRUE(grab->grabBackBuffer(nullptr));
  EXPECT_EQ(grab->getWidth(), 480.0f);
  delete grab;
#if SCALING_GL
  KGraphicGL front;
  ASSERT_TRUE(front.grabFrontBuffer());
  front.blitRect(0, 0, 480, 480, 0, 0, false, false);
  EXPECT_EQ(drawnAt(0, 0), 0xFF0000u); // the front is the frame shown, at the picture's size
  EXPECT_EQ(drawnAt(479, 479), 0x00FF00u);
#endif

  window->setClearColor(0, 0, 0, 1);
  window->setWorldView(0, 0, 0, 1, true);
  window->displayMouse(true);
  pushMotion(sdl(), 201, 101);
  window->flipBackBuffer(false, true); // the move arrives: the pointer is drawn at the next flip
  window->setWorldView(0, 0, 0, 1, true);
  window->flipBackBuffer(false, true);
  EXPECT_EQ(KInput::getMouseX(), 100);
  EXPECT_EQ(KInput::getMouseY(), 50);
  EXPECT_EQ(drawnAt(100, 50), 0xFFFFFFu); // the pointer's tip, in picture pixels
  EXPECT_EQ(drawnAt(201, 101), 0x000000u);
  EXPECT_EQ(shownAt(200, 100), 0xFFFFFFu); // and in the window at twice the size
  EXPECT_EQ(shownAt(201, 101), 0xFFFFFFu);
  bool moved = false;
  for (const KEvent &e : events)
    if (e.type == K_EVENT_MOUSEMOVE) moved = e.mouseX == 100 && e.mouseY == 50;
  EXPECT_TRUE(moved);
}

#if SCALING_GL
TEST_F(ScaledWindow, AskedDepthBufferComesWithThePicture) {
  GLint depthBits = -1;
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  EXPECT_EQ(depthBits, 0); // none unless asked for
  close();
  hostTestReset();
  window = static_cast<Window *>(KQRX::createKWindow(K_OPENGL, true));
  ASSERT_TRUE(window->createGameWindow(480, 480, -1, true, "Zyphora"));
  ASSERT_TRUE(window->_canvas.active());
  glGetIntegerv(GL_DEPTH_BITS, &depthBits);
  EXPECT_GE(depthBits, 16);
}
#else
// The dummy driver carries full screen out (a bare X server without a window manager does not).
TEST_F(ScaledWindow, FullScreenShowsThePictureScaledOnTheDesktop) {
  SDL_DisplayMode desktop;
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
  for (HostScaling scaling : {HOST_SCALE_INTEGER, HOST_SCALE_SHARP}) {
    hostSetScaling(scaling);
    window->toggleFullScreen(true);
    window->flipBackBuffer(false, true); // the new device's first scene
    HostRect shown = hostPictureRect(desktop.w, desktop.h, 480, 480, scaling);
    showMarkedFrame();
    // The full-screen mode is 16-bit: green keeps 6 bits.
    EXPECT_EQ(shownAt(shown.x, shown.y) & 0xF8F8F8, 0xF80000u) << scaling;
    EXPECT_EQ(shownAt(shown.x + shown.w - 1, shown.y + shown.h - 1) & 0xF8F8F8, 0x00F800u)
        << scaling;
    EXPECT_EQ(shownAt(shown.x - 1, shown.y), 0x000000u);
    window->toggleFullScreen(false);
    window->flipBackBuffer(false, true);
    showMarkedFrame();
    EXPECT_EQ(shownAt(0, 0), 0xFF0000u);
  }
}
#endif

} // namespace
