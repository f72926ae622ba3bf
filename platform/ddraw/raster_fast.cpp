// The fast triangle rasteriser. Same rules and the same arithmetic as the reference (raster.h),
// so the two agree to the bit; the speed comes from walking spans instead of testing every pixel
// (each row's covered run follows from the three edges, stepped exactly from row to row) and
// from the span loops of span_loops.h, run with the pixel arithmetic chosen (raster_ops.h).

#include <algorithm>
#include <atomic>

#include "raster_ops.h"
#include "span_loops.h"

namespace zyddraw {

namespace {

// floor(n / d) for d > 0.
inline int64_t floorDiv(int64_t n, int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

// One edge's bound on the covered pixels of a row, stepped from row to row without division:
// edge(px) = c + step * px must be >= 0 (top-left edges) or >= 1 (the others), so px >= -c / step
// (step > 0, a lower bound) or px <= c / -step (step < 0, an upper bound); c grows by dc a row.
// The bound is kept as quotient and remainder of the exact floor division; a horizontal edge
// (step 0) keeps c itself as its quotient, and covers the row when it is >= 0.
struct EdgeStepper {
  int side; // 1: a lower bound, -1: an upper bound, 0: horizontal
  int64_t q, r, dq, dr, den;

  void start(const Triangle &tri, int a, int b, int py) {
    int64_t ax = tri.X[a], ay = tri.Y[a], bx = tri.X[b], by = tri.Y[b];
    int64_t step = -(by - ay) * 16;
    int64_t c =
        (bx - ax) * ((int64_t)py * 16 - ay) + (by - ay) * ax - (isTopLeft(ax, ay, bx, by) ? 0 : 1);
    int64_t dc = (bx - ax) * 16;
    side = step > 0 ? 1 : step < 0 ? -1 : 0;
    den = step == 0 ? 1 : step > 0 ? step : -step;
    q = floorDiv(c, den);
    r = c - q * den;
    dq = floorDiv(dc, den);
    dr = dc - dq * den;
  }
  // Without a branch on the remainder: which way it goes changes from row to row.
  void next() {
    q += dq;
    r += dr;
    const int64_t carry = -(int64_t)(r >= den); // all ones when the remainder reaches den
    r -= den & carry;
    q -= carry;
  }
  // Narrows [*lo, *hi] to this edge's side; false when the row is empty.
  bool bound(int64_t *lo, int64_t *hi) const {
    if (side > 0)
      *lo = std::max(*lo, -q);
    else if (side < 0)
      *hi = std::min(*hi, q);
    else if (q < 0)
      return false;
    return true;
  }
};

// The covered run of each row of a triangle, top to bottom.
struct Coverage {
  const Triangle &tri;
  EdgeStepper edges[3];
  Coverage(const Triangle &t) : tri(t) {
    static const int ends[3][2] = {{1, 2}, {2, 0}, {0, 1}};
    for (int i = 0; i < 3; i++) edges[i].start(t, ends[i][0], ends[i][1], t.box.y0);
  }
  // Row py's pixels as [*left, *right), false when none; then moves on to the next row.
  bool row(int *left, int *right) {
    int64_t lo = tri.box.x0, hi = tri.box.x1 - 1;
    bool any = true;
    for (EdgeStepper &e : edges) {
      any = e.bound(&lo, &hi) && any;
      e.next();
    }
    if (!any || lo > hi) return false;
    *left = (int)lo;
    *right = (int)hi + 1;
    return true;
  }
};

// True when a plane's value stays within lo .. hi (exclusive) over the box of samples: its
// values at the box's corners are its extremes there.
bool planeWithin(const Triangle &tri, const Plane &p, int64_t lo, int64_t hi) {
  const ClipRect &b = tri.box;
  for (int y : {b.y0, b.y1 - 1})
    for (int x : {b.x0, b.x1 - 1}) {
      int64_t v = p.at(p.rowBase(y), x);
      if (v < lo || v >= hi) return false;
    }
  return true;
}

// True when a plane's value stays within 0 .. size texels (exclusive) at every covered sample.
// Two sufficient tests: the values at the corners of the box of samples (a plane's extremes over
// a rectangle), which holds for unturned sprites reaching the texture's edge; and those at the
// vertices (a covered sample lies inside the snapped triangle, so its value lies between theirs;
// computed exactly in 1/16 units, for planes small enough to need no more bits), which holds for
// turned sprites.
bool planeInside(const Triangle &tri, const Plane &p, int size) {
  const int64_t end = (int64_t)size << TEX_FRACTION;
  if (planeWithin(tri, p, 0, end)) return true;
  const int64_t limit = (int64_t)1 << 31;
  if (p.dx <= -limit || p.dx >= limit || p.dy <= -limit || p.dy >= limit ||
      p.c <= -((int64_t)1 << 50) || p.c >= ((int64_t)1 << 50))
    return false;
  for (int i = 0; i < 3; i++) {
    int64_t v16 = p.c * 16 + p.dx * tri.X[i] + p.dy * tri.Y[i];
    if (v16 < 0 || v16 >= end * 16) return false;
  }
  return true;
}

Blending blendingOf(const RasterState &s, bool destAlphaOne) {
  if (!s.blend) return Blending::None;
  if (s.srcBlend == D3DBLEND_SRCALPHA && s.destBlend == D3DBLEND_INVSRCALPHA)
    return Blending::Normal;
  if (s.srcBlend == D3DBLEND_SRCALPHA &&
      (s.destBlend == D3DBLEND_ONE || (s.destBlend == D3DBLEND_DESTALPHA && destAlphaOne)))
    return Blending::Add;
  return Blending::Generic;
}

// Any span through the shared per-pixel rules: other targets and other stage set-ups.
void spanGeneric(const SpanJob &j, uint8_t *row, Layout layout, int py, int x0, int x1) {
  const Triangle &tri = j.tri;
  const RasterState &s = j.s;
  auto value = [&](const Plane &p, int px) { return p.at(p.rowBase(py), px); };
  int bpp = bytesPerPixel(layout);
  for (int px = x0; px < x1; px++) {
    uint32_t texel = s.texture ? sampleTexture(s, value(tri.s, px), value(tri.t, px)) : 0xFFFFFFFFu;
    uint32_t diffuse =
        packFixed(value(tri.a, px), value(tri.r, px), value(tri.g, px), value(tri.b, px));
    uint32_t src = combine(s, texel, diffuse);
    uint8_t *p = row + (long)px * bpp;
    if (s.blend) src = blendPixel(s.srcBlend, s.destBlend, src, toARGB(layout, p), j.destAlphaOne);
    fromARGB(layout, p, src);
  }
}

// The steps of a group's lanes for the walking loops, when whole texel coordinates over the box
// and the steps of a whole group fit 32 bits.
bool laneSteps(const Triangle &tri, LaneSteps *steps) {
  const int64_t whole = (int64_t)1 << (31 + TEX_FRACTION), limit = whole / GROUP_MAX;
  if (!planeWithin(tri, tri.s, -whole, whole) || !planeWithin(tri, tri.t, -whole, whole) ||
      tri.s.dx <= -limit || tri.s.dx >= limit || tri.t.dx <= -limit || tri.t.dx >= limit)
    return false;
  const int64_t fraction = ((int64_t)1 << TEX_FRACTION) - 1;
  for (int i = 0; i <= GROUP_MAX; i++) {
    int64_t s = i * tri.s.dx, t = i * tri.t.dx;
    steps->sWhole[i] = (int32_t)(s >> TEX_FRACTION);
    steps->sPart[i] = (int32_t)(s & fraction);
    steps->tWhole[i] = (int32_t)(t >> TEX_FRACTION);
    steps->tPart[i] = (int32_t)(t & fraction);
  }
  return true;
}

// The fastest set of pixel arithmetic the build has and the processor runs.
PixelOps fastestOps() {
#ifdef ZY_RASTER_AVX2
  __builtin_cpu_init(); // may run before the constructors that would have done it
  if (__builtin_cpu_supports("avx2")) return PixelOps::Avx2;
#endif
#ifdef ZY_RASTER_SSE2
  return PixelOps::Sse2;
#else
  return PixelOps::Portable;
#endif
}

std::atomic<PixelOps> gOps{fastestOps()};
std::atomic<uint64_t> gPixelsDrawn{0};

Span32 pickSpanWithOps(const SpanKind &k) {
  switch (gOps.load(std::memory_order_relaxed)) {
#ifdef ZY_RASTER_AVX2
  case PixelOps::Avx2: return pickSpanAvx2(k);
#endif
#ifdef ZY_RASTER_SSE2
  case PixelOps::Sse2: return pickSpanSse2(k);
#endif
  default: return pickSpanPortable(k);
  }
}

} // namespace

Span32 pickSpanPortable(const SpanKind &k) { return pickSpan<PortableOps>(k); }
#ifdef ZY_RASTER_SSE2
Span32 pickSpanSse2(const SpanKind &k) { return pickSpan<Sse2Ops>(k); }
#endif

uint64_t pixelsDrawn() { return gPixelsDrawn.load(std::memory_order_relaxed); }

bool pixelOpsBuiltIn(PixelOps ops) {
  switch (ops) {
  case PixelOps::Portable: return true;
  case PixelOps::Sse2:
#ifdef ZY_RASTER_SSE2
    return true;
#else
    return false;
#endif
  case PixelOps::Avx2: return fastestOps() == PixelOps::Avx2;
  }
  return false;
}

bool usePixelOps(PixelOps ops) {
  if (!pixelOpsBuiltIn(ops)) return false;
  gOps.store(ops, std::memory_order_relaxed);
  return true;
}

void drawTriangleFast(const RasterState &s, const Target &t, const RasterVertex v[3]) {
  Triangle tri;
  if (!setupTriangle(s, v, &tri)) return;
  uint32_t flat = tri.flatColour ? packFixed(tri.a.c, tri.r.c, tri.g.c, tri.b.c) : 0;
  const Texture *tex = s.texture;
  bool destAlphaOne = !hasAlpha(t.layout);
  SpanJob job{s,
              tri,
              destAlphaOne,
              flat,
              Addressing(tex ? tex->width : 1, s.wrapU),
              Addressing(tex ? tex->height : 1, s.wrapV),
              false,
              LaneSteps()};
  bool modulated = s.colour == Combine::Modulate && s.alpha == Combine::Modulate;
  bool wide = t.layout == Layout::ARGB8888 || t.layout == Layout::XRGB8888;
  Span32 fast = nullptr;
  if (wide && modulated) {
    Fetch fetch = !tex || s.bilinear ? Fetch::Any
                  : planeInside(tri, tri.s, tex->width) && planeInside(tri, tri.t, tex->height)
                      ? Fetch::Inside
                  : !s.wrapU && !s.wrapV ? Fetch::Clamp
                                         : Fetch::Any;
    if (fetch != Fetch::Any && tri.flatColour) job.walkable = laneSteps(tri, &job.steps);
    fast = pickSpanWithOps({tex != nullptr, s.bilinear, fetch, tri.flatColour,
                            tri.flatColour && flat == 0xFFFFFFFFu, blendingOf(s, destAlphaOne)});
  }
  Coverage rows(tri);
  uint64_t covered = 0;
  for (int py = tri.box.y0; py < tri.box.y1; py++) {
    int x0, x1;
    if (!rows.row(&x0, &x1)) continue;
    uint8_t *row = t.pixels + (long)py * t.pitch;
    if (fast)
      fast(job, (uint32_t *)row, py, x0, x1);
    else
      spanGeneric(job, row, t.layout, py, x0, x1);
    covered += (uint64_t)(x1 - x0);
  }
  gPixelsDrawn.fetch_add(covered, std::memory_order_relaxed);
}

} // namespace zyddraw
