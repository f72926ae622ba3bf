// The game's shared globals and the constant tables of the game loop and the ship.
#include "state.h"

sShip myShip;
sBullet bulletShip[MAX_SHIP_BULLETS];
sBullet bulletEnnemy[MAX_ENEMY_BULLETS];
sAlien allAliens[MAX_ALIENS];
sBonus bonuses[MAX_BONUSES];
sParticle particles[MAX_PARTICLES];
sFloatingScore allFloatingScores[MAX_FLOATING_SCORES];
sReactor reactors[MAX_REACTORS];
sGameGridPoint gameGridForDeform[GAME_GRID_POINTS];
KGraphic *surf_backgrounds[2];

int32_t gCurrentBackground;
float gLevelTimer;
int32_t gLevel;
int32_t gScore;
int32_t gNextBonus;
int32_t gNextBonusIncrement;
int32_t gDifficulty;
int32_t gBulletRatio;
int32_t gAlienChoice;
int32_t gSpeedScore = 50;
int32_t gShieldScore = 50; // only a shield bonus below the maximum sets it back

// Score digits: the strip x1..x2 of the sprite sheet, rows 255..273.
const sFontNumber numbers[10] = {
    {'0', 0, 12},  {'1', 13, 20}, {'2', 22, 35},  {'3', 36, 48},   {'4', 49, 63},
    {'5', 64, 76}, {'6', 77, 91}, {'7', 92, 105}, {'8', 106, 118}, {'9', 120, 132},
};

// The way to turn from heading sourceRot to destRot (headings 0 up .. 7 up-left, clockwise):
// + clockwise when destRot is 1 to 3 steps clockwise, - when 5 to 7; opposite headings turn
// clockwise from 0..5 and counter-clockwise from 6 and 7.
const sDepTable depTable[DEP_TABLE_SIZE] = {
    // from up
    {0, 0, 0},
    {0, 1, +0.1f},
    {0, 2, +0.1f},
    {0, 3, +0.1f},
    {0, 4, +0.1f},
    {0, 5, -0.1f},
    {0, 6, -0.1f},
    {0, 7, -0.1f},
    // from up-right
    {1, 0, -0.1f},
    {1, 1, 0},
    {1, 2, +0.1f},
    {1, 3, +0.1f},
    {1, 4, +0.1f},
    {1, 5, +0.1f},
    {1, 6, -0.1f},
    {1, 7, -0.1f},
    // from right
    {2, 0, -0.1f},
    {2, 1, -0.1f},
    {2, 2, 0},
    {2, 3, +0.1f},
    {2, 4, +0.1f},
    {2, 5, +0.1f},
    {2, 6, +0.1f},
    {2, 7, -0.1f},
    // from down-right
    {3, 0, -0.1f},
    {3, 1, -0.1f},
    {3, 2, -0.1f},
    {3, 3, 0},
    {3, 4, +0.1f},
    {3, 5, +0.1f},
    {3, 6, +0.1f},
    {3, 7, +0.1f},
    // from down
    {4, 0, +0.1f},
    {4, 1, -0.1f},
    {4, 2, -0.1f},
    {4, 3, -0.1f},
    {4, 4, 0},
    {4, 5, +0.1f},
    {4, 6, +0.1f},
    {4, 7, +0.1f},
    // from down-left
    {5, 0, +0.1f},
    {5, 1, +0.1f},
    {5, 2, -0.1f},
    {5, 3, -0.1f},
    {5, 4, -0.1f},
    {5, 5, 0},
    {5, 6, +0.1f},
    {5, 7, +0.1f},
    // from left
    {6, 0, +0.1f},
    {6, 1, +0.1f},
    {6, 2, -0.1f},
    {6, 3, -0.1f},
    {6, 4, -0.1f},
    {6, 5, -0.1f},
    {6, 6, 0},
    {6, 7, +0.1f},
    // from up-left
    {7, 0, +0.1f},
    {7, 1, +0.1f},
    {7, 2, +0.1f},
    {7, 3, -0.1f},
    {7, 4, -0.1f},
    {7, 5, -0.1f},
    {7, 6, -0.1f},
    {7, 7, 0},
};
