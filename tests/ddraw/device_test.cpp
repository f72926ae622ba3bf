// The RGB device through its API: creation, state, scenes, transforms and what it draws.

#include <cmath>

#include "ddraw_fixture.h"

namespace {

using Device = DeviceFixture;

TEST_F(Device, HardwareKindsAreRefusedAndTheRGBDeviceIsMade) {
  IDirect3DDevice7 *d = nullptr;
  EXPECT_TRUE(FAILED(d3d->CreateDevice(IID_IDirect3DTnLHalDevice, target, &d)));
  EXPECT_TRUE(FAILED(d3d->CreateDevice(IID_IDirect3DHALDevice, target, &d)));
  EXPECT_EQ(d, nullptr);
  ASSERT_EQ(d3d->CreateDevice(IID_IDirect3DRGBDevice, target, &d), D3D_OK);
  d->Release();
}

TEST_F(Device, DrawingNeedsAnOpenSceneAndTheLitVertexFormat) {
  D3DLVERTEX p = vertex(3, 3, 0xFFFFFFFF);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_POINTLIST, 0x144, &p, 1, 0), DDERR_INVALIDPARAMS);
  EXPECT_EQ(device->BeginScene(), D3DERR_SCENE_IN_SCENE);
  ASSERT_EQ(device->EndScene(), D3D_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_POINTLIST, D3DFVF_LVERTEX, &p, 1, 0),
            D3DERR_SCENE_NOT_IN_SCENE);
  EXPECT_EQ(pixel(3, 3), 0u);
  device->BeginScene();
  EXPECT_EQ(device->DrawPrimitive(D3DPT_POINTLIST, D3DFVF_LVERTEX, &p, 1, 0), D3D_OK);
  EXPECT_EQ(pixel(3, 3), 0xFFFFFFFFu);
}

TEST_F(Device, TransformsComposeAsRowVectorsWorldViewProjection) {
  D3DMATRIX world = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 10, 0, 0, 1}; // x + 10
  D3DMATRIX view = {2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};   // then doubled
  device->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
  device->SetTransform(D3DTRANSFORMSTATE_VIEW, &view);
  D3DMATRIX back{};
  device->GetTransform(D3DTRANSFORMSTATE_WORLD, &back);
  EXPECT_EQ(back._41, 10.0f);
  D3DLVERTEX p = vertex(3, 4, 0xFFFFFFFF);
  device->DrawPrimitive(D3DPT_POINTLIST, D3DFVF_LVERTEX, &p, 1, 0);
  EXPECT_EQ(pixel(26, 8), 0xFFFFFFFFu);
}

TEST_F(Device, ClearFillsTheViewportWithTheColour) {
  D3DVIEWPORT7 vp = {4, 4, 8, 8, 0, 1};
  ASSERT_EQ(device->SetViewport(&vp), D3D_OK);
  clear(0xFF102030);
  EXPECT_EQ(pixel(4, 4), 0xFF102030u);
  EXPECT_EQ(pixel(11, 11), 0xFF102030u);
  EXPECT_EQ(pixel(12, 11), 0u);
  D3DVIEWPORT7 tooBig = {60, 0, 8, 8, 0, 1};
  EXPECT_EQ(device->SetViewport(&tooBig), DDERR_INVALIDPARAMS);
}

TEST_F(Device, TwoTrianglesSharingAnEdgeCoverEveryPixelOnce) {
  // Additive blending of 1 per cover: a pixel covered twice would read 2.
  device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_ONE);
  device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_ONE);
  const D3DCOLOR one = 0x00010101;
  // A quad with fractional corners split along its diagonal, then a fan of thin slivers.
  D3DLVERTEX q[6] = {vertex(2.3f, 3.7f, one),  vertex(40.6f, 1.2f, one),  vertex(5.5f, 50.5f, one),
                     vertex(40.6f, 1.2f, one), vertex(44.1f, 47.9f, one), vertex(5.5f, 50.5f, one)};
  device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, q, 6, 0);
  int covered = 0;
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) {
      uint32_t p = pixel(x, y) & 0xFF;
      ASSERT_LE(p, 1u) << x << "," << y;
      covered += (int)p;
    }
  // Coverage by pixel centres is close to the quad's area (1806.08 square pixels).
  EXPECT_NEAR(covered, 1806, 30);

  clear(0);
  std::vector<D3DLVERTEX> fan;
  for (int i = 0; i < 24; i++) {
    float a0 = i * 6.2831853f / 24, a1 = (i + 1) * 6.2831853f / 24;
    fan.push_back(vertex(31.3f, 30.6f, one));
    fan.push_back(vertex(31.3f + 25 * std::cos(a0), 30.6f + 25 * std::sin(a0), one));
    fan.push_back(vertex(31.3f + 25 * std::cos(a1), 30.6f + 25 * std::sin(a1), one));
  }
  device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, fan.data(), (DWORD)fan.size(), 0);
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) {
      uint32_t p = pixel(x, y) & 0xFF;
      ASSERT_LE(p, 1u) << x << "," << y;
      if (std::hypot(x - 31.3, y - 30.6) < 23) { ASSERT_EQ(p, 1u) << x << "," << y; }
    }
}

TEST_F(Device, TopLeftRuleOwnsTheTopAndLeftEdgesOfAQuad) {
  quad(10, 10, 20, 15, 0xFFFFFFFF);
  EXPECT_EQ(pixel(10, 10), 0xFFFFFFFFu); // top-left corner on the edges: drawn
  EXPECT_EQ(pixel(19, 14), 0xFFFFFFFFu);
  EXPECT_EQ(pixel(20, 12), 0u); // right edge: not drawn
  EXPECT_EQ(pixel(12, 15), 0u); // bottom edge: not drawn
  EXPECT_EQ(pixel(9, 12), 0u);
  EXPECT_EQ(pixel(12, 9), 0u);
}

TEST_F(Device, OneToOneBlitWithHalfPixelOffsetsMapsEveryTexelToOnePixel) {
  std::vector<uint32_t> texels(16 * 16);
  for (int i = 0; i < 256; i++) texels[i] = 0xFF000000u | (uint32_t)i * 0x010203u;
  IDirectDrawSurface7 *tex = makeTexture32(16, 16, texels);
  device->SetTexture(0, tex);
  for (DWORD filter : {D3DTFG_POINT, D3DTFG_LINEAR}) {
    clear(0);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
    quad(7 - 0.5f, 9 - 0.5f, 23 - 0.5f, 25 - 0.5f, 0xFFFFFFFF);
    for (int y = 0; y < 16; y++)
      for (int x = 0; x < 16; x++) ASSERT_EQ(pixel(7 + x, 9 + y), texels[y * 16 + x] | 0xFF000000u);
    EXPECT_EQ(pixel(6, 9), 0u);
    EXPECT_EQ(pixel(23, 9), 0u);
    EXPECT_EQ(pixel(7, 25), 0u);
  }
  tex->Release();
}

TEST_F(Device, PointSamplingKeepsEdgesBilinearBlendsNeighbours) {
  IDirectDrawSurface7 *tex = makeTexture32(2, 1, {0xFF000000, 0xFFFFFFFF});
  device->SetTexture(0, tex);
  device->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
  quad(-0.5f, -0.5f, 7.5f, 0.5f, 0xFFFFFFFF); // 2 texels over 8 pixels
  EXPECT_EQ(pixel(3, 0) & 0xFF, 0u);
  EXPECT_EQ(pixel(4, 0) & 0xFF, 255u);
  device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_LINEAR);
  quad(-0.5f, -0.5f, 7.5f, 0.5f, 0xFFFFFFFF);
  // Pixel x samples texel coordinate (x + 0.5) / 4 - 0.5: clamped at the ends, a ramp between.
  const uint32_t expected[8] = {0, 0, 32, 96, 159, 223, 255, 255};
  for (int x = 0; x < 8; x++) EXPECT_NEAR((double)(pixel(x, 0) & 0xFF), expected[x], 1) << x;
  tex->Release();
}

TEST_F(Device, WrapRepeatsTheTextureClampStretchesItsEdge) {
  IDirectDrawSurface7 *tex = makeTexture32(2, 1, {0xFFFF0000, 0xFF0000FF});
  device->SetTexture(0, tex);
  quad(-0.5f, -0.5f, 7.5f, 0.5f, 0xFFFFFFFF, 0, 0, 4, 1); // default: wrap
  for (int x = 0; x < 8; x++) EXPECT_EQ(pixel(x, 0), x % 2 ? 0xFF0000FFu : 0xFFFF0000u) << x;
  device->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);
  quad(-0.5f, -0.5f, 7.5f, 0.5f, 0xFFFFFFFF, 0, 0, 4, 1);
  EXPECT_EQ(pixel(0, 0), 0xFFFF0000u);
  for (int x = 1; x < 8; x++) EXPECT_EQ(pixel(x, 0), 0xFF0000FFu) << x;
  tex->Release();
}

TEST_F(Device, TextureIsModulatedByDiffuseForColourAndAlpha) {
  IDirectDrawSurface7 *tex = makeTexture32(1, 1, {0x80FF8040});
  device->SetTexture(0, tex);
  quad(0, 0, 4, 4, 0x80808080);
  // 0x80 * 0x80 / 255 = 64.25 -> 0x40; 0xFF -> 0x80; 0x40 -> 0x20.
  EXPECT_EQ(pixel(1, 1), 0x40804020u);
  device->SetTexture(0, nullptr); // no texture: the diffuse colour alone
  quad(0, 0, 4, 4, 0x80808080);
  EXPECT_EQ(pixel(1, 1), 0x80808080u);
  tex->Release();
}

TEST_F(Device, BlendFactorsEachPairMatchTheirEquation) {
  open(32, true); // a target with alpha, so that DESTALPHA reads it
  const D3DBLEND factors[] = {D3DBLEND_ZERO, D3DBLEND_ONE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
                              D3DBLEND_DESTALPHA};
  const uint32_t src = 0x60C08020, dst = 0xA0204080;
  auto factor = [&](D3DBLEND f) -> double {
    switch (f) {
    case D3DBLEND_ZERO: return 0;
    case D3DBLEND_ONE: return 1;
    case D3DBLEND_SRCALPHA: return 0x60 / 255.0;
    case D3DBLEND_INVSRCALPHA: return 1 - 0x60 / 255.0;
    default: return 0xA0 / 255.0;
    }
  };
  device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  for (D3DBLEND fs : factors)
    for (D3DBLEND fd : factors) {
      clear(dst);
      device->SetRenderState(D3DRENDERSTATE_SRCBLEND, fs);
      device->SetRenderState(D3DRENDERSTATE_DESTBLEND, fd);
      quad(0, 0, 2, 2, src);
      uint32_t got = pixel(0, 0);
      for (int c = 0; c < 32; c += 8) {
        double want = ((src >> c) & 255) * factor(fs) + ((dst >> c) & 255) * factor(fd);
        EXPECT_NEAR((double)((got >> c) & 255), std::min(255.0, std::round(want)), 0.5)
            << fs << " " << fd << " channel " << c;
      }
    }
}

TEST_F(Device, TargetWithoutAlphaReadsDestinationAlphaAsOne) {
  device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, 1);
  device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
  device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_DESTALPHA);
  clear(0x00204080); // alpha 0 stored, but the format has none
  quad(0, 0, 2, 2, 0x80FF0000);
  EXPECT_EQ(pixel(0, 0) & 0xFFFFFF, 0xA04080u); // 255 * 128/255 + 0x20, then the rest added
}

TEST_F(Device, SixteenBitTexturesExpandTheirChannels) {
  IDirectDrawSurface7 *t4444 = makeTexture(
      2, 1,
      {sizeof(DDPIXELFORMAT), DDPF_RGB | DDPF_ALPHAPIXELS, 0, 16, 0x0F00, 0x00F0, 0x000F, 0xF000},
      {0xF8C4, 0x1234}, {});
  IDirectDrawSurface7 *t555 =
      makeTexture(2, 1, {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, 16, 0x7C00, 0x03E0, 0x001F, 0},
                  {0x7C1F, 0x0210}, {});
  device->SetTexture(0, t4444);
  quad(-0.5f, -0.5f, 1.5f, 0.5f, 0xFFFFFFFF);
  EXPECT_EQ(pixel(0, 0), 0xFF88CC44u);
  EXPECT_EQ(pixel(1, 0), 0x11223344u);
  device->SetTexture(0, t555);
  quad(-0.5f, -0.5f, 1.5f, 0.5f, 0xFFFFFFFF);
  EXPECT_EQ(pixel(0, 0), 0xFFFF00FFu);
  EXPECT_EQ(pixel(1, 0), 0xFF008484u); // 0x10 of 31 -> 0x84
  device->SetTexture(0, nullptr);
  t4444->Release();
  t555->Release();
}

TEST_F(Device, LinesCoverCentresAlongTheMajorAxisWithTheLastPixelByDefault) {
  D3DLVERTEX h[2] = {vertex(10, 20, 0xFFFFFFFF), vertex(30, 20, 0xFFFFFFFF)};
  device->DrawPrimitive(D3DPT_LINELIST, D3DFVF_LVERTEX, h, 2, 0);
  EXPECT_EQ(pixel(9, 20), 0u);
  for (int x = 10; x <= 30; x++) EXPECT_EQ(pixel(x, 20), 0xFFFFFFFFu) << x;
  EXPECT_EQ(pixel(31, 20), 0u);
  EXPECT_EQ(pixel(15, 19), 0u);
  device->SetRenderState(D3DRENDERSTATE_LASTPIXEL, 0);
  D3DLVERTEX d[2] = {vertex(40, 40, 0xFF00FF00), vertex(30, 35, 0xFF00FF00)};
  device->DrawPrimitive(D3DPT_LINELIST, D3DFVF_LVERTEX, d, 2, 0);
  EXPECT_EQ(pixel(40, 40), 0xFF00FF00u);
  EXPECT_EQ(pixel(32, 36), 0xFF00FF00u); // y = 36 exactly: centre
  EXPECT_EQ(pixel(30, 35), 0u);          // the last pixel, left out
}

TEST_F(Device, PointsLandOnTheNearestPixelCentre) {
  D3DLVERTEX p[3] = {vertex(5, 7, 0xFFFFFFFF), vertex(8.4f, 2.6f, 0xFF0000FF),
                     vertex(-0.4f, 0, 0xFFFF0000)};
  device->DrawPrimitive(D3DPT_POINTLIST, D3DFVF_LVERTEX, p, 3, 0);
  EXPECT_EQ(pixel(5, 7), 0xFFFFFFFFu);
  EXPECT_EQ(pixel(8, 3), 0xFF0000FFu);
  EXPECT_EQ(pixel(0, 0), 0xFFFF0000u);
}

TEST_F(Device, EverythingIsClippedToTheViewport) {
  D3DVIEWPORT7 vp = {8, 8, 16, 16, 0, 1};
  device->SetViewport(&vp);
  D3DMATRIX proj = {2.0f / 16, 0, 0, 0, 0, -2.0f / 16, 0, 0, 0, 0, 1, 0, -1, 1, 0, 1};
  device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
  // A huge triangle, a line across, points outside: only the viewport changes.
  D3DLVERTEX big[3] = {vertex(-5000, -5000, 0xFFFFFFFF), vertex(9000, -4000, 0xFFFFFFFF),
                       vertex(-4000, 9000, 0xFFFFFFFF)};
  device->DrawPrimitive(D3DPT_TRIANGLELIST, D3DFVF_LVERTEX, big, 3, 0);
  D3DLVERTEX line[2] = {vertex(-100, 3, 0xFF00FF00), vertex(100, 3, 0xFF00FF00)};
  device->DrawPrimitive(D3DPT_LINELIST, D3DFVF_LVERTEX, line, 2, 0);
  D3DLVERTEX pt = vertex(-1, 5, 0xFF0000FF);
  device->DrawPrimitive(D3DPT_POINTLIST, D3DFVF_LVERTEX, &pt, 1, 0);
  for (int y = 0; y < height; y++)
    for (int x = 0; x < width; x++) {
      bool inside = x >= 8 && x < 24 && y >= 8 && y < 24;
      uint32_t want = !inside ? 0u : y == 11 ? 0xFF00FF00u : 0xFFFFFFFFu;
      ASSERT_EQ(pixel(x, y), want) << x << "," << y;
    }
}

TEST_F(Device, CullModesDropOneWindingStripsAlternate) {
  device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
  quad(0, 0, 8, 8, 0xFFFFFFFF); // a strip: both triangles clockwise on screen
  EXPECT_EQ(pixel(1, 1), 0xFFFFFFFFu);
  EXPECT_EQ(pixel(6, 6), 0xFFFFFFFFu);
  clear(0);
  device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CW);
  quad(0, 0, 8, 8, 0xFFFFFFFF);
  EXPECT_EQ(pixel(1, 1), 0u);
  EXPECT_EQ(pixel(6, 6), 0u);
}

TEST_F(Device, DrawsOnSixteenBitTargets) {
  open(16);
  quad(0, 0, 4, 4, 0xFFFF8040);
  EXPECT_EQ(pixel(1, 1), (uint32_t)((0xFF >> 3) << 11 | (0x80 >> 2) << 5 | 0x40 >> 3));
  open(15);
  quad(0, 0, 4, 4, 0xFFFF8040);
  EXPECT_EQ(pixel(1, 1), (uint32_t)((0xFF >> 3) << 10 | (0x80 >> 3) << 5 | 0x40 >> 3));
}

} // namespace
