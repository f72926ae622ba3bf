// Bonuses: released by kills, pulsing in place until the ship takes them; a shot turns a bonus
// to the next kind (fire power, speed, shield, smart bomb, fire power, ...).
#include <cmath>

#include "KGraphic.h"
#include "aliens.h"

namespace {

// Bonus pictures on the sprite sheet, by type.
const float BONUS_RECTS[4][4] = {
    {221, 238, 242, 257}, // 0: fire power
    {250, 238, 271, 257}, // 1: speed
    {279, 238, 300, 257}, // 2: shield
    {308, 238, 329, 257}, // 3: smart bomb
};

bool inBox(const sBullet &bullet, const sBonus &b) {
  return bullet.x >= b.x && bullet.x <= b.x + 20 && bullet.y >= b.y && bullet.y <= b.y + 20;
}

void drawBonus(sBonus &b, KGraphic *surface) {
  b.sine += 0.1f;
  if (b.sine > 6.28f) b.sine = 0; // a pulse of 63 frames
  const float c = static_cast<float>(std::cos(b.sine));
  const float zoom = (c + 1) / 4 + 1; // 1.0 .. 1.5
  const float halo = (zoom - 1) / 2;  // 0 .. 0.25
  const float *r = BONUS_RECTS[b.type];
  const short x = static_cast<short>(b.x), y = static_cast<short>(b.y);
  if (b.white > 0) { // the flash after being shot
    b.white -= 0.1f;
    surface->setAlphaMode(K_ALPHA_ADD);
    surface->blitAlphaRectFx(r[0], r[1], r[2], r[3], x, y, 0, 1.1f, b.white, false, false);
    surface->blitAlphaRectFx(r[0], r[1], r[2], r[3], x, y, 0, 1.1f, b.white, false, false);
    surface->setAlphaMode(K_ALPHA_NORMAL);
  } else { // the bonus, and a halo that swells and brightens with the pulse
    surface->blitAlphaRect(r[0], r[1], r[2], r[3], x, y, false, false);
    surface->blitAlphaRectFx(r[0], r[1], r[2], r[3], x, y, 0, zoom, halo, false, false);
  }
}

} // namespace

void resetBonuses() {
  for (sBonus &b : bonuses) b.active = false;
  for (sFloatingScore &f : allFloatingScores) f = sFloatingScore{};
}

void addBonuses(float x, float y) {
  for (sBonus &b : bonuses) {
    if (b.active) continue;
    b.active = true;
    b.sine = 0;
    b.type = randomBelow(4);
    b.x = static_cast<int32_t>(x); // toward zero: -7.9 becomes -7
    b.y = static_cast<int32_t>(y);
    b.white = 0;
    playSoundOnce(snd_bonusappear);
    return;
  }
}

void collideBonus(sBullet *bulletPtr) {
  for (sBonus &b : bonuses) {
    if (!b.active || !inBox(*bulletPtr, b)) continue;
    b.type += 1;
    if (b.type > 3) b.type = 0;
    b.white = 1.0f;
    playSound(snd_hitshell);
    bulletPtr->active = false; // and on: a shot inside two bonuses changes both
  }
}

void doBonuses(KGraphic *surfaceAlien) {
  surfaceAlien->setTextureQuality(true);
  for (sBonus &b : bonuses)
    if (b.active) drawBonus(b, surfaceAlien);
  surfaceAlien->setTextureQuality(false);
}
