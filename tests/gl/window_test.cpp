// The OpenGL window under Xvfb: opening, capabilities, the acceleration probe, the factory. The
// frame cap and the message dispatch are the window contract's (tests/contract).
#include <SDL.h>
#include <gtest/gtest.h>

#include "KGraphicGL.h"
#include "KQRX.h"
#include "KWindowGL.h"
#include "host.h"
#include "host_testing.h"

namespace {

class WindowGL : public ::testing::Test {
protected:
  void SetUp() override {
    hostTestReset();
    window = KQRX::createKWindow(K_OPENGL, false);
    ASSERT_TRUE(window->createGameWindow(480, 480, -1, true, "Zyphora"));
  }
  void TearDown() override {
    delete window;
    hostTestReset();
  }
  KWindow *window = nullptr;
};

TEST_F(WindowGL, OpensTitled480By480) {
  SDL_Window *sdl = hostSDLWindow(window->getWindowHandle());
  ASSERT_NE(sdl, nullptr);
  EXPECT_STREQ(SDL_GetWindowTitle(sdl), "Zyphora");
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(sdl, &w, &h);
  EXPECT_EQ(w, 480);
  EXPECT_EQ(h, 480);
  EXPECT_EQ(window->getWindowWidth(), 480);
  EXPECT_EQ(window->getWindowHeight(), 480);
  EXPECT_EQ(KGraphicGL::screenWidth, 480);
  EXPECT_EQ(KGraphicGL::screenHeight, 480);
  window->setTitle("Renamed");
  EXPECT_STREQ(SDL_GetWindowTitle(sdl), "Renamed");
}

TEST_F(WindowGL, SoftwareRenderersAreNotAccelerated) {
  EXPECT_TRUE(KWindowGL::isSoftwareRenderer("Mesa", "llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(KWindowGL::isSoftwareRenderer("Mesa", "softpipe"));
  EXPECT_TRUE(KWindowGL::isSoftwareRenderer("Mesa Project", "Software Rasterizer"));
  EXPECT_TRUE(KWindowGL::isSoftwareRenderer("MICROSOFT Corporation", "anything"));
  EXPECT_TRUE(KWindowGL::isSoftwareRenderer("Microsoft", "GDI Generic"));
  EXPECT_FALSE(
      KWindowGL::isSoftwareRenderer("AMD", "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)"));
  EXPECT_FALSE(KWindowGL::isSoftwareRenderer(nullptr, nullptr));
  // Under Xvfb the driver is Mesa's software renderer.
  EXPECT_FALSE(window->getAccelerationCap());
}

TEST(WindowGLProbe, AccelerationProbeOfAnUnopenedWindowLeavesTheOpenOneDrawing) {
  hostTestReset();
  KWindow *game = KQRX::createKWindow(K_OPENGL, false);
  ASSERT_TRUE(game->createGameWindow(480, 480, -1, true, "Zyphora"));
  KWindow *unopened = KQRX::createKWindow(K_OPENGL, false);
  EXPECT_FALSE(unopened->getAccelerationCap());
  EXPECT_FALSE(unopened->isQuit());
  delete unopened;
  // The game window's size and context are still in place.
  EXPECT_EQ(KGraphicGL::screenWidth, 480);
  EXPECT_EQ(SDL_GL_GetCurrentWindow(), hostSDLWindow(game->getWindowHandle()));
  delete game;
}

TEST(WindowGLFactory, OpenGLYieldsTheOpenGLWindowAndPictures) {
  hostTestReset();
  KWindow *window = KQRX::createKWindow(K_OPENGL, false);
  EXPECT_EQ(KQRX::_renderer, K_OPENGL);
  EXPECT_NE(dynamic_cast<KWindowGL *>(window), nullptr);
  ASSERT_TRUE(window->createGameWindow(64, 64, -1, true, "Factory"));
  KGraphic *picture = KQRX::createKGraphic(); // follows the renderer of the window
  EXPECT_NE(dynamic_cast<KGraphicGL *>(picture), nullptr);
  delete picture;
  delete window;
  hostTestReset();
}

} // namespace
