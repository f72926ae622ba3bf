#include <algorithm>
#include <string>
#include <vector>

#include "draw/text.h"
#include "sheets/sheets.h"

void place(Layer &sheet, Layer sprite, Rect r) {
  sprite.clearOutside({1, 1, r.w() - 1, r.h() - 1});
  sheet.draw(sprite, r.x1, r.y1);
}

void placeMask(Layer &sheet, const Mask &m, Rect r, const Paint &paint) {
  sheet.fillMask(m, r.x1 + (r.w() - m.w) / 2, r.y1 + (r.h() - m.h) / 2, paint);
}

void placeDigits(Layer &sheet, const Glyph *glyphs, int count, int rowTop, int rowBottom,
                 float capHeight, int left, const Paint &paint) {
  const int room = rowBottom - rowTop - 2;
  std::vector<Lettering> digits;
  int above = 0, below = 0; // the tallest ink over the baseline, the deepest under it
  for (float h = capHeight; h > 1; h -= 0.5f) {
    digits.clear();
    above = below = 0;
    for (int i = 0; i < count; ++i) {
      const Glyph &g = glyphs[i];
      digits.push_back(
          letteringFit(Face::Bold, h, std::string(1, g.letter), g.x2 - 1 - g.x1 - left));
      above = std::max(above, digits.back().baseline);
      below = std::max(below, digits.back().ink.h - digits.back().baseline);
    }
    if (above + below <= room) break;
  }
  const int baseline = rowTop + 1 + (room - above - below) / 2 + above;
  for (int i = 0; i < count; ++i) {
    const Glyph &g = glyphs[i];
    const Mask &m = digits[i].ink;
    const int x1 = g.x1 + left, w = g.x2 - 1 - x1;
    sheet.fillMask(m, x1 + (w - m.w) / 2, baseline - digits[i].baseline, paint);
  }
}
