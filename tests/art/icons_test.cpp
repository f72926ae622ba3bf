// The desktop's icons under dist/icons: each drawn at its own size, not blown up from a small one.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "picture.h"

namespace {
std::string iconPath(int size) {
  std::string folder = std::to_string(size) + "x" + std::to_string(size);
  return std::string(ZYPHORA_ICON_DIR) + "/hicolor/" + folder + "/apps/zyphora.png";
}

// Pixels neither clear nor opaque from the left edge of the middle row to the disc's inside.
int softEdgeOfTheDisc(const Picture &p) {
  int y = p.h / 2, n = 0;
  for (int x = 0; x < p.w / 4; ++x) n += p.alpha(x, y) > 0 && p.alpha(x, y) < 255;
  return n;
}
} // namespace

TEST(DesktopIcons, EachSizeIsADiscWithTheShipOnClearCorners) {
  for (int size : {32, 48, 128, 256}) {
    SCOPED_TRACE(size);
    Picture p(iconPath(size));
    ASSERT_TRUE(p.loaded());
    EXPECT_EQ(p.w, size);
    EXPECT_EQ(p.h, size);
    EXPECT_EQ(p.alpha(0, 0), 0);
    EXPECT_EQ(p.alpha(size - 1, size - 1), 0);
    EXPECT_EQ(p.alpha(size / 2, size / 2), 255);
    // The silver hull runs down the middle: bright against the dark violet disc.
    float brightest = 0;
    for (int y = size / 4; y < size * 3 / 4; ++y)
      brightest = std::max(brightest, p.light(size / 2, y));
    EXPECT_GT(brightest, 2.2f);
    EXPECT_LT(p.light(size / 2, size * 6 / 64), 1.f) << "the disc is dark above the ship's nose";
  }
}

TEST(DesktopIcons, TheDiscsEdgeIsOnePixelSoftAtEverySize) {
  // Drawn at its size, the edge's anti-aliasing spans a pixel or two; a 64-pixel icon blown up
  // four times would smear it over several.
  for (int size : {32, 48, 128, 256}) {
    SCOPED_TRACE(size);
    Picture p(iconPath(size));
    ASSERT_TRUE(p.loaded());
    EXPECT_GE(softEdgeOfTheDisc(p), 1) << "the edge is anti-aliased";
    EXPECT_LE(softEdgeOfTheDisc(p), 2);
  }
}
