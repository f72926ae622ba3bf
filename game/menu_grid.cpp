// The rippling mesh behind the title menu.
#include <cmath>

#include "KGraphic.h"
#include "menu.h"

sGridPoint gridForDeform[GRID_CAPACITY];

namespace {
constexpr float TWO_PI_APPROX = 6.28f; // the phases wrap here

sGridPoint &point(int row, int column) { return gridForDeform[row * GRID_COLUMNS + column]; }

// Sine and cosine of the float phase, worked out in double and rounded to float.
float roundedCos(float phase) { return static_cast<float>(std::cos(static_cast<double>(phase))); }
float roundedSin(float phase) { return static_cast<float>(std::sin(static_cast<double>(phase))); }
} // namespace

void initGrid() {
  float rowPhase = 0;
  for (int r = 0; r < GRID_ROWS; r++) {
    rowPhase += 0.05;
    if (rowPhase > TWO_PI_APPROX) rowPhase = 0;
    for (int c = 0; c < GRID_COLUMNS; c++) {
      sGridPoint &p = point(r, c);
      p.x = p.sx = p.dx = 60.0f * c;
      p.y = p.sy = p.dy = 15.0f * r;
      p.cospower = rowPhase;
      // The border stays at rest so the mesh meets the still picture without a seam.
      p.fixed = c == 0 || c == GRID_COLUMNS - 1 || r == 0 || r >= GRID_ROWS - 2;
    }
  }
}

void displayGrid(KGraphic *surf_bg) {
  for (int i = 0; i < GRID_ROWS * GRID_COLUMNS; i++) {
    sGridPoint &p = gridForDeform[i];
    if (p.fixed) {
      p.sx = p.x;
      p.sy = p.y;
      continue;
    }
    p.cospower += 0.005; // one cycle lasts 1256 frames
    if (p.cospower > TWO_PI_APPROX) p.cospower = 0;
    p.sx = p.x + 6 * roundedCos(p.cospower);
    p.sy = p.y + 8 * roundedSin(4 * p.cospower);
  }
  for (int r = 0; r < GRID_ROWS - 1; r++) {
    for (int c = 0; c < GRID_COLUMNS - 1; c++) {
      const sGridPoint &p1 = point(r, c), &p2 = point(r + 1, c);
      const sGridPoint &p3 = point(r + 1, c + 1), &p4 = point(r, c + 1);
      surf_bg->blitArbitraryQuad(p1.sx, p1.sy, p2.sx, p2.sy, p3.sx, p3.sy, p4.sx, p4.sy, p1.dx,
                                 p1.dy, p2.dx, p2.dy, p3.dx, p3.dy, p4.dx, p4.dy);
    }
  }
}
