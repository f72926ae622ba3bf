// The window icon: the ship over a glowing violet disc.
#include <algorithm>
#include <cmath>

#include "draw/shapes.h"
#include "sheets/sheets.h"

Layer drawIcon()
{
    Layer icon(kIconSize, kIconSize);
    float c = kIconSize / 2.f;
    icon.fill(circle(c, c, 30), radial({c - 6, c - 8}, 34, rgb(0.3f, 0.25f, 0.7f), rgb(0.04f, 0.03f, 0.15f)));
    icon.fill(ring(circle(c, c, 29.5f), 1.2f), solid(rgb(0.6f, 0.5f, 1)));
    Layer sheet = drawSpriteSheet();
    Rect s = sprites::kShip;
    // The ship at 1.6 times its size, sampled bilinearly.
    const float k = 1.6f;
    Layer ship(int(s.w() * k), int(s.h() * k));
    for (int y = 0; y < ship.height(); ++y)
        for (int x = 0; x < ship.width(); ++x) {
            float fx = s.x1 + (x + 0.5f) / k - 0.5f, fy = s.y1 + (y + 0.5f) / k - 0.5f;
            int ix = int(std::floor(fx)), iy = int(std::floor(fy));
            float tx = fx - ix, ty = fy - iy;
            auto at = [&](int px, int py) { return sheet.premul(std::clamp(px, s.x1, s.x2 - 1), std::clamp(py, s.y1, s.y2 - 1)); };
            Color top = mix(at(ix, iy), at(ix + 1, iy), tx), bottom = mix(at(ix, iy + 1), at(ix + 1, iy + 1), tx);
            ship.setPremul(x, y, mix(top, bottom, ty));
        }
    icon.draw(ship, int(c - ship.width() / 2.f), int(c - ship.height() / 2.f) + 1);
    return icon;
}
