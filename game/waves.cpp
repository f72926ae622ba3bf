// Alien waves: when a new alien is made, of which kind, where and with which starting values,
// and the change from one level to the next.
#include "aliens.h"

// The kinds to draw from, one row per value of gAlienChoice (levels 1 to 13; from level 14 on
// every kind is equally likely and the table is no longer read).
const srandalienTable randalienTable[16] = {
    {{3, 3, 3, 4, 3, 3, 3, 3, 3, 3, 4, 3}},     // level 1: short and longer hops
    {{3, 4, 3, 4, 3, 4, 5, 3, 3, 3, 4, 3}},     // level 2: the first diagonal hopper
    {{3, 4, 3, 4, 3, 4, 5, 3, 5, 3, 4, 3}},     // level 3
    {{3, 6, 3, 4, 3, 4, 5, 3, 5, 3, 6, 3}},     // level 4: the first curving kind
    {{3, 6, 3, 10, 3, 4, 5, 3, 5, 3, 6, 3}},    // level 5: curves past the ship
    {{3, 6, 3, 10, 3, 5, 6, 3, 5, 3, 6, 3}},    // level 6
    {{3, 4, 5, 6, 7, 7, 5, 5, 5, 3, 6, 3}},     // level 7
    {{3, 7, 5, 6, 8, 7, 5, 9, 5, 9, 6, 3}},     // level 8
    {{3, 7, 5, 6, 8, 7, 5, 9, 5, 9, 6, 10}},    // level 9
    {{3, 10, 11, 9, 0, 7, 5, 9, 5, 9, 6, 10}},  // level 10: the steering kind
    {{3, 1, 0, 9, 0, 7, 5, 0, 5, 1, 6, 10}},    // level 11: bouncers
    {{3, 1, 2, 2, 0, 7, 5, 0, 9, 10, 11, 10}},  // level 12: dashers
    {{0, 1, 2, 2, 2, 5, 5, 5, 11, 11, 11, 10}}, // level 13
    {{5, 2, 2, 2, 5, 5, 8, 8, 11, 11, 11, 5}},  // never selected
    {{2, 1, 2, 5, 9, 8, 8, 11, 11, 11, 5, 2}},  // never selected
    {{2, 2, 5, 5, 8, 8, 11, 5, 11, 0, 0, 0}},   // never selected
};

// Picture, arrival offset, strength, value and spin of each kind.
const sAlienKind alienKinds[ALIEN_KINDS] = {
    {0, 0, 77, 74, 40, 7, 100, true},        // 0: steers toward the ship
    {0, 83, 77, 161, 40, 15, 150, true},     // 1: bounces off the edges
    {0, 166, 77, 243, 40, 25, 200, true},    // 2: waits, then dashes to the ship
    {182, 0, 228, 47, 20, 1, 10, true},      // 3: short hops, one axis at a time
    {182, 83, 228, 130, 20, 3, 20, true},    // 4: longer hops, one axis at a time
    {182, 166, 228, 213, 20, 6, 50, true},   // 5: diagonal hops
    {228, 0, 274, 46, 20, 2, 20, false},     // 6: curves through a field corner
    {228, 83, 274, 129, 20, 4, 50, false},   // 7: as 6
    {228, 166, 274, 212, 20, 6, 100, false}, // 8: as 6
    {274, 1, 307, 36, 20, 2, 50, false},     // 9: curves past the ship
    {274, 1, 307, 36, 20, 4, 75, false},     // 10: as 9, stronger, same picture
    {274, 167, 307, 202, 20, 6, 100, false}, // 11: as 9
};

namespace {

const float QUIET_START = 97.0f; // no spawn while the level timer is above this (60 frames)

sAlien *firstFreeAlien() {
  for (sAlien &alien : allAliens)
    if (!alien.alive) return &alien;
  return nullptr;
}

// A random point of the field, 40 .. 439 on both axes.
void setRandomFieldPoint(KPoint &p) {
  p.x = 40 + randomBelow(400);
  p.y = 40 + randomBelow(400);
}

// The flight path from the spawn point, bent toward a random point, to where the ship is now.
void setFirstPath(sAlien &alien) {
  alien.p1.x = alien.x;
  alien.p1.y = alien.y;
  setRandomFieldPoint(alien.p2);
  alien.p3.x = myShip.x;
  alien.p3.y = myShip.y;
}

float randomHalfSpeed() { return randomBelow(2) == 0 ? -0.5f : 0.5f; }

// A hop target up to 30 pixels away, kept within 0 .. 450.
float firstHopTarget(float from) {
  float to = from + static_cast<float>(randomBelow(60) - 30);
  if (to < 0) to = 0;
  if (to > 450) to = 450;
  return to;
}

void setKindValues(sAlien &alien) {
  const sAlienKind &kind = alienKinds[alien.type];
  alien.x1 = kind.x1;
  alien.y1 = kind.y1;
  alien.x2 = kind.x2;
  alien.y2 = kind.y2;
  alien.width = kind.x2 - kind.x1;
  alien.height = kind.y2 - kind.y1;
  alien.appearX = alien.appearY = kind.appear;
  alien.autoRotate = kind.autoRotate;
  alien.lifePoints = kind.lifePoints;
  alien.scorePoints = kind.scorePoints;

  const int32_t type = alien.type;
  if (type == 1) {
    alien.speedx = randomHalfSpeed();
    alien.speedy = randomHalfSpeed();
  }
  if (type >= 2 && type <= 5) alien.rotationSpeed *= 2;
  if (type >= 3 && type <= 5) {
    alien.dx = firstHopTarget(alien.x);
    alien.dy = firstHopTarget(alien.y);
    alien.speedx = (alien.dx - alien.x) / 30;
    alien.speedy = (alien.dy - alien.y) / 30;
  }
  if (type == 7 || type >= 9) setFirstPath(alien);
  if (type >= 9) doMyLife(&alien); // the first step at once, with its chance to shoot
}

void spawnAlien(sAlien &alien) {
  alien.alive = true;
  alien.arrival = 0;
  alien.x = static_cast<float>(40 + randomBelow(400));
  alien.y = static_cast<float>(40 + randomBelow(400));
  alien.dx = alien.x;
  alien.dy = alien.y;
  alien.rotation = 0;
  alien.rotationSpeed = randomBelow(2) == 1 ? -1.0f : 1.0f;
  alien.speedx = alien.speedy = 0;
  alien.white = 0;
  alien.blend = 0;
  alien.autoRotate = false;
  alien.progression = 0;
  setFirstPath(alien);

  if (gLevel < 14)
    alien.type = randalienTable[gAlienChoice].aliens[randomBelow(12)];
  else
    alien.type = randomBelow(ALIEN_KINDS);
  setKindValues(alien);
  alien.radius = (alien.x2 - alien.x1) / 2 * 0.9;
  playSound(snd_alienArrival);
}

} // namespace

bool anyAlienAlive() {
  for (const sAlien &alien : allAliens)
    if (alien.alive) return true;
  return false;
}

void startNextLevel() {
  gLevelTimer = 100.0f;
  gAlienChoice += 1;
  if (gAlienChoice >= 15) gAlienChoice = 16;
  gLevel += 1;
  if (gLevel % 5 == 0) {
    gCurrentBackground += 1;
    if (gCurrentBackground > 1) gCurrentBackground = 0;
  }
  if (gLevel == 9) playMusic("data\\audio\\ingame.ogg");
  if (gLevel < 5) gDifficulty -= 6;
  gDifficulty -= 12;
  gBulletRatio -= 8;
  // Floors: both are divisors of a random draw.
  if (gDifficulty < 5) gDifficulty = 5;
  if (gBulletRatio < 3) gBulletRatio = 3;
}

void resetAliens() {
  gSpeedScore = 50;
  resetBonuses();
  for (sAlien &alien : allAliens) alien.alive = false;
}

void addAlien() {
  if (gLevelTimer <= 0) {
    if (anyAlienAlive()) return;
    startNextLevel();
  }
  if (gLevelTimer > QUIET_START) return;
  if (anyAlienAlive() && randomBelow(gDifficulty) != 0) return;
  if (sAlien *alien = firstFreeAlien()) spawnAlien(*alien);
}
