// The arithmetic of scaled windows: where the picture shows, and points carried both ways.
#include "host_scale.h"

#include <algorithm>

namespace {

// Division rounding toward minus infinity: bar points left of or above the picture map to
// negative pixels, not to pixel 0.
long floorDiv(long a, long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
long ceilDiv(long a, long b) { return -floorDiv(-a, b); }

// The largest size of the picture's shape that fits, at least 1 x 1.
HostRect fitted(int windowW, int windowH, int pictureW, int pictureH) {
  int w, h;
  if ((long)windowW * pictureH <=
      (long)windowH * pictureW) { // narrower than the picture: the width decides
    w = windowW;
    h = std::max(1, (int)((long)pictureH * windowW / pictureW));
  } else {
    h = windowH;
    w = std::max(1, (int)((long)pictureW * windowH / pictureH));
  }
  return {0, 0, w, h};
}

// The middle of the window points of one axis that map back to picture pixel p; where the
// picture is shrunk and no point does, the point nearest its centre.
int pointOfPixel(int origin, int shown, int picture, int p) {
  long centre = floorDiv((2L * p + 1) * shown, 2L * picture);
  long first = ceilDiv((long)p * shown, picture), last = ceilDiv((p + 1L) * shown, picture) - 1;
  if (first <= last) centre = std::min(std::max(centre, first), last);
  return origin + (int)centre;
}

} // namespace

HostRect hostPictureRect(int windowW, int windowH, int pictureW, int pictureH,
                         HostScaling scaling) {
  if (windowW <= 0 || windowH <= 0 || pictureW <= 0 || pictureH <= 0) return {0, 0, 0, 0};
  HostRect r = fitted(windowW, windowH, pictureW, pictureH);
  int multiple = std::min(windowW / pictureW, windowH / pictureH);
  if (scaling == HOST_SCALE_INTEGER && multiple >= 1)
    r = {0, 0, pictureW * multiple, pictureH * multiple};
  r.x = (windowW - r.w) / 2;
  r.y = (windowH - r.h) / 2;
  return r;
}

int hostSharpMultiple(const HostRect &shown, int pictureW, int pictureH) {
  if (pictureW <= 0 || pictureH <= 0) return 1;
  return std::max({1L, ceilDiv(shown.w, pictureW), ceilDiv(shown.h, pictureH)});
}

bool hostWholeMultiple(const HostRect &shown, int pictureW, int pictureH) {
  return pictureW > 0 && pictureH > 0 && shown.w >= pictureW && shown.w % pictureW == 0 &&
         shown.h % pictureH == 0 && shown.w / pictureW == shown.h / pictureH;
}

void hostWindowToPicture(const HostRect &shown, int pictureW, int pictureH, int x, int y, int *px,
                         int *py) {
  if (shown.w <= 0 || shown.h <= 0) {
    *px = x;
    *py = y;
    return;
  }
  *px = (int)floorDiv((long)(x - shown.x) * pictureW, shown.w);
  *py = (int)floorDiv((long)(y - shown.y) * pictureH, shown.h);
}

void hostPictureToWindow(const HostRect &shown, int pictureW, int pictureH, int px, int py, int *x,
                         int *y) {
  if (pictureW <= 0 || pictureH <= 0) {
    *x = px;
    *y = py;
    return;
  }
  *x = pointOfPixel(shown.x, shown.w, pictureW, px);
  *y = pointOfPixel(shown.y, shown.h, pictureH, py);
}

int hostOpeningScale(int desktopW, int desktopH, int pictureW, int pictureH) {
  if (pictureW <= 0 || pictureH <= 0) return 1;
  int scale = std::min(desktopH * 3 / 4 / pictureH, desktopW / pictureW);
  return std::max(1, scale);
}
