// The rippling mesh behind the title.
#include <gtest/gtest.h>

#include <cmath>

#include "menu.h"
#include "recording_graphic.h"

namespace {
const sGridPoint &pointAt(int r, int c) { return gridForDeform[r * GRID_COLUMNS + c]; }
} // namespace

TEST(MenuGrid, AtRestTheMeshReproducesThePicture) {
  initGrid();
  for (int r = 0; r < GRID_ROWS; r++) {
    for (int c = 0; c < GRID_COLUMNS; c++) {
      const sGridPoint &p = pointAt(r, c);
      EXPECT_EQ(60.0f * c, p.x);
      EXPECT_EQ(15.0f * r, p.y);
      EXPECT_EQ(p.x, p.sx);
      EXPECT_EQ(p.y, p.sy);
      EXPECT_EQ(p.x, p.dx);
      EXPECT_EQ(p.y, p.dy);
      EXPECT_EQ(c == 0 || c == 7 || r == 0 || r >= 31, p.fixed) << r << "," << c;
    }
  }
  EXPECT_FLOAT_EQ(0.05f, pointAt(0, 3).cospower); // each row's phase is 0.05 more
  EXPECT_FLOAT_EQ(1.65f, pointAt(32, 3).cospower);
}

TEST(MenuGrid, DrawsTheMeshAs224QuadsInRowOrder) {
  initGrid();
  RecordingGraphic g;
  displayGrid(&g);
  const auto quads = g.callsNamed("blitArbitraryQuad");
  ASSERT_EQ(224u, quads.size());
  // The first quad: corners (0,0), (1,0), (1,1), (0,1); screen corners on the 60 x 15 lattice.
  EXPECT_EQ((std::vector<float>{0, 0, 0, 15, 60, 15, 60, 0}),
            std::vector<float>(quads[0].args.begin() + 8, quads[0].args.end()));
  // Row 31, column 6: the last quad, from (31,6) to (32,7).
  EXPECT_EQ((std::vector<float>{360, 465, 360, 480, 420, 480, 420, 465}),
            std::vector<float>(quads[223].args.begin() + 8, quads[223].args.end()));
  EXPECT_EQ(60, quads[1].args[8]); // row order: the second quad is the next column
}

TEST(MenuGrid, InteriorPointsRippleWithinTheirBoundsAndTheBorderNeverMoves) {
  initGrid();
  RecordingGraphic g;
  float maxDx = 0, maxDy = 0;
  for (int frame = 0; frame < 1300; frame++) {
    displayGrid(&g);
    g.clear();
    for (int r = 0; r < GRID_ROWS; r++) {
      for (int c = 0; c < GRID_COLUMNS; c++) {
        const sGridPoint &p = pointAt(r, c);
        ASSERT_EQ(60.0f * c, p.dx);
        ASSERT_EQ(15.0f * r, p.dy);
        if (p.fixed) {
          ASSERT_EQ(p.x, p.sx);
          ASSERT_EQ(p.y, p.sy);
          continue;
        }
        maxDx = std::max(maxDx, std::fabs(p.sx - p.x));
        maxDy = std::max(maxDy, std::fabs(p.sy - p.y));
      }
    }
  }
  EXPECT_LE(maxDx, 6.0f);
  EXPECT_LE(maxDy, 8.0f);
  EXPECT_GT(maxDx, 5.9f); // they do move the whole way
  EXPECT_GT(maxDy, 7.9f);
}

TEST(MenuGrid, OnePointFollowsItsPhase) {
  initGrid();
  RecordingGraphic g;
  displayGrid(&g);
  const sGridPoint &p = pointAt(4, 2); // phase 0.25, then 0.255
  const float phase = 0.25f + 0.005;
  EXPECT_FLOAT_EQ(phase, p.cospower);
  EXPECT_FLOAT_EQ(120 + 6 * std::cos(phase), p.sx);
  EXPECT_FLOAT_EQ(60 + 8 * std::sin(4 * phase), p.sy);
}

TEST(MenuGrid, ThePhaseWrapsAfter628) {
  initGrid();
  RecordingGraphic g;
  sGridPoint &p = gridForDeform[10 * GRID_COLUMNS + 3];
  p.cospower = 6.279f;
  displayGrid(&g);
  EXPECT_EQ(0.0f, p.cospower);
  EXPECT_FLOAT_EQ(180 + 6.0f, p.sx);
}
