// A clean game state for the alien tests: empty tables, a ship at its starting values, the
// values a new game starts with, and the game's generator seeded.
#ifndef ALIEN_FIXTURE_H
#define ALIEN_FIXTURE_H

#include <gtest/gtest.h>

#include "KSound.h"
#include "aliens.h"
#include "recording_graphic.h"

class AlienTest : public ::testing::Test {
protected:
  RecordingGraphic sheet;

  void SetUp() override {
    for (sAlien &a : allAliens) a = sAlien{};
    for (sBonus &b : bonuses) b = sBonus{};
    for (sParticle &p : particles) p = sParticle{};
    for (sFloatingScore &f : allFloatingScores) f = sFloatingScore{};
    for (sBullet &b : bulletShip) b = sBullet{};
    for (sBullet &b : bulletEnnemy) b = sBullet{};
    myShip = sShip{};
    myShip.x = 225;
    myShip.y = 320;
    myShip.shield = 10;
    myShip.bulletPower = 1.0f;
    myShip.autofireTimer = 15;
    myShip.speed = 2.0f;
    gLevelTimer = 100;
    gLevel = 1;
    gScore = 0;
    gNextBonus = 100;
    gNextBonusIncrement = 50;
    gDifficulty = 160;
    gBulletRatio = 200;
    gAlienChoice = 0;
    gCurrentBackground = 0;
    gSpeedScore = 50;
    gShieldScore = 50;
    gameSrand(12345);
  }

  void TearDown() override {
    delete snd_music; // a level 9 started the in-game music
    snd_music = nullptr;
  }

  // An arrived alien of `type` whose centre is (cx, cy), with the kind's values.
  sAlien &placeAlien(int index, int32_t type, float cx, float cy) {
    const sAlienKind &k = alienKinds[type];
    sAlien &a = allAliens[index];
    a = sAlien{};
    a.alive = true;
    a.arrival = 1.0f;
    a.type = type;
    a.x1 = k.x1;
    a.y1 = k.y1;
    a.x2 = k.x2;
    a.y2 = k.y2;
    a.width = k.x2 - k.x1;
    a.height = k.y2 - k.y1;
    a.x = cx - a.width / 2;
    a.y = cy - a.height / 2;
    a.lifePoints = k.lifePoints;
    a.scorePoints = k.scorePoints;
    a.autoRotate = k.autoRotate;
    a.appearX = a.appearY = k.appear;
    a.blend = 1.0f;
    a.radius = (k.x2 - k.x1) / 2 * 0.9;
    return a;
  }

  sBullet &placeShipShot(int index, float x, float y) {
    sBullet &b = bulletShip[index];
    b = sBullet{};
    b.active = true;
    b.x = x;
    b.y = y;
    return b;
  }

  static int aliveCount() {
    int n = 0;
    for (const sAlien &a : allAliens) n += a.alive;
    return n;
  }
  static int particleCount() {
    int n = 0;
    for (const sParticle &p : particles) n += p.alpha > 0;
    return n;
  }
  static int floatingCount() {
    int n = 0;
    for (const sFloatingScore &f : allFloatingScores) n += f.alpha > 0;
    return n;
  }
  static int bonusCount() {
    int n = 0;
    for (const sBonus &b : bonuses) n += b.active;
    return n;
  }
  // A shot chance only when a draw is exactly 0 (1 in 32768); the draws are still made.
  static void rarelyShoot() { gBulletRatio = 1 << 30; }
};

#endif
