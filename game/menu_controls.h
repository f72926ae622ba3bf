// The controls panel, opened from the options panel: each action with its three key slots,
// DEFAULTS and BACK. Keyboard: Up and Down pick a row, Left and Right a slot, Return changes
// the slot (the next key pressed goes in; Escape cancels the wait; Backspace empties the slot),
// Escape goes back to the options. Mouse: a click on a slot, DEFAULTS or BACK.
// Every change is saved to the settings file at once.
#ifndef ZYPHORA_MENU_CONTROLS_H
#define ZYPHORA_MENU_CONTROLS_H

class KGraphic;
struct KEvent;

// The options panel's way in: draws the CONTROLS label (lit under the pointer) and opens the
// panel on a click there or on Right.
void offerControls(KGraphic *surface);
// While the panel shows, it takes the options panel's place and every menu key: true then.
bool controlsPanelShown();
void displayControls(KGraphic *surface);
// The menu's key callback asks first: true when the panel took the event (or opened on it).
bool controlsTakeEvent(const KEvent *event);
// The bindings from the settings file, as the menu starts.
void loadControls();

// The panel's pictures in the menu sheet.
struct SheetRect {
  float x1, y1, x2, y2;
};
enum {
  ART_CONTROLS,
  ART_CONTROLS_LIT,
  ART_UP,
  ART_DOWN,
  ART_LEFT,
  ART_RIGHT,
  ART_FIRE,
  ART_PAUSE,
  ART_DEFAULTS,
  ART_DEFAULTS_LIT,
  ART_BACK,
  ART_BACK_LIT,
  ART_COUNT
};
extern const SheetRect controlsArt[ART_COUNT];
// The sheet's small font: character i of KEY_FONT is the cell of KEY_FONT_CELL columns from
// x = KEY_FONT_CELL * i, on rows KEY_FONT_TOP to KEY_FONT_BOTTOM; the text advances one column
// less, so neighbours touch.
extern const char KEY_FONT[];
constexpr int KEY_FONT_CELL = 12, KEY_FONT_TOP = 660, KEY_FONT_BOTTOM = 676;

#endif
