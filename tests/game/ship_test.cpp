// The ship: steering, borders, autofire, turns, shots and the exhaust.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "game.h"
#include "game_links.h"
#include "recording_graphic.h"
#include "zyphora.h"

namespace {

void startShip() {
  myShip = sShip{};
  myShip.x = 225;
  myShip.y = 320;
  myShip.autofireTimer = 15;
  myShip.bulletPower = 1.0f;
  myShip.shield = 10;
  myShip.speed = 2.0f;
  resetBullets();
  resetReactor();
  resetSoundPlays();
}

sShipKeys keys(bool left, bool right, bool up, bool down) { return {left, right, up, down, false}; }

// Frames turnShip needs to bring heading `from` to heading `to`.
int turnFrames(int from, int to) {
  myShip.rotIndex = from;
  myShip.rotation = (float)(from * 45);
  myShip.destRotIndex = to;
  int frames = 0;
  while (myShip.rotIndex != to && frames < 100) {
    turnShip();
    frames++;
  }
  return frames;
}

TEST(ShipSteering, RightWinsOverLeftAndDownOverUp) {
  startShip();
  steerShip(keys(true, true, false, false));
  moveShip();
  EXPECT_FLOAT_EQ(myShip.x, 227);
  EXPECT_EQ(myShip.destRotIndex, 2);

  steerShip(keys(false, false, true, true));
  moveShip();
  EXPECT_FLOAT_EQ(myShip.y, 322);
  EXPECT_EQ(myShip.destRotIndex, 4);

  steerShip(keys(true, false, true, false));
  EXPECT_EQ(myShip.destRotIndex, 7);
  steerShip(keys(false, true, false, true));
  EXPECT_EQ(myShip.destRotIndex, 3);
}

TEST(ShipSteering, NoKeyStopsTheShipAndKeepsItsHeading) {
  startShip();
  steerShip(keys(true, false, false, true));
  ASSERT_EQ(myShip.destRotIndex, 5);
  steerShip(keys(false, false, false, false));
  moveShip();
  EXPECT_EQ(myShip.destRotIndex, 5);
  EXPECT_FLOAT_EQ(myShip.speedX, 0);
  EXPECT_FLOAT_EQ(myShip.speedY, 0);
  EXPECT_FLOAT_EQ(myShip.x, 225);
}

TEST(ShipSteering, BordersHoldTheShipAt0And448) {
  startShip();
  myShip.x = 1;
  myShip.y = 447;
  steerShip(keys(true, false, false, true));
  moveShip();
  EXPECT_FLOAT_EQ(myShip.x, 0);
  EXPECT_FLOAT_EQ(myShip.y, 448);
  moveShip();
  EXPECT_FLOAT_EQ(myShip.x, 0);
  EXPECT_FLOAT_EQ(myShip.y, 448);
}

// Frame numbers, from 0, on which a held fire key fires over `frames` frames.
std::vector<int> heldFireFrames(int32_t autofireTimer, int frames) {
  int32_t timer = 0;
  std::vector<int> shots;
  for (int f = 0; f < frames; f++)
    if (shipCanFire(true, timer, autofireTimer)) shots.push_back(f);
  return shots;
}

TEST(ShipFire, HeldKeyFiresEvery16FramesAtTheStartAndEvery6AtTheMinimum) {
  EXPECT_EQ(heldFireFrames(15, 49), (std::vector<int>{0, 16, 32, 48}));
  EXPECT_EQ(heldFireFrames(5, 19), (std::vector<int>{0, 6, 12, 18}));
}

TEST(ShipFire, FirstPressFiresAtOnceAndTappingIsNoFaster) {
  int32_t timer = 0;
  EXPECT_FALSE(shipCanFire(false, timer, 15));
  EXPECT_EQ(timer, 0);
  EXPECT_TRUE(shipCanFire(true, timer, 15));
  int shots = 0;
  for (int f = 1; f < 16; f++) shots += shipCanFire(f % 2 == 0, timer, 15); // tapping
  EXPECT_EQ(shots, 0);
  EXPECT_TRUE(shipCanFire(true, timer, 15)); // 16 frames after the first
}

TEST(ShipTurn, QuarterTurnsSweep15DegreesAFrame) {
  startShip();
  myShip.rotIndex = 0;
  myShip.rotation = 0;
  myShip.destRotIndex = 2;
  for (int f = 1; f <= 5; f++) {
    turnShip();
    EXPECT_FLOAT_EQ(myShip.rotation, 15.0f * f);
    EXPECT_EQ(myShip.rotIndex, 0);
  }
  turnShip();
  EXPECT_FLOAT_EQ(myShip.rotation, 90);
  EXPECT_EQ(myShip.rotIndex, 2);

  // Counter-clockwise the arrival is seen one frame later.
  EXPECT_EQ(turnFrames(2, 0), 7);
  EXPECT_FLOAT_EQ(myShip.rotation, 0);
}

TEST(ShipTurn, UpToUpLeftAtOnceAndBackInThreeFrames) {
  startShip();
  EXPECT_EQ(turnFrames(0, 7), 1);
  EXPECT_FLOAT_EQ(myShip.rotation, 315);
  EXPECT_EQ(turnFrames(7, 0), 3);
  EXPECT_FLOAT_EQ(myShip.rotation, 0);
}

TEST(ShipTurn, SingleFrameTurns) {
  startShip();
  const int pairs[][2] = {{0, 5}, {0, 6}, {0, 7}, {1, 6}, {1, 7}, {2, 7}, {5, 0}, {5, 1}, {7, 2}};
  for (const auto &p : pairs) {
    EXPECT_EQ(turnFrames(p[0], p[1]), 1) << p[0] << " -> " << p[1];
    EXPECT_FLOAT_EQ(myShip.rotation, 45.0f * p[1]) << p[0] << " -> " << p[1];
  }
}

TEST(ShipTurn, OppositeHeadingsTurnByTheTable) {
  startShip();
  // 6 -> 2 and 7 -> 3 go counter-clockwise, 4 -> 0 clockwise through 360.
  myShip.rotIndex = 6, myShip.rotation = 270, myShip.destRotIndex = 2;
  turnShip();
  EXPECT_FLOAT_EQ(myShip.rotation, 255);
  myShip.rotIndex = 7, myShip.rotation = 315, myShip.destRotIndex = 3;
  turnShip();
  EXPECT_FLOAT_EQ(myShip.rotation, 300);
  EXPECT_EQ(turnFrames(4, 0), 12);
  EXPECT_FLOAT_EQ(myShip.rotation, 0);
  // 7 -> 1 clockwise: through 360 to 405, then 45.
  EXPECT_EQ(turnFrames(7, 1), 6);
  EXPECT_FLOAT_EQ(myShip.rotation, 45);
}

TEST(ShipTurn, EveryTurnEndsOnItsExactAngle) {
  startShip();
  for (int from = 0; from < 8; from++)
    for (int to = 0; to < 8; to++) {
      int frames = turnFrames(from, to);
      EXPECT_LE(frames, 13) << from << " -> " << to;
      EXPECT_FLOAT_EQ(myShip.rotation, 45.0f * to) << from << " -> " << to;
    }
}

TEST(ShipTurn, DepTableFollowsTheShortWay) {
  for (int s = 0; s < 8; s++)
    for (int d = 0; d < 8; d++) {
      const sDepTable &e = depTable[s * 8 + d];
      EXPECT_EQ(e.sourceRot, s);
      EXPECT_EQ(e.destRot, d);
      int steps = (d - s + 8) % 8;
      float expected = steps == 0  ? 0
                       : steps < 4 ? 0.1f
                       : steps > 4 ? -0.1f
                       : s <= 5    ? 0.1f
                                   : -0.1f;
      EXPECT_FLOAT_EQ(e.speed, expected) << s << " -> " << d;
    }
}

TEST(ShipShots, AShotLeavesAlongTheHeadingFromTheShipsMiddle) {
  startShip();
  myShip.rotIndex = 0;
  addShipBullet(100, 200, 0);
  const sBullet &up = bulletShip[0];
  EXPECT_TRUE(up.active);
  EXPECT_FLOAT_EQ(up.x, 115); // +16, nudged left by 1
  EXPECT_FLOAT_EQ(up.y, 216);
  EXPECT_NEAR(up.speedx, 0, 0.01);
  EXPECT_NEAR(up.speedy, -7, 0.0001);
  EXPECT_FLOAT_EQ(up.angle, 360);

  myShip.rotIndex = 2;
  addShipBullet(100, 200, 90);
  const sBullet &right = bulletShip[1];
  EXPECT_FLOAT_EQ(right.x, 116);
  EXPECT_FLOAT_EQ(right.y, 213);
  EXPECT_FLOAT_EQ(right.speedx, 7);
  EXPECT_FLOAT_EQ(right.speedy, 7 * (float)std::sin((double)((90 - 90) / 57.32484f)));
  EXPECT_FLOAT_EQ(right.angle, 270);

  myShip.rotIndex = 1;
  addShipBullet(100, 200, 45);
  EXPECT_FLOAT_EQ(bulletShip[2].x, 115);
  EXPECT_FLOAT_EQ(bulletShip[2].y, 214);
  EXPECT_EQ(soundPlays(snd_shipshot), 3);
}

TEST(ShipShots, WithAHundredShotsFiringMakesNoShotAndNoSound) {
  startShip();
  for (int i = 0; i < 100; i++) addShipBullet(200, 200, 0);
  EXPECT_EQ(soundPlays(snd_shipshot), 100);
  sBullet before[100];
  std::copy(bulletShip, bulletShip + 100, before);
  addShipBullet(10, 10, 90);
  EXPECT_EQ(soundPlays(snd_shipshot), 100);
  for (int i = 0; i < 100; i++) EXPECT_FLOAT_EQ(bulletShip[i].x, before[i].x);
  // A freed slot is the next one taken, from index 0.
  bulletShip[37].active = false;
  addShipBullet(10, 10, 90);
  EXPECT_TRUE(bulletShip[37].active);
  EXPECT_FLOAT_EQ(bulletShip[37].x, 25); // 10 + 16, nudged left for heading up
}

TEST(ShipShots, ShotsMoveAndAreDrawnAlsoOnTheFrameTheyLeave) {
  startShip();
  RecordingGraphic sheet;
  bulletShip[0] = {true, 100, -5, 0, -7, 0, 360, 0};
  doShipBullet(&sheet);
  EXPECT_FALSE(bulletShip[0].active); // -12 is past -10
  auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), 1u);
  EXPECT_EQ(blits[0].args, (std::vector<float>{176, 238, 181, 246, 100, -12, 360, 1, 1, 0, 0}));
  sheet.clear();
  doShipBullet(&sheet);
  EXPECT_TRUE(sheet.calls.empty());
}

TEST(ShipExhaust, OneParticlePerFrameFadingOver20Frames) {
  startShip();
  RecordingGraphic sheet;
  myShip.rotIndex = 4;
  for (int f = 0; f < 30; f++) doReactor(&sheet);
  int alive = 0;
  for (const sReactor &r : reactors) alive += r.alpha > 0;
  EXPECT_GE(alive, 19);
  EXPECT_LE(alive, 20);
  EXPECT_FLOAT_EQ(reactors[0].x, 237); // heading down: x + 12, y + 13
  EXPECT_FLOAT_EQ(reactors[0].y, 333);

  sheet.clear();
  std::vector<int> drawn; // the particles alive before this frame, plus the one it spawns
  bool spawned = false;
  for (int i = 0; i < 100; i++) {
    if (reactors[i].alpha > 0)
      drawn.push_back(i);
    else if (!spawned)
      drawn.push_back(i), spawned = true;
  }
  std::sort(drawn.begin(), drawn.end());
  doReactor(&sheet);
  auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), drawn.size());
  for (size_t k = 0; k < drawn.size(); k++) {
    const sReactor &r = reactors[drawn[k]];
    EXPECT_EQ(blits[k].args, (std::vector<float>{211, 305, 219, 313, (float)(short)r.x,
                                                 (float)(short)r.y, 0, 1, r.alpha, 0, 0}));
  }
  EXPECT_EQ(sheet.calls.front().name, "setAlphaMode");
  EXPECT_EQ(sheet.calls.front().args[0], K_ALPHA_ADD);
  EXPECT_EQ(sheet.calls.back().name, "setAlphaMode");
  EXPECT_EQ(sheet.calls.back().args[0], K_ALPHA_NORMAL);
}

TEST(ShipExhaust, ResetFreesEveryParticle) {
  RecordingGraphic sheet;
  doReactor(&sheet);
  resetReactor();
  for (const sReactor &r : reactors) EXPECT_LE(r.alpha, 0);
}

} // namespace
