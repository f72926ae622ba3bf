// The SVG writer of drawings: each figure as an SVG shape, each fill as a colour or gradient.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "draw/figure.h"

namespace {
std::string num(float v) {
  char s[32];
  std::snprintf(s, sizeof s, "%.3f", v);
  std::string t = s;
  t.erase(t.find_last_not_of('0') + 1);
  if (t.back() == '.') t.pop_back();
  return t == "-0" ? "0" : t;
}

std::string hex(Color c) {
  auto byte = [](float v) { return int(std::clamp(v, 0.f, 1.f) * 255 + 0.5f); };
  char s[8];
  std::snprintf(s, sizeof s, "#%02x%02x%02x", byte(c.r), byte(c.g), byte(c.b));
  return s;
}

Pt placed(Pt p, Placement at) { return {at.x0 + at.k * p.x, at.y0 + at.k * p.y}; }

std::string stop(float offset, Color c, float opacity) {
  return "<stop offset=\"" + num(offset) + "\" stop-color=\"" + hex(c) + "\" stop-opacity=\"" +
         num(opacity) + "\"/>";
}

// A gradient in the drawing's own coordinates, under <defs>; returns the paint that names it.
std::string gradient(const Fill &f, Placement at, int id, std::string &defs) {
  std::string name = "z" + std::to_string(id);
  Pt p = placed(f.from, at);
  std::string stops = stop(0, f.a, f.a.a) + stop(1, f.b, f.b.a);
  if (f.kind == Fill::Linear) {
    Pt q = placed(f.to, at);
    defs += "<linearGradient id=\"" + name + "\" gradientUnits=\"userSpaceOnUse\" x1=\"" +
            num(p.x) + "\" y1=\"" + num(p.y) + "\" x2=\"" + num(q.x) + "\" y2=\"" + num(q.y) +
            "\">" + stops + "</linearGradient>";
  } else {
    defs += "<radialGradient id=\"" + name + "\" gradientUnits=\"userSpaceOnUse\" cx=\"" +
            num(p.x) + "\" cy=\"" + num(p.y) + "\" r=\"" + num(at.k * f.r) + "\">" + stops +
            "</radialGradient>";
  }
  return "url(#" + name + ")";
}

std::string shape(const Figure &f, Placement at) {
  std::vector<Pt> p;
  for (Pt q : f.points) p.push_back(placed(q, at));
  float k = at.k;
  switch (f.kind) {
  case Figure::Circle:
    return "<circle cx=\"" + num(p[0].x) + "\" cy=\"" + num(p[0].y) + "\" r=\"" + num(k * f.a) +
           "\"";
  case Figure::Ellipse:
    return "<ellipse cx=\"" + num(p[0].x) + "\" cy=\"" + num(p[0].y) + "\" rx=\"" + num(k * f.a) +
           "\" ry=\"" + num(k * f.b) + "\"";
  case Figure::RoundBox:
    return "<rect x=\"" + num(p[0].x - k * f.a) + "\" y=\"" + num(p[0].y - k * f.b) +
           "\" width=\"" + num(2 * k * f.a) + "\" height=\"" + num(2 * k * f.b) + "\" rx=\"" +
           num(k * f.c) + "\"";
  case Figure::Capsule: {
    // Two sides and two half circles, the sides offset by r along the normal.
    float r = k * f.a, dx = p[1].x - p[0].x, dy = p[1].y - p[0].y, len = std::hypot(dx, dy);
    float nx = len > 0 ? -dy / len * r : 0, ny = len > 0 ? dx / len * r : r;
    std::string arc = " A" + num(r) + " " + num(r) + " 0 0 0 ";
    return "<path d=\"M" + num(p[0].x + nx) + " " + num(p[0].y + ny) + " L" + num(p[1].x + nx) +
           " " + num(p[1].y + ny) + arc + num(p[1].x - nx) + " " + num(p[1].y - ny) + " L" +
           num(p[0].x - nx) + " " + num(p[0].y - ny) + arc + num(p[0].x + nx) + " " +
           num(p[0].y + ny) + " Z\"";
  }
  case Figure::Polygon: {
    std::string points;
    for (Pt q : p) points += (points.empty() ? "" : " ") + num(q.x) + "," + num(q.y);
    return "<polygon points=\"" + points + "\"";
  }
  }
  return "";
}

// A glow as a disc whose opacity falls as the layer's light does: full over the circle, then
// e^(-d / radius) at distance d outside it, down to the layer's cut-off near e^-7.
std::string glowElement(const Stroke &s, Placement at, int id, std::string &defs) {
  Pt c = placed(s.figure.points[0], at);
  float r = at.k * s.figure.a, g = at.k * s.glow, outer = r + 7 * g;
  std::string name = "z" + std::to_string(id), stops = stop(r / outer, s.fill.a, s.fill.a.a);
  for (int t = 1; t <= 7; ++t)
    stops += stop((r + t * g) / outer, s.fill.a, s.fill.a.a * std::exp(-float(t)));
  defs += "<radialGradient id=\"" + name + "\" gradientUnits=\"userSpaceOnUse\" cx=\"" + num(c.x) +
          "\" cy=\"" + num(c.y) + "\" r=\"" + num(outer) + "\">" + stops + "</radialGradient>";
  return "<circle cx=\"" + num(c.x) + "\" cy=\"" + num(c.y) + "\" r=\"" + num(outer) +
         "\" fill=\"url(#" + name + ")\"/>\n";
}
} // namespace

std::string svgElements(const Drawing &drawing, Placement at, int &id) {
  std::string defs, body;
  for (const Stroke &s : drawing) {
    if (s.glow > 0) {
      body += glowElement(s, at, id++, defs);
      continue;
    }
    bool line = s.figure.outline > 0;
    std::string colour = line ? "stroke" : "fill", paint, opacity;
    if (s.fill.kind == Fill::Solid) {
      paint = hex(s.fill.a);
      if (s.fill.a.a < 1) opacity = " " + colour + "-opacity=\"" + num(s.fill.a.a) + "\"";
    } else {
      paint = gradient(s.fill, at, id++, defs);
    }
    body += shape(s.figure, at) + " " + colour + "=\"" + paint + "\"" + opacity;
    if (line)
      body += " fill=\"none\" stroke-width=\"" + num(2 * at.k * s.figure.outline) +
              "\" stroke-linejoin=\"round\"";
    body += "/>\n";
  }
  return (defs.empty() ? "" : "<defs>" + defs + "</defs>\n") + body;
}

std::string svgDocument(int w, int h, const std::string &elements) {
  std::string size = "width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) + "\"";
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" " +
         size + " viewBox=\"0 0 " + std::to_string(w) + " " + std::to_string(h) + "\">\n" +
         elements + "</svg>\n";
}
