// The entry sequence when the game's window cannot open: the OpenGL window asked for on SDL's
// dummy video driver, which has no OpenGL. The player is told why, and the program ends with a
// failure instead of playing on a window that is not there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "KSound.h"
#include "ScriptedGame.h"
#include "launch.h"
#include "zyphora.h"

namespace {

const std::vector<std::string> openGLMissingBoxes = {
    "Could not initialize openGL: Please install your video drivers",
    "Could not select fixel format: OpenGl error : video drivers probably missing.",
};

} // namespace

TEST(EntryWithoutWindow, TheEntrySequenceTellsWhyAndFails) {
  ScriptedGame game;
  EXPECT_EQ(1, game.runMain());
  EXPECT_EQ(openGLMissingBoxes, game.messageBoxes());
  EXPECT_EQ(0u, game.frames());   // nothing drawn
  EXPECT_EQ(nullptr, gameWindow); // the window object is gone
  EXPECT_EQ(nullptr, snd_music);  // no sound loaded for a game that does not run
  EXPECT_TRUE(game.sounds().empty());
}

TEST(EntryWithoutWindow, TheProgramEndsWithStatusOne) {
  ScriptedGame game;
  char name[] = "zyphora", renderer[] = "--renderer=opengl";
  char *argv[] = {name, renderer, nullptr};
  EXPECT_EQ(1, launchZyphora(2, argv));
  EXPECT_EQ(openGLMissingBoxes, game.messageBoxes());
  EXPECT_EQ(0u, game.frames());
}

// A window the video driver refuses (here: a driver that does not exist) is told, not left to a
// silent failure.
TEST(EntryWithoutWindow, AWindowTheDriverRefusesIsTold) {
  ScriptedGame game;
  setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
  int status = game.runMain();
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  EXPECT_EQ(1, status);
  ASSERT_EQ(1u, game.messageBoxes().size());
  EXPECT_EQ(0u, game.messageBoxes()[0].find("Zyphora: Zyphora could not open its window ("))
      << game.messageBoxes()[0];
  EXPECT_EQ(0u, game.frames());
}
