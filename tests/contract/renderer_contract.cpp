// The renderer contract: every renderer draws through KGraphic into a 480 x 480 window, and the
// back buffer is read back through grabBackBuffer's colour function.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "KQRX.h"
#include "host_testing.h"

namespace {

// What the contract leaves to each renderer.
struct RendererRules {
  Erenderer renderer;
  bool stretchBlendZeroOpaque; // stretchAlphaRect with blend 0 and no tint: opaque, or nothing seen
  bool grabRowsFromBottom;     // grabBackBuffer's colour function counts y from the bottom row
  bool saveKeepsBackBuffer;    // a resized saveBackBuffer puts the frame back as it was
  float destinationAlpha;      // what K_ALPHA_ADD reads as the back buffer's alpha
  bool tilesTurnedHalf; // blitTiledRect's texture coordinates run from the right and bottom edges
  bool shiftBeforeZoom; // setWorldView shifts before turning and zooming (so the shift is zoomed)
  bool keysArraysAndGrabs; // the colour key also clears pixels of arrays and grabs
};

const RendererRules kRules[] = {
    {K_OPENGL, true, true, true, 1.0f, true, true,
     true}, // the window's pixel format has no alpha bits
    {K_DIRECTX, false, false, false, 1.0f, false, false,
     false}, // a transparent quad; rows as the surface stores them
};

const RendererRules &rulesOf(Erenderer renderer) {
  for (const RendererRules &rules : kRules)
    if (rules.renderer == renderer) return rules;
  return kRules[0];
}

enum { W = 480, H = 480, SHEET = 64 };

struct Rgb {
  int r, g, b;
};

// The back buffer as last read, rows from the top.
std::vector<Rgb> screen(W *H);
bool rowsFromBottom;

void capture(long x, long y, long *r, long *g, long *b) {
  long row = rowsFromBottom ? H - 1 - y : y;
  if (x >= 0 && x < W && row >= 0 && row < H) screen[row * W + x] = Rgb{(int)*r, (int)*g, (int)*b};
}

// The test sheet: 4 x 4 blocks of one colour each, so that a sample taken two pixels inside a
// block is the same whatever the renderer's pixel-centre convention.
Rgb sheetColour(int x, int y) { return Rgb{(x / 4) * 16 + 8, (y / 4) * 16 + 8, 200}; }

std::vector<uint32_t> sheetPixels() {
  std::vector<uint32_t> pixels(SHEET * SHEET);
  for (int y = 0; y < SHEET; y++)
    for (int x = 0; x < SHEET; x++) {
      Rgb c = sheetColour(x, y);
      pixels[y * SHEET + x] =
          0xFF000000u | (uint32_t)c.b << 16 | (uint32_t)c.g << 8 | (uint32_t)c.r;
    }
  return pixels;
}

// One colour everywhere (red in the lowest byte).
std::vector<uint32_t> plainPixels(uint32_t rgba) {
  return std::vector<uint32_t>(SHEET * SHEET, rgba);
}

::testing::AssertionResult near(Rgb got, Rgb want, int tolerance) {
  if (abs(got.r - want.r) <= tolerance && abs(got.g - want.g) <= tolerance &&
      abs(got.b - want.b) <= tolerance)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure()
         << "got (" << got.r << ", " << got.g << ", " << got.b << ") want (" << want.r << ", "
         << want.g << ", " << want.b << ")";
}

class RendererContract : public ::testing::TestWithParam<Erenderer> {
protected:
  void SetUp() override {
    hostTestReset();
    rules = &rulesOf(GetParam());
    rowsFromBottom = rules->grabRowsFromBottom;
    window = KQRX::createKWindow(GetParam(), false);
    ASSERT_TRUE(window->createGameWindow(W, H, -1, true, "Renderer contract"));
    // Drawing belongs between flips: the Direct3D device opens its first scene at the first one.
    window->flipBackBuffer(false, true);
    clear(0, 0, 0);
    sheet = sheetPixels();
    picture = KQRX::createKGraphic();
    ASSERT_TRUE(picture->makePictureFromArray(sheet.data(), SHEET, SHEET, true));
  }
  void TearDown() override {
    delete picture;
    delete window;
    hostTestReset();
  }

  void clear(float r, float g, float b) {
    window->setClearColor(r, g, b, 1);
    window->setWorldView(0, 0, 0, 1, true);
  }
  void read() {
    KGraphic *grab = KQRX::createKGraphic();
    ASSERT_TRUE(grab->grabBackBuffer(capture));
    delete grab;
  }
  Rgb at(int x, int y) { return screen[y * W + x]; }
  // The sheet's block containing (sx, sy) is shown at screen pixel (x, y).
  ::testing::AssertionResult showsSheet(int x, int y, int sx, int sy) {
    return near(at(x, y), sheetColour(sx, sy), 0);
  }
  ::testing::AssertionResult isColour(int x, int y, Rgb c, int tolerance = 0) {
    return near(at(x, y), c, tolerance);
  }
  int changedPixels(Rgb background) {
    int n = 0;
    for (const Rgb &p : screen)
      n += p.r != background.r || p.g != background.g || p.b != background.b;
    return n;
  }
  // A picture of one colour (red in the lowest byte), replacing the sheet.
  void usePlain(uint32_t rgba) {
    sheet = plainPixels(rgba);
    ASSERT_TRUE(picture->makePictureFromArray(sheet.data(), SHEET, SHEET, true));
  }

  const RendererRules *rules = nullptr;
  KWindow *window = nullptr;
  KGraphic *picture = nullptr;
  std::vector<uint32_t> sheet;
};

const Rgb kBlack{0, 0, 0};

// ---- opaque copies ------------------------------------------------------------------------------

TEST_P(RendererContract, BlitRectCopiesTheSourceRectangleAtItsOwnSize) {
  picture->blitRect(0, 0, 32, 16, 10, 20, false, false);
  read();
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 32; x++) ASSERT_TRUE(showsSheet(10 + x, 20 + y, x, y)) << x << ", " << y;
  EXPECT_TRUE(isColour(9, 20, kBlack));
  EXPECT_TRUE(isColour(42, 20, kBlack));
  EXPECT_TRUE(isColour(10, 19, kBlack));
  EXPECT_TRUE(isColour(10, 36, kBlack));
  EXPECT_EQ(changedPixels(kBlack), 32 * 16);
}

TEST_P(RendererContract, BlitRectFlipsMirrorEachAxis) {
  picture->blitRect(0, 0, 32, 16, 10, 20, true, false);
  picture->blitRect(0, 0, 32, 16, 60, 20, false, true);
  picture->blitRect(0, 0, 32, 16, 110, 20, true, true);
  read();
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 32; x++) {
      ASSERT_TRUE(showsSheet(10 + x, 20 + y, 31 - x, y));
      ASSERT_TRUE(showsSheet(60 + x, 20 + y, x, 15 - y));
      ASSERT_TRUE(showsSheet(110 + x, 20 + y, 31 - x, 15 - y)); // half a turn
    }
}

TEST_P(RendererContract, BlitRectIgnoresTheTintAndBlending) {
  usePlain(0x80FFFFFFu); // white at half alpha
  picture->setBlitColor(1, 0, 0, 1);
  picture->blitRect(0, 0, 16, 16, 10, 10, false, false);
  read();
  EXPECT_TRUE(isColour(15, 15, Rgb{255, 255, 255}));
}

TEST_P(RendererContract, SourceRectangleWidthIsCutToWholePixels) {
  picture->blitRect(0, 0, 10.7f, 4, 10, 10, false, false);
  read();
  EXPECT_EQ(changedPixels(kBlack), 10 * 4);
}

TEST_P(RendererContract, BlitRectFxTurnsCounterClockwiseAboutTheCentre) {
  picture->blitRectFx(0, 0, 32, 16, 100, 100, 90, 1, false, false);
  read();
  // Centre (116, 108); an offset (dx, dy) on screen turns into (dy, -dx).
  for (int sy = 2; sy < 16; sy += 4)
    for (int sx = 2; sx < 32; sx += 4)
      ASSERT_TRUE(showsSheet(116 + (sy - 8), 108 - (sx - 16), sx, sy)) << sx << ", " << sy;
  EXPECT_TRUE(isColour(101, 101, kBlack)); // inside the unturned rectangle only
  EXPECT_NEAR(changedPixels(kBlack), 32 * 16, 32 + 16);
}

TEST_P(RendererContract, BlitRectFxZoomScalesAboutTheCentreAndZeroDrawsNothing) {
  picture->blitRectFx(0, 0, 32, 16, 100, 100, 0, 2, false, false);
  read();
  for (int sy = 2; sy < 16; sy += 4)
    for (int sx = 2; sx < 32; sx += 4)
      ASSERT_TRUE(showsSheet(116 + 2 * (sx - 16), 108 + 2 * (sy - 8), sx, sy));
  EXPECT_TRUE(isColour(82, 108, kBlack));
  EXPECT_TRUE(isColour(150, 108, kBlack));

  clear(0, 0, 0);
  picture->blitRectFx(0, 0, 32, 16, 100, 100, 45, 0, false, false);
  read();
  EXPECT_EQ(changedPixels(kBlack), 0);
}

TEST_P(RendererContract, StretchAlphaRectStretchesOntoTheDestination) {
  picture->stretchAlphaRect(0, 0, 32, 16, 200, 200, 264, 232, 1, 0);
  read();
  for (int sy = 2; sy < 16; sy += 4)
    for (int sx = 2; sx < 32; sx += 4) ASSERT_TRUE(showsSheet(200 + 2 * sx, 200 + 2 * sy, sx, sy));
  EXPECT_EQ(changedPixels(kBlack), 64 * 32);
}

TEST_P(RendererContract, TextureQualityBlendsNeighbouringTexelsOnlyWhenAsked) {
  // Black left half, white right half; the edge stretched 16 times, first as every new picture
  // filters (nearest texel), then smoothly.
  sheet.assign(SHEET * SHEET, 0xFF000000u);
  for (int y = 0; y < SHEET; y++)
    for (int x = SHEET / 2; x < SHEET; x++) sheet[y * SHEET + x] = 0xFFFFFFFFu;
  ASSERT_TRUE(picture->makePictureFromArray(sheet.data(), SHEET, SHEET, true));
  picture->stretchAlphaRect(28, 0, 36, 8, 100, 100, 228, 228, 1, 0);
  picture->setTextureQuality(true);
  picture->stretchAlphaRect(28, 0, 36, 8, 100, 300, 228, 428, 1, 0);
  read();
  auto greys = [&](int y) {
    int n = 0;
    for (int x = 100; x < 228; x++) n += at(x, y).r > 32 && at(x, y).r < 224;
    return n;
  };
  EXPECT_EQ(greys(160), 0);
  EXPECT_GE(greys(360), 8); // a ramp about one texel (16 pixels) wide
  for (int y : {160, 360}) {
    EXPECT_TRUE(isColour(104, y, kBlack)) << y;
    EXPECT_TRUE(isColour(224, y, Rgb{255, 255, 255})) << y;
  }
}

TEST_P(RendererContract, BlitTiledRectRepeatsThePictureTurnedHalfATurn) {
  picture->allowTextureWrap(true);
  picture->blitTiledRect(100, 100, 128, 128, 2,
                         0); // the 64 x 64 sheet twice each way, at its own size
  read();
  for (int y = 2; y < 128; y += 4)
    for (int x = 2; x < 128; x += 4) {
      int sx = x % 64, sy = y % 64;
      if (rules->tilesTurnedHalf) sx = 63 - sx, sy = 63 - sy;
      ASSERT_TRUE(showsSheet(100 + x, 100 + y, sx, sy)) << x << ", " << y;
    }
  EXPECT_EQ(changedPixels(kBlack), 128 * 128);
}

TEST_P(RendererContract, BlitArbitraryQuadMapsTheFourCornersInOrderWithTheTint) {
  // The top-left 32 x 16 of the sheet onto a rectangle twice its size, then mirrored left to right.
  picture->blitArbitraryQuad(0, 0, 32, 0, 32, 16, 0, 16, 200, 200, 264, 200, 264, 232, 200, 232);
  picture->blitArbitraryQuad(0, 0, 32, 0, 32, 16, 0, 16, 364, 300, 300, 300, 300, 332, 364, 332);
  usePlain(0xFFFFFFFFu);
  picture->setBlitColor(0, 1, 0, 1); // an alpha operation: tinted
  picture->blitArbitraryQuad(0, 0, 16, 0, 16, 16, 0, 16, 10, 10, 26, 10, 26, 26, 10, 26);
  read();
  for (int sy = 2; sy < 16; sy += 4)
    for (int sx = 2; sx < 32; sx += 4) {
      ASSERT_TRUE(showsSheet(200 + 2 * sx, 200 + 2 * sy, sx, sy)) << sx << ", " << sy;
      ASSERT_TRUE(showsSheet(363 - 2 * sx, 300 + 2 * sy, sx, sy)) << sx << ", " << sy;
    }
  EXPECT_TRUE(isColour(18, 18, Rgb{0, 255, 0}));
  EXPECT_EQ(changedPixels(kBlack), 2 * 64 * 32 + 16 * 16);
}

// ---- blending -----------------------------------------------------------------------------------

TEST_P(RendererContract, TheFourAlphaModes) {
  const float a = 128 / 255.0f, d = 102, s[3] = {200, 100, 50};
  auto expect = [&](long mode, int channel) {
    float b = rules->destinationAlpha, v = 0;
    switch (mode) {
    case K_ALPHA_ADD: v = s[channel] * a + d * b; break;
    case K_ALPHA_NORMAL: v = s[channel] * a + d * (1 - a); break;
    case K_ALPHA_PREMULTIPLIED: v = s[channel] + d * (1 - a); break;
    case K_ALPHA_ERASE: v = d * (1 - a); break;
    }
    return (int)(v > 255 ? 255 : v + 0.5f);
  };
  usePlain(0x80000000u | 50u << 16 | 100u << 8 | 200u);
  clear(0.4f, 0.4f, 0.4f);
  for (long mode = 0; mode < 4; mode++) {
    picture->setAlphaMode(mode);
    picture->blitAlphaRect(0, 0, 16, 16, (short)(10 + 40 * mode), 10, false, false);
  }
  picture->setAlphaMode(K_ALPHA_ERASE);
  picture->setAlphaMode(4); // not a mode: the erase mode stays
  picture->blitAlphaRect(0, 0, 16, 16, 200, 10, false, false);
  read();
  for (long mode = 0; mode < 4; mode++)
    EXPECT_TRUE(
        isColour(18 + 40 * mode, 18, Rgb{expect(mode, 0), expect(mode, 1), expect(mode, 2)}, 2))
        << "mode " << mode;
  EXPECT_TRUE(isColour(208, 18, Rgb{expect(3, 0), expect(3, 1), expect(3, 2)}, 2));
  EXPECT_TRUE(isColour(5, 5, Rgb{102, 102, 102}, 1));
}

TEST_P(RendererContract, EraseModeBlacksOutUnderAnOpaquePicture) {
  usePlain(0xFFFFFFFFu);
  clear(0.4f, 0.6f, 0.8f);
  picture->setAlphaMode(K_ALPHA_ERASE);
  picture->blitAlphaRect(0, 0, 16, 16, 10, 10, false, false);
  read();
  EXPECT_TRUE(isColour(15, 15, kBlack));
}

TEST_P(RendererContract, TintIsClampedAndRemovedByWhite) {
  usePlain(0xFFFFFFFFu);
  picture->setBlitColor(2, 0.5f, -1, 1); // counts as (1, 0.5, 0, 1)
  picture->blitAlphaRect(0, 0, 16, 16, 10, 10, false, false);
  picture->setBlitColor(1, 0, 0, 1);
  picture->blitAlphaRect(0, 0, 16, 16, 40, 10, false, false);
  picture->blitRect(0, 0, 16, 16, 70, 10, false, false); // copies stay untinted
  picture->setBlitColor(1, 1, 1, 1);
  picture->blitAlphaRect(0, 0, 16, 16, 100, 10, false, false);
  read();
  EXPECT_TRUE(isColour(15, 15, Rgb{255, 128, 0}, 1));
  EXPECT_TRUE(isColour(45, 15, Rgb{255, 0, 0}));
  EXPECT_TRUE(isColour(75, 15, Rgb{255, 255, 255}));
  EXPECT_TRUE(isColour(105, 15, Rgb{255, 255, 255}));
}

TEST_P(RendererContract, BlitAlphaRectFxBlendAndZoom) {
  usePlain(0xFFFFFFFFu);
  picture->blitAlphaRectFx(0, 0, 16, 16, 10, 10, 0, 1, 0.5f, false, false);
  picture->blitAlphaRectFx(0, 0, 16, 16, 40, 10, 0, 1, 0, false, false);
  picture->blitAlphaRectFx(0, 0, 16, 16, 70, 10, 0, 1, -1, false, false);
  picture->blitAlphaRectFx(0, 0, 16, 16, 100, 10, 30, 0, 1, false, false);
  read();
  EXPECT_TRUE(isColour(15, 15, Rgb{128, 128, 128}, 2));
  EXPECT_EQ(changedPixels(kBlack), 16 * 16); // blend 0, blend -1 and zoom 0 draw nothing
}

TEST_P(RendererContract, StretchAlphaRectWithBlendZeroFollowsTheRenderersRule) {
  usePlain(0xFFFFFFFFu);
  picture->stretchAlphaRect(0, 0, 16, 16, 10, 10, 26, 26, 0, 0);
  read();
  if (rules->stretchBlendZeroOpaque) {
    EXPECT_TRUE(isColour(15, 15, Rgb{255, 255, 255}));
    EXPECT_EQ(changedPixels(kBlack), 16 * 16);
  } else {
    EXPECT_EQ(changedPixels(kBlack), 0);
  }
}

// ---- untextured primitives ----------------------------------------------------------------------

TEST_P(RendererContract, DrawRectIsOpaqueAtBlendOneAndMixesOtherwise) {
  picture->blitRect(0, 0, 8, 8, 300, 300, false,
                    false); // a textured draw first: the primitives are untextured
  picture->drawRect(10, 20, 50, 40, 1, 0, 0, 1);
  picture->drawRect(100, 100, 120, 120, 1, 1, 1, 0.25f);
  read();
  EXPECT_TRUE(isColour(10, 20, Rgb{255, 0, 0}));
  EXPECT_TRUE(isColour(49, 39, Rgb{255, 0, 0}));
  EXPECT_TRUE(isColour(50, 30, kBlack));
  EXPECT_TRUE(isColour(30, 40, kBlack));
  EXPECT_TRUE(isColour(110, 110, Rgb{64, 64, 64}, 1));
  EXPECT_EQ(changedPixels(kBlack), 40 * 20 + 20 * 20 + 8 * 8);
}

TEST_P(RendererContract, DrawLineAndPlotPixel) {
  picture->drawLine(10, 100, 60, 100, 0, 1, 0, 1);
  read();
  int count = 0;
  for (int y = 0; y < H; y++)
    for (int x = 0; x < W; x++)
      if (at(x, y).g) {
        EXPECT_TRUE(y >= 99 && y <= 100 && x >= 9 && x <= 60) << x << ", " << y;
        EXPECT_TRUE(isColour(x, y, Rgb{0, 255, 0}));
        count++;
      }
  EXPECT_GE(count, 48);
  EXPECT_LE(count, 52);

  clear(0, 0, 0);
  picture->plotPixel(200, 200, 1, 1, 0, 1);
  read();
  EXPECT_EQ(changedPixels(kBlack), 1);
  bool near200 = false;
  for (int y = 199; y <= 200; y++)
    for (int x = 199; x <= 200; x++)
      near200 |= at(x, y).r == 255 && at(x, y).g == 255 && at(x, y).b == 0;
  EXPECT_TRUE(near200);
}

// ---- empty pictures -----------------------------------------------------------------------------

// Every textured operation of a picture without a texture (never loaded, failed to load,
// freed) draws nothing; the pictures that hold one still draw after them.
TEST_P(RendererContract, EmptyPicturesDrawNothing) {
  KGraphic *never = KQRX::createKGraphic(), *failed = KQRX::createKGraphic(),
           *freed = KQRX::createKGraphic();
  EXPECT_FALSE(failed->loadPicture("no/such/picture.png", true, true));
  ASSERT_TRUE(freed->makePictureFromArray(sheet.data(), SHEET, SHEET, true));
  freed->freePicture();
  for (KGraphic *empty : {never, failed, freed}) {
    EXPECT_EQ(empty->getWidth(), 0.0f);
    empty->allowTextureWrap(true);
    empty->blitRect(0, 0, 32, 32, 10, 10, false, false);
    empty->blitRectFx(0, 0, 32, 32, 50, 10, 30, 2, false, false);
    empty->blitAlphaRect(0, 0, 32, 32, 100, 10, false, false);
    empty->blitAlphaRectFx(0, 0, 32, 32, 150, 10, 30, 2, 1, false, false);
    empty->stretchAlphaRect(0, 0, 32, 32, 200, 10, 264, 74, 1, 0);
    empty->blitArbitraryQuad(0, 0, 32, 0, 32, 32, 0, 32, 300, 10, 340, 10, 340, 50, 300, 50);
    empty->blitTiledRect(10, 100, 64, 64, 2, 0);
    empty->setBlitColor(1, 0, 0, 1); // and tinted
    empty->blitAlphaRect(0, 0, 32, 32, 100, 200, false, false);
  }
  picture->blitRect(0, 0, 16, 16, 400, 400, false, false);
  read();
  EXPECT_EQ(changedPixels(kBlack), 16 * 16);
  EXPECT_TRUE(showsSheet(402, 402, 2, 2));
  delete never;
  delete failed;
  delete freed;
}

// ---- window -------------------------------------------------------------------------------------

TEST_P(RendererContract, WorldViewShiftsUpForPositiveY) {
  window->setWorldView(10, 20, 0, 1, false);
  picture->drawRect(100, 100, 110, 110, 1, 1, 1, 1);
  window->setDefaultWorldView();
  read();
  EXPECT_TRUE(isColour(110, 80, Rgb{255, 255, 255}));
  EXPECT_TRUE(isColour(119, 89, Rgb{255, 255, 255}));
  EXPECT_EQ(changedPixels(kBlack), 100);
}

TEST_P(RendererContract, WorldViewShiftComesBeforeOrAfterTheZoomByTheRenderersRule) {
  // Zoomed twice about the centre and shifted 10 pixels right: an 8 x 8 square 10 or 20 pixels
  // right of the centre.
  window->setWorldView(10, 0, 0, 2, false);
  picture->drawRect(238, 238, 242, 242, 1, 1, 1, 1);
  window->setDefaultWorldView();
  read();
  int left = 236 + (rules->shiftBeforeZoom ? 20 : 10);
  EXPECT_TRUE(isColour(left, 236, Rgb{255, 255, 255}));
  EXPECT_TRUE(isColour(left + 7, 243, Rgb{255, 255, 255}));
  EXPECT_EQ(changedPixels(kBlack), 64);
}

TEST_P(RendererContract, ColourKeyOnArraysAndGrabsFollowsTheRenderersRule) {
  picture->drawRect(0, 0, W, H, 1, 0, 1, 1); // a magenta screen to grab
  KGraphic *grab = KQRX::createKGraphic();
  grab->setColorKey(true, 255, 0, 255);
  ASSERT_TRUE(grab->grabBackBuffer(nullptr));
  picture->setColorKey(true, 255, 0, 255);
  usePlain(0xFFFF00FFu);
  clear(0, 1, 0);
  picture->blitAlphaRect(0, 0, 16, 16, 100, 100, false, false);
  grab->blitAlphaRect(0, 0, 16, 16, 300, 300, false, false);
  delete grab;
  read();
  Rgb want = rules->keysArraysAndGrabs ? Rgb{0, 255, 0} : Rgb{255, 0, 255};
  EXPECT_TRUE(isColour(108, 108, want));
  EXPECT_TRUE(isColour(308, 308, want));
}

KGraphic *hookReader;

void readInFlip(void *, unsigned long) { hookReader->grabBackBuffer(capture); }

TEST_P(RendererContract, GammaBelowOneDarkensThePresentedFrame) {
  hookReader = KQRX::createKGraphic();
  hostTestSetFrameHook(readInFlip, nullptr);
  for (float gamma : {0.25f, 1.0f, 1.5f}) {
    clear(1, 1, 1);
    window->setGamma(gamma);
    window->flipBackBuffer(false, true);
    int expected = gamma < 1 ? (int)(255 * gamma + 0.5f) : 255;
    EXPECT_TRUE(isColour(240, 240, Rgb{expected, expected, expected}, 2)) << "gamma " << gamma;
  }
  hostTestSetFrameHook(nullptr, nullptr);
  delete hookReader;
}

TEST_P(RendererContract, FlipDrawsTheEnginePointerAtTheMouse) {
  HostInputFrame mouse{};
  mouse.mouseX = 100;
  mouse.mouseY = 50;
  hostTestSetInput(mouse);
  window->processEvents();
  hookReader = KQRX::createKGraphic();
  hostTestSetFrameHook(readInFlip, nullptr);
  const Rgb background{0, 102, 204};
  const char *arrow[16] = {
      "oo..............", "o#o.............", "o##o............", "o###o...........",
      "o####o..........", "o#####o.........", "o######o........", "o#######o.......",
      "o########o......", "o#######o.......", "o#####oo........", "o#####o.........",
      "o##o#o..........", "o#o.o...........", "oo..............", "................"};
  int arrowPixels = 0;
  for (const char *row : arrow)
    for (int x = 0; x < 16; x++) arrowPixels += row[x] != '.';
  window->displayMouse(true);
  for (int pass = 0; pass < 2; pass++) {
    clear(0, 0.4f, 0.8f);
    window->setWorldView(40, 40, 30, 2,
                         false); // the pointer is drawn in the default view whatever this frame's
    window->flipBackBuffer(false, true);
    ASSERT_NE(KInput::surf_mouse, nullptr);
    for (int y = 0; y < 16; y++)
      for (int x = 0; x < 16; x++) {
        Rgb want = arrow[y][x] == 'o'   ? Rgb{255, 255, 255}
                   : arrow[y][x] == '#' ? kBlack
                                        : background;
        ASSERT_TRUE(isColour(100 + x, 50 + y, want)) << "pass " << pass << " at " << x << ", " << y;
      }
    EXPECT_EQ(changedPixels(background), arrowPixels); // nothing but the arrow
    KInput::freeMouse(); // the next flip makes the pointer picture again
    EXPECT_EQ(KInput::surf_mouse, nullptr);
  }
  window->displayMouse(false);
  clear(0, 0.4f, 0.8f);
  window->flipBackBuffer(false, true);
  EXPECT_EQ(changedPixels(background), 0);
  EXPECT_EQ(KInput::surf_mouse, nullptr);
  hostTestSetFrameHook(nullptr, nullptr);
  delete hookReader;
}

// ---- screenshots --------------------------------------------------------------------------------

class SaveBackBuffer : public RendererContract {
protected:
  std::string path(const char *name) {
    std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("zy_contract_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
  }
  void TearDown() override {
    std::filesystem::remove_all(std::filesystem::temp_directory_path() /
                                ("zy_contract_" + std::to_string(getpid())));
    RendererContract::TearDown();
  }
};

TEST_P(SaveBackBuffer, RoundTripInAllFourFormats) {
  const struct {
    long format;
    const char *name;
    int tolerance;
  } formats[] = {{K_SAVE_BMP, "shot.bmp", 0},
                 {K_SAVE_JPG, "shot.jpg", 24},
                 {K_SAVE_TGA, "shot.tga", 0},
                 {K_SAVE_PNG, "shot.png", 0}};
  for (const auto &f : formats) {
    clear(0, 0, 0);
    picture->blitRect(0, 0, 64, 64, 0, 0, false, false);
    std::string file = path(f.name);
    ASSERT_TRUE(picture->saveBackBuffer(file.c_str(), f.format, 0, 0)) << f.name;
    KGraphic *loaded = KQRX::createKGraphic();
    ASSERT_TRUE(loaded->loadPicture(file.c_str(), true, false)) << f.name;
    EXPECT_EQ(loaded->getWidth(), (float)W);
    EXPECT_EQ(loaded->getHeight(), (float)H);
    clear(0, 0, 1);
    loaded->blitRect(0, 0, 64, 64, 100, 100, false, false);
    read();
    for (int sy = 2; sy < 64; sy += 4)
      for (int sx = 2; sx < 64; sx += 4)
        ASSERT_TRUE(near(at(100 + sx, 100 + sy), sheetColour(sx, sy), f.tolerance))
            << f.name << " " << sx << ", " << sy;
    delete loaded;
  }
}

TEST_P(SaveBackBuffer, ResizedScreenshotIsTheWholeFrameShrunk) {
  // Four quadrants of their own colour: the small picture shows all four, in place.
  const Rgb quadrant[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  for (int q = 0; q < 4; q++)
    picture->drawRect((q % 2) * 240.0f, (q / 2) * 240.0f, (q % 2) * 240.0f + 240,
                      (q / 2) * 240.0f + 240, quadrant[q].r / 255.0f, quadrant[q].g / 255.0f,
                      quadrant[q].b / 255.0f, 1);
  read();
  std::vector<Rgb> before = screen;
  std::string file = path("small.png");
  ASSERT_TRUE(picture->saveBackBuffer(file.c_str(), K_SAVE_PNG, 160, 120));
  if (rules->saveKeepsBackBuffer) {
    read();
    for (int y = 0; y < H; y += 7)
      for (int x = 0; x < W; x += 7)
        ASSERT_TRUE(near(at(x, y), before[y * W + x], 0)) << x << ", " << y;
  }
  KGraphic *loaded = KQRX::createKGraphic();
  ASSERT_TRUE(loaded->loadPicture(file.c_str(), true, false));
  EXPECT_EQ(loaded->getWidth(), 160.0f);
  EXPECT_EQ(loaded->getHeight(), 120.0f);
  clear(0, 0, 0);
  loaded->blitRect(0, 0, 160, 120, 0, 0, false, false);
  read();
  for (int q = 0; q < 4; q++)
    EXPECT_TRUE(isColour(40 + (q % 2) * 80, 30 + (q / 2) * 60, quadrant[q], 2)) << "quadrant " << q;
  delete loaded;
}

TEST_P(SaveBackBuffer, UnknownFormatOrUnwritablePathWritesNothingAndFails) {
  std::string file = path("seven.img");
  EXPECT_FALSE(picture->saveBackBuffer(file.c_str(), 7, 0, 0));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_FALSE(picture->saveBackBuffer("/nonexistent-folder/shot.png", K_SAVE_PNG, 0, 0));
}

// A resized screenshot is the whole frame, whatever world view is in force, and no larger than
// the screen: a size beyond it on either side is cut down to the screen's on that side.
TEST_P(SaveBackBuffer, ResizedScreenshotIgnoresTheWorldViewAndIsCappedAtTheScreen) {
  const Rgb quadrant[4] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 0}};
  const struct {
    long askedW, askedH, savedW, savedH;
  } sizes[] = {{160, 120, 160, 120}, {960, 960, W, H}, {960, 120, W, 120}};
  for (const auto &size : sizes) {
    clear(0, 0, 0);
    for (int q = 0; q < 4; q++)
      picture->drawRect((q % 2) * 240.0f, (q / 2) * 240.0f, (q % 2) * 240.0f + 240,
                        (q / 2) * 240.0f + 240, quadrant[q].r / 255.0f, quadrant[q].g / 255.0f,
                        quadrant[q].b / 255.0f, 1);
    window->setWorldView(30, -20, 90, 2, false); // turned, zoomed and shifted
    std::string file = path("view.png");
    ASSERT_TRUE(picture->saveBackBuffer(file.c_str(), K_SAVE_PNG, size.askedW, size.askedH));
    window->setDefaultWorldView();
    KGraphic *loaded = KQRX::createKGraphic();
    ASSERT_TRUE(loaded->loadPicture(file.c_str(), true, false));
    EXPECT_EQ(loaded->getWidth(), (float)size.savedW) << size.askedW << " x " << size.askedH;
    EXPECT_EQ(loaded->getHeight(), (float)size.savedH) << size.askedW << " x " << size.askedH;
    clear(0, 0, 0);
    loaded->blitRect(0, 0, (float)size.savedW, (float)size.savedH, 0, 0, false, false);
    read();
    for (int q = 0; q < 4; q++) {
      int x = (int)(size.savedW / 4 + (q % 2) * size.savedW / 2),
          y = (int)(size.savedH / 4 + (q / 2) * size.savedH / 2);
      EXPECT_TRUE(isColour(x, y, quadrant[q], 2))
          << size.askedW << " x " << size.askedH << " quadrant " << q;
    }
    delete loaded;
  }
}

// A picture file whose pixel data is shorter than its header promises is refused in every
// format (false, and the picture stays empty and draws nothing); the whole file loads.
TEST_P(SaveBackBuffer, PictureFilesCutShortAreRefused) {
  picture->blitRect(0, 0, 64, 64, 0, 0, false, false);
  std::vector<std::string> files;
  const struct {
    long format;
    const char *name;
  } formats[] = {{K_SAVE_BMP, "cut.bmp"},
                 {K_SAVE_JPG, "cut.jpg"},
                 {K_SAVE_TGA, "cut.tga"},
                 {K_SAVE_PNG, "cut.png"}};
  for (const auto &f : formats) { // the screenshot's TGA is run-length encoded
    files.push_back(path(f.name));
    ASSERT_TRUE(picture->saveBackBuffer(files.back().c_str(), f.format, 64, 64)) << f.name;
  }
  std::vector<unsigned char> plain = {0, 0, 2, 0,  0, 0,  0, 0,  0,
                                      0, 0, 0, 64, 0, 64, 0, 32, 0x28}; // stored plainly
  for (int i = 0; i < 64 * 64; i++) plain.insert(plain.end(), {200, 100, 50, 255});
  files.push_back(path("plain.tga"));
  FILE *out = fopen(files.back().c_str(), "wb");
  ASSERT_TRUE(out && fwrite(plain.data(), 1, plain.size(), out) == plain.size());
  fclose(out);
  for (const std::string &file : files) {
    for (bool hiDef : {true, false}) {
      KGraphic *whole = KQRX::createKGraphic();
      EXPECT_TRUE(whole->loadPicture(file.c_str(), hiDef, true)) << file;
      EXPECT_EQ(whole->getWidth(), 64.0f) << file;
      delete whole;
    }
    std::filesystem::resize_file(file, std::filesystem::file_size(file) / 2 +
                                           9); // about half the pixel data
    for (bool hiDef : {true, false}) {
      KGraphic *cut = KQRX::createKGraphic();
      EXPECT_FALSE(cut->loadPicture(file.c_str(), hiDef, true))
          << file << (hiDef ? " 32-bit" : " 16-bit");
      EXPECT_EQ(cut->getWidth(), 0.0f) << file;
      EXPECT_EQ(cut->getHeight(), 0.0f) << file;
      clear(0, 0, 0);
      cut->blitRect(0, 0, 64, 64, 100, 100, false, false);
      read();
      EXPECT_EQ(changedPixels(kBlack), 0) << file;
      delete cut;
    }
  }
}

// The decoder is chosen from the file's own name, not from a folder above it.
TEST_P(SaveBackBuffer, AFolderNamedLikeAPictureDoesNotChooseTheDecoder) {
  picture->blitRect(0, 0, 64, 64, 0, 0, false, false);
  std::filesystem::create_directories(path("retro.png.collection/zyphora"));
  std::string file = path("retro.png.collection/zyphora/sheet.tga");
  ASSERT_TRUE(picture->saveBackBuffer(file.c_str(), K_SAVE_TGA, 0, 0));
  KGraphic *loaded = KQRX::createKGraphic();
  ASSERT_TRUE(loaded->loadPicture(file.c_str(), true, false));
  clear(0, 0, 0);
  loaded->blitRect(0, 0, 64, 64, 100, 100, false, false);
  read();
  EXPECT_TRUE(showsSheet(110, 130, 10, 30));
  delete loaded;
}

#define STRINGIFY2(x) #x
#define STRINGIFY(x) STRINGIFY2(x)

std::string label(const ::testing::TestParamInfo<Erenderer> &) { return STRINGIFY(CONTRACT_LABEL); }

INSTANTIATE_TEST_SUITE_P(Renderer, RendererContract, ::testing::Values(CONTRACT_RENDERER), label);
INSTANTIATE_TEST_SUITE_P(Renderer, SaveBackBuffer, ::testing::Values(CONTRACT_RENDERER), label);

} // namespace
