// Many levels of the alien half of the frame, in the game loop's order, with a ship that turns
// and fires and a smart bomb that clears each level once its time is up. The pools must stay
// within their tables and the levels must go on; run under the sanitizers this walks every kind
// through its whole life.
#include <algorithm>

#include "alien_fixture.h"
#include "game.h"

namespace {

class Soak : public AlienTest {};

TEST_F(Soak, TwelveLevelsOfPlayKeepEveryPoolInItsTable) {
  gameSrand(20261209);
  int32_t highestAlive = 0, highestShots = 0;
  long frames = 0;
  while (gLevel < 13 && frames < 40000) {
    sheet.clear();
    doAliens(&sheet);
    doEnemyBullet(&sheet);
    addAlien();
    myShip.shield = 10; // the ship never dies here
    myShip.rotation = static_cast<float>((frames * 7) % 360);
    myShip.x = 100 + static_cast<float>((frames / 3) % 250);
    if (frames % 6 == 0) addShipBullet(myShip.x, myShip.y, myShip.rotation);
    doShipBullet(&sheet);
    doShipCollision();
    gLevelTimer -= 0.05f;
    if (gLevelTimer < 0) gLevelTimer = 0;
    if (gLevelTimer == 0) killAllAliens();
    highestAlive = std::max(highestAlive, aliveCount());
    int32_t shots = 0;
    for (const sBullet &b : bulletEnnemy) shots += b.active;
    highestShots = std::max(highestShots, shots);
    frames++;
  }
  EXPECT_EQ(gLevel, 13);
  EXPECT_GT(gScore, 0);
  EXPECT_GT(highestAlive, 5);
  EXPECT_GT(highestShots, 0);
  EXPECT_LE(highestAlive, MAX_ALIENS);
  EXPECT_LE(particleCount(), MAX_PARTICLES);
  for (const sAlien &a : allAliens) {
    if (!a.alive || a.arrival < 1.0f) continue;
    EXPECT_GT(a.x, -200); // every kind stays about the field
    EXPECT_LT(a.x, 700);
  }
}

} // namespace
