// The window contract: the flip's frame cap and the window procedure's dispatch (callbacks,
// close, terminate, every pending event), the same cases for every renderer.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "KMiscTools.h"
#include "KQRX.h"
#include "KWindowD3D.h"
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

bool refuseClose(KEvent *e) { return e->nativeMessage != WM_CLOSE; }

HostInputFrame closeRequest() {
  HostInputFrame frame{};
  frame.closeRequest = true;
  return frame;
}

// The frame period the window keeps (each renderer declares its own member).
uint32_t framePeriod(KWindow *window) {
  if (KWindowGL *gl = dynamic_cast<KWindowGL *>(window)) return gl->_maxFrameRate;
  return dynamic_cast<KWindowD3D &>(*window)._maxFrameRate;
}

class WindowContract : public ::testing::TestWithParam<Erenderer> {
protected:
  void SetUp() override {
    hostTestReset();
    userCalls = eventCalls = 0;
    userResult = eventResult = true;
    events.clear();
    window = KQRX::createKWindow(GetParam(), false);
    ASSERT_TRUE(window->createGameWindow(480, 480, -1, true, "Zyphora"));
  }
  void TearDown() override {
    delete window;
    hostTestReset();
  }
  KWindow *window = nullptr;
};

TEST_P(WindowContract, ClosingSetsQuitAndKeepsTheWindow) {
  EXPECT_FALSE(window->isQuit());
  hostTestSetInput(closeRequest());
  window->flipBackBuffer(false, true);
  EXPECT_TRUE(window->isQuit());
  EXPECT_TRUE(hostWindowExists(window->getWindowHandle()));
  window->flipBackBuffer(false, true); // still drawable until deleted
  EXPECT_TRUE(window->isQuit());
}

TEST_P(WindowContract, TerminateSetsQuit) {
  window->terminate();
  EXPECT_TRUE(window->isQuit());
}

TEST_P(WindowContract, FrameCapPeriods) {
  window->setMaxFrameRate(60);
  EXPECT_EQ(framePeriod(window), 16u);
  window->setMaxFrameRate(0);
  EXPECT_EQ(framePeriod(window), 0u);
  window->setMaxFrameRate(-5);
  EXPECT_EQ(framePeriod(window), 0u);
  window->setMaxFrameRate(1000);
  EXPECT_EQ(framePeriod(window), 1u);
}

TEST_P(WindowContract, CappedFlipsAreAtLeastOnePeriodApart) {
  window->setMaxFrameRate(60);
  window->flipBackBuffer(false, true);
  uint32_t start = KMiscTools::getMilliseconds();
  for (int i = 0; i < 3; i++) window->flipBackBuffer(false, true);
  EXPECT_GE(KMiscTools::getMilliseconds() - start, 3u * 16u);
}

TEST_P(WindowContract, UserCallbackThatConsumesEverythingSilencesTheEventCallback) {
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

TEST_P(WindowContract, EventCallbackSeesKeysAfterTheUserCallbackAndMayConsume) {
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

TEST_P(WindowContract, CloseSetsQuitUnlessTheEventCallbackConsumesIt) {
  HostInputFrame frame{};
  frame.closeRequest = true;
  window->setQRXCallBack(refuseClose);
  hostTestSetInput(frame);
  window->flipBackBuffer(false, true);
  EXPECT_FALSE(window->isQuit());
  window->setQRXCallBack(nullptr);
  frame.closeRequest = false;
  hostTestSetInput(frame);
  frame.closeRequest = true;
  hostTestSetInput(frame);
  window->flipBackBuffer(false, true);
  EXPECT_TRUE(window->isQuit());
}

TEST_P(WindowContract, TheWheelIsStoredUnlessACallbackConsumesIt) {
  KInput::setLastWheelValue(0);
  hostSendMessage(window->getWindowHandle(), WM_MOUSEWHEEL, (unsigned int)(uint16_t)-240 << 16, 0);
  EXPECT_EQ(KInput::_lastWheelValue, -240);
  userResult = false;
  window->setCallBack(userCallBack);
  hostSendMessage(window->getWindowHandle(), WM_MOUSEWHEEL, 120u << 16, 0);
  EXPECT_EQ(KInput::_lastWheelValue, -240);
  EXPECT_EQ(userCalls, 1);
}

TEST_P(WindowContract, EveryPendingEventIsHandledInOneFlip) {
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

#define STRINGIFY2(x) #x
#define STRINGIFY(x) STRINGIFY2(x)

std::string label(const ::testing::TestParamInfo<Erenderer> &) { return STRINGIFY(CONTRACT_LABEL); }

INSTANTIATE_TEST_SUITE_P(Renderer, WindowContract, ::testing::Values(CONTRACT_RENDERER), label);

} // namespace
