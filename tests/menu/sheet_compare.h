// Reading a screen against the menu sheet it is cut from.
#ifndef SHEET_COMPARE_H
#define SHEET_COMPARE_H

#include <cstdlib>

#include "ScriptedGame.h"

// Pixels of the screen rectangle (x0, y0)-(x1, y1) that differ by more than 2 in a channel
// from the sheet's pixels at the same place shifted by (sx - x0, sy - y0); only opaque sheet
// pixels count, since the others are mixed with what lies below.
inline int differingFromSheet(const Frame &frame, const Frame &sheet, int x0, int y0, int x1,
                              int y1, int sx, int sy) {
  int differing = 0;
  for (int y = y0; y < y1; y++) {
    for (int x = x0; x < x1; x++) {
      const int u = sx + x - x0, v = sy + y - y0;
      if (sheet.alpha(u, v) != 255) continue;
      differing += std::abs(frame.red(x, y) - sheet.red(u, v)) > 2 ||
                   std::abs(frame.green(x, y) - sheet.green(u, v)) > 2 ||
                   std::abs(frame.blue(x, y) - sheet.blue(u, v)) > 2;
    }
  }
  return differing;
}

#endif
