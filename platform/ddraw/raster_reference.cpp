// The reference triangle rasteriser: every pixel of the bounding box is tested against the three
// edges and shaded on its own. Slow and plain on purpose: the fast rasteriser is tested against it.

#include "raster.h"

namespace zyddraw {

void drawTriangleReference(const RasterState &s, const Target &t, const RasterVertex v[3]) {
  Triangle tri;
  if (!setupTriangle(s, v, &tri)) return;
  const int64_t *X = tri.X, *Y = tri.Y;
  auto covers = [&](int a, int b, int64_t px, int64_t py) {
    int64_t e = edgeAt(X[a], Y[a], X[b], Y[b], px, py);
    return e > 0 || (e == 0 && isTopLeft(X[a], Y[a], X[b], Y[b]));
  };
  for (int py = tri.box.y0; py < tri.box.y1; py++) {
    for (int px = tri.box.x0; px < tri.box.x1; px++) {
      int64_t sx = (int64_t)px * 16, sy = (int64_t)py * 16;
      if (!(covers(1, 2, sx, sy) && covers(2, 0, sx, sy) && covers(0, 1, sx, sy))) continue;
      auto value = [&](const Plane &p) { return p.at(p.rowBase(py), px); };
      uint32_t texel = s.texture ? sampleTexture(s, value(tri.s), value(tri.t)) : 0xFFFFFFFFu;
      uint32_t diffuse = packFixed(value(tri.a), value(tri.r), value(tri.g), value(tri.b));
      uint32_t src = combine(s, texel, diffuse);
      uint8_t *p = t.pixels + (long)py * t.pitch + (long)px * bytesPerPixel(t.layout);
      if (s.blend)
        src = blendPixel(s.srcBlend, s.destBlend, src, toARGB(t.layout, p), !hasAlpha(t.layout));
      fromARGB(t.layout, p, src);
    }
  }
}

} // namespace zyddraw
