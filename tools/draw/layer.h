// A floating-point RGBA picture and the few ways the artwork paints on it.
// Pixels are stored premultiplied; colours handed in and out are straight (not premultiplied).
#pragma once
#include <functional>
#include <vector>

struct Color {
  float r = 0, g = 0, b = 0, a = 0;
};
inline Color rgb(float r, float g, float b, float a = 1) { return {r, g, b, a}; }
Color mix(const Color &p, const Color &q, float t); // straight-colour lerp, t 0 gives p
Color scaled(const Color &c, float k);              // rgb times k, alpha kept

// Signed distance in pixels to a shape's edge (negative inside) and a colour per position.
using Sdf = std::function<float(float x, float y)>;
using Paint = std::function<Color(float x, float y)>;
inline Paint solid(Color c) {
  return [c](float, float) { return c; };
}

struct Box {
  int x0, y0, x1, y1; // pixels from (x0, y0) up to but excluding (x1, y1)
};

// A coverage mask (0..1 per pixel), e.g. rendered text.
struct Mask {
  int w = 0, h = 0;
  std::vector<float> v;
  float at(int x, int y) const { return (x < 0 || y < 0 || x >= w || y >= h) ? 0.f : v[y * w + x]; }
};
Mask blurred(const Mask &m, int radius, int pad); // three box passes, grown by pad on each side
Mask rotatedLeft(const Mask &m);                  // a quarter turn counter-clockwise

class Layer {
public:
  Layer(int w, int h);
  int width() const { return w_; }
  int height() const { return h_; }
  Box all() const { return {0, 0, w_, h_}; }

  Color get(int x, int y) const; // straight colour
  Color premul(int x, int y) const { return px_[y * w_ + x]; }
  void setPremul(int x, int y, Color c) { px_[y * w_ + x] = c; }

  // Anti-aliased fill of a shape, composited over what is there.
  void fill(const Sdf &shape, const Paint &paint) { fill(shape, paint, all()); }
  void fill(const Sdf &shape, const Paint &paint, Box box);
  // Light around (and inside) a shape, added: intensity c.a × exp(−distance / radius).
  void glow(const Sdf &shape, Color c, float radius) { glow(shape, c, radius, all()); }
  void glow(const Sdf &shape, Color c, float radius, Box box);
  // A whole-area paint, composited over (e.g. a gradient or a noise field).
  void paintOver(const Paint &paint);
  // A mask at (ox, oy), painted over or added.
  void fillMask(const Mask &m, int ox, int oy, const Paint &paint);
  void addMask(const Mask &m, int ox, int oy, const Paint &paint);
  // Another layer at (ox, oy), composited over; wrap repeats it around the edges.
  void draw(const Layer &src, int ox, int oy, bool wrap = false);
  // Keeps only the pixels inside box; the rest become transparent.
  void clearOutside(Box box);
  // Multiplies every pixel's opacity by m(x, y).
  void fade(const std::function<float(float, float)> &m);

private:
  int w_, h_;
  std::vector<Color> px_;
  void over(int x, int y, Color premulSrc);
  void add(int x, int y, Color premulSrc);
};
