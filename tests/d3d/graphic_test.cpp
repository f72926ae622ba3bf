// Direct3D pictures: blits, transforms, binding, alpha modes, tint and untextured drawing.

#include "d3d_fixture.h"

namespace {

// A picture of w x h pixels whose pixel (x, y) is opaque with red x * 8, green y * 8, blue 0x40.
void makeRamp(KGraphicD3D &g, int w, int h) {
  std::vector<uint32_t> px((size_t)w * h);
  for (int y = 0; y < h; y++)
    for (int x = 0; x < w; x++)
      px[(size_t)y * w + x] = 0xFF400000u | (uint32_t)(y * 8) << 8 | (uint32_t)(x * 8);
  ASSERT_TRUE(g.makePictureFromArray(px.data(), w, h, true));
}
uint32_t rampAt(int x, int y) { return (uint32_t)(x * 8) << 16 | (uint32_t)(y * 8) << 8 | 0x40; }

struct D3DPicture : D3DWindow {
  RecordingDevice *recorder = nullptr;
  void record() {
    recorder = new RecordingDevice(window->_lpD3DDevice);
    KGraphicD3D::setDirectX(window->_lpDD, recorder, window->_lpDDSBack, size, size);
  }
  void TearDown() override {
    if (recorder)
      KGraphicD3D::setDirectX(window->_lpDD, window->_lpD3DDevice, window->_lpDDSBack, size, size);
    delete recorder;
    D3DWindow::TearDown();
  }
  // The rectangle of pixels that differ from black: x0, y0, x1, y1 inclusive.
  std::vector<int> drawnBox() {
    std::vector<int> box = {size, size, -1, -1};
    for (int y = 0; y < size; y++)
      for (int x = 0; x < size; x++)
        if (pixel(x, y))
          box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x),
                 std::max(box[3], y)};
    return box;
  }
};

TEST_F(D3DPicture, OneToOneBlitCoversItsPixelsWithEveryTexelOnce) {
  KGraphicD3D g;
  makeRamp(g, 32, 32);
  g.blitRect(0, 0, 32, 32, 10, 20, false, false);
  EXPECT_EQ(drawnBox(), (std::vector<int>{10, 20, 41, 51}));
  for (int y = 0; y < 32; y++)
    for (int x = 0; x < 32; x++) ASSERT_EQ(pixel(10 + x, 20 + y), rampAt(x, y)) << x << "," << y;
}

TEST_F(D3DPicture, FlipsMirrorTheSourceRectangle) {
  KGraphicD3D g;
  makeRamp(g, 8, 8);
  g.blitRect(2, 1, 6, 5, 0, 0, true, false);
  EXPECT_EQ(pixel(0, 0), rampAt(5, 1));
  g.blitRect(2, 1, 6, 5, 0, 0, true, true);
  EXPECT_EQ(pixel(0, 0), rampAt(5, 4));
}

TEST_F(D3DPicture, TextureCoordinatesOfAPictureSmallerThanItsTexture) {
  std::string name = "d3d_tex_coords.tga";
  writeTGA(name, 100, 50, std::vector<uint32_t>(100 * 50, 0xFF808080), 24);
  KGraphicD3D g;
  ASSERT_TRUE(g.loadPicture(name.c_str(), true, false));
  EXPECT_EQ(g._ftextureWIDTH, 128.0f);
  EXPECT_EQ(g._ftextureHEIGHT, 128.0f);
  record();
  g.blitRect(0, 0, 100, 50, 0, 0, false, false);
  ASSERT_EQ(recorder->last.size(), 4u);
  EXPECT_EQ(recorder->last[0].tu, 0.0f);
  EXPECT_EQ(recorder->last[3].tu, 0.78125f);
  EXPECT_EQ(recorder->last[3].tv, 0.390625f);
  EXPECT_EQ(recorder->last[3].y, -50.0f); // the world's y runs up
  remove(name.c_str());
}

TEST_F(D3DPicture, BlitRectFxZoomTwoCoversNinetyToOneThirty) {
  KGraphicD3D g;
  makeRamp(g, 20, 20);
  g.blitRectFx(0, 0, 20, 20, 100, 100, 0, 2, false, false);
  EXPECT_EQ(drawnBox(), (std::vector<int>{90, 90, 129, 129}));
  EXPECT_EQ(pixel(90, 90), rampAt(0, 0));
  EXPECT_EQ(pixel(129, 129), rampAt(19, 19));
  window->setWorldView(0, 0, 0, 1, true);
  g.blitRectFx(0, 0, 20, 20, 100, 100, 0, 0, false, false); // zoom 0: nothing
  EXPECT_EQ(drawnBox()[2], -1);
}

TEST_F(D3DPicture, BlitRectFxTurnsCounterClockwiseAboutTheCentre) {
  KGraphicD3D g;
  makeRamp(g, 20, 10);
  g.blitRectFx(0, 0, 20, 10, 50, 50, 90, 1, false, false);
  // Centre (60, 55): the 20 x 10 picture now stands 10 wide and 20 tall; its left end is at the
  // bottom.
  std::vector<int> box = drawnBox();
  EXPECT_NEAR(box[0], 55, 1);
  EXPECT_NEAR(box[2], 64, 1);
  EXPECT_NEAR(box[1], 45, 1);
  EXPECT_NEAR(box[3], 64, 1);
  EXPECT_LE((pixel(60, 64) >> 16) & 255, 16u);  // the picture's left end at the bottom
  EXPECT_GE((pixel(60, 46) >> 16) & 255, 136u); // its right end at the top
}

TEST_F(D3DPicture, BindsOnlyWhenThePictureChanges) {
  KGraphicD3D a, b;
  makeRamp(a, 8, 8);
  makeRamp(b, 8, 8);
  record();
  for (int i = 0; i < 4; i++) a.blitRect(0, 0, 8, 8, 0, 0, false, false);
  EXPECT_EQ(recorder->binds, 1);
  for (int i = 0; i < 4; i++) {
    a.blitRect(0, 0, 8, 8, 0, 0, false, false);
    b.blitAlphaRect(0, 0, 8, 8, 0, 0, false, false);
  }
  EXPECT_EQ(recorder->binds, 8);      // every blit but the first rebinds
  a.drawRect(0, 0, 1, 1, 1, 1, 1, 1); // unbinds
  a.blitRect(0, 0, 8, 8, 0, 0, false, false);
  EXPECT_EQ(recorder->binds, 10);
}

TEST_F(D3DPicture, AlphaModesAndTheirFactors) {
  KGraphicD3D g;
  std::vector<uint32_t> half(4 * 4, 0x80FFFFFF); // white at alpha 128
  ASSERT_TRUE(g.makePictureFromArray(half.data(), 4, 4, true));
  window->setClearColor(0, 0, 0.5f, 1);
  const struct {
    long mode;
    uint32_t expected;
  } cases[] = {
      {K_ALPHA_ADD, 0x8080FF},           // s*a + d (no destination alpha: 1)
      {K_ALPHA_NORMAL, 0x8080BF},        // s*a + d*(1-a)
      {K_ALPHA_PREMULTIPLIED, 0xFFFFFF}, // s + d*(1-a), saturated
      {K_ALPHA_ERASE, 0x00003F},         // d*(1-a)
      {7, 0x00003F},                     // unknown: the previous mode stays
  };
  for (const auto &c : cases) {
    window->setWorldView(0, 0, 0, 1, true);
    g.setAlphaMode(c.mode);
    g.blitAlphaRect(0, 0, 4, 4, 0, 0, false, false);
    uint32_t p = pixel(1, 1);
    for (int s = 0; s < 24; s += 8)
      EXPECT_NEAR((double)((p >> s) & 255), (double)((c.expected >> s) & 255), 1) << c.mode;
  }
}

TEST_F(D3DPicture, UntexturedDrawingKeepsTheLastPicturesFactors) {
  KGraphicD3D g;
  makeRamp(g, 4, 4);
  g.setAlphaMode(K_ALPHA_ADD);
  window->setClearColor(0, 0, 0.25f, 1);
  window->setWorldView(0, 0, 0, 1, true);
  g.blitAlphaRect(0, 0, 4, 4, 100, 100, false, false);
  g.drawLine(10, 10, 40, 10, 0.5f, 0, 0, 1); // additive: red over the blue
  EXPECT_EQ(pixel(20, 10), 0x7F003Fu);
  EXPECT_EQ(pixel(40, 10), 0x7F003Fu); // the last pixel too
  EXPECT_EQ(pixel(41, 10), 0x00003Fu);
  g.setAlphaMode(K_ALPHA_NORMAL);
  g.blitAlphaRect(0, 0, 4, 4, 100, 100, false, false);
  g.drawRect(10, 20, 20, 30, 1, 1, 1, 0.25f);
  EXPECT_NEAR((double)(pixel(15, 25) & 255), 0.25 * 255 + 0.75 * 63, 1);
  EXPECT_EQ(pixel(20, 25), 0x00003Fu);
  g.plotPixel(3, 4, 1, 0, 0, 1);
  EXPECT_EQ(pixel(3, 4), 0xFF0000u);
}

TEST_F(D3DPicture, BlendZeroDrawsNothingAndTintHalvesColour) {
  KGraphicD3D g;
  makeRamp(g, 8, 8);
  g.blitAlphaRectFx(0, 0, 8, 8, 10, 10, 0, 1, 0, false, false);
  g.blitAlphaRectFx(0, 0, 8, 8, 10, 10, 0, 1, -1, false, false);
  g.stretchAlphaRect(0, 0, 8, 8, 10, 10, 30, 30, 0, 0); // a fully transparent quad
  EXPECT_EQ(drawnBox()[2], -1);
  g.setBlitColor(0.5f, 0.5f, 0.5f, 1);
  g.blitAlphaRect(0, 0, 8, 8, 10, 10, false, false);
  EXPECT_EQ(pixel(17, 17), 0x1C1C20u);          // 56 x 127 / 255 = 28; 64 -> 32
  g.blitRect(0, 0, 8, 8, 30, 30, false, false); // plain copies are never tinted
  EXPECT_EQ(pixel(37, 37), rampAt(7, 7));
  g.blitTiledRect(50, 50, 8, 8, 1, 0); // nor are tiles
  EXPECT_EQ(pixel(57, 57), rampAt(7, 7));
  g.setBlitColor(1, 1, 1, 1);
  g.blitAlphaRect(0, 0, 8, 8, 10, 10, false, false);
  EXPECT_EQ(pixel(17, 17), rampAt(7, 7));
  g.setBlitColor(2, 0.5f, -1, 1);
  EXPECT_EQ(g._blitRed, 1.0f);
  EXPECT_EQ(g._blitBlue, 0.0f);
}

TEST_F(D3DPicture, StretchTiledAndFourPointBlits) {
  KGraphicD3D g;
  makeRamp(g, 4, 4);
  g.stretchAlphaRect(0, 0, 4, 4, 10, 10, 18, 18, 1, 0); // doubled
  EXPECT_EQ(pixel(10, 10), rampAt(0, 0));
  EXPECT_EQ(pixel(11, 11), rampAt(0, 0));
  EXPECT_EQ(pixel(17, 17), rampAt(3, 3));
  g.allowTextureWrap(true);
  g.blitTiledRect(40, 40, 16, 16, 4, 0); // the 4 x 4 texture four times each way
  EXPECT_EQ(pixel(40, 40), rampAt(0, 0));
  EXPECT_EQ(pixel(44, 44), rampAt(0, 0));
  EXPECT_EQ(pixel(55, 55), rampAt(3, 3));
  g.blitArbitraryQuad(0, 0, 4, 0, 4, 4, 0, 4, 80, 80, 84, 80, 84, 84, 80, 84);
  EXPECT_EQ(pixel(80, 80), rampAt(0, 0)); // no half-pixel offset: sampled at texel edges
  EXPECT_NE(pixel(83, 83), 0u);
  EXPECT_EQ(pixel(84, 84), 0u);
}

TEST_F(D3DPicture, EmptyPicturesDrawNothing) {
  KGraphicD3D g;
  g.blitRect(0, 0, 8, 8, 0, 0, false, false);
  g.blitAlphaRectFx(0, 0, 8, 8, 0, 0, 10, 2, 1, false, false);
  g.stretchAlphaRect(0, 0, 8, 8, 0, 0, 30, 30, 1, 0);
  g.blitTiledRect(0, 0, 30, 30, 2, 0);
  g.blitArbitraryQuad(0, 0, 4, 0, 4, 4, 0, 4, 0, 0, 40, 0, 40, 40, 0, 40);
  EXPECT_EQ(drawnBox()[2], -1);
  EXPECT_EQ(g.getWidth(), 0.0f);
}

} // namespace
