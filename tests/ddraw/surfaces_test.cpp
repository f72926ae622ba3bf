// DirectDraw objects and surfaces: creation, pixel formats, locks with a pitch, blits, loss,
// flipping and presenting without a display.

#include <SDL.h>

#include "ddraw_fixture.h"

namespace {

DDSURFACEDESC2 describe(IDirectDrawSurface7 *s) {
  DDSURFACEDESC2 d{};
  d.dwSize = sizeof d;
  EXPECT_EQ(s->GetSurfaceDesc(&d), DD_OK);
  return d;
}

using Surfaces = DeviceFixture;

TEST_F(Surfaces, OffScreenTargetTakesTheDisplayFormatAndAPaddedPitch) {
  DDSURFACEDESC2 d = describe(target);
  EXPECT_EQ(d.dwWidth, 64u);
  EXPECT_EQ(d.dwHeight, 64u);
  EXPECT_EQ(d.ddpfPixelFormat.dwRGBBitCount, 32u);
  EXPECT_EQ(d.ddpfPixelFormat.dwRBitMask, 0xFF0000u);
  EXPECT_EQ(d.ddpfPixelFormat.dwFlags & DDPF_ALPHAPIXELS, 0u);
  EXPECT_GT(d.lPitch, 64 * 4); // callers must honour the pitch
}

TEST_F(Surfaces, SixteenBitDisplaysGive565And555Targets) {
  open(16);
  EXPECT_EQ(describe(target).ddpfPixelFormat.dwGBitMask, 0x07E0u);
  open(15);
  EXPECT_EQ(describe(target).ddpfPixelFormat.dwGBitMask, 0x03E0u);
}

TEST_F(Surfaces, LockRectPointsIntoTheRowsAndRefusesASecondLock) {
  DDSURFACEDESC2 whole{}, part{};
  whole.dwSize = part.dwSize = sizeof whole;
  ASSERT_EQ(target->Lock(nullptr, &whole, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(target->Lock(nullptr, &part, DDLOCK_WAIT, nullptr), DDERR_SURFACEBUSY);
  target->Unlock(nullptr);
  RECT r = {3, 5, 10, 10};
  ASSERT_EQ(target->Lock(&r, &part, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ((char *)part.lpSurface, (char *)whole.lpSurface + 5 * whole.lPitch + 3 * 4);
  EXPECT_EQ(target->Unlock(nullptr), DD_OK);
  EXPECT_EQ(target->Unlock(nullptr), DDERR_NOTLOCKED);
}

TEST_F(Surfaces, ColourFillCoversItsRectangleOnly) {
  DDBLTFX fx{sizeof(DDBLTFX), 0x00123456};
  RECT r = {2, 3, 6, 5};
  ASSERT_EQ(target->Blt(&r, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx), DD_OK);
  EXPECT_EQ(pixel(2, 3), 0x00123456u);
  EXPECT_EQ(pixel(5, 4), 0x00123456u);
  EXPECT_EQ(pixel(6, 4), 0u);
  EXPECT_EQ(pixel(2, 5), 0u);
  EXPECT_EQ(pixel(1, 3), 0u);
}

TEST_F(Surfaces, CopyBltConvertsFormatsAndStretchesByPixelCentres) {
  // A 2 x 1 source of 16-bit 565 pixels: pure red, pure blue.
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  desc.dwWidth = 2;
  desc.dwHeight = 1;
  desc.ddpfPixelFormat = {sizeof(DDPIXELFORMAT), DDPF_RGB, 0, 16, 0xF800, 0x07E0, 0x001F, 0};
  IDirectDrawSurface7 *src = nullptr;
  ASSERT_EQ(dd->CreateSurface(&desc, &src, nullptr), DD_OK);
  DDSURFACEDESC2 l{};
  l.dwSize = sizeof l;
  ASSERT_EQ(src->Lock(nullptr, &l, DDLOCK_WAIT, nullptr), DD_OK);
  ((uint16_t *)l.lpSurface)[0] = 0xF800;
  ((uint16_t *)l.lpSurface)[1] = 0x001F;
  src->Unlock(nullptr);
  RECT d = {10, 0, 14, 2};
  ASSERT_EQ(target->Blt(&d, src, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  EXPECT_EQ(pixel(10, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(pixel(11, 1) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(pixel(12, 0) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(pixel(13, 1) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(pixel(14, 0), 0u);
  RECT outside = {0, 0, 3, 1};
  EXPECT_EQ(target->Blt(&d, src, &outside, DDBLT_WAIT, nullptr), DDERR_INVALIDPARAMS);
  src->Release();
}

// A copy at the same size and format, cut by the target's edges: each pixel where the source
// rectangle, placed at the destination, puts it, and nothing beyond.
TEST_F(Surfaces, OneToOneCopyBltPlacesEveryPixelAndClipsAtTheEdges) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  desc.dwWidth = 20;
  desc.dwHeight = 12;
  IDirectDrawSurface7 *src = nullptr;
  ASSERT_EQ(dd->CreateSurface(&desc, &src, nullptr), DD_OK);
  DDSURFACEDESC2 l{};
  l.dwSize = sizeof l;
  ASSERT_EQ(src->Lock(nullptr, &l, DDLOCK_WAIT, nullptr), DD_OK);
  auto sourcePixel = [](int x, int y) { return (uint32_t)(x * 0x010203 + y * 0x300000 + 1); };
  for (int y = 0; y < 12; y++)
    for (int x = 0; x < 20; x++)
      ((uint32_t *)((char *)l.lpSurface + y * l.lPitch))[x] = sourcePixel(x, y);
  src->Unlock(nullptr);
  RECT from = {2, 1, 18, 12}, to = {-3, 55, 13, 66}; // 16 x 11, off the left and bottom edges
  ASSERT_EQ(target->Blt(&to, src, &from, DDBLT_WAIT, nullptr), DD_OK);
  for (int y = 50; y < 64; y++)
    for (int x = 0; x < 20; x++) {
      bool inside = x < 13 && y >= 55;
      ASSERT_EQ(pixel(x, y), inside ? sourcePixel(x + 3 + 2, y - 55 + 1) : 0u) << x << ", " << y;
    }
  src->Release();
}

TEST_F(Surfaces, LostSurfacesRefuseWorkUntilRestored) {
  zyDDrawLoseSurface(target);
  EXPECT_EQ(target->IsLost(), DDERR_SURFACELOST);
  DDSURFACEDESC2 d{};
  d.dwSize = sizeof d;
  EXPECT_EQ(target->Lock(nullptr, &d, DDLOCK_WAIT, nullptr), DDERR_SURFACELOST);
  D3DLVERTEX p = vertex(1, 1, 0xFFFFFFFF);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_POINTLIST, D3DFVF_LVERTEX, &p, 1, 0), DDERR_SURFACELOST);
  EXPECT_EQ(target->Restore(), DD_OK);
  EXPECT_EQ(target->IsLost(), DD_OK);
  EXPECT_EQ(device->DrawPrimitive(D3DPT_POINTLIST, D3DFVF_LVERTEX, &p, 1, 0), D3D_OK);
}

TEST_F(Surfaces, TextureFormatsAndSizeLimits) {
  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
  desc.dwWidth = desc.dwHeight = 4096;
  desc.ddpfPixelFormat = {
      sizeof(DDPIXELFORMAT), DDPF_RGB | DDPF_ALPHAPIXELS, 0, 16, 0x0F00, 0x00F0, 0x000F, 0xF000};
  IDirectDrawSurface7 *s = nullptr;
  ASSERT_EQ(dd->CreateSurface(&desc, &s, nullptr), DD_OK);
  EXPECT_EQ(describe(s).ddpfPixelFormat.dwRGBAlphaBitMask, 0xF000u);
  s->Release();
  desc.dwWidth = 4097;
  EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DDERR_INVALIDPARAMS);
  desc.dwWidth = 8;
  desc.ddpfPixelFormat.dwGBitMask = 0x00F1; // not a format of ours
  EXPECT_EQ(dd->CreateSurface(&desc, &s, nullptr), DDERR_INVALIDPARAMS);
}

TEST(DirectDrawScreen, WindowedPrimaryShowsBlitsAndFullScreenFlips) {
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
  SDL_Window *window = SDL_CreateWindow("ddraw", 0, 0, 32, 24, 0);
  ASSERT_NE(window, nullptr);
  IDirectDraw7 *dd = nullptr;
  ASSERT_EQ(DirectDrawCreateEx(nullptr, (void **)&dd, IID_IDirectDraw7, nullptr), DD_OK);
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_NORMAL), DD_OK);
  EXPECT_EQ(dd->SetDisplayMode(32, 24, 16, 0, 0), DDERR_GENERIC); // not exclusive

  DDSURFACEDESC2 desc{};
  desc.dwSize = sizeof desc;
  desc.dwFlags = DDSD_CAPS;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_VIDEOMEMORY;
  IDirectDrawSurface7 *primary = nullptr, *back = nullptr;
  ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
  EXPECT_EQ(describe(primary).dwWidth, 32u); // the window's client area
  EXPECT_EQ(describe(primary).dwHeight, 24u);
  IDirectDrawClipper *clipper = nullptr;
  ASSERT_EQ(dd->CreateClipper(0, &clipper, nullptr), DD_OK);
  clipper->SetHWnd(0, window);
  primary->SetClipper(clipper);
  clipper->Release();

  desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE;
  desc.dwWidth = 32;
  desc.dwHeight = 24;
  ASSERT_EQ(dd->CreateSurface(&desc, &back, nullptr), DD_OK);
  DDBLTFX fx{sizeof(DDBLTFX), 0x00FF8000};
  back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
  ASSERT_EQ(primary->Blt(nullptr, back, nullptr, DDBLT_WAIT, nullptr), DD_OK);
  DDSURFACEDESC2 l{};
  l.dwSize = sizeof l;
  ASSERT_EQ(primary->Lock(nullptr, &l, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(((uint32_t *)l.lpSurface)[5] & 0xFFFFFF, 0xFF8000u);
  primary->Unlock(nullptr);
  back->Release();
  primary->Release();

  // Full screen: a flipping chain in the requested mode; a flip exchanges the buffers.
  ASSERT_EQ(dd->SetCooperativeLevel(window, DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_ALLOWREBOOT),
            DD_OK);
  EXPECT_EQ(dd->SetDisplayMode(32, 24, 8, 0, 0), DDERR_UNSUPPORTED);
  ASSERT_EQ(dd->SetDisplayMode(32, 24, 16, 0, 0), DD_OK);
  desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
  desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX | DDSCAPS_3DDEVICE;
  desc.dwBackBufferCount = 1;
  ASSERT_EQ(dd->CreateSurface(&desc, &primary, nullptr), DD_OK);
  DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, 0};
  ASSERT_EQ(primary->GetAttachedSurface(&caps, &back), DD_OK);
  EXPECT_EQ(describe(back).ddpfPixelFormat.dwRGBBitCount, 16u);
  fx.dwFillColor = 0xF800;
  back->Blt(nullptr, nullptr, nullptr, DDBLT_COLORFILL, &fx);
  ASSERT_EQ(primary->Flip(nullptr, DDFLIP_WAIT), DD_OK);
  ASSERT_EQ(primary->Lock(nullptr, &l, DDLOCK_WAIT, nullptr), DD_OK);
  EXPECT_EQ(((uint16_t *)l.lpSurface)[0], 0xF800);
  primary->Unlock(nullptr);
  back->Release();
  primary->Release();
  dd->RestoreDisplayMode();
  dd->Release();
  SDL_DestroyWindow(window);
  SDL_Quit();
}

} // namespace
