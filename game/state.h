#ifndef ZY_GAME_STATE_H
#define ZY_GAME_STATE_H

// The game's shared state: the records several game areas read and write, and every global
// table of the game loop with its fixed element count. Nothing here is allocated at run time;
// a new entry always takes the first free slot found by a scan from index 0.
//
// Who defines what: state.cpp defines every variable below except the alien area's constant
// tables and the spline evaluator, which the alien files define (anumbers in effects.cpp,
// randalienTable in waves.cpp, ks in alienmove.cpp).
//
// Integer widths: the game's "long" is a signed 32-bit value, so records and counters use
// int32_t; booleans are one byte; coordinates are 32-bit floats.

#include <cstdint>

#include "KSpline.h" // KPoint (alien flight paths), KSpline (ks)

class KGraphic;

// ---- records -----------------------------------------------------------------------------

// The player's ship (one instance, myShip).
struct sShip {
  float x, y;            // top-left of the ship sprite, kept within 0..448
  float rotation;        // displayed heading in degrees (0 up, clockwise)
  float speedX, speedY;  // this frame's movement: -speed, 0 or +speed
  int32_t rotIndex;      // heading reached, 0..7 (0 up, 2 right, 4 down, 6 left)
  int32_t destRotIndex;  // heading asked for by the direction keys, 0..7
  float destrotation;    // destRotIndex * 45
  int32_t shield;        // 10 at the start; destroyed at 0 or less
  float bulletPower;     // damage of one ship shot; 1.0 at the start
  int32_t autofireTimer; // frames between two shots minus one; 15 at the start
  float speed;           // pixels per frame; 2.0 at the start
  float hit;             // hit flash: 1.0 when struck, falling to 0
};

// One shot, of the ship (bulletShip) or of an alien (bulletEnnemy).
struct sBullet {
  bool active;          // the slot holds a live shot
  float x, y;           // top-left of the shot's sprite
  float speedx, speedy; // pixels per frame
  float energy;         // reserved
  float angle;          // drawing angle in degrees (ship shots)
  int32_t type;         // picture variant of an alien shot, 0..2
};

// One alien (allAliens).
struct sAlien {
  bool alive;                    // the slot holds a live alien
  bool activeOnField;            // reserved
  float arrival;                 // arrival effect progress, 0..1; 1.0 exactly once arrived
  int32_t blink;                 // reserved
  int32_t type;                  // kind, 0..11
  float blend;                   // drawing opacity
  float x, y;                    // sprite position (the arrival centre until it has arrived)
  float x1, y1, x2, y2;          // source rectangle on the sprite sheet
  KPoint p1, p2, p3;             // start, control and end point of the flight path
  float rotation, rotationSpeed; // drawing angle in degrees and its change per frame
  float dx, dy;                  // reference point of arrival and movement
  float speedx, speedy;          // velocity in pixels per frame
  float lifePoints;              // remaining hit points
  float appearX, appearY;        // offset taken off the position when the arrival ends
  int32_t timer;                 // reserved
  float progression;             // behaviour clock (frames or spline position)
  int32_t scorePoints;           // points added to gScore when destroyed
  bool autoRotate;               // the angle turns by rotationSpeed every frame
  float width, height;           // size of its picture
  bool canShoot;                 // reserved
  float leftBorder, rightBorder, topBorder, bottomBorder; // reserved
  double radius;                                          // hit radius around its centre
  float white;                                            // hit flash: 1, falling by 0.1 per frame
};

// A bonus item: pulses in place until the ship takes it.
struct sBonus {
  bool active;
  int32_t x, y; // top-left in whole pixels
  int32_t type; // 0 fire power, 1 speed, 2 shield, 3 smart bomb
  float sine;   // pulse phase, 0..6.28
  float white;  // flash after being shot
};

// An explosion particle; in use while alpha > 0.
struct sParticle {
  float x, y;
  float alpha;
  float speedx, speedy;
  float x1, y1, x2, y2; // sheet rectangle drawn
};

// A rising score number (score > 0) or a swelling label (score -1..-4); in use while alpha > 0.
struct sFloatingScore {
  float x, y;
  float alpha;
  int32_t score;
};

// A digit glyph of the floating scores (sheet rows 338..349).
struct sAlienNumber {
  char letter;
  int32_t x1, x2;
};

// One row of alien kinds to draw from.
struct srandalienTable {
  int32_t aliens[12];
};

// A digit glyph of the score (sheet rows 255..273).
struct sFontNumber {
  char letter;
  int32_t x1, x2;
};

// The way to turn from one heading to another: only the sign of speed is used.
struct sDepTable {
  int32_t sourceRot;
  int32_t destRot;
  float speed; // +0.1 clockwise, -0.1 counter-clockwise, 0 none
};

// A ship exhaust particle (8 x 8 sprite); free when alpha <= 0.
struct sReactor {
  float x, y;
  float alpha;
};

// One point of the in-game background mesh.
struct sGameGridPoint {
  float x, y;       // rest position
  float cospower;   // shaking phase, radians
  float light;      // brightness of the cell whose top-left corner this is, 0.4..1.0
  float sx, sy;     // current position in the picture
  float dx, dy;     // position on screen
  bool fixed;       // never shakes
  int32_t gridType; // background picture of the cell, 0 or 1
};

// ---- table sizes -----------------------------------------------------------------------------

enum {
  MAX_SHIP_BULLETS = 100,
  MAX_ENEMY_BULLETS = 500,
  MAX_ALIENS = 500,
  MAX_BONUSES = 50,
  MAX_PARTICLES = 1000,
  MAX_FLOATING_SCORES = 50,
  MAX_REACTORS = 100,
  GAME_GRID_POINTS = 289, // the mesh uses the first GAME_GRID_ROWS * GAME_GRID_COLUMNS
  GAME_GRID_ROWS = 17,
  GAME_GRID_COLUMNS = 16,
  DEP_TABLE_SIZE = 64,
};

// ---- the game's globals ----------------------------------------------------------------------

extern sShip myShip;
extern sBullet bulletShip[MAX_SHIP_BULLETS];
extern sBullet bulletEnnemy[MAX_ENEMY_BULLETS];
extern sAlien allAliens[MAX_ALIENS];
extern sBonus bonuses[MAX_BONUSES];
extern sParticle particles[MAX_PARTICLES]; // not cleared when a game starts
extern sFloatingScore allFloatingScores[MAX_FLOATING_SCORES];
extern sReactor reactors[MAX_REACTORS];
extern sGameGridPoint gameGridForDeform[GAME_GRID_POINTS];
extern KGraphic *surf_backgrounds[2];

extern const sFontNumber numbers[10];            // score digits
extern const sDepTable depTable[DEP_TABLE_SIZE]; // turn directions
extern const sAlienNumber anumbers[10];          // floating score digits (effects.cpp)
extern const srandalienTable randalienTable[16]; // alien kinds by row (waves.cpp)
extern KSpline ks;                               // flight path evaluator (alienmove.cpp)

extern int32_t gCurrentBackground; // index into surf_backgrounds, 0 or 1
extern float gLevelTimer;          // level clock, 100 down to 0
extern int32_t gLevel;             // from 1
extern int32_t gScore;
extern int32_t gNextBonus;          // score a kill must exceed to release a bonus
extern int32_t gNextBonusIncrement; // step added to gNextBonus, growing by 50
extern int32_t gDifficulty;         // one-in-N spawn chance per frame
extern int32_t gBulletRatio;        // one-in-N shot chance per alien per frame
extern int32_t gAlienChoice;        // row of randalienTable, 0..16
extern int32_t gSpeedScore;         // reward shown for a speed bonus at full speed (50 at start)
extern int32_t gShieldScore;        // reward shown for a shield bonus at full shield (50 at start)

// ---- the alien half of a frame (aliens.h lists its files), called by the game loop -------------

void resetAliens(); // a new game: no alien, no bonus, no floating score
void doAliens(
    KGraphic *surfaceAlien); // arrival, movement, drawing, hits, bonuses, particles, scores
void doEnemyBullet(KGraphic *surface); // moves, tests and draws the aliens' shots
void addAlien();                       // level change, then at most one new alien
void doShipCollision();                // the ship against the bonuses

#endif
