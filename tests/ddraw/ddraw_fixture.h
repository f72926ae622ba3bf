#ifndef DDRAW_FIXTURE_H
#define DDRAW_FIXTURE_H

// A DirectDraw object, an off-screen target and an RGB device on it, with a screen-space
// projection: world (x, y) lands on screen (x, y), so tests place vertices in pixels.

#include <gtest/gtest.h>

#include <vector>

#include "ddraw.h"

struct DeviceFixture : ::testing::Test {
  IDirectDraw7 *dd = nullptr;
  IDirect3D7 *d3d = nullptr;
  IDirectDrawSurface7 *target = nullptr;
  IDirect3DDevice7 *device = nullptr;
  int width = 64, height = 64;

  void SetUp() override { open(32); }
  void TearDown() override { close(); }

  void open(int depth, bool withAlpha = false) {
    close();
    ASSERT_EQ(DirectDrawCreateEx(nullptr, (void **)&dd, IID_IDirectDraw7, nullptr), DD_OK);
    ASSERT_EQ(dd->QueryInterface(IID_IDirect3D7, (void **)&d3d), DD_OK);
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
    desc.dwWidth = width;
    desc.dwHeight = height;
    zyDDrawSetDisplayDepth(depth);
    if (withAlpha) {
      desc.dwFlags |= DDSD_PIXELFORMAT;
      desc.ddpfPixelFormat = {sizeof(DDPIXELFORMAT),
                              DDPF_RGB | DDPF_ALPHAPIXELS,
                              0,
                              32,
                              0xFF0000,
                              0xFF00,
                              0xFF,
                              0xFF000000};
    }
    ASSERT_EQ(dd->CreateSurface(&desc, &target, nullptr), DD_OK);
    zyDDrawSetDisplayDepth(32);
    ASSERT_EQ(d3d->CreateDevice(IID_IDirect3DRGBDevice, target, &device), D3D_OK);
    D3DMATRIX proj = {2.0f / width, 0, 0, 0, 0, -2.0f / height, 0, 0, 0, 0, 1, 0, -1, 1, 0, 1};
    device->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &proj);
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
    device->SetRenderState(D3DRENDERSTATE_LIGHTING, 0);
    // Alpha as the renderer sets it: texture alpha x diffuse alpha.
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->BeginScene();
  }

  void close() {
    if (device) device->Release();
    if (target) target->Release();
    if (d3d) d3d->Release();
    if (dd) dd->Release();
    device = nullptr;
    target = nullptr;
    d3d = nullptr;
    dd = nullptr;
  }

  // A managed texture of the given format filled from A R G B values (converted per format).
  IDirectDrawSurface7 *makeTexture(int w, int h, DDPIXELFORMAT pf,
                                   const std::vector<uint16_t> &raw16,
                                   const std::vector<uint32_t> &raw32) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
    desc.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE;
    desc.dwWidth = w;
    desc.dwHeight = h;
    desc.ddpfPixelFormat = pf;
    IDirectDrawSurface7 *tex = nullptr;
    EXPECT_EQ(dd->CreateSurface(&desc, &tex, nullptr), DD_OK);
    DDSURFACEDESC2 locked{};
    locked.dwSize = sizeof locked;
    EXPECT_EQ(tex->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
    for (int y = 0; y < h; y++)
      for (int x = 0; x < w; x++) {
        char *row = (char *)locked.lpSurface + y * locked.lPitch;
        if (pf.dwRGBBitCount == 16)
          ((uint16_t *)row)[x] = raw16[y * w + x];
        else
          ((uint32_t *)row)[x] = raw32[y * w + x];
      }
    tex->Unlock(nullptr);
    return tex;
  }
  IDirectDrawSurface7 *makeTexture32(int w, int h, const std::vector<uint32_t> &argb) {
    return makeTexture(w, h,
                       {sizeof(DDPIXELFORMAT), DDPF_RGB | DDPF_ALPHAPIXELS, 0, 32, 0xFF0000, 0xFF00,
                        0xFF, 0xFF000000},
                       {}, argb);
  }

  // The target's pixel (x, y) as stored (32- or 16-bit).
  uint32_t pixel(int x, int y) {
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    EXPECT_EQ(target->Lock(nullptr, &desc, DDLOCK_WAIT, nullptr), DD_OK);
    const char *row = (const char *)desc.lpSurface + y * desc.lPitch;
    uint32_t v = desc.ddpfPixelFormat.dwRGBBitCount == 32 ? ((const uint32_t *)row)[x]
                                                          : ((const uint16_t *)row)[x];
    target->Unlock(nullptr);
    return v;
  }

  void clear(D3DCOLOR c) { device->Clear(0, nullptr, D3DCLEAR_TARGET, c, 1.0f, 0); }

  static D3DLVERTEX vertex(float x, float y, D3DCOLOR c, float u = 0, float v = 0) {
    return {x, y, 0.5f, 0, c, 0, u, v};
  }

  // A quad from (x0, y0) to (x1, y1) with texture coordinates (u0, v0)..(u1, v1), as a strip.
  void quad(float x0, float y0, float x1, float y1, D3DCOLOR c, float u0 = 0, float v0 = 0,
            float u1 = 1, float v1 = 1) {
    D3DLVERTEX q[4] = {vertex(x0, y0, c, u0, v0), vertex(x1, y0, c, u1, v0),
                       vertex(x0, y1, c, u0, v1), vertex(x1, y1, c, u1, v1)};
    ASSERT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, q, 4, 0), D3D_OK);
  }
};

#endif
