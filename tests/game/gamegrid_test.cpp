// The background mesh: rest positions, the light around the ship, shaking, the cell-by-cell
// background change and the 240 drawn cells.
#include <gtest/gtest.h>

#include <cmath>

#include "game.h"
#include "game_links.h"
#include "random.h"
#include "recording_graphic.h"
#include "zyphora.h"

namespace {

const sGameGridPoint &point(int r, int c) { return gameGridForDeform[r * 16 + c]; }

struct GameGrid : ::testing::Test {
  RecordingGraphic back0, back1;
  void SetUp() override {
    myShip = sShip{};
    myShip.shield = 10;
    gCurrentBackground = 0;
    surf_backgrounds[0] = &back0;
    surf_backgrounds[1] = &back1;
    initGameGrid();
    resetSoundPlays();
  }
  void TearDown() override { surf_backgrounds[0] = surf_backgrounds[1] = nullptr; }
  // Puts the ship's light centre on mesh point (r, c).
  void lightOn(int r, int c) {
    myShip.x = 32.0f * c - 16;
    myShip.y = 32.0f * r - 16;
  }
};

TEST_F(GameGrid, StartsAtRestOnBackground0) {
  float phase = 0;
  for (int r = 0; r < 17; r++) {
    phase += 0.095f;
    for (int c = 0; c < 16; c++) {
      const sGameGridPoint &p = point(r, c);
      EXPECT_EQ(p.x, 32.0f * c);
      EXPECT_EQ(p.sx, p.x);
      EXPECT_EQ(p.dx, p.x);
      EXPECT_EQ(p.y, 32.0f * r);
      EXPECT_EQ(p.sy, p.y);
      EXPECT_EQ(p.dy, p.y);
      EXPECT_EQ(p.cospower, phase);
      EXPECT_EQ(p.gridType, 0);
      EXPECT_EQ(p.fixed, c == 0 || c == 15 || r == 0 || r >= 15) << r << "," << c;
    }
  }
  EXPECT_NEAR(point(16, 0).cospower, 0.095 * 17, 1e-5);
}

TEST_F(GameGrid, FullLightAtTheShipAndTheFloorFrom155Pixels) {
  lightOn(8, 8);
  updateGameGrid();
  EXPECT_EQ(point(8, 8).light, 1.0f);
  EXPECT_NEAR(point(8, 9).light, 1 - 1024.0 / 40000, 1e-6);
  EXPECT_NEAR(point(11, 11).light, 1 - 18432.0 / 40000, 1e-6); // about 136 px
  EXPECT_EQ(point(8, 13).light, 0.4f);                         // 160 px
  EXPECT_EQ(point(0, 0).light, 0.4f);

  // 155 px exactly: 1 - 24025 / 40000 is just under the floor.
  myShip.x = 155 - 16;
  myShip.y = -16;
  updateGameGrid();
  EXPECT_EQ(point(0, 0).light, 0.4f);
}

TEST_F(GameGrid, TheLightStaysWhereTheShipWasDestroyed) {
  lightOn(4, 4);
  myShip.shield = 0;
  updateGameGrid();
  EXPECT_EQ(point(4, 4).light, 1.0f);
}

TEST_F(GameGrid, AHitShakesTheInteriorForTenFrames) {
  myShip.hit = 1.0f;
  updateGameGrid();
  EXPECT_FLOAT_EQ(myShip.hit, 0.9f);
  const sGameGridPoint &p = point(5, 5);
  float phase = 0.095f * 6 + 0.05f;
  EXPECT_FLOAT_EQ(p.cospower, phase);
  EXPECT_FLOAT_EQ(p.sx, (float)(160 + (double)(0.9f * 10) * std::cos((double)(4 * phase))));
  EXPECT_FLOAT_EQ(p.sy, (float)(160 + (double)(0.9f * 10) * std::sin((double)(3 * phase))));

  // Rows 0, 15 and 16 and columns 0 and 15 never move.
  for (int c = 0; c < 16; c++) {
    EXPECT_EQ(point(0, c).sy, 0);
    EXPECT_EQ(point(15, c).sy, 480);
    EXPECT_EQ(point(16, c).sx, 32.0f * c);
  }
  for (int r = 0; r < 17; r++) {
    EXPECT_EQ(point(r, 0).sx, 0);
    EXPECT_EQ(point(r, 15).sx, 480);
  }

  int shakingFrames = 1;
  for (int f = 0; f < 20; f++) {
    float before = point(5, 5).cospower;
    updateGameGrid();
    shakingFrames += point(5, 5).cospower != before;
  }
  EXPECT_EQ(shakingFrames, 9); // hit 0.9 .. 0.1 above 0; the tenth decrement reaches ~0
  // The points keep their last offset (about one pixel) after the shaking.
  EXPECT_NE(point(5, 5).sx, 160);
  EXPECT_NEAR(point(5, 5).sx, 160, 1.5);
}

TEST_F(GameGrid, ABackgroundChangeSwitchesEveryCellOnceWithItsSound) {
  gameSrand(1234);
  gCurrentBackground = 1;
  updateGameGrid();
  int switched = 0;
  for (int i = 0; i < 272; i++) switched += gameGridForDeform[i].gridType == 1;
  EXPECT_GT(switched, 0);
  EXPECT_LT(switched, 40); // one chance in 25 per point and frame
  EXPECT_EQ(soundPlays(snd_changeBackground), switched);
  for (int f = 0; f < 600; f++) updateGameGrid();
  for (int i = 0; i < 272; i++) EXPECT_EQ(gameGridForDeform[i].gridType, 1);
  EXPECT_EQ(soundPlays(snd_changeBackground), 272);
}

TEST_F(GameGrid, Draws240CellsEachTintedByItsTopLeftPoint) {
  lightOn(3, 3);
  gameGridForDeform[2 * 16 + 4].gridType = 1; // one cell already on the other picture
  displayGameGrid();
  auto quads0 = back0.callsNamed("blitArbitraryQuad");
  auto quads1 = back1.callsNamed("blitArbitraryQuad");
  EXPECT_EQ(quads0.size(), 239u);
  ASSERT_EQ(quads1.size(), 1u);
  EXPECT_EQ(quads1[0].args, (std::vector<float>{128, 64, 128, 96, 160, 96, 160, 64, 128, 64, 128,
                                                96, 160, 96, 160, 64}));

  // Every quad comes right after the tint of its cell; the last picture used is untinted.
  ASSERT_EQ(back0.calls.size(), 239u * 2 + 1);
  const size_t lit = 2 * (3 * 15 + 3 - 1); // cell (3, 3); cell (2, 4) went to the other picture
  EXPECT_EQ(back0.calls[lit].name, "setBlitColor");
  EXPECT_EQ(back0.calls[lit].args, (std::vector<float>{1, 1, 1, 1}));
  EXPECT_EQ(back0.calls[lit + 1].args[8], 96);
  EXPECT_EQ(back0.calls.back().name, "setBlitColor");
  EXPECT_EQ(back0.calls.back().args, (std::vector<float>{1, 1, 1, 1}));
  const float corner = (float)(1 - 18432.0 / 40000); // cell (0, 0), 96 px away on both axes
  EXPECT_EQ(back0.calls[0].args, (std::vector<float>{corner, corner, corner, 1}));
  const auto &last = back0.calls[back0.calls.size() - 2];
  EXPECT_EQ(last.args[8], 448); // cell (15, 14) reaches below the screen
  EXPECT_EQ(last.args[11], 512);
}

} // namespace
