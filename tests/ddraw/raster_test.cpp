// The fast rasteriser against the reference one: the same pixels, bit for bit, over random
// triangles in every state the device can set.

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "raster.h"

using namespace zyddraw;

namespace {

struct Canvas {
  Layout layout;
  int width = 40, height = 36;
  long pitch;
  std::vector<uint8_t> pixels;
  Canvas(Layout l, uint32_t seed) : layout(l), pitch(width * bytesPerPixel(l) + 8) {
    pixels.resize((size_t)pitch * height);
    std::mt19937 rng(seed);
    for (uint8_t &b : pixels) b = (uint8_t)rng();
  }
  Target target() { return {pixels.data(), pitch, layout}; }
};

RasterVertex randomVertex(std::mt19937 &rng, bool flat, const RasterVertex &first) {
  std::uniform_real_distribution<float> pos(-12.0f, 52.0f), col(0.0f, 255.0f), tex(-1.5f, 2.5f);
  RasterVertex v{pos(rng), pos(rng), col(rng), col(rng), col(rng), col(rng), tex(rng), tex(rng)};
  if (flat) {
    v.a = first.a;
    v.r = first.r;
    v.g = first.g;
    v.b = first.b;
  }
  return v;
}

// One triangle drawn both ways on two copies of the same random canvas: whether the two
// differ, and whether the triangle changed any pixel.
struct Comparison {
  bool differs, drew;
};
Comparison compareOne(const RasterState &s, Layout layout, const RasterVertex v[3], uint32_t seed) {
  Canvas fast(layout, seed), reference(layout, seed), untouched(layout, seed);
  drawTriangleFast(s, fast.target(), v);
  drawTriangleReference(s, reference.target(), v);
  return {fast.pixels != reference.pixels, untouched.pixels != reference.pixels};
}

TEST(Rasteriser, FastMatchesReferenceBitForBit) {
  std::mt19937 rng(1234);
  std::vector<uint32_t> texels(8 * 4);
  for (uint32_t &t : texels) t = rng();
  Texture pow2{texels.data(), 8, 4}, odd{texels.data(), 5, 3};
  const D3DBLEND factors[] = {D3DBLEND_ZERO, D3DBLEND_ONE, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA,
                              D3DBLEND_DESTALPHA};
  const Layout layouts[] = {Layout::XRGB8888, Layout::ARGB8888, Layout::RGB565, Layout::XRGB1555};
  long differing = 0, drawn = 0;
  for (int round = 0; round < 3000; round++) {
    RasterState s;
    int texChoice = (int)(rng() % 3);
    s.texture = texChoice == 0 ? nullptr : texChoice == 1 ? &pow2 : &odd;
    s.bilinear = rng() % 2;
    s.wrapU = rng() % 2;
    s.wrapV = rng() % 2;
    s.colour = rng() % 5 ? Combine::Modulate : (rng() % 2 ? Combine::Texture : Combine::Diffuse);
    s.alpha = rng() % 5 ? Combine::Modulate : (rng() % 2 ? Combine::Texture : Combine::Diffuse);
    s.blend = rng() % 2;
    s.srcBlend = factors[rng() % 5];
    s.destBlend = factors[rng() % 5];
    s.clip = {(int)(rng() % 6), (int)(rng() % 6), 40 - (int)(rng() % 6), 36 - (int)(rng() % 6)};
    Layout layout = layouts[rng() % 4];
    bool flat = rng() % 2;
    RasterVertex v[3];
    v[0] = randomVertex(rng, false, v[0]);
    v[1] = randomVertex(rng, flat, v[0]);
    v[2] = randomVertex(rng, flat, v[0]);
    if (rng() % 4 == 0) { // axis-aligned edges and vertices on pixel centres and halves
      for (RasterVertex &p : v) {
        p.x = std::round(p.x * 2) / 2;
        p.y = std::round(p.y * 2) / 2;
      }
      v[1].y = v[0].y;
    }
    Comparison c = compareOne(s, layout, v, rng());
    differing += c.differs;
    drawn += c.drew;
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(drawn, 2000); // most triangles did draw something
}

// The game's glowing sprites take a path of their own (four pixels at a time): point-sampled,
// one colour per triangle (white or not), added with the source alpha to a 32-bit target.
TEST(Rasteriser, FastAdditiveSpritesMatchReferenceBitForBit) {
  std::mt19937 rng(99);
  std::vector<uint32_t> texels(8 * 4);
  for (uint32_t &t : texels) t = rng();
  Texture pow2{texels.data(), 8, 4}, odd{texels.data(), 5, 3};
  long differing = 0, drawn = 0;
  for (int round = 0; round < 600; round++) {
    RasterState s;
    s.texture = rng() % 2 ? &pow2 : &odd;
    s.wrapU = rng() % 2;
    s.wrapV = rng() % 2;
    s.blend = true;
    s.srcBlend = D3DBLEND_SRCALPHA;
    s.destBlend = rng() % 2 ? D3DBLEND_ONE : D3DBLEND_DESTALPHA;
    s.clip = {0, 0, 40, 36};
    Layout layout = rng() % 2 ? Layout::XRGB8888 : Layout::ARGB8888;
    RasterVertex v[3];
    v[0] = randomVertex(rng, false, v[0]);
    if (round % 3 == 0) v[0].a = v[0].r = v[0].g = v[0].b = 255; // white: the texture as it is
    v[1] = randomVertex(rng, true, v[0]);
    v[2] = randomVertex(rng, true, v[0]);
    Comparison c = compareOne(s, layout, v, rng());
    differing += c.differs;
    drawn += c.drew;
  }
  EXPECT_EQ(differing, 0);
  EXPECT_GT(drawn, 400);
}

TEST(Rasteriser, DegenerateAndInvalidTrianglesDrawNothing) {
  Canvas c(Layout::XRGB8888, 7), before(Layout::XRGB8888, 7);
  RasterState s;
  s.clip = {0, 0, 40, 36};
  RasterVertex line[3] = {{1, 1, 255, 255, 255, 255, 0, 0}, {10, 10, 255, 255, 255, 255, 0, 0},
                          {20, 20, 255, 255, 255, 255, 0, 0}};
  RasterVertex nan[3] = {{1, 1, 255, 255, 255, 255, 0, 0}, {NAN, 10, 255, 255, 255, 255, 0, 0},
                         {20, 2, 255, 255, 255, 255, 0, 0}};
  for (auto draw : {drawTriangleFast, drawTriangleReference}) {
    draw(s, c.target(), line);
    draw(s, c.target(), nan);
  }
  EXPECT_EQ(c.pixels, before.pixels);
}

TEST(Rasteriser, BlendArithmeticIsExactAndSaturates) {
  // ONE + ONE saturates; SRCALPHA / INVSRCALPHA rounds to nearest.
  EXPECT_EQ(blendPixel(D3DBLEND_ONE, D3DBLEND_ONE, 0xFFC08040, 0xFF808080, true), 0xFFFFFFC0u);
  EXPECT_EQ(blendPixel(D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, 0x80FFFFFF, 0x00000000, false),
            0x40808080u);
  for (uint32_t t = 0; t < 256; t++)
    for (uint32_t d = 0; d < 256; d++) ASSERT_EQ(mul255(t, d), (t * d + 127) / 255);
}

} // namespace
