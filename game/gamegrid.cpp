// The lit background mesh of the playfield: a spot of light follows the ship, the mesh shakes
// after a hit, and a background change swaps the picture cell by cell.
#include <cmath>

#include "KGraphic.h"
#include "aliens.h" // playSound, gameRand
#include "game.h"

namespace {

sGameGridPoint &gridPoint(int r, int c) { return gameGridForDeform[r * GAME_GRID_COLUMNS + c]; }

} // namespace

void initGameGrid() {
  float phase = 0;
  for (int r = 0; r < GAME_GRID_ROWS; r++) {
    phase += 0.095f;
    if (phase > 6.28f) phase = 0;
    for (int c = 0; c < GAME_GRID_COLUMNS; c++) {
      sGameGridPoint &p = gridPoint(r, c);
      p.x = p.sx = p.dx = (float)(32 * c);
      p.y = p.sy = p.dy = (float)(32 * r);
      p.cospower = phase;
      p.gridType = 0;
      p.fixed = c == 0 || c >= 15 || r == 0 || r >= 15;
    }
  }
}

void updateGameGrid() {
  // The light stays where the ship was once it is destroyed.
  float ex = myShip.x + 16;
  float ey = myShip.y + 16;
  if (myShip.hit > 0) myShip.hit -= 0.1f;

  for (int i = 0; i < GAME_GRID_ROWS * GAME_GRID_COLUMNS; i++) {
    sGameGridPoint &p = gameGridForDeform[i];
    // After the hit the points keep their last offsets until the next one.
    if (myShip.hit > 0 && !p.fixed) {
      p.cospower += 0.05f;
      p.sx = (float)(p.x + (double)(myShip.hit * 10) * std::cos((double)(4 * p.cospower)));
      p.sy = (float)(p.y + (double)(myShip.hit * 10) * std::sin((double)(3 * p.cospower)));
    }

    // Squared distances: no square root per point.
    double ddx = (double)ex - p.dx;
    double ddy = (double)ey - p.dy;
    double light = 1 - (ddx * ddx + ddy * ddy) / 40000;
    if (light < 0.4) light = 0.4;
    if (light > 1.0) light = 1.0;
    p.light = (float)light;

    if (p.gridType != gCurrentBackground && gameRand() % 25 == 0) {
      p.gridType = gCurrentBackground;
      playSound(snd_changeBackground);
    }
  }
}

void drawGameGrid() {
  KGraphic *last = nullptr;
  for (int r = 0; r < GAME_GRID_ROWS - 1; r++) {
    for (int c = 0; c < GAME_GRID_COLUMNS - 1; c++) {
      const sGameGridPoint &p = gridPoint(r, c);
      const sGameGridPoint &below = gridPoint(r + 1, c);
      const sGameGridPoint &diagonal = gridPoint(r + 1, c + 1);
      const sGameGridPoint &right = gridPoint(r, c + 1);
      KGraphic *g = surf_backgrounds[p.gridType];
      last = g;
      if (!g) continue;
      // The whole cell takes the tint of its top-left point.
      g->setBlitColor(p.light, p.light, p.light, 1.0f);
      g->blitArbitraryQuad(p.sx, p.sy, below.sx, below.sy, diagonal.sx, diagonal.sy, right.sx,
                           right.sy, p.dx, p.dy, below.dx, below.dy, diagonal.dx, diagonal.dy,
                           right.dx, right.dy);
    }
  }
  if (last) last->setBlitColor(1, 1, 1, 1);
}

void displayGameGrid() {
  updateGameGrid();
  drawGameGrid();
}
