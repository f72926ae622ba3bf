// The engine's pointer on the real menu and game: drawn while the mouse moves, resting after
// two seconds without motion, shown again on motion and all the while on the options panel,
// and never over the playfield.
#include <gtest/gtest.h>

#include "ScriptedGame.h"

namespace {

// Where the menu shows its sheet unchanged (right of the mesh, between title and items).
const int STILL_X = 440, STILL_Y = 200;
const unsigned long REST_FRAMES = 2000 / 16 + 2; // two seconds of 16 ms frames, and a little

// The arrow's tip at (x, y): white outline, black inside.
bool arrowAt(const Frame &frame, int x, int y) {
  return (frame.at(x, y) & 0xFFFFFF) == 0xFFFFFF && (frame.at(x + 1, y + 1) & 0xFFFFFF) == 0 &&
         (frame.at(x + 2, y + 1) & 0xFFFFFF) == 0xFFFFFF &&
         (frame.at(x + 1, y + 8) & 0xFFFFFF) == 0;
}

// Pixels of the 16 x 16 square at (x, y) that differ from the menu sheet there.
int differingFromSheet(const Frame &frame, const Frame &sheet, int x, int y) {
  int differing = 0;
  for (int v = y; v < y + 16; v++)
    for (int u = x; u < x + 16; u++)
      differing += (frame.at(u, v) & 0xFFFFFF) != (sheet.at(u, v) & 0xFFFFFF);
  return differing;
}

TEST(PointerRest, RestsAfterTwoSecondsAndComesBackOnMotion) {
  const Frame sheet = readPicture("data/menu.tga");
  ASSERT_EQ(1024, sheet.width);
  ScriptedGame game;
  Frame moving, resting, moved;
  const unsigned long rest = 3 + REST_FRAMES;
  game.onFrame = [&](unsigned long f) {
    if (f == 1) game.setInput(Input::pointer(STILL_X, STILL_Y, false));
    if (f == 3) moving = game.capture();
    if (f == rest) resting = game.capture();
    if (f == rest + 1) game.setInput(Input::pointer(STILL_X + 1, STILL_Y, false));
    if (f == rest + 3) moved = game.capture();
    if (f == rest + 4) game.setInput(Input::closing());
  };
  ASSERT_EQ(0, game.runMain());
  ASSERT_EQ(480, moving.width);
  EXPECT_TRUE(arrowAt(moving, STILL_X, STILL_Y));
  EXPECT_FALSE(arrowAt(resting, STILL_X, STILL_Y));
  EXPECT_EQ(0, differingFromSheet(resting, sheet, STILL_X, STILL_Y));
  EXPECT_TRUE(arrowAt(moved, STILL_X + 1, STILL_Y));
}

TEST(PointerRest, TheOptionsPanelKeepsItAndPlayHidesIt) {
  ScriptedGame game;
  Frame options, playing;
  const unsigned long panelShown = 40 + REST_FRAMES;
  game.onFrame = [&](unsigned long f) {
    if (f == 30) game.setInput({{VK_DOWN}}); // the options panel
    if (f == 31) game.setInput(Input::pointer(STILL_X, STILL_Y, false));
    if (f == panelShown) options = game.capture();
    if (f == panelShown + 1) game.setInput({{VK_UP}, STILL_X, STILL_Y}); // back to play ...
    if (f == panelShown + 2) game.setInput(Input::pointer(STILL_X, STILL_Y, false));
    if (f == panelShown + 3) game.setInput({{VK_RETURN}, STILL_X, STILL_Y}); // ... and start it
    if (f == panelShown + 4) game.setInput(Input::pointer(STILL_X, STILL_Y, false));
    // In the game, the mouse keeps moving.
    if (f > panelShown + 60) game.setInput(Input::pointer(200 + int(f % 50), 200, false));
    if (f == panelShown + 80) playing = game.capture();
    if (f == panelShown + 81) game.setInput({{VK_ESCAPE}});
    if (f == panelShown + 83) game.setInput(Input::closing());
  };
  ASSERT_EQ(0, game.runMain());
  ASSERT_EQ(480, options.width);
  EXPECT_TRUE(arrowAt(options, STILL_X, STILL_Y));
  ASSERT_EQ(480, playing.width);
  EXPECT_FALSE(arrowAt(playing, 200 + int((panelShown + 79) % 50), 200));
  EXPECT_FALSE(arrowAt(playing, 200 + int((panelShown + 80) % 50), 200));
}

} // namespace
