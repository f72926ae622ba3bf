#ifndef ZY_DDRAW_RASTER_SPAN_H
#define ZY_DDRAW_RASTER_SPAN_H

// What the fast rasteriser hands its span loops (span_loops.h): the triangle, how its texels are
// fetched and how its pixels blend. Plain data, shared by every set of pixel arithmetic.

#include <cstdint>

#include "raster.h"

namespace zyddraw {

// The blend equations the renderer uses all the time get loops of their own.
enum class Blending {
  None,    // blending off
  Normal,  // source alpha, inverse source alpha
  Add,     // source alpha, one (or destination alpha on a target without alpha)
  Generic, // any other pair
};

// How a point-sampled loop finds its texels: straight from the texture when set-up proved every
// sample inside it, clamped without branches when neither axis wraps, else by the state's rule.
enum class Fetch { Inside, Clamp, Any };

// What decides a triangle's span loop.
struct SpanKind {
  bool textured, bilinear;
  Fetch fetch; // point sampling
  bool flat, white;
  Blending blend;
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

// The texture coordinates of the lanes of a group of pixels, as steps from the group's first
// pixel: for i = 0 .. GROUP_MAX, i times the step along a row, in whole texels and 24-bit
// fraction. Worked out once a triangle, for the loops that walk a group's texels at once.
const int GROUP_MAX = 8;
struct LaneSteps {
  int32_t sWhole[GROUP_MAX + 1], sPart[GROUP_MAX + 1];
  int32_t tWhole[GROUP_MAX + 1], tPart[GROUP_MAX + 1];
};

struct SpanJob {
  const RasterState &s;
  const Triangle &tri;
  bool destAlphaOne;
  uint32_t flat; // the diffuse colour of a flat triangle
  Addressing as, at;
  bool walkable;   // whole texel coordinates and their group steps fit 32 bits over the box
  LaneSteps steps; // when walkable
};

typedef void (*Span32)(const SpanJob &, uint32_t *row, int py, int x0, int x1);

// The span loop of each set of pixel arithmetic, for a 32-bit target.
Span32 pickSpanPortable(const SpanKind &k);
Span32 pickSpanSse2(const SpanKind &k);
Span32 pickSpanAvx2(const SpanKind &k);

} // namespace zyddraw

#endif
