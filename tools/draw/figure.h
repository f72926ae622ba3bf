// Drawings kept as data: shapes, their paints and lights, in drawing order. The artwork paints a
// drawing on a layer at any scale, and the SVG writer describes the same drawing as vectors.
#pragma once
#include <string>
#include <vector>

#include "draw/shapes.h"

struct Figure {
  enum Kind { Circle, Ellipse, RoundBox, Capsule, Polygon };
  Kind kind;
  std::vector<Pt>
      points; // Circle, Ellipse, RoundBox: the centre; Capsule: its two ends; Polygon: corners
  float
      a = 0,
      b = 0,
      c = 0; // Circle: r; Ellipse: rx, ry; RoundBox: half width, half height, rounding; Capsule: r
  float outline = 0; // above 0: only a ring of this half width along the edge is painted
};
Figure circleFigure(Pt c, float r);
Figure ellipseFigure(Pt c, float rx, float ry);
Figure roundBoxFigure(Pt c, float hw, float hh, float round);
Figure capsuleFigure(Pt a, Pt b, float r);
Figure polygonFigure(std::vector<Pt> corners);
Figure outlined(Figure f, float halfWidth);

struct Fill {
  enum Kind { Solid, Linear, Radial };
  Kind kind;
  Color a, b; // Solid: a; Linear: a at `from`, b at `to`; Radial: a at `from`, b at radius r
  Pt from{}, to{};
  float r = 0;
};
Fill solidFill(Color c);
Fill linearFill(Pt from, Color a, Pt to, Color b);
Fill radialFill(Pt centre, float r, Color inner, Color outer);

// One step of a drawing: a painted figure, or light added around a circle (Layer::glow).
struct Stroke {
  Figure figure;
  Fill fill;      // a glow's colour is fill.a
  float glow = 0; // above 0: the figure (a circle) glows with this fall-off radius
};
using Drawing = std::vector<Stroke>;

// Where a drawing lands: its point (x, y) at (x0 + k x, y0 + k y).
struct Placement {
  float k = 1, x0 = 0, y0 = 0;
};

void paint(Layer &layer, const Drawing &drawing, Placement at = {});
// An SVG element for each stroke (gradients numbered from `id` up, and `id` moved past them).
std::string svgElements(const Drawing &drawing, Placement at, int &id);
// A whole SVG document, w by h, of drawings laid one over another.
std::string svgDocument(int w, int h, const std::string &elements);
