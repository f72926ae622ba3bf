// The per-pixel rules shared by both triangle rasterisers, and lines and points.

#include <algorithm>
#include <cmath>

#include "raster.h"

namespace zyddraw {

uint32_t bilinearMix(uint32_t t00, uint32_t t10, uint32_t t01, uint32_t t11, uint32_t fu,
                     uint32_t fv) {
  uint32_t out = 0;
  for (int c = 0; c < 4; c++) {
    uint32_t top = channelOf(t00, c) * (256 - fu) + channelOf(t10, c) * fu;
    uint32_t bottom = channelOf(t01, c) * (256 - fu) + channelOf(t11, c) * fu;
    out |= ((top * (256 - fv) + bottom * fv + 32768) >> 16) << (8 * c);
  }
  return out;
}

uint32_t sampleTexture(const RasterState &s, int64_t sFixed, int64_t tFixed) {
  const Texture &t = *s.texture;
  if (!s.bilinear) {
    int x = wrapCoord(sFixed >> TEX_FRACTION, t.width, s.wrapU);
    int y = wrapCoord(tFixed >> TEX_FRACTION, t.height, s.wrapV);
    return t.texels[(long)y * t.width + x];
  }
  const int64_t half = (int64_t)1 << (TEX_FRACTION - 1),
                fraction = ((int64_t)1 << TEX_FRACTION) - 1;
  int64_t fs = sFixed - half, ft = tFixed - half; // texel centres sit at half coordinates
  uint32_t fu = (uint32_t)(((fs & fraction) + (1 << 15)) >> 16);
  uint32_t fv = (uint32_t)(((ft & fraction) + (1 << 15)) >> 16);
  int64_t x0 = fs >> TEX_FRACTION, y0 = ft >> TEX_FRACTION;
  int xa = wrapCoord(x0, t.width, s.wrapU), xb = wrapCoord(x0 + 1, t.width, s.wrapU);
  int ya = wrapCoord(y0, t.height, s.wrapV), yb = wrapCoord(y0 + 1, t.height, s.wrapV);
  const uint32_t *rowA = t.texels + (long)ya * t.width, *rowB = t.texels + (long)yb * t.width;
  return bilinearMix(rowA[xa], rowA[xb], rowB[xa], rowB[xb], fu, fv);
}

int64_t texelCoordinate(float u, int size) {
  double v = (double)u * size * (double)((int64_t)1 << TEX_FRACTION);
  const double limit = 4.0e18;
  return v >= limit                 ? (int64_t)limit
         : v <= -limit || !(v == v) ? -(int64_t)limit
                                    : (int64_t)std::llround(v);
}

uint32_t combine(const RasterState &s, uint32_t texel, uint32_t diffuse) {
  uint32_t out = 0;
  for (int c = 0; c < 4; c++) {
    Combine how = c == 3 ? s.alpha : s.colour;
    uint32_t t = channelOf(texel, c), d = channelOf(diffuse, c);
    uint32_t v = how == Combine::Modulate ? mul255(t, d) : how == Combine::Texture ? t : d;
    out |= v << (8 * c);
  }
  return out;
}

uint32_t blendPixel(D3DBLEND srcBlend, D3DBLEND destBlend, uint32_t src, uint32_t dst,
                    bool destAlphaOne) {
  uint32_t sa = src >> 24, da = destAlphaOne ? 255 : dst >> 24;
  uint32_t fs = blendFactor(srcBlend, sa, da), fd = blendFactor(destBlend, sa, da);
  uint32_t out = 0;
  for (int c = 0; c < 4; c++) {
    uint32_t v = (channelOf(src, c) * fs + channelOf(dst, c) * fd + 127) / 255;
    out |= (v > 255 ? 255 : v) << (8 * c);
  }
  return out;
}

uint32_t packColour(float a, float r, float g, float b) {
  auto q = [](float x) -> uint32_t {
    if (!(x > 0.0f)) return 0;
    return x >= 255.0f ? 255u : (uint32_t)(x + 0.5f);
  };
  return q(a) << 24 | q(r) << 16 | q(g) << 8 | q(b);
}

bool inGuardBand(float x, float y) {
  // Far beyond any screen, small enough for exact 64-bit edge products; false for NaN.
  const float limit = 8.0e6f;
  return std::fabs(x) < limit && std::fabs(y) < limit;
}

bool snapPosition(float x, float y, int64_t *sx, int64_t *sy) {
  if (!inGuardBand(x, y)) return false;
  *sx = (int64_t)std::lrint(x * 16.0f);
  *sy = (int64_t)std::lrint(y * 16.0f);
  return true;
}

namespace {

// Saturates a coefficient so that c + dy * py + dx * px stays within 64 bits for pixels within
// surfaces (below 2^15 a side); only absurd triangles reach the limits.
int64_t saturate(double v, double limit) {
  if (!(v == v)) return 0;
  return v >= limit ? (int64_t)limit : v <= -limit ? -(int64_t)limit : (int64_t)std::llround(v);
}

// Planes through three values at a triangle's snapped vertices: the vertices relative to the
// first, in pixels, worked out once for all the triangle's planes.
struct PlaneBasis {
  double x0, y0, x1, y1, x2, y2, det;
  explicit PlaneBasis(const Triangle &t)
      : x0(t.X[0] / 16.0), y0(t.Y[0] / 16.0), x1(t.X[1] / 16.0 - x0), y1(t.Y[1] / 16.0 - y0),
        x2(t.X[2] / 16.0 - x0), y2(t.Y[2] / 16.0 - y0), det(x1 * y2 - x2 * y1) {}
  // The plane through a0, a1 and a2, scaled by unit.
  Plane plane(double a0, double a1, double a2, double unit) const {
    double d1 = (a1 - a0) * unit, d2 = (a2 - a0) * unit;
    double dx = (d1 * y2 - d2 * y1) / det, dy = (d2 * x1 - d1 * x2) / det;
    Plane p;
    p.dx = saturate(dx, 0x1p44);
    p.dy = saturate(dy, 0x1p44);
    p.c = saturate(a0 * unit - (double)p.dx * x0 - (double)p.dy * y0, 0x1p60);
    return p;
  }
};

} // namespace

bool setupTriangle(const RasterState &s, const RasterVertex in[3], Triangle *tri) {
  const RasterVertex *v[3] = {&in[0], &in[1], &in[2]};
  for (int i = 0; i < 3; i++)
    if (!snapPosition(v[i]->x, v[i]->y, &tri->X[i], &tri->Y[i])) return false;
  int64_t *X = tri->X, *Y = tri->Y;
  int64_t area = (X[1] - X[0]) * (Y[2] - Y[0]) - (Y[1] - Y[0]) * (X[2] - X[0]);
  if (area == 0) return false;
  if (area < 0) { // make the order clockwise on screen
    std::swap(v[1], v[2]);
    std::swap(X[1], X[2]);
    std::swap(Y[1], Y[2]);
    area = -area;
  }
  tri->area = area;
  // Samples sit on whole pixels: the box spans the pixels from ceil(min) to floor(max).
  auto ceilDiv16 = [](int64_t q) { return (q + 15) >> 4; };
  int64_t x0 = ceilDiv16(std::min({X[0], X[1], X[2]})), x1 = std::max({X[0], X[1], X[2]}) >> 4;
  int64_t y0 = ceilDiv16(std::min({Y[0], Y[1], Y[2]})), y1 = std::max({Y[0], Y[1], Y[2]}) >> 4;
  tri->box = {(int)std::max<int64_t>(x0, s.clip.x0), (int)std::max<int64_t>(y0, s.clip.y0),
              (int)std::min<int64_t>(x1 + 1, s.clip.x1), (int)std::min<int64_t>(y1 + 1, s.clip.y1)};
  if (tri->box.x0 >= tri->box.x1 || tri->box.y0 >= tri->box.y1) return false;
  const PlaneBasis basis(*tri);
  auto plane = [&](float RasterVertex::*f, double unit) {
    return basis.plane(v[0]->*f, v[1]->*f, v[2]->*f, unit);
  };
  auto same = [&](float RasterVertex::*f) { return v[0]->*f == v[1]->*f && v[0]->*f == v[2]->*f; };
  tri->flatColour = same(&RasterVertex::a) && same(&RasterVertex::r) && same(&RasterVertex::g) &&
                    same(&RasterVertex::b);
  const double colourUnit = (double)(1 << COLOUR_FRACTION);
  // A flat channel's plane is its value all over: what the general plane works out exactly.
  auto colour = [&](float RasterVertex::*f) {
    return tri->flatColour ? Plane{saturate(v[0]->*f * colourUnit, 0x1p60), 0, 0}
                           : plane(f, colourUnit);
  };
  tri->a = colour(&RasterVertex::a);
  tri->r = colour(&RasterVertex::r);
  tri->g = colour(&RasterVertex::g);
  tri->b = colour(&RasterVertex::b);
  const Texture *tex = s.texture;
  const double texUnit = (double)((int64_t)1 << TEX_FRACTION);
  tri->s = tex ? plane(&RasterVertex::u, texUnit * tex->width) : Plane{0, 0, 0};
  tri->t = tex ? plane(&RasterVertex::v, texUnit * tex->height) : Plane{0, 0, 0};
  return true;
}

namespace {

// Shades and stores one pixel of a line or a point.
void shadePixel(const RasterState &s, const Target &t, int x, int y, const RasterVertex &at) {
  if (x < s.clip.x0 || x >= s.clip.x1 || y < s.clip.y0 || y >= s.clip.y1) return;
  uint32_t texel = s.texture ? sampleTexture(s, texelCoordinate(at.u, s.texture->width),
                                             texelCoordinate(at.v, s.texture->height))
                             : 0xFFFFFFFFu;
  uint32_t src = combine(s, texel, packColour(at.a, at.r, at.g, at.b));
  uint8_t *p = t.pixels + (long)y * t.pitch + (long)x * bytesPerPixel(t.layout);
  if (s.blend)
    src = blendPixel(s.srcBlend, s.destBlend, src, toARGB(t.layout, p), !hasAlpha(t.layout));
  fromARGB(t.layout, p, src);
}

RasterVertex lerp(const RasterVertex &a, const RasterVertex &b, float f) {
  auto mix = [f](float p, float q) { return p + (q - p) * f; };
  return {mix(a.x, b.x), mix(a.y, b.y), mix(a.a, b.a), mix(a.r, b.r),
          mix(a.g, b.g), mix(a.b, b.b), mix(a.u, b.u), mix(a.v, b.v)};
}

// The pixel whose centre is nearest to a coordinate (halves go up).
inline long pixelOf(float c) { return (long)std::floor(c + 0.5f); }

} // namespace

void drawLine(const RasterState &s, const Target &t, const RasterVertex &a, const RasterVertex &b) {
  if (!(inGuardBand(a.x, a.y) && inGuardBand(b.x, b.y))) return;
  float dx = b.x - a.x, dy = b.y - a.y;
  bool xMajor = std::fabs(dx) >= std::fabs(dy);
  float major0 = xMajor ? a.x : a.y, major1 = xMajor ? b.x : b.y;
  float length = major1 - major0;
  if (length == 0.0f) return;
  long from = pixelOf(major0), to = pixelOf(major1);
  if (s.lastPixel) to += to >= from ? 1 : -1; // the end pixel, then stop short of the next
  // Only the part of the major axis inside the clip rectangle is visited.
  long lo = xMajor ? s.clip.x0 : s.clip.y0, hi = (xMajor ? s.clip.x1 : s.clip.y1) - 1;
  auto visit = [&](long i) {
    RasterVertex at = lerp(a, b, ((float)i - major0) / length);
    long minor = pixelOf(xMajor ? at.y : at.x);
    shadePixel(s, t, (int)(xMajor ? i : minor), (int)(xMajor ? minor : i), at);
  };
  if (to > from)
    for (long i = std::max(from, lo); i < std::min(to, hi + 1); i++) visit(i);
  else
    for (long i = std::min(from, hi); i > std::max(to, lo - 1); i--) visit(i);
}

void drawPoint(const RasterState &s, const Target &t, const RasterVertex &p) {
  if (!inGuardBand(p.x, p.y)) return;
  shadePixel(s, t, (int)pixelOf(p.x), (int)pixelOf(p.y), p);
}

} // namespace zyddraw
