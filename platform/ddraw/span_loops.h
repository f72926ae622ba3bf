#ifndef ZY_DDRAW_SPAN_LOOPS_H
#define ZY_DDRAW_SPAN_LOOPS_H

// The fast rasteriser's span loops for 32-bit targets, templates over a set of pixel arithmetic
// (Ops): inner loops specialised for the cases the renderer draws all the time (point-sampled or
// bilinear texture, one colour per triangle, white diffuse), fetching without clamping when
// set-up proved every sample inside the texture, and, for the blended sprites that fill the
// busiest frames, blending a group of Ops::lanes pixels at a time (a group of transparent texels
// costs a test). Every source that includes this gets copies of its own (an unnamed namespace):
// the AVX2 source compiles its copies for AVX2, and the linker must never take one for another.
//
// A set of pixel arithmetic provides:
//   lanes, GroupTint, groupTint(colour)       the pixels of a group, a diffuse colour for them
//   transparent(texel), blendGroup<White, Add> a group of texels: all clear; blended (raster_ops.h)
//   walks, Walk(steps, s, t, width, height)   with walks, a group's texels fetched at once
//     .gather<Clamp>(texels, out), .gatherPart<Clamp>(texels, out, n)
//   masks, loadPart, blendPart<White, Add>    with masks, a partial group read and written at once
//   Tint, tint, modulate, blend, bilinear     one pixel at a time

#include <algorithm>

#include "raster_span.h"

namespace zyddraw {
namespace {

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

// A group of texels blended onto as many pixels; transparent ones leave the pixels as they are
// (read with alpha one).
template <class Ops, bool White, bool Add>
ZY_INLINE void blendOrSkip(uint32_t *dst, const uint32_t *texel, typename Ops::GroupTint tint,
                           uint32_t alphaOne) {
  if (Ops::transparent(texel)) {
    for (int i = 0; i < Ops::lanes; i++) dst[i] |= alphaOne;
    return;
  }
  Ops::template blendGroup<White, Add>(dst, texel, tint, alphaOne);
}

// Fewer texels than a group (the others clear) blended onto as many pixels: through the set's
// lane masks where it has them, else through a copy of the pixels.
template <class Ops, bool White, bool Add>
ZY_INLINE void blendPart(uint32_t *dst, const uint32_t *texel, typename Ops::GroupTint tint,
                         uint32_t alphaOne, int n) {
  if constexpr (Ops::masks) {
    Ops::template blendPart<White, Add>(dst, texel, tint, alphaOne, n);
  } else {
    uint32_t pixels[Ops::lanes] = {};
    std::copy(dst, dst + n, pixels);
    blendOrSkip<Ops, White, Add>(pixels, texel, tint, alphaOne);
    std::copy(pixels, pixels + n, dst);
  }
}

// A row of a blended textured triangle of one colour (sprites, the lit background), a group of
// pixels at a time, the last one partial. A point-sampled texture read at one texel per pixel
// along the row (an unturned, unzoomed sprite inside its texture) is blended straight from the
// texture's row; a turned or zoomed one, inside its texture or clamped to it, walks its texels a
// group at a time where the set can; any other fetches each texel.
template <class Ops, bool Bilinear, Fetch F, bool White, bool Add>
void spriteRow(const SpanJob &j, uint32_t *row, int px, int x1, int64_t sv, int64_t tv) {
  const int L = Ops::lanes;
  const Triangle &tri = j.tri;
  const int64_t sd = tri.s.dx, td = tri.t.dx;
  const typename Ops::GroupTint tint = Ops::groupTint(j.flat);
  const uint32_t alphaOne = j.destAlphaOne ? 0xFF000000u : 0;
  const Texture &tex = *j.s.texture;
  uint32_t texel[L];
  if (!Bilinear && F == Fetch::Inside && sd == (int64_t)1 << TEX_FRACTION && td == 0) {
    // The row's texels, the first under the span's first pixel.
    const uint32_t *from =
        tex.texels + (long)(tv >> TEX_FRACTION) * tex.width + (long)(sv >> TEX_FRACTION);
    uint32_t *to = row + px;
    const int n = x1 - px;
    int i = 0;
    for (; i + L <= n; i += L) blendOrSkip<Ops, White, Add>(to + i, from + i, tint, alphaOne);
    if (i == n) return;
    if constexpr (Ops::masks)
      Ops::loadPart(from + i, texel, n - i);
    else
      for (int k = 0; k < L; k++) texel[k] = i + k < n ? from[i + k] : 0;
    blendPart<Ops, White, Add>(to + i, texel, tint, alphaOne, n - i);
    return;
  }
  if constexpr (!Bilinear && F != Fetch::Any && Ops::walks) {
    if (j.walkable && tex.width < 32768 && tex.height < 32768) {
      const bool clamp = F == Fetch::Clamp;
      typename Ops::Walk walk(j.steps, sv, tv, tex.width, tex.height);
      for (; px + L <= x1; px += L) {
        walk.template gather<clamp>(tex.texels, texel);
        blendOrSkip<Ops, White, Add>(row + px, texel, tint, alphaOne);
      }
      if (px == x1) return;
      walk.template gatherPart<clamp>(tex.texels, texel, x1 - px);
      blendPart<Ops, White, Add>(row + px, texel, tint, alphaOne, x1 - px);
      return;
    }
  }
  for (; px < x1; px += L) {
    int n = std::min(L, x1 - px);
    for (int i = 0; i < L; i++) {
      texel[i] = i >= n ? 0 : Bilinear ? bilinearFast<Ops>(j, sv, tv) : pointTexel<F>(j, sv, tv);
      sv += sd;
      tv += td;
    }
    if (n == L)
      blendOrSkip<Ops, White, Add>(row + px, texel, tint, alphaOne);
    else
      blendPart<Ops, White, Add>(row + px, texel, tint, alphaOne, n);
  }
}

// One span of a 32-bit target. Textured: a texture, point-sampled (fetched as F says) or
// (Bilinear) through bilinearFast; Flat: one diffuse colour; White: that colour is opaque
// white, so the texture passes unchanged.
template <class Ops, bool Textured, bool Bilinear, Fetch F, bool Flat, bool White, Blending B>
void span32(const SpanJob &j, uint32_t *row, int py, int x0, int x1) {
  const Triangle &tri = j.tri;
  const RasterState &s = j.s;
  int64_t sv = tri.s.at(tri.s.rowBase(py), x0), tv = tri.t.at(tri.t.rowBase(py), x0);
  if constexpr (Textured && Flat && (B == Blending::Add || B == Blending::Normal)) {
    spriteRow<Ops, Bilinear, F, White, B == Blending::Add>(j, row, x0, x1, sv, tv);
    return;
  }
  int64_t av = tri.a.at(tri.a.rowBase(py), x0), rv = tri.r.at(tri.r.rowBase(py), x0);
  int64_t gv = tri.g.at(tri.g.rowBase(py), x0), bv = tri.b.at(tri.b.rowBase(py), x0);
  const int64_t sd = tri.s.dx, td = tri.t.dx, ad = tri.a.dx, rd = tri.r.dx, gd = tri.g.dx,
                bd = tri.b.dx;
  const typename Ops::Tint flat = Ops::tint(j.flat);
  const uint32_t alphaOne = j.destAlphaOne ? 0xFF000000u : 0;
  for (int px = x0; px < x1; px++) {
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

} // namespace
} // namespace zyddraw

#endif
