// Direct3D picture textures: file loading with its formats and colour key, arrays, grabs,
// screenshots and the reload of a lost texture.

#include "KImageFile.h"
#include "d3d_fixture.h"

namespace {

const uint32_t MAGENTA = 0xFFFF00FF;

struct D3DLoading : D3DWindow {
  std::vector<std::string> files;
  std::string file(const std::string &name) {
    std::string path =
        std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()) + "_" + name;
    files.push_back(path);
    return path;
  }
  void TearDown() override {
    for (auto &f : files) remove(f.c_str());
    D3DWindow::TearDown();
  }
  // The texel (x, y) of a picture's texture as A R G B.
  static uint32_t texel(KGraphicD3D &g, int x, int y) {
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    if (FAILED(g._surface->Lock(nullptr, &d, DDLOCK_WAIT, nullptr))) return 0xDEADBEEF;
    const char *row = (const char *)d.lpSurface + y * d.lPitch;
    uint32_t v = d.ddpfPixelFormat.dwRGBBitCount == 32 ? ((const uint32_t *)row)[x]
                                                       : ((const uint16_t *)row)[x];
    g._surface->Unlock(nullptr);
    return v;
  }
};

TEST_F(D3DLoading, TextureSidesArePowersOfTwoOfTheLargerSide) {
  const int sizes[][3] = {{100, 50, 128}, {256, 256, 256}, {257, 10, 512}, {1, 1, 1}};
  for (const auto &s : sizes) {
    std::string name = file(std::to_string(s[0]) + "x" + std::to_string(s[1]) + ".tga");
    writeTGA(name, s[0], s[1], std::vector<uint32_t>((size_t)s[0] * s[1], 0xFF102030), 24);
    KGraphicD3D g;
    ASSERT_TRUE(g.loadPicture(name.c_str(), true, false)) << name;
    EXPECT_EQ(g._ftextureWIDTH, (float)s[2]);
    EXPECT_EQ(g._ftextureHEIGHT, (float)s[2]);
    EXPECT_EQ(g.getWidth(), (float)s[0]);
    EXPECT_EQ(g.getHeight(), (float)s[1]);
  }
}

TEST_F(D3DLoading, ExtensionTestIsCaseSensitive) {
  std::vector<uint32_t> px(4, 0xFF00FF00);
  std::string lower = file("data.png"), upper = file("DATA.PNG");
  ASSERT_TRUE(KImageFile::save(lower.c_str(), K_IMAGE_PNG, (const uint8_t *)px.data(), K_IMAGE_BGRA,
                               2, 2, 8, false));
  ASSERT_TRUE(KImageFile::save(upper.c_str(), K_IMAGE_PNG, (const uint8_t *)px.data(), K_IMAGE_BGRA,
                               2, 2, 8, false));
  KGraphicD3D g;
  EXPECT_FALSE(g.loadPicture(upper.c_str(), true, true));
  EXPECT_EQ(g.getWidth(), 0.0f);
  EXPECT_TRUE(g.loadPicture(lower.c_str(), true, true));
  EXPECT_EQ(texel(g, 1, 1), 0xFF00FF00u);
  EXPECT_FALSE(g.loadPicture("no_such_picture.tga", true, true));
}

TEST_F(D3DLoading, ColourKeyAppliesToHiDefAndToSixteenBitAlphaOnly) {
  std::string name = file("keyed.tga");
  writeTGA(name, 2, 1, {MAGENTA, 0xFF123456}, 24);
  KGraphicD3D g;
  g.setColorKey(true, 255, 0, 255);
  ASSERT_TRUE(g.loadPicture(name.c_str(), true, false));
  EXPECT_EQ(texel(g, 0, 0), 0x00FF00FFu); // transparent
  EXPECT_EQ(texel(g, 1, 0), 0xFF123456u);
  ASSERT_TRUE(g.loadPicture(name.c_str(), false, false)); // 24-bit image, 16-bit texture
  EXPECT_EQ(texel(g, 0, 0), (uint32_t)(31 << 10 | 31));   // 555: the key colour stays visible
  g.blitAlphaRect(0, 0, 2, 1, 10, 10, false, false);
  EXPECT_EQ(pixel(10, 10), 0xFF00FFu);
}

TEST_F(D3DLoading, SixteenBitLoadsKeepSixteenAlphaLevelsOrNone) {
  std::string name = file("alpha.tga");
  writeTGA(name, 2, 1, {0x80FF8040, MAGENTA}, 32);
  KGraphicD3D g;
  g.setColorKey(true, 255, 0, 255);
  ASSERT_TRUE(g.loadPicture(name.c_str(), false, true));
  EXPECT_EQ(texel(g, 0, 0), 0x8F84u); // 4444
  EXPECT_EQ(texel(g, 1, 0), 0x0F0Fu); // keyed: alpha 0
  ASSERT_TRUE(g.loadPicture(name.c_str(), false, false));
  EXPECT_EQ(texel(g, 0, 0), (uint32_t)(31 << 10 | 16 << 5 | 8)); // 555 opaque
  ASSERT_TRUE(g.loadPicture(name.c_str(), true, true));
  EXPECT_EQ(texel(g, 0, 0), 0x80FF8040u);
}

TEST_F(D3DLoading, ArraysAreCopiedOnceWithoutTheKey) {
  std::vector<uint32_t> px = {0x11223344, 0xFFFF00FF};
  KGraphicD3D g;
  g.setColorKey(true, 255, 0, 255);
  ASSERT_TRUE(g.makePictureFromArray(px.data(), 2, 1, false));
  EXPECT_EQ(g._ftextureWIDTH, 2.0f);
  EXPECT_EQ(texel(g, 0, 0), 0x11443322u); // red was the low byte
  EXPECT_EQ(texel(g, 1, 0), 0xFFFF00FFu);
  px[0] = 0;
  g.pollArray();
  EXPECT_EQ(texel(g, 0, 0), 0x11443322u);
  EXPECT_FALSE(g.makePictureFromArray(nullptr, 2, 1, false));
  EXPECT_FALSE(g.makePictureFromArray(px.data(), 0, 1, false));
}

void noRed(long, long, long *r, long *, long *) { *r = 0; }

void grabWithoutRed(D3DLoading &t, uint32_t expectedGreen) {
  KGraphicD3D g;
  g.drawRect(0, 0, 20, 20, 1, 1, 0, 1);
  ASSERT_TRUE(g.grabBackBuffer(noRed));
  EXPECT_EQ(g.getWidth(), (float)t.size);
  EXPECT_EQ(D3DLoading::texel(g, 5, 5), 0xFF000000u | expectedGreen << 8);
  EXPECT_EQ(D3DLoading::texel(g, 30, 30), 0xFF000000u);
}

TEST_F(D3DLoading, GrabsWithACallbackOnThirtyTwoBitBackBuffers) { grabWithoutRed(*this, 255); }

TEST_F(D3DLoading, GrabsWithACallbackOnSixteenBitBackBuffers) {
  open(16, true); // 5-6-5: green reaches 252
  grabWithoutRed(*this, 252);
  open(15, true); // 5-5-5: 248
  grabWithoutRed(*this, 248);
}

TEST_F(D3DLoading, SaveBackBufferWritesTheScreenColours) {
  KGraphicD3D g;
  g.drawRect(0, 0, (float)size, (float)size, 1, 0, 0, 1);
  g.drawRect(0, 0, 10, 10, 0, 0, 1, 1);
  std::string name = file("shot.png");
  EXPECT_TRUE(g.saveBackBuffer(name.c_str(), K_SAVE_PNG, 0, 0));
  FILE *f = fopen(name.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::vector<unsigned char> bytes(1 << 20);
  size_t n = fread(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  KImageFile image;
  ASSERT_TRUE(image.decode(bytes.data(), n, K_IMAGE_PNG));
  EXPECT_EQ(image.getWidth(), size);
  KImagePixel top = image.getPixel(2, size - 1 - 2, true), rest = image.getPixel(50, 50, true);
  EXPECT_EQ(top.b, 255);
  EXPECT_EQ(top.r, 0);
  EXPECT_EQ(rest.r, 255); // red stays red
  EXPECT_EQ(rest.b, 0);
  EXPECT_FALSE(g.saveBackBuffer(file("none.png").c_str(), 7, 0, 0)); // nothing written: false
  EXPECT_EQ(fopen(files.back().c_str(), "rb"), nullptr);
  EXPECT_FALSE(g.saveBackBuffer("/nonexistent-folder/shot.png", K_SAVE_PNG, 0, 0));
  EXPECT_TRUE(g.saveBackBuffer(name.c_str(), K_SAVE_PNG, 4000, 4000)); // cut to the back buffer
}

TEST_F(D3DLoading, LostTexturesReloadFromTheirFile) {
  std::string name = file("lost.tga");
  writeTGA(name, 4, 4, std::vector<uint32_t>(16, 0xFF00FF00), 24);
  KGraphicD3D g, array;
  ASSERT_TRUE(g.loadPicture(name.c_str(), true, false));
  std::vector<uint32_t> px(16, 0xFFFFFFFF);
  ASSERT_TRUE(array.makePictureFromArray(px.data(), 4, 4, true));
  zyDDrawLoseSurface(g._surface);
  zyDDrawLoseSurface(array._surface);
  g.blitRect(0, 0, 4, 4, 10, 10, false, false);
  EXPECT_EQ(pixel(11, 11), 0x00FF00u);
  EXPECT_EQ(g._surface->IsLost(), DD_OK);
  array.blitRect(0, 0, 4, 4, 20, 20, false, false); // no file: it stays empty
  EXPECT_EQ(pixel(21, 21), 0u);
  EXPECT_EQ(array.getWidth(), 0.0f);
}

TEST(D3DLoadingClosed, NothingLoadsBeforeTheWindowOpens) {
  KGraphicD3D::setDirectX(nullptr, nullptr, nullptr, 0, 0);
  KGraphicD3D g;
  EXPECT_FALSE(g.loadPicture("whatever.tga", true, true));
  EXPECT_FALSE(g.grabBackBuffer(nullptr));
}

} // namespace
