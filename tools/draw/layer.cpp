#include "draw/layer.h"

#include <algorithm>
#include <cmath>

Color mix(const Color &p, const Color &q, float t) {
  return {p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t, p.b + (q.b - p.b) * t,
          p.a + (q.a - p.a) * t};
}

Color scaled(const Color &c, float k) { return {c.r * k, c.g * k, c.b * k, c.a}; }

static Color premultiplied(Color c, float cover) {
  float a = std::clamp(c.a, 0.f, 1.f) * cover;
  return {c.r * a, c.g * a, c.b * a, a};
}

Layer::Layer(int w, int h) : w_(w), h_(h), px_(size_t(w) * h) {}

Color Layer::get(int x, int y) const {
  Color c = px_[y * w_ + x];
  if (c.a <= 0) return {};
  return {c.r / c.a, c.g / c.a, c.b / c.a, c.a};
}

void Layer::over(int x, int y, Color s) {
  Color &d = px_[y * w_ + x];
  float k = 1 - s.a;
  d = {s.r + d.r * k, s.g + d.g * k, s.b + d.b * k, s.a + d.a * k};
}

// Added light keeps the colour channels' sum but raises opacity only as a screen would.
void Layer::add(int x, int y, Color s) {
  Color &d = px_[y * w_ + x];
  d = {d.r + s.r, d.g + s.g, d.b + s.b, d.a + s.a * (1 - d.a)};
  float m = std::max({d.r, d.g, d.b});
  if (m > d.a) d.a = std::min(1.f, m); // light brighter than its cover lifts the cover
}

static Box clipped(Box b, int w, int h) {
  return {std::max(b.x0, 0), std::max(b.y0, 0), std::min(b.x1, w), std::min(b.y1, h)};
}

void Layer::fill(const Sdf &shape, const Paint &paint, Box box) {
  box = clipped(box, w_, h_);
  for (int y = box.y0; y < box.y1; ++y)
    for (int x = box.x0; x < box.x1; ++x) {
      float fx = x + 0.5f, fy = y + 0.5f;
      float cover = std::clamp(0.5f - shape(fx, fy), 0.f, 1.f);
      if (cover > 0) over(x, y, premultiplied(paint(fx, fy), cover));
    }
}

void Layer::glow(const Sdf &shape, Color c, float radius, Box box) {
  box = clipped(box, w_, h_);
  for (int y = box.y0; y < box.y1; ++y)
    for (int x = box.x0; x < box.x1; ++x) {
      float d = std::max(0.f, shape(x + 0.5f, y + 0.5f));
      float k = std::exp(-d / radius);
      if (k > 1e-3f) add(x, y, premultiplied(c, k));
    }
}

void Layer::paintOver(const Paint &paint) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) over(x, y, premultiplied(paint(x + 0.5f, y + 0.5f), 1));
}

void Layer::fillMask(const Mask &m, int ox, int oy, const Paint &paint) {
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      int tx = ox + x, ty = oy + y;
      float cover = m.v[y * m.w + x];
      if (cover > 0 && tx >= 0 && ty >= 0 && tx < w_ && ty < h_)
        over(tx, ty, premultiplied(paint(tx + 0.5f, ty + 0.5f), cover));
    }
}

void Layer::addMask(const Mask &m, int ox, int oy, const Paint &paint) {
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      int tx = ox + x, ty = oy + y;
      float cover = m.v[y * m.w + x];
      if (cover > 0 && tx >= 0 && ty >= 0 && tx < w_ && ty < h_)
        add(tx, ty, premultiplied(paint(tx + 0.5f, ty + 0.5f), cover));
    }
}

void Layer::draw(const Layer &src, int ox, int oy, bool wrap) {
  for (int y = 0; y < src.h_; ++y)
    for (int x = 0; x < src.w_; ++x) {
      int tx = ox + x, ty = oy + y;
      if (wrap) {
        tx = ((tx % w_) + w_) % w_;
        ty = ((ty % h_) + h_) % h_;
      } else if (tx < 0 || ty < 0 || tx >= w_ || ty >= h_) {
        continue;
      }
      over(tx, ty, src.px_[y * src.w_ + x]);
    }
}

void Layer::clearOutside(Box box) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x)
      if (x < box.x0 || y < box.y0 || x >= box.x1 || y >= box.y1) px_[y * w_ + x] = {};
}

void Layer::fade(const std::function<float(float, float)> &m) {
  for (int y = 0; y < h_; ++y)
    for (int x = 0; x < w_; ++x) {
      float k = std::clamp(m(x + 0.5f, y + 0.5f), 0.f, 1.f);
      Color &c = px_[y * w_ + x];
      c = {c.r * k, c.g * k, c.b * k, c.a * k};
    }
}

static Mask boxPass(const Mask &m, int r, bool horizontal) {
  Mask out{m.w, m.h, std::vector<float>(m.v.size())};
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) {
      float s = 0;
      for (int k = -r; k <= r; ++k) s += horizontal ? m.at(x + k, y) : m.at(x, y + k);
      out.v[y * m.w + x] = s / float(2 * r + 1);
    }
  return out;
}

Mask blurred(const Mask &m, int radius, int pad) {
  Mask grown{m.w + 2 * pad, m.h + 2 * pad, {}};
  grown.v.assign(size_t(grown.w) * grown.h, 0.f);
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) grown.v[(y + pad) * grown.w + x + pad] = m.v[y * m.w + x];
  for (int pass = 0; pass < 3; ++pass) grown = boxPass(boxPass(grown, radius, true), radius, false);
  return grown;
}

Mask rotatedLeft(const Mask &m) {
  Mask out{m.h, m.w, std::vector<float>(m.v.size())};
  // Source (x, y) goes to (y, w − 1 − x): the top edge becomes the left edge.
  for (int y = 0; y < m.h; ++y)
    for (int x = 0; x < m.w; ++x) out.v[(m.w - 1 - x) * out.w + y] = m.v[y * m.w + x];
  return out;
}
