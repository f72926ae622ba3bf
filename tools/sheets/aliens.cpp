// The twelve alien kinds. They are drawn additively over a dark field, so each one is built from
// light: a glowing rim, a bright core, saturated colour; dark parts simply let the field through.
#include <algorithm>
#include <cmath>

#include "draw/shapes.h"
#include "sheets/sheets.h"

namespace {
const float kPi = 3.14159265f;

// A body: a soft halo, a radial gradient from a bright centre, and a bright rim.
void body(Layer &l, const Sdf &s, Pt centre, float r, Color inner, Color outer, Color rimColour) {
  l.glow(s, scaled(rimColour, 0.9f), 2.2f);
  l.fill(s, radial(centre, r, inner, outer));
  l.fill(ring(grown(s, -0.9f), 0.7f), solid(rimColour));
}

void eye(Layer &l, float x, float y, float r, Color iris) {
  l.glow(circle(x, y, r), iris, 1.5f);
  l.fill(circle(x, y, r), radial({x, y}, r, rgb(1, 1, 1), iris));
  l.fill(circle(x - r * 0.3f, y - r * 0.3f, r * 0.35f), solid(rgb(1, 1, 1, 0.9f)));
}

// Kind 0: a magenta ring-ship, six spokes round a hot core, pods on the rim.
Layer warden(int w, int h) {
  Layer l(w, h);
  float cx = w / 2.f, cy = h / 2.f;
  Color mag = rgb(1.0f, 0.25f, 0.85f), deep = rgb(0.35f, 0.05f, 0.45f);
  l.glow(circle(cx, cy, 31), rgb(0.8f, 0.2f, 0.9f, 0.6f), 3);
  l.fill(circle(cx, cy, 27), radial({cx, cy}, 27, rgb(0.7f, 0.2f, 0.8f), deep));
  for (int i = 0; i < 6; ++i) {
    float a = i * kPi / 3;
    l.fill(capsule({cx, cy}, {cx + 29 * std::sin(a), cy - 29 * std::cos(a)}, 2.2f),
           solid(rgb(1, 0.55f, 0.95f)));
  }
  l.fill(ring(circle(cx, cy, 30), 2.6f),
         linear({cx, cy - 30}, rgb(1, 0.7f, 1), {cx, cy + 30}, mag));
  l.fill(ring(circle(cx, cy, 18), 1.2f), solid(rgb(1, 0.4f, 0.9f, 0.8f)));
  for (int i = 0; i < 6; ++i) {
    float a = (i + 0.5f) * kPi / 3;
    float px = cx + 32 * std::sin(a), py = cy - 32 * std::cos(a);
    l.glow(circle(px, py, 3.5f), rgb(1, 0.5f, 1, 0.7f), 1.5f);
    l.fill(circle(px, py, 3.5f), radial({px, py}, 3.5f, rgb(1, 0.95f, 1), mag));
  }
  l.glow(circle(cx, cy, 7), rgb(1, 0.6f, 1), 3);
  l.fill(circle(cx, cy, 8), radial({cx, cy}, 8, rgb(1, 1, 1), rgb(1, 0.3f, 0.8f)));
  return l;
}

// Kind 1: a cyan crystal, a hexagon of facets round a glowing eye.
Layer prism(int w, int h) {
  Layer l(w, h);
  float cx = w / 2.f, cy = h / 2.f;
  auto hex = regular(cx, cy, 6, 35, 30);
  l.glow(polygon(hex), rgb(0.2f, 0.8f, 1, 0.6f), 2.5f);
  for (int i = 0; i < 6; ++i) {
    Pt a = hex[i], b = hex[(i + 1) % 6];
    float shade = 0.45f + 0.1f * (i % 3);
    l.fill(polygon({{cx, cy}, a, b}),
           linear({cx, cy}, rgb(0.1f, 0.5f * shade + 0.3f, 0.9f), a, rgb(0.05f, shade, 0.8f)));
  }
  l.fill(ring(polygon(hex), 1.6f), solid(rgb(0.6f, 1, 1)));
  for (int i = 0; i < 6; ++i)
    l.fill(capsule({cx, cy}, hex[i], 0.6f), solid(rgb(0.5f, 0.95f, 1, 0.8f)));
  auto inner = regular(cx, cy, 6, 17, 0);
  l.fill(polygon(inner), radial({cx, cy}, 17, rgb(0.2f, 0.9f, 1), rgb(0.0f, 0.35f, 0.6f)));
  l.fill(ring(polygon(inner), 1), solid(rgb(0.7f, 1, 1)));
  eye(l, cx, cy, 7, rgb(0.1f, 0.9f, 1));
  return l;
}

// Kind 2: a red-orange eight-point star with a white-hot core, the dasher.
Layer nova(int w, int h) {
  Layer l(w, h);
  float cx = w / 2.f, cy = h / 2.f;
  auto spikes = polygon(star(cx, cy, 8, 36, 15, 0));
  auto small = polygon(star(cx, cy, 8, 25, 12, 22.5f));
  l.glow(spikes, rgb(1, 0.35f, 0.05f, 0.7f), 3);
  l.fill(spikes, radial({cx, cy}, 36, rgb(1, 0.7f, 0.1f), rgb(0.8f, 0.1f, 0.0f)));
  l.fill(ring(spikes, 0.8f), solid(rgb(1, 0.8f, 0.3f)));
  l.fill(small, radial({cx, cy}, 25, rgb(1, 0.95f, 0.4f), rgb(1, 0.3f, 0.05f)));
  l.fill(ring(circle(cx, cy, 13), 1.5f), solid(rgb(0.6f, 0.05f, 0.0f)));
  l.glow(circle(cx, cy, 9), rgb(1, 0.9f, 0.6f), 3);
  l.fill(circle(cx, cy, 10), radial({cx, cy}, 10, rgb(1, 1, 1), rgb(1, 0.85f, 0.3f)));
  return l;
}

// Kind 3: a green spore, a wobbling cell with cilia and bright nuclei.
Layer spore(int w, int h) {
  Layer l(w, h);
  float cx = w / 2.f, cy = h / 2.f;
  Sdf cell = [=](float x, float y) {
    float a = std::atan2(y - cy, x - cx);
    return std::hypot(x - cx, y - cy) - (15.5f + 1.8f * std::sin(5 * a));
  };
  for (int i = 0; i < 10; ++i) {
    float a = i * kPi / 5 + 0.3f;
    l.fill(capsule({cx + 15 * std::cos(a), cy + 15 * std::sin(a)},
                   {cx + 20.5f * std::cos(a + 0.15f), cy + 20.5f * std::sin(a + 0.15f)}, 0.8f),
           solid(rgb(0.5f, 1, 0.4f, 0.9f)));
  }
  body(l, cell, {cx - 3, cy - 3}, 19, rgb(0.5f, 1, 0.3f), rgb(0.05f, 0.45f, 0.1f),
       rgb(0.6f, 1, 0.5f));
  l.fill(circle(cx + 6, cy + 5, 3), solid(rgb(0.2f, 0.7f, 0.2f)));
  l.fill(circle(cx - 6, cy + 6, 2), solid(rgb(0.3f, 0.8f, 0.3f)));
  l.glow(circle(cx - 1, cy - 1, 4), rgb(0.8f, 1, 0.5f), 2);
  l.fill(circle(cx - 1, cy - 1, 4.5f),
         radial({cx - 2, cy - 2}, 4.5f, rgb(1, 1, 0.8f), rgb(0.6f, 1, 0.3f)));
  return l;
}

// Kind 4: an amber cog with a hollow hub.
Layer cog(int w, int h) {
  Layer l(w, h);
  float cx = w / 2.f, cy = h / 2.f;
  Sdf wheel = circle(cx, cy, 14.5f);
  for (int i = 0; i < 10; ++i)
    wheel = joined(wheel, turned(roundBox(cx, cy - 17, 2.6f, 4, 1), cx, cy, i * 36.f));
  Sdf hole = circle(cx, cy, 7.5f);
  body(l, cut(wheel, hole), {cx, cy}, 20, rgb(1, 0.85f, 0.3f), rgb(0.75f, 0.4f, 0.02f),
       rgb(1, 0.9f, 0.5f));
  for (int i = 0; i < 5; ++i)
    l.fill(circle(cx + 11 * std::sin(i * 72 * kPi / 180), cy - 11 * std::cos(i * 72 * kPi / 180),
                  1.6f),
           solid(rgb(0.5f, 0.25f, 0.0f)));
  l.fill(circle(cx, cy, 5.5f), radial({cx, cy}, 5.5f, rgb(1, 0.95f, 0.7f), rgb(1, 0.55f, 0.1f)));
  l.glow(circle(cx, cy, 3), rgb(1, 0.8f, 0.4f), 2);
  return l;
}

// Kind 5: four violet orbs round a blue diamond, joined by beams.
Layer quad(int w, int h) {
  Layer l(w, h);
  float cx = w / 2.f, cy = h / 2.f;
  for (int i = 0; i < 4; ++i) {
    float a = i * kPi / 2;
    float ox = cx + 14.5f * std::sin(a), oy = cy - 14.5f * std::cos(a);
    l.fill(capsule({cx, cy}, {ox, oy}, 1.5f), solid(rgb(0.6f, 0.6f, 1, 0.9f)));
    l.glow(circle(ox, oy, 5.5f), rgb(0.6f, 0.3f, 1, 0.7f), 2);
    l.fill(circle(ox, oy, 6),
           radial({ox - 1.5f, oy - 1.5f}, 6, rgb(0.95f, 0.85f, 1), rgb(0.45f, 0.1f, 0.85f)));
  }
  auto diamond = polygon(regular(cx, cy, 4, 10, 0));
  body(l, diamond, {cx, cy}, 10, rgb(0.7f, 0.85f, 1), rgb(0.1f, 0.2f, 0.9f), rgb(0.7f, 0.8f, 1));
  l.glow(circle(cx, cy, 2.5f), rgb(1, 1, 1), 1.5f);
  return l;
}

// Kind 6: a teal manta dart, nose up, engine glow behind.
Layer dart(int w, int h) {
  Layer l(w, h);
  float cx = w / 2.f;
  auto hull = polygon({{cx, 3},
                       {cx + 7, 18},
                       {43, 34},
                       {cx + 6, 30},
                       {cx, 38},
                       {cx - 6, 30},
                       {3, 34},
                       {cx - 7, 18}});
  l.glow(circle(cx, 40, 3), rgb(0.3f, 1, 0.9f, 0.9f), 3);
  body(l, hull, {cx, 18}, 24, rgb(0.4f, 1, 0.85f), rgb(0.0f, 0.35f, 0.4f), rgb(0.5f, 1, 0.9f));
  l.fill(capsule({cx, 8}, {cx, 32}, 1), solid(rgb(0.7f, 1, 0.95f, 0.8f)));
  l.fill(capsule({cx - 8, 24}, {5, 33}, 0.7f), solid(rgb(0.3f, 0.9f, 0.8f, 0.8f)));
  l.fill(capsule({cx + 8, 24}, {41, 33}, 0.7f), solid(rgb(0.3f, 0.9f, 0.8f, 0.8f)));
  eye(l, cx, 20, 3.5f, rgb(0.1f, 1, 0.7f));
  return l;
}

// Kind 7: an orange bat-winged flier with scalloped wings and two eyes.
Layer bat(int w, int h) {
  Layer l(w, h);
  float cx = w / 2.f;
  auto wings = polygon({{cx, 10},
                        {cx + 8, 12},
                        {42, 8},
                        {43, 22},
                        {38, 30},
                        {33, 26},
                        {29, 34},
                        {cx + 3, 28},
                        {cx, 36},
                        {cx - 3, 28},
                        {17, 34},
                        {13, 26},
                        {8, 30},
                        {3, 22},
                        {4, 8},
                        {cx - 8, 12}});
  body(l, wings, {cx, 16}, 26, rgb(1, 0.7f, 0.2f), rgb(0.6f, 0.15f, 0.0f), rgb(1, 0.75f, 0.35f));
  for (float s : {-1.f, 1.f}) {
    l.fill(capsule({cx + s * 7, 14}, {cx + s * 19, 10}, 0.6f), solid(rgb(1, 0.85f, 0.5f, 0.8f)));
    l.fill(capsule({cx + s * 7, 17}, {cx + s * 15, 27}, 0.6f), solid(rgb(1, 0.85f, 0.5f, 0.6f)));
  }
  l.fill(ellipse(cx, 21, 5, 10), radial({cx, 17}, 10, rgb(1, 0.9f, 0.5f), rgb(0.8f, 0.3f, 0.0f)));
  eye(l, cx - 2.5f, 16, 1.8f, rgb(1, 0.2f, 0.1f));
  eye(l, cx + 2.5f, 16, 1.8f, rgb(1, 0.2f, 0.1f));
  return l;
}

// Kind 8: a crimson lancer, a long hull between two engine pods, prongs forward.
Layer lancer(int w, int h) {
  Layer l(w, h);
  float cx = w / 2.f;
  for (float s : {-1.f, 1.f}) {
    float px = cx + s * 13;
    l.glow(circle(px, 40, 2.5f), rgb(1, 0.3f, 0.5f), 2.5f);
    body(l, roundBox(px, 26, 4, 12, 3.5f), {px, 20}, 14, rgb(1, 0.6f, 0.7f),
         rgb(0.55f, 0.0f, 0.15f), rgb(1, 0.6f, 0.7f));
    l.fill(capsule({px, 14}, {px, 4}, 1.2f), solid(rgb(1, 0.7f, 0.8f)));
    l.fill(capsule({cx, 27}, {px, 27}, 1.6f), solid(rgb(0.9f, 0.25f, 0.4f)));
  }
  l.glow(circle(cx, 41, 3), rgb(1, 0.4f, 0.6f), 3);
  auto hull = polygon(
      {{cx, 5}, {cx + 5.5f, 16}, {cx + 5.5f, 36}, {cx, 40}, {cx - 5.5f, 36}, {cx - 5.5f, 16}});
  body(l, hull, {cx, 14}, 28, rgb(1, 0.5f, 0.65f), rgb(0.6f, 0.02f, 0.2f), rgb(1, 0.65f, 0.8f));
  l.fill(roundBox(cx, 20, 2.5f, 4.5f, 2.4f), radial({cx, 18}, 5, rgb(1, 1, 1), rgb(1, 0.4f, 0.6f)));
  return l;
}

// Kinds 9 and 10: a lime wasp, head up, glassy wings and a striped abdomen.
Layer wasp(int w, int h) {
  Layer l(w, h);
  float cx = w / 2.f;
  for (float s : {-1.f, 1.f}) {
    Sdf wing = turned(ellipse(cx + s * 9, 18, 6.5f, 10), cx + s * 9, 18, s * 25);
    l.glow(wing, rgb(0.6f, 1, 0.5f, 0.35f), 1.5f);
    l.fill(wing, radial({cx + s * 7, 14}, 12, rgb(0.55f, 0.95f, 0.45f, 0.7f),
                        rgb(0.15f, 0.55f, 0.1f, 0.5f)));
    l.fill(ring(wing, 0.5f), solid(rgb(0.85f, 1, 0.7f)));
    l.fill(capsule({cx + s * 2, 6}, {cx + s * 6, 2}, 0.5f), solid(rgb(0.9f, 1, 0.5f)));
  }
  Sdf abdomen = ellipse(cx, 24, 5, 8.5f);
  body(l, abdomen, {cx, 20}, 10, rgb(0.9f, 0.95f, 0.15f), rgb(0.35f, 0.55f, 0.0f),
       rgb(0.95f, 1, 0.3f));
  for (float y : {21.f, 25.f, 29.f})
    l.fill(common(abdomen, roundBox(cx, y, 6, 0.8f, 0.5f)), solid(rgb(0.2f, 0.35f, 0.0f)));
  l.fill(capsule({cx, 30}, {cx, 33}, 0.7f), solid(rgb(1, 1, 0.6f)));
  body(l, ellipse(cx, 13, 4, 4.5f), {cx, 13}, 5, rgb(0.8f, 1, 0.3f), rgb(0.3f, 0.6f, 0.0f),
       rgb(0.9f, 1, 0.5f));
  body(l, circle(cx, 7, 3.5f), {cx, 7}, 4, rgb(0.9f, 1, 0.4f), rgb(0.4f, 0.6f, 0.0f),
       rgb(1, 1, 0.6f));
  eye(l, cx - 1.7f, 6.5f, 1.2f, rgb(1, 0.3f, 0.1f));
  eye(l, cx + 1.7f, 6.5f, 1.2f, rgb(1, 0.3f, 0.1f));
  return l;
}

// Kind 11: an ice-blue squid, mantle up, tentacles trailing.
Layer squid(int w, int h) {
  Layer l(w, h);
  float cx = w / 2.f;
  for (int i = 0; i < 5; ++i) {
    float off = (i - 2) * 4.2f;
    Pt prev{cx + off * 0.8f, 20};
    for (int k = 1; k <= 6; ++k) {
      Pt next{cx + off * (0.8f + 0.1f * k) + 1.6f * std::sin(k * 1.3f + i), 20 + k * 2.1f};
      l.fill(capsule(prev, next, 1.3f - 0.15f * k), solid(rgb(0.35f, 0.65f, 1, 0.9f)));
      prev = next;
    }
  }
  Sdf mantle = joined(ellipse(cx, 13, 11, 12), polygon({{cx, 0.8f}, {cx + 5, 6}, {cx - 5, 6}}));
  body(l, mantle, {cx, 8}, 16, rgb(0.55f, 0.8f, 1), rgb(0.05f, 0.25f, 0.75f), rgb(0.6f, 0.85f, 1));
  for (float s : {-1.f, 1.f})
    l.fill(capsule({cx + s * 3, 9}, {cx + s * 8, 15}, 0.6f), solid(rgb(0.6f, 0.8f, 1, 0.7f)));
  eye(l, cx - 4, 17, 2.2f, rgb(0.2f, 0.5f, 1));
  eye(l, cx + 4, 17, 2.2f, rgb(0.2f, 0.5f, 1));
  return l;
}
} // namespace

// Halos fade out before the rectangle's edge, so no square outline shows when the sprite spins.
static Layer edgeFaded(Layer l) {
  float w = float(l.width()), h = float(l.height());
  l.fade([=](float x, float y) { return (std::min({x, y, w - x, h - y}) - 1) / 3; });
  return l;
}

static Layer alienOfKind(int kind, int w, int h) {
  switch (kind) {
  case 0: return warden(w, h);
  case 1: return prism(w, h);
  case 2: return nova(w, h);
  case 3: return spore(w, h);
  case 4: return cog(w, h);
  case 5: return quad(w, h);
  case 6: return dart(w, h);
  case 7: return bat(w, h);
  case 8: return lancer(w, h);
  case 9:
  case 10: return wasp(w, h);
  default: return squid(w, h);
  }
}

Layer drawAlien(int kind) {
  Rect r = sprites::kAliens[kind];
  return edgeFaded(alienOfKind(kind, r.w(), r.h()));
}
