// A whole game through the real window, input, clock and sound, headless: the first frame, the
// pause, Escape, closing the window, game over with its high-score entry, and a game started
// from the title menu.
#include <gtest/gtest.h>

#include "KWindow.h"
#include "ScriptedGame.h"
#include "state.h"
#include "zyphora.h"

namespace {

const unsigned long NEVER = ~0ul;

// Runs doGame in the entry's window; `script` sees every frame of the game, 0 first. The window
// shows one frame before the game, as the menu's would (the device draws from its first flip on).
void playGame(ScriptedGame &game, const std::function<void(unsigned long)> &script) {
  game.onFrame = [&](unsigned long frame) {
    if (frame > 0) script(frame - 1);
  };
  game.runWithWindow([] {
    gameWindow->flipBackBuffer(true, true);
    doGame();
  });
  EXPECT_FALSE(game.ranAway());
}

TEST(GameE2E, FirstFrameShowsTheVeilAt0point9AndTheBannerFadingIn) {
  ScriptedGame game;
  Frame first, later;
  float firstTimer = 0;
  playGame(game, [&](unsigned long frame) {
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
  playGame(game, [&](unsigned long frame) {
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
  playGame(game, [&](unsigned long frame) {
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
  playGame(game, [&](unsigned long frame) {
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
  playGame(game, [&](unsigned long frame) {
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
