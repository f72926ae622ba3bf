// One scene drawn by both renderers: Direct3D on the software device and OpenGL (under Xvfb).
// Away from edges, where the two rasterisations may differ by a pixel, the colours agree within
// a small per-channel tolerance.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "KImageFile.h"
#include "KQRX.h"
#include "host_testing.h"

namespace {

const int SIZE = 160;

// The scene: an opaque picture, a tinted four-point blit, additive and normal sprites, a
// rectangle at half opacity, and a stretched copy.
void drawScene(KGraphic &picture) {
  picture.blitRect(0, 0, 64, 64, 8, 8, false, false);
  picture.setBlitColor(0.6f, 0.6f, 0.6f, 1);
  // A parallelogram: one affine map, whichever diagonal a renderer splits the quad along.
  picture.blitArbitraryQuad(0, 0, 64, 0, 64, 64, 0, 64, 80, 8, 144, 14, 150, 70, 86, 64);
  picture.setBlitColor(1, 1, 1, 1);
  picture.setAlphaMode(K_ALPHA_ADD);
  picture.blitAlphaRectFx(0, 0, 32, 32, 20, 90, 0, 1, 0.5f, false, false);
  picture.setAlphaMode(K_ALPHA_NORMAL);
  picture.blitAlphaRectFx(32, 32, 64, 64, 60, 90, 0, 1, 0.75f, false, false);
  picture.drawRect(100, 90, 150, 150, 0.2f, 0.9f, 0.4f, 0.5f);
  picture.stretchAlphaRect(0, 0, 64, 64, 10, 130, 74, 154, 1, 0);
}

// Renders the scene with one renderer and returns its screenshot (RGB, rows from the top).
std::vector<uint8_t> render(Erenderer renderer, const std::string &shot) {
  hostTestReset();
  hostTestSetNoFrameWait(true);
  KWindow *window = KQRX::createKWindow(renderer, false);
  std::vector<uint8_t> rgb;
  if (!window->createGameWindow(SIZE, SIZE, -1, true, "cross")) {
    delete window;
    return rgb;
  }
  window->flipBackBuffer(false, true);
  window->setClearColor(0.1f, 0.2f, 0.3f, 1);
  window->setWorldView(0, 0, 0, 1, true);
  std::vector<uint32_t> pixels(64 * 64);
  for (int y = 0; y < 64; y++)
    for (int x = 0; x < 64; x++) {
      // Soft blocks of colour, alpha falling off to the right (red in the low byte).
      uint32_t a = 255 - (uint32_t)x * 3, r = (uint32_t)(x / 8) * 32, g = (uint32_t)(y / 8) * 32;
      pixels[y * 64 + x] = a << 24 | 0x60u << 16 | g << 8 | r;
    }
  KGraphic *picture = KQRX::createKGraphic();
  picture->makePictureFromArray(pixels.data(), 64, 64, true);
  drawScene(*picture);
  picture->saveBackBuffer(shot.c_str(), K_SAVE_BMP, 0, 0);
  delete picture;
  delete window;
  hostTestReset();
  FILE *f = fopen(shot.c_str(), "rb");
  if (!f) return rgb;
  std::vector<unsigned char> bytes(1 << 20);
  size_t n = fread(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  remove(shot.c_str());
  KImageFile image;
  if (!image.decode(bytes.data(), n, K_IMAGE_BMP) || image.getWidth() != SIZE) return rgb;
  for (int y = 0; y < SIZE; y++)
    for (int x = 0; x < SIZE; x++) {
      KImagePixel p = image.getPixel(x, SIZE - 1 - y, false);
      rgb.insert(rgb.end(), {p.r, p.g, p.b});
    }
  return rgb;
}

TEST(CrossRenderer, BothRenderersDrawTheSameSceneAwayFromEdges) {
  std::vector<uint8_t> d3d = render(K_DIRECTX, "cross_d3d.bmp");
  std::vector<uint8_t> gl = render(K_OPENGL, "cross_gl.bmp");
  ASSERT_EQ(d3d.size(), (size_t)SIZE * SIZE * 3);
  ASSERT_EQ(gl.size(), d3d.size());
  // A pixel is away from edges when its 3 x 3 neighbourhood in both pictures is nearly flat.
  auto flat = [&](const std::vector<uint8_t> &img, int x, int y) {
    for (int c = 0; c < 3; c++) {
      int lo = 255, hi = 0;
      for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
          int v = img[((y + dy) * SIZE + (x + dx)) * 3 + c];
          lo = std::min(lo, v);
          hi = std::max(hi, v);
        }
      if (hi - lo > 6) return false;
    }
    return true;
  };
  int worst = 0, compared = 0;
  for (int y = 1; y < SIZE - 1; y++)
    for (int x = 1; x < SIZE - 1; x++) {
      if (!flat(d3d, x, y) || !flat(gl, x, y)) continue;
      compared++;
      for (int c = 0; c < 3; c++) {
        int d = std::abs((int)d3d[(y * SIZE + x) * 3 + c] - (int)gl[(y * SIZE + x) * 3 + c]);
        worst = std::max(worst, d);
      }
    }
  printf("cross-renderer: %d pixels compared, largest channel difference %d\n", compared, worst);
  EXPECT_GT(compared, SIZE * SIZE / 2);
  EXPECT_LE(worst, 6); // texture edges land half a pixel apart in the four-point blit
}

} // namespace
