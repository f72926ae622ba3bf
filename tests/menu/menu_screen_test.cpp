// The title screen as a player sees it, compared with the menu sheet it is cut from. Built twice:
// on the software Direct3D device and on OpenGL (the renderer ZYPHORA_RENDERER picks), so the
// menu is checked on whichever renderer the factory gives.
#include <gtest/gtest.h>

#include "ScriptedGame.h"
#include "sheet_compare.h"

namespace {

// The title settled (frame 30) with "play" highlighted, and the options panel (frame 40).
struct Screens {
  Frame title, options;
  int exitCode = -1;
  Screens() {
    ScriptedGame game;
    game.onFrame = [&](unsigned long f) {
      if (f == 30) title = game.capture();
      if (f == 31) game.setInput({{VK_DOWN}});
      if (f == 32) game.setInput(Input::pointer(470, 470, false)); // out of the way
      if (f == 40) options = game.capture();
      if (f == 41) game.setInput(Input::closing());
    };
    exitCode = game.runMain();
  }
};

} // namespace

TEST(RENDERER_SUITE, TheStillBandAndTheItemsShowTheSheet) {
  const Frame sheet = readPicture("data/menu.tga");
  ASSERT_EQ(1024, sheet.width);
  const Screens screens;
  EXPECT_EQ(0, screens.exitCode);
  const Frame &title = screens.title;
  ASSERT_EQ(480, title.width);
  // Right of the mesh, between the title and the items, the background is the sheet itself.
  EXPECT_EQ(0, differingFromSheet(title, sheet, 421, 150, 479, 300, 421, 150));
  // "play" from the highlighted row of the sheet (117 below), the others from the plain one.
  EXPECT_EQ(0, differingFromSheet(title, sheet, 158, 310, 320, 337, 481, 10 + 117));
  EXPECT_EQ(0, differingFromSheet(title, sheet, 158, 340, 320, 366, 481, 40));
  EXPECT_EQ(0, differingFromSheet(title, sheet, 158, 394, 320, 424, 481, 94));
}

TEST(RENDERER_SUITE, TheOptionsPanelLightsEveryBarAndTheHighlightMoves) {
  const Frame sheet = readPicture("data/menu.tga");
  ASSERT_EQ(1024, sheet.width);
  const Screens screens;
  const Frame &options = screens.options;
  ASSERT_EQ(480, options.width);
  for (int i = 0; i < 10; i++) {
    const int x = 115 + 15 * i + 4;
    EXPECT_EQ(0xFFFFFFFFu, options.at(x, 179)) << "effect bar " << i;
    EXPECT_EQ(0xFFFFFFFFu, options.at(x, 221)) << "music bar " << i;
  }
  EXPECT_EQ(0, differingFromSheet(options, sheet, 158, 310, 320, 337, 481, 10)); // play, plain
  EXPECT_EQ(0,
            differingFromSheet(options, sheet, 158, 340, 320, 366, 481, 40 + 117)); // options, lit
}
