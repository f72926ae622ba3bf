// A picture loaded from data/ as 8-bit RGBA, with the few questions the art tests ask of it.
#pragma once
#include <stb_image.h>

#include <string>

#include "sheets/layout.h"

struct Picture {
  int w = 0, h = 0, channels = 0;
  unsigned char *px = nullptr;

  explicit Picture(const std::string &path) { px = stbi_load(path.c_str(), &w, &h, &channels, 4); }
  ~Picture() { stbi_image_free(px); }
  Picture(const Picture &) = delete;
  Picture &operator=(const Picture &) = delete;

  bool loaded() const { return px != nullptr; }
  const unsigned char *at(int x, int y) const { return px + (size_t(y) * w + x) * 4; }
  int alpha(int x, int y) const { return at(x, y)[3]; }
  // Light the pixel adds when drawn additively: colour times opacity, 0..3.
  float light(int x, int y) const {
    const unsigned char *p = at(x, y);
    return (p[0] + p[1] + p[2]) / 255.f * p[3] / 255.f;
  }
  int opaqueCount(Rect r, int threshold = 128) const {
    int n = 0;
    for (int y = r.y1; y < r.y2; ++y)
      for (int x = r.x1; x < r.x2; ++x) n += alpha(x, y) >= threshold;
    return n;
  }
  // The largest opacity on the outermost ring of pixels of r.
  int ringAlpha(Rect r) const {
    int m = 0;
    for (int x = r.x1; x < r.x2; ++x) m = std::max({m, alpha(x, r.y1), alpha(x, r.y2 - 1)});
    for (int y = r.y1; y < r.y2; ++y) m = std::max({m, alpha(r.x1, y), alpha(r.x2 - 1, y)});
    return m;
  }
  // The largest opacity in r outside the rows from y1 to y2.
  int alphaOutsideRows(Rect r, int y1, int y2) const {
    int m = 0;
    for (int y = r.y1; y < r.y2; ++y)
      if (y < y1 || y >= y2)
        for (int x = r.x1; x < r.x2; ++x) m = std::max(m, alpha(x, y));
    return m;
  }
};
