// Movement: the arrival, every kind's behaviour, the drawing of an alien and its flash.
#include <cmath>

#include "alien_fixture.h"

namespace {

class Movement : public AlienTest {};

// The heading of a spline alien that did not move: 6.28 - arccos(0), in degrees, plus 180.
float zeroMoveHeading() { return static_cast<float>(6.28 - std::acos(0.0)) * 57.32484f + 180; }

TEST_F(Movement, ArrivalAtExactly072IsAnimatedOnceMore) {
  sAlien &a = placeAlien(0, 3, 100, 100);
  a.arrival = 0.72f;
  a.dx = 100;
  a.dy = 100;
  doArrival(&a, &sheet);
  EXPECT_FLOAT_EQ(a.arrival, 0.73f);
  EXPECT_EQ(sheet.count("drawLine"), 8u);
  sheet.clear();
  const float x = a.x;
  doArrival(&a, &sheet);
  EXPECT_EQ(a.arrival, 1.0f);
  EXPECT_EQ(a.x, x - a.appearX);
  EXPECT_EQ(sheet.calls.size(), 0u);
}

TEST_F(Movement, ArrivalAnimates73FramesAndEndsOnThe74th) {
  sAlien &a = placeAlien(0, 0, 200, 150);
  a.arrival = 0;
  a.x = a.dx = 200;
  a.y = 150;
  a.dy = 150;
  int animated = 0;
  while (a.arrival < 1.0f && animated < 100) {
    sheet.clear();
    doArrival(&a, &sheet);
    animated += sheet.count("drawLine") == 8;
  }
  EXPECT_EQ(animated, 73);
  EXPECT_EQ(a.x, 200 - 40);
  EXPECT_EQ(a.y, 150 - 40);
  EXPECT_GE(a.rotation, 0);
  EXPECT_LT(a.rotation, 360);
}

TEST_F(Movement, ArrivalSquaresSpinAndShrinkOntoTheSpawnPoint) {
  sAlien &a = placeAlien(0, 3, 100, 100);
  a.arrival = 0;
  a.dx = 100;
  a.dy = 200;
  doArrival(&a, &sheet);
  const auto lines = sheet.callsNamed("drawLine");
  ASSERT_EQ(lines.size(), 8u);
  const float roat = 0.01f * 3.14f;
  const float R = (1 - 0.01f) * 120;
  EXPECT_NEAR(lines[0].args[0], 100 + R * std::cos(roat), 1e-3);
  EXPECT_NEAR(lines[0].args[1], 200 + R * std::sin(roat), 1e-3);
  EXPECT_NEAR(lines[0].args[2], 100 + R * std::cos(roat + 1.57f), 1e-3);
  EXPECT_EQ(lines[3].args[2], lines[0].args[0]); // closed: corner 4 back to corner 1
  const float R2 = (1 - 0.01f) * 85;
  EXPECT_NEAR(lines[4].args[0], 100 + R2 * std::cos(roat + 0.785f), 1e-3);
  for (int i = 0; i < 8; i++) {
    EXPECT_EQ(lines[i].args[4], 0); // green
    EXPECT_EQ(lines[i].args[5], 1);
    EXPECT_EQ(lines[i].args[6], 0);
    EXPECT_FLOAT_EQ(lines[i].args[7], i < 4 ? 0.5f : 0.2f);
  }
}

TEST_F(Movement, BlendRisesTo1AndAutoRotationWrapsExactly) {
  rarelyShoot();
  sAlien &a = placeAlien(0, 3, 100, 100);
  a.blend = 0.98f;
  a.rotation = 359.5f;
  a.rotationSpeed = 1;
  a.progression = 0;
  doMyLife(&a);
  EXPECT_EQ(a.blend, 1.0f);
  EXPECT_EQ(a.rotation, 0); // the excess is dropped
  a.rotationSpeed = -1;
  a.rotation = 0.5f;
  doMyLife(&a);
  EXPECT_EQ(a.rotation, 360);
}

TEST_F(Movement, SteeringKeepsItsSpeedWhenLevelWithTheShip) {
  rarelyShoot();
  sAlien &a = placeAlien(0, 0, 225, 100); // centre x = myShip.x
  a.speedx = 0.3f;
  a.speedy = 0.74f;
  doMyLife(&a);
  EXPECT_EQ(a.speedx, 0.3f);
  EXPECT_EQ(a.speedy, 0.75f); // toward the ship (below), held at 0.75
  EXPECT_FLOAT_EQ(a.x, 225 - 38.5f + 0.3f);
  a.speedx = -0.75f;
  myShip.x = 0;
  doMyLife(&a);
  EXPECT_EQ(a.speedx, -0.75f);
}

TEST_F(Movement, BouncerTurnsBeyondAnEdgeAndIsNeverPushedBack) {
  rarelyShoot();
  sAlien &a = placeAlien(0, 1, 100, 100);
  a.x = -10;
  a.speedx = -0.5f;
  a.speedy = 0.5f;
  doMyLife(&a); // exactly -10 is not beyond
  EXPECT_EQ(a.speedx, -0.5f);
  EXPECT_EQ(a.x, -10.5f);
  doMyLife(&a);
  EXPECT_EQ(a.speedx, 0.5f);
  EXPECT_EQ(a.x, -10.0f);
  a.y = 490 - a.height + 0.25f;
  doMyLife(&a);
  EXPECT_EQ(a.speedy, -0.5f);
}

TEST_F(Movement, DasherWaits120FramesThenReachesTheShipIn100) {
  rarelyShoot();
  sAlien &a = placeAlien(0, 2, 100, 100);
  const float x0 = a.x;
  for (int i = 0; i < 119; i++) doMyLife(&a);
  EXPECT_EQ(a.x, x0);
  doMyLife(&a); // the 120th frame aims at where the ship is now
  EXPECT_EQ(a.progression, 0);
  EXPECT_EQ(a.dx, myShip.x);
  myShip.x = 0; // moving away does not change the dash
  for (int i = 0; i < 100; i++) doMyLife(&a);
  EXPECT_NEAR(a.x, 225, 1e-3);
  EXPECT_NEAR(a.y, 320, 1e-3);
  const float x = a.x;
  for (int i = 0; i < 19; i++) doMyLife(&a);
  EXPECT_EQ(a.x, x); // rests
}

TEST_F(Movement, DasherAimedAtItsOwnPositionStaysPut) {
  rarelyShoot();
  sAlien &a = placeAlien(0, 2, 100, 100);
  myShip.x = a.x;
  myShip.y = a.y;
  for (int i = 0; i < 240; i++) doMyLife(&a);
  EXPECT_EQ(a.x, myShip.x);
  EXPECT_EQ(a.y, myShip.y);
}

TEST_F(Movement, HoppersHopTowardTheShipOnePeriodAtATime) {
  rarelyShoot();
  for (int type : {3, 4, 5}) {
    const int period = type == 3 ? 30 : 50;
    bool restSeen = false;
    for (int hop = 0; hop < 200; hop++) {
      sAlien &a = placeAlien(0, type, 100, 100);
      a.progression = static_cast<float>(period - 1);
      const float x0 = a.x, y0 = a.y;
      doMyLife(&a);
      EXPECT_EQ(a.progression, 0);
      const float ox = a.dx - x0, oy = a.dy - y0;
      // The ship lies right of and below the alien: hops go that way, 0 .. period - 1.
      if (a.speedx != 0 || type == 5) {
        EXPECT_GE(ox, 0);
        EXPECT_LT(ox, period);
        EXPECT_FLOAT_EQ(a.speedx, ox / period);
      }
      if (a.speedy != 0 || type == 5) {
        EXPECT_GE(oy, 0);
        EXPECT_LT(oy, period);
      }
      if (type != 5) {
        EXPECT_TRUE(a.speedx == 0 || a.speedy == 0); // one axis at a time
      }
      restSeen |= a.speedx == 0 && a.speedy == 0;
      for (int i = 1; i < period; i++) doMyLife(&a);
      EXPECT_NEAR(a.x, x0 + (a.speedx == 0 ? 0 : ox), 1e-3);
    }
    if (type != 5) {
      EXPECT_TRUE(restSeen) << type;
    } // a hop of length 0: it rests the whole period
  }
}

TEST_F(Movement, SplineAlienThatDoesNotMoveFacesAbout449_95) {
  rarelyShoot();
  sAlien &a = placeAlien(0, 9, 100, 100);
  a.p1 = {a.x, a.y, 0, 0};
  a.p2 = {300, 300, 0, 0};
  a.p3 = {400, 50, 0, 0};
  a.progression = 0;
  doMyLife(&a);
  EXPECT_EQ(a.rotation, zeroMoveHeading());
  EXPECT_NEAR(a.rotation, 449.95, 0.01);
  EXPECT_FLOAT_EQ(a.progression, 0.005f);
}

TEST_F(Movement, SplineAlienFollowsItsCurveAndFacesItsWay) {
  rarelyShoot();
  sAlien &a = placeAlien(0, 6, 100, 100);
  a.p1 = {100, 100, 0, 0};
  a.p2 = {100, 100, 0, 0};
  a.p3 = {300, 100, 0, 0}; // a straight line to the right
  a.x = 100;
  a.y = 100;
  a.progression = 0.5f;
  doMyLife(&a);
  EXPECT_NEAR(a.x, 150, 1e-4); // 0.25 p3 + 0.5 p2 + 0.25 p1
  EXPECT_EQ(a.y, 100);
  // moving right: arccos(0) in degrees + 180, about 270
  EXPECT_NEAR(a.rotation, static_cast<float>(std::acos(0.0)) * 57.32484f + 180, 1e-3);
}

TEST_F(Movement, CornerSegmentsLast200FramesAndEndNearTheShip) {
  rarelyShoot();
  sAlien &a = placeAlien(0, 7, 100, 100);
  a.p1 = {a.x, a.y, 0, 0};
  a.p2 = {200, 200, 0, 0};
  a.p3 = {300, 300, 0, 0};
  a.progression = 0.005f;
  int frames = 0;
  while (a.progression != 0.005f || frames == 0) {
    doMyLife(&a);
    frames++;
    ASSERT_LT(frames, 300);
  }
  EXPECT_EQ(frames, 200);
  EXPECT_NEAR(a.x, 300, 0.5);
  const bool corner = (a.p2.x == 0 || a.p2.x == 450) && (a.p2.y == 0 || a.p2.y == 450);
  EXPECT_TRUE(corner);
  EXPECT_EQ(a.p1.x, a.x);
  EXPECT_GE(a.p3.x, myShip.x - 20);
  EXPECT_LT(a.p3.x, myShip.x + 20);
  EXPECT_GE(a.p3.y, myShip.y - 20);
  EXPECT_LT(a.p3.y, myShip.y + 20);
}

TEST_F(Movement, PastShipSegmentsRestartAtZeroAndEndAtARandomPoint) {
  rarelyShoot();
  sAlien &a = placeAlien(0, 11, 100, 100);
  a.p1 = {a.x, a.y, 0, 0};
  a.p2 = {200, 200, 0, 0};
  a.p3 = {300, 300, 0, 0};
  a.progression = 0.999f;
  doMyLife(&a);
  EXPECT_EQ(a.progression, 0);
  EXPECT_GE(a.p3.x, 40);
  EXPECT_LE(a.p3.x, 439);
  EXPECT_GE(a.p2.x, myShip.x - 20);
  EXPECT_LT(a.p2.x, myShip.x + 20);
  const float x = a.x;
  doMyLife(&a); // t = 0 is where it stands: no move, the d = 0 heading
  EXPECT_EQ(a.x, x);
  EXPECT_EQ(a.rotation, zeroMoveHeading());
}

TEST_F(Movement, DoAliensDrawsArrivedAliensWithTheirFlash) {
  rarelyShoot();
  sAlien &a = placeAlien(0, 3, 100.9f, 100);
  a.white = 1.0f;
  a.rotation = 30;
  sAlien &arriving = placeAlien(1, 3, 200, 200);
  arriving.arrival = 0.2f;
  doAliens(&sheet);
  const auto blits = sheet.callsNamed("blitAlphaRectFx");
  ASSERT_EQ(blits.size(), 2u);
  EXPECT_EQ(blits[0].args[4], 77);   // 100.9 - 23 truncated
  EXPECT_EQ(blits[0].args[7], 1.0f); // zoom
  EXPECT_EQ(blits[1].args[7], 1.0f); // 2 - white
  EXPECT_EQ(blits[1].args[8], 1.0f); // blend white
  EXPECT_FLOAT_EQ(a.white, 0.9f);
  EXPECT_EQ(sheet.count("drawLine"), 8u); // the arriving alien's squares
  // Alpha modes: bonuses (none), additive for aliens and particles, normal for the scores.
  const auto modes = sheet.callsNamed("setAlphaMode");
  ASSERT_EQ(modes.size(), 2u);
  EXPECT_EQ(modes[0].args[0], K_ALPHA_ADD);
  EXPECT_EQ(modes[1].args[0], K_ALPHA_NORMAL);
}

TEST_F(Movement, ArrivingAliensCannotRamTheShip) {
  rarelyShoot();
  sAlien &a = placeAlien(0, 0, myShip.x + 15, myShip.y + 15);
  a.arrival = 0.3f;
  doAliens(&sheet);
  EXPECT_TRUE(a.alive);
  EXPECT_EQ(myShip.shield, 10);
}

} // namespace
