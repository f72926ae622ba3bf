// A gamepad playing the real game, headless: SDL's virtual pad in the title menu and in games,
// through the scripted runner (window, stepped clock, logged sounds) with its scripted keyboard
// switched off, since pads are ignored while a script owns the input. Buttons are tapped: let go
// at the pump after the one that sees them down, as the game's waits for a key's release need.
#include <functional>
#include <gtest/gtest.h>
#include <vector>

#include "ScriptedGame.h"
#include "host_testing.h"
#include "key_bindings.h"
#include "settings_file.h"
#include "state.h"
#include "virtual_pad.h"

namespace {

constexpr unsigned long FADE_FRAMES =
    40; // frames from the one showing the confirmation to the game's first

struct PadGame : ::testing::Test {
  PadGame() { hostTestStopInput(); }
  // Runs the program with `script` for every frame, logging the level timer after each.
  int run(const std::function<void(unsigned long)> &script) {
    game.onFrame = [&](unsigned long frame) {
      timers.push_back(gLevelTimer);
      script(frame);
    };
    return game.runMain();
  }
  // Whether the level timer changed at every frame of from..to (moving) or at none (frozen).
  bool timerMoves(unsigned long from, unsigned long to, bool moving) const {
    for (unsigned long f = from; f <= to; f++)
      if ((timers.at(f) != timers.at(f - 1)) != moving) return false;
    return true;
  }
  ScriptedGame game;
  VirtualPad pad;
  std::vector<float> timers; // gLevelTimer as each frame is drawn
};

TEST_F(PadGame, SouthOnPlayStartsAGame) {
  ASSERT_TRUE(pad.plugged());
  EXPECT_EQ(0, run([&](unsigned long frame) {
              if (frame == 30) pad.tap(SDL_CONTROLLER_BUTTON_A);
              if (frame == 120) game.setInput(Input::closing());
            }));
  EXPECT_EQ(31u, game.firstFrame("snd_validated", DsCall::Play));
  const unsigned long start = game.firstFrame("snd_welcomegame", DsCall::Play);
  EXPECT_EQ(31 + FADE_FRAMES, start);
  EXPECT_TRUE(timerMoves(start + 1, 119, true)) << "the game runs";
  EXPECT_EQ(1u, game.countCalls("snd_validated", DsCall::Play));
}

TEST_F(PadGame, StartPausesAndResumesTheGameItStarted) {
  ASSERT_TRUE(pad.plugged());
  EXPECT_EQ(0, run([&](unsigned long frame) {
              if (frame == 30 || frame == 120 || frame == 160) pad.tap(SDL_CONTROLLER_BUTTON_START);
              if (frame == 200) game.setInput(Input::closing());
            }));
  const unsigned long start = game.firstFrame("snd_welcomegame", DsCall::Play);
  ASSERT_EQ(31 + FADE_FRAMES, start) << "Start confirms play";
  EXPECT_TRUE(timerMoves(start + 1, 120, true)) << "the tap that started the game paused it";
  EXPECT_TRUE(timerMoves(122, 160, false)) << "paused";
  EXPECT_TRUE(timerMoves(162, 199, true)) << "resumed";
}

TEST_F(PadGame, EastAndBackLeaveTheGameForTheMenu) {
  ASSERT_TRUE(pad.plugged());
  EXPECT_EQ(0, run([&](unsigned long frame) {
              if (frame == 30 || frame == 200) pad.tap(SDL_CONTROLLER_BUTTON_A);
              if (frame == 120) pad.tap(SDL_CONTROLLER_BUTTON_B);
              if (frame == 290) pad.tap(SDL_CONTROLLER_BUTTON_BACK);
              if (frame == 370) pad.tap(SDL_CONTROLLER_BUTTON_START);
              if (frame == 460) game.setInput(Input::closing());
            }));
  // Each leave brings the menu back, where the next confirmation starts a new game.
  const auto games = game.soundEvents("snd_welcomegame", DsCall::Play);
  ASSERT_EQ(3u, games.size());
  EXPECT_EQ(31 + FADE_FRAMES, games[0].frame);
  EXPECT_EQ(201 + FADE_FRAMES, games[1].frame);
  EXPECT_EQ(371 + FADE_FRAMES, games[2].frame);
  EXPECT_EQ(3u, game.countCalls("snd_validated", DsCall::Play));
  EXPECT_TRUE(timerMoves(122, 200, false)) << "the game ended at East";
  EXPECT_TRUE(timerMoves(292, 370, false)) << "the game ended at Back";
}

} // namespace

// The pad sends arrows, Space and P. With every keyboard key moved elsewhere, those keys belong
// to no action and keep their default one: the pad still flies, fires and pauses.
TEST_F(PadGame, ThePadFliesFiresAndPausesWhenTheKeyboardKeysAreRebound) {
  ASSERT_TRUE(pad.plugged());
  KeyBindings moved = {{{K_VK_I}, {K_VK_K}, {K_VK_J}, {K_VK_L}, {K_VK_F}, {K_VK_O}}};
  for (auto &keys : moved.keys) keys[1] = keys[2] = K_VK_ERROR;
  writeKeyBindings(desktopSettings(), moved); // what the menu reads as it starts (not saved)
  float y[2] = {};
  size_t shotsBefore = 0;
  EXPECT_EQ(0, run([&](unsigned long frame) {
              if (frame == 30 || frame == 140 || frame == 170) pad.tap(SDL_CONTROLLER_BUTTON_START);
              if (frame == 90) y[0] = myShip.y, pad.press(SDL_CONTROLLER_BUTTON_DPAD_UP);
              if (frame == 110) y[1] = myShip.y, pad.release(SDL_CONTROLLER_BUTTON_DPAD_UP);
              if (frame == 115) shotsBefore = game.countCalls("snd_shipshot", DsCall::Play);
              if (frame == 120) pad.tap(SDL_CONTROLLER_BUTTON_A);
              if (frame == 200) game.setInput(Input::closing());
            }));
  desktopSettings() = SettingsFile();
  EXPECT_EQ(K_VK_I, gKeyBindings.keys[ACTION_UP][0]) << "the game played with the moved keys";
  ASSERT_EQ(31 + FADE_FRAMES, game.firstFrame("snd_welcomegame", DsCall::Play));
  EXPECT_LE(y[1], y[0] - 30) << "the d-pad flies up";
  EXPECT_GT(game.countCalls("snd_shipshot", DsCall::Play), shotsBefore) << "south fires";
  EXPECT_TRUE(timerMoves(142, 170, false)) << "Start pauses";
  EXPECT_TRUE(timerMoves(172, 199, true)) << "and resumes";
}
