// The fast rasteriser against the reference one: the same pixels, bit for bit, over random
// triangles in every state the device can set and over random sprite scenes, with each set of
// pixel arithmetic the build has.

#include <gtest/gtest.h>

#include <cmath>
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

// Every comparison runs once per set of pixel arithmetic the build has and the processor runs
// (the portable one always).
class FastRasteriser : public ::testing::TestWithParam<PixelOps> {
protected:
  void SetUp() override {
    if (!pixelOpsBuiltIn(GetParam())) GTEST_SKIP() << "not built in";
    ASSERT_TRUE(usePixelOps(GetParam()));
  }
  void TearDown() override {
    for (PixelOps fastest : {PixelOps::Avx2, PixelOps::Sse2, PixelOps::Portable})
      if (usePixelOps(fastest)) break;
  }
};

INSTANTIATE_TEST_SUITE_P(Ops, FastRasteriser,
                         ::testing::Values(PixelOps::Portable, PixelOps::Sse2, PixelOps::Avx2),
                         [](const ::testing::TestParamInfo<PixelOps> &i) {
                           return i.param == PixelOps::Portable ? "Portable"
                                  : i.param == PixelOps::Sse2   ? "Sse2"
                                                                : "Avx2";
                         });

TEST_P(FastRasteriser, MatchesReferenceBitForBit) {
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
TEST_P(FastRasteriser, AdditiveSpritesMatchReferenceBitForBit) {
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

// A sprite as the engine draws it: a textured quad from a rectangle of the texture (texels
// sx .. sx + w, sy .. sy + h), turned by angle and zoomed about its centre (cx, cy), as two
// triangles of one colour.
void drawSprite(void (*draw)(const RasterState &, const Target &, const RasterVertex *),
                const RasterState &s, const Target &t, float cx, float cy, float angle, float zoom,
                int sx, int sy, int w, int h, const float colour[4]) {
  const Texture &tex = *s.texture;
  float ca = std::cos(angle) * zoom, sa = std::sin(angle) * zoom;
  RasterVertex q[4];
  for (int i = 0; i < 4; i++) {
    float ox = (i & 1 ? 0.5f : -0.5f) * (float)w, oy = (i & 2 ? 0.5f : -0.5f) * (float)h;
    q[i] = {cx + ox * ca - oy * sa,
            cy + ox * sa + oy * ca,
            colour[0],
            colour[1],
            colour[2],
            colour[3],
            (float)(sx + (i & 1 ? w : 0)) / (float)tex.width,
            (float)(sy + (i & 2 ? h : 0)) / (float)tex.height};
  }
  RasterVertex first[3] = {q[0], q[1], q[2]}, second[3] = {q[1], q[3], q[2]};
  draw(s, t, first);
  draw(s, t, second);
}

// Whole scenes of sprites over one canvas: unturned ones at 1:1 on whole and half pixels (the
// straight-from-the-row path), turned and zoomed ones inside the texture (fetches proven in
// bounds), some hanging off the canvas; a texture with runs of transparent texels; point-sampled
// or bilinear; added or blended normally, white or tinted, onto targets with and without alpha.
TEST_P(FastRasteriser, SpriteScenesMatchReferenceBitForBit) {
  std::mt19937 rng(2024);
  const int TW = 40, TH = 32;
  std::vector<uint32_t> texels(TW * TH);
  for (int y = 0; y < TH; y++)
    for (int x = 0; x < TW; x++) {
      uint32_t c = rng() & 0xFFFFFF, a = rng() % 4 == 0 ? 255 : rng() & 255;
      bool clear = (x / 5 + y / 3) % 3 == 0 || x % 13 < 4; // transparent runs of several lengths
      texels[y * TW + x] = (clear ? 0 : a) << 24 | c;
    }
  Texture tex{texels.data(), TW, TH};
  std::uniform_real_distribution<float> unit(0.0f, 1.0f);
  long differing = 0, changed = 0;
  for (int scene = 0; scene < 120; scene++) {
    RasterState s;
    s.texture = &tex;
    s.wrapU = rng() % 2;
    s.wrapV = rng() % 2;
    s.bilinear = rng() % 4 == 0;
    s.blend = true;
    bool add = rng() % 2;
    s.destBlend = add ? (rng() % 2 ? D3DBLEND_ONE : D3DBLEND_DESTALPHA) : D3DBLEND_INVSRCALPHA;
    Layout layout = rng() % 2 ? Layout::XRGB8888 : Layout::ARGB8888;
    Canvas fast(layout, scene), reference(layout, scene), untouched(layout, scene);
    s.clip = {0, 0, fast.width, fast.height};
    for (int i = 0; i < 12; i++) {
      int w = 1 + (int)(rng() % TW), h = 1 + (int)(rng() % TH);
      int sx = (int)(rng() % (TW - w + 1)), sy = (int)(rng() % (TH - h + 1));
      float cx = (float)(int)(rng() % 56) - 8, cy = (float)(int)(rng() % 52) - 8;
      float angle = 0, zoom = 1;
      if (rng() % 2) { // unturned: corners on whole pixels or halves, as the engine puts them
        cx += (w % 2 ? 0.0f : 0.5f) + (rng() % 2 ? 0.5f : 0.0f);
        cy += (h % 2 ? 0.0f : 0.5f);
      } else {
        angle = unit(rng) * 6.3f;
        zoom = 0.5f + 2.5f * unit(rng);
      }
      float white[4] = {255, 255, 255, 255};
      float tint[4] = {(float)(rng() & 255), (float)(rng() & 255), (float)(rng() & 255),
                       (float)(rng() & 255)};
      const float *colour = rng() % 2 ? white : tint;
      drawSprite(drawTriangleFast, s, fast.target(), cx, cy, angle, zoom, sx, sy, w, h, colour);
      drawSprite(drawTriangleReference, s, reference.target(), cx, cy, angle, zoom, sx, sy, w, h,
                 colour);
    }
    differing += fast.pixels != reference.pixels;
    changed += untouched.pixels != reference.pixels;
  }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(changed, 120);
}

TEST(Rasteriser, DegenerateAndInvalidTrianglesDrawNothing) {
  Canvas c(Layout::XRGB8888, 7), before(Layout::XRGB8888, 7);
  RasterState s;
  s.clip = {0, 0, 40, 36};
  RasterVertex line[3] = {{1, 1, 255, 255, 255, 255, 0, 0},
                          {10, 10, 255, 255, 255, 255, 0, 0},
                          {20, 20, 255, 255, 255, 255, 0, 0}};
  RasterVertex nan[3] = {{1, 1, 255, 255, 255, 255, 0, 0},
                         {NAN, 10, 255, 255, 255, 255, 0, 0},
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
