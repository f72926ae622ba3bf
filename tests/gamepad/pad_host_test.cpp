// Gamepads on the host, with SDL's virtual pad on the dummy video driver: the keys they hold,
// the messages the window receives, taps, repeats, hot-plugging and unplugging mid-press.
#include <SDL.h>
#include <gtest/gtest.h>
#include <vector>

#include "host.h"
#include "host_pad.h"
#include "host_testing.h"
#include "host_vk.h"
#include "virtual_pad.h"

namespace {

struct Key {
  unsigned int message, key;
  bool repeat;
  bool operator==(const Key &o) const {
    return message == o.message && key == o.key && repeat == o.repeat;
  }
};
std::ostream &operator<<(std::ostream &out, const Key &k) {
  return out << "{" << std::hex << k.message << " " << std::dec << k.key
             << (k.repeat ? " repeat}" : "}");
}

std::vector<Key> received; // key and character messages, in order

long recordingProc(HostWindow *, unsigned int message, unsigned int wParam, long lParam) {
  if (message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR)
    received.push_back({message, wParam, message == WM_KEYDOWN && (lParam >> 30 & 1)});
  return 0;
}

Key down(unsigned int key) { return {WM_KEYDOWN, key, false}; }
Key up(unsigned int key) { return {WM_KEYUP, key, false}; }
Key repeat(unsigned int key) { return {WM_KEYDOWN, key, true}; }
Key character(unsigned int key) { return {WM_CHAR, key, false}; }

class Pads : public ::testing::Test {
protected:
  void SetUp() override {
    hostTestReset();
    window = hostCreateWindow(
        {"pads", 480, 480, 0, HOST_CENTERED, HOST_CENTERED, recordingProc, nullptr});
    ASSERT_NE(window, nullptr) << SDL_GetError();
    hostPumpEvents(); // pads are looked for from the first pump on
    ASSERT_TRUE(pad.plugged()) << SDL_GetError();
    pump();
  }
  void TearDown() override {
    pad.unplug();
    hostPumpEvents();
    hostDestroyWindow(window);
    hostTestReset();
  }
  // The messages of one pump.
  std::vector<Key> pump() {
    received.clear();
    hostPumpEvents();
    return received;
  }
  // A frame completes (as every flip does), then the next pump.
  std::vector<Key> nextFrame() {
    hostFrameReady();
    return pump();
  }
  HostWindow *window = nullptr;
  VirtualPad pad;
};

using Keys = std::vector<Key>;

TEST_F(Pads, SouthFiresAndTapsReturnForOneFrame) {
  pad.press(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(pump(), (Keys{down(VK_RETURN), character(VK_RETURN), down(VK_SPACE)}));
  EXPECT_TRUE(hostKeyDown(VK_SPACE));
  EXPECT_TRUE(hostKeyDown(VK_RETURN));
  EXPECT_EQ(nextFrame(), (Keys{up(VK_RETURN)}));
  EXPECT_TRUE(hostKeyDown(VK_SPACE)); // still firing
  EXPECT_FALSE(hostKeyDown(VK_RETURN));
  EXPECT_EQ(nextFrame(), Keys{});
  pad.release(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(pump(), (Keys{up(VK_SPACE)}));
  EXPECT_FALSE(hostKeyDown(VK_SPACE));
}

TEST_F(Pads, AHeldStartIsOverAfterOneFrameSoTheGameItStartsIsNotPaused) {
  pad.press(SDL_CONTROLLER_BUTTON_START);
  EXPECT_EQ(pump(), (Keys{down(VK_RETURN), character(VK_RETURN), down(VK_P)}));
  EXPECT_TRUE(hostKeyDown(VK_P));
  EXPECT_EQ(nextFrame(), (Keys{up(VK_RETURN), up(VK_P)}));
  for (int frame = 0; frame < 5; frame++) EXPECT_EQ(nextFrame(), Keys{});
  EXPECT_FALSE(hostKeyDown(VK_P));
  pad.release(SDL_CONTROLLER_BUTTON_START);
  EXPECT_EQ(pump(), Keys{});
}

TEST_F(Pads, ReleasingStartEndsTheTapAtOnce) {
  // What a game's wait for the release of P needs: it pumps without completing frames.
  pad.press(SDL_CONTROLLER_BUTTON_START);
  pump();
  pad.release(SDL_CONTROLLER_BUTTON_START);
  EXPECT_EQ(pump(), (Keys{up(VK_RETURN), up(VK_P)}));
  pad.press(SDL_CONTROLLER_BUTTON_START); // and a new press taps again, in the same frame
  EXPECT_EQ(pump(), (Keys{down(VK_RETURN), character(VK_RETURN), down(VK_P)}));
}

TEST_F(Pads, EastAndBackHoldEscapeWhileEitherIsDown) {
  pad.press(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(pump(), (Keys{down(VK_ESCAPE), character(VK_ESCAPE)}));
  pad.press(SDL_CONTROLLER_BUTTON_BACK);
  EXPECT_EQ(nextFrame(), Keys{});
  pad.release(SDL_CONTROLLER_BUTTON_B);
  EXPECT_EQ(pump(), Keys{});
  EXPECT_TRUE(hostKeyDown(VK_ESCAPE));
  pad.release(SDL_CONTROLLER_BUTTON_BACK);
  EXPECT_EQ(pump(), (Keys{up(VK_ESCAPE)}));
}

TEST_F(Pads, DpadAndStickPastTheDeadZoneAreTheArrows) {
  pad.press(SDL_CONTROLLER_BUTTON_DPAD_UP);
  EXPECT_EQ(pump(), (Keys{down(VK_UP)}));
  pad.release(SDL_CONTROLLER_BUTTON_DPAD_UP);
  pad.stick(PAD_DEAD_ZONE / 2, -PAD_DEAD_ZONE / 2); // a resting stick's drift
  EXPECT_EQ(pump(), (Keys{up(VK_UP)}));
  pad.stick(30000, 0);
  EXPECT_EQ(pump(), (Keys{down(VK_RIGHT)}));
  pad.stick(-30000, 30000);
  EXPECT_EQ(pump(), (Keys{down(VK_LEFT), up(VK_RIGHT), down(VK_DOWN)}));
  EXPECT_TRUE(hostKeyDown(VK_LEFT) && hostKeyDown(VK_DOWN) && !hostKeyDown(VK_RIGHT));
  pad.stick(0, 0);
  EXPECT_EQ(pump(), (Keys{up(VK_LEFT), up(VK_DOWN)}));
}

TEST_F(Pads, AHeldDirectionRepeatsAfterADelayButFireDoesNot) {
  hostTestSetClockStep(16, 5000);
  pad.press(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  pad.press(SDL_CONTROLLER_BUTTON_A);
  pump();
  hostTestAdvanceClock(PAD_REPEAT_DELAY_MS - 1);
  EXPECT_EQ(pump(), Keys{});
  hostTestAdvanceClock(1);
  EXPECT_EQ(pump(), (Keys{repeat(VK_DOWN)}));
  EXPECT_EQ(pump(), Keys{});
  hostTestAdvanceClock(PAD_REPEAT_PERIOD_MS);
  EXPECT_EQ(pump(), (Keys{repeat(VK_DOWN)}));
  hostTestAdvanceClock(5 * PAD_REPEAT_PERIOD_MS); // a long frame: one repeat, not a burst
  EXPECT_EQ(pump(), (Keys{repeat(VK_DOWN)}));
  EXPECT_EQ(pump(), Keys{});
  pad.release(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
  EXPECT_EQ(pump(), (Keys{up(VK_DOWN)}));
  hostTestAdvanceClock(PAD_REPEAT_DELAY_MS);
  EXPECT_EQ(pump(), Keys{});
  EXPECT_TRUE(hostKeyDown(VK_SPACE));
}

TEST_F(Pads, UnpluggingMidPressReleasesEveryKeyOfThePad) {
  pad.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  pad.press(SDL_CONTROLLER_BUTTON_A);
  pad.press(SDL_CONTROLLER_BUTTON_B);
  pad.stick(0, -30000);
  pump();
  ASSERT_TRUE(hostKeyDown(VK_LEFT) && hostKeyDown(VK_SPACE) && hostKeyDown(VK_ESCAPE) &&
              hostKeyDown(VK_UP));
  pad.unplug();
  Keys released = pump();
  EXPECT_FALSE(hostKeyDown(VK_LEFT) || hostKeyDown(VK_SPACE) || hostKeyDown(VK_ESCAPE) ||
               hostKeyDown(VK_UP));
  EXPECT_FALSE(hostKeyDown(VK_RETURN));
  for (int key : {VK_RETURN, VK_ESCAPE, VK_SPACE, VK_LEFT, VK_UP})
    EXPECT_EQ(std::count(released.begin(), released.end(), up(key)), 1) << key;
  EXPECT_EQ(released.size(), 5u);
}

TEST_F(Pads, APadPluggedInDuringPlayWorksAndPadsAddUp) {
  VirtualPad second;
  ASSERT_TRUE(second.plugged());
  pump();
  second.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  EXPECT_EQ(pump(), (Keys{down(VK_RIGHT)}));
  pad.press(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  EXPECT_EQ(pump(), Keys{}); // already down
  second.unplug();
  EXPECT_EQ(pump(), Keys{}); // the first pad still holds it
  EXPECT_TRUE(hostKeyDown(VK_RIGHT));
  pad.release(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
  EXPECT_EQ(pump(), (Keys{up(VK_RIGHT)}));
}

TEST_F(Pads, ARunningScriptIgnoresThePads) {
  hostTestSetInput(HostInputFrame{});
  pad.press(SDL_CONTROLLER_BUTTON_A);
  EXPECT_EQ(pump(), Keys{});
  EXPECT_FALSE(hostKeyDown(VK_SPACE));
  hostTestStopInput(); // the real devices again: what is held is sent once the frame is over
  EXPECT_EQ(nextFrame(), (Keys{down(VK_SPACE)}));
  EXPECT_TRUE(hostKeyDown(VK_SPACE));
}

TEST(PadsBeforePlay, APadPluggedInBeforeTheWindowOpensWorks) {
  hostTestReset();
  VirtualPad pad;
  ASSERT_TRUE(pad.plugged()) << SDL_GetError();
  HostWindow *window =
      hostCreateWindow({"pads", 480, 480, 0, HOST_CENTERED, HOST_CENTERED, recordingProc, nullptr});
  ASSERT_NE(window, nullptr);
  hostPumpEvents();
  received.clear();
  pad.press(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
  hostPumpEvents();
  EXPECT_EQ(received, (Keys{down(VK_LEFT)}));
  pad.unplug();
  hostPumpEvents();
  EXPECT_FALSE(hostKeyDown(VK_LEFT));
  hostDestroyWindow(window);
}

} // namespace
