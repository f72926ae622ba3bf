// The options panel (menu item 1): the two volume bar rows and the high-score reset, worked
// with the mouse while the panel shows.
#include "KGraphic.h"
#include "KInput.h"
#include "KSound.h"
#include "menu.h"
#include "menu_controls.h"
#include "zyphora.h"

namespace {

constexpr int VOLUME_BARS = 10;
constexpr float BAR_LEFT = 115, BAR_STEP = 15, BAR_WIDTH = 8;

// A label of the panel: a vertical strip of the sheet drawn turned on its side.
struct PanelLabel {
  float x1, y1, x2, y2;
  short destX, destY;
};
const PanelLabel sfxLabel = {512, 248, 533, 453, 200, 60};
const PanelLabel musicLabel = {534, 248, 552, 460, 205, 100};
const PanelLabel resetLabel = {551, 248, 571, 492, 217, 125};
const PanelLabel resetLabelLit = {572, 248, 598, 492, 214, 125}; // under the pointer

const int32_t resetScores[HIGHSCORE_ROWS] = {3000, 2000, 1000, 500, 250, 0};

void drawLabel(KGraphic *surface, const PanelLabel &label) {
  surface->blitAlphaRectFx(label.x1, label.y1, label.x2, label.y2, label.destX, label.destY, 270,
                           1.0f, 1.0f, false, false);
}

struct Mouse {
  short x, y;
  bool button; // held, not a click edge
};

bool inside(const Mouse &m, float left, float right, float top, float bottom) {
  return left <= m.x && m.x <= right && top <= m.y && m.y <= bottom;
}

// One row of ten bars; a held button over bar i sets the volume to i.
void volumeBars(KGraphic *surface, const Mouse &m, float top, int32_t &volume, bool clickSound) {
  for (int i = 0; i < VOLUME_BARS; i++) {
    const float left = BAR_LEFT + BAR_STEP * i;
    surface->drawRect(left, top, left + BAR_WIDTH, top + 10, 1, 1, 1, volume >= i ? 1.0f : 0.5f);
    if (m.button && inside(m, left, left + BAR_WIDTH, top - 10, top + 16)) {
      if (clickSound && i != volume) snd_menu->playSample();
      volume = i;
    }
  }
}

void resetHighscores() {
  for (int i = 0; i < HIGHSCORE_ROWS; i++) {
    preferences.highscore[i] = resetScores[i];
    preferences.level[i] = 1;
  }
}

} // namespace

void displayOptions(KGraphic *surface) {
  if (controlsPanelShown()) return displayControls(surface); // it takes the panel's place
  const Mouse m = {KInput::getMouseX(), KInput::getMouseY(), KInput::getLeftButtonState()};
  KInput::wakePointer(); // the panel is worked with the mouse: its pointer never rests here

  surface->drawRect(100, 145, 390, 265, 0, 0, 0, 0.1f);
  drawLabel(surface, sfxLabel);
  drawLabel(surface, musicLabel);
  drawLabel(surface, resetLabel);

  volumeBars(surface, m, 174, gVolumeSFX, true);
  volumeBars(surface, m, 216, gVolumeMusic, false);

  // The reset has no confirmation: it repeats on every frame the button is held there.
  if (108 <= m.x && m.x <= 346 && 236 < m.y && m.y <= 258) {
    drawLabel(surface, resetLabelLit);
    if (m.button) resetHighscores();
  }

  offerControls(surface);
  surface->blitAlphaRect(598, 599, 630, 636, m.x - 6, m.y - 6, false, false); // the pointer
  KSound::setGlobalVolumes(gVolumeMusic * 10, gVolumeSFX * 10); // streams first, then samples

  // Escape takes the highlight back to "play", lit at once since Return would now confirm it.
  if (KInput::isPressed(K_VK_ESCAPE)) highlightMenuItem(0);
}
