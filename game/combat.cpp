// Combat: the ship's shots against aliens, the aliens' shots against the ship, ramming, the
// ship collecting bonuses, and the smart bomb. Damage, scoring and bonus rewards live here.
#include <cmath>

#include "KGraphic.h"
#include "aliens.h"

namespace {

// The ship's contact box and centre, from its sprite position.
struct ShipBox {
  float x1, y1, x2, y2;
};
ShipBox shipBox() { return {myShip.x + 10, myShip.y + 8, myShip.x + 25, myShip.y + 23}; }
float shipCentreX() { return myShip.x + 15; }
float shipCentreY() { return myShip.y + 15; }

float centreX(const sAlien &a) { return a.x + a.width / 2; }
float centreY(const sAlien &a) { return a.y + a.height / 2; }

double distance(float x1, float y1, float x2, float y2) {
  const double dx = x1 - x2, dy = y1 - y2;
  return std::sqrt(dx * dx + dy * dy);
}

bool hasArrived(const sAlien &a) { return a.alive && !(a.arrival < 1.0f); }

// Enemy shot pictures on the sprite sheet, by type.
const float ENEMY_SHOT_RECTS[3][4] = {
    {315, 269, 327, 281}, // 0
    {315, 289, 327, 301}, // 1
    {315, 309, 327, 321}, // 2
};

void throwParticles(sAlien *alien, int count) {
  for (int i = 0; i < count; i++) addParticles(alien);
}

// A kill by a ship shot: score, maybe a bonus, particles and the floating points.
void killByBullet(sAlien &a) {
  playSound(snd_ennemyexplo);
  gScore += a.scorePoints;
  a.alive = false;
  if (gScore > gNextBonus) { // at most one bonus per kill, however many thresholds it passes
    gNextBonus += gNextBonusIncrement;
    gNextBonusIncrement += 50;
    addBonuses(centreX(a) - 8, centreY(a) - 8);
  }
  throwParticles(&a, 20);
  addFloating(&a);
}

// The ship is struck: one shield point, held at 0, and the flash.
void hurtShip() {
  myShip.hit = 1.0f;
  playSoundOnce(snd_herohit);
  myShip.shield -= 1;
  if (myShip.shield < 0) myShip.shield = 0;
}

void takeFirePower(const sBonus &b) {
  playSound(snd_gotBonus);
  addNegFloating(-1, static_cast<float>(b.x + 5), static_cast<float>(b.y + 5));
  myShip.bulletPower += 0.5f;
  myShip.autofireTimer -= 2;
  if (myShip.autofireTimer < 5) myShip.autofireTimer = 5;
}

// At the maximum the reward number rises and grows by 50 each time; below it, the label.
void showReward(bool atMaximum, int32_t &reward, int32_t label, const sBonus &b) {
  if (atMaximum) {
    addNegFloating(reward, static_cast<float>(b.x), static_cast<float>(b.y));
    reward += 50;
  } else {
    reward = 50;
    addNegFloating(label, static_cast<float>(b.x + 5), static_cast<float>(b.y + 5));
  }
}

void takeSpeed(const sBonus &b) {
  playSound(snd_gotBonus);
  myShip.speed += 0.2; // 0.2 has no exact float value: the fifth bonus already passes 3.0
  const bool atMaximum = myShip.speed > 3.0f;
  if (atMaximum) myShip.speed = 3.0f;
  showReward(atMaximum, gSpeedScore, -2, b);
}

void takeShield(const sBonus &b) {
  playSound(snd_gotBonus);
  myShip.shield += 1;
  const bool atMaximum = myShip.shield > 10;
  if (atMaximum) myShip.shield = 10;
  showReward(atMaximum, gShieldScore, -3, b);
  if (myShip.shield < 0) myShip.shield = 0;
}

void takeSmartBomb(const sBonus &b) {
  playSound(snd_smartbomb);
  addNegFloating(-4, static_cast<float>(b.x + 5), static_cast<float>(b.y + 5));
  killAllAliens();
}

void takeBonus(sBonus &b) {
  b.active = false;
  switch (b.type) {
  case 0: takeFirePower(b); break;
  case 1: takeSpeed(b); break;
  case 2: takeShield(b); break;
  case 3: takeSmartBomb(b); break;
  default: break;
  }
}

} // namespace

bool rectOverlap(float bx1, float by1, float bx2, float by2, float ax1, float ay1, float ax2,
                 float ay2) {
  return !(by1 > ay2 || by2 < ay1 || bx1 > ax2 || bx2 < ax1);
}

void alienHitByShipBullets() {
  for (sBullet &bullet : bulletShip)
    if (bullet.active) doBulletCollide(&bullet);
}

void doBulletCollide(sBullet *bulletPtr) {
  collideBonus(bulletPtr);
  if (!bulletPtr->active) return;
  for (sAlien &a : allAliens) {
    if (!hasArrived(a)) continue;
    if (distance(bulletPtr->x, bulletPtr->y, centreX(a), centreY(a)) > a.radius) continue;
    bulletPtr->active = false;
    a.lifePoints -= myShip.bulletPower;
    if (a.lifePoints > 0) { // the spent shot still hurts every further alien it lies inside
      a.white = 1.0f;
      playSound(snd_hitshell);
      continue;
    }
    killByBullet(a);
    return;
  }
}

void addEnemyBullet(sAlien *alienPtr) {
  if (myShip.shield <= 0) return;
  const float cx = centreX(*alienPtr), cy = centreY(*alienPtr);
  const float vx = cx - shipCentreX();
  const float vy = cy - shipCentreY();
  float d = std::sqrt(vx * vx + vy * vy);
  if (d == 0) d = 1;
  const double turn = std::acos(static_cast<double>(vy / d));
  const double a = vx > 0 ? turn : 6.28 - turn;
  const float direction = static_cast<float>(a + 3.14);

  for (sBullet &bullet : bulletEnnemy) {
    if (bullet.active) continue;
    bullet.active = true;
    bullet.type = randomBelow(3);
    bullet.x = cx;
    bullet.y = cy;
    bullet.speedx = 2 * static_cast<float>(std::sin(direction));
    bullet.speedy = 2 * static_cast<float>(std::cos(direction));
    playSound(snd_ennemyshot);
    return;
  }
}

void doEnemyBullet(KGraphic *surface) {
  ShipBox ship = shipBox();
  surface->setAlphaMode(K_ALPHA_ADD);
  for (sBullet &bullet : bulletEnnemy) {
    if (!bullet.active) continue;
    if (myShip.shield > 0 && rectOverlap(ship.x1, ship.y1, ship.x2, ship.y2, bullet.x, bullet.y,
                                         bullet.x + 11, bullet.y + 11)) {
      bullet.active = false;
      myShip.x += 2 * bullet.speedx; // knocked along the shot's path
      myShip.y += 2 * bullet.speedy;
      ship = shipBox();
      hurtShip();
      continue;
    }
    bullet.x += bullet.speedx;
    bullet.y += bullet.speedy;
    if (bullet.x > 480 || bullet.y > 480 || bullet.x < -10 || bullet.y < -10) bullet.active = false;
    const float *r = ENEMY_SHOT_RECTS[bullet.type];
    surface->blitAlphaRect(r[0], r[1], r[2], r[3], screenCoord(bullet.x), screenCoord(bullet.y),
                           false, false);
  }
  surface->setAlphaMode(K_ALPHA_NORMAL);
}

void aliensTouchShip(sAlien *alienPtr) {
  sAlien &a = *alienPtr;
  if (!a.alive) return;
  if (a.radius + 8 < distance(centreX(a), centreY(a), shipCentreX(), shipCentreY())) return;
  a.alive = false;
  playSound(snd_ennemyexplo);
  myShip.shield -= 1;
  playSoundOnce(snd_herohit);
  myShip.hit = 1.0f;
  throwParticles(&a, 50);
}

void doShipCollision() {
  const ShipBox ship = shipBox();
  for (sBonus &b : bonuses) {
    if (b.active &&
        rectOverlap(static_cast<float>(b.x), static_cast<float>(b.y), static_cast<float>(b.x + 20),
                    static_cast<float>(b.y + 18), ship.x1, ship.y1, ship.x2, ship.y2))
      takeBonus(b);
  }
}

void killAllAliens() {
  for (sAlien &a : allAliens) {
    if (!hasArrived(a)) // aliens still arriving survive the bomb
      continue;
    addFloating(&a);
    a.alive = false;
    gScore += a.scorePoints;
    throwParticles(&a, 20);
  }
}
