#ifndef ZY_DDRAW_RASTER_OPS_H
#define ZY_DDRAW_RASTER_OPS_H

// The pixel arithmetic of the fast rasteriser's inner loops, in two interchangeable sets with
// the same results to the bit as the shared rules (raster.h): plain C++ that builds everywhere,
// and SSE2 where the compiler targets it (every x86-64); AVX2 builds on SSE2 in a source of its
// own (raster_avx2.cpp). The span loops (span_loops.h) are templates over the set, so the device
// can run any and the tests compare each with the reference.

#include <cstdint>

#include "raster_span.h"

#if defined(__SSE2__) && !defined(ZYPHORA_PORTABLE_RASTER)
#define ZY_RASTER_SSE2 1
#include <emmintrin.h>
#endif

// The inner loops' helpers are always inlined: a call per group of pixels costs more than the
// group's arithmetic.
#define ZY_INLINE inline __attribute__((always_inline))

namespace zyddraw {

struct PortableOps {
  static const int lanes = 4;
  static const bool masks = false; // a last, partial group goes through copies
  static const bool walks = false; // no Walk: the span loops step each pixel's coordinates
  typedef uint32_t Tint;           // a diffuse colour, A R G B
  typedef Tint GroupTint;
  static Tint tint(uint32_t colour) { return colour; }
  static GroupTint groupTint(uint32_t colour) { return colour; }
  ZY_INLINE static bool transparent(const uint32_t texel[4]) {
    return (texel[0] | texel[1] | texel[2] | texel[3]) < 0x01000000u;
  }

  static uint32_t modulate(uint32_t texel, Tint diffuse) {
    uint32_t out = 0;
    for (int c = 0; c < 4; c++)
      out |= mul255(channelOf(texel, c), channelOf(diffuse, c)) << (8 * c);
    return out;
  }
  // (s * fs + d * fd + 127) / 255 per channel, saturated: blendPixel's rule.
  static uint32_t blend(uint32_t src, uint32_t dst, uint32_t fs, uint32_t fd) {
    uint32_t out = 0;
    for (int c = 0; c < 4; c++) {
      uint32_t v = (channelOf(src, c) * fs + channelOf(dst, c) * fd + 127) / 255;
      out |= (v > 255 ? 255 : v) << (8 * c);
    }
    return out;
  }
  static uint32_t bilinear(uint32_t t00, uint32_t t10, uint32_t t01, uint32_t t11, uint32_t fu,
                           uint32_t fv) {
    return bilinearMix(t00, t10, t01, t11, fu, fv);
  }
  // Four texels (tinted unless White) blended onto four pixels with the source alpha and one
  // (Add) or its inverse (Normal); alphaOne is ORed into what a target without alpha reads.
  // Two channels at a time, in the 16-bit halves of a word (red and blue, alpha and green).
  static const uint32_t PAIR = 0x00FF00FF; // the low bytes of the halves
  // (y + 127) / 255 in each half, for y up to 255 x 255 (the rounding of mul255).
  static uint32_t div255(uint32_t y) {
    y += 0x00800080;
    return ((y + ((y >> 8) & PAIR)) >> 8) & PAIR;
  }
  template <bool White, bool Add>
  ZY_INLINE static void blendGroup(uint32_t *dst, const uint32_t texel[4], Tint diffuse,
                                   uint32_t alphaOne) {
    for (int i = 0; i < 4; i++) {
      uint32_t src = White ? texel[i] : modulate(texel[i], diffuse);
      uint32_t sa = src >> 24, d = dst[i] | alphaOne;
      uint32_t halves[2];
      for (int h = 0; h < 2; h++) {
        uint32_t s2 = (src >> (8 * h)) & PAIR, d2 = (d >> (8 * h)) & PAIR;
        if (Add) { // d + s x sa / 255, saturated: the blend with factors sa and 255
          uint32_t sum = d2 + div255(s2 * sa);
          halves[h] = (sum | ((sum >> 8) & 0x00010001) * 255) & PAIR;
        } else {
          halves[h] = div255(s2 * sa + d2 * (255 - sa));
        }
      }
      dst[i] = halves[0] | halves[1] << 8;
    }
  }
};

#ifdef ZY_RASTER_SSE2
struct Sse2Ops {
  static const int lanes = 4;
  static const bool masks = false; // a last, partial group goes through copies
  typedef __m128i Tint; // a diffuse colour, one channel in each of four 16-bit lanes, twice
  typedef Tint GroupTint;
  static Tint tint(uint32_t colour) {
    __m128i c = _mm_unpacklo_epi8(_mm_cvtsi32_si128((int)colour), _mm_setzero_si128());
    return _mm_unpacklo_epi64(c, c);
  }
  static GroupTint groupTint(uint32_t colour) { return tint(colour); }
  ZY_INLINE static bool transparent(const uint32_t texel[4]) {
    __m128i alpha = _mm_srli_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i *>(texel)), 24);
    return _mm_movemask_epi8(_mm_cmpeq_epi32(alpha, _mm_setzero_si128())) == 0xFFFF;
  }

  // The texels of four pixels at a time along a row, for point sampling of a texture below 32768
  // texels a side, with whole texel coordinates that fit 32 bits: each coordinate's whole texel
  // and its 24-bit fraction stepped in 32-bit lanes, exactly as the 64-bit sums step, and clamped
  // to the texture (Clamp) unless every sample is inside it.
  static const bool walks = true;
  class Walk {
  public:
    Walk(const LaneSteps &steps, int64_t s, int64_t t, int width, int height)
        : _width(_mm_set1_epi32(width)), _sLast(_mm_set1_epi32(width - 1)),
          _tLast(_mm_set1_epi32(height - 1)) {
      start(s, steps.sWhole, steps.sPart, &_sWhole, &_sPart, &_sStep, &_sStepPart);
      start(t, steps.tWhole, steps.tPart, &_tWhole, &_tPart, &_tStep, &_tStepPart);
    }
    template <bool Clamp> ZY_INLINE void gather(const uint32_t *texels, uint32_t out[4]) {
      gatherPart<Clamp>(texels, out, 4);
    }
    // The first n texels (the others clear), none read beyond them.
    template <bool Clamp>
    ZY_INLINE void gatherPart(const uint32_t *texels, uint32_t out[4], int n) {
      int32_t index[4];
      next<Clamp>(index);
      for (int i = 0; i < 4; i++) out[i] = i < n ? texels[index[i]] : 0;
    }
    template <bool Clamp> ZY_INLINE void next(int32_t index[4]) {
      __m128i x = _sWhole, y = _tWhole;
      if (Clamp) {
        x = clamp(x, _sLast);
        y = clamp(y, _tLast);
      }
      // The whole texels fit 16 bits: one multiply-add makes y * width.
      __m128i i = _mm_add_epi32(_mm_madd_epi16(y, _width), x);
      _mm_storeu_si128(reinterpret_cast<__m128i *>(index), i);
      advance(&_sWhole, &_sPart, _sStep, _sStepPart);
      advance(&_tWhole, &_tPart, _tStep, _tStepPart);
    }

  private:
    static const int64_t FRACTION_MASK = ((int64_t)1 << TEX_FRACTION) - 1;
    // The lanes of the group at v: v's whole texel and fraction plus each lane's step.
    static void start(int64_t v, const int32_t *laneWhole, const int32_t *lanePart, __m128i *whole,
                      __m128i *part, __m128i *step, __m128i *stepPart) {
      *whole = _mm_set1_epi32((int)(v >> TEX_FRACTION));
      *part = _mm_set1_epi32((int)(v & FRACTION_MASK));
      advance(whole, part, _mm_loadu_si128(reinterpret_cast<const __m128i *>(laneWhole)),
              _mm_loadu_si128(reinterpret_cast<const __m128i *>(lanePart)));
      *step = _mm_set1_epi32(laneWhole[4]);
      *stepPart = _mm_set1_epi32(lanePart[4]);
    }
    static void advance(__m128i *whole, __m128i *part, __m128i step, __m128i stepPart) {
      __m128i sum = _mm_add_epi32(*part, stepPart); // below 2^25: the carry is bit 24
      *whole = _mm_add_epi32(_mm_add_epi32(*whole, step), _mm_srli_epi32(sum, TEX_FRACTION));
      *part = _mm_and_si128(sum, _mm_set1_epi32((int)FRACTION_MASK));
    }
    // 0 .. last in each lane (wrapCoord's clamping).
    static __m128i clamp(__m128i v, __m128i last) {
      v = _mm_andnot_si128(_mm_cmplt_epi32(v, _mm_setzero_si128()), v);
      __m128i over = _mm_cmpgt_epi32(v, last);
      return _mm_or_si128(_mm_and_si128(over, last), _mm_andnot_si128(over, v));
    }
    __m128i _width, _sLast, _tLast;
    __m128i _sWhole, _sPart, _sStep, _sStepPart, _tWhole, _tPart, _tStep, _tStepPart;
  };

  // a x b / 255 rounded (mul255), in 16-bit lanes holding bytes; also exact for a x b up to
  // 255 x 255 + 254 x 255, the sum of two weighted bytes whose weights add up to 255.
  static __m128i div255(__m128i p) {
    p = _mm_add_epi16(p, _mm_set1_epi16(128));
    return _mm_srli_epi16(_mm_add_epi16(p, _mm_srli_epi16(p, 8)), 8);
  }
  static __m128i mul255(__m128i a, __m128i b) { return div255(_mm_mullo_epi16(a, b)); }
  static __m128i widen(uint32_t colour) {
    return _mm_unpacklo_epi8(_mm_cvtsi32_si128((int)colour), _mm_setzero_si128());
  }
  // Each pixel's alpha in all four of its 16-bit lanes.
  static __m128i alphas(__m128i px) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(px, 0xFF), 0xFF);
  }

  static uint32_t modulate(uint32_t texel, Tint diffuse) {
    return (uint32_t)_mm_cvtsi128_si32(
        _mm_packus_epi16(mul255(widen(texel), diffuse), _mm_setzero_si128()));
  }
  static uint32_t blend(uint32_t src, uint32_t dst, uint32_t fs, uint32_t fd) {
    __m128i zero = _mm_setzero_si128();
    __m128i s = _mm_unpacklo_epi16(widen(src), zero), d = _mm_unpacklo_epi16(widen(dst), zero);
    // 32-bit lanes, y = s * fs + d * fd + 128: (y + (y >> 8)) >> 8 is (y - 1) / 255 up to 255,
    // and above 255 wherever that is, so the saturated results agree.
    __m128i sum = _mm_add_epi32(_mm_madd_epi16(s, _mm_set1_epi32((int)fs)),
                                _mm_madd_epi16(d, _mm_set1_epi32((int)fd)));
    sum = _mm_add_epi32(sum, _mm_set1_epi32(128));
    sum = _mm_srli_epi32(_mm_add_epi32(sum, _mm_srli_epi32(sum, 8)), 8);
    return (uint32_t)_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(sum, zero), zero));
  }
  // The shared bilinear mix with the same integer arithmetic.
  static uint32_t bilinear(uint32_t t00, uint32_t t10, uint32_t t01, uint32_t t11, uint32_t fu,
                           uint32_t fv) {
    const __m128i zero = _mm_setzero_si128();
    // Each channel's left and right texels side by side in 16-bit lanes; one multiply-add weighs
    // them into a 32-bit lane: left * (256 - fu) + right * fu, at most 65280.
    const __m128i wu = _mm_set1_epi32((int)(fu << 16 | (256 - fu)));
    __m128i top = _mm_unpacklo_epi8(
        _mm_unpacklo_epi8(_mm_cvtsi32_si128((int)t00), _mm_cvtsi32_si128((int)t10)), zero);
    __m128i bottom = _mm_unpacklo_epi8(
        _mm_unpacklo_epi8(_mm_cvtsi32_si128((int)t01), _mm_cvtsi32_si128((int)t11)), zero);
    top = _mm_madd_epi16(top, wu);
    bottom = _mm_madd_epi16(bottom, wu);
    // top * (256 - fv) + bottom * fv: unsigned 16 x 16 products from their low and high halves.
    const __m128i pair = _mm_or_si128(top, _mm_slli_epi32(bottom, 16));
    const __m128i wv = _mm_set1_epi32((int)(fv << 16 | (256 - fv)));
    const __m128i lo = _mm_mullo_epi16(pair, wv), hi = _mm_mulhi_epu16(pair, wv);
    const __m128i low16 = _mm_set1_epi32(0xFFFF);
    __m128i sum = _mm_add_epi32(_mm_and_si128(lo, low16), _mm_srli_epi32(lo, 16));
    sum = _mm_add_epi32(
        sum, _mm_slli_epi32(_mm_add_epi32(_mm_and_si128(hi, low16), _mm_srli_epi32(hi, 16)), 16));
    sum = _mm_srli_epi32(_mm_add_epi32(sum, _mm_set1_epi32(32768)), 16);
    return (uint32_t)_mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(sum, zero), zero));
  }
  template <bool White, bool Add>
  ZY_INLINE static void blendGroup(uint32_t *dst, const uint32_t texel[4], Tint diffuse,
                                   uint32_t alphaOne) {
    const __m128i zero = _mm_setzero_si128();
    __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i *>(texel));
    __m128i lo = _mm_unpacklo_epi8(four, zero), hi = _mm_unpackhi_epi8(four, zero);
    if (!White) {
      lo = mul255(lo, diffuse);
      hi = mul255(hi, diffuse);
    }
    __m128i *to = reinterpret_cast<__m128i *>(dst);
    __m128i d = _mm_or_si128(_mm_loadu_si128(to), _mm_set1_epi32((int)alphaOne));
    if (Add) {
      // s * sa / 255 added with saturation is (s * sa + d * 255 + 127) / 255 to the bit.
      __m128i added = _mm_packus_epi16(mul255(lo, alphas(lo)), mul255(hi, alphas(hi)));
      _mm_storeu_si128(to, _mm_adds_epu8(d, added));
    } else {
      // s * sa + d * (255 - sa) stays within 16 bits, and div255 rounds it as the rule does.
      const __m128i full = _mm_set1_epi16(255);
      __m128i dlo = _mm_unpacklo_epi8(d, zero), dhi = _mm_unpackhi_epi8(d, zero);
      __m128i alo = alphas(lo), ahi = alphas(hi);
      lo = div255(
          _mm_add_epi16(_mm_mullo_epi16(lo, alo), _mm_mullo_epi16(dlo, _mm_sub_epi16(full, alo))));
      hi = div255(
          _mm_add_epi16(_mm_mullo_epi16(hi, ahi), _mm_mullo_epi16(dhi, _mm_sub_epi16(full, ahi))));
      _mm_storeu_si128(to, _mm_packus_epi16(lo, hi));
    }
  }
};
#endif

} // namespace zyddraw

#endif
