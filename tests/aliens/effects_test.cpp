// Bonuses, particles and floating scores: the pools, their pictures and their limits.
#include <cmath>

#include "alien_fixture.h"

namespace {

class Effects : public AlienTest {
protected:
  static void advanceReference(uint32_t &state, int draws) {
    for (int i = 0; i < draws; i++) state = state * 1103515245u + 12345u;
  }
};

TEST_F(Effects, FiftyFirstBonusIsDropped) {
  for (int i = 0; i < 51; i++) addBonuses(10.0f * i, 5);
  EXPECT_EQ(bonusCount(), 50);
  EXPECT_EQ(bonuses[49].x, 490);
  for (const sBonus &b : bonuses) {
    EXPECT_GE(b.type, 0);
    EXPECT_LE(b.type, 3);
  }
}

TEST_F(Effects, BonusPositionIsTruncatedTowardZero) {
  addBonuses(-7.9f, 12.99f);
  EXPECT_EQ(bonuses[0].x, -7);
  EXPECT_EQ(bonuses[0].y, 12);
  EXPECT_EQ(bonuses[0].sine, 0);
  EXPECT_EQ(bonuses[0].white, 0);
}

TEST_F(Effects, ShotBonusTurnsToTheNextKindAndUsesTheShot) {
  addBonuses(100, 100);
  const int32_t first = bonuses[0].type;
  placeAlien(0, 0, 110, 110); // behind the bonus: untouched
  for (int i = 1; i <= 4; i++) {
    sBullet &shot = placeShipShot(0, 120, 120); // right and bottom edges count
    doBulletCollide(&shot);
    EXPECT_FALSE(shot.active);
    EXPECT_EQ(bonuses[0].type, (first + i) % 4);
    EXPECT_EQ(bonuses[0].white, 1.0f);
  }
  EXPECT_FLOAT_EQ(allAliens[0].lifePoints, 7);
  sBullet &miss = placeShipShot(0, 120.5f, 110);
  collideBonus(&miss);
  EXPECT_TRUE(miss.active);
}

TEST_F(Effects, ShotInsideTwoBonusesChangesBoth) {
  addBonuses(100, 100);
  addBonuses(110, 110);
  const int32_t t0 = bonuses[0].type, t1 = bonuses[1].type;
  sBullet &shot = placeShipShot(0, 115, 115);
  collideBonus(&shot);
  EXPECT_EQ(bonuses[0].type, (t0 + 1) % 4);
  EXPECT_EQ(bonuses[1].type, (t1 + 1) % 4);
}

TEST_F(Effects, BonusPulsesWithAHaloAndFlashesAfterAShot) {
  addBonuses(50, 60);
  bonuses[0].type = 2;
  doBonuses(&sheet);
  ASSERT_EQ(sheet.calls.size(), 4u);
  EXPECT_EQ(sheet.calls[0].name, "setTextureQuality");
  EXPECT_EQ(sheet.calls[1].name, "blitAlphaRect");
  EXPECT_EQ(sheet.calls[1].args[0], 279); // shield picture
  EXPECT_EQ(sheet.calls[1].args[4], 50);
  const float zoom = (static_cast<float>(std::cos(0.1f)) + 1) / 4 + 1;
  EXPECT_EQ(sheet.calls[2].args[7], zoom);
  EXPECT_EQ(sheet.calls[2].args[8], (zoom - 1) / 2);
  EXPECT_EQ(sheet.calls[3].name, "setTextureQuality");

  bonuses[0].white = 1.0f;
  sheet.clear();
  doBonuses(&sheet);
  const auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_FLOAT_EQ(blits[0].args[7], 1.1f);
  EXPECT_FLOAT_EQ(blits[0].args[8], 0.9f);
  EXPECT_EQ(sheet.callsNamed("setAlphaMode").front().args[0], K_ALPHA_ADD);
  EXPECT_EQ(sheet.callsNamed("setAlphaMode").back().args[0], K_ALPHA_NORMAL);
}

TEST_F(Effects, PulseLasts63Frames) {
  addBonuses(0, 0);
  int frames = 0;
  do {
    doBonuses(&sheet);
    frames++;
  } while (bonuses[0].sine != 0 && frames < 100);
  EXPECT_EQ(frames, 63);
}

TEST_F(Effects, ThousandAndFirstParticleIsDroppedAfterItsTwoDraws) {
  sAlien &a = placeAlien(0, 4, 100, 100);
  for (int i = 0; i < 1000; i++) addParticles(&a);
  EXPECT_EQ(particleCount(), 1000);
  uint32_t expected = gameRandState();
  addParticles(&a);
  advanceReference(expected, 2); // speed and direction, then no free record
  EXPECT_EQ(gameRandState(), expected);
  EXPECT_EQ(particleCount(), 1000);
}

TEST_F(Effects, ParticleStartsAtTheCentreWithAPatchOfTheAlien) {
  sAlien &a = placeAlien(0, 4, 100, 100);
  addParticles(&a);
  const sParticle &p = particles[0];
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 100);
  EXPECT_GE(p.alpha, 0.70f);
  EXPECT_LE(p.alpha, 0.99f);
  const float v = std::hypot(p.speedx, p.speedy);
  EXPECT_GE(v, 0.999f);
  EXPECT_LE(v, 2.991f);
  EXPECT_EQ(p.x1, 202);
  EXPECT_EQ(p.y1, 103);
  EXPECT_EQ(p.x2, 205);
  EXPECT_EQ(p.y2, 106);
}

TEST_F(Effects, ParticleLeavingTheFieldEndsButIsDrawnOnceMore) {
  sParticle &p = particles[0];
  p.alpha = 0.9f;
  p.x = -9.5f;
  p.y = 100.7f;
  p.speedx = -1;
  p.speedy = 0;
  doParticles(&sheet);
  EXPECT_EQ(p.alpha, 0);
  const auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].args[4], -10); // -10.5 truncated toward zero
  EXPECT_EQ(blits[0].args[5], 100);
  sheet.clear();
  doParticles(&sheet);
  EXPECT_EQ(sheet.calls.size(), 0u);
}

TEST_F(Effects, ParticlesLive29To40Frames) {
  sAlien &a = placeAlien(0, 4, 240, 240);
  for (int i = 0; i < 200; i++) addParticles(&a);
  int frames = 0, alive = particleCount();
  int firstEnd = 0;
  while (alive > 0 && frames < 100) {
    doParticles(&sheet);
    frames++;
    const int now = particleCount();
    if (now < 200 && !firstEnd) firstEnd = frames;
    alive = now;
  }
  EXPECT_GE(firstEnd, 28);
  EXPECT_LE(frames, 40);
}

TEST_F(Effects, FiftyFirstFloatingScoreIsDropped) {
  for (int i = 0; i < 51; i++) addNegFloating(i + 1, 0, 0);
  EXPECT_EQ(floatingCount(), 50);
  EXPECT_EQ(allFloatingScores[49].score, 50);
}

TEST_F(Effects, FloatingNumberDrawsItsDigitsSideBySideAndRises) {
  addNegFloating(105, 30.6f, 40);
  doFloating(&sheet);
  const auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), 3u);
  EXPECT_EQ(blits[0].args[0], 12); // '1'
  EXPECT_EQ(blits[1].args[0], 6);  // '0'
  EXPECT_EQ(blits[2].args[0], 37); // '5'
  EXPECT_EQ(blits[0].args[4], 30);
  EXPECT_EQ(blits[1].args[4], 34); // + 4
  EXPECT_EQ(blits[2].args[4], 40); // + 6
  EXPECT_EQ(blits[0].args[1], 338);
  EXPECT_EQ(blits[0].args[3], 349);
  EXPECT_FLOAT_EQ(blits[0].args[8], 0.975f);
  EXPECT_FLOAT_EQ(allFloatingScores[0].y, 39.8f);
  EXPECT_EQ(sheet.count("setAlphaMode"), 0u); // numbers in the mode the frame leaves
}

TEST_F(Effects, LabelsSwellInPlaceAndTheBombFlashGrowsHuge) {
  addNegFloating(-2, 100, 100);
  addNegFloating(-4, 240, 240);
  addNegFloating(-5, 10, 10); // no picture
  doFloating(&sheet);
  const auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_EQ(blits[0].args[1], 383); // speed label
  EXPECT_FLOAT_EQ(blits[0].args[7], (1 - 0.95f) * 8 + 1);
  EXPECT_EQ(blits[1].args[0], 254); // the flash
  EXPECT_FLOAT_EQ(blits[1].args[7], (1 - 0.95f) * 120);
  EXPECT_EQ(sheet.callsNamed("setAlphaMode").back().args[0], K_ALPHA_NORMAL);
  EXPECT_EQ(sheet.count("setTextureQuality"), 2u);
  EXPECT_EQ(allFloatingScores[1].x, 240); // labels do not move
  int frames = 1;
  while (allFloatingScores[0].alpha > 0 && frames < 100) {
    doFloating(&sheet);
    frames++;
  }
  EXPECT_EQ(frames, 20);
}

} // namespace
