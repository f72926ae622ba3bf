// The artwork's rectangles are the ones the game cuts: its tables of alien kinds, digit fonts
// and menu items hold the same rectangles as the sheets the generator draws.
#include <gtest/gtest.h>

#include "aliens.h"
#include "menu.h"
#include "menu_controls.h"
#include "sheets/layout.h"

TEST(GameRectangles, AlienKindsCutTheAliensPictures) {
  for (int k = 0; k < ALIEN_KINDS; ++k) {
    SCOPED_TRACE("kind " + std::to_string(k));
    const Rect &art = sprites::kAliens[k];
    const sAlienKind &game = alienKinds[k];
    EXPECT_EQ(game.x1, art.x1);
    EXPECT_EQ(game.y1, art.y1);
    EXPECT_EQ(game.x2, art.x2);
    EXPECT_EQ(game.y2, art.y2);
  }
}

template <typename GameGlyph> void expectSameFont(const GameGlyph (&game)[10], const Glyph *art) {
  for (int i = 0; i < 10; ++i) {
    SCOPED_TRACE(std::string("glyph ") + art[i].letter);
    EXPECT_EQ(game[i].letter, art[i].letter);
    EXPECT_EQ(game[i].x1, art[i].x1);
    EXPECT_EQ(game[i].x2, art[i].x2);
  }
}

TEST(GameRectangles, DigitFontsCutTheSheetsGlyphs) {
  expectSameFont(numbers, sprites::kScoreDigits);
  expectSameFont(anumbers, sprites::kFloatDigits);
}

TEST(GameRectangles, MenuItemsAndTheirHighlightsCutTheSheetsWords) {
  EXPECT_EQ(MENU_HIGHLIGHT_OFFSET, menu::kHighlightShift);
  for (int i = 0; i < MENU_ITEMS; ++i) {
    SCOPED_TRACE("item " + std::to_string(i));
    const Rect &art = menu::kItems[i];
    EXPECT_EQ(menus[i].x1, art.x1);
    EXPECT_EQ(menus[i].y1, art.y1);
    EXPECT_EQ(menus[i].x2, art.x2);
    EXPECT_EQ(menus[i].y2, art.y2);
  }
}

TEST(GameRectangles, ControlsPanelCutsItsLabelsAndKeyFontFromTheSheet) {
  using namespace menu;
  const Rect art[ART_COUNT] = {kLabelControls,    kLabelControlsLit, kActionLabels[0],
                               kActionLabels[1],  kActionLabels[2],  kActionLabels[3],
                               kActionLabels[4],  kActionLabels[5],  kLabelDefaults,
                               kLabelDefaultsLit, kLabelBack,        kLabelBackLit};
  for (int i = 0; i < ART_COUNT; ++i) {
    SCOPED_TRACE("picture " + std::to_string(i));
    EXPECT_EQ(controlsArt[i].x1, art[i].x1);
    EXPECT_EQ(controlsArt[i].y1, art[i].y1);
    EXPECT_EQ(controlsArt[i].x2, art[i].x2);
    EXPECT_EQ(controlsArt[i].y2, art[i].y2);
  }
  EXPECT_EQ(KEY_FONT_TOP, kKeyRowTop);
  EXPECT_EQ(KEY_FONT_BOTTOM, kKeyRowBottom);
  ASSERT_EQ(std::string(KEY_FONT).size(), size_t(kKeyGlyphs));
  for (int i = 0; i < kKeyGlyphs; ++i) {
    SCOPED_TRACE(std::string("glyph ") + kKeyFont[i].letter);
    EXPECT_EQ(KEY_FONT[i], kKeyFont[i].letter);
    EXPECT_EQ(KEY_FONT_CELL * i, kKeyFont[i].x1);
    EXPECT_EQ(KEY_FONT_CELL * (i + 1), kKeyFont[i].x2);
  }
}
