// The title menu's own tables: its four items and the rippling background mesh.
#ifndef ZYPHORA_MENU_H
#define ZYPHORA_MENU_H

#include <cstdint>

class KGraphic;

// One menu item. The highlighted picture lies 117 pixels below the normal one in the menu sheet.
struct sMenu {
  int32_t x1, y1, x2, y2; // picture in the menu sheet
  int32_t dx, dy;         // screen position
  int32_t active;         // 1 for the highlighted item
};
constexpr int MENU_ITEMS = 4;
constexpr int MENU_HIGHLIGHT_OFFSET = 117;
extern sMenu menus[MENU_ITEMS];

// One point of the menu's background mesh: its screen corner stays put while the picture point
// it samples drifts, so the picture seen through the mesh ripples.
struct sGridPoint {
  float x, y;     // rest position, the same in the picture and on screen
  float cospower; // oscillation phase, radians
  float sx, sy;   // current position in the picture
  float dx, dy;   // position on screen
  bool fixed;     // the point never moves
};
constexpr int GRID_COLUMNS = 8; // points across: x = 60 * column, 0..420
constexpr int GRID_ROWS = 33;   // points down: y = 15 * row, 0..480
constexpr int GRID_CAPACITY = 297;
extern sGridPoint gridForDeform[GRID_CAPACITY]; // point (r, c) is entry r * 8 + c

// What the menu screen keeps from frame to frame.
struct MenuScreen {
  KGraphic *surf_bg = nullptr; // the menu sheet
  float fader = 0;             // title slide-in, 0..1
  bool chingPlayed = false;    // the slide-in is over and the chime was started
  float fadeToWhite = 0;       // opacity of the fade into a game
  float fadeToWhiteSpeed = 0;  // its growth per frame; 0 while no game is being started
};

KGraphic *loadMenuSheet();          // "data\menu.tga", as loaded after a game (no smoothing)
void menuFrame(MenuScreen &screen); // one frame of the menu, flip included

void initGrid();                     // every point at rest, phases by row
void displayGrid(KGraphic *surf_bg); // one step of the ripple, drawn as 224 quads

#endif
