#include "draw/shapes.h"

#include <algorithm>
#include <cmath>

static const float kPi = 3.14159265f;

Sdf circle(float cx, float cy, float r) {
  return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Sdf ellipse(float cx, float cy, float rx, float ry) {
  return [=](float x, float y) {
    float u = (x - cx) / rx, v = (y - cy) / ry;
    float k = std::hypot(u, v);
    return (k - 1) * std::min(rx, ry) * (k < 1 ? 1 : std::max(rx, ry) / std::min(rx, ry));
  };
}

Sdf roundBox(float cx, float cy, float hw, float hh, float round) {
  return [=](float x, float y) {
    float qx = std::fabs(x - cx) - hw + round, qy = std::fabs(y - cy) - hh + round;
    float outside = std::hypot(std::max(qx, 0.f), std::max(qy, 0.f));
    return outside + std::min(std::max(qx, qy), 0.f) - round;
  };
}

Sdf capsule(Pt a, Pt b, float r) {
  return [=](float x, float y) {
    float px = x - a.x, py = y - a.y, bx = b.x - a.x, by = b.y - a.y;
    float len2 = bx * bx + by * by;
    float t = len2 > 0 ? std::clamp((px * bx + py * by) / len2, 0.f, 1.f) : 0.f;
    return std::hypot(px - bx * t, py - by * t) - r;
  };
}

Sdf polygon(std::vector<Pt> p) {
  return [p](float x, float y) {
    float d = 1e9f;
    bool inside = false;
    for (size_t i = 0, j = p.size() - 1; i < p.size(); j = i++) {
      float ex = p[j].x - p[i].x, ey = p[j].y - p[i].y;
      float wx = x - p[i].x, wy = y - p[i].y;
      float t = std::clamp((wx * ex + wy * ey) / (ex * ex + ey * ey), 0.f, 1.f);
      d = std::min(d, std::hypot(wx - ex * t, wy - ey * t));
      if ((p[i].y > y) != (p[j].y > y) && x < ex * (y - p[i].y) / ey + p[i].x) inside = !inside;
    }
    return inside ? -d : d;
  };
}

Sdf ring(Sdf s, float hw) {
  return [=](float x, float y) { return std::fabs(s(x, y)) - hw; };
}
Sdf joined(Sdf a, Sdf b) {
  return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}
Sdf cut(Sdf a, Sdf b) {
  return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}
Sdf common(Sdf a, Sdf b) {
  return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}
Sdf grown(Sdf a, float by) {
  return [=](float x, float y) { return a(x, y) - by; };
}

Sdf turned(Sdf a, float cx, float cy, float degrees) {
  float c = std::cos(degrees * kPi / 180), s = std::sin(degrees * kPi / 180);
  // Sample the shape at the point turned back the other way.
  return [=](float x, float y) {
    float dx = x - cx, dy = y - cy;
    return a(cx + dx * c + dy * s, cy - dx * s + dy * c);
  };
}

Sdf mirroredX(Sdf a, float cx) {
  return [=](float x, float y) { return std::min(a(x, y), a(2 * cx - x, y)); };
}

std::vector<Pt> star(float cx, float cy, int n, float ro, float ri, float start) {
  std::vector<Pt> p;
  for (int i = 0; i < 2 * n; ++i) {
    float ang = (start + 180.f * i / n) * kPi / 180;
    float r = (i % 2) ? ri : ro;
    p.push_back({cx + r * std::sin(ang), cy - r * std::cos(ang)});
  }
  return p;
}

std::vector<Pt> regular(float cx, float cy, int n, float r, float start) {
  std::vector<Pt> p;
  for (int i = 0; i < n; ++i) {
    float ang = (start + 360.f * i / n) * kPi / 180;
    p.push_back({cx + r * std::sin(ang), cy - r * std::cos(ang)});
  }
  return p;
}

Paint linear(Pt from, Color a, Pt to, Color b) {
  float dx = to.x - from.x, dy = to.y - from.y, len2 = dx * dx + dy * dy;
  return [=](float x, float y) {
    float t = std::clamp(((x - from.x) * dx + (y - from.y) * dy) / len2, 0.f, 1.f);
    return mix(a, b, t);
  };
}

Paint radial(Pt c, float r, Color inner, Color outer) {
  return [=](float x, float y) {
    return mix(inner, outer, std::min(1.f, std::hypot(x - c.x, y - c.y) / r));
  };
}
