// The arithmetic of scaled windows: where the picture shows, and points carried both ways.
#include "host_scale.h"

#include <algorithm>

namespace {

// Division rounding toward minus infinity: bar points left of or above the picture map to
// negative pixels, not to pixel 0.
long floorDiv(long a, long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

} // namespace

HostRect hostPictureRect(int windowW, int windowH, int pictureW, int pictureH) {
  if (windowW <= 0 || windowH <= 0 || pictureW <= 0 || pictureH <= 0) return {0, 0, 0, 0};
  int w, h;
  int multiple = std::min(windowW / pictureW, windowH / pictureH);
  if (multiple >= 1) {
    w = pictureW * multiple;
    h = pictureH * multiple;
  } else if ((long)windowW * pictureH <= (long)windowH * pictureW) {
    // Narrower than the picture's shape: the width decides.
    w = windowW;
    h = std::max(1, (int)((long)pictureH * windowW / pictureW));
  } else {
    h = windowH;
    w = std::max(1, (int)((long)pictureW * windowH / pictureH));
  }
  return {(windowW - w) / 2, (windowH - h) / 2, w, h};
}

bool hostWholeMultiple(const HostRect &shown, int pictureW, int pictureH) {
  return pictureW > 0 && pictureH > 0 && shown.w >= pictureW && shown.w % pictureW == 0 &&
         shown.h % pictureH == 0 && shown.w / pictureW == shown.h / pictureH;
}

void hostWindowToPicture(const HostRect &shown, int pictureW, int pictureH, int x, int y, int *px, int *py) {
  if (shown.w <= 0 || shown.h <= 0) {
    *px = x;
    *py = y;
    return;
  }
  *px = (int)floorDiv((long)(x - shown.x) * pictureW, shown.w);
  *py = (int)floorDiv((long)(y - shown.y) * pictureH, shown.h);
}

void hostPictureToWindow(const HostRect &shown, int pictureW, int pictureH, int px, int py, int *x, int *y) {
  if (pictureW <= 0 || pictureH <= 0) {
    *x = px;
    *y = py;
    return;
  }
  *x = shown.x + (int)floorDiv((2L * px + 1) * shown.w, 2L * pictureW);
  *y = shown.y + (int)floorDiv((2L * py + 1) * shown.h, 2L * pictureH);
}

int hostOpeningScale(int desktopW, int desktopH, int pictureW, int pictureH) {
  if (pictureW <= 0 || pictureH <= 0) return 1;
  int scale = std::min(desktopH * 3 / 4 / pictureH, desktopW / pictureW);
  return std::max(1, scale);
}
