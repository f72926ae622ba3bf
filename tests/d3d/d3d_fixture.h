#ifndef D3D_FIXTURE_H
#define D3D_FIXTURE_H

// An open Direct3D window on the dummy video driver, with its scene begun, recorded message
// boxes, and a device wrapper that counts texture binds and keeps the last vertices drawn.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "KGraphicD3D.h"
#include "KWindowD3D.h"
#include "host_testing.h"

// Forwards to the real device; counts SetTexture calls and records the last primitive.
class RecordingDevice final : public IDirect3DDevice7 {
public:
  explicit RecordingDevice(IDirect3DDevice7 *real) : _real(real) {}
  int binds = 0;
  std::vector<D3DLVERTEX> last;
  D3DPRIMITIVETYPE lastType = D3DPT_POINTLIST;

  DWORD AddRef() override { return 1; }
  DWORD Release() override { return 1; }
  HRESULT SetRenderTarget(IDirectDrawSurface7 *t, DWORD f) override {
    return _real->SetRenderTarget(t, f);
  }
  HRESULT SetViewport(D3DVIEWPORT7 *v) override { return _real->SetViewport(v); }
  HRESULT GetViewport(D3DVIEWPORT7 *v) override { return _real->GetViewport(v); }
  HRESULT SetTransform(D3DTRANSFORMSTATETYPE s, D3DMATRIX *m) override {
    return _real->SetTransform(s, m);
  }
  HRESULT GetTransform(D3DTRANSFORMSTATETYPE s, D3DMATRIX *m) override {
    return _real->GetTransform(s, m);
  }
  HRESULT SetRenderState(D3DRENDERSTATETYPE s, DWORD v) override {
    return _real->SetRenderState(s, v);
  }
  HRESULT GetRenderState(D3DRENDERSTATETYPE s, DWORD *v) override {
    return _real->GetRenderState(s, v);
  }
  HRESULT SetTextureStageState(DWORD st, D3DTEXTURESTAGESTATETYPE s, DWORD v) override {
    return _real->SetTextureStageState(st, s, v);
  }
  HRESULT GetTextureStageState(DWORD st, D3DTEXTURESTAGESTATETYPE s, DWORD *v) override {
    return _real->GetTextureStageState(st, s, v);
  }
  HRESULT SetTexture(DWORD st, IDirectDrawSurface7 *t) override {
    binds++;
    return _real->SetTexture(st, t);
  }
  HRESULT GetTexture(DWORD st, IDirectDrawSurface7 **t) override {
    return _real->GetTexture(st, t);
  }
  HRESULT BeginScene() override { return _real->BeginScene(); }
  HRESULT EndScene() override { return _real->EndScene(); }
  HRESULT Clear(DWORD n, D3DRECT *r, DWORD f, D3DCOLOR c, D3DVALUE z, DWORD s) override {
    return _real->Clear(n, r, f, c, z, s);
  }
  HRESULT DrawPrimitive(D3DPRIMITIVETYPE t, DWORD fvf, void *v, DWORD n, DWORD f) override {
    lastType = t;
    last.assign((D3DLVERTEX *)v, (D3DLVERTEX *)v + n);
    return _real->DrawPrimitive(t, fvf, v, n, f);
  }
  HRESULT PreLoad(IDirectDrawSurface7 *t) override { return _real->PreLoad(t); }

private:
  IDirect3DDevice7 *_real;
};

struct D3DWindow : ::testing::Test {
  KWindowD3D *window = nullptr;
  int size = 160;
  static std::vector<std::string> &boxes() {
    static std::vector<std::string> b;
    return b;
  }

  void SetUp() override { open(-1, true); }
  void TearDown() override { close(); }

  void open(short depth, bool windowed) {
    close();
    hostTestReset();
    hostTestSetNoFrameWait(true);
    boxes().clear();
    hostTestSetMessageBoxHandler(
        [](void *, const char *, const char *text) { boxes().push_back(text); }, nullptr);
    window = new KWindowD3D(false);
    ASSERT_TRUE(
        window->createGameWindow((short)size, (short)size, depth, windowed, "Zyphora test"));
    window->flipBackBuffer(false, true); // the first scene begins here
    window->setWorldView(0, 0, 0, 1, true);
  }
  void close() {
    delete window;
    window = nullptr;
    zyDDrawSetDisplayDepth(32);
    hostTestReset();
  }

  static uint32_t read(IDirectDrawSurface7 *s, int x, int y) {
    DDSURFACEDESC2 d{};
    d.dwSize = sizeof d;
    if (FAILED(s->Lock(nullptr, &d, DDLOCK_WAIT, nullptr))) return 0xDEADBEEF;
    const char *row = (const char *)d.lpSurface + y * d.lPitch;
    uint32_t v = d.ddpfPixelFormat.dwRGBBitCount == 32 ? ((const uint32_t *)row)[x] & 0xFFFFFF
                                                       : ((const uint16_t *)row)[x];
    s->Unlock(nullptr);
    return v;
  }
  // The back buffer's R G B at (x, y) (32-bit back buffers).
  uint32_t pixel(int x, int y) { return read(window->_lpDDSBack, x, y); }
  uint32_t shown(int x, int y) { return read(window->_lpDDSPrimary, x, y); }
};

// Writes an uncompressed TGA of w x h A R G B pixels (rows from the top), 24 or 32 bits.
inline void writeTGA(const std::string &path, int w, int h, const std::vector<uint32_t> &argb,
                     int bits) {
  FILE *f = fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  unsigned char header[18] = {0, 0, 2};
  header[12] = (unsigned char)w;
  header[13] = (unsigned char)(w >> 8);
  header[14] = (unsigned char)h;
  header[15] = (unsigned char)(h >> 8);
  header[16] = (unsigned char)bits;
  header[17] = bits == 32 ? 8 : 0; // alpha bits; rows from the bottom
  fwrite(header, 1, 18, f);
  for (int y = h - 1; y >= 0; y--)
    for (int x = 0; x < w; x++) {
      uint32_t p = argb[(size_t)y * w + x];
      unsigned char px[4] = {(unsigned char)p, (unsigned char)(p >> 8), (unsigned char)(p >> 16),
                             (unsigned char)(p >> 24)};
      fwrite(px, 1, bits / 8, f);
    }
  fclose(f);
}

#endif
