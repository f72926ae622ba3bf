#ifndef ZY_DDRAW_RASTER_H
#define ZY_DDRAW_RASTER_H

// The rasteriser behind the device: triangles, lines and points in screen space, as Direct3D 7
// draws them. Two implementations share these rules: a slow reference that evaluates every
// pixel from first principles, and the fast one the device uses (tested against it).
//
// Rules: a pixel's sample point is its integer coordinate (x, y); vertex positions snap to 1/16
// pixel; a sample on an edge belongs to the triangle when the edge is a top or a left edge;
// colour and texture coordinates interpolate linearly in screen space, as fixed-point planes;
// the texture is sampled at (u * width, v * height) - point: the texel containing it,
// bilinear: the four around it with 8-bit weights; the texel is multiplied by the diffuse
// colour; the result is blended with the target by the two blend factors; everything is
// clipped to the viewport.

#include <cstdint>

#include "pixel.h"

namespace zyddraw {

struct RasterVertex {
  float x, y;       // screen position, pixels
  float a, r, g, b; // diffuse, 0..255
  float u, v;       // texture coordinates
};

struct Texture {
  const uint32_t *texels; // A R G B, rows of width texels
  int width, height;
};

struct Target {
  uint8_t *pixels;
  long pitch; // bytes per row
  Layout layout;
};

struct ClipRect {
  int x0, y0, x1, y1; // x0 <= x < x1, y0 <= y < y1
};

// How the texture stage combines texel and diffuse for one of colour or alpha.
enum class Combine { Modulate, Texture, Diffuse };

struct RasterState {
  const Texture *texture = nullptr; // null: diffuse only
  bool bilinear = false;
  bool wrapU = false, wrapV = false; // else clamp
  Combine colour = Combine::Modulate, alpha = Combine::Modulate;
  bool blend = false;
  bool lastPixel = true; // a line draws the pixel of its end point
  D3DBLEND srcBlend = D3DBLEND_SRCALPHA, destBlend = D3DBLEND_INVSRCALPHA;
  ClipRect clip{0, 0, 0, 0};
};

// ---- Shared pixel rules ----

// Fixed point: texture coordinates in texels with 24 fraction bits, colours with 16.
const int TEX_FRACTION = 24, COLOUR_FRACTION = 16;

// One texel fetch with the state's addressing.
inline int wrapCoord(int64_t i, int n, bool wrap) {
  if (wrap) {
    int64_t m = i % n;
    return (int)(m < 0 ? m + n : m);
  }
  return i < 0 ? 0 : (i >= n ? n - 1 : (int)i);
}

// The texture's A R G B at texel coordinates (s, t), fixed point: point sampling takes the texel
// containing the point; bilinear the four around it, weighted by the fraction rounded to 1/256
// (so a sample on a texel centre reads that texel alone).
uint32_t sampleTexture(const RasterState &s, int64_t sFixed, int64_t tFixed);
// The four texels around a sample weighted by the fractions fu and fv (0..256).
uint32_t bilinearMix(uint32_t t00, uint32_t t10, uint32_t t01, uint32_t t11, uint32_t fu,
                     uint32_t fv);
// A texture coordinate (0..1 across the texture) as a fixed-point texel coordinate.
int64_t texelCoordinate(float u, int size);
// The texture stage's output for a texel and a diffuse colour (both A R G B).
uint32_t combine(const RasterState &s, uint32_t texel, uint32_t diffuse);
// A blend factor 0..255 for the source and destination alphas.
inline uint32_t blendFactor(D3DBLEND f, uint32_t srcAlpha, uint32_t destAlpha) {
  switch (f) {
  case D3DBLEND_ZERO: return 0;
  case D3DBLEND_ONE: return 255;
  case D3DBLEND_SRCALPHA: return srcAlpha;
  case D3DBLEND_INVSRCALPHA: return 255 - srcAlpha;
  case D3DBLEND_DESTALPHA: return destAlpha;
  }
  return 255;
}
// The blended pixel for source src over destination dst (A R G B); destAlphaOne when the
// target has no alpha.
uint32_t blendPixel(D3DBLEND srcBlend, D3DBLEND destBlend, uint32_t src, uint32_t dst,
                    bool destAlphaOne);
// Channel c (0 = blue .. 3 = alpha) of an A R G B value.
inline uint32_t channelOf(uint32_t argb, int c) { return (argb >> (8 * c)) & 255; }
// Diffuse A R G B from interpolated channels (rounded to nearest, clamped to 0..255).
uint32_t packColour(float a, float r, float g, float b);
inline uint32_t colourChannel(int64_t c) {
  int64_t v = (c + (1 << (COLOUR_FRACTION - 1))) >> COLOUR_FRACTION;
  return v < 0 ? 0u : v > 255 ? 255u : (uint32_t)v;
}
inline uint32_t packFixed(int64_t a, int64_t r, int64_t g, int64_t b) {
  return colourChannel(a) << 24 | colourChannel(r) << 16 | colourChannel(g) << 8 | colourChannel(b);
}

// ---- Triangle set-up, shared by both rasterisers ----

// One attribute as a fixed-point plane over the screen: value(px, py) = c + dy * py + dx * px.
// Integer sums do not depend on their order, so stepping along a row is exact.
struct Plane {
  int64_t c, dx, dy;
  int64_t rowBase(int py) const { return c + dy * py; }
  int64_t at(int64_t base, int px) const { return base + dx * px; }
};

struct Triangle {
  int64_t X[3], Y[3]; // snapped positions, 1/16 pixel, clockwise on screen
  int64_t area;       // twice the area, in 1/256 pixel, > 0
  Plane a, r, g, b;   // colour channels, COLOUR_FRACTION
  Plane s, t;         // texel coordinates, TEX_FRACTION (zero without a texture)
  bool flatColour;    // one diffuse colour for the whole triangle
  ClipRect box;       // the pixels to visit: bounding box within the clip rectangle
};

// False for degenerate, invalid or fully clipped triangles.
bool setupTriangle(const RasterState &s, const RasterVertex v[3], Triangle *tri);

// Twice the signed area of (a, b, p), positive on the inner side of edge a->b; a sample on the
// edge is covered when the edge is top or left (with y downward and clockwise vertices, a top
// edge runs horizontally to the right and a left edge runs upward).
inline int64_t edgeAt(int64_t ax, int64_t ay, int64_t bx, int64_t by, int64_t px, int64_t py) {
  return (bx - ax) * (py - ay) - (by - ay) * (px - ax);
}
inline bool isTopLeft(int64_t ax, int64_t ay, int64_t bx, int64_t by) {
  return (ay == by && bx > ax) || by < ay;
}

// ---- Primitives ----

void drawTriangleReference(const RasterState &s, const Target &t, const RasterVertex v[3]);
void drawTriangleFast(const RasterState &s, const Target &t, const RasterVertex v[3]);
// The fast rasteriser's pixel arithmetic (raster_ops.h): AVX2 where the build has it and the
// processor runs it, else SSE2 where the build has it, else plain C++; the same pixels either way.
enum class PixelOps { Portable, Sse2, Avx2 };
// True when the build has the set and the processor runs it.
bool pixelOpsBuiltIn(PixelOps ops);
// Chooses the arithmetic of later drawing (by default the fastest there is); false, changing
// nothing, when that one is not there. Not while another thread draws.
bool usePixelOps(PixelOps ops);
// The pixels drawTriangleFast has covered so far, on every thread.
uint64_t pixelsDrawn();
// A line covers the pixels whose centres its major axis passes over, from the pixel of its
// start to the pixel of its end; that last one only with lastPixel.
void drawLine(const RasterState &s, const Target &t, const RasterVertex &a, const RasterVertex &b);
// A point covers the pixel whose centre is nearest.
void drawPoint(const RasterState &s, const Target &t, const RasterVertex &p);

// True for finite positions within the guard band.
bool inGuardBand(float x, float y);
// Snapped position in 1/16 pixel; false for positions beyond the guard band or NaN.
bool snapPosition(float x, float y, int64_t *sx, int64_t *sy);

} // namespace zyddraw

#endif
