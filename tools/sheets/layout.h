// Where the game cuts its pictures from the sheets: left, top, right, bottom (right and bottom
// excluded). The drawing code paints into these rectangles and the sheet tests check them.
#pragma once

struct Rect {
  int x1, y1, x2, y2;
  int w() const { return x2 - x1; }
  int h() const { return y2 - y1; }
};

// A glyph strip of a font: a column range on rows shared by the whole font.
struct Glyph {
  char letter;
  int x1, x2;
};

namespace menu {
const int kSize = 1024;
const Rect kBackground = {0, 0, 480, 480};    // rippled by the menu mesh
const Rect kTitleTop = {0, 481, 480, 580};    // slides in from the left, drawn at y 0
const Rect kTitleBottom = {0, 580, 480, 622}; // slides in from the right, drawn at y 99
const int kHighlightShift = 117;              // highlighted item pictures lie this much lower
const Rect kItems[4] = {
    {481, 10, 643, 40},  // "PLAY"
    {481, 37, 643, 67},  // "OPTIONS"
    {481, 66, 643, 96},  // "HIGH SCORES"
    {481, 94, 643, 124}, // "QUIT"
};
// Items' own rows: the strips above overlap by a few rows, each word stays inside its band.
const Rect kItemInk[4] = {
    {481, 12, 643, 37},
    {481, 41, 643, 65},
    {481, 69, 643, 93},
    {481, 97, 643, 122},
};
// Option labels, drawn turned a quarter counter-clockwise (270 degrees) on screen.
const Rect kLabelEffects = {512, 248, 533, 453};
const Rect kLabelMusic = {534, 248, 552, 460};
const Rect kLabelReset = {551, 248, 571, 492}; // its first column is also the music label's last
const Rect kLabelResetLit = {572, 248, 598, 492};
const int kScoreRowTop = 530, kScoreRowBottom = 548; // high-score font rows
const Glyph kScoreFont[11] = {
    {'0', 491, 506}, {'1', 506, 521}, {'2', 520, 535}, {'3', 535, 550},
    {'4', 550, 565}, {'5', 565, 580}, {'6', 580, 595}, {'7', 595, 610},
    {'8', 610, 625}, {'9', 625, 640}, {'.', 483, 488},
};
const Rect kBottomLine = {309, 628, 575, 640};
const Rect kPointer = {598, 599, 630, 636}; // drawn at the mouse minus (6, 6): the tip is there
// The controls panel: its label on the options panel (plain, and lit under the pointer), the
// names of the six actions, its two buttons, and a small font for key names and hints.
const Rect kLabelControls = {660, 10, 820, 36};
const Rect kLabelControlsLit = {660, 40, 820, 66};
const Rect kActionLabels[6] = {
    {660, 70, 780, 96},   // "UP"
    {660, 96, 780, 122},  // "DOWN"
    {660, 122, 780, 148}, // "LEFT"
    {660, 148, 780, 174}, // "RIGHT"
    {660, 174, 780, 200}, // "FIRE"
    {660, 200, 780, 226}, // "PAUSE"
};
const Rect kLabelDefaults = {660, 240, 820, 266};
const Rect kLabelDefaultsLit = {660, 270, 820, 296};
const Rect kLabelBack = {830, 240, 940, 266};
const Rect kLabelBackLit = {830, 270, 940, 296};
const int kKeyRowTop = 660, kKeyRowBottom = 676; // key-name font rows; 12 columns a glyph
const int kKeyGlyphs = 49;
const Glyph kKeyFont[kKeyGlyphs] = {
    {'A', 0, 12},    {'B', 12, 24},    {'C', 24, 36},   {'D', 36, 48},   {'E', 48, 60},
    {'F', 60, 72},   {'G', 72, 84},    {'H', 84, 96},   {'I', 96, 108},  {'J', 108, 120},
    {'K', 120, 132}, {'L', 132, 144},  {'M', 144, 156}, {'N', 156, 168}, {'O', 168, 180},
    {'P', 180, 192}, {'Q', 192, 204},  {'R', 204, 216}, {'S', 216, 228}, {'T', 228, 240},
    {'U', 240, 252}, {'V', 252, 264},  {'W', 264, 276}, {'X', 276, 288}, {'Y', 288, 300},
    {'Z', 300, 312}, {'0', 312, 324},  {'1', 324, 336}, {'2', 336, 348}, {'3', 348, 360},
    {'4', 360, 372}, {'5', 372, 384},  {'6', 384, 396}, {'7', 396, 408}, {'8', 408, 420},
    {'9', 420, 432}, {';', 432, 444},  {'=', 444, 456}, {',', 456, 468}, {'-', 468, 480},
    {'.', 480, 492}, {'/', 492, 504},  {'`', 504, 516}, {'[', 516, 528}, {'\\', 528, 540},
    {']', 540, 552}, {'\'', 552, 564}, {'*', 564, 576}, {'+', 576, 588},
};
} // namespace menu

namespace sprites {
const int kSize = 512;
// The alien kinds 0 to 11; kinds 9 and 10 share a picture. Kinds 6 to 11 face up.
const Rect kAliens[12] = {
    {0, 0, 77, 74},       {0, 83, 77, 161},     {0, 166, 77, 243}, {182, 0, 228, 47},
    {182, 83, 228, 130},  {182, 166, 228, 213}, {228, 0, 274, 46}, {228, 83, 274, 129},
    {228, 166, 274, 212}, {274, 1, 307, 36},    {274, 1, 307, 36}, {274, 167, 307, 202},
};
const int kParticleOffset = 20,
          kParticleSize = 3;             // explosion particles sample this patch of an alien
const Rect kShip = {161, 254, 196, 287}; // points up
const Rect kShipShot = {176, 238, 181, 246};
const Rect kExhaust = {211, 305, 219, 313};
const Rect kAlienShots[3] = {{315, 269, 327, 281}, {315, 289, 327, 301}, {315, 309, 327, 321}};
const Rect kBonuses[4] = {
    {221, 238, 242, 257}, // fire power
    {250, 238, 271, 257}, // speed
    {279, 238, 300, 257}, // shield
    {308, 238, 329, 257}, // smart bomb
};
const Rect kLabelFirePower = {9, 364, 54, 371};
const Rect kLabelSpeed = {9, 383, 53, 392};
const Rect kLabelShield = {9, 393, 54, 401};
const Rect kBombFlash = {254, 284, 270, 301};
const int kScoreRowTop = 255, kScoreRowBottom = 273; // score digits; drawn overlapping by one pixel
const Glyph kScoreDigits[10] = {
    {'0', 0, 12},  {'1', 13, 20}, {'2', 22, 35},  {'3', 36, 48},   {'4', 49, 63},
    {'5', 64, 76}, {'6', 77, 91}, {'7', 92, 105}, {'8', 106, 118}, {'9', 120, 132},
};
const int kFloatRowTop = 338, kFloatRowBottom = 349; // floating score digits
const Glyph kFloatDigits[10] = {
    {'0', 6, 12},  {'1', 12, 16}, {'2', 16, 22}, {'3', 23, 29}, {'4', 30, 37},
    {'5', 37, 43}, {'6', 44, 50}, {'7', 51, 57}, {'8', 58, 64}, {'9', 65, 71},
};
const Rect kShieldFrame = {0, 278, 64, 301};
const Rect kShieldPip = {64, 278, 76, 301};
const Rect kTimeFrame = {0, 304, 164, 315};
const Rect kTimeBar = {0, 319, 164, 325}; // cut from the left by the time left
const Rect kLevel = {84, 280, 142, 299};
const Rect kGameOver = {146, 343, 327, 376};
const Rect kPause = {16, 405, 52, 412};
} // namespace sprites

const int kBackgroundSize = 512; // both game backgrounds, tiling
const int kIconSize = 64;
