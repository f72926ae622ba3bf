// The game's pictures, each drawn by its own file.
#pragma once
#include <cstdint>
#include <string>

#include "draw/figure.h"
#include "draw/layer.h"
#include "sheets/layout.h"

Layer drawMenuSheet();
Layer drawSpriteSheet();
Layer drawBackground(int which); // 0 and 1: data/background1.tga and data/background2.tga
// The icon, drawn at size x size pixels (data/icon.png is the window's, at kIconSize), and the
// same drawing as a scalable SVG document.
Layer drawIcon(int size = kIconSize);
std::string iconSvg();
// The ship, nose up, in the coordinates of its sprite rectangle.
Drawing shipDrawing();

// One alien kind, drawn at the size of its rectangle, facing up.
Layer drawAlien(int kind);

// Puts a sprite into its rectangle, leaving the rectangle's outer ring of pixels transparent
// so that smooth sampling never pulls in a neighbour.
void place(Layer &sheet, Layer sprite, Rect r);
// A mask centred in a rectangle (rounded toward the top left), painted.
void placeMask(Layer &sheet, const Mask &m, Rect r, const Paint &paint);
// A font's digits at one size on one baseline, each centred across its strip less `left`
// columns before it and one after; the rows' top and bottom stay clear.
void placeDigits(Layer &sheet, const Glyph *glyphs, int count, int rowTop, int rowBottom,
                 float capHeight, int left, const Paint &paint);

// A deep-space scene: nebula clouds in two colours over a dark field, and stars. It repeats
// seamlessly every `size` pixels.
struct SceneStyle {
  uint32_t seed;
  Color cloudA, cloudB, dust; // the nebula's two colours and the faint tint between clouds
  float brightness;           // nebula strength
  int stars;
};
Layer spaceScene(int size, const SceneStyle &style);
