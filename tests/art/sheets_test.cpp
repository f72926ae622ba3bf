// The committed sheets hold a picture in every rectangle the game cuts, and nothing around it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "picture.h"

namespace {
struct Named {
  const char *what;
  Rect r;
};

// Every rectangle must hold at least this share of solid pixels, and a clear outer ring.
void expectSprite(const Picture &p, const Named &n, float minShare) {
  SCOPED_TRACE(n.what);
  ASSERT_LE(n.r.x2, p.w);
  ASSERT_LE(n.r.y2, p.h);
  EXPECT_GE(p.opaqueCount(n.r), int(minShare * n.r.w() * n.r.h())) << "too little picture";
  EXPECT_EQ(p.ringAlpha(n.r), 0) << "the picture touches its rectangle's edge";
}

void expectGlyphs(const Picture &p, const Glyph *glyphs, int count, int top, int bottom,
                  int minInk) {
  for (int i = 0; i < count; ++i) {
    const Glyph &g = glyphs[i];
    SCOPED_TRACE(std::string("glyph ") + g.letter);
    Rect r{g.x1, top, g.x2, bottom};
    EXPECT_GE(p.opaqueCount(r), minInk);
    // The last column is shared with (or drawn over by) the next glyph; top and bottom rows stay
    // clear.
    for (int y = top; y < bottom; ++y) EXPECT_EQ(p.alpha(g.x2 - 1, y), 0) << "row " << y;
    for (int x = g.x1; x < g.x2; ++x) {
      EXPECT_EQ(p.alpha(x, top), 0);
      EXPECT_EQ(p.alpha(x, bottom - 1), 0);
    }
  }
}

// Digits stand on one baseline: each one's lowest row more than a quarter inked is the same row.
void expectOneBaseline(const Picture &p, const Glyph *glyphs, int top, int bottom) {
  auto lowestInkedRow = [&](const Glyph &g) {
    for (int y = bottom - 1; y >= top; --y)
      for (int x = g.x1; x < g.x2; ++x)
        if (p.alpha(x, y) > 64) return y;
    return -1;
  };
  const int baseline = lowestInkedRow(glyphs[0]);
  EXPECT_GT(baseline, top);
  for (int i = 1; i < 10; ++i)
    EXPECT_EQ(lowestInkedRow(glyphs[i]), baseline) << "glyph " << glyphs[i].letter;
}
} // namespace

TEST(SpriteSheet, EveryRectangleHoldsItsSprite) {
  Picture p("data/sprites.tga");
  ASSERT_TRUE(p.loaded());
  EXPECT_EQ(p.w, sprites::kSize);
  EXPECT_EQ(p.h, sprites::kSize);
  EXPECT_EQ(p.channels, 4);
  using namespace sprites;
  for (int k = 0; k < 12; ++k) expectSprite(p, {"alien", kAliens[k]}, 0.3f);
  std::vector<Named> small = {
      {"ship", kShip},
      {"ship shot", kShipShot},
      {"exhaust", kExhaust},
      {"alien shot 0", kAlienShots[0]},
      {"alien shot 1", kAlienShots[1]},
      {"alien shot 2", kAlienShots[2]},
      {"bonus fire", kBonuses[0]},
      {"bonus speed", kBonuses[1]},
      {"bonus shield", kBonuses[2]},
      {"bonus bomb", kBonuses[3]},
      {"bomb flash", kBombFlash},
      {"shield frame", kShieldFrame},
      {"shield pip", kShieldPip},
      {"time frame", kTimeFrame},
      {"time bar", kTimeBar},
  };
  for (const Named &n : small) expectSprite(p, n, 0.08f);
  std::vector<Named> words = {
      {"FIRE POWER", kLabelFirePower}, {"SPEED", kLabelSpeed},
      {"SHIELD", kLabelShield},        {"LEVEL", kLevel},
      {"GAME OVER", kGameOver},        {"PAUSE", kPause},
  };
  for (const Named &n : words) expectSprite(p, n, 0.05f);
}

TEST(SpriteSheet, DigitsStayInsideTheirStrips) {
  Picture p("data/sprites.tga");
  ASSERT_TRUE(p.loaded());
  using namespace sprites;
  expectGlyphs(p, kScoreDigits, 10, kScoreRowTop, kScoreRowBottom, 15);
  expectGlyphs(p, kFloatDigits, 10, kFloatRowTop, kFloatRowBottom, 6);
  // Score digits are drawn overlapping by one pixel, so their first column stays clear too.
  for (const Glyph &g : kScoreDigits)
    for (int y = kScoreRowTop; y < kScoreRowBottom; ++y) EXPECT_EQ(p.alpha(g.x1, y), 0) << g.letter;
  expectOneBaseline(p, kScoreDigits, kScoreRowTop, kScoreRowBottom);
  expectOneBaseline(p, kFloatDigits, kFloatRowTop, kFloatRowBottom);
}

TEST(SpriteSheet, AliensShineWhenAddedAndColourTheirParticles) {
  Picture p("data/sprites.tga");
  ASSERT_TRUE(p.loaded());
  for (int k = 0; k < 12; ++k) {
    Rect r = sprites::kAliens[k];
    float total = 0, patch = 0;
    for (int y = r.y1; y < r.y2; ++y)
      for (int x = r.x1; x < r.x2; ++x) total += p.light(x, y);
    for (int y = 0; y < sprites::kParticleSize; ++y)
      for (int x = 0; x < sprites::kParticleSize; ++x)
        patch += p.light(r.x1 + sprites::kParticleOffset + x, r.y1 + sprites::kParticleOffset + y);
    EXPECT_GT(total / (r.w() * r.h()), 0.4f) << "kind " << k << " is too dark to show when added";
    EXPECT_GT(patch / 9, 0.5f) << "kind " << k << " throws dark particles";
  }
}

TEST(SpriteSheet, ShipPointsUp) {
  Picture p("data/sprites.tga");
  ASSERT_TRUE(p.loaded());
  Rect s = sprites::kShip;
  // The top quarter is a narrow nose, the bottom half spreads into wings.
  auto width = [&](int y) {
    int n = 0;
    for (int x = s.x1; x < s.x2; ++x) n += p.alpha(x, y) >= 128;
    return n;
  };
  EXPECT_LT(width(s.y1 + s.h() / 6), 8);
  EXPECT_GT(width(s.y1 + s.h() * 3 / 4), 24);
}

TEST(MenuSheet, EveryRectangleHoldsItsPicture) {
  Picture p("data/menu.tga");
  ASSERT_TRUE(p.loaded());
  EXPECT_EQ(p.w, menu::kSize);
  EXPECT_EQ(p.h, menu::kSize);
  EXPECT_EQ(p.channels, 4);
  using namespace menu;
  EXPECT_EQ(p.opaqueCount(kBackground, 255), kBackground.w() * kBackground.h())
      << "the title background is solid";
  // The title's two strips each hold part of it; together they keep a clear edge.
  EXPECT_GT(p.opaqueCount(kTitleTop), 4000);
  EXPECT_GT(p.opaqueCount(kTitleBottom), 1000);
  EXPECT_EQ(p.ringAlpha({kTitleTop.x1, kTitleTop.y1, kTitleBottom.x2, kTitleBottom.y2}), 0);
  for (int i = 0; i < 4; ++i) {
    for (int lit = 0; lit < 2; ++lit) {
      SCOPED_TRACE("item " + std::to_string(i) + (lit ? " highlighted" : ""));
      int shift = lit * kHighlightShift;
      Rect r{kItems[i].x1, kItems[i].y1 + shift, kItems[i].x2, kItems[i].y2 + shift};
      EXPECT_GT(p.opaqueCount(r), 100);
      EXPECT_EQ(p.alphaOutsideRows(r, kItemInk[i].y1 + shift, kItemInk[i].y2 + shift), 0)
          << "the word spills into a neighbour's rows";
      // Neighbouring items overlap: this word's rows must be clear in the other strips.
      for (int j = 0; j < 4; ++j)
        if (j != i) {
          Rect other{kItems[j].x1, kItems[j].y1 + shift, kItems[j].x2, kItems[j].y2 + shift};
          EXPECT_EQ(p.alphaOutsideRows(other, kItemInk[j].y1 + shift, kItemInk[j].y2 + shift), 0);
        }
    }
  }
  for (Rect r : {kLabelEffects, kLabelMusic, kLabelReset, kLabelResetLit, kBottomLine, kPointer}) {
    SCOPED_TRACE(std::to_string(r.x1) + "," + std::to_string(r.y1));
    EXPECT_GT(p.opaqueCount(r), 60);
    EXPECT_EQ(p.ringAlpha(r), 0);
  }
  expectGlyphs(p, kScoreFont, 10, kScoreRowTop, kScoreRowBottom, 20);
  expectGlyphs(p, kScoreFont + 10, 1, kScoreRowTop, kScoreRowBottom, 3);
  expectOneBaseline(p, kScoreFont, kScoreRowTop, kScoreRowBottom);
}

TEST(MenuSheet, ControlsPanelLabelsAndKeyFont) {
  Picture p("data/menu.tga");
  ASSERT_TRUE(p.loaded());
  using namespace menu;
  std::vector<Rect> labels = {kLabelControls,    kLabelControlsLit, kLabelDefaults,
                              kLabelDefaultsLit, kLabelBack,        kLabelBackLit};
  labels.insert(labels.end(), std::begin(kActionLabels), std::end(kActionLabels));
  for (Rect r : labels) {
    SCOPED_TRACE(std::to_string(r.x1) + "," + std::to_string(r.y1));
    EXPECT_GT(p.opaqueCount(r), 60);
    EXPECT_EQ(p.ringAlpha(r), 0);
  }
  // Letters and digits carry real ink; the marks ('.', ',', '-' ...) at least a few pixels.
  expectGlyphs(p, kKeyFont, 36, kKeyRowTop, kKeyRowBottom, 15);
  expectGlyphs(p, kKeyFont + 36, kKeyGlyphs - 36, kKeyRowTop, kKeyRowBottom, 2);
  expectOneBaseline(p, kKeyFont + 26, kKeyRowTop, kKeyRowBottom); // the digits
}

TEST(MenuSheet, PointerTipIsAtSixSix) {
  Picture p("data/menu.tga");
  ASSERT_TRUE(p.loaded());
  Rect r = menu::kPointer;
  EXPECT_GE(p.alpha(r.x1 + 6, r.y1 + 6), 128);
  // Nothing solid above or left of the tip.
  for (int y = r.y1; y < r.y1 + 4; ++y)
    for (int x = r.x1; x < r.x2; ++x) EXPECT_LT(p.alpha(x, y), 128);
  for (int y = r.y1; y < r.y2; ++y)
    for (int x = r.x1; x < r.x1 + 4; ++x) EXPECT_LT(p.alpha(x, y), 128);
}

TEST(MenuSheet, OptionLabelsReadFromTheBottomOfTheirStrips) {
  // Turned 270 degrees on screen, a strip's bottom becomes the label's left: the words start there.
  Picture p("data/menu.tga");
  ASSERT_TRUE(p.loaded());
  for (Rect r : {menu::kLabelEffects, menu::kLabelMusic, menu::kLabelReset}) {
    int lower = p.opaqueCount({r.x1, r.y1 + r.h() / 2, r.x2, r.y2}),
        upper = p.opaqueCount({r.x1, r.y1, r.x2, r.y1 + r.h() / 2});
    EXPECT_GT(lower, upper) << r.x1;
  }
}

namespace {
double luminance(const unsigned char *p) {
  return (0.2126 * p[0] + 0.7152 * p[1] + 0.0722 * p[2]) / 255.0;
}
} // namespace

TEST(Backgrounds, SolidTilingAndDarkEnoughAtFortyPercent) {
  for (const char *file : {"data/background1.tga", "data/background2.tga"}) {
    SCOPED_TRACE(file);
    Picture p(file);
    ASSERT_TRUE(p.loaded());
    ASSERT_EQ(p.w, kBackgroundSize);
    ASSERT_EQ(p.h, kBackgroundSize);
    EXPECT_EQ(p.opaqueCount({0, 0, p.w, p.h}, 255), p.w * p.h);
    double mean = 0, seamX = 0, seamY = 0, inner = 0;
    for (int y = 0; y < p.h; ++y)
      for (int x = 0; x < p.w; ++x) mean += luminance(p.at(x, y));
    mean /= p.w * p.h;
    for (int i = 0; i < p.w; ++i) {
      seamX += std::fabs(luminance(p.at(p.w - 1, i)) - luminance(p.at(0, i)));
      seamY += std::fabs(luminance(p.at(i, p.h - 1)) - luminance(p.at(i, 0)));
      inner += std::fabs(luminance(p.at(255, i)) - luminance(p.at(256, i)));
    }
    // Across the wrap the picture changes no more than between two inner neighbours.
    EXPECT_LT(seamX, inner * 1.6 + 1);
    EXPECT_LT(seamY, inner * 1.6 + 1);
    EXPECT_LT(mean * 0.4, 0.1) << "too bright under the dim light";
    EXPECT_GT(mean, 0.08) << "too dull under the ship's light";
  }
}

TEST(Icon, SixtyFourSquareWithTransparentCorners) {
  Picture p("data/icon.png");
  ASSERT_TRUE(p.loaded());
  EXPECT_EQ(p.w, kIconSize);
  EXPECT_EQ(p.h, kIconSize);
  EXPECT_EQ(p.alpha(0, 0), 0);
  EXPECT_EQ(p.alpha(63, 63), 0);
  EXPECT_EQ(p.alpha(32, 32), 255);
}
