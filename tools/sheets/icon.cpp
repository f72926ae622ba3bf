// The icon: the ship over a glowing violet disc, drawn from shapes at whatever size is asked,
// so that every size is sharp and the SVG shows the same picture.
#include "sheets/sheets.h"

namespace {
// The drawing is laid out on a 64-pixel square.
const float kDesign = 64;

Drawing disc() {
  float c = kDesign / 2;
  return {
      {circleFigure({c, c}, 30),
       radialFill({c - 6, c - 8}, 34, rgb(0.3f, 0.25f, 0.7f), rgb(0.04f, 0.03f, 0.15f))},
      {outlined(circleFigure({c, c}, 29.5f), 1.2f), solidFill(rgb(0.6f, 0.5f, 1))},
  };
}

// The ship at 1.6 times its sprite's size, centred a pixel below the middle.
Placement shipOnDisc(float k) {
  const float grow = 1.6f;
  Rect s = sprites::kShip;
  return {k * grow, k * (kDesign - s.w() * grow) / 2, k * ((kDesign - s.h() * grow) / 2 + 1)};
}
} // namespace

Layer drawIcon(int size) {
  Layer icon(size, size);
  float k = size / kDesign;
  paint(icon, disc(), {k, 0, 0});
  paint(icon, shipDrawing(), shipOnDisc(k));
  return icon;
}

std::string iconSvg() {
  int id = 0;
  std::string elements = svgElements(disc(), {}, id);
  elements += svgElements(shipDrawing(), shipOnDisc(1), id);
  return svgDocument(int(kDesign), int(kDesign), elements);
}
