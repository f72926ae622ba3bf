// The SDL host on the dummy video driver: windows, messages, key state, clock and test hooks.
#include <SDL.h>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "host.h"
#include "host_testing.h"

namespace {

struct Message {
  unsigned int message;
  unsigned int wParam;
  long lParam;
};

std::vector<Message> received;

long recordingProc(HostWindow *, unsigned int message, unsigned int wParam, long lParam) {
  received.push_back({message, wParam, lParam});
  return 0;
}

class Host : public ::testing::Test {
protected:
  void SetUp() override {
    hostTestReset();
    received.clear();
    window = hostCreateWindow(
        {"Host test", 480, 480, 0, HOST_CENTERED, HOST_CENTERED, recordingProc, &marker});
    ASSERT_NE(window, nullptr) << SDL_GetError();
  }
  void TearDown() override {
    hostDestroyWindow(window);
    hostTestReset();
  }
  std::vector<Message> messagesOf(unsigned int message) {
    std::vector<Message> out;
    for (const Message &m : received)
      if (m.message == message) out.push_back(m);
    return out;
  }
  HostInputFrame frame(std::initializer_list<int> keys, int x = 0, int y = 0, bool left = false) {
    HostInputFrame f{};
    for (int key : keys) f.keys[f.keyCount++] = key;
    f.mouseX = x;
    f.mouseY = y;
    f.leftButton = left;
    return f;
  }
  int marker = 0;
  HostWindow *window = nullptr;
};

TEST_F(Host, WindowHasTheAskedDrawableSizeTitleAndObject) {
  int w = 0, h = 0;
  SDL_GetWindowSize(hostSDLWindow(window), &w, &h);
  EXPECT_EQ(w, 480);
  EXPECT_EQ(h, 480);
  EXPECT_STREQ(SDL_GetWindowTitle(hostSDLWindow(window)), "Host test");
  hostSetTitle(window, "Zyphora");
  EXPECT_STREQ(SDL_GetWindowTitle(hostSDLWindow(window)), "Zyphora");
  EXPECT_EQ(hostUserData(window), &marker);
  EXPECT_TRUE(hostWindowExists(window));
  EXPECT_TRUE(hostHasFocus(window));
}

TEST_F(Host, DestroyingSendsDestroyFirstAndForgetsTheWindow) {
  HostWindow *other =
      hostCreateWindow({"other", 16, 16, SDL_WINDOW_HIDDEN, 30, 30, recordingProc, nullptr});
  ASSERT_NE(other, nullptr);
  EXPECT_FALSE(hostHasFocus(other)); // hidden windows are never in front
  hostDestroyWindow(other);
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, (unsigned)WM_DESTROY);
  EXPECT_FALSE(hostWindowExists(other));
  EXPECT_EQ(hostSendMessage(other, WM_CLOSE, 0, 0), 0);
  EXPECT_EQ(received.size(), 1u);
}

TEST_F(Host, ScriptedKeysArriveAsWindowsKeyMessages) {
  hostTestSetInput(frame({'A', 161}));
  EXPECT_FALSE(hostKeyDown('A')); // delivered by the next pump, like real events
  hostPumpEvents();
  auto downs = messagesOf(WM_KEYDOWN);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].wParam, (unsigned)'A');
  EXPECT_EQ((downs[0].lParam >> 16) & 0xFF, 0x1E); // scan code of A
  EXPECT_EQ(downs[0].lParam & 0xFFFF, 1);          // repeat count
  EXPECT_EQ(downs[1].wParam, 16u);                 // right shift reports plain shift
  EXPECT_EQ((downs[1].lParam >> 16) & 0xFF, 0x36);
  EXPECT_TRUE(hostKeyDown('A'));
  EXPECT_TRUE(hostKeyDown(161));
  EXPECT_FALSE(hostKeyDown(160));
  EXPECT_TRUE(hostKeyDown(16));

  hostTestSetInput(frame({161}));
  hostPumpEvents();
  auto ups = messagesOf(WM_KEYUP);
  ASSERT_EQ(ups.size(), 1u);
  EXPECT_EQ(ups[0].wParam, (unsigned)'A');
  EXPECT_EQ((unsigned long)ups[0].lParam >> 30 & 3, 3u); // previous state and transition bits
  EXPECT_FALSE(hostKeyDown('A'));
  EXPECT_TRUE(hostKeyDown(16));
}

TEST_F(Host, ExtendedKeysCarryBit24AndReturnAlsoTypesACharacter) {
  hostTestSetInput(frame({38, 13}));
  hostPumpEvents();
  auto downs = messagesOf(WM_KEYDOWN);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].wParam, 38u);
  EXPECT_EQ(downs[0].lParam >> 24 & 1, 1);
  EXPECT_EQ(downs[1].lParam >> 24 & 1, 0);
  auto chars = messagesOf(WM_CHAR);
  ASSERT_EQ(chars.size(), 1u);
  EXPECT_EQ(chars[0].wParam, 13u);
}

TEST_F(Host, ScriptedMouseMovesClicksAndCloses) {
  hostTestSetInput(frame({}, 100, 50));
  hostPumpEvents();
  hostTestSetInput(frame({}, 100, 50, true));
  hostPumpEvents();
  int x, y;
  hostMousePosition(window, &x, &y);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 50);
  EXPECT_TRUE(hostLeftButtonDown());
  auto moves = messagesOf(WM_MOUSEMOVE);
  ASSERT_EQ(moves.size(), 1u);
  EXPECT_EQ(moves[0].lParam, 100 | 50 << 16);
  auto clicks = messagesOf(WM_LBUTTONDOWN);
  ASSERT_EQ(clicks.size(), 1u);
  EXPECT_EQ(clicks[0].wParam & MK_LBUTTON, MK_LBUTTON);

  HostInputFrame close = frame({}, -5, 600);
  close.closeRequest = true;
  hostTestSetInput(close);
  hostPumpEvents();
  hostMousePosition(window, &x, &y);
  EXPECT_EQ(x, -5); // beyond the window, as Windows reports it
  EXPECT_EQ(y, 600);
  EXPECT_FALSE(hostLeftButtonDown());
  EXPECT_EQ(messagesOf(WM_LBUTTONUP).size(), 1u);
  EXPECT_EQ(messagesOf(WM_CLOSE).size(), 1u);
  EXPECT_TRUE(hostWindowExists(window)); // closing is a request, not a destruction
}

TEST_F(Host, StoppingTheScriptReleasesEverything) {
  hostTestSetInput(frame({'Z'}, 3, 4, true));
  hostPumpEvents();
  hostTestStopInput();
  EXPECT_FALSE(hostKeyDown('Z'));
  EXPECT_FALSE(hostLeftButtonDown());
}

TEST_F(Host, WaitingForInputWithoutAHookReleasesTheScriptedKeys) {
  hostTestSetInput(frame({'P'}));
  hostPumpEvents();
  ASSERT_TRUE(hostKeyDown('P'));
  hostWaitForInput();
  EXPECT_FALSE(hostKeyDown('P'));
}

TEST_F(Host, SteppedClockAdvancesPerFrameAndCallsTheHook) {
  hostTestSetClockStep(16, 1000);
  EXPECT_EQ(hostMilliseconds(), 1000u);
  EXPECT_EQ(hostMilliseconds(), 1000u);
  struct Seen {
    std::vector<unsigned long> frames;
    std::vector<uint32_t> times;
  } seen;
  hostTestSetFrameHook(
      [](void *context, unsigned long frame) {
        static_cast<Seen *>(context)->frames.push_back(frame);
        static_cast<Seen *>(context)->times.push_back(hostMilliseconds());
      },
      &seen);
  for (int i = 0; i < 3; i++) hostFrameReady();
  EXPECT_EQ(seen.frames, (std::vector<unsigned long>{0, 1, 2}));
  EXPECT_EQ(seen.times, (std::vector<uint32_t>{1000, 1016, 1032}));
  EXPECT_EQ(hostMilliseconds(), 1048u);
  EXPECT_EQ(hostTestFrameCount(), 3u);
  hostTestAdvanceClock(2);
  EXPECT_EQ(hostMilliseconds(), 1050u);
  hostPaceFrame(1050, 16); // a stepped clock never waits for itself
  EXPECT_EQ(hostMilliseconds(), 1050u);
}

TEST_F(Host, FrameCapWaitsForThePeriodUnlessSwitchedOff) {
  uint32_t start = hostMilliseconds();
  hostPaceFrame(start, 20);
  EXPECT_GE(hostMilliseconds() - start, 20u);
  hostTestSetNoFrameWait(true);
  start = hostMilliseconds();
  hostPaceFrame(start, 1000);
  EXPECT_LT(hostMilliseconds() - start, 500u);
}

TEST_F(Host, PointerCounterBehavesLikeShowCursor) {
  int base = hostShowCursor(true) - 1;
  EXPECT_EQ(hostShowCursor(false), base);
  EXPECT_EQ(hostShowCursor(false), base - 1);
  EXPECT_EQ(hostShowCursor(true), base);
}

// Real devices: SDL events as the video driver would queue them.
class HostEvents : public Host {
protected:
  uint32_t id() { return SDL_GetWindowID(hostSDLWindow(window)); }
  void key(SDL_Scancode code, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.windowID = id();
    e.key.keysym.scancode = code;
    SDL_PushEvent(&e);
  }
  void windowEvent(uint8_t kind) {
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = id();
    e.window.event = kind;
    SDL_PushEvent(&e);
  }
};

TEST_F(HostEvents, KeysBecomeKeyMessagesWithGenericModifierCodes) {
  key(SDL_SCANCODE_RSHIFT, true);
  key(SDL_SCANCODE_RETURN, true);
  key(SDL_SCANCODE_LALT, true);
  hostPumpEvents();
  EXPECT_TRUE(hostKeyDown(161));
  EXPECT_TRUE(hostKeyDown(16));
  EXPECT_TRUE(hostKeyDown(13));
  EXPECT_TRUE(hostKeyDown(18));
  auto downs = messagesOf(WM_KEYDOWN);
  ASSERT_EQ(downs.size(), 2u);
  EXPECT_EQ(downs[0].wParam, 16u);
  EXPECT_EQ((downs[0].lParam >> 16) & 0xFF, 0x36);
  EXPECT_EQ(downs[1].wParam, 13u);
  ASSERT_EQ(messagesOf(WM_CHAR).size(), 1u);
  EXPECT_EQ(messagesOf(WM_CHAR)[0].wParam, 13u);
  auto sys = messagesOf(WM_SYSKEYDOWN); // alt goes the system-key way, as on Windows
  ASSERT_EQ(sys.size(), 1u);
  EXPECT_EQ(sys[0].wParam, 18u);
  key(SDL_SCANCODE_RSHIFT, false);
  key(SDL_SCANCODE_LALT, false);
  hostPumpEvents();
  EXPECT_FALSE(hostKeyDown(16));
  EXPECT_FALSE(hostKeyDown(18));
  EXPECT_TRUE(hostKeyDown(13));
}

TEST_F(HostEvents, TextBecomesLatin1Characters) {
  SDL_Event e{};
  e.type = SDL_TEXTINPUT;
  e.text.windowID = id();
  snprintf(e.text.text, sizeof e.text.text, "a\xC3\xA9\xE2\x82\xAC"); // a, e acute, euro sign
  SDL_PushEvent(&e);
  hostPumpEvents();
  auto chars = messagesOf(WM_CHAR);
  ASSERT_EQ(chars.size(), 2u); // the euro sign has no 8-bit code
  EXPECT_EQ(chars[0].wParam, (unsigned)'a');
  EXPECT_EQ(chars[1].wParam, 0xE9u);
}

TEST_F(HostEvents, MouseMotionButtonsAndWheel) {
  SDL_Event e{};
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = id();
  e.motion.x = 321;
  e.motion.y = 45;
  SDL_PushEvent(&e);
  e = SDL_Event{};
  e.type = SDL_MOUSEBUTTONDOWN;
  e.button.windowID = id();
  e.button.button = SDL_BUTTON_RIGHT;
  e.button.x = 321;
  e.button.y = 45;
  SDL_PushEvent(&e);
  e = SDL_Event{};
  e.type = SDL_MOUSEWHEEL;
  e.wheel.windowID = id();
  e.wheel.y = -1;
  SDL_PushEvent(&e);
  hostPumpEvents();
  int x, y;
  hostMousePosition(window, &x, &y);
  EXPECT_EQ(x, 321);
  EXPECT_EQ(y, 45);
  ASSERT_EQ(messagesOf(WM_MOUSEMOVE).size(), 1u);
  EXPECT_EQ(messagesOf(WM_MOUSEMOVE)[0].lParam, 321 | 45 << 16);
  ASSERT_EQ(messagesOf(WM_RBUTTONDOWN).size(), 1u);
  EXPECT_FALSE(hostLeftButtonDown());
  auto wheel = messagesOf(WM_MOUSEWHEEL);
  ASSERT_EQ(wheel.size(), 1u);
  EXPECT_EQ((int16_t)(wheel[0].wParam >> 16), -120);
}

TEST_F(HostEvents, FocusChangesAreIgnoredWhileATestHoldsTheFocus) {
  windowEvent(SDL_WINDOWEVENT_FOCUS_LOST); // the reset holds the focus
  hostPumpEvents();
  EXPECT_TRUE(hostHasFocus(window));
  EXPECT_TRUE(messagesOf(WM_ACTIVATEAPP).empty());
}

TEST_F(HostEvents, WindowEventsAndQuit) {
  hostTestSetFocusHeld(false);
  windowEvent(SDL_WINDOWEVENT_FOCUS_LOST);
  windowEvent(SDL_WINDOWEVENT_EXPOSED);
  hostPumpEvents();
  EXPECT_FALSE(hostHasFocus(window));
  ASSERT_EQ(messagesOf(WM_ACTIVATEAPP).size(), 1u);
  EXPECT_EQ(messagesOf(WM_ACTIVATEAPP)[0].wParam, 0u);
  EXPECT_EQ(messagesOf(WM_PAINT).size(), 1u);
  windowEvent(SDL_WINDOWEVENT_FOCUS_GAINED);
  windowEvent(SDL_WINDOWEVENT_CLOSE);
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  hostWaitEvents(0);
  EXPECT_TRUE(hostHasFocus(window));
  EXPECT_EQ(messagesOf(WM_ACTIVATEAPP).back().wParam, 1u);
  EXPECT_EQ(messagesOf(WM_CLOSE).size(), 2u); // the close button, then the interrupt
}

TEST_F(HostEvents, ARunningScriptIgnoresTheRealDevices) {
  hostTestSetInput(HostInputFrame{});
  key(SDL_SCANCODE_A, true);
  hostPumpEvents();
  EXPECT_FALSE(hostKeyDown('A'));
  EXPECT_TRUE(messagesOf(WM_KEYDOWN).empty());
}

TEST(HostPointer, HiddenBeforeAnyWindowStaysHiddenInTheNewWindow) {
  int counter = hostShowCursor(false);
  while (counter >= 0) counter = hostShowCursor(false);
  HostWindow *w =
      hostCreateWindow({"pointer", 32, 32, 0, HOST_CENTERED, HOST_CENTERED, nullptr, nullptr});
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  while (counter < 0) counter = hostShowCursor(true);
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  hostDestroyWindow(w);
}

TEST_F(Host, MessageBoxesAreRecordedByTheHandler) {
  std::vector<std::string> boxes;
  hostTestSetMessageBoxHandler(
      [](void *context, const char *title, const char *text) {
        static_cast<std::vector<std::string> *>(context)->push_back(std::string(title) + "|" +
                                                                    text);
      },
      &boxes);
  hostMessageBox("Could not create openGL Context", "OpenGl error");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Could not create openGL Context|OpenGl error");
}

TEST(HostFolders, ExecutablePathIsThisTestAndCutsToTheBuffer) {
  char path[4096];
  ASSERT_TRUE(hostExecutablePath(path, sizeof path));
  EXPECT_NE(std::string(path).find("engine_host_test"), std::string::npos);
  char tiny[8];
  ASSERT_TRUE(hostExecutablePath(tiny, sizeof tiny));
  EXPECT_EQ(std::string(tiny), std::string(path).substr(0, 7));
}

TEST(HostFolders, UserFolderFollowsXdgDataHomeAndIsCreated) {
  char base[] = "/tmp/zyhostXXXXXX";
  ASSERT_NE(mkdtemp(base), nullptr);
  std::string data = std::string(base) + "/deep/data";
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  char folder[260];
  ASSERT_TRUE(hostUserFolder(folder, sizeof folder));
  EXPECT_EQ(std::string(folder), data + "/zyphora");
  SDL_RWops *probe = SDL_RWFromFile((data + "/zyphora/probe").c_str(), "wb");
  EXPECT_NE(probe, nullptr);
  if (probe) SDL_RWclose(probe);
  char small[10];
  EXPECT_FALSE(hostUserFolder(small, sizeof small)); // never a cut folder name
  unsetenv("XDG_DATA_HOME");
  std::string cleanup = "rm -rf " + std::string(base);
  EXPECT_EQ(system(cleanup.c_str()), 0);
}

} // namespace
