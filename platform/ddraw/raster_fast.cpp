// The fast triangle rasteriser. Same rules and the same arithmetic as the reference (raster.h),
// so the two agree to the bit; the speed comes from walking spans instead of testing every pixel
// (each row's covered run follows from the three edges, stepped exactly from row to row), from
// inner loops specialised for the cases the renderer draws all the time (32-bit target,
// point-sampled or bilinear texture, one colour per triangle, white diffuse), from fetching
// without clamping when set-up proves every sample inside the texture, and, for the blended
// point-sampled sprites that fill the busiest frames, from blending four pixels at a time
// (whole runs of transparent texels cost a load and a test). The pixel arithmetic comes from
// one of the sets of raster_ops.h.

#include <algorithm>
#include <atomic>

#include "raster_ops.h"

namespace zyddraw {

namespace {

// floor(n / d) for d > 0.
inline int64_t floorDiv(int64_t n, int64_t d) { return n >= 0 ? n / d : -((-n + d - 1) / d); }

// One edge's bound on the covered pixels of a row, stepped from row to row without division:
// edge(px) = c + step * px must be >= 0 (top-left edges) or >= 1 (the others), so px >= -c / step
// (step > 0, a lower bound) or px <= c / -step (step < 0, an upper bound); c grows by dc a row.
// The bound is kept as quotient and remainder of the exact floor division.
struct EdgeStepper {
  int64_t step, c, dc; // c itself for a horizontal edge (step 0)
  int64_t q, r, dq, dr, den;

  void start(const Triangle &tri, int a, int b, int py) {
    int64_t ax = tri.X[a], ay = tri.Y[a], bx = tri.X[b], by = tri.Y[b];
    step = -(by - ay) * 16;
    c = (bx - ax) * ((int64_t)py * 16 - ay) + (by - ay) * ax - (isTopLeft(ax, ay, bx, by) ? 0 : 1);
    dc = (bx - ax) * 16;
    den = step > 0 ? step : -step;
    if (den == 0) return;
    q = floorDiv(c, den);
    r = c - q * den;
    dq = floorDiv(dc, den);
    dr = dc - dq * den;
  }
  void next() {
    if (den == 0) {
      c += dc;
      return;
    }
    q += dq;
    r += dr;
    if (r >= den) {
      r -= den;
      q++;
    }
  }
  // Narrows [*lo, *hi] to this edge's side; false when the row is empty.
  bool bound(int64_t *lo, int64_t *hi) const {
    if (step > 0)
      *lo = std::max(*lo, -q);
    else if (step < 0)
      *hi = std::min(*hi, q);
    else if (c < 0)
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

// Texel addressing for the point-sampled loops: a mask for power-of-two wrapping, else the
// general rule.
struct Addressing {
  int size;
  bool wrap;
  int64_t mask; // size - 1 when wrapping a power of two, else -1
  Addressing(int n, bool w) : size(n), wrap(w), mask(w && (n & (n - 1)) == 0 ? n - 1 : -1) {}
  int operator()(int64_t i) const { return mask >= 0 ? (int)(i & mask) : wrapCoord(i, size, wrap); }
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

// The blend equations the renderer uses all the time get loops of their own.
enum class Blending {
  None,    // blending off
  Normal,  // source alpha, inverse source alpha
  Add,     // source alpha, one (or destination alpha on a target without alpha)
  Generic, // any other pair
};

Blending blendingOf(const RasterState &s, bool destAlphaOne) {
  if (!s.blend) return Blending::None;
  if (s.srcBlend == D3DBLEND_SRCALPHA && s.destBlend == D3DBLEND_INVSRCALPHA)
    return Blending::Normal;
  if (s.srcBlend == D3DBLEND_SRCALPHA &&
      (s.destBlend == D3DBLEND_ONE || (s.destBlend == D3DBLEND_DESTALPHA && destAlphaOne)))
    return Blending::Add;
  return Blending::Generic;
}

struct SpanJob {
  const RasterState &s;
  const Triangle &tri;
  bool destAlphaOne;
  uint32_t flat; // the diffuse colour of a flat triangle
  Addressing as, at;
  bool walkable; // whole texel coordinates fit 32 bits over the box (for Ops::Walk4)
};

// How a point-sampled loop finds its texels: straight from the texture when set-up proved every
// sample inside it, clamped without branches when neither axis wraps, else by the state's rule.
enum class Fetch { Inside, Clamp, Any };

template <Fetch F> inline uint32_t pointTexel(const SpanJob &j, int64_t sFixed, int64_t tFixed) {
  const Texture &tex = *j.s.texture;
  int64_t x = sFixed >> TEX_FRACTION, y = tFixed >> TEX_FRACTION;
  if (F == Fetch::Inside) return tex.texels[(long)y * tex.width + (long)x];
  if (F == Fetch::Clamp) {
    x = std::min<int64_t>(std::max<int64_t>(x, 0), tex.width - 1);
    y = std::min<int64_t>(std::max<int64_t>(y, 0), tex.height - 1);
    return tex.texels[(long)y * tex.width + (long)x];
  }
  return tex.texels[(long)j.at(y) * tex.width + j.as(x)];
}

// Bilinear sampling for the specialised loops: the shared sampler's rule (sampleTexture) with
// the loops' addressing. A sample on a texel centre (both weights 0, as in every 1:1 blit) reads
// that texel alone, exactly as the full mix would.
template <class Ops>
inline uint32_t bilinearFast(const SpanJob &j, int64_t sFixed, int64_t tFixed) {
  const Texture &tex = *j.s.texture;
  const int64_t half = (int64_t)1 << (TEX_FRACTION - 1),
                fraction = ((int64_t)1 << TEX_FRACTION) - 1;
  int64_t fs = sFixed - half, ft = tFixed - half;
  uint32_t fu = (uint32_t)(((fs & fraction) + (1 << 15)) >> 16); // 0..256
  uint32_t fv = (uint32_t)(((ft & fraction) + (1 << 15)) >> 16);
  int64_t x0 = fs >> TEX_FRACTION, y0 = ft >> TEX_FRACTION;
  const uint32_t *rowA, *rowB;
  int xa, xb;
  if ((uint64_t)x0 < (uint64_t)(tex.width - 1) && (uint64_t)y0 < (uint64_t)(tex.height - 1)) {
    // All four texels inside: wrapping and clamping leave them where they are.
    rowA = tex.texels + (long)y0 * tex.width;
    rowB = rowA + tex.width;
    xa = (int)x0;
    xb = xa + 1;
  } else {
    rowA = tex.texels + (long)j.at(y0) * tex.width;
    rowB = tex.texels + (long)j.at(y0 + 1) * tex.width;
    xa = j.as(x0);
    xb = j.as(x0 + 1);
  }
  if ((fu | fv) == 0) return rowA[xa];
  return Ops::bilinear(rowA[xa], rowA[xb], rowB[xa], rowB[xb], fu, fv);
}

// Four texels blended onto four pixels; four transparent ones leave the pixels as they are
// (read with alpha one) for the cost of a test.
template <class Ops, bool White, bool Add>
inline void blendOrSkip4(uint32_t *dst, const uint32_t texel[4], typename Ops::Tint tint,
                         uint32_t alphaOne) {
  if ((texel[0] | texel[1] | texel[2] | texel[3]) < 0x01000000u) {
    for (int i = 0; i < 4; i++) dst[i] |= alphaOne;
    return;
  }
  Ops::template blend4<White, Add>(dst, texel, tint, alphaOne);
}

// The blended textured triangles of one colour (sprites, the lit background), four pixels at a
// time; returns where the per-pixel loop goes on. A point-sampled texture read at one texel per
// pixel along the row (an unturned, unzoomed sprite inside its texture) is blended straight from
// the texture's row; a turned or zoomed one, inside its texture or clamped to it, walks its
// texels with Ops::Walk4 where the set has one.
template <class Ops, bool Bilinear, Fetch F, bool White, bool Add>
int sprite4(const SpanJob &j, uint32_t *row, int px, int x1, int64_t &sv, int64_t &tv) {
  const Triangle &tri = j.tri;
  const int64_t sd = tri.s.dx, td = tri.t.dx;
  const typename Ops::Tint tint = Ops::tint(j.flat);
  const uint32_t alphaOne = j.destAlphaOne ? 0xFF000000u : 0;
  const Texture &tex = *j.s.texture;
  const bool straight =
      !Bilinear && F == Fetch::Inside && sd == (int64_t)1 << TEX_FRACTION && td == 0;
  if constexpr (!Bilinear && F != Fetch::Any && Ops::walks4) {
    if (!straight && j.walkable && tex.width < 32768 && tex.height < 32768) {
      typename Ops::Walk4 walk(sv, tv, sd, td, tex.width, tex.height);
      int32_t index[4];
      uint32_t texel[4];
      int start = px;
      for (; px + 4 <= x1; px += 4) {
        walk.template next<F == Fetch::Clamp>(index);
        for (int i = 0; i < 4; i++) texel[i] = tex.texels[index[i]];
        blendOrSkip4<Ops, White, Add>(row + px, texel, tint, alphaOne);
      }
      sv += (px - start) * sd;
      tv += (px - start) * td;
      return px;
    }
  }
  uint32_t gathered[4];
  for (; px + 4 <= x1; px += 4) {
    const uint32_t *texel = gathered;
    if (straight) {
      texel = tex.texels + (long)(tv >> TEX_FRACTION) * tex.width + (long)(sv >> TEX_FRACTION);
      sv += 4 * sd;
    } else {
      for (uint32_t &t : gathered) {
        t = Bilinear ? bilinearFast<Ops>(j, sv, tv) : pointTexel<F>(j, sv, tv);
        sv += sd;
        tv += td;
      }
    }
    blendOrSkip4<Ops, White, Add>(row + px, texel, tint, alphaOne);
  }
  return px;
}

// One span of a 32-bit target. Textured: a texture, point-sampled (fetched as F says) or
// (Bilinear) through bilinearFast; Flat: one diffuse colour; White: that colour is opaque
// white, so the texture passes unchanged.
template <class Ops, bool Textured, bool Bilinear, Fetch F, bool Flat, bool White, Blending B>
void span32(const SpanJob &j, uint32_t *row, int py, int x0, int x1) {
  const Triangle &tri = j.tri;
  const RasterState &s = j.s;
  int64_t sv = tri.s.at(tri.s.rowBase(py), x0), tv = tri.t.at(tri.t.rowBase(py), x0);
  int64_t av = tri.a.at(tri.a.rowBase(py), x0), rv = tri.r.at(tri.r.rowBase(py), x0);
  int64_t gv = tri.g.at(tri.g.rowBase(py), x0), bv = tri.b.at(tri.b.rowBase(py), x0);
  const int64_t sd = tri.s.dx, td = tri.t.dx, ad = tri.a.dx, rd = tri.r.dx, gd = tri.g.dx,
                bd = tri.b.dx;
  const typename Ops::Tint flat = Ops::tint(j.flat);
  const uint32_t alphaOne = j.destAlphaOne ? 0xFF000000u : 0;
  int px = x0;
  if constexpr (Textured && Flat && (B == Blending::Add || B == Blending::Normal))
    px = sprite4<Ops, Bilinear, F, White, B == Blending::Add>(j, row, px, x1, sv, tv);
  for (; px < x1; px++) {
    uint32_t out;
    uint32_t diffuse = Flat ? j.flat : packFixed(av, rv, gv, bv);
    if constexpr (Textured) {
      uint32_t texel;
      if constexpr (Bilinear)
        texel = bilinearFast<Ops>(j, sv, tv);
      else
        texel = pointTexel<F>(j, sv, tv);
      sv += sd;
      tv += td;
      if constexpr (White)
        out = texel;
      else
        out = Ops::modulate(texel, Flat ? flat : Ops::tint(diffuse));
    } else {
      out = diffuse;
    }
    if constexpr (!Flat) {
      av += ad;
      rv += rd;
      gv += gd;
      bv += bd;
    }
    if constexpr (B != Blending::None) {
      // A target without alpha holds no alpha: it reads as 255, as in toARGB.
      uint32_t dst = row[px] | alphaOne;
      uint32_t sa = out >> 24;
      if constexpr (B == Blending::Normal) {
        if (sa == 0)
          out = dst;
        else if (sa != 255)
          out = Ops::blend(out, dst, sa, 255 - sa);
      } else if constexpr (B == Blending::Add) {
        out = sa == 0 ? dst : Ops::blend(out, dst, sa, 255);
      } else {
        uint32_t da = dst >> 24;
        out =
            Ops::blend(out, dst, blendFactor(s.srcBlend, sa, da), blendFactor(s.destBlend, sa, da));
      }
    }
    row[px] = out;
  }
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

typedef void (*Span32)(const SpanJob &, uint32_t *, int, int, int);

// What decides a triangle's span loop.
struct SpanKind {
  bool textured, bilinear;
  Fetch fetch; // point sampling
  bool flat, white;
  Blending blend;
};

template <class Ops, bool Textured, bool Bilinear, Fetch F, bool Flat, bool White>
Span32 pickBlend(Blending b) {
  switch (b) {
  case Blending::None: return span32<Ops, Textured, Bilinear, F, Flat, White, Blending::None>;
  case Blending::Normal: return span32<Ops, Textured, Bilinear, F, Flat, White, Blending::Normal>;
  case Blending::Add: return span32<Ops, Textured, Bilinear, F, Flat, White, Blending::Add>;
  case Blending::Generic: break;
  }
  return span32<Ops, Textured, Bilinear, F, Flat, White, Blending::Generic>;
}

template <class Ops, Fetch F> Span32 pickPointSampled(const SpanKind &k) {
  return k.flat ? (k.white ? pickBlend<Ops, true, false, F, true, true>(k.blend)
                           : pickBlend<Ops, true, false, F, true, false>(k.blend))
                : pickBlend<Ops, true, false, F, false, false>(k.blend);
}

template <class Ops> Span32 pickSpan(const SpanKind &k) {
  const Fetch none = Fetch::Any; // not point-sampled
  if (!k.textured)
    return k.flat ? pickBlend<Ops, false, false, none, true, false>(k.blend)
                  : pickBlend<Ops, false, false, none, false, false>(k.blend);
  if (k.bilinear)
    return k.flat ? (k.white ? pickBlend<Ops, true, true, none, true, true>(k.blend)
                             : pickBlend<Ops, true, true, none, true, false>(k.blend))
                  : pickBlend<Ops, true, true, none, false, false>(k.blend);
  switch (k.fetch) {
  case Fetch::Inside: return pickPointSampled<Ops, Fetch::Inside>(k);
  case Fetch::Clamp: return pickPointSampled<Ops, Fetch::Clamp>(k);
  case Fetch::Any: break;
  }
  return pickPointSampled<Ops, Fetch::Any>(k);
}

#ifdef ZY_RASTER_SSE2
std::atomic<PixelOps> gOps{PixelOps::Sse2};
#else
std::atomic<PixelOps> gOps{PixelOps::Portable};
#endif

std::atomic<uint64_t> gPixelsDrawn{0};

Span32 pickSpanWithOps(const SpanKind &k) {
#ifdef ZY_RASTER_SSE2
  if (gOps.load(std::memory_order_relaxed) == PixelOps::Sse2) return pickSpan<Sse2Ops>(k);
#endif
  return pickSpan<PortableOps>(k);
}

} // namespace

uint64_t pixelsDrawn() { return gPixelsDrawn.load(std::memory_order_relaxed); }

bool pixelOpsBuiltIn(PixelOps ops) {
#ifdef ZY_RASTER_SSE2
  (void)ops;
  return true;
#else
  return ops == PixelOps::Portable;
#endif
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
  const int64_t whole = (int64_t)1 << (31 + TEX_FRACTION);
  SpanJob job{s,
              tri,
              destAlphaOne,
              flat,
              Addressing(tex ? tex->width : 1, s.wrapU),
              Addressing(tex ? tex->height : 1, s.wrapV),
              planeWithin(tri, tri.s, -whole, whole) && planeWithin(tri, tri.t, -whole, whole)};
  bool modulated = s.colour == Combine::Modulate && s.alpha == Combine::Modulate;
  bool wide = t.layout == Layout::ARGB8888 || t.layout == Layout::XRGB8888;
  Span32 fast = nullptr;
  if (wide && modulated) {
    Fetch fetch = !tex || s.bilinear ? Fetch::Any
                  : planeInside(tri, tri.s, tex->width) && planeInside(tri, tri.t, tex->height)
                      ? Fetch::Inside
                  : !s.wrapU && !s.wrapV ? Fetch::Clamp
                                         : Fetch::Any;
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
