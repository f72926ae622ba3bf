// Previews for the artist's eye: the sheets as PNG and a mock-up frame of play, composed the
// way the game composes it (background lit around the ship, aliens added, the rest blended).
#include <algorithm>
#include <cmath>

#include "draw/image_io.h"
#include "generate.h"
#include "sheets/sheets.h"

namespace {
enum class Blend { Normal, Add };

void blit(Layer &frame, const Layer &sheet, Rect r, int dx, int dy, Blend mode, float opacity = 1) {
  for (int y = 0; y < r.h(); ++y)
    for (int x = 0; x < r.w(); ++x) {
      int tx = dx + x, ty = dy + y;
      if (tx < 0 || ty < 0 || tx >= frame.width() || ty >= frame.height()) continue;
      Color s = sheet.get(r.x1 + x, r.y1 + y), d = frame.premul(tx, ty);
      float a = s.a * opacity;
      if (mode == Blend::Add)
        d = {std::min(1.f, d.r + s.r * a), std::min(1.f, d.g + s.g * a),
             std::min(1.f, d.b + s.b * a), 1};
      else
        d = {s.r * a + d.r * (1 - a), s.g * a + d.g * (1 - a), s.b * a + d.b * (1 - a), 1};
      frame.setPremul(tx, ty, d);
    }
}

// The background through the game's lighting: 32-pixel cells, each lit by its top-left corner.
Layer litBackground(const Layer &bg, float shipX, float shipY, float floor) {
  Layer frame(480, 480);
  float ex = shipX + 16, ey = shipY + 16;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 480; ++x) {
      float cx = float(x / 32 * 32), cy = float(y / 32 * 32);
      float light =
          std::clamp(1 - ((ex - cx) * (ex - cx) + (ey - cy) * (ey - cy)) / 40000.f, floor, 1.f);
      Color c = bg.get(x, y);
      frame.setPremul(x, y, {c.r * light, c.g * light, c.b * light, 1});
    }
  return frame;
}

Layer mockup(float floor) {
  using namespace sprites;
  Layer sheet = drawSpriteSheet(), bg = drawBackground(0);
  const float shipX = 225, shipY = 320;
  Layer f = litBackground(bg, shipX, shipY, floor);
  const int spots[12][2] = {{40, 40},   {190, 30},  {360, 50}, {60, 200},  {140, 150}, {250, 150},
                            {330, 200}, {400, 150}, {80, 330}, {180, 250}, {300, 280}, {380, 330}};
  for (int k = 0; k < 12; ++k) blit(f, sheet, kAliens[k], spots[k][0], spots[k][1], Blend::Add);
  blit(f, sheet, kShip, int(shipX), int(shipY), Blend::Normal);
  for (int i = 0; i < 4; ++i)
    blit(f, sheet, kShipShot, int(shipX) + 15, int(shipY) - 20 - 40 * i, Blend::Normal);
  for (int i = 0; i < 3; ++i)
    blit(f, sheet, kAlienShots[i], 120 + 60 * i, 400 - 20 * i, Blend::Normal);
  for (int i = 0; i < 4; ++i) blit(f, sheet, kBonuses[i], 40 + 40 * i, 420, Blend::Normal);
  for (int i = 0; i < 20; ++i)
    blit(f, sheet, kExhaust, int(shipX) + 13, int(shipY) + 12 + i * 2, Blend::Add, 1 - i / 20.f);
  blit(f, sheet, kLabelSpeed, 330, 400, Blend::Add);
  // The score "12340" centred at the top, digits overlapping by one pixel, at opacity 0.5.
  const char *score = "12340";
  int width = 0;
  for (const char *c = score; *c; ++c)
    width += kScoreDigits[*c - '0'].x2 - kScoreDigits[*c - '0'].x1 - 1;
  int pen = (480 - width) / 2;
  for (const char *c = score; *c; ++c) {
    const Glyph &g = kScoreDigits[*c - '0'];
    blit(f, sheet, {g.x1, kScoreRowTop, g.x2, kScoreRowBottom}, pen, 0, Blend::Normal, 0.5f);
    pen += g.x2 - g.x1 - 1;
  }
  pen = 200;
  for (char c : std::string("150")) {
    const Glyph &g = kFloatDigits[c - '0'];
    blit(f, sheet, {g.x1, kFloatRowTop, g.x2, kFloatRowBottom}, pen, 110, Blend::Normal);
    pen += g.x2 - g.x1;
  }
  blit(f, sheet, kShieldFrame, 353, 456, Blend::Normal, 0.6f);
  for (int i = 0; i < 7; ++i) blit(f, sheet, kShieldPip, 415 + 6 * i, 457, Blend::Normal, 0.6f);
  blit(f, sheet, kTimeFrame, 0, 468, Blend::Normal, 0.6f);
  blit(f, sheet, {kTimeBar.x1, kTimeBar.y1, kTimeBar.x1 + 110, kTimeBar.y2}, 0, 470, Blend::Normal,
       0.6f);
  blit(f, sheet, kLevel, 211, 230, Blend::Normal);
  return f;
}

// A rectangle drawn turned by 270 degrees counter-clockwise (a quarter clockwise) about the
// centre of its destination, as the options panel draws its labels.
void blitTurned270(Layer &frame, const Layer &sheet, Rect r, int dx, int dy) {
  float cx = dx + r.w() / 2.f, cy = dy + r.h() / 2.f;
  float half = std::max(r.w(), r.h()) / 2.f;
  Layer turned(frame.width(), frame.height());
  for (int y = int(cy - half); y < int(cy + half); ++y)
    for (int x = int(cx - half); x < int(cx + half); ++x) {
      float u = (y + 0.5f - cy), v = -(x + 0.5f - cx); // the sprite offset that lands here
      int sx = int(std::floor(r.x1 + r.w() / 2.f + u)),
          sy = int(std::floor(r.y1 + r.h() / 2.f + v));
      if (sx < r.x1 || sy < r.y1 || sx >= r.x2 || sy >= r.y2 || x < 0 || y < 0 || x >= 480 ||
          y >= 480)
        continue;
      Color c = sheet.get(sx, sy), d = frame.premul(x, y);
      frame.setPremul(x, y,
                      {c.r * c.a + d.r * (1 - c.a), c.g * c.a + d.g * (1 - c.a),
                       c.b * c.a + d.b * (1 - c.a), 1});
    }
}

// The options panel over the menu background, as the game draws it.
Layer optionsMockup() {
  using namespace menu;
  Layer sheet = drawMenuSheet(), f(480, 480);
  blit(f, sheet, kBackground, 0, 0, Blend::Normal);
  blitTurned270(f, sheet, kLabelEffects, 200, 60);
  blitTurned270(f, sheet, kLabelMusic, 205, 100);
  blitTurned270(f, sheet, kLabelResetLit, 214, 125);
  for (int i = 0; i < 10; ++i)
    for (int row : {174, 216})
      for (int y = row; y < row + 10; ++y)
        for (int x = 115 + 15 * i; x < 123 + 15 * i; ++x) f.setPremul(x, y, {1, 1, 1, 1});
  return f;
}

// The menu screen as the game first shows it, with the high-score table.
Layer menuMockup() {
  using namespace menu;
  Layer sheet = drawMenuSheet(), f(480, 480);
  blit(f, sheet, kBackground, 0, 0, Blend::Normal);
  blit(f, sheet, kTitleTop, 0, 0, Blend::Normal);
  blit(f, sheet, kTitleBottom, 0, 99, Blend::Normal);
  for (int i = 0; i < 4; ++i) {
    Rect r = kItems[i];
    int shift = i == 2 ? kHighlightShift : 0;
    blit(f, sheet, {r.x1, r.y1 + shift, r.x2, r.y2 + shift}, 158, 310 + 27 * i + (i > 1 ? 2 : 0),
         Blend::Normal);
  }
  // The high-score table, row 1.
  int pen = 148;
  for (char c : std::string("1................003000")) {
    for (const Glyph &g : kScoreFont)
      if (g.letter == c) {
        blit(f, sheet, {g.x1, kScoreRowTop, g.x2, kScoreRowBottom}, pen, 150, Blend::Normal);
        pen += g.x2 - g.x1;
        if (pen > 240 && pen < 248) pen = 248;
      }
  }
  blit(f, sheet, kBottomLine, 109, 468, Blend::Normal, 0.5f);
  blit(f, sheet, kPointer, 300, 250, Blend::Normal);
  return f;
}
} // namespace

bool writePreviews(const std::string &dir) {
  bool ok = writePng(dir + "/menu.png", drawMenuSheet());
  ok = writePng(dir + "/sprites.png", drawSpriteSheet()) && ok;
  ok = writePng(dir + "/background1.png", drawBackground(0)) && ok;
  ok = writePng(dir + "/background2.png", drawBackground(1)) && ok;
  ok = writePng(dir + "/icon.png", drawIcon()) && ok;
  ok = writePng(dir + "/mockup_light40.png", mockup(0.4f)) && ok;
  ok = writePng(dir + "/mockup_light100.png", mockup(1.0f)) && ok;
  ok = writePng(dir + "/menu_screen.png", menuMockup()) && ok;
  ok = writePng(dir + "/options_screen.png", optionsMockup()) && ok;
  return ok;
}
