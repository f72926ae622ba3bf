// The device's drawing modes against each other: primitives drawn at once by the reference
// rasteriser, and by the fast one drawn at once or deferred to the end of the scene and drawn in
// two bands on two threads. Random scenes through the whole device, including what must make
// the deferred drawing happen first (reading the target, changing a texture, clearing); the
// pixels must agree to the bit in every mode.

#include <random>

#include "ddraw_fixture.h"

namespace {

struct Mode {
  bool fast;
  int threads;
};

class DrawingModes : public DeviceFixture {
protected:
  void TearDown() override {
    DeviceFixture::TearDown();
    zyDDrawUseFastRasteriser(true);
    zyDDrawSetRasterThreads(2);
  }

  std::vector<uint32_t> everyPixel() {
    std::vector<uint32_t> out;
    for (int y = 0; y < height; y++)
      for (int x = 0; x < width; x++) out.push_back(pixel(x, y));
    return out;
  }

  void randomState(std::mt19937 &rng, IDirectDrawSurface7 *texture) {
    static const DWORD factors[] = {D3DBLEND_ZERO, D3DBLEND_ONE, D3DBLEND_SRCALPHA,
                                    D3DBLEND_INVSRCALPHA, D3DBLEND_DESTALPHA};
    bool add = rng() % 2;
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, rng() % 4 != 0);
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND,
                           rng() % 4 ? (DWORD)D3DBLEND_SRCALPHA : factors[rng() % 5]);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND,
                           add ? (DWORD)D3DBLEND_ONE : factors[rng() % 5]);
    device->SetTexture(0, rng() % 5 ? texture : nullptr);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, rng() % 4 ? D3DTFG_POINT : D3DTFG_LINEAR);
    device->SetTextureStageState(0, D3DTSS_ADDRESS,
                                 rng() % 2 ? D3DTADDRESS_WRAP : D3DTADDRESS_CLAMP);
  }

  // One scene from a seed; the target's pixels halfway (read within the scene) and at its end.
  std::vector<uint32_t> drawScene(const Mode &m, uint32_t seed, bool withAlpha) {
    zyDDrawUseFastRasteriser(m.fast);
    zyDDrawSetRasterThreads(m.threads);
    open(32, withAlpha);
    std::mt19937 rng(seed);
    std::vector<uint32_t> texels(16 * 16);
    for (uint32_t &t : texels) t = rng() % 3 == 0 ? rng() & 0xFFFFFF : rng();
    IDirectDrawSurface7 *texture = makeTexture32(16, 16, texels);
    std::uniform_real_distribution<float> pos(-10.0f, 74.0f), tex(-0.5f, 1.5f);
    clear(0xFF000000u | (rng() & 0xFFFFFF));
    std::vector<uint32_t> seen;
    for (int i = 0; i < 80; i++) {
      if (i == 40) seen = everyPixel(); // reading the target draws what is pending first
      if (i == 50) {                    // a texture changed between two primitives that use it
        texels[rng() % texels.size()] = rng();
        texture->Release();
        texture = makeTexture32(16, 16, texels);
      }
      if (i == 60) {
        D3DRECT r = {(long)(rng() % 32), (long)(rng() % 32), 40, 50};
        device->Clear(1, &r, D3DCLEAR_TARGET, rng(), 1.0f, 0);
      }
      randomState(rng, texture);
      D3DLVERTEX v[4];
      D3DCOLOR flat = rng();
      for (D3DLVERTEX &p : v)
        p = vertex(pos(rng), pos(rng), rng() % 2 ? flat : (D3DCOLOR)rng(), tex(rng), tex(rng));
      int kind = (int)(rng() % 8);
      if (kind < 5)
        device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_LVERTEX, v, 4, 0);
      else if (kind < 7)
        device->DrawPrimitive(D3DPT_LINELIST, D3DFVF_LVERTEX, v, 4, 0);
      else
        device->DrawPrimitive(D3DPT_POINTLIST, D3DFVF_LVERTEX, v, 4, 0);
    }
    device->EndScene();
    std::vector<uint32_t> end = everyPixel();
    seen.insert(seen.end(), end.begin(), end.end());
    texture->Release();
    return seen;
  }
};

TEST_F(DrawingModes, FastAtOnceAndInTwoBandsMatchTheReferenceBitForBit) {
  const Mode reference{false, 1}, modes[] = {{true, 1}, {true, 2}, {false, 2}};
  for (uint32_t seed = 1; seed <= 12; seed++) {
    bool withAlpha = seed % 2;
    std::vector<uint32_t> want = drawScene(reference, seed, withAlpha);
    size_t half = want.size() / 2;
    EXPECT_NE(std::vector<uint32_t>(want.begin(), want.begin() + half),
              std::vector<uint32_t>(want.begin() + half, want.end()))
        << "the scene's second half drew nothing, seed " << seed;
    for (const Mode &m : modes)
      EXPECT_EQ(drawScene(m, seed, withAlpha), want)
          << "fast " << m.fast << ", " << m.threads << " threads, seed " << seed;
  }
}

} // namespace
