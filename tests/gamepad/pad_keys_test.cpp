// The gamepad's keys as a rule: buttons, taps and the stick's dead zone.
#include <SDL.h>
#include <gtest/gtest.h>

#include "host_pad.h"
#include "host_vk.h"

namespace {

uint32_t bit(SDL_GameControllerButton button) { return 1u << button; }

PadState pressed(SDL_GameControllerButton button, bool tapping) {
  PadState pad{};
  pad.held = bit(button);
  pad.tapping = tapping ? bit(button) : 0;
  return pad;
}

PadKeys keys(std::initializer_list<int> codes) {
  PadKeys set;
  for (int code : codes) set.set(code);
  return set;
}

TEST(PadKeys, AnIdlePadHoldsNothing) { EXPECT_TRUE(padKeys(PadState{}).none()); }

TEST(PadKeys, TheDpadHoldsTheArrows) {
  EXPECT_EQ(padKeys(pressed(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true)), keys({VK_LEFT}));
  EXPECT_EQ(padKeys(pressed(SDL_CONTROLLER_BUTTON_DPAD_RIGHT, true)), keys({VK_RIGHT}));
  EXPECT_EQ(padKeys(pressed(SDL_CONTROLLER_BUTTON_DPAD_UP, false)), keys({VK_UP}));
  EXPECT_EQ(padKeys(pressed(SDL_CONTROLLER_BUTTON_DPAD_DOWN, false)), keys({VK_DOWN}));
}

TEST(PadKeys, SouthFiresAndTapsReturn) {
  EXPECT_EQ(padKeys(pressed(SDL_CONTROLLER_BUTTON_A, true)), keys({VK_SPACE, VK_RETURN}));
  EXPECT_EQ(padKeys(pressed(SDL_CONTROLLER_BUTTON_A, false)), keys({VK_SPACE})); // the tap is over
}

TEST(PadKeys, StartTapsPAndReturnOnly) {
  EXPECT_EQ(padKeys(pressed(SDL_CONTROLLER_BUTTON_START, true)), keys({'P', VK_RETURN}));
  EXPECT_TRUE(padKeys(pressed(SDL_CONTROLLER_BUTTON_START, false)).none());
}

TEST(PadKeys, EastAndBackHoldEscape) {
  EXPECT_EQ(padKeys(pressed(SDL_CONTROLLER_BUTTON_B, true)), keys({VK_ESCAPE}));
  EXPECT_EQ(padKeys(pressed(SDL_CONTROLLER_BUTTON_BACK, false)), keys({VK_ESCAPE}));
}

TEST(PadKeys, OtherButtonsHoldNothing) {
  for (auto button : {SDL_CONTROLLER_BUTTON_X, SDL_CONTROLLER_BUTTON_Y, SDL_CONTROLLER_BUTTON_GUIDE,
                      SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_RIGHTSTICK})
    EXPECT_TRUE(padKeys(pressed(button, true)).none()) << button;
}

TEST(PadKeys, ATapNeedsItsButtonHeld) {
  PadState pad{};
  pad.tapping = bit(SDL_CONTROLLER_BUTTON_START) | bit(SDL_CONTROLLER_BUTTON_A);
  EXPECT_TRUE(padKeys(pad).none());
}

TEST(PadKeys, TheStickMovesOnlyBeyondTheDeadZone) {
  PadState pad{};
  pad.leftX = PAD_DEAD_ZONE;
  pad.leftY = -PAD_DEAD_ZONE;
  EXPECT_TRUE(padKeys(pad).none());
  pad.leftX = PAD_DEAD_ZONE + 1;
  EXPECT_EQ(padKeys(pad), keys({VK_RIGHT}));
  pad.leftY = -PAD_DEAD_ZONE - 1;
  EXPECT_EQ(padKeys(pad), keys({VK_RIGHT, VK_UP})); // diagonals hold two arrows
  pad.leftX = -32768;
  pad.leftY = 32767;
  EXPECT_EQ(padKeys(pad), keys({VK_LEFT, VK_DOWN}));
}

TEST(PadKeys, StickAndDpadTogetherHoldOneArrow) {
  PadState pad = pressed(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
  pad.leftX = -20000;
  EXPECT_EQ(padKeys(pad), keys({VK_LEFT}));
}

TEST(PadKeys, OnlyTheArrowsRepeat) {
  for (int key = 0; key < 256; key++)
    EXPECT_EQ(padKeyRepeats(key), key >= VK_LEFT && key <= VK_DOWN) << key;
}

} // namespace
