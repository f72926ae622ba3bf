#include "draw/figure.h"

Figure circleFigure(Pt c, float r) { return {Figure::Circle, {c}, r}; }
Figure ellipseFigure(Pt c, float rx, float ry) { return {Figure::Ellipse, {c}, rx, ry}; }
Figure roundBoxFigure(Pt c, float hw, float hh, float round) {
  return {Figure::RoundBox, {c}, hw, hh, round};
}
Figure capsuleFigure(Pt a, Pt b, float r) { return {Figure::Capsule, {a, b}, r}; }
Figure polygonFigure(std::vector<Pt> corners) { return {Figure::Polygon, std::move(corners)}; }
Figure outlined(Figure f, float halfWidth) {
  f.outline = halfWidth;
  return f;
}

Fill solidFill(Color c) { return {Fill::Solid, c, c}; }
Fill linearFill(Pt from, Color a, Pt to, Color b) { return {Fill::Linear, a, b, from, to}; }
Fill radialFill(Pt centre, float r, Color inner, Color outer) {
  return {Fill::Radial, inner, outer, centre, {}, r};
}

namespace {
Pt placed(Pt p, Placement at) { return {at.x0 + at.k * p.x, at.y0 + at.k * p.y}; }

Sdf sdfOf(const Figure &f, Placement at) {
  float k = at.k;
  std::vector<Pt> p;
  for (Pt q : f.points) p.push_back(placed(q, at));
  Sdf s;
  switch (f.kind) {
  case Figure::Circle: s = circle(p[0].x, p[0].y, k * f.a); break;
  case Figure::Ellipse: s = ellipse(p[0].x, p[0].y, k * f.a, k * f.b); break;
  case Figure::RoundBox: s = roundBox(p[0].x, p[0].y, k * f.a, k * f.b, k * f.c); break;
  case Figure::Capsule: s = capsule(p[0], p[1], k * f.a); break;
  case Figure::Polygon: s = polygon(p); break;
  }
  return f.outline > 0 ? ring(s, k * f.outline) : s;
}

Paint paintOf(const Fill &f, Placement at) {
  switch (f.kind) {
  case Fill::Linear: return linear(placed(f.from, at), f.a, placed(f.to, at), f.b);
  case Fill::Radial: return radial(placed(f.from, at), at.k * f.r, f.a, f.b);
  case Fill::Solid: break;
  }
  return solid(f.a);
}
} // namespace

void paint(Layer &layer, const Drawing &drawing, Placement at) {
  for (const Stroke &s : drawing) {
    if (s.glow > 0)
      layer.glow(sdfOf(s.figure, at), s.fill.a, at.k * s.glow);
    else
      layer.fill(sdfOf(s.figure, at), paintOf(s.fill, at));
  }
}
