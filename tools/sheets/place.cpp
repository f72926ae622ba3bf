#include "sheets/sheets.h"

void place(Layer& sheet, Layer sprite, Rect r)
{
    sprite.clearOutside({1, 1, r.w() - 1, r.h() - 1});
    sheet.draw(sprite, r.x1, r.y1);
}

void placeMask(Layer& sheet, const Mask& m, Rect r, const Paint& paint)
{
    sheet.fillMask(m, r.x1 + (r.w() - m.w) / 2, r.y1 + (r.h() - m.h) / 2, paint);
}
