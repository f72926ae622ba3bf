#ifndef ZY_GAME_GAME_H
#define ZY_GAME_GAME_H

// The game loop and its own areas: the ship and its shots (ship.cpp), the lit background mesh
// (gamegrid.cpp), the gauges, score digits and level banner (hud.cpp). doGame() itself is
// declared with the rest of the game's shared interface in zyphora.h.

#include <cstdint>

#include "state.h"

class KGraphic;

// ---- the ship, its exhaust and its shots ----

void doShip(KGraphic *surf_sprites); // keys, movement, turn, fire, exhaust, drawing
void doReactor(KGraphic *surface);   // spawns and draws the exhaust
void addShipBullet(float x, float y, float angle);
void doShipBullet(KGraphic *surf_sprites);
void resetBullets(); // every ship shot and every alien shot inactive
void resetReactor(); // every exhaust particle free

// The pieces of doShip, each one step of its frame.
struct sShipKeys {
  bool left, right, up, down, fire;
};
sShipKeys readShipKeys();
void steerShip(const sShipKeys &keys); // speeds and the heading asked for
// The autofire counter: true when a shot leaves this frame. `timer` is doShip's upTimer.
bool shipCanFire(bool fireKey, int32_t &timer, int32_t autofireTimer);
void moveShip(); // position, held within 0..448
void turnShip(); // 15 degrees a frame toward destRotIndex

// ---- the background mesh ----

void initGameGrid();    // every point at rest, on background 0
void displayGameGrid(); // one frame: hit decay, shaking, light, change, drawing
void updateGameGrid();  // the same frame without the drawing
void drawGameGrid();

// ---- gauges, score and banner ----

void displayLevelNumber(KGraphic *surface, float leveltimer);
float levelBannerFade(float leveltimer); // opacity of the banner, or a value <= 0 when hidden
void displayInterface(KGraphic *surf_sprites);
void displayScore(long score, KGraphic *surf_sprites);
void displayValue(long score, KGraphic *surf_sprites, long y, float fade);
long getScoreWidth(long score);
long getNumberIndex(char letter);

// ---- the game loop's pieces ----

// What doGame keeps from frame to frame.
struct sGameScreen {
  KGraphic *surf_sprites = nullptr; // the sprite sheet
  float fadeToWhite = 1.0f;         // the light-blue veil of the menu's fade, thinning out
  float gameoverfade = 0;           // progress of the game-over picture, 0..1
  float gameoverTimer = 0;          // game-over clock, 0..2
};

void loadGamePictures(sGameScreen &screen); // the two backgrounds and the sprite sheet
void freeGamePictures(sGameScreen &screen);

// The game's areas in their frame order: aliens (with hits, bonuses, particles, scores), enemy
// shots, spawning, the ship, its shots, the ship against bonuses, gauges and score.
void playGameParts(KGraphic *surf_sprites);

// How a frame of the game ended.
enum eGameFrameEnd {
  GAME_GOES_ON,
  GAME_ABANDONED, // Escape: left before the flip, without the high-score step
  GAME_OVER,      // the game-over sequence has run to its end (after the flip)
};
// One frame of doGame: background, pause, the game's areas, veil, Escape, level clock, banner,
// game-over sequence, flip.
eGameFrameEnd gameFrame(sGameScreen &screen);

// The values of a new game: ship, shots, mesh, aliens, exhaust, level, score, difficulty.
void resetGame();

#endif
