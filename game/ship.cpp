// The player's ship: eight-way steering, the 15-degree-a-frame turn, autofire, the exhaust
// trail and the shots.
#include <cmath>

#include "KGraphic.h"
#include "aliens.h" // playSound, screenCoord
#include "game.h"
#include "key_bindings.h"

namespace {

// The autofire counter; it is not reset between games.
int32_t upTimer = 0;

// The game's degrees-to-radians divisor (180 / 3.14).
const float DEGREES_PER_RADIAN = 57.32484f;

void drawShip(KGraphic *surf_sprites, float opacity) {
  surf_sprites->blitAlphaRectFx(161, 254, 196, 287, screenCoord(myShip.x), screenCoord(myShip.y),
                                360 - myShip.rotation, 1.0f, opacity, false, false);
}

} // namespace

sShipKeys readShipKeys() {
  sShipKeys keys;
  keys.left = actionPressed(gKeyBindings, ACTION_LEFT);
  keys.right = actionPressed(gKeyBindings, ACTION_RIGHT);
  keys.up = actionPressed(gKeyBindings, ACTION_UP);
  keys.down = actionPressed(gKeyBindings, ACTION_DOWN);
  keys.fire = actionPressed(gKeyBindings, ACTION_FIRE);
  return keys;
}

void steerShip(const sShipKeys &keys) {
  // Read in this order: Right wins over Left, Down over Up.
  myShip.speedX = 0;
  myShip.speedY = 0;
  if (keys.left) myShip.speedX = -myShip.speed;
  if (keys.right) myShip.speedX = myShip.speed;
  if (keys.up) myShip.speedY = -myShip.speed;
  if (keys.down) myShip.speedY = myShip.speed;

  // No direction key keeps the last heading.
  if (myShip.speedX < 0) {
    myShip.destRotIndex = 6;
    if (myShip.speedY < 0) myShip.destRotIndex = 7;
    if (myShip.speedY > 0) myShip.destRotIndex = 5;
  } else if (myShip.speedX > 0) {
    myShip.destRotIndex = 2;
    if (myShip.speedY < 0) myShip.destRotIndex = 1;
    if (myShip.speedY > 0) myShip.destRotIndex = 3;
  } else {
    if (myShip.speedY > 0) myShip.destRotIndex = 4;
    if (myShip.speedY < 0) myShip.destRotIndex = 0;
  }
}

bool shipCanFire(bool fireKey, int32_t &timer, int32_t autofireTimer) {
  if (timer == 0) {
    if (!fireKey) return false;
    timer = 1;
    return true;
  }
  timer += 1;
  if (timer > autofireTimer) timer = 0;
  return false;
}

void moveShip() {
  myShip.x += myShip.speedX;
  myShip.y += myShip.speedY;
  if (myShip.x < 0) myShip.x = 0;
  if (myShip.x > 448) myShip.x = 448;
  if (myShip.y < 0) myShip.y = 0;
  if (myShip.y > 448) myShip.y = 448;
}

void turnShip() {
  float way = 0;
  if (myShip.rotIndex != myShip.destRotIndex) {
    for (const sDepTable &dep : depTable) {
      if (dep.sourceRot == myShip.rotIndex && dep.destRot == myShip.destRotIndex) {
        way = dep.speed;
        break;
      }
    }
  }
  myShip.destrotation = (float)(myShip.destRotIndex * 45);

  if (way > 0) {
    myShip.rotation += 15;
    if ((myShip.rotIndex == 6 || myShip.rotIndex == 7) && myShip.destRotIndex == 1) {
      // Clockwise through up: the angle runs past 360 to 405 and wraps to 45.
      if (myShip.rotation >= 405) {
        myShip.rotation = 45;
        myShip.rotIndex = myShip.destRotIndex;
      }
    } else if (myShip.destRotIndex == 0 &&
               (myShip.rotIndex == 4 || myShip.rotIndex == 6 || myShip.rotIndex == 7)) {
      if (myShip.rotation >= 360) {
        myShip.rotation = 0;
        myShip.rotIndex = myShip.destRotIndex;
      }
    } else if (myShip.rotation >= myShip.destrotation) {
      myShip.rotation = myShip.destrotation;
      myShip.rotIndex = myShip.destRotIndex;
    }
  }
  if (way < 0) {
    myShip.rotation -= 15;
    if (myShip.rotation < myShip.destrotation) {
      myShip.rotation = myShip.destrotation;
      myShip.rotIndex = myShip.destRotIndex;
    }
    if (myShip.rotation < 0) myShip.rotation += 360;
  }

  // A heading reached, or given up mid-turn, snaps to its exact angle.
  if (myShip.rotIndex == myShip.destRotIndex &&
      (int32_t)(myShip.rotation * 10 / 45) != myShip.rotIndex * 10)
    myShip.rotation = (float)(myShip.rotIndex * 45);
}

void doShip(KGraphic *surf_sprites) {
  if (!surf_sprites || myShip.shield <= 0) return;

  sShipKeys keys = readShipKeys();
  steerShip(keys);
  if (shipCanFire(keys.fire, upTimer, myShip.autofireTimer))
    addShipBullet(myShip.x, myShip.y, myShip.rotation);
  moveShip();
  turnShip();

  doReactor(surf_sprites); // under the ship, which covers the newest particle
  surf_sprites->setTextureQuality(false);
  drawShip(surf_sprites, 1.0f);
  if (myShip.hit > 0) {
    surf_sprites->setAlphaMode(K_ALPHA_ADD);
    drawShip(surf_sprites, myShip.hit / 2);
    surf_sprites->setAlphaMode(K_ALPHA_NORMAL);
  }
  surf_sprites->setTextureQuality(true);
}

void doReactor(KGraphic *surface) {
  for (sReactor &r : reactors) {
    if (r.alpha > 0) continue;
    r.alpha = 1.0f;
    switch (myShip.rotIndex) { // the nozzle's place for each heading
    case 1:
    case 2:
    case 3:
      r.x = myShip.x + 13;
      r.y = myShip.y + 13;
      break;
    case 4:
      r.x = myShip.x + 12;
      r.y = myShip.y + 13;
      break;
    case 5:
    case 6:
      r.x = myShip.x + 12;
      r.y = myShip.y + 12;
      break;
    case 7:
      r.x = myShip.x + 13;
      r.y = myShip.y + 10;
      break;
    default:
      r.x = myShip.x + 13;
      r.y = myShip.y + 12;
      break;
    }
    break;
  }

  surface->setAlphaMode(K_ALPHA_ADD);
  for (sReactor &r : reactors) {
    if (r.alpha <= 0) continue;
    r.alpha -= 0.05f;
    surface->blitAlphaRectFx(211, 305, 219, 313, screenCoord(r.x), screenCoord(r.y), 0, 1.0f,
                             r.alpha, false, false);
  }
  surface->setAlphaMode(K_ALPHA_NORMAL);
}

void addShipBullet(float x, float y, float angle) {
  x += 16;
  y += 16;
  float a = (angle - 90) / DEGREES_PER_RADIAN;
  float speedx = 7 * (float)std::cos((double)a);
  float speedy = 7 * (float)std::sin((double)a);

  for (sBullet &b : bulletShip) {
    if (b.active) continue;
    b.active = true;
    b.x = x;
    b.y = y;
    b.speedx = speedx;
    b.speedy = speedy;
    b.angle = 360 - angle;
    playSound(snd_shipshot);
    if (myShip.rotIndex == 0) {
      b.x -= 1;
    } else if (myShip.rotIndex == 1) {
      b.x -= 1;
      b.y -= 2;
    } else {
      b.y -= 3;
    }
    return;
  }
}

void doShipBullet(KGraphic *surf_sprites) {
  for (sBullet &b : bulletShip) {
    if (!b.active) continue;
    b.x += b.speedx;
    b.y += b.speedy;
    if (b.x < -10 || b.y < -10 || b.x > 480 || b.y > 480) b.active = false;
    // Drawn also on the frame it leaves.
    if (surf_sprites)
      surf_sprites->blitAlphaRectFx(176, 238, 181, 246, screenCoord(b.x), screenCoord(b.y), b.angle,
                                    1.0f, 1.0f, false, false);
  }
}

void resetBullets() {
  for (sBullet &b : bulletShip) b.active = false;
  for (sBullet &b : bulletEnnemy) b.active = false;
}

void resetReactor() {
  for (sReactor &r : reactors) r.alpha = 0;
}
