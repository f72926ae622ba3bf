// Combat: shots against aliens, shots against the ship, ramming, bonus pickups, the smart bomb.
#include <cmath>

#include "alien_fixture.h"

namespace {

class Combat : public AlienTest {
protected:
  // A bonus of `type` lying on the ship.
  sBonus &bonusOnShip(int index, int32_t type) {
    sBonus &b = bonuses[index];
    b = sBonus{};
    b.active = true;
    b.type = type;
    b.x = static_cast<int32_t>(myShip.x) + 10;
    b.y = static_cast<int32_t>(myShip.y) + 10;
    return b;
  }
  sBullet &enemyShot(int index, float x, float y, float sx, float sy) {
    sBullet &b = bulletEnnemy[index];
    b = sBullet{};
    b.active = true;
    b.x = x;
    b.y = y;
    b.speedx = sx;
    b.speedy = sy;
    return b;
  }
};

TEST_F(Combat, BoxesTouchingAlongAnEdgeOverlap) {
  EXPECT_TRUE(rectOverlap(0, 0, 10, 10, 10, 0, 20, 10)); // right edge on left edge
  EXPECT_TRUE(rectOverlap(0, 0, 10, 10, 0, 10, 10, 20)); // bottom on top
  EXPECT_TRUE(rectOverlap(0, 0, 10, 10, 2, 2, 3, 3));    // inside
  EXPECT_FALSE(rectOverlap(0, 0, 10, 10, 10.5f, 0, 20, 10));
  EXPECT_FALSE(rectOverlap(0, 11, 10, 20, 0, 0, 10, 10.5f));
}

TEST_F(Combat, ShotExactlyOnTheRadiusHits) {
  sAlien &a = placeAlien(0, 3, 100, 100);
  a.radius = 20; // a 12-16-20 triangle: the distance is exact
  a.lifePoints = 5;
  placeShipShot(0, 112, 116);
  placeShipShot(1, 112.01f, 116);
  alienHitByShipBullets();
  EXPECT_FALSE(bulletShip[0].active);
  EXPECT_TRUE(bulletShip[1].active);
  EXPECT_FLOAT_EQ(a.lifePoints, 4);
}

TEST_F(Combat, SurvivorsFlashAndTheShotHurtsEveryAlienItLiesIn) {
  sAlien &a = placeAlien(0, 0, 100, 100);
  sAlien &b = placeAlien(1, 1, 105, 100);
  placeShipShot(0, 102, 100);
  alienHitByShipBullets();
  EXPECT_FLOAT_EQ(a.lifePoints, 6);
  EXPECT_FLOAT_EQ(b.lifePoints, 14);
  EXPECT_EQ(a.white, 1.0f);
  EXPECT_EQ(b.white, 1.0f);
  EXPECT_FALSE(bulletShip[0].active);
}

TEST_F(Combat, AKillEndsTheShotsPass) {
  sAlien &a = placeAlien(0, 3, 100, 100);
  sAlien &b = placeAlien(1, 0, 100, 100);
  placeShipShot(0, 100, 100);
  alienHitByShipBullets();
  EXPECT_FALSE(a.alive);
  EXPECT_FLOAT_EQ(b.lifePoints, 7); // untouched
  EXPECT_EQ(b.white, 0);
  EXPECT_EQ(particleCount(), 20);
  EXPECT_EQ(floatingCount(), 1);
  EXPECT_EQ(allFloatingScores[0].score, 10);
}

TEST_F(Combat, ArrivingAliensCannotBeShot) {
  sAlien &a = placeAlien(0, 3, 100, 100);
  a.arrival = 0.5f;
  placeShipShot(0, 100, 100);
  alienHitByShipBullets();
  EXPECT_TRUE(a.alive);
  EXPECT_TRUE(bulletShip[0].active);
}

TEST_F(Combat, BonusThresholdMustBeExceeded) {
  gScore = 90;
  placeAlien(0, 3, 100, 100); // 10 points: exactly 100
  placeShipShot(0, 100, 100);
  alienHitByShipBullets();
  EXPECT_EQ(gScore, 100);
  EXPECT_EQ(bonusCount(), 0);
  EXPECT_EQ(gNextBonus, 100);
  placeAlien(0, 3, 200, 200);
  placeShipShot(0, 200, 200);
  alienHitByShipBullets();
  EXPECT_EQ(bonusCount(), 1);
  EXPECT_EQ(bonuses[0].x, 200 - 8);
  EXPECT_EQ(gNextBonus, 150);
  EXPECT_EQ(gNextBonusIncrement, 100);
}

TEST_F(Combat, ThresholdsGrowBy50MoreEachTime) {
  std::vector<int32_t> thresholds{gNextBonus};
  for (int i = 0; i < 6; i++) {
    gScore = gNextBonus + 1;
    bonuses[0].active = false; // it would catch the next shot
    placeAlien(0, 3, 100, 100).scorePoints = 0;
    placeShipShot(0, 100, 100);
    alienHitByShipBullets();
    thresholds.push_back(gNextBonus);
  }
  EXPECT_EQ(thresholds, (std::vector<int32_t>{100, 150, 250, 400, 600, 850, 1150}));
}

TEST_F(Combat, SmartBombKillsArrivedAliensOnlyAndReleasesNoBonus) {
  placeAlien(0, 0, 100, 100);
  placeAlien(1, 2, 300, 100);
  sAlien &arriving = placeAlien(2, 1, 200, 300);
  arriving.arrival = 0.9f;
  killAllAliens();
  EXPECT_EQ(gScore, 300); // past 100 and 150
  EXPECT_EQ(aliveCount(), 1);
  EXPECT_TRUE(arriving.alive);
  EXPECT_EQ(bonusCount(), 0);
  EXPECT_EQ(gNextBonus, 100);
  EXPECT_EQ(particleCount(), 40);
  EXPECT_EQ(floatingCount(), 2);
  // The next bullet kill above the threshold releases one.
  placeAlien(0, 3, 100, 100);
  placeShipShot(0, 100, 100);
  alienHitByShipBullets();
  EXPECT_EQ(bonusCount(), 1);
  EXPECT_EQ(gNextBonus, 150);
}

TEST_F(Combat, EnemyShotIsAimedAtTheShipsCentre) {
  sAlien &a = placeAlien(0, 3, myShip.x + 15 - 60, myShip.y + 15 - 80); // 3-4-5 away
  addEnemyBullet(&a);
  const sBullet &b = bulletEnnemy[0];
  ASSERT_TRUE(b.active);
  EXPECT_EQ(b.x, myShip.x + 15 - 60);
  EXPECT_NEAR(b.speedx, 2 * 0.6, 0.02); // 3.14 is not quite pi
  EXPECT_NEAR(b.speedy, 2 * 0.8, 0.02);
  EXPECT_NEAR(std::hypot(b.speedx, b.speedy), 2, 1e-5);
  EXPECT_GE(b.type, 0);
  EXPECT_LE(b.type, 2);
}

TEST_F(Combat, ShotFromTheShipsCentreUsesDistanceOne) {
  sAlien &a = placeAlien(0, 3, myShip.x + 15, myShip.y + 15);
  addEnemyBullet(&a);
  const sBullet &b = bulletEnnemy[0];
  ASSERT_TRUE(b.active);
  const float direction = static_cast<float>(6.28 - std::acos(0.0) + 3.14);
  EXPECT_EQ(b.speedx, 2 * static_cast<float>(std::sin(direction)));
  EXPECT_EQ(b.speedy, 2 * static_cast<float>(std::cos(direction)));
}

TEST_F(Combat, NothingShootsAtADestroyedShipAndFullTablesDropShots) {
  sAlien &a = placeAlien(0, 3, 100, 100);
  myShip.shield = 0;
  addEnemyBullet(&a);
  EXPECT_FALSE(bulletEnnemy[0].active);
  myShip.shield = 1;
  for (sBullet &b : bulletEnnemy) b.active = true;
  const uint32_t state = gameRandState();
  addEnemyBullet(&a);
  EXPECT_EQ(gameRandState(), state); // no slot, no draw
}

TEST_F(Combat, TwoEnemyShotsInOneFrameCostTwoPointsAndKnockTwice) {
  enemyShot(0, myShip.x + 10, myShip.y + 8, 1, 0);
  enemyShot(1, myShip.x + 25, myShip.y + 23, 0, 1); // corner on corner
  doEnemyBullet(&sheet);
  EXPECT_EQ(myShip.shield, 8);
  EXPECT_EQ(myShip.x, 227);
  EXPECT_EQ(myShip.y, 322);
  EXPECT_EQ(myShip.hit, 1.0f);
  EXPECT_FALSE(bulletEnnemy[0].active);
  EXPECT_FALSE(bulletEnnemy[1].active);
  EXPECT_EQ(sheet.count("blitAlphaRect"), 0u); // a shot that hits is not drawn
}

TEST_F(Combat, KnockedShipBoxIsUsedForTheRemainingShots) {
  enemyShot(0, myShip.x + 25, myShip.y + 10, 5, 0); // knocks the ship 10 to the right
  enemyShot(1, myShip.x + 35, myShip.y + 10, 0, 0); // beyond the old box, inside the new
  doEnemyBullet(&sheet);
  EXPECT_EQ(myShip.shield, 8);
}

TEST_F(Combat, ShieldIsHeldAtZeroAndAZeroShieldLetsShotsThrough) {
  myShip.shield = 1;
  enemyShot(0, myShip.x + 12, myShip.y + 12, 0, 0);
  enemyShot(1, myShip.x + 12, myShip.y + 12, 0, 0);
  doEnemyBullet(&sheet);
  EXPECT_EQ(myShip.shield, 0);
  EXPECT_TRUE(bulletEnnemy[1].active); // flies through the destroyed ship
}

TEST_F(Combat, EnemyShotsFlyAndAreDrawnOnTheFrameTheyLeave) {
  enemyShot(0, 10.7f, -9.5f, 0, -1).type = 2;
  doEnemyBullet(&sheet);
  EXPECT_FALSE(bulletEnnemy[0].active);
  const auto blits = sheet.callsNamed("blitAlphaRect");
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].args[1], 309); // type 2
  EXPECT_EQ(blits[0].args[4], 10);
  EXPECT_EQ(blits[0].args[5], -10);
  const auto modes = sheet.callsNamed("setAlphaMode");
  ASSERT_EQ(modes.size(), 2u);
  EXPECT_EQ(modes[0].args[0], K_ALPHA_ADD);
}

TEST_F(Combat, RammingCostsAShieldPointAndScoresNothing) {
  sAlien &a = placeAlien(0, 3, myShip.x + 15 + 28.6f, myShip.y + 15); // within radius 20.7 + 8
  aliensTouchShip(&a);
  EXPECT_FALSE(a.alive);
  EXPECT_EQ(myShip.shield, 9);
  EXPECT_EQ(myShip.hit, 1.0f);
  EXPECT_EQ(myShip.x, 225); // not knocked
  EXPECT_EQ(gScore, 0);
  EXPECT_EQ(particleCount(), 50);
  EXPECT_EQ(floatingCount(), 0);
  sAlien &far = placeAlien(1, 3, myShip.x + 15 + 28.8f, myShip.y + 15);
  aliensTouchShip(&far);
  EXPECT_TRUE(far.alive);
}

TEST_F(Combat, FirePowerBonus) {
  myShip.autofireTimer = 6;
  bonusOnShip(0, 0);
  doShipCollision();
  EXPECT_EQ(myShip.autofireTimer, 5);
  EXPECT_EQ(myShip.bulletPower, 1.5f);
  EXPECT_EQ(allFloatingScores[0].score, -1);
  EXPECT_EQ(bonusCount(), 0);
  bonusOnShip(0, 0);
  doShipCollision();
  EXPECT_EQ(myShip.autofireTimer, 5);
  EXPECT_EQ(myShip.bulletPower, 2.0f);
}

TEST_F(Combat, FifthSpeedBonusAlreadyCountsAsTheMaximum) {
  std::vector<int32_t> shown;
  for (int i = 0; i < 6; i++) {
    for (sFloatingScore &f : allFloatingScores) f = sFloatingScore{};
    bonusOnShip(0, 1);
    doShipCollision();
    shown.push_back(allFloatingScores[0].score);
    if (i == 3) { EXPECT_NEAR(myShip.speed, 2.8f, 1e-6); }
  }
  EXPECT_EQ(shown, (std::vector<int32_t>{-2, -2, -2, -2, 50, 100}));
  EXPECT_EQ(myShip.speed, 3.0f);
  EXPECT_EQ(gSpeedScore, 150);
  EXPECT_EQ(gScore, 0); // shown only
}

TEST_F(Combat, ShieldBonusAtTheMaximumAndAfterGameOver) {
  bonusOnShip(0, 2);
  doShipCollision();
  EXPECT_EQ(myShip.shield, 10);
  EXPECT_EQ(allFloatingScores[0].score, 50);
  EXPECT_EQ(allFloatingScores[0].x, bonuses[0].x);
  EXPECT_EQ(gShieldScore, 100);
  // A bonus is taken by a destroyed ship too: the shield comes back and the reward restarts.
  myShip.shield = 0;
  bonusOnShip(0, 2);
  doShipCollision();
  EXPECT_EQ(myShip.shield, 1);
  EXPECT_EQ(gShieldScore, 50);
  EXPECT_EQ(allFloatingScores[1].score, -3);
}

TEST_F(Combat, SmartBombBonusFlashesAndClearsTheField) {
  placeAlien(0, 5, 100, 100);
  const sBonus &b = bonusOnShip(0, 3);
  doShipCollision();
  EXPECT_EQ(aliveCount(), 0);
  EXPECT_EQ(allFloatingScores[0].score, -4);
  EXPECT_EQ(allFloatingScores[0].x, b.x + 5);
  EXPECT_EQ(gScore, 50);
}

TEST_F(Combat, BonusBoxIs20By18) {
  sBonus &b = bonusOnShip(0, 0);
  b.x = static_cast<int32_t>(myShip.x) + 25;     // left edge on the ship box's right edge
  b.y = static_cast<int32_t>(myShip.y) + 8 - 18; // bottom edge on its top edge
  doShipCollision();
  EXPECT_FALSE(b.active);
  sBonus &c = bonusOnShip(1, 0);
  c.y = static_cast<int32_t>(myShip.y) + 8 - 19;
  doShipCollision();
  EXPECT_TRUE(c.active);
}

} // namespace
