// F12 in the running game, through the scripted runner: in the menu, in a game and during a
// pause the frame on screen is saved, pixel for pixel, and its path printed.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ScriptedGame.h"
#include "state.h"
#include "temp_home.h"

namespace {

// Presses a key on `frame` and lets it go on the next one.
void tap(ScriptedGame &game, unsigned long now, unsigned long frame, int key) {
  if (now == frame) game.setInput({{key}});
  if (now == frame + 1) game.setInput({});
}

std::vector<std::string> lines(const std::string &text) {
  std::vector<std::string> all;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) all.push_back(line);
  return all;
}

// Frames the same size whose colours agree everywhere (alpha aside: the file may carry none).
::testing::AssertionResult sameColours(const Frame &saved, const Frame &shown) {
  if (saved.width != shown.width || saved.height != shown.height)
    return ::testing::AssertionFailure() << saved.width << "x" << saved.height << " saved, "
                                         << shown.width << "x" << shown.height << " shown";
  for (size_t i = 0; i < shown.pixels.size(); i++)
    if ((saved.pixels[i] ^ shown.pixels[i]) & 0xFFFFFF)
      return ::testing::AssertionFailure()
             << "pixel " << i % shown.width << "," << i / shown.width << ": " << saved.pixels[i]
             << " saved, " << shown.pixels[i] << " shown";
  return ::testing::AssertionSuccess();
}

} // namespace

TEST(RENDERER_SUITE, TheMenuAGameAndAPauseAreSavedAsShown) {
  ScriptedGame game;
  TempHome home; // after the runner, whose config folder it takes over while it lives
  home.writeUserDirs("XDG_PICTURES_DIR=\"$HOME/Shots\"\n");
  game.maxFrames = 400;
  // F12 is pressed on these frames; the next frame is the one saved.
  const unsigned long inMenu = 5, inGame = 80, inPause = 110;
  std::vector<Frame> shown;
  std::vector<float> levelTimer(200);
  game.onFrame = [&](unsigned long f) {
    if (f < levelTimer.size()) levelTimer[f] = gLevelTimer;
    if (f == inMenu + 1 || f == inGame + 1 || f == inPause + 1) shown.push_back(game.capture());
    tap(game, f, inMenu, VK_F12);
    tap(game, f, 10, VK_RETURN); // the game begins after the menu's fade
    tap(game, f, inGame, VK_F12);
    tap(game, f, 100, VK_P);
    tap(game, f, inPause, VK_F12);
    if (f == 120) game.setInput(Input::closing());
  };
  testing::internal::CaptureStdout();
  EXPECT_EQ(0, game.runMain());
  const std::vector<std::string> printed = lines(testing::internal::GetCapturedStdout());
  ASSERT_FALSE(game.ranAway());
  ASSERT_EQ(std::vector<std::string>{}, game.messageBoxes());
  ASSERT_GT(game.frames(), 120u); // ran until the close

  // Where the script thinks it was: the level clock runs in a game and stands in a pause.
  EXPECT_NE(levelTimer[inGame], levelTimer[inGame + 1]);
  EXPECT_EQ(levelTimer[inPause], levelTimer[inPause + 1]);
  EXPECT_EQ(levelTimer[105], levelTimer[inPause + 1]);

  const std::string folder = home.path() + "/Shots";
  const std::set<std::string> files = TempHome::filesIn(folder);
  ASSERT_EQ(3u, files.size());
  ASSERT_EQ(3u, shown.size());
  std::vector<std::string> paths;
  for (const std::string &name : printed)
    if (name.rfind(folder + "/zyphora-", 0) == 0) paths.push_back(name);
  ASSERT_EQ(3u, paths.size());
  for (size_t i = 0; i < paths.size(); i++) {
    const std::string name = paths[i].substr(folder.size() + 1);
    EXPECT_EQ(1u, files.count(name)) << name;
    const Frame saved = readPicture(paths[i]);
    EXPECT_TRUE(sameColours(saved, shown[i])) << paths[i];
  }
  // The three screens differ: menu, game and pause were each saved, not one frame thrice.
  EXPECT_NE(shown[0].pixels, shown[1].pixels);
  EXPECT_NE(shown[1].pixels, shown[2].pixels);
}
