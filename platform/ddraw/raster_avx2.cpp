// The span loops with AVX2 pixel arithmetic: eight pixels a group, texels walked with gathers.
// Only this source's own code is compiled for AVX2 (the shared headers above the target switch
// keep the build's baseline), so nothing the linker may share with other sources needs AVX2;
// the device runs these loops only where the processor has it.

#include <algorithm>
#include <cstdint>

#include "raster_ops.h"
#include "raster_span.h"

#include <immintrin.h>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif

#include "span_loops.h"

namespace zyddraw {
namespace {

// One pixel at a time as with SSE2; groups of eight in 256-bit registers, each 128-bit half
// worked as Sse2Ops works four pixels.
struct Avx2Ops : Sse2Ops {
  static const int lanes = 8;
  typedef __m256i GroupTint; // a diffuse colour, one channel in each 16-bit lane, four times
  static GroupTint groupTint(uint32_t colour) {
    return _mm256_broadcastsi128_si256(Sse2Ops::tint(colour));
  }
  ZY_INLINE static bool transparent(const uint32_t texel[8]) {
    __m256i eight = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(texel));
    return _mm256_testz_si256(eight, _mm256_set1_epi32((int)0xFF000000u));
  }

  // The first n lanes of eight.
  static __m256i laneMask(int n) {
    return _mm256_cmpgt_epi32(_mm256_set1_epi32(n), _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7));
  }

  // Fewer pixels than a group, read and written through lane masks: n texels (the others clear)
  // from src, and n texels blended onto n pixels.
  static const bool masks = true;
  static void loadPart(const uint32_t *src, uint32_t out[8], int n) {
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out),
                        _mm256_maskload_epi32(reinterpret_cast<const int *>(src), laneMask(n)));
  }
  template <bool White, bool Add>
  ZY_INLINE static void blendPart(uint32_t *dst, const uint32_t texel[8], GroupTint diffuse,
                                  uint32_t alphaOne, int n) {
    __m256i mask = laneMask(n),
            eight = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(texel));
    __m256i d = _mm256_or_si256(_mm256_maskload_epi32(reinterpret_cast<const int *>(dst), mask),
                                _mm256_set1_epi32((int)alphaOne));
    if (!_mm256_testz_si256(eight, _mm256_set1_epi32((int)0xFF000000u)))
      d = blendEight<White, Add>(eight, d, diffuse);
    _mm256_maskstore_epi32(reinterpret_cast<int *>(dst), mask, d);
  }

  static const bool walks = true;
  class Walk {
  public:
    Walk(const LaneSteps &steps, int64_t s, int64_t t, int width, int height)
        : _width(_mm256_set1_epi32(width)), _sLast(_mm256_set1_epi32(width - 1)),
          _tLast(_mm256_set1_epi32(height - 1)) {
      start(s, steps.sWhole, steps.sPart, &_sWhole, &_sPart, &_sStep, &_sStepPart);
      start(t, steps.tWhole, steps.tPart, &_tWhole, &_tPart, &_tStep, &_tStepPart);
    }
    template <bool Clamp> ZY_INLINE void gather(const uint32_t *texels, uint32_t out[8]) {
      __m256i eight =
          _mm256_i32gather_epi32(reinterpret_cast<const int *>(texels), index<Clamp>(), 4);
      _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), eight);
    }
    // The first n texels (the others clear), none read beyond them.
    template <bool Clamp>
    ZY_INLINE void gatherPart(const uint32_t *texels, uint32_t out[8], int n) {
      __m256i some =
          _mm256_mask_i32gather_epi32(_mm256_setzero_si256(), reinterpret_cast<const int *>(texels),
                                      index<Clamp>(), laneMask(n), 4);
      _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), some);
    }

  private:
    static const int64_t FRACTION_MASK = ((int64_t)1 << TEX_FRACTION) - 1;
    template <bool Clamp> __m256i index() {
      __m256i x = _sWhole, y = _tWhole;
      if (Clamp) {
        x = _mm256_min_epi32(_mm256_max_epi32(x, _mm256_setzero_si256()), _sLast);
        y = _mm256_min_epi32(_mm256_max_epi32(y, _mm256_setzero_si256()), _tLast);
      }
      // The whole texels fit 16 bits: one multiply-add makes y * width.
      __m256i i = _mm256_add_epi32(_mm256_madd_epi16(y, _width), x);
      advance(&_sWhole, &_sPart, _sStep, _sStepPart);
      advance(&_tWhole, &_tPart, _tStep, _tStepPart);
      return i;
    }
    static void start(int64_t v, const int32_t *laneWhole, const int32_t *lanePart, __m256i *whole,
                      __m256i *part, __m256i *step, __m256i *stepPart) {
      *whole = _mm256_set1_epi32((int)(v >> TEX_FRACTION));
      *part = _mm256_set1_epi32((int)(v & FRACTION_MASK));
      advance(whole, part, _mm256_loadu_si256(reinterpret_cast<const __m256i *>(laneWhole)),
              _mm256_loadu_si256(reinterpret_cast<const __m256i *>(lanePart)));
      *step = _mm256_set1_epi32(laneWhole[8]);
      *stepPart = _mm256_set1_epi32(lanePart[8]);
    }
    static void advance(__m256i *whole, __m256i *part, __m256i step, __m256i stepPart) {
      __m256i sum = _mm256_add_epi32(*part, stepPart); // below 2^25: the carry is bit 24
      *whole =
          _mm256_add_epi32(_mm256_add_epi32(*whole, step), _mm256_srli_epi32(sum, TEX_FRACTION));
      *part = _mm256_and_si256(sum, _mm256_set1_epi32((int)FRACTION_MASK));
    }
    __m256i _width, _sLast, _tLast;
    __m256i _sWhole, _sPart, _sStep, _sStepPart, _tWhole, _tPart, _tStep, _tStepPart;
  };

  // Sse2Ops's rounding, sixteen lanes at a time.
  static __m256i div255(__m256i p) {
    p = _mm256_add_epi16(p, _mm256_set1_epi16(128));
    return _mm256_srli_epi16(_mm256_add_epi16(p, _mm256_srli_epi16(p, 8)), 8);
  }
  static __m256i mul255(__m256i a, __m256i b) { return div255(_mm256_mullo_epi16(a, b)); }
  static __m256i alphas(__m256i px) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(px, 0xFF), 0xFF);
  }
  // Sse2Ops::blendGroup for eight pixels (unpacking and packing within each 128-bit half).
  template <bool White, bool Add>
  ZY_INLINE static void blendGroup(uint32_t *dst, const uint32_t texel[8], GroupTint diffuse,
                                   uint32_t alphaOne) {
    __m256i *to = reinterpret_cast<__m256i *>(dst);
    __m256i d = _mm256_or_si256(_mm256_loadu_si256(to), _mm256_set1_epi32((int)alphaOne));
    _mm256_storeu_si256(
        to, blendEight<White, Add>(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(texel)), d,
                                   diffuse));
  }
  // Eight texels blended onto eight pixels d (read with alpha one where the target has none).
  template <bool White, bool Add>
  static __m256i blendEight(__m256i eight, __m256i d, GroupTint diffuse) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i lo = _mm256_unpacklo_epi8(eight, zero), hi = _mm256_unpackhi_epi8(eight, zero);
    if (!White) {
      lo = mul255(lo, diffuse);
      hi = mul255(hi, diffuse);
    }
    if (Add)
      return _mm256_adds_epu8(d,
                              _mm256_packus_epi16(mul255(lo, alphas(lo)), mul255(hi, alphas(hi))));
    const __m256i full = _mm256_set1_epi16(255);
    __m256i dlo = _mm256_unpacklo_epi8(d, zero), dhi = _mm256_unpackhi_epi8(d, zero);
    __m256i alo = alphas(lo), ahi = alphas(hi);
    lo = div255(_mm256_add_epi16(_mm256_mullo_epi16(lo, alo),
                                 _mm256_mullo_epi16(dlo, _mm256_sub_epi16(full, alo))));
    hi = div255(_mm256_add_epi16(_mm256_mullo_epi16(hi, ahi),
                                 _mm256_mullo_epi16(dhi, _mm256_sub_epi16(full, ahi))));
    return _mm256_packus_epi16(lo, hi);
  }
};

} // namespace

Span32 pickSpanAvx2(const SpanKind &k) { return pickSpan<Avx2Ops>(k); }

} // namespace zyddraw

#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
