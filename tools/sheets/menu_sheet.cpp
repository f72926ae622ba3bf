// The menu sheet: the title background, the split title, the items, the options labels,
// the high-score font, the bottom line and the mouse pointer.
#include <algorithm>
#include <cmath>
#include <string>

#include "draw/shapes.h"
#include "draw/text.h"
#include "sheets/sheets.h"

using namespace menu;

namespace {
// A mask painted with a halo of blurred light under it, in a layer of the given size.
Layer glowingText(int w, int h, const Mask &m, int ox, int oy, const Paint &face, Color halo,
                  int blur) {
  Layer l(w, h);
  l.addMask(blurred(m, blur, 2 * blur), ox - 2 * blur, oy - 2 * blur, solid(halo));
  l.fillMask(m, ox, oy, face);
  return l;
}

// "ZYPHORA" across both title strips: the cut at the strips' border splits the letters,
// so the halves meet as they slide in from either side.
Layer title() {
  Rect all{kTitleTop.x1, kTitleTop.y1, kTitleBottom.x2, kTitleBottom.y2};
  Mask m = textMaskFit(Face::Bold, 104, "ZYPHORA", all.w() - 40, 4);
  int ox = (all.w() - m.w) / 2, oy = (all.h() - m.h) / 2;
  float top = float(oy), split = float(kTitleBottom.y1 - all.y1), bottom = float(oy + m.h);
  Paint chrome = [=](float, float y) {
    if (y < split)
      return mix(rgb(0.75f, 0.95f, 1), rgb(0.15f, 0.35f, 0.95f), (y - top) / (split - top));
    return mix(rgb(1, 0.85f, 1), rgb(0.55f, 0.1f, 0.6f), (y - split) / (bottom - split));
  };
  Layer l(all.w(), all.h());
  Mask halo = blurred(m, 5, 12);
  l.addMask(halo, ox - 12, oy - 12, solid(rgb(0.35f, 0.3f, 1, 0.9f)));
  Mask edge = blurred(m, 1, 2);
  l.fillMask(edge, ox - 2, oy - 2, solid(rgb(0.02f, 0.02f, 0.12f, 0.9f)));
  l.fillMask(m, ox, oy, chrome);
  // A bright seam just above the cut, like light on a polished edge.
  for (int x = 0; x < l.width(); ++x)
    for (int y = int(split) - 3; y < int(split); ++y) {
      Color c = l.premul(x, y);
      if (c.a > 0.5f)
        l.setPremul(x, y,
                    {std::min(c.a, c.r + 0.35f * c.a), std::min(c.a, c.g + 0.35f * c.a), c.b, c.a});
    }
  return l;
}

Layer item(const std::string &word, Rect band, bool lit) {
  Mask m = textMaskFit(Face::Bold, lit ? 16 : 15, word, band.w() - 16, 1.5f);
  int ox = (band.w() - m.w) / 2, oy = (band.h() - m.h) / 2;
  if (lit)
    return glowingText(
        band.w(), band.h(), m, ox, oy,
        linear({0, float(oy)}, rgb(1, 1, 0.85f), {0, float(oy + m.h)}, rgb(1, 0.7f, 0.15f)),
        rgb(1, 0.55f, 0.1f, 0.9f), 2);
  return glowingText(
      band.w(), band.h(), m, ox, oy,
      linear({0, float(oy)}, rgb(0.85f, 0.92f, 1), {0, float(oy + m.h)}, rgb(0.4f, 0.6f, 1)),
      rgb(0.1f, 0.2f, 0.8f, 0.6f), 1);
}

// An options label: the words laid bottom to top so that a 270-degree turn on screen reads them
// left to right, starting at the strip's bottom (the left once turned).
Layer label(const std::string &text, Rect r, float capHeight, bool lit) {
  Mask m = rotatedLeft(textMaskFit(Face::Bold, capHeight, text, r.h() - 8, 1));
  int ox = (r.w() - m.w) / 2, oy = r.h() - 4 - m.h;
  if (lit)
    return glowingText(r.w(), r.h(), m, ox, oy, solid(rgb(1, 0.9f, 0.5f)), rgb(1, 0.5f, 0.1f), 2);
  return glowingText(r.w(), r.h(), m, ox, oy, solid(rgb(0.85f, 0.93f, 1)),
                     rgb(0.1f, 0.3f, 0.9f, 0.5f), 1);
}

// A label of the controls panel, read as drawn: the menu items' glow at the labels' size.
Layer flatLabel(const std::string &text, Rect r, float capHeight, bool lit) {
  Mask m = textMaskFit(Face::Bold, capHeight, text, r.w() - 8, 1);
  int ox = (r.w() - m.w) / 2, oy = (r.h() - m.h) / 2;
  if (lit)
    return glowingText(r.w(), r.h(), m, ox, oy, solid(rgb(1, 0.9f, 0.5f)), rgb(1, 0.5f, 0.1f), 2);
  return glowingText(r.w(), r.h(), m, ox, oy, solid(rgb(0.85f, 0.93f, 1)),
                     rgb(0.1f, 0.3f, 0.9f, 0.5f), 1);
}

// The options panel's way in: its label with an arrow pointing on, as Right opens the panel.
Layer controlsLabel(Rect r, bool lit) {
  Layer l = flatLabel("CONTROLS", {0, 0, r.w() - 14, r.h()}, 11, lit);
  Layer out(r.w(), r.h());
  out.draw(l, 0, 0);
  float cx = r.w() - 14.f, cy = r.h() / 2.f;
  auto arrow = polygon({{cx, cy - 5}, {cx + 7, cy}, {cx, cy + 5}});
  out.glow(arrow, lit ? rgb(1, 0.5f, 0.1f) : rgb(0.1f, 0.3f, 0.9f, 0.5f), 1.5f);
  out.fill(arrow, solid(lit ? rgb(1, 0.9f, 0.5f) : rgb(0.85f, 0.93f, 1)));
  return out;
}

void controlsPanel(Layer &sheet) {
  place(sheet, controlsLabel(kLabelControls, false), kLabelControls);
  place(sheet, controlsLabel(kLabelControlsLit, true), kLabelControlsLit);
  const char *actions[6] = {"UP", "DOWN", "LEFT", "RIGHT", "FIRE", "PAUSE"};
  for (int i = 0; i < 6; ++i)
    place(sheet, flatLabel(actions[i], kActionLabels[i], 11, false), kActionLabels[i]);
  place(sheet, flatLabel("DEFAULTS", kLabelDefaults, 11, false), kLabelDefaults);
  place(sheet, flatLabel("DEFAULTS", kLabelDefaultsLit, 11, true), kLabelDefaultsLit);
  place(sheet, flatLabel("BACK", kLabelBack, 11, false), kLabelBack);
  place(sheet, flatLabel("BACK", kLabelBackLit, 11, true), kLabelBackLit);
  Paint face = linear({0, float(kKeyRowTop + 3)}, rgb(1, 1, 1), {0, float(kKeyRowBottom - 3)},
                      rgb(0.6f, 0.85f, 1));
  placeDigits(sheet, kKeyFont, kKeyGlyphs, kKeyRowTop, kKeyRowBottom, 10, 1, face);
}

// The table's digits on one baseline, and its dot.
void scoreFont(Layer &sheet) {
  Paint face = linear({0, float(kScoreRowTop + 3)}, rgb(1, 1, 1), {0, float(kScoreRowBottom - 3)},
                      rgb(0.5f, 0.8f, 1));
  placeDigits(sheet, kScoreFont, 10, kScoreRowTop, kScoreRowBottom, 13, 1, face);
  const Glyph &dot = kScoreFont[10];
  sheet.fill(circle((dot.x1 + dot.x2) / 2.f, kScoreRowBottom - 4.5f, 1.5f), face);
}

// The mouse pointer: an arrow whose tip is at (6, 6) of its rectangle.
Layer pointer() {
  Layer l(kPointer.w(), kPointer.h());
  auto arrow =
      polygon({{6, 6}, {6, 28}, {11.5f, 23}, {15.5f, 32}, {19, 30.5f}, {15, 21.5f}, {22, 21.5f}});
  l.glow(arrow, rgb(0.2f, 0.6f, 1, 0.8f), 1.6f);
  l.fill(grown(arrow, 1), solid(rgb(0.02f, 0.05f, 0.15f)));
  l.fill(arrow, linear({6, 6}, rgb(1, 1, 1), {16, 30}, rgb(0.5f, 0.8f, 1)));
  return l;
}
} // namespace

Layer drawMenuSheet() {
  Layer sheet(kSize, kSize);
  sheet.draw(spaceScene(kBackground.w(), {5, rgb(0.3f, 0.3f, 1), rgb(0.9f, 0.25f, 0.6f),
                                          rgb(0.03f, 0.03f, 0.09f), 0.85f, 700}),
             0, 0);
  place(sheet, title(), {kTitleTop.x1, kTitleTop.y1, kTitleBottom.x2, kTitleBottom.y2});
  const char *words[4] = {"PLAY", "OPTIONS", "HIGH SCORES", "QUIT"};
  for (int i = 0; i < 4; ++i) {
    Rect band = kItemInk[i];
    place(sheet, item(words[i], band, false), band);
    place(sheet, item(words[i], band, true),
          {band.x1, band.y1 + kHighlightShift, band.x2, band.y2 + kHighlightShift});
  }
  place(sheet, label("EFFECTS VOLUME", kLabelEffects, 11, false), kLabelEffects);
  place(sheet, label("MUSIC VOLUME", kLabelMusic, 10, false), kLabelMusic);
  Rect reset{kLabelReset.x1 + 1, kLabelReset.y1, kLabelReset.x2,
             kLabelReset.y2}; // keep clear of the shared column
  place(sheet, label("RESET HIGH SCORES", reset, 11, false), reset);
  place(sheet, label("RESET HIGH SCORES", kLabelResetLit, 11, true), kLabelResetLit);
  scoreFont(sheet);
  placeMask(sheet, pixelText("ARROWS MOVE - SPACE FIRES - P PAUSES - ESC LEAVES"), kBottomLine,
            solid(rgb(0.8f, 0.9f, 1)));
  place(sheet, pointer(), kPointer);
  controlsPanel(sheet);
  return sheet;
}
