// The table as the menu draws it: glyph strips of the menu sheet, row by row.
#include <string>

#include "prefs_fixture.h"
#include "recording_graphic.h"

namespace {

// The glyph strips of the sheet, to read back what was written.
char letterOf(float x1) {
  const int starts[] = {491, 506, 520, 535, 550, 565, 580, 595, 610, 625};
  for (int d = 0; d < 10; d++)
    if (x1 == starts[d]) return char('0' + d);
  return x1 == 483 ? '.' : '?';
}

// The text of one row, as glyphs at their pen positions, and where each run of text starts.
struct Row {
  std::string text;
  std::vector<float> pens;
};
Row rowAt(const RecordingGraphic &g, float y) {
  Row row;
  for (const GraphicCall &c : g.callsNamed("blitAlphaRect")) {
    if (c.args[5] != y) continue;
    EXPECT_EQ(530, c.args[1]);
    EXPECT_EQ(548, c.args[3]);
    row.text += letterOf(c.args[0]);
    row.pens.push_back(c.args[4]);
  }
  return row;
}

} // namespace

using HighscoreTableTest = PrefsTest;

TEST_F(HighscoreTableTest, RowsShowRankDotsZeroPaddedScoreDashAndLevel) {
  RecordingGraphic g;
  displayHighscore(&g);
  const Row first = rowAt(g, 150);
  EXPECT_EQ("1................0030005", first.text);
  EXPECT_EQ(148, first.pens[0]);  // rank
  EXPECT_EQ(163, first.pens[1]);  // dots
  EXPECT_EQ(168, first.pens[2]);  // each dot is 5 wide
  EXPECT_EQ(248, first.pens[17]); // score
  EXPECT_EQ(263, first.pens[18]);
  EXPECT_EQ(345, first.pens[23]); // level
  EXPECT_EQ("5................0002501", rowAt(g, 210).text);
  EXPECT_TRUE(rowAt(g, 225).text.empty()); // the sixth row is never shown

  const auto dashes = g.callsNamed("drawRect");
  ASSERT_EQ(5u, dashes.size());
  EXPECT_EQ((std::vector<float>{338, 158, 343, 160, 1, 1, 1, 0.9f}), dashes[0].args);
  EXPECT_EQ(218, dashes[4].args[1]);
}

TEST_F(HighscoreTableTest, PenAdvancesByEachGlyphsOwnWidth) {
  preferences.highscore[0] = 120; // '1' is 15 wide, '2' too, '0' 15
  RecordingGraphic g;
  displayHighscore(&g);
  const Row row = rowAt(g, 150);
  EXPECT_EQ("1................0001205", row.text);
  for (size_t i = 18; i < 23; i++) EXPECT_EQ(15, row.pens[i] - row.pens[i - 1]);
}

TEST_F(HighscoreTableTest, LongerAndNegativeNumbersDrawWithoutLeavingTheFont) {
  preferences.highscore[0] = 1234567890;
  preferences.highscore[1] = -42; // '-' has no glyph: skipped, the pen stays
  preferences.level[2] = -2147483647 - 1;
  RecordingGraphic g;
  displayHighscore(&g);
  EXPECT_EQ("1................12345678905", rowAt(g, 150).text);
  const Row second = rowAt(g, 165);
  EXPECT_EQ("2................000424", second.text); // "%06d" of -42 is "-00042"
  EXPECT_EQ(248, second.pens[17]);
  EXPECT_EQ("3................0010002147483648", rowAt(g, 180).text);
}

TEST_F(HighscoreTableTest, TheNewestRowShows35FramesAndHides36) {
  lastHighscore = 3;
  const float y = 150 + 15 * 3;
  std::string seen;
  for (int frame = 0; frame < 3 * 71; frame++) {
    RecordingGraphic g;
    displayHighscore(&g);
    seen += rowAt(g, y).text.empty() ? '-' : '#';
    ASSERT_FALSE(rowAt(g, 150).text.empty()); // the other rows always show
  }
  // The blink counter carries on from wherever earlier drawing left it: from the first time
  // the row hides, the cycle is 36 frames hidden, then 35 shown.
  const size_t hides = seen.find("#-");
  ASSERT_NE(std::string::npos, hides);
  const std::string cycle = std::string(36, '-') + std::string(35, '#');
  EXPECT_EQ(cycle, seen.substr(hides + 1, cycle.size()));
}
