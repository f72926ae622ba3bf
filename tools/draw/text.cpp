#include "draw/text.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <stdexcept>

static const char *fontFile(Face face) {
  switch (face) {
  case Face::Bold: return ZYART_FONT_DIR "/DejaVuSans-Bold.ttf";
  case Face::Condensed: return ZYART_FONT_DIR "/DejaVuSansCondensed-Bold.ttf";
  case Face::Mono: return ZYART_FONT_DIR "/DejaVuSansMono-Bold.ttf";
  }
  return "";
}

namespace {
// One FreeType library for the run; faces are opened per call (there are few calls).
struct FreeType {
  FT_Library lib = nullptr;
  FreeType() {
    if (FT_Init_FreeType(&lib)) throw std::runtime_error("FreeType did not start");
  }
  ~FreeType() { FT_Done_FreeType(lib); }
};
FreeType &freetype() {
  static FreeType ft;
  return ft;
}
} // namespace

// Renders at 64 pixels per em scaled by `scale`, onto a generous canvas, then crops to the ink.
static Lettering render(Face face, float pixelsPerEm, float xScale, float spacing,
                        const std::string &text) {
  FT_Face f;
  if (FT_New_Face(freetype().lib, fontFile(face), 0, &f))
    throw std::runtime_error(std::string("missing font ") + fontFile(face));
  FT_Set_Char_Size(f, 0, FT_F26Dot6(std::lround(pixelsPerEm * 64)), 72, 72);
  FT_Matrix m{FT_Fixed(std::lround(xScale * 65536)), 0, 0, 0x10000};
  FT_Set_Transform(f, &m, nullptr);

  int W = int(pixelsPerEm * (text.size() + 2) * 1.2f) + 8, H = int(pixelsPerEm * 2) + 8;
  Mask canvas{W, H, std::vector<float>(size_t(W) * H, 0.f)};
  float pen = 4;
  int base = int(pixelsPerEm * 1.4f);
  for (unsigned char ch : text) {
    if (FT_Load_Char(f, ch, FT_LOAD_RENDER | FT_LOAD_NO_HINTING)) continue;
    FT_GlyphSlot g = f->glyph;
    int ox = int(std::lround(pen)) + g->bitmap_left, oy = base - g->bitmap_top;
    for (unsigned y = 0; y < g->bitmap.rows; ++y)
      for (unsigned x = 0; x < g->bitmap.width; ++x) {
        int tx = ox + int(x), ty = oy + int(y);
        if (tx < 0 || ty < 0 || tx >= W || ty >= H) continue;
        float &v = canvas.v[ty * W + tx];
        v = std::min(1.f, v + g->bitmap.buffer[y * g->bitmap.pitch + x] / 255.f);
      }
    pen += g->advance.x / 64.f + spacing;
  }
  FT_Done_Face(f);

  int x0 = W, y0 = H, x1 = -1, y1 = -1;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (canvas.v[y * W + x] > 0.02f) {
        x0 = std::min(x0, x), x1 = std::max(x1, x), y0 = std::min(y0, y), y1 = std::max(y1, y);
      }
  if (x1 < 0) return {};
  Lettering out{{x1 - x0 + 1, y1 - y0 + 1, {}}, base - y0};
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x)
      out.ink.v.push_back(canvas.v[y * W + x] > 0.02f ? canvas.v[y * W + x] : 0.f);
  return out;
}

// The capital H of DejaVu is 0.729 em tall.
static Lettering lettering(Face face, float capHeight, const std::string &text, float xScale,
                           float spacing) {
  return render(face, capHeight / 0.729f, xScale, spacing, text);
}

Mask textMask(Face face, float capHeight, const std::string &text, float xScale, float spacing) {
  return lettering(face, capHeight, text, xScale, spacing).ink;
}

Lettering letteringFit(Face face, float capHeight, const std::string &text, int maxWidth,
                       float spacing) {
  float xs = 1;
  Lettering l = lettering(face, capHeight, text, xs, spacing);
  while (l.ink.w > maxWidth && xs > 0.3f) {
    xs *= std::max(0.5f, std::min(0.98f, float(maxWidth) / l.ink.w));
    l = lettering(face, capHeight, text, xs, spacing * xs);
  }
  return l;
}

Mask textMaskFit(Face face, float capHeight, const std::string &text, int maxWidth, float spacing) {
  return letteringFit(face, capHeight, text, maxWidth, spacing).ink;
}

// Five rows per glyph, '#' for ink.
static const std::map<char, const char *> &pixelGlyphs() {
  static const std::map<char, const char *> g = {
      {'A', ".#.|#.#|###|#.#|#.#"},
      {'B', "##.|#.#|##.|#.#|##."},
      {'C', ".##|#..|#..|#..|.##"},
      {'D', "##.|#.#|#.#|#.#|##."},
      {'E', "###|#..|##.|#..|###"},
      {'F', "###|#..|##.|#..|#.."},
      {'G', ".##|#..|#.#|#.#|.##"},
      {'H', "#.#|#.#|###|#.#|#.#"},
      {'I', "#|#|#|#|#"},
      {'J', "..#|..#|..#|#.#|.#."},
      {'K', "#.#|#.#|##.|#.#|#.#"},
      {'L', "#..|#..|#..|#..|###"},
      {'M', "#...#|##.##|#.#.#|#...#|#...#"},
      {'N', "#..#|##.#|#.##|#..#|#..#"},
      {'O', ".#.|#.#|#.#|#.#|.#."},
      {'P', "##.|#.#|##.|#..|#.."},
      {'Q', ".#.|#.#|#.#|##.|.##"},
      {'R', "##.|#.#|##.|#.#|#.#"},
      {'S', ".##|#..|.#.|..#|##."},
      {'T', "###|.#.|.#.|.#.|.#."},
      {'U', "#.#|#.#|#.#|#.#|###"},
      {'V', "#.#|#.#|#.#|#.#|.#."},
      {'W', "#...#|#...#|#.#.#|##.##|#...#"},
      {'X', "#.#|#.#|.#.|#.#|#.#"},
      {'Y', "#.#|#.#|.#.|.#.|.#."},
      {'Z', "###|..#|.#.|#..|###"},
      {'0', "###|#.#|#.#|#.#|###"},
      {'1', ".#|##|.#|.#|.#"},
      {'2', "##.|..#|.#.|#..|###"},
      {'3', "##.|..#|.#.|..#|##."},
      {'4', "#.#|#.#|###|..#|..#"},
      {'5', "###|#..|##.|..#|##."},
      {'6', ".##|#..|###|#.#|###"},
      {'7', "###|..#|.#.|.#.|.#."},
      {'8', "###|#.#|###|#.#|###"},
      {'9', "###|#.#|###|..#|##."},
      {'-', "..|..|##|..|.."},
      {'.', ".|.|.|.|#"},
      {' ', "..|..|..|..|.."},
  };
  return g;
}

Mask pixelText(const std::string &text) {
  std::vector<std::string> rows(5);
  for (char ch : text) {
    auto it = pixelGlyphs().find(ch);
    if (it == pixelGlyphs().end()) continue;
    std::string glyph = it->second;
    size_t start = 0;
    for (int r = 0; r < 5; ++r) {
      size_t bar = glyph.find('|', start);
      rows[r] +=
          glyph.substr(start, bar == std::string::npos ? std::string::npos : bar - start) + ".";
      start = bar + 1;
    }
  }
  Mask m{int(rows[0].size()) - 1, 5, {}};
  for (auto &row : rows)
    for (int x = 0; x < m.w; ++x) m.v.push_back(row[x] == '#' ? 1.f : 0.f);
  return m;
}
