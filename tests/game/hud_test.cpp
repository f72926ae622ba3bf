// The score digits, the level banner and the gauges.
#include <gtest/gtest.h>

#include "game.h"
#include "recording_graphic.h"

namespace {

TEST(Score, ZeroIsOneDigitCentred) {
  RecordingGraphic sheet;
  displayScore(0, &sheet);
  auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(getScoreWidth(0), 11);
  EXPECT_EQ(blits[0].args, (std::vector<float>{0, 255, 12, 273, 234, 0, 0, 1, 0.5f, 0, 0}));
}

TEST(Score, DigitsOverlapByOnePixel) {
  RecordingGraphic sheet;
  EXPECT_EQ(getScoreWidth(105), 6 + 11 + 11);
  displayScore(105, &sheet);
  auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), 3u);
  const float pen = (480 - 28) / 2;
  EXPECT_EQ(blits[0].args[4], pen);
  EXPECT_EQ(blits[1].args[4], pen + 6);
  EXPECT_EQ(blits[2].args[4], pen + 17);
  EXPECT_EQ(blits[2].args[0], 64); // '5'
}

TEST(Score, AMinusSignIsSkippedAndOddWidthsTruncate) {
  RecordingGraphic sheet;
  EXPECT_EQ(getNumberIndex('-'), -1);
  EXPECT_EQ(getNumberIndex('9'), 9);
  EXPECT_EQ(getScoreWidth(-1), 6);
  displayValue(-1, &sheet, 250, 0.3f);
  auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].args, (std::vector<float>{13, 255, 20, 273, 237, 250, 0, 1, 0.3f, 0, 0}));
}

TEST(LevelBanner, FirstFrameIsAlmostTransparentAndPeaksAfter50Frames) {
  EXPECT_NEAR(levelBannerFade(100 - 0.05f), 0.02, 1e-4);
  float timer = 100;
  for (int f = 0; f < 50; f++) timer -= 0.05f;
  EXPECT_NEAR(levelBannerFade(timer), 1.0, 1e-3);

  gLevel = 3;
  RecordingGraphic sheet;
  displayLevelNumber(&sheet, 99.95f);
  auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), 2u); // the banner, then the level digit
  EXPECT_EQ(blits[0].args[0], 84);
  EXPECT_EQ(blits[0].args[4], 211);
  EXPECT_NEAR(blits[0].args[8], 0.02, 1e-4);
  EXPECT_EQ(blits[1].args[0], 36); // '3'
  EXPECT_EQ(blits[1].args[5], 250);

  sheet.clear();
  displayLevelNumber(&sheet, 94.99f);
  EXPECT_TRUE(sheet.calls.empty());
}

TEST(Gauges, OnePipPerShieldPointAndTheTimeBar) {
  RecordingGraphic sheet;
  myShip.shield = 3;
  gLevelTimer = 50;
  displayInterface(&sheet);
  auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), 6u);
  EXPECT_EQ(blits[0].args, (std::vector<float>{0, 278, 64, 301, 353, 456, 0, 1, 0.6f, 0, 0}));
  EXPECT_EQ(blits[1].args[4], 415);
  EXPECT_EQ(blits[2].args[4], 421);
  EXPECT_EQ(blits[3].args[4], 427);
  EXPECT_EQ(blits[4].args, (std::vector<float>{0, 304, 164, 315, 0, 468, 0, 1, 0.6f, 0, 0}));
  EXPECT_EQ(blits[5].args, (std::vector<float>{0, 319, 82, 325, 0, 470, 0, 1, 0.6f, 0, 0}));

  sheet.clear();
  myShip.shield = 0;
  displayInterface(&sheet);
  EXPECT_EQ(sheet.callsNamed("blitAlphaRectFx").size(), 3u); // the frames and the bar, no pip
  displayInterface(nullptr);                                 // no picture, nothing drawn
}

} // namespace
