// Preferences and the high-score table: loading, saving, entering a score, drawing the table.
#include <cstdio>

#include "KGraphic.h"
#include "KSound.h"
#include "prefs_file.h"
#include "state.h"
#include "zyphora.h"

// Before any file is read: full volumes (clamped to 10 on loading) and the starting table.
sPreference preferences = {80, 80, {3000, 2000, 1000, 500, 250, 0}, {5, 4, 3, 2, 1, 0}};
int32_t lastHighscore = -1;

namespace {

// One glyph of the table's font: the strip x1..x2 of the menu sheet on rows 530..548.
struct sHighScoreFont {
  char letter;
  int32_t x1, x2;
};
const sHighScoreFont highscoreFont[] = {
    {'0', 491, 506}, {'1', 506, 521}, {'2', 520, 535}, {'3', 535, 550},
    {'4', 550, 565}, {'5', 565, 580}, {'6', 580, 595}, {'7', 595, 610},
    {'8', 610, 625}, {'9', 625, 640}, {'.', 483, 488},
};
constexpr float GLYPH_TOP = 530, GLYPH_BOTTOM = 548;
constexpr int SHOWN_ROWS = 5;
constexpr int BLINK_CYCLE_LAST = 70;  // the blink counter runs 0..70
constexpr int BLINK_HIDDEN_FROM = 35; // the newest row hides from here to the end of the cycle

int32_t timer = 0; // blink counter of the newest row

// What the run knows of the file. A file that is there but cannot be read holds the player's
// scores as far as anyone knows: it is never replaced, whatever the run does.
bool prefsLoaded = false; // loadPrefs has run: the table in memory is the player's
bool prefsLocked = false; // the file cannot be read: no save this run

void lockPrefs(const char *path) {
  if (prefsLocked) return;
  prefsLocked = true;
  fprintf(stderr,
          "zyphora: %s is there but cannot be read: it is left as it is, and this run's "
          "high scores and volumes will not be saved\n",
          path);
}

int32_t clampVolume(int32_t step) { return step < 0 ? 0 : step > 10 ? 10 : step; }

// Draws text with the table's font; characters without a glyph are skipped without advancing.
void drawTableText(KGraphic *surface, const char *text, float pen, float y) {
  for (const char *c = text; *c; c++) {
    for (const sHighScoreFont &glyph : highscoreFont) {
      if (glyph.letter != *c) continue;
      surface->blitAlphaRect(glyph.x1, GLYPH_TOP, glyph.x2, GLYPH_BOTTOM, static_cast<short>(pen),
                             static_cast<short>(y), false, false);
      pen += glyph.x2 - glyph.x1;
      break;
    }
  }
}

} // namespace

void loadPrefs() {
  char path[300];
  prefsLocked = false;
  if (prefsFilePath(path, sizeof path) && readPrefsFile(path, preferences) == FileRead::UNREADABLE)
    lockPrefs(path);
  prefsLoaded = true;
  gVolumeSFX = clampVolume(preferences.sfx);
  gVolumeMusic = clampVolume(preferences.zik);
  KSound::setGlobalVolumes(gVolumeMusic * 10, gVolumeSFX * 10);
}

void savePrefs() {
  preferences.sfx = gVolumeSFX;
  preferences.zik = gVolumeMusic;
  char path[300];
  if (prefsLocked || !prefsFilePath(path, sizeof path)) return;
  sPreference onDisk; // what is there now may have become unreadable since the start
  if (readPrefsFile(path, onDisk) == FileRead::UNREADABLE) {
    lockPrefs(path);
    return;
  }
  writePrefsFile(path, preferences);
}

void saveLoadedPrefs() {
  // Before the menu has read the file, the table in memory is the built-in one.
  if (prefsLoaded) savePrefs();
}

bool isHighscore() {
  int32_t *scores = preferences.highscore, *levels = preferences.level;
  if (gScore < scores[HIGHSCORE_ROWS - 1]) return false;
  lastHighscore = -1;
  int row = 0;
  while (row < SHOWN_ROWS && !(gScore > scores[row])) row++; // an equal score goes below
  if (row < SHOWN_ROWS) {
    lastHighscore = row;
    for (int i = HIGHSCORE_ROWS - 1; i > row; i--) {
      scores[i] = scores[i - 1];
      levels[i] = levels[i - 1];
    }
  }
  // A score that only reaches the hidden sixth row takes it: the table stays sorted.
  scores[row] = gScore;
  levels[row] = gLevel;
  highlightMenuItem(2); // the menu comes back showing the table, its item lit
  // The entry reaches the disk at once: a run that never gets back to the menu's own save
  // (the display gone, a crash) keeps it.
  savePrefs();
  return true;
}

void displayHighscore(KGraphic *surface) {
  if (++timer > BLINK_CYCLE_LAST) timer = 0;
  for (int i = 0; i < SHOWN_ROWS; i++) {
    if (i == lastHighscore && timer >= BLINK_HIDDEN_FROM) continue;
    const float y = 150.0f + 15 * i;
    char text[16];
    snprintf(text, sizeof text, "%d", i + 1);
    drawTableText(surface, text, 148, y);
    drawTableText(surface, "................", 163, y);
    snprintf(text, sizeof text, "%06d", preferences.highscore[i]);
    drawTableText(surface, text, 248, y);
    surface->drawRect(338, 158.0f + 15 * i, 343, 160.0f + 15 * i, 1, 1, 1, 0.9f);
    snprintf(text, sizeof text, "%d", preferences.level[i]);
    drawTableText(surface, text, 345, y);
  }
}
