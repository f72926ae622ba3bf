// Waves: spawning, kinds, levels and the difficulty they bring.
#include <algorithm>
#include <cmath>

#include "alien_fixture.h"

namespace {

class Waves : public AlienTest {
protected:
  // Spawns one alien on an empty field and returns a copy of it.
  sAlien spawnOnEmptyField() {
    for (sAlien &a : allAliens) a.alive = false;
    addAlien();
    EXPECT_EQ(aliveCount(), 1);
    return allAliens[0];
  }
};

TEST_F(Waves, QuietStartEndsAtExactly97) {
  gLevelTimer = 97.05f;
  addAlien();
  EXPECT_EQ(aliveCount(), 0);
  gLevelTimer = 97.0f;
  addAlien();
  EXPECT_EQ(aliveCount(), 1);
}

TEST_F(Waves, EmptyFieldGetsExactlyOneAlienPerCall) {
  gLevelTimer = 50;
  addAlien();
  EXPECT_EQ(aliveCount(), 1);
  EXPECT_TRUE(allAliens[0].alive);
  EXPECT_FLOAT_EQ(allAliens[0].arrival, 0);
}

TEST_F(Waves, BusyFieldSpawnsOneInDifficulty) {
  gLevelTimer = 50;
  addAlien();
  gDifficulty = 10;
  const int calls = 3000;
  for (int i = 0; i < calls; i++) addAlien();
  const int spawned = aliveCount() - 1;
  EXPECT_GT(spawned, calls / 10 * 0.8);
  EXPECT_LT(spawned, calls / 10 * 1.2);
  // Spawns fill the table from index 0 with no hole.
  for (int i = 0; i <= spawned; i++) EXPECT_TRUE(allAliens[i].alive) << i;
}

TEST_F(Waves, FullTableSpawnsNothing) {
  gLevelTimer = 50;
  gDifficulty = 5;
  for (sAlien &a : allAliens) a.alive = true;
  const sAlien before = allAliens[499];
  for (int i = 0; i < 100; i++) addAlien();
  EXPECT_EQ(aliveCount(), MAX_ALIENS);
  EXPECT_EQ(allAliens[499].type, before.type);
}

TEST_F(Waves, LevelDoesNotEndWhileAnAlienIsStillArriving) {
  gLevelTimer = 0;
  placeAlien(7, 3, 100, 100).arrival = 0.5f;
  addAlien();
  EXPECT_EQ(gLevel, 1);
  EXPECT_FLOAT_EQ(gLevelTimer, 0);
  EXPECT_EQ(aliveCount(), 1);
}

TEST_F(Waves, LevelEndRaisesTheLevelAndSpawnsNothing) {
  gLevelTimer = 0;
  addAlien();
  EXPECT_EQ(gLevel, 2);
  EXPECT_FLOAT_EQ(gLevelTimer, 100);
  EXPECT_EQ(gAlienChoice, 1);
  EXPECT_EQ(gDifficulty, 142);
  EXPECT_EQ(gBulletRatio, 192);
  EXPECT_EQ(aliveCount(), 0);
}

TEST_F(Waves, DifficultyByLevelWithItsFloors) {
  // gDifficulty and gBulletRatio in force during levels 1 .. 30.
  const int32_t difficulty[] = {160, 142, 124, 106, 94, 82, 70, 58, 46, 34, 22, 10, 5};
  std::vector<int32_t> seenDifficulty{gDifficulty}, seenRatio{gBulletRatio};
  for (int level = 2; level <= 30; level++) {
    startNextLevel();
    EXPECT_EQ(gLevel, level);
    seenDifficulty.push_back(gDifficulty);
    seenRatio.push_back(gBulletRatio);
  }
  for (int level = 1; level <= 30; level++) {
    const int32_t expectDifficulty = level <= 13 ? difficulty[level - 1] : 5;
    const int32_t expectRatio = level <= 25 ? 200 - 8 * (level - 1) : 3;
    EXPECT_EQ(seenDifficulty[level - 1], expectDifficulty) << "level " << level;
    EXPECT_EQ(seenRatio[level - 1], expectRatio) << "level " << level;
  }
  EXPECT_EQ(gAlienChoice, 16); // 15 or more becomes 16
}

TEST_F(Waves, BackgroundAlternatesEveryFifthLevel) {
  std::vector<int32_t> shown{gCurrentBackground};
  std::vector<int> musicChanges;
  for (int level = 2; level <= 15; level++) {
    const KSound *music = snd_music;
    startNextLevel();
    shown.push_back(gCurrentBackground);
    if (snd_music != music) musicChanges.push_back(level);
  }
  EXPECT_EQ(musicChanges, std::vector<int>{9}); // the in-game music starts at level 9 only
  // levels 1-4: 0, 5-9: 1, 10-14: 0, 15: 1
  const std::vector<int32_t> expect{0, 0, 0, 0, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 1};
  EXPECT_EQ(shown, expect);
}

TEST_F(Waves, LevelOneDrawsKind3TenTimesInTwelve) {
  gLevelTimer = 50;
  int kinds[ALIEN_KINDS] = {};
  const int draws = 6000;
  for (int i = 0; i < draws; i++) kinds[spawnOnEmptyField().type]++;
  EXPECT_EQ(kinds[3] + kinds[4], draws);
  EXPECT_NEAR(kinds[4] / double(draws), 2.0 / 12, 0.02);
}

TEST_F(Waves, FromLevel14EveryKindIsEquallyLikely) {
  gLevelTimer = 50;
  gLevel = 14;
  gAlienChoice = 13;
  int kinds[ALIEN_KINDS] = {};
  const int draws = 12000;
  for (int i = 0; i < draws; i++) kinds[spawnOnEmptyField().type]++;
  for (int k = 0; k < ALIEN_KINDS; k++)
    EXPECT_NEAR(kinds[k] / double(draws), 1.0 / 12, 0.015) << "kind " << k;
}

TEST_F(Waves, StartingValuesOfEachKind) {
  gLevelTimer = 50;
  gLevel = 14;
  bool seen[ALIEN_KINDS] = {};
  for (int i = 0; i < 2000; i++) {
    const sAlien a = spawnOnEmptyField();
    seen[a.type] = true;
    const sAlienKind &k = alienKinds[a.type];
    EXPECT_EQ(a.width, k.x2 - k.x1);
    EXPECT_EQ(a.height, k.y2 - k.y1);
    EXPECT_EQ(a.appearX, a.appearY);
    EXPECT_GE(a.x, 40);
    EXPECT_LE(a.x, 439);
    EXPECT_EQ(a.x, std::floor(a.x));
    const double radius = a.type <= 2 ? 34.65 : a.type <= 8 ? 20.7 : 14.85;
    EXPECT_NEAR(a.radius, radius, 1e-9);
    const float spin = a.type >= 2 && a.type <= 5 ? 2.0f : 1.0f;
    EXPECT_EQ(std::fabs(a.rotationSpeed), spin);
    if (a.type == 1) {
      EXPECT_EQ(std::fabs(a.speedx), 0.5f);
      EXPECT_EQ(std::fabs(a.speedy), 0.5f);
    }
    if (a.type >= 9) { // one behaviour step at once: the d = 0 heading, t advanced
      EXPECT_FLOAT_EQ(a.progression, 0.005f);
      EXPECT_NEAR(a.rotation, 449.95, 0.01);
      EXPECT_FLOAT_EQ(a.blend, 0.05f);
    } else {
      EXPECT_EQ(a.rotation, 0);
      EXPECT_EQ(a.blend, 0);
    }
  }
  for (int k = 0; k < ALIEN_KINDS; k++) EXPECT_TRUE(seen[k]) << k;
}

TEST_F(Waves, FirstHopIsClampedToTheField) {
  gLevelTimer = 50;
  bool clampedHigh = false;
  for (int i = 0; i < 4000; i++) {
    const sAlien a = spawnOnEmptyField(); // level 1: kinds 3 and 4, both hop
    ASSERT_GE(a.type, 3);
    for (int axis = 0; axis < 2; axis++) {
      const float from = axis ? a.y : a.x, to = axis ? a.dy : a.dx;
      const float speed = axis ? a.speedy : a.speedx;
      EXPECT_GE(to, 10); // 40 - 30
      EXPECT_LE(to, 450);
      EXPECT_GE(to, from - 30);
      if (to < 450)
        EXPECT_LE(to, from + 29);
      else
        clampedHigh |= from + 29 > 450;
      EXPECT_FLOAT_EQ(speed, (to - from) / 30);
    }
  }
  EXPECT_TRUE(clampedHigh);
}

TEST_F(Waves, ResetClearsAliensBonusesAndScoresButNotParticles) {
  placeAlien(3, 0, 100, 100);
  bonuses[2].active = true;
  allFloatingScores[4].alpha = 0.5f;
  particles[9].alpha = 0.5f;
  gSpeedScore = 300;
  gShieldScore = 250;
  resetAliens();
  EXPECT_EQ(aliveCount(), 0);
  EXPECT_EQ(bonusCount(), 0);
  EXPECT_EQ(floatingCount(), 0);
  EXPECT_EQ(particleCount(), 1); // they go on fading in the next game
  EXPECT_EQ(gSpeedScore, 50);
  EXPECT_EQ(gShieldScore, 250); // kept across games
}

// The generator written out again, to replay a spawn's draws one by one.
class ReferenceDraws {
public:
  explicit ReferenceDraws(uint32_t seed) : state(seed) {}
  int32_t below(int32_t n) {
    state = state * 1103515245u + 12345u;
    return static_cast<int32_t>((state >> 16) & 0x7FFF) % n;
  }

private:
  uint32_t state;
};

TEST_F(Waves, SpawnDrawsInTheirOrderForEveryKind) {
  gLevelTimer = 50;
  gLevel = 14; // every kind drawn alike
  rarelyShoot();
  bool seen[ALIEN_KINDS] = {};
  for (uint32_t seed = 1; seed < 400; seed++) {
    gameSrand(seed);
    const sAlien a = spawnOnEmptyField();
    ReferenceDraws r(seed);
    const float x = static_cast<float>(40 + r.below(400));
    const float y = static_cast<float>(40 + r.below(400));
    float spin = r.below(2) == 1 ? -1.0f : 1.0f;
    float p2x = static_cast<float>(40 + r.below(400));
    float p2y = static_cast<float>(40 + r.below(400));
    const int32_t type = r.below(12);
    ASSERT_EQ(a.type, type) << "seed " << seed;
    seen[type] = true;
    EXPECT_EQ(a.x, x);
    EXPECT_EQ(a.y, y);
    if (type >= 2 && type <= 5) spin *= 2;
    EXPECT_EQ(a.rotationSpeed, spin);
    if (type == 1) {
      EXPECT_EQ(a.speedx, r.below(2) == 0 ? -0.5f : 0.5f);
      EXPECT_EQ(a.speedy, r.below(2) == 0 ? -0.5f : 0.5f);
    }
    if (type >= 3 && type <= 5) {
      const float dx = std::min(450.0f, std::max(0.0f, x + static_cast<float>(r.below(60) - 30)));
      const float dy = std::min(450.0f, std::max(0.0f, y + static_cast<float>(r.below(60) - 30)));
      EXPECT_EQ(a.dx, dx);
      EXPECT_EQ(a.dy, dy);
    }
    if (type == 7 || type >= 9) { // the path drawn again
      p2x = static_cast<float>(40 + r.below(400));
      p2y = static_cast<float>(40 + r.below(400));
    }
    EXPECT_EQ(a.p2.x, p2x);
    EXPECT_EQ(a.p2.y, p2y);
    EXPECT_EQ(a.p3.x, myShip.x);
    EXPECT_EQ(a.p3.y, myShip.y);
    if (type >= 9) r.below(gBulletRatio);                     // the first step's chance to shoot
    EXPECT_EQ(gameRand(), r.below(32768)) << "seed " << seed; // no draw more, none fewer
  }
  for (int k = 0; k < ALIEN_KINDS; k++) EXPECT_TRUE(seen[k]) << k;
}

} // namespace
