#ifndef ZY_DDRAW_PIXEL_H
#define ZY_DDRAW_PIXEL_H

// Pixel layouts of the surfaces and their conversions to and from 32-bit A R G B.

#include <cstdint>

#include "ddraw.h"

namespace zyddraw {

enum class Layout {
  ARGB8888, // 32-bit textures
  XRGB8888, // 32-bit display: no alpha, destination alpha reads as 1
  RGB565,   // 16-bit display
  XRGB1555, // 15-bit display and 16-bit opaque textures
  ARGB4444, // 16-bit textures with alpha
};

inline int bytesPerPixel(Layout l) {
  return l == Layout::ARGB8888 || l == Layout::XRGB8888 ? 4 : 2;
}
inline bool hasAlpha(Layout l) { return l == Layout::ARGB8888 || l == Layout::ARGB4444; }

// The layout a DirectDraw pixel format describes; false when it is not one of ours.
bool layoutOf(const DDPIXELFORMAT &pf, Layout *layout);
DDPIXELFORMAT pixelFormatOf(Layout l);

// Widening a 4- or 5-bit channel repeats its top bits, so full intensity stays 255.
inline uint32_t expand4(uint32_t c) { return c * 17; }
inline uint32_t expand5(uint32_t c) { return (c << 3) | (c >> 2); }
inline uint32_t expand6(uint32_t c) { return (c << 2) | (c >> 4); }

// One stored pixel as A R G B (an alpha-less layout reads as alpha 255).
inline uint32_t toARGB(Layout l, const uint8_t *p) {
  switch (l) {
  case Layout::ARGB8888: return *(const uint32_t *)p;
  case Layout::XRGB8888: return *(const uint32_t *)p | 0xFF000000u;
  case Layout::RGB565: {
    uint32_t v = *(const uint16_t *)p;
    return 0xFF000000u | expand5(v >> 11) << 16 | expand6((v >> 5) & 63) << 8 | expand5(v & 31);
  }
  case Layout::XRGB1555: {
    uint32_t v = *(const uint16_t *)p;
    return 0xFF000000u | expand5((v >> 10) & 31) << 16 | expand5((v >> 5) & 31) << 8 |
           expand5(v & 31);
  }
  case Layout::ARGB4444: {
    uint32_t v = *(const uint16_t *)p;
    return expand4(v >> 12) << 24 | expand4((v >> 8) & 15) << 16 | expand4((v >> 4) & 15) << 8 |
           expand4(v & 15);
  }
  }
  return 0;
}

// Stores A R G B, truncating each channel to the layout's bits.
inline void fromARGB(Layout l, uint8_t *p, uint32_t c) {
  uint32_t a = c >> 24, r = (c >> 16) & 255, g = (c >> 8) & 255, b = c & 255;
  switch (l) {
  case Layout::ARGB8888:
  case Layout::XRGB8888: *(uint32_t *)p = c; break;
  case Layout::RGB565: *(uint16_t *)p = (uint16_t)((r >> 3) << 11 | (g >> 2) << 5 | b >> 3); break;
  case Layout::XRGB1555:
    *(uint16_t *)p = (uint16_t)((r >> 3) << 10 | (g >> 3) << 5 | b >> 3);
    break;
  case Layout::ARGB4444:
    *(uint16_t *)p = (uint16_t)((a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | b >> 4);
    break;
  }
}

// Fills the rectangle x0 <= x < x1, y0 <= y < y1 of rows pitch bytes apart with one stored pixel
// of bpp bytes: the first row pixel by pixel, the others copied from it.
void fillRows(uint8_t *pixels, long pitch, int bpp, const uint8_t *stored, long x0, long y0,
              long x1, long y1);

// x * y / 255 rounded to nearest, exact for x, y in 0..255.
inline uint32_t mul255(uint32_t x, uint32_t y) {
  uint32_t t = x * y + 128;
  return (t + (t >> 8)) >> 8;
}

} // namespace zyddraw

#endif
