// The Direct3D window at any size, on the dummy driver: F11 and Alt+Enter toggle desktop full
// screen, the presented picture is scaled and centred on black, and every reader still sees
// the game's 480 x 480 picture with the pointer in its pixels.
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "KGraphicD3D.h"
#include "KInput.h"
#include "KWindowD3D.h"
#include "desktop_events.h"
#include "host_scale.h"
#include "host_testing.h"

namespace {

std::vector<KEvent> events;
bool recordEvent(KEvent *e) {
  events.push_back(*e);
  return true;
}

// The game received this key message for the key of this scan code.
bool sawKey(unsigned int message, int scanCode) {
  for (const KEvent &e : events)
    if ((unsigned)e.nativeMessage == message && (e.nativeData >> 16 & 0xFF) == scanCode) return true;
  return false;
}

struct ScaledD3D : ::testing::Test {
  KWindowD3D *window = nullptr;
  KGraphicD3D *g = nullptr;

  void SetUp() override { open(1); }
  void TearDown() override { close(); }
  void open(int scale) {
    close();
    hostTestReset();
    hostTestSetNoFrameWait(true);
    hostTestSetOpeningScale(scale);
    events.clear();
    window = new KWindowD3D(false);
    ASSERT_TRUE(window->createGameWindow(480, 480, -1, true, "Zyphora"));
    window->setQRXCallBack(recordEvent);
    window->flipBackBuffer(false, true);
    g = new KGraphicD3D;
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
  // Red top-left pixel, green bottom-right pixel, white elsewhere... of a 480 x 480 frame.
  void drawMarkedFrame() {
    window->setClearColor(1, 1, 1, 1);
    window->setWorldView(0, 0, 0, 1, true);
    g->drawRect(0, 0, 1, 1, 1, 0, 0, 1);
    g->drawRect(479, 479, 480, 480, 0, 1, 0, 1);
    window->flipBackBuffer(false, true);
  }
  // The colour the window shows at a point, as R G B.
  uint32_t shownAt(int x, int y) {
    SDL_Renderer *renderer = SDL_GetRenderer(sdl());
    uint32_t p = 0xDEADBEEF;
    SDL_Rect r = {x, y, 1, 1};
    if (!renderer || SDL_RenderReadPixels(renderer, &r, SDL_PIXELFORMAT_ARGB8888, &p, 4) != 0) return 0xDEADBEEF;
    return p & 0xFFFFFF;
  }
  uint32_t backPixel(int x, int y) {
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    if (FAILED(window->_lpDDSBack->Lock(nullptr, &d, DDLOCK_WAIT, nullptr))) return 0xDEADBEEF;
    uint32_t p = ((const uint32_t *)((const char *)d.lpSurface + y * d.lPitch))[x] & 0xFFFFFF;
    window->_lpDDSBack->Unlock(nullptr);
    return p;
  }
  void resize(int w, int h) {
    SDL_SetWindowSize(sdl(), w, h);
    window->flipBackBuffer(false, true);
  }
};

TEST_F(ScaledD3D, OpensResizableAtTheOpeningScale) {
  open(2);
  int w, h;
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 960);
  EXPECT_TRUE(SDL_GetWindowFlags(sdl()) & SDL_WINDOW_RESIZABLE);
  EXPECT_EQ(window->getWindowWidth(), 480);
  DDSURFACEDESC2 d{};
  d.dwSize = sizeof d;
  window->_lpDDSPrimary->GetSurfaceDesc(&d);
  EXPECT_EQ(d.dwWidth, 480u); // the client area is the picture
  window->_lpDDSBack->GetSurfaceDesc(&d);
  EXPECT_EQ(d.dwWidth, 480u);
}

TEST_F(ScaledD3D, F11AndAltEnterToggleDesktopFullScreenAndStillReachTheGame) {
  open(2);
  press({122});
  EXPECT_TRUE(window->_fullscreen);
  EXPECT_EQ(SDL_GetWindowFlags(sdl()) & SDL_WINDOW_FULLSCREEN_DESKTOP, (uint32_t)SDL_WINDOW_FULLSCREEN_DESKTOP);
  ASSERT_NE(window->_lpD3DDevice, nullptr);
  EXPECT_EQ(KGraphicD3D::_backBuffer, window->_lpDDSBack);
  EXPECT_TRUE(sawKey(WM_KEYDOWN, 0x57)); // the game saw F11 as before

  press({122});
  EXPECT_FALSE(window->_fullscreen);
  int w, h;
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 960); // back to the size it had
  EXPECT_EQ(h, 960);

  events.clear();
  press({164, 13}); // Alt+Enter
  EXPECT_TRUE(window->_fullscreen);
  EXPECT_TRUE(sawKey(WM_SYSKEYDOWN, 0x1C));
  press({164, 13});
  EXPECT_FALSE(window->_fullscreen);
  press({13}); // Enter alone is the game's
  EXPECT_FALSE(window->_fullscreen);
  ASSERT_NE(window->_lpD3DDevice, nullptr);
}

TEST_F(ScaledD3D, PresentShowsWholeMultiplesCentredOnBlack) {
  resize(1000, 1000); // 2x at (20, 20)
  drawMarkedFrame();
  EXPECT_EQ(shownAt(19, 19), 0x000000u);
  EXPECT_EQ(shownAt(20, 20), 0xFF0000u);
  EXPECT_EQ(shownAt(21, 21), 0xFF0000u); // sharp: the pixel's whole block
  EXPECT_EQ(shownAt(22, 22), 0xFFFFFFu);
  EXPECT_EQ(shownAt(979, 979), 0x00FF00u);
  EXPECT_EQ(shownAt(980, 500), 0x000000u);

  resize(1000, 600); // 1x at (260, 60)
  drawMarkedFrame();
  EXPECT_EQ(shownAt(260, 60), 0xFF0000u);
  EXPECT_EQ(shownAt(739, 539), 0x00FF00u);
  EXPECT_EQ(shownAt(259, 300), 0x000000u);
  EXPECT_EQ(shownAt(500, 59), 0x000000u);
}

TEST_F(ScaledD3D, SmallerWindowsShrinkThePictureSmoothly) {
  resize(300, 360); // 300 x 300 at (0, 30)
  window->setClearColor(1, 1, 1, 1);
  window->setWorldView(0, 0, 0, 1, true);
  for (int x = 0; x < 480; x += 2) g->drawRect((float)x, 0, (float)x + 1, 480, 0, 0, 1, 1); // blue stripes
  window->flipBackBuffer(false, true);
  EXPECT_EQ(shownAt(150, 10), 0x000000u);
  EXPECT_EQ(shownAt(150, 349), 0x000000u);
  int blended = 0; // filtered stripes mix; picked ones would be pure blue or white
  for (int x = 0; x < 300; x++) {
    uint32_t red = shownAt(x, 180) >> 16 & 255;
    if (red > 0x20 && red < 0xE0) blended++;
  }
  EXPECT_GT(blended, 100);
}

TEST_F(ScaledD3D, FullScreenShowsThePictureScaledOnTheDesktop) {
  window->toggleFullScreen(true);
  window->flipBackBuffer(false, true); // the new device's first scene
  SDL_DisplayMode desktop;
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
  HostRect shown = hostPictureRect(desktop.w, desktop.h, 480, 480, HOST_SCALE_INTEGER);
  drawMarkedFrame();
  // The full-screen mode is 16-bit: green keeps 6 bits.
  EXPECT_EQ(shownAt(shown.x, shown.y) & 0xF8F8F8, 0xF80000u);
  EXPECT_EQ(shownAt(shown.x + shown.w - 1, shown.y + shown.h - 1) & 0xF8F8F8, 0x00F800u);
  EXPECT_EQ(shownAt(shown.x - 1, shown.y), 0x000000u);
  window->toggleFullScreen(false);
  window->flipBackBuffer(false, true);
  drawMarkedFrame();
  EXPECT_EQ(shownAt(0, 0), 0xFF0000u);
}

TEST_F(ScaledD3D, ReadersAndThePointerStayInPicturePixels) {
  open(2);
  drawMarkedFrame();
  const char *path = "desktop_d3d_scaled.png";
  ASSERT_TRUE(g->saveBackBuffer(path, K_SAVE_PNG, 0, 0));
  int w = 0, h = 0;
  ASSERT_TRUE(pngSize(path, &w, &h));
  EXPECT_EQ(w, 480);
  EXPECT_EQ(h, 480);
  remove(path);
  KGraphicD3D grab;
  ASSERT_TRUE(grab.grabBackBuffer(nullptr));
  EXPECT_EQ(grab.getWidth(), 480.0f);

  window->setClearColor(0, 0, 0, 1);
  window->setWorldView(0, 0, 0, 1, true);
  window->displayMouse(true);
  pushMotion(sdl(), 201, 101);
  window->flipBackBuffer(false, true); // the move arrives: the pointer is drawn at the next flip
  window->setWorldView(0, 0, 0, 1, true);
  window->flipBackBuffer(false, true);
  EXPECT_EQ(backPixel(100, 50), 0xFFFFFFu); // the pointer's tip, in picture pixels
  EXPECT_EQ(backPixel(201, 101), 0x000000u);
  EXPECT_EQ(KInput::getMouseX(), 100);
  EXPECT_EQ(KInput::getMouseY(), 50);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().type, K_EVENT_MOUSEMOVE);
  EXPECT_EQ(events.back().mouseX, 100);
  EXPECT_EQ(events.back().mouseY, 50);
}

} // namespace
