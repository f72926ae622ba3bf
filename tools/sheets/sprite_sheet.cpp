// The sprite sheet: aliens, the ship and its shots, bonuses, labels, digits and gauges.
#include <cmath>
#include <string>

#include "draw/figure.h"
#include "draw/shapes.h"
#include "draw/text.h"
#include "sheets/sheets.h"

using namespace sprites;

// The ship, nose up: a silver hull, swept wings with red tips, a cyan canopy, a hot nozzle.
Drawing shipDrawing() {
  float cx = kShip.w() / 2.f;
  Figure wings = polygonFigure({{cx, 9},
                                {cx + 15.5f, 24},
                                {cx + 15.5f, 28},
                                {cx + 5, 25},
                                {cx - 5, 25},
                                {cx - 15.5f, 28},
                                {cx - 15.5f, 24}});
  Figure hull = polygonFigure({{cx, 1.5f},
                               {cx + 4.5f, 12},
                               {cx + 5, 26},
                               {cx + 3, 29},
                               {cx - 3, 29},
                               {cx - 5, 26},
                               {cx - 4.5f, 12}});
  Drawing d = {
      {circleFigure({cx, 29.5f}, 2), solidFill(rgb(1, 0.6f, 0.2f)), 1.5f}, // the nozzle's light
      {wings, linearFill({cx, 10}, rgb(0.55f, 0.62f, 0.78f), {cx, 28}, rgb(0.2f, 0.25f, 0.4f))},
      {outlined(wings, 0.5f), solidFill(rgb(0.85f, 0.9f, 1))},
  };
  for (float s : {-1.f, 1.f}) {
    d.push_back({roundBoxFigure({cx + s * 14.5f, 22}, 1.3f, 6, 1),
                 solidFill(rgb(1, 0.25f, 0.2f))}); // wing tip
    d.push_back({capsuleFigure({cx + s * 4, 16}, {cx + s * 12, 23}, 0.5f),
                 solidFill(rgb(0.9f, 0.95f, 1, 0.7f))});
  }
  Drawing rest = {
      {hull, linearFill({cx - 5, 0}, rgb(0.95f, 0.97f, 1), {cx + 5, 0}, rgb(0.45f, 0.5f, 0.65f))},
      {outlined(hull, 0.45f), solidFill(rgb(0.3f, 0.35f, 0.5f))},
      {ellipseFigure({cx, 12}, 2.2f, 4.5f),
       linearFill({cx, 8}, rgb(0.7f, 1, 1), {cx, 16}, rgb(0.0f, 0.4f, 0.8f))},         // canopy
      {roundBoxFigure({cx, 29.5f}, 2.5f, 1.5f, 0.8f), solidFill(rgb(1, 0.85f, 0.4f))}, // nozzle
  };
  d.insert(d.end(), rest.begin(), rest.end());
  return d;
}

namespace {
Layer ship() {
  Layer l(kShip.w(), kShip.h());
  paint(l, shipDrawing());
  return l;
}

Layer shipShot() {
  Layer l(kShipShot.w(), kShipShot.h());
  l.glow(capsule({2.5f, 2}, {2.5f, 6}, 0.6f), rgb(0.3f, 0.9f, 1), 0.8f);
  l.fill(capsule({2.5f, 2}, {2.5f, 6}, 0.9f),
         linear({0, 1}, rgb(1, 1, 1), {0, 7}, rgb(0.3f, 0.9f, 1)));
  return l;
}

Layer exhaust() {
  Layer l(kExhaust.w(), kExhaust.h());
  l.fill(circle(4, 4, 3.3f),
         radial({4, 4}, 3.3f, rgb(1, 0.95f, 0.7f, 1), rgb(1, 0.4f, 0.05f, 0.1f)));
  return l;
}

// Alien shots: a red, a green and a violet plasma ball with a white core.
Layer alienShot(Color c) {
  Layer l(12, 12);
  l.glow(circle(6, 6, 2.5f), c, 1.3f);
  l.fill(circle(6, 6, 3), radial({6, 6}, 3, rgb(1, 1, 1), c));
  return l;
}

// Bonus badges: a round token with the bonus's own symbol.
Layer bonus(int kind) {
  Layer l(kBonuses[kind].w(), kBonuses[kind].h());
  float cx = l.width() / 2.f, cy = l.height() / 2.f;
  const Color rims[4] = {rgb(1, 0.45f, 0.15f), rgb(1, 0.9f, 0.2f), rgb(0.3f, 0.7f, 1),
                         rgb(0.8f, 0.3f, 1)};
  Color c = rims[kind];
  l.fill(circle(cx, cy, 8.3f), radial({cx - 2, cy - 2}, 10, scaled(c, 0.55f), scaled(c, 0.15f)));
  l.fill(ring(circle(cx, cy, 7.6f), 0.8f), solid(mix(c, rgb(1, 1, 1), 0.3f)));
  Color ink = rgb(1, 1, 0.92f);
  switch (kind) {
  case 0: // fire power: a flame
    l.fill(polygon({{cx, cy - 6},
                    {cx + 4, cy + 1},
                    {cx + 2.5f, cy + 5},
                    {cx - 2.5f, cy + 5},
                    {cx - 4, cy + 1}}),
           linear({cx, cy - 6}, rgb(1, 1, 0.5f), {cx, cy + 5}, rgb(1, 0.5f, 0.1f)));
    l.fill(ellipse(cx, cy + 2.5f, 1.5f, 2.3f), solid(ink));
    break;
  case 1: // speed: double chevrons
    for (float dy : {-2.5f, 2.f})
      l.fill(polygon({{cx, cy - 3 + dy},
                      {cx + 5, cy + 1.5f + dy},
                      {cx + 3, cy + 1.5f + dy},
                      {cx, cy - 1 + dy},
                      {cx - 3, cy + 1.5f + dy},
                      {cx - 5, cy + 1.5f + dy}}),
             solid(ink));
    break;
  case 2: // shield: a crest
    l.fill(polygon({{cx - 4.5f, cy - 5},
                    {cx + 4.5f, cy - 5},
                    {cx + 4.5f, cy},
                    {cx, cy + 5.5f},
                    {cx - 4.5f, cy}}),
           linear({cx, cy - 5}, ink, {cx, cy + 5}, rgb(0.5f, 0.8f, 1)));
    l.fill(capsule({cx, cy - 3.5f}, {cx, cy + 2.5f}, 0.6f), solid(rgb(0.2f, 0.5f, 0.9f)));
    break;
  default: // smart bomb: a round bomb with a lit fuse
    l.fill(circle(cx - 0.5f, cy + 1.5f, 4.2f),
           radial({cx - 2, cy}, 5, rgb(0.95f, 0.85f, 1), rgb(0.45f, 0.2f, 0.7f)));
    l.fill(capsule({cx + 2, cy - 2}, {cx + 4, cy - 4.5f}, 0.7f), solid(rgb(0.9f, 0.8f, 0.6f)));
    l.glow(circle(cx + 4.5f, cy - 5, 0.6f), rgb(1, 0.9f, 0.4f), 0.9f);
    break;
  }
  return l;
}

// Smart-bomb blast: a soft white-blue disc fading to nothing at its edge (it is zoomed up to 120x).
Layer bombFlash() {
  Layer l(kBombFlash.w(), kBombFlash.h());
  float cx = l.width() / 2.f, cy = l.height() / 2.f;
  l.fill(circle(cx, cy, 7.5f), [=](float x, float y) {
    float t = std::min(1.f, std::hypot(x - cx, y - cy) / 7.f);
    return rgb(1 - 0.3f * t, 1 - 0.1f * t, 1, (1 - t * t) * (1 - t * t));
  });
  return l;
}

// A gauge frame: a thin bright outline with darker glass inside.
Layer frame(Rect r, Color c) {
  Layer l(r.w(), r.h());
  float hw = r.w() / 2.f - 1.5f, hh = r.h() / 2.f - 1.5f;
  Sdf box = roundBox(r.w() / 2.f, r.h() / 2.f, hw, hh, std::min(hh, 3.f));
  l.fill(box, solid(rgb(0.05f, 0.1f, 0.2f, 0.55f)));
  l.fill(ring(grown(box, -0.5f), 0.5f), solid(c));
  return l;
}

Layer shieldFrame() {
  Layer l = frame(kShieldFrame, rgb(0.5f, 0.85f, 1));
  Mask word = pixelText("SHIELD");
  l.fillMask(word, 6, (l.height() - word.h) / 2, solid(rgb(0.8f, 0.95f, 1)));
  return l;
}

// One shield point: a slanted cyan bar; pips are laid every 6 pixels and overlap.
Layer shieldPip() {
  Layer l(kShieldPip.w(), kShieldPip.h());
  auto bar = polygon({{4.5f, 3}, {9, 3}, {7.5f, 20}, {3, 20}});
  l.fill(bar, linear({0, 3}, rgb(0.7f, 1, 1), {0, 20}, rgb(0.1f, 0.5f, 1)));
  l.fill(ring(bar, 0.4f), solid(rgb(0.0f, 0.2f, 0.4f, 0.8f)));
  return l;
}

// The level-time bar runs the frame's inner width: the game shows a cut from the left.
Layer timeBar() {
  Layer l(kTimeBar.w(), kTimeBar.h());
  for (int y = 1; y < l.height() - 1; ++y)
    for (int x = 3; x < l.width() - 3; ++x) {
      float t = float(x) / l.width(), v = 1 - std::fabs(y - 2.5f) / 3.f;
      Color c = mix(rgb(0.2f, 1, 0.5f), rgb(1, 0.85f, 0.2f), t);
      l.setPremul(x, y,
                  {c.r * (0.6f + 0.4f * v), c.g * (0.6f + 0.4f * v), c.b * (0.6f + 0.4f * v), 1});
    }
  return l;
}

// A word with a glow of its own colour and a bright gradient face.
void glowingWord(Layer &sheet, const Mask &m, Rect r, Color top, Color bottom, Color halo,
                 int blur) {
  Layer l(r.w(), r.h());
  int ox = (r.w() - m.w) / 2, oy = (r.h() - m.h) / 2;
  l.addMask(blurred(m, blur, 2 * blur), ox - 2 * blur, oy - 2 * blur, solid(halo));
  l.fillMask(m, ox, oy, linear({0, float(oy)}, top, {0, float(oy + m.h)}, bottom));
  place(sheet, l, r);
}

} // namespace

Layer drawSpriteSheet() {
  Layer sheet(kSize, kSize);
  for (int k = 0; k < 12; ++k) place(sheet, drawAlien(k), kAliens[k]);
  place(sheet, ship(), kShip);
  place(sheet, shipShot(), kShipShot);
  place(sheet, exhaust(), kExhaust);
  const Color shotColours[3] = {rgb(1, 0.2f, 0.15f), rgb(0.3f, 1, 0.2f), rgb(0.75f, 0.3f, 1)};
  for (int i = 0; i < 3; ++i) place(sheet, alienShot(shotColours[i]), kAlienShots[i]);
  for (int i = 0; i < 4; ++i) place(sheet, bonus(i), kBonuses[i]);
  placeMask(sheet, pixelText("FIRE POWER"), kLabelFirePower, solid(rgb(1, 0.6f, 0.3f)));
  placeMask(sheet, pixelText("SPEED"), kLabelSpeed, solid(rgb(1, 0.95f, 0.4f)));
  placeMask(sheet, pixelText("SHIELD"), kLabelShield, solid(rgb(0.5f, 0.85f, 1)));
  place(sheet, bombFlash(), kBombFlash);
  placeDigits(sheet, kScoreDigits, 10, kScoreRowTop, kScoreRowBottom, 14, 1,
              linear({0, float(kScoreRowTop + 2)}, rgb(1, 1, 1), {0, float(kScoreRowBottom - 2)},
                     rgb(0.55f, 0.85f, 1)));
  placeDigits(sheet, kFloatDigits, 10, kFloatRowTop, kFloatRowBottom, 8, 0,
              linear({0, float(kFloatRowTop + 2)}, rgb(1, 1, 0.7f), {0, float(kFloatRowBottom - 2)},
                     rgb(1, 0.75f, 0.2f)));
  place(sheet, shieldFrame(), kShieldFrame);
  place(sheet, shieldPip(), kShieldPip);
  place(sheet, frame(kTimeFrame, rgb(0.6f, 1, 0.7f)), kTimeFrame);
  place(sheet, timeBar(), kTimeBar);
  glowingWord(sheet, textMask(Face::Bold, 12, "LEVEL", 1, 1), kLevel, rgb(1, 1, 1),
              rgb(0.6f, 0.85f, 1), rgb(0.2f, 0.5f, 1, 0.8f), 1);
  glowingWord(sheet, textMaskFit(Face::Bold, 22, "GAME OVER", kGameOver.w() - 14, 2), kGameOver,
              rgb(1, 0.95f, 0.7f), rgb(1, 0.3f, 0.2f), rgb(1, 0.2f, 0.1f, 0.9f), 2);
  placeMask(sheet, pixelText("PAUSE"), kPause, solid(rgb(1, 1, 1)));
  return sheet;
}
