// The two game backgrounds and the scene painter they share with the menu sheet.
#include <algorithm>
#include <cmath>

#include "draw/noise.h"
#include "draw/shapes.h"
#include "sheets/sheets.h"

static float smooth(float e0, float e1, float x) {
  float t = std::clamp((x - e0) / (e1 - e0), 0.f, 1.f);
  return t * t * (3 - 2 * t);
}

// A star as a small gaussian splat (plus a faint cross for the bright ones), wrapping round.
static void starAt(Layer &l, float sx, float sy, float r, Color c) {
  int reach = int(std::ceil(r * 3 + (r > 1.1f ? 6 : 0)));
  for (int y = int(sy) - reach; y <= int(sy) + reach; ++y)
    for (int x = int(sx) - reach; x <= int(sx) + reach; ++x) {
      float dx = x + 0.5f - sx, dy = y + 0.5f - sy;
      float k = std::exp(-(dx * dx + dy * dy) / (2 * r * r));
      if (r > 1.1f)
        k += 0.25f * std::exp(-std::fabs(dx) * 1.2f - dy * dy * 3) +
             0.25f * std::exp(-std::fabs(dy) * 1.2f - dx * dx * 3);
      if (k < 0.004f) continue;
      int tx = ((x % l.width()) + l.width()) % l.width(),
          ty = ((y % l.height()) + l.height()) % l.height();
      Color d = l.premul(tx, ty);
      l.setPremul(tx, ty,
                  {std::min(1.f, d.r + c.r * k), std::min(1.f, d.g + c.g * k),
                   std::min(1.f, d.b + c.b * k), d.a});
    }
}

Layer spaceScene(int size, const SceneStyle &s) {
  Layer l(size, size);
  const int period = 4;
  l.paintOver([&](float x, float y) {
    float u = x / size * period, v = y / size * period;
    float warp = fbm(u, v, period, 4, s.seed);
    float clouds = fbm(u + 1.8f * warp, v + 1.3f * warp, period, 5, s.seed + 7);
    float hue = fbm(u * 0.5f + 3, v * 0.5f + 1, period / 2, 3, s.seed + 13);
    float dust = fbm(u * 2 + 5, v * 2 + 2, period * 2, 4, s.seed + 21);
    float density = smooth(0.38f, 0.78f, clouds) * s.brightness;
    float lanes = 1 - 0.6f * smooth(0.5f, 0.75f, dust);
    Color cloud = mix(s.cloudA, s.cloudB, smooth(0.3f, 0.7f, hue));
    float glowCore = smooth(0.62f, 0.9f, clouds) * 0.5f;
    Color c = scaled(s.dust, 0.5f + 0.5f * clouds);
    c = {c.r + (cloud.r * density + glowCore * 0.8f) * lanes,
         c.g + (cloud.g * density + glowCore * 0.75f) * lanes,
         c.b + (cloud.b * density + glowCore * 0.9f) * lanes, 1};
    return rgb(std::min(c.r, 1.f), std::min(c.g, 1.f), std::min(c.b, 1.f));
  });
  Rng rng(s.seed * 7919u + 1);
  for (int i = 0; i < s.stars; ++i) {
    float x = rng.range(0, size), y = rng.range(0, size);
    float m = rng.uniform();
    float r = m > 0.985f  ? rng.range(1.3f, 1.8f)
              : m > 0.85f ? rng.range(0.7f, 1.0f)
                          : rng.range(0.4f, 0.6f);
    float t = rng.uniform();
    Color c = t < 0.2f ? rgb(1, 0.8f, 0.6f) : t < 0.5f ? rgb(0.75f, 0.85f, 1) : rgb(1, 1, 1);
    starAt(l, x, y, r, scaled(c, rng.range(0.5f, 1.0f) * (r > 1.1f ? 1.4f : 1.f)));
  }
  return l;
}

// A ringed gas giant for the second background, drawn wrapping like the stars.
static void planet(Layer &l, float cx, float cy, float r) {
  Layer p(int(r * 5), int(r * 5));
  float pc = p.width() / 2.f;
  Sdf ringBack = common(ring(ellipse(pc, pc, r * 2.1f, r * 0.55f), r * 0.18f),
                        [=](float, float y) { return pc - y; });
  Sdf ringFront = cut(common(ring(ellipse(pc, pc, r * 2.1f, r * 0.55f), r * 0.18f),
                             [=](float, float y) { return y - pc; }),
                      circle(pc, pc, r - 0.5f));
  auto ringPaint = [=](float x, float y) {
    float band = 0.5f + 0.5f * std::sin(std::hypot((x - pc) / 2.1f, (y - pc) / 0.55f) * 1.7f);
    return rgb(0.55f + 0.2f * band, 0.45f + 0.15f * band, 0.35f, 0.7f);
  };
  p.fill(turned(ringBack, pc, pc, -18), ringPaint);
  p.glow(circle(pc, pc, r), rgb(0.9f, 0.5f, 0.3f, 0.35f), 5);
  p.fill(circle(pc, pc, r), [=](float x, float y) {
    float band = std::sin(((y - pc) * 0.96f + (x - pc) * 0.31f) / r * 9) * 0.5f + 0.5f;
    float lit = std::clamp(1.1f - std::hypot(x - pc + r * 0.45f, y - pc + r * 0.35f) / (r * 1.6f),
                           0.08f, 1.f);
    Color c = mix(rgb(0.85f, 0.45f, 0.25f), rgb(1, 0.78f, 0.5f), band);
    return scaled(c, lit);
  });
  p.fill(turned(ringFront, pc, pc, -18), ringPaint);
  l.draw(p, int(cx - pc), int(cy - pc), true);
}

Layer drawBackground(int which) {
  if (which == 0)
    return spaceScene(kBackgroundSize, {11, rgb(0.25f, 0.35f, 0.95f), rgb(0.85f, 0.2f, 0.75f),
                                        rgb(0.04f, 0.04f, 0.1f), 0.75f, 900});
  Layer l = spaceScene(kBackgroundSize, {23, rgb(0.95f, 0.45f, 0.15f), rgb(0.1f, 0.75f, 0.7f),
                                         rgb(0.08f, 0.05f, 0.06f), 0.7f, 800});
  planet(l, 360, 150, 44);
  return l;
}
