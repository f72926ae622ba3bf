// The interface drawn over the game: score digits, the level banner, the shield and
// level-time gauges.
#include <cmath>
#include <cstdio>

#include "KGraphic.h"
#include "game.h"

namespace {

// One glyph row of the score font on the sprite sheet.
const float DIGIT_TOP = 255, DIGIT_BOTTOM = 273;

// Draws a number with its pen starting at the centred position; digits overlap by one pixel.
void drawNumber(long score, KGraphic *surf_sprites, long y, float opacity) {
  char text[24];
  snprintf(text, sizeof text, "%ld", score);
  long pen = (480 - getScoreWidth(score)) / 2;
  for (const char *ch = text; *ch; ch++) {
    long index = getNumberIndex(*ch);
    if (index < 0) continue; // a minus sign has no glyph
    const sFontNumber &glyph = numbers[index];
    surf_sprites->blitAlphaRectFx((float)glyph.x1, DIGIT_TOP, (float)glyph.x2, DIGIT_BOTTOM,
                                  (short)pen, (short)y, 0, 1.0f, opacity, false, false);
    pen += glyph.x2 - glyph.x1 - 1;
  }
}

void gauge(KGraphic *surf_sprites, float x1, float y1, float x2, float y2, short x, short y) {
  surf_sprites->blitAlphaRectFx(x1, y1, x2, y2, x, y, 0, 1.0f, 0.6f, false, false);
}

} // namespace

long getNumberIndex(char letter) {
  for (long i = 0; i < 10; i++)
    if (numbers[i].letter == letter) return i;
  return -1;
}

long getScoreWidth(long score) {
  char text[24];
  snprintf(text, sizeof text, "%ld", score);
  long width = 0;
  for (const char *ch = text; *ch; ch++) {
    long index = getNumberIndex(*ch);
    if (index >= 0) width += numbers[index].x2 - numbers[index].x1 - 1;
  }
  return width;
}

void displayScore(long score, KGraphic *surf_sprites) { drawNumber(score, surf_sprites, 0, 0.5f); }

void displayValue(long score, KGraphic *surf_sprites, long y, float fade) {
  drawNumber(score, surf_sprites, y, fade);
}

float levelBannerFade(float leveltimer) {
  if (leveltimer < 95) return 0;
  float t = (100 - leveltimer) * 20 - 50;
  return 1 - std::fabs(t) / 50;
}

void displayLevelNumber(KGraphic *surface, float leveltimer) {
  if (leveltimer < 95) return;
  float fade = levelBannerFade(leveltimer);
  surface->blitAlphaRectFx(84, 280, 142, 299, 211, 230, 0, 1.0f, fade, false, false);
  displayValue(gLevel, surface, 250, fade);
}

void displayInterface(KGraphic *surf_sprites) {
  if (!surf_sprites) return;
  gauge(surf_sprites, 0, 278, 64, 301, 353, 456); // shield frame
  for (int32_t i = 0; i < myShip.shield; i++)     // 12-pixel pips every 6 pixels
    gauge(surf_sprites, 64, 278, 76, 301, (short)(415 + 6 * i), 457);
  gauge(surf_sprites, 0, 304, 164, 315, 0, 468); // level-time frame
  gauge(surf_sprites, 0, 319, gLevelTimer * 164 / 100, 325, 0, 470);
}
