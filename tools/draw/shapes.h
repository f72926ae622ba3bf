// Signed distance functions of the shapes the artwork is built from, and ways to combine them.
// Distances are in pixels, negative inside.
#pragma once
#include <vector>

#include "draw/layer.h"

struct Pt {
  float x, y;
};

Sdf circle(float cx, float cy, float r);
Sdf ellipse(float cx, float cy, float rx,
            float ry); // approximate near the edge, exact enough to draw
Sdf roundBox(float cx, float cy, float hw, float hh, float round);
Sdf capsule(Pt a, Pt b, float r);     // a thick line with round ends
Sdf polygon(std::vector<Pt> points);  // any simple polygon
Sdf ring(Sdf shape, float halfWidth); // the outline of a shape
Sdf joined(Sdf a, Sdf b);
Sdf cut(Sdf a, Sdf b);    // a without b
Sdf common(Sdf a, Sdf b); // where both are
Sdf grown(Sdf a, float by);
Sdf turned(Sdf a, float cx, float cy, float degrees); // a turned clockwise on screen about (cx, cy)
Sdf mirroredX(Sdf a, float cx);                       // a plus its mirror image across x = cx

// n points evenly spaced on a circle, the first at angle start (degrees, 0 is up, clockwise).
std::vector<Pt> star(float cx, float cy, int n, float rOuter, float rInner, float start = 0);
std::vector<Pt> regular(float cx, float cy, int n, float r, float start = 0);

// Paints: a linear gradient from a to b between two points, a radial one from the centre out to r.
Paint linear(Pt from, Color a, Pt to, Color b);
Paint radial(Pt centre, float r, Color inner, Color outer);
