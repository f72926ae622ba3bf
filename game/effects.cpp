// Particles of explosions and floating scores: the numbers that rise from a kill and the labels
// that swell where a bonus was taken.
#include <cmath>
#include <cstdio>

#include "KGraphic.h"
#include "aliens.h"

// Digit glyphs of the floating numbers: the strip x1..x2 of the sprite sheet, rows 338..349.
const sAlienNumber anumbers[10] = {
    {'0', 6, 12},  {'1', 12, 16}, {'2', 16, 22}, {'3', 23, 29}, {'4', 30, 37},
    {'5', 37, 43}, {'6', 44, 50}, {'7', 51, 57}, {'8', 58, 64}, {'9', 65, 71},
};

namespace {

// Label pictures on the sprite sheet, for the scores -1, -2 and -3.
const float LABEL_RECTS[3][4] = {
    {9, 364, 54, 371}, // -1: fire power
    {9, 383, 53, 392}, // -2: speed
    {9, 393, 54, 401}, // -3: shield
};
const float BOMB_FLASH_RECT[4] = {254, 284, 270, 301}; // -4: the smart-bomb blast

const sAlienNumber *findGlyph(char letter) {
  for (const sAlienNumber &glyph : anumbers)
    if (glyph.letter == letter) return &glyph;
  return nullptr;
}

sFloatingScore *firstFreeFloating() {
  for (sFloatingScore &f : allFloatingScores)
    if (!(f.alpha > 0)) return &f;
  return nullptr;
}

// A number rising 0.2 pixels a frame while it fades over 40 frames.
void drawRisingNumber(sFloatingScore &f, KGraphic *surface) {
  f.alpha -= 0.025f;
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(f.score));
  float pen = f.x;
  for (const char *c = text; *c; c++) {
    const sAlienNumber *glyph = findGlyph(*c);
    if (!glyph) continue;
    surface->blitAlphaRectFx(static_cast<float>(glyph->x1), 338, static_cast<float>(glyph->x2), 349,
                             screenCoord(pen), screenCoord(f.y), 0, 1.0f, f.alpha, false, false);
    pen += static_cast<float>(glyph->x2 - glyph->x1);
  }
  f.y -= 0.2f;
}

// A label swelling in place while it fades over 20 frames; -4 is the smart-bomb blast.
void drawSwellingLabel(sFloatingScore &f, KGraphic *surface) {
  surface->setAlphaMode(K_ALPHA_ADD);
  f.alpha -= 0.05f;
  const short x = screenCoord(f.x), y = screenCoord(f.y);
  if (f.score >= -3 && f.score <= -1) {
    const float *r = LABEL_RECTS[-f.score - 1];
    surface->blitAlphaRectFx(r[0], r[1], r[2], r[3], x, y, 0, (1 - f.alpha) * 8 + 1, f.alpha, false,
                             false);
  } else if (f.score == -4) {
    const float *r = BOMB_FLASH_RECT;
    surface->setAlphaMode(K_ALPHA_ADD);
    surface->setTextureQuality(true);
    surface->blitAlphaRectFx(r[0], r[1], r[2], r[3], x, y, 0, (1 - f.alpha) * 120, f.alpha, false,
                             false);
    surface->setTextureQuality(false);
    surface->setAlphaMode(K_ALPHA_NORMAL);
  }
  surface->setAlphaMode(K_ALPHA_NORMAL);
}

} // namespace

void addParticles(sAlien *alienPtr) {
  const sAlien &a = *alienPtr;
  const float cx = a.x + a.width / 2;
  const float cy = a.y + a.height / 2;
  const float v = static_cast<float>(randomBelow(200) + 100) / 100; // 1.00 .. 2.99
  const float s = static_cast<float>(randomBelow(628)) / 100;       // 0 .. 6.27 radians
  for (sParticle &p : particles) {
    if (p.alpha > 0) continue;
    p.alpha = static_cast<float>(randomBelow(30) + 70) / 100; // 0.70 .. 0.99
    p.x = cx;
    p.y = cy;
    p.speedx = v * static_cast<float>(std::cos(s));
    p.speedy = v * static_cast<float>(std::sin(s));
    p.x1 = a.x1 + 20; // a 3 x 3 patch of the alien's own picture
    p.y1 = a.y1 + 20;
    p.x2 = a.x1 + 23;
    p.y2 = a.y1 + 23;
    return;
  }
}

void doParticles(KGraphic *surface) {
  for (sParticle &p : particles) {
    if (!(p.alpha > 0)) continue;
    p.alpha -= 0.025f;
    p.x += p.speedx;
    p.y += p.speedy;
    if (p.x > 480 || p.y > 480 || p.x < -10 || p.y < -10)
      p.alpha = 0; // drawn once more, on this frame
    surface->blitAlphaRectFx(p.x1, p.y1, p.x2, p.y2, screenCoord(p.x), screenCoord(p.y), 0, 1.0f,
                             p.alpha, false, false);
  }
}

void addFloating(sAlien *alienPtr) {
  const sAlien &a = *alienPtr;
  addNegFloating(a.scorePoints, a.x + a.width / 2, a.y + a.height / 2);
}

void addNegFloating(int32_t score, float x, float y) {
  sFloatingScore *f = firstFreeFloating();
  if (!f) return;
  f->alpha = 1.0f;
  f->x = x;
  f->y = y;
  f->score = score;
}

void doFloating(KGraphic *surface) {
  for (sFloatingScore &f : allFloatingScores) {
    if (!(f.alpha > 0)) continue;
    if (f.score > 0)
      drawRisingNumber(f, surface);
    else
      drawSwellingLabel(f, surface);
  }
}
