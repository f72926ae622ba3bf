// The Direct3D window: contexts and device, view transform, gamma, full screen. The frame cap and
// the message dispatch are the window contract's (tests/contract).

#include <cmath>

#include "KGraphicD3D.h"
#include "d3d_fixture.h"
#include "matrices.h"

namespace {

TEST_F(D3DWindow, OpensWithTheSoftwareDeviceAndPublishesItToPictures) {
  ASSERT_NE(window->_lpD3DDevice, nullptr); // the hardware kinds were refused on the way
  EXPECT_EQ(KGraphicD3D::_d3d, window->_lpD3DDevice);
  EXPECT_EQ(KGraphicD3D::_backBuffer, window->_lpDDSBack);
  EXPECT_EQ(KGraphicD3D::_screenWidth, size);
  D3DVIEWPORT7 vp{};
  window->_lpD3DDevice->GetViewport(&vp);
  EXPECT_EQ(vp.dwWidth, (DWORD)size);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(D3DWindow, GammaSettings) {
  window->setGamma(-1);
  EXPECT_EQ(window->_gamma, 0.0f);
  window->setGamma(1.5f);
  EXPECT_EQ(window->_gamma, 1.5f);
}

TEST_F(D3DWindow, GammaDarkensPresentedFramesAndZeroIsBlack) {
  KGraphicD3D g;
  const float gammas[] = {1.5f, 0.25f, -1.0f};
  const uint32_t expected[] = {0xFFFFFF, 0x404040, 0x000000};
  for (int i = 0; i < 3; i++) {
    window->setGamma(gammas[i]);
    g.drawRect(0, 0, (float)size, (float)size, 1, 1, 1, 1);
    window->flipBackBuffer(false, true);
    uint32_t p = shown(20, 20);
    for (int c = 0; c < 24; c += 8)
      EXPECT_NEAR((double)((p >> c) & 255), (double)((expected[i] >> c) & 255), 1) << gammas[i];
  }
}

TEST_F(D3DWindow, GammaDarkensEvenAfterAnAdditivePicture) {
  KGraphicD3D g;
  g.setAlphaMode(K_ALPHA_ADD); // leaves source alpha + destination alpha in the device
  g.drawRect(0, 0, (float)size, (float)size, 1, 1, 1, 1);
  window->setGamma(0);
  window->flipBackBuffer(false, true);
  EXPECT_EQ(shown(5, 5), 0u);
}

TEST_F(D3DWindow, ClearColourPacksTruncatedChannels) {
  window->setClearColor(1, 0, 0, 1);
  EXPECT_EQ(window->_clearColor, 0xFFFF0000u);
  window->setClearColor(0.5f, 0.25f, 1, 0);
  EXPECT_EQ(window->_clearColor, 0x007F3FFFu);
  window->setWorldView(0, 0, 0, 1, true);
  EXPECT_EQ(pixel(3, 3), 0x7F3FFFu);
}

TEST_F(D3DWindow, WorldViewShiftsUpAndTurnsCounterClockwiseAboutTheCentre) {
  KGraphicD3D g;
  window->setWorldView(0, 10, 0, 1, false);
  g.plotPixel(50, 50, 1, 1, 1, 1);
  EXPECT_EQ(pixel(50, 40), 0xFFFFFFu);
  EXPECT_EQ(pixel(50, 50), 0u);

  window->setWorldView(0, 0, 90, 1, true);
  g.plotPixel(130, 80, 1, 1, 1, 1);    // 50 right of the centre (80, 80) ...
  EXPECT_EQ(pixel(80, 30), 0xFFFFFFu); // ... lands 50 above it
  D3DMATRIX view;
  window->_lpD3DDevice->GetTransform(D3DTRANSFORMSTATE_VIEW, &view);
  double a = 90 * 6.28 / 360; // 89.95 degrees, not 90
  EXPECT_NEAR(view._11, std::cos(a), 1e-6);
  EXPECT_NEAR(view._12, std::sin(a), 1e-6);
  EXPECT_GT(view._11, 0.0007f);
}

TEST(Matrices, HelpersOverwriteTheirMatrix) {
  D3DMATRIX m;
  ortho(&m, 480, 480, -100, 100);
  EXPECT_FLOAT_EQ(m._11, 2.0f / 480);
  EXPECT_FLOAT_EQ(m._33, 1.0f / 200);
  EXPECT_FLOAT_EQ(m._43, 0.5f);
  EXPECT_FLOAT_EQ(m._44, 1.0f);
  translate(&m, 1, 2, 3);
  EXPECT_EQ(m._11, 1.0f);
  EXPECT_EQ(m._43, 3.0f);
  scale(&m, 2, 3, 4);
  EXPECT_EQ(m._41, 0.0f);
  EXPECT_EQ(m._33, 4.0f);
  D3DMATRIX a, b;
  translate(&a, 5, 0, 0);
  scale(&b, 2, 2, 1);
  multiply(&m, a, b); // translate first, then scale
  EXPECT_EQ(m._41, 10.0f);
}

TEST_F(D3DWindow, ToggleToTheSameStateDoesNothingAndPicturesSurviveARealToggle) {
  IDirect3DDevice7 *before = window->_lpD3DDevice;
  window->toggleFullScreen(false);
  EXPECT_EQ(window->_lpD3DDevice, before);

  uint32_t red = 0xFF0000FF; // red in the low byte
  std::vector<uint32_t> pixels(16 * 16, red);
  KGraphicD3D g;
  ASSERT_TRUE(g.makePictureFromArray(pixels.data(), 16, 16, true));
  window->toggleFullScreen(true);
  ASSERT_NE(window->_lpD3DDevice, nullptr);
  EXPECT_TRUE(window->_fullscreen);
  window->flipBackBuffer(false, true);
  g.blitRect(0, 0, 16, 16, 4, 4, false, false);
  EXPECT_EQ(pixel(5, 5), 0xF800u); // the full-screen mode is 16-bit (depth -1 becomes 16)
  window->toggleFullScreen(false);
  ASSERT_NE(window->_lpD3DDevice, nullptr);
  window->flipBackBuffer(false, true);
  g.blitRect(0, 0, 16, 16, 4, 4, false, false);
  EXPECT_EQ(pixel(5, 5), 0xFF0000u);
  window->flipBackBuffer(false, true);
  EXPECT_EQ(shown(5, 5), 0xFF0000u);
}

TEST_F(D3DWindow, FullScreenWithDepthZeroUsesSixteenBits) {
  open(0, false);
  DDSURFACEDESC2 d{};
  d.dwSize = sizeof d;
  window->_lpDDSBack->GetSurfaceDesc(&d);
  EXPECT_EQ(d.ddpfPixelFormat.dwRGBBitCount, 16u);
  EXPECT_TRUE(window->_fullscreen);
}

TEST_F(D3DWindow, RefusedFullScreenModeShowsBothMessages) {
  close();
  KWindowD3D w;
  hostTestSetMessageBoxHandler(
      [](void *, const char *, const char *text) { boxes().push_back(text); }, nullptr);
  boxes().clear();
  EXPECT_FALSE(w.createGameWindow(64, 64, 8, false, "eight bits"));
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[0], "Could not switch screen to 64x64 8 bits");
  EXPECT_EQ(boxes()[1], "can't create directX context for fullscreen, please reinstall direct X");
  hostTestReset();
}

TEST_F(D3DWindow, LostSurfacesAreRestoredAtTheFlip) {
  zyDDrawLoseSurface(window->_lpDDSPrimary);
  zyDDrawLoseSurface(window->_lpDDSBack);
  window->flipBackBuffer(false, true);
  EXPECT_EQ(window->_lpDDSPrimary->IsLost(), DD_OK);
  EXPECT_EQ(window->_lpDDSBack->IsLost(), DD_OK);
}

TEST_F(D3DWindow, DrawingBeforeTheFirstFlipIsNotShown) {
  close();
  hostTestSetNoFrameWait(true);
  KWindowD3D w;
  ASSERT_TRUE(w.createGameWindow(32, 32, -1, true, "first"));
  KGraphicD3D g;
  g.drawRect(0, 0, 32, 32, 1, 1, 1, 1);
  EXPECT_EQ(read(w._lpDDSBack, 3, 3), 0u);
  w.flipBackBuffer(false, true);
  g.drawRect(0, 0, 32, 32, 1, 1, 1, 1);
  EXPECT_EQ(read(w._lpDDSBack, 3, 3), 0xFFFFFFu);
}

} // namespace
