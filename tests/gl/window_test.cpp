// The OpenGL window under Xvfb: opening, closing, frame cap, message dispatch, capabilities.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KGraphicGL.h"
#include "KMiscTools.h"
#include "KQRX.h"
#include "KWindowGL.h"
#include "host.h"
#include "host_testing.h"

namespace {

int userCalls, eventCalls;
bool userResult = true, eventResult = true;
std::vector<KEvent> events;

bool userCallBack(HWND, unsigned int, unsigned int, long) {
  userCalls++;
  return userResult;
}

bool eventCallBack(KEvent *event) {
  // The user callback, when installed, has always seen the message first.
  EXPECT_TRUE(userCalls > 0 || userResult);
  eventCalls++;
  events.push_back(*event);
  return eventResult;
}

HostInputFrame closeRequest() {
  HostInputFrame frame{};
  frame.closeRequest = true;
  return frame;
}

class WindowGL : public ::testing::Test {
protected:
  void SetUp() override {
    hostTestReset();
    userCalls = eventCalls = 0;
    userResult = eventResult = true;
    events.clear();
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

TEST_F(WindowGL, ClosingSetsQuitAndKeepsTheWindow) {
  EXPECT_FALSE(window->isQuit());
  hostTestSetInput(closeRequest());
  window->flipBackBuffer(false, true);
  EXPECT_TRUE(window->isQuit());
  EXPECT_TRUE(hostWindowExists(window->getWindowHandle()));
  window->flipBackBuffer(false, true); // still drawable until deleted
  EXPECT_TRUE(window->isQuit());
}

TEST_F(WindowGL, TerminateSetsQuit) {
  window->terminate();
  EXPECT_TRUE(window->isQuit());
}

TEST_F(WindowGL, FrameCapPeriods) {
  KWindowGL *gl = static_cast<KWindowGL *>(window);
  window->setMaxFrameRate(60);
  EXPECT_EQ(gl->_maxFrameRate, 16u);
  window->setMaxFrameRate(0);
  EXPECT_EQ(gl->_maxFrameRate, 0u);
  window->setMaxFrameRate(-5);
  EXPECT_EQ(gl->_maxFrameRate, 0u);
  window->setMaxFrameRate(1000);
  EXPECT_EQ(gl->_maxFrameRate, 1u);
}

TEST_F(WindowGL, CappedFlipsAreAtLeastOnePeriodApart) {
  window->setMaxFrameRate(60);
  window->flipBackBuffer(false, true);
  uint32_t start = KMiscTools::getMilliseconds();
  for (int i = 0; i < 3; i++) window->flipBackBuffer(false, true);
  EXPECT_GE(KMiscTools::getMilliseconds() - start, 3u * 16u);
}

TEST_F(WindowGL, UserCallbackThatConsumesEverythingSilencesTheEventCallback) {
  userResult = false;
  window->setCallBack(userCallBack);
  window->setQRXCallBack(eventCallBack);
  hostTestSetInput(closeRequest());
  window->flipBackBuffer(false, true);
  HostInputFrame keys{};
  keys.keys[keys.keyCount++] = 'A';
  keys.mouseX = 40;
  hostTestSetInput(keys);
  window->processEvents();
  EXPECT_GE(userCalls, 3); // close, key down, mouse move at least
  EXPECT_EQ(eventCalls, 0);
  EXPECT_FALSE(window->isQuit()); // the close was consumed too
}

TEST_F(WindowGL, EventCallbackSeesKeysAfterTheUserCallbackAndMayConsume) {
  window->setCallBack(userCallBack);
  window->setQRXCallBack(eventCallBack);
  HostInputFrame keys{};
  keys.keys[keys.keyCount++] = 'A';
  hostTestSetInput(keys);
  window->processEvents();
  ASSERT_FALSE(events.empty());
  bool sawA = false;
  for (const KEvent &e : events)
    if (e.type == K_EVENT_KEYDOWN && e.virtualKey == 'A') {
      sawA = true;
      EXPECT_EQ(e.qrxKey, K_VK_A);
    }
  EXPECT_TRUE(sawA);
  EXPECT_EQ(userCalls, eventCalls);

  eventResult = false; // the event callback consumes the close: the window stays open
  hostTestSetInput(closeRequest());
  window->processEvents();
  EXPECT_FALSE(window->isQuit());
  eventResult = true;
  window->setCallBack(nullptr);
  window->setQRXCallBack(nullptr);
  hostTestSetInput(HostInputFrame{});
  hostTestSetInput(closeRequest());
  window->processEvents();
  EXPECT_TRUE(window->isQuit());
}

TEST_F(WindowGL, EveryPendingEventIsHandledInOneFlip) {
  window->setQRXCallBack(eventCallBack);
  // Many pointer motions queued at once: one flip drains them all.
  for (int i = 0; i < 50; i++) {
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.windowID = SDL_GetWindowID(hostSDLWindow(window->getWindowHandle()));
    motion.motion.x = i;
    motion.motion.y = i;
    SDL_PushEvent(&motion);
  }
  window->flipBackBuffer(false, true);
  int moves = 0;
  for (const KEvent &e : events) moves += e.type == K_EVENT_MOUSEMOVE;
  EXPECT_EQ(moves, 50);
  SDL_Event left;
  EXPECT_EQ(SDL_PeepEvents(&left, 1, SDL_PEEKEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION), 0);
}

TEST_F(WindowGL, SoftwareRenderersAreNotAccelerated) {
  EXPECT_TRUE(KWindowGL::isSoftwareRenderer("Mesa", "llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(KWindowGL::isSoftwareRenderer("Mesa", "softpipe"));
  EXPECT_TRUE(KWindowGL::isSoftwareRenderer("Mesa Project", "Software Rasterizer"));
  EXPECT_TRUE(KWindowGL::isSoftwareRenderer("MICROSOFT Corporation", "anything"));
  EXPECT_TRUE(KWindowGL::isSoftwareRenderer("Microsoft", "GDI Generic"));
  EXPECT_FALSE(KWindowGL::isSoftwareRenderer("AMD", "AMD Radeon RX 6600 (radeonsi, navi23, LLVM 15.0.6)"));
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
