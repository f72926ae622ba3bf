// Text as coverage masks: outline fonts through FreeType, and a crisp pixel font for tiny labels.
#pragma once
#include <string>

#include "draw/layer.h"

enum class Face { Bold, Condensed, Mono };

// The text's ink, cropped tight, with its capitals `capHeight` pixels tall.
// xScale < 1 narrows the letters; spacing adds pixels between letters.
Mask textMask(Face face, float capHeight, const std::string &text, float xScale = 1,
              float spacing = 0);
// The same, narrowed further if needed so it is at most maxWidth wide.
Mask textMaskFit(Face face, float capHeight, const std::string &text, int maxWidth,
                 float spacing = 0);

// Text ink with the row it stands on: `baseline` rows of ink lie above it, the rest below.
struct Lettering {
  Mask ink;
  int baseline = 0;
};
Lettering letteringFit(Face face, float capHeight, const std::string &text, int maxWidth,
                       float spacing = 0);

// The pixel font: capitals, digits, space, '-' and '.', five pixels tall, one pixel apart.
Mask pixelText(const std::string &text);
