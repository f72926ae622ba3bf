// Alien movement: the arrival of a new alien, then every frame the behaviour of its kind, its
// drawing with the flash after a hit, and its chance to fire. doAliens also runs, in a fixed
// order, the per-frame work of the hits, bonuses, particles and floating scores.
#include <cmath>

#include "KGraphic.h"
#include "KInput.h"
#include "aliens.h"

KSpline ks; // the evaluator of every flight path; it keeps no state

namespace {

const float DEGREES_PER_RADIAN = 57.32484f; // 180 / 3.14, as a float

// Angle of the square being drawn by the arrival; set afresh every animated frame.
float roat;

// One square of the arrival: four lines around (cx, cy), corners R from the centre.
void drawArrivalSquare(KGraphic *surface, float cx, float cy, float R, float blend) {
  float px[4], py[4];
  const float angles[4] = {roat, roat + 1.57f, roat + 3.14f, roat + 3.14f + 1.57f};
  for (int i = 0; i < 4; i++) {
    px[i] = cx + R * static_cast<float>(std::cos(angles[i]));
    py[i] = cy + R * static_cast<float>(std::sin(angles[i]));
  }
  for (int i = 0; i < 4; i++) {
    const int j = (i + 1) % 4;
    surface->drawLine(px[i], py[i], px[j], py[j], 0, 1, 0, blend);
  }
}

// Type 0: the speed turns 0.01 a frame toward the ship, at most 0.75 on each axis.
float steer(float speed, float ship, float centre) {
  if (ship < centre)
    speed -= 0.01f;
  else if (ship > centre)
    speed += 0.01f;
  if (speed < -0.75f) speed = -0.75f;
  if (speed > 0.75f) speed = 0.75f;
  return speed;
}

void moveSteering(sAlien &a, float cx, float cy) {
  a.speedx = steer(a.speedx, myShip.x, cx);
  a.speedy = steer(a.speedy, myShip.y, cy);
  a.x += a.speedx;
  a.y += a.speedy;
}

// Type 1: turns (is never pushed back) once beyond an edge.
void moveBouncing(sAlien &a) {
  if (a.x < -10 || a.x > 490 - a.width) a.speedx = -a.speedx;
  if (a.y < -10 || a.y > 490 - a.height) a.speedy = -a.speedy;
  a.x += a.speedx;
  a.y += a.speedy;
}

// Type 2: sits for 120 frames, then covers the way to where the ship was in 100 and rests 20.
void moveDashing(sAlien &a) {
  a.progression += 1;
  a.x += a.speedx;
  a.y += a.speedy;
  if (a.progression >= 100) a.speedx = a.speedy = 0;
  if (a.progression >= 120) {
    a.progression = 0;
    a.dx = myShip.x;
    a.dy = myShip.y;
    a.speedx = (a.dx - a.x) / 100;
    a.speedy = (a.dy - a.y) / 100;
  }
}

// A hop toward the ship on one axis: 0 .. period - 1 pixels, spread over period frames.
void hopToward(float ship, float from, float &dest, float &speed, int32_t period) {
  const float sign = ship < from ? -1.0f : 1.0f;
  dest = from + static_cast<float>(randomBelow(period)) * sign;
  speed = (dest - from) / static_cast<float>(period);
}

// Types 3 and 4: every period frames a hop along one axis picked at random.
void moveHopping(sAlien &a, int32_t period) {
  a.progression += 1;
  if (a.progression >= static_cast<float>(period)) {
    a.progression = 0;
    a.speedx = a.speedy = 0;
    if (randomBelow(2) == 0)
      hopToward(myShip.x, a.x, a.dx, a.speedx, period);
    else
      hopToward(myShip.y, a.y, a.dy, a.speedy, period);
  }
  a.x += a.speedx;
  a.y += a.speedy;
}

// Type 5: every 50 frames a hop along both axes.
void moveDiagonalHopping(sAlien &a) {
  a.progression += 1;
  if (a.progression >= 50) {
    a.progression = 0;
    a.speedx = a.speedy = 0;
    hopToward(myShip.x, a.x, a.dx, a.speedx, 50);
    hopToward(myShip.y, a.y, a.dy, a.speedy, 50);
  }
  a.x += a.speedx;
  a.y += a.speedy;
}

// Types 6 to 11: to the curve's point at `progression`, facing the way moved.
void followPath(sAlien &a) {
  KPoint kp;
  ks.getPointFromCtrlPoint(&kp, &a.p3, &a.p2, &a.p1, a.progression);
  const float kx = static_cast<float>(kp.x);
  const float ky = static_cast<float>(kp.y);
  const float mx = kx - a.x;
  const float my = ky - a.y;
  float d = std::sqrt(mx * mx + my * my);
  if (d == 0) d = 1; // no move: the heading of a straight-down look, about 449.95 degrees
  const double turn = std::acos(static_cast<double>(my / d));
  const float angle = static_cast<float>(mx > 0 ? turn : 6.28 - turn);
  a.rotation = angle * DEGREES_PER_RADIAN + 180;
  a.x = kx;
  a.y = ky;
}

// A point within 20 pixels of where the ship is now.
void setNearShip(KPoint &p) {
  p.x = myShip.x + static_cast<float>(randomBelow(40)) - 20;
  p.y = myShip.y + static_cast<float>(randomBelow(40)) - 20;
}

const KPoint FIELD_CORNERS[4] = {{0, 0, 0, 0}, {450, 0, 0, 0}, {450, 450, 0, 0}, {0, 450, 0, 0}};

// Types 6 to 8: each new segment bends toward a field corner and ends near the ship.
void moveThroughCorner(sAlien &a) {
  followPath(a);
  a.progression += 0.005f;
  if (a.progression > 1.0f) {
    a.progression = 0.005f;
    a.p1.x = a.x;
    a.p1.y = a.y;
    const KPoint &corner = FIELD_CORNERS[randomBelow(4)];
    a.p2.x = corner.x;
    a.p2.y = corner.y;
    setNearShip(a.p3);
  }
}

// Types 9 to 11: each new segment bends toward the ship and ends at a random point.
void movePastShip(sAlien &a) {
  followPath(a);
  a.progression += 0.005f;
  if (a.progression > 1.0f) {
    a.progression = 0;
    a.p1.x = a.x;
    a.p1.y = a.y;
    a.p3.x = 40 + randomBelow(400);
    a.p3.y = 40 + randomBelow(400);
    setNearShip(a.p2);
  }
}

void moveByKind(sAlien &a, float cx, float cy) {
  switch (a.type) {
  case 0: moveSteering(a, cx, cy); break;
  case 1: moveBouncing(a); break;
  case 2: moveDashing(a); break;
  case 3: moveHopping(a, 30); break;
  case 4: moveHopping(a, 50); break;
  case 5: moveDiagonalHopping(a); break;
  case 6:
  case 7:
  case 8: moveThroughCorner(a); break;
  default: movePastShip(a); break;
  }
}

// An arrived alien, and the bright copy that grows and fades after a hit.
void drawAlien(sAlien &a, KGraphic *surface) {
  const short x = screenCoord(a.x), y = screenCoord(a.y);
  surface->blitAlphaRectFx(a.x1, a.y1, a.x2, a.y2, x, y, a.rotation, 1.0f, a.blend, false, false);
  if (a.white > 0) {
    surface->blitAlphaRectFx(a.x1, a.y1, a.x2, a.y2, x, y, a.rotation, 2 - a.white, a.white, false,
                             false);
    a.white -= 0.1f;
  }
}

} // namespace

void doArrival(sAlien *alienPtr, KGraphic *surface) {
  sAlien &a = *alienPtr;
  if (a.arrival > 0.72f) {
    a.arrival = 1.0f;
    a.rotation = static_cast<float>(randomBelow(360));
    a.x -= a.appearX; // the spawn point becomes the sprite's top-left corner
    a.y -= a.appearY;
    return;
  }
  a.arrival += 0.01f;
  a.rotation = a.arrival * 3.14f;
  roat = a.rotation;
  drawArrivalSquare(surface, a.dx, a.dy, (1 - a.arrival) * 120, 0.5f);
  roat += 0.785f;
  drawArrivalSquare(surface, a.dx, a.dy, (1 - a.arrival) * 85, 0.2f);
}

void doMyLife(sAlien *alienPtr) {
  sAlien &a = *alienPtr;
  a.blend += 0.05f;
  if (a.blend > 1.0f) a.blend = 1.0f;
  if (a.autoRotate) {
    a.rotation += a.rotationSpeed;
    if (a.rotation > 360) a.rotation = 0;
    if (a.rotation < 0) a.rotation = 360;
  }
  const float cx = a.x + a.width / 2;
  const float cy = a.y + a.height / 2;
  moveByKind(a, cx, cy);
  if (randomBelow(gBulletRatio) == 0) addEnemyBullet(alienPtr);
}

void doAliens(KGraphic *surfaceAlien) {
  if (KInput::isPressed(K_VK_U)) { // shows the smart-bomb flash, and nothing else
    addNegFloating(-4, 240, 240);
    KInput::waitForKeyRelease(K_VK_U);
  }
  doBonuses(surfaceAlien);
  surfaceAlien->setAlphaMode(K_ALPHA_ADD);
  for (sAlien &alien : allAliens) {
    if (!alien.alive) continue;
    if (alien.arrival < 1.0f) {
      doArrival(&alien, surfaceAlien);
      continue;
    }
    doMyLife(&alien);
    drawAlien(alien, surfaceAlien);
    if (myShip.shield > 0) aliensTouchShip(&alien);
  }
  alienHitByShipBullets();
  doParticles(surfaceAlien);
  surfaceAlien->setAlphaMode(K_ALPHA_NORMAL);
  doFloating(surfaceAlien);
}
