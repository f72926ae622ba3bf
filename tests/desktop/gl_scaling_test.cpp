// The OpenGL window at any size, under Xvfb: the game draws into its own 480 x 480 picture,
// which each flip shows scaled and centred on black; F11 and Alt+Enter toggle desktop full
// screen; readers and the pointer stay in picture pixels.
#include <SDL.h>
#include <GL/gl.h>
#include <GL/glext.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

#include "KGraphicGL.h"
#include "KInput.h"
#include "KQRX.h"
#include "KWindowGL.h"
#include "desktop_events.h"
#include "host_scale.h"
#include "host_testing.h"

namespace {

struct ScaledGL : ::testing::Test {
  KWindowGL *window = nullptr;
  KGraphicGL *g = nullptr;

  void SetUp() override { open(1); }
  void TearDown() override { close(); }
  void open(int scale) {
    close();
    hostTestReset();
    hostTestSetNoFrameWait(true);
    hostTestSetOpeningScale(scale);
    // Through the factory: the engine's pointer is a picture of the window's renderer.
    window = static_cast<KWindowGL *>(KQRX::createKWindow(K_OPENGL, false));
    ASSERT_TRUE(window->createGameWindow(480, 480, -1, true, "Zyphora"));
    g = new KGraphicGL;
  }
  void close() {
    delete g;
    g = nullptr;
    delete window;
    window = nullptr;
    hostTestReset();
  }
  SDL_Window *sdl() { return hostSDLWindow(window->getWindowHandle()); }
  void drawMarkedFrame() {
    window->setClearColor(1, 1, 1, 1);
    window->setWorldView(0, 0, 0, 1, true);
    g->drawRect(0, 0, 1, 1, 1, 0, 0, 1);
    g->drawRect(479, 479, 480, 480, 0, 1, 0, 1);
  }
  // R G B of the picture being drawn, y downward.
  uint32_t drawnAt(int x, int y) {
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(x, 479 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (uint32_t)p[0] << 16 | p[1] << 8 | p[2];
  }
  // R G B the window shows at a point, y downward. Mesa's software renderer copies its back
  // buffer to the window at a swap and keeps it: what the window shows is read there.
  uint32_t shownAt(int x, int y) {
    auto bind = reinterpret_cast<PFNGLBINDFRAMEBUFFERPROC>(SDL_GL_GetProcAddress("glBindFramebuffer"));
    int w, h;
    SDL_GL_GetDrawableSize(sdl(), &w, &h);
    bind(GL_READ_FRAMEBUFFER, 0);
    unsigned char p[4] = {0, 0, 0, 0};
    glReadPixels(x, h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    KCanvasGL::selectRead(false);
    return (uint32_t)p[0] << 16 | p[1] << 8 | p[2];
  }
  void resize(int w, int h) {
    SDL_SetWindowSize(sdl(), w, h);
    window->flipBackBuffer(false, true);
  }
};

TEST_F(ScaledGL, DrawsIntoItsOwnPictureAndShowsItScaled) {
  open(2);
  ASSERT_TRUE(window->_canvas.active());
  int w, h;
  SDL_GL_GetDrawableSize(sdl(), &w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 960);
  EXPECT_EQ(window->getWindowWidth(), 480);
  EXPECT_EQ(KGraphicGL::screenWidth, 480);
  drawMarkedFrame();
  EXPECT_EQ(drawnAt(0, 0), 0xFF0000u);
  EXPECT_EQ(drawnAt(479, 479), 0x00FF00u);
  window->flipBackBuffer(false, true);
  EXPECT_EQ(shownAt(0, 0), 0xFF0000u);
  EXPECT_EQ(shownAt(1, 1), 0xFF0000u);
  EXPECT_EQ(shownAt(2, 2), 0xFFFFFFu);
  EXPECT_EQ(shownAt(959, 959), 0x00FF00u);
  EXPECT_EQ(drawnAt(0, 0), 0xFF0000u); // the picture outlives the flip
}

TEST_F(ScaledGL, SmallerWindowsShrinkThePictureSmoothly) {
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
  EXPECT_EQ(drawnAt(0, 0), 0x0000FFu); // the picture itself keeps its size
  EXPECT_EQ(drawnAt(479, 0), 0xFFFFFFu);
}

TEST_F(ScaledGL, F11AndAltEnterToggleDesktopFullScreen) {
  open(2);
  std::vector<unsigned> seen;
  static std::vector<unsigned> *record;
  record = &seen;
  window->setCallBack([](HWND, unsigned int message, unsigned int wParam, long) {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) record->push_back(wParam);
    return true;
  });
  auto press = [&](std::initializer_list<int> keys) {
    HostInputFrame frame{};
    for (int k : keys) frame.keys[frame.keyCount++] = k;
    hostTestSetInput(frame);
    window->flipBackBuffer(false, true);
    hostTestSetInput(HostInputFrame{});
    window->flipBackBuffer(false, true);
  };
  press({122});
  EXPECT_TRUE(window->_fullscreen);
  EXPECT_EQ(SDL_GetWindowFlags(sdl()) & SDL_WINDOW_FULLSCREEN_DESKTOP, (uint32_t)SDL_WINDOW_FULLSCREEN_DESKTOP);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back(), 122u); // the game still gets the key

  // SDL reports the desktop's size. (Xvfb has no window manager to carry the request out, so
  // the full-screen picture's pixels are checked on the Direct3D window.)
  int w, h;
  SDL_GL_GetDrawableSize(sdl(), &w, &h);
  SDL_DisplayMode desktop;
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
  EXPECT_EQ(w, desktop.w);
  EXPECT_EQ(h, desktop.h);

  press({164, 13}); // Alt+Enter back to the window, at the size it had
  EXPECT_FALSE(window->_fullscreen);
  EXPECT_EQ(SDL_GetWindowFlags(sdl()) & SDL_WINDOW_FULLSCREEN, 0u);
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 960);
  EXPECT_EQ(seen.back(), 13u);
  press({13});
  EXPECT_FALSE(window->_fullscreen);
  window->setCallBack(nullptr);
}

TEST_F(ScaledGL, ReadersAndThePointerStayInPicturePixels) {
  open(2);
  drawMarkedFrame();
  window->flipBackBuffer(false, true); // the marked frame is shown ...
  window->setClearColor(0, 0, 1, 1);
  window->setWorldView(0, 0, 0, 1, true); // ... while a blue one is drawn

  const char *path = "desktop_gl_scaled.png";
  ASSERT_TRUE(g->saveBackBuffer(path, K_SAVE_PNG, 0, 0));
  int w = 0, h = 0;
  ASSERT_TRUE(pngSize(path, &w, &h));
  EXPECT_EQ(w, 480);
  EXPECT_EQ(h, 480);
  remove(path);
  KGraphicGL back, front;
  ASSERT_TRUE(back.grabBackBuffer(nullptr));
  EXPECT_EQ(back.getWidth(), 480.0f);
  ASSERT_TRUE(front.grabFrontBuffer());
  front.blitRect(0, 0, 480, 480, 0, 0, false, false);
  EXPECT_EQ(drawnAt(0, 0), 0xFF0000u); // the front is the frame shown, at the picture's size
  EXPECT_EQ(drawnAt(479, 479), 0x00FF00u);

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
}

} // namespace
