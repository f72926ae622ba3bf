// The alien half of the game: waves and levels (waves.cpp), movement and drawing (alienmove.cpp),
// contacts and rewards (combat.cpp), bonuses (bonuses.cpp), particles and floating scores
// (effects.cpp). The game loop calls the five entry points declared in state.h; the functions
// below are what these files call of one another, and what the tests drive directly.
//
// Every pool is a fixed table scanned from index 0: a new entry takes the first free record and
// is silently dropped when there is none. Every random draw comes from gameRand(), in the order
// written here, so that a seed replays a game exactly.
#ifndef ZY_ALIENS_H
#define ZY_ALIENS_H

#include <cstdint>

#include "KSound.h"
#include "random.h"
#include "state.h"
#include "zyphora.h"

class KGraphic;

// ---- the alien kinds (waves.cpp) -------------------------------------------------------------

enum { ALIEN_KINDS = 12 };

// What every alien of one kind starts with.
struct sAlienKind {
  float x1, y1, x2, y2; // picture on the sprite sheet (left, top, right, bottom)
  float appear;         // appearX = appearY: half the picture, rounded
  float lifePoints;
  int32_t scorePoints;
  bool autoRotate; // spins by rotationSpeed every frame
};
extern const sAlienKind alienKinds[ALIEN_KINDS];

// ---- waves (waves.cpp) -----------------------------------------------------------------------

bool anyAlienAlive();  // arriving aliens count
void startNextLevel(); // the level is over: harder, maybe another background or music

// ---- movement (alienmove.cpp) ----------------------------------------------------------------

void doArrival(sAlien *alienPtr, KGraphic *surface); // one frame of the two spinning squares
void doMyLife(sAlien *alienPtr);                     // one behaviour step, no drawing

// ---- combat (combat.cpp) ---------------------------------------------------------------------

// Boxes b and a overlap; boxes that only touch along an edge overlap.
bool rectOverlap(float bx1, float by1, float bx2, float by2, float ax1, float ay1, float ax2,
                 float ay2);
void alienHitByShipBullets();             // every live ship shot against bonuses and aliens
void doBulletCollide(sBullet *bulletPtr); // one ship shot against bonuses and aliens
void addEnemyBullet(sAlien *alienPtr);    // one aimed shot at the ship's centre
void aliensTouchShip(sAlien *alienPtr);   // ramming
void killAllAliens();                     // the smart bomb: every arrived alien

// ---- bonuses (bonuses.cpp) -------------------------------------------------------------------

void resetBonuses(); // no bonus, no floating score (particles stay)
void addBonuses(float x, float y);
void collideBonus(sBullet *bulletPtr); // a shot bonus turns to the next kind
void doBonuses(KGraphic *surfaceAlien);

// ---- particles and floating scores (effects.cpp) ---------------------------------------------

void addParticles(sAlien *alienPtr); // one particle from the alien's centre
void doParticles(KGraphic *surface);
void addFloating(sAlien *alienPtr);                   // the alien's points, rising from its centre
void addNegFloating(int32_t score, float x, float y); // a number, or a label for -1 .. -4
void doFloating(KGraphic *surface);

// ---- small helpers shared by these files -----------------------------------------------------

// A random value below n: the remainder of one draw.
inline int32_t randomBelow(int32_t n) { return gameRand() % n; }

// A screen position for the blits: truncated toward zero, then to 16 bits.
inline short screenCoord(float v) { return static_cast<short>(static_cast<int32_t>(v)); }

// The sounds may be missing (tests, or a failed load): a missing sound stays silent.
inline void playSound(KSound *sound) {
  if (sound) sound->playSample();
}

// Starts the sound unless it is already sounding.
inline void playSoundOnce(KSound *sound) {
  if (sound && !sound->isPlaying()) sound->playSample();
}

#endif
