// Milliseconds per frame of the game's heaviest scenes, drawn through KGraphicD3D on the
// software device and, for comparison, through SDL2's own software renderer
// (SDL_RenderGeometry with blending), in the same run. Headless: SDL's dummy video driver.
//
//   taskset -c 0,1 bench_d3d_frames [frames]
//
// For each scene and each pixel arithmetic of the device (SSE2 and portable where built in):
// the frame's processor time with the device drawing on one thread (cpu 1t: the cost on one
// core), its wall time with the scene drawn in two bands on two threads (wall 2t, which needs a
// second free core), SDL's processor time, and how many times faster the device is on one core.
//
// Scenes: the lit background mesh (240 tinted quads, as the game draws it) plus
//   typical: 30 aliens, 150 particles, 60 shots;
//   worst:   500 aliens, 1000 particles, 500 alien shots, 100 ship shots (the tables' sizes).
// Aliens and particles are drawn additively (K_ALPHA_ADD), shots in the normal mode.

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "../bench_clock.h"
#include "KGraphicD3D.h"
#include "KQRX.h"
#include "KWindowD3D.h"
#include "ddraw.h"
#include "host_testing.h"

namespace {

const int SCREEN = 480, COLUMNS = 16, ROWS = 17; // mesh points, as the game's grid

struct Sprite {
  float sx, sy, size; // source square in the sprite sheet
  float x, y, angle, alpha;
};

struct Scene {
  const char *name;
  std::vector<Sprite> aliens, particles, shots;
};

Scene makeScene(const char *name, int aliens, int particles, int shots, unsigned seed) {
  srand(seed);
  auto rnd = [](float lo, float hi) { return lo + (hi - lo) * (float)rand() / (float)RAND_MAX; };
  Scene s{name, {}, {}, {}};
  for (int i = 0; i < aliens; i++)
    s.aliens.push_back({(float)(i % 8) * 32, 0, 32, rnd(0, 448), rnd(0, 448), rnd(0, 360), 1});
  for (int i = 0; i < particles; i++)
    s.particles.push_back({(float)(i % 4) * 8, 64, 8, rnd(0, 472), rnd(0, 472), 0, rnd(0.1f, 1)});
  for (int i = 0; i < shots; i++)
    s.shots.push_back({(float)(i % 2) * 8, 96, 8, rnd(0, 472), rnd(0, 472), 0, 1});
  return s;
}

// The sprite sheet: soft discs with alpha in 32-pixel cells (aliens), 8-pixel ones below.
std::vector<uint32_t> spriteSheet() {
  std::vector<uint32_t> px(256 * 128);
  for (int y = 0; y < 128; y++)
    for (int x = 0; x < 256; x++) {
      int cell = y < 64 ? 32 : 8;
      float cx = (x % cell) + 0.5f - cell / 2.0f, cy = (y % cell) + 0.5f - cell / 2.0f;
      float d = std::sqrt(cx * cx + cy * cy) / (cell / 2.0f);
      uint32_t a = d >= 1 ? 0 : (uint32_t)(255 * (1 - d));
      px[y * 256 + x] =
          a << 24 | (uint32_t)(x * 7 & 255) << 16 | (uint32_t)(y * 5 & 255) << 8 | 0x80;
    }
  return px;
}

std::vector<uint32_t> backgroundPicture() {
  std::vector<uint32_t> px(SCREEN * SCREEN);
  for (int y = 0; y < SCREEN; y++)
    for (int x = 0; x < SCREEN; x++)
      px[y * SCREEN + x] = 0xFF000000u | (uint32_t)(x ^ y) << 8 | (uint32_t)(y & 255);
  return px;
}

// The mesh point (column c, row r): the picture's point, displaced a little, and its light.
void meshPoint(int c, int r, float *x, float *y, float *light) {
  *x = c * SCREEN / (float)(COLUMNS - 1) + 3 * std::sin(r * 0.7f);
  *y = r * SCREEN / (float)(ROWS - 1) + 3 * std::cos(c * 0.9f);
  float dx = *x - 240, dy = *y - 300;
  *light = std::min(1.0f, std::max(0.4f, 1 - (dx * dx + dy * dy) / 40000));
}

// The four corners of mesh cell (c, r) in the game's order: top-left, below, diagonal, right.
void meshCell(int c, int r, float x[4], float y[4], float l[4]) {
  meshPoint(c, r, &x[0], &y[0], &l[0]);
  meshPoint(c, r + 1, &x[1], &y[1], &l[1]);
  meshPoint(c + 1, r + 1, &x[2], &y[2], &l[2]);
  meshPoint(c + 1, r, &x[3], &y[3], &l[3]);
}

// ---- through the engine --------------------------------------------------------------------

void drawEngine(const Scene &s, KGraphicD3D &background, KGraphicD3D &sprites) {
  for (int r = 0; r + 1 < ROWS; r++)
    for (int c = 0; c + 1 < COLUMNS; c++) {
      float x[4], y[4], l[4];
      meshCell(c, r, x, y, l);
      background.setBlitColor(l[0], l[0], l[0], 1);
      background.blitArbitraryQuad(x[0], y[0], x[1], y[1], x[2], y[2], x[3], y[3], x[0], y[0], x[1],
                                   y[1], x[2], y[2], x[3], y[3]);
    }
  background.setBlitColor(1, 1, 1, 1);
  sprites.setAlphaMode(K_ALPHA_ADD);
  for (const Sprite &a : s.aliens)
    sprites.blitAlphaRectFx(a.sx, a.sy, a.sx + a.size, a.sy + a.size, (short)a.x, (short)a.y,
                            a.angle, 1, a.alpha, false, false);
  for (const Sprite &p : s.particles)
    sprites.blitAlphaRectFx(p.sx, p.sy, p.sx + p.size, p.sy + p.size, (short)p.x, (short)p.y, 0, 1,
                            p.alpha, false, false);
  sprites.setAlphaMode(K_ALPHA_NORMAL);
  for (const Sprite &b : s.shots)
    sprites.blitAlphaRect(b.sx, b.sy, b.sx + b.size, b.sy + b.size, (short)b.x, (short)b.y, false,
                          false);
}

// ---- through SDL's software renderer --------------------------------------------------------

void quadSDL(SDL_Renderer *r, SDL_Texture *t, const float sx[4], const float sy[4],
             const float dx[4], const float dy[4], float tw, float th, SDL_Color c) {
  SDL_Vertex v[4];
  for (int i = 0; i < 4; i++) v[i] = {{dx[i], dy[i]}, c, {sx[i] / tw, sy[i] / th}};
  static const int indices[6] = {0, 1, 2, 0, 2, 3};
  SDL_RenderGeometry(r, t, v, 4, indices, 6);
}

void spriteSDL(SDL_Renderer *r, SDL_Texture *t, const Sprite &s, SDL_Color c) {
  float half = s.size / 2, cx = s.x + half, cy = s.y + half;
  float a = -s.angle * 3.14159265f / 180, ca = std::cos(a), sa = std::sin(a);
  const float ox[4] = {-half, -half, half, half}, oy[4] = {-half, half, half, -half};
  float dx[4], dy[4];
  for (int i = 0; i < 4; i++) {
    dx[i] = cx + ox[i] * ca - oy[i] * sa;
    dy[i] = cy + ox[i] * sa + oy[i] * ca;
  }
  const float sx[4] = {s.sx, s.sx, s.sx + s.size, s.sx + s.size};
  const float sy[4] = {s.sy, s.sy + s.size, s.sy + s.size, s.sy};
  quadSDL(r, t, sx, sy, dx, dy, 256, 128, c);
}

void drawSDL(const Scene &s, SDL_Renderer *r, SDL_Texture *background, SDL_Texture *sprites) {
  SDL_SetTextureBlendMode(background, SDL_BLENDMODE_BLEND);
  for (int row = 0; row + 1 < ROWS; row++)
    for (int c = 0; c + 1 < COLUMNS; c++) {
      float x[4], y[4], l[4];
      meshCell(c, row, x, y, l);
      Uint8 v = (Uint8)(l[0] * 255);
      quadSDL(r, background, x, y, x, y, SCREEN, SCREEN, {v, v, v, 255});
    }
  SDL_SetTextureBlendMode(sprites, SDL_BLENDMODE_ADD);
  for (const Sprite &a : s.aliens)
    spriteSDL(r, sprites, a, {255, 255, 255, (Uint8)(a.alpha * 255)});
  for (const Sprite &p : s.particles)
    spriteSDL(r, sprites, p, {255, 255, 255, (Uint8)(p.alpha * 255)});
  SDL_SetTextureBlendMode(sprites, SDL_BLENDMODE_BLEND);
  for (const Sprite &b : s.shots) spriteSDL(r, sprites, b, {255, 255, 255, 255});
}

// Milliseconds of one frame: the median over the frames, on the wall clock and in the CPU time
// of this thread (the figure for one core when other programs share the machine).
struct Timing {
  double wall, cpu;
};

template <class Draw> Timing medianMs(int frames, Draw draw) {
  std::vector<double> wall, cpu;
  for (int i = 0; i < frames; i++) {
    auto t0 = std::chrono::steady_clock::now();
    double c0 = threadCpuSeconds();
    draw();
    cpu.push_back((threadCpuSeconds() - c0) * 1e3);
    wall.push_back(
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
  }
  std::sort(wall.begin(), wall.end());
  std::sort(cpu.begin(), cpu.end());
  return {wall[wall.size() / 2], cpu[cpu.size() / 2]};
}

} // namespace

int main(int argc, char **argv) {
  int frames = argc > 1 ? std::max(1, atoi(argv[1])) : 60;
  SDL_setenv("SDL_VIDEODRIVER", "dummy", 0);
  hostTestSetNoFrameWait(true);
  KWindowD3D *window = static_cast<KWindowD3D *>(KQRX::createKWindow(K_DIRECTX));
  if (!window->createGameWindow(SCREEN, SCREEN, -1, true, "bench")) {
    fprintf(stderr, "no window\n");
    return 1;
  }
  window->flipBackBuffer(false, true);
  std::vector<uint32_t> sheet = spriteSheet(), back = backgroundPicture();
  for (uint32_t &p : sheet)
    p = (p & 0xFF00FF00u) | (p >> 16 & 255) | (p & 255) << 16; // to R G B A bytes
  for (uint32_t &p : back) p = (p & 0xFF00FF00u) | (p >> 16 & 255) | (p & 255) << 16;
  KGraphicD3D sprites, background;
  sprites.makePictureFromArray(sheet.data(), 256, 128, true);
  background.makePictureFromArray(back.data(), SCREEN, SCREEN, true);

  SDL_Surface *target =
      SDL_CreateRGBSurfaceWithFormat(0, SCREEN, SCREEN, 32, SDL_PIXELFORMAT_RGB888);
  SDL_Renderer *soft = SDL_CreateSoftwareRenderer(target);
  SDL_Texture *sdlSprites =
      SDL_CreateTexture(soft, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, 256, 128);
  SDL_Texture *sdlBack =
      SDL_CreateTexture(soft, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, SCREEN, SCREEN);
  std::vector<uint32_t> argbSheet = spriteSheet(), argbBack = backgroundPicture();
  SDL_UpdateTexture(sdlSprites, nullptr, argbSheet.data(), 256 * 4);
  SDL_UpdateTexture(sdlBack, nullptr, argbBack.data(), SCREEN * 4);

  const Scene scenes[] = {
      makeScene("typical (30 aliens, 150 particles, 60 shots)", 30, 150, 60, 1),
      makeScene("worst (500 aliens, 1000 particles, 600 shots)", 500, 1000, 600, 2)};
  const char *const paths[] = {"avx2", "sse2", "portable"};
  printf("%-46s %-8s %9s %9s %9s %8s\n", "scene", "pixels", "cpu 1t", "wall 2t", "SDL cpu",
         "SDL/D3D");
  for (const Scene &s : scenes) {
    Timing sdl = medianMs(frames, [&] {
      SDL_RenderClear(soft);
      drawSDL(s, soft, sdlBack, sdlSprites);
      SDL_RenderFlush(soft);
    });
    for (const char *path : paths) {
      if (!zyDDrawUsePixels(path)) continue;
      // The scene ends in each frame, as the flip ends it: the banded mode draws then.
      auto frame = [&] {
        window->setWorldView(0, 0, 0, 1, true);
        drawEngine(s, background, sprites);
        KGraphicD3D::_d3d->EndScene();
        KGraphicD3D::_d3d->BeginScene();
      };
      zyDDrawSetRasterThreads(1);
      window->flipBackBuffer(false, true); // the next scene takes the mode
      Timing one = medianMs(frames, frame);
      zyDDrawSetRasterThreads(2);
      window->flipBackBuffer(false, true);
      Timing two = medianMs(frames, frame);
      printf("%-46s %-8s %9.3f %9.3f %9.3f %8.2f\n", s.name, path, one.cpu, two.wall, sdl.cpu,
             sdl.cpu / one.cpu);
    }
  }
  zyDDrawUsePixels(nullptr);
  Timing flip = medianMs(frames, [&] { window->flipBackBuffer(false, true); });
  printf("present (flip of the 480 x 480 back buffer): %.3f ms, %.3f ms cpu\n", flip.wall,
         flip.cpu);

  SDL_DestroyRenderer(soft);
  SDL_FreeSurface(target);
  delete window;
  return 0;
}
