// A whole game through the real window, input, clock and sound, headless: the first frame, the
// pause, Escape, closing the window, game over with its high-score entry, and a game started
// from the title menu.
#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "KInput.h"
#include "KWindow.h"
#include "game_runs.h"
#include "host.h"
#include "state.h"
#include "zyphora.h"

namespace {

const unsigned long NEVER = ~0ul;

// The pointer's display counter (as ShowCursor keeps it), read without changing it.
int pointerCounter() {
  int counter = hostShowCursor(false) + 1;
  hostShowCursor(true);
  return counter;
}

TEST(Entry, OpensTheGamesWindowWithItsOwnPointerAndPutsEverythingBackWhenClosed) {
  ScriptedGame game;
  const int counterBefore = pointerCounter();
  std::string title;
  long width = 0, height = 0;
  bool windowed = false, systemPointerHidden = false, enginePointer = false;
  Frame shown;
  game.onFrame = [&](unsigned long frame) {
    if (frame == 0)
      game.setInput(Input::pointer(200, 150, false)); // the mouse moves over the window
    if (frame != 3) return;
    SDL_Window *window = hostSDLWindow(gameWindow->getWindowHandle());
    title = SDL_GetWindowTitle(window);
    width = gameWindow->getWindowWidth();
    height = gameWindow->getWindowHeight();
    windowed = !(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN);
    systemPointerHidden = SDL_ShowCursor(SDL_QUERY) == SDL_DISABLE;
    enginePointer = KInput::surf_mouse != nullptr;
    shown = game.capture();
    game.setInput(Input::closing());
  };
  EXPECT_EQ(game.runMain(), 0);
  EXPECT_FALSE(game.ranAway());
  EXPECT_EQ(title, "Zyphora");
  EXPECT_EQ(width, 480);
  EXPECT_EQ(height, 480);
  EXPECT_TRUE(windowed);
  EXPECT_TRUE(systemPointerHidden);
  EXPECT_TRUE(enginePointer);
  // The arrow's tip at the mouse: white outline, black inside.
  ASSERT_EQ(shown.width, 480);
  EXPECT_EQ(shown.at(200, 150) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(shown.at(201, 151) & 0xFFFFFF, 0u);
  EXPECT_EQ(shown.at(202, 151) & 0xFFFFFF, 0xFFFFFFu);
  // Shut down: the window is gone and the system pointer is as it was.
  EXPECT_EQ(gameWindow, nullptr);
  EXPECT_EQ(pointerCounter(), counterBefore);
}

// Runs the game and checks the script ended it.
void playChecked(ScriptedGame &game, const std::function<void(unsigned long)> &script) {
  playGame(game, script);
  EXPECT_FALSE(game.ranAway());
}

TEST(GameE2E, FirstFrameShowsTheVeilAt0point9AndTheBannerFadingIn) {
  ScriptedGame game;
  Frame first, later;
  float firstTimer = 0;
  playChecked(game, [&](unsigned long frame) {
    if (frame == 0) {
      first = game.capture();
      firstTimer = gLevelTimer;
    }
    if (frame == 15) later = game.capture();
    if (frame == 20) game.setInput({{VK_ESCAPE}});
  });
  EXPECT_FLOAT_EQ(firstTimer, 100 - 0.05f);
  ASSERT_EQ(first.width, 480);
  // The light blue (0.4, 0.9, 1.0) at 0.9 over the background's tenth.
  for (int y : {100, 240, 400}) {
    EXPECT_GE(first.red(5, y), 91);
    EXPECT_LE(first.red(5, y), 92 + 26);
    EXPECT_GE(first.green(5, y), 205);
    EXPECT_GE(first.blue(5, y), 228);
  }
  // Ten frames later the veil is gone: the corner shows the dim background.
  EXPECT_LT(later.green(5, 100), 150);
  EXPECT_EQ(game.countCalls("snd_welcomegame", DsCall::Play), 1u);
}

TEST(GameE2E, TwoQuickPressesOfPPauseAndResumeWithTheGameFrozen) {
  ScriptedGame game;
  std::vector<float> timers;
  std::vector<Frame> paused;
  playChecked(game, [&](unsigned long frame) {
    timers.push_back(gLevelTimer);
    if (frame == 20) game.setInput({{VK_P}}); // seen at the start of frame 21, released at once
    if (frame == 25 || frame == 26) paused.push_back(game.capture());
    if (frame == 40) game.setInput({{VK_P}}); // ends the pause
    if (frame == 60) game.setInput({{VK_ESCAPE}});
  });
  ASSERT_GT(timers.size(), 60u);
  // Frames 21 to 40 are pause frames: nothing of the game moves.
  for (size_t f = 21; f <= 40; f++) EXPECT_FLOAT_EQ(timers[f], timers[20]) << f;
  // Play resumes after the second press.
  EXPECT_LT(timers[45], timers[20]);
  EXPECT_FLOAT_EQ(timers[41], timers[20] - 0.05f);
  // The frozen picture is the same from one pause frame to the next (no label before 31).
  ASSERT_EQ(paused.size(), 2u);
  EXPECT_EQ(paused[0].pixels, paused[1].pixels);
}

TEST(GameE2E, EscapeLeavesAtOnceWithoutAnEntry) {
  ScriptedGame game;
  const int32_t before = preferences.highscore[0];
  lastHighscore = -1;
  unsigned long lastFrame = 0;
  playChecked(game, [&](unsigned long frame) {
    lastFrame = frame;
    if (frame == 30) {
      gScore = 999999; // would top the table
      game.setInput({{VK_ESCAPE}});
    }
  });
  EXPECT_EQ(lastFrame, 30u); // the next frame leaves before its flip
  EXPECT_EQ(lastHighscore, -1);
  EXPECT_EQ(preferences.highscore[0], before);
}

TEST(GameE2E, ClosingTheWindowLeavesWithoutAnEntry) {
  ScriptedGame game;
  const int32_t before = preferences.highscore[0];
  lastHighscore = -1;
  unsigned long lastFrame = 0;
  playChecked(game, [&](unsigned long frame) {
    lastFrame = frame;
    if (frame == 30) {
      gScore = 999999;
      game.setInput(Input::closing());
    }
  });
  EXPECT_LE(lastFrame, 31u);
  EXPECT_EQ(lastHighscore, -1);
  EXPECT_EQ(preferences.highscore[0], before);
}

TEST(GameE2E, AScriptedPlayerFlysFiresAndReachesGameOverAndTheTable) {
  ScriptedGame game;
  lastHighscore = -1;
  float shipXAt100 = 0;
  unsigned long shieldGone = NEVER, lastFrame = 0;
  playChecked(game, [&](unsigned long frame) {
    lastFrame = frame;
    if (frame == 10) game.setInput({{VK_RIGHT, VK_UP, VK_SPACE}});
    if (frame == 100) {
      shipXAt100 = myShip.x;
      game.setInput({{VK_LEFT, VK_LCONTROL}});
    }
    if (frame == 300) {
      // The last hit: the shield is gone, with a score that enters the table.
      gScore = 987654;
      myShip.shield = 0;
      shieldGone = frame;
      game.setInput({});
    }
  });
  EXPECT_GT(shipXAt100, 225 + 2 * 80);
  // Held fire: a shot every 16 frames.
  const size_t shots = game.countCalls("snd_shipshot", DsCall::Play);
  EXPECT_GE(shots, 280u / 16 - 1);
  EXPECT_LE(shots, 290u / 16 + 2);
  // About 100 frames for the picture to settle, 400 for the clock: then the entry.
  ASSERT_NE(shieldGone, NEVER);
  EXPECT_GE(lastFrame - shieldGone, 495u);
  EXPECT_LE(lastFrame - shieldGone, 505u);
  EXPECT_EQ(lastHighscore, 0);
  EXPECT_EQ(preferences.highscore[0], 987654);
}

TEST(GameE2E, ReturnOnTheMenuStartsAGameAndEscapeComesBack) {
  ScriptedGame game;
  unsigned long returnAt = NEVER, escapeAt = NEVER;
  game.onFrame = [&](unsigned long frame) {
    if (frame == 120) {
      returnAt = frame;
      game.setInput({{VK_RETURN}});
    }
    if (frame == 122) game.setInput({});
    unsigned long started = game.firstFrame("snd_welcomegame", DsCall::Play);
    if (escapeAt == NEVER && started != NEVER && frame >= started + 30) {
      escapeAt = frame;
      game.setInput({{VK_ESCAPE}});
    }
    if (escapeAt != NEVER && frame == escapeAt + 2) game.setInput({});
    if (escapeAt != NEVER && frame == escapeAt + 60) game.setInput(Input::closing());
  };
  EXPECT_EQ(game.runMain(), 0);
  EXPECT_FALSE(game.ranAway());
  const unsigned long started = game.firstFrame("snd_welcomegame", DsCall::Play);
  ASSERT_NE(started, NEVER);
  EXPECT_GE(started, returnAt + 40); // after the menu's fade
  ASSERT_NE(escapeAt, NEVER);
  EXPECT_FALSE(game.readPrefsFile().empty()); // the menu wrote the preferences at the end
}

} // namespace
