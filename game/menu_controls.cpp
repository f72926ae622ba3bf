// The controls panel: the player's keys for the six actions, changed from the title menu.
// Its keys come as the menu's key messages (a tap shorter than a frame still counts), its
// mouse is read each frame like the options panel's.
#include "menu_controls.h"

#include <cstdio>
#include <cstring>

#include "KGraphic.h"
#include "KInput.h"
#include "KSound.h"
#include "KWindow.h"
#include "key_bindings.h"
#include "settings_file.h"
#include "zyphora.h"

const SheetRect controlsArt[ART_COUNT] = {
    {660, 10, 820, 36},   // CONTROLS, with its arrow
    {660, 40, 820, 66},   // the same, lit
    {660, 70, 780, 96},   // UP
    {660, 96, 780, 122},  // DOWN
    {660, 122, 780, 148}, // LEFT
    {660, 148, 780, 174}, // RIGHT
    {660, 174, 780, 200}, // FIRE
    {660, 200, 780, 226}, // PAUSE
    {660, 240, 820, 266}, // DEFAULTS
    {660, 270, 820, 296}, // DEFAULTS, lit
    {830, 240, 940, 266}, // BACK
    {830, 270, 940, 296}, // BACK, lit
};

const char KEY_FONT[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789;=,-./`[\\]'*+";

namespace {

constexpr int ROW_DEFAULTS = ACTION_COUNT, ROW_BACK = ACTION_COUNT + 1, ROWS = ACTION_COUNT + 2;
constexpr short LABEL_X = 50, ROW_TOP = 178, ROW_STEP = 28, SLOT_X = 175, SLOT_STEP = 88;
constexpr short SLOT_W = 84, SLOT_H = 22, BUTTONS_Y = 356, DEFAULTS_X = 70, BACK_X = 300;
constexpr short CONTROLS_X = 160, CONTROLS_Y = 268; // the way in, under the options panel
constexpr int FLASH_FRAMES = 60;

struct Panel {
  bool shown = false;
  bool closing = false; // gone once Escape, Return and the button are up: none acts again
  int row = 0, slot = 0;
  // A key is awaited; armed from the next frame on, so that keys pressed together with the
  // one that started the wait (a pad's South sends Return and Space) do not bind themselves.
  bool waiting = false, armed = false;
  bool button = false;
  short mouseX = 0, mouseY = 0;
  int flashAction = -1, flashSlot = -1, flashFrames = 0; // the other slot of a swap or refusal
  bool flashRefused = false;                             // red for a refusal, green for a swap
  int frame = 0;                                         // blinks the awaiting slot
  const char *hint = "";
  char hintText[48] = "";
};
Panel panel;

struct Mouse {
  short x, y;
  bool button, click; // held; pressed since the last frame
  bool moved;
};

bool inside(const Mouse &m, short x, short y, short w, short h) {
  return x <= m.x && m.x < x + w && y <= m.y && m.y < y + h;
}

short rowY(int row) { return short(ROW_TOP + ROW_STEP * row); }
short slotX(int slot) { return short(SLOT_X + SLOT_STEP * slot); }

// The key of a key-down message: Shift and Control come without their side, as the left ones.
EKeyboardLayout keyOf(const KEvent *event) {
  if (event->virtualKey == 16) return K_VK_L_SHIFT;
  if (event->virtualKey == 17) return K_VK_L_CONTROL;
  return event->qrxKey;
}

bool isRepeat(const KEvent *event) { return (event->nativeData >> 30) & 1; }

void save() {
  writeKeyBindings(desktopSettings(), gKeyBindings);
  if (!saveDesktopSettings()) fprintf(stderr, "zyphora: settings: the keys could not be saved\n");
}

void say(const char *format, const char *name) {
  snprintf(panel.hintText, sizeof panel.hintText, format, name);
  panel.hint = panel.hintText;
}

const char *const actionNames[ACTION_COUNT] = {"UP", "DOWN", "LEFT", "RIGHT", "FIRE", "PAUSE"};

void flash(int action, int slot, bool refused) {
  panel.flashAction = action;
  panel.flashSlot = slot;
  panel.flashFrames = FLASH_FRAMES;
  panel.flashRefused = refused;
}

void bind(EKeyboardLayout key) {
  const BindOutcome outcome = bindKey(gKeyBindings, panel.row, panel.slot, key);
  panel.waiting = false;
  if (outcome.result == BIND_REFUSED) {
    flash(outcome.otherAction, outcome.otherSlot, true);
    say("REFUSED - ONLY KEY OF %s", actionNames[outcome.otherAction]);
    snd_menu->playSample();
    return;
  }
  if (outcome.result == BIND_SWAPPED) {
    flash(outcome.otherAction, outcome.otherSlot, false);
    say("SWAPPED WITH %s", actionNames[outcome.otherAction]);
  } else {
    panel.hint = "";
  }
  snd_validated->playSample();
  save();
}

void clearSlot() {
  panel.waiting = false;
  if (!clearKey(gKeyBindings, panel.row, panel.slot)) {
    flash(panel.row, panel.slot, true);
    say("%s KEEPS ITS LAST KEY", actionNames[panel.row]);
    return;
  }
  panel.hint = "";
  save();
}

void cancelWait() {
  panel.waiting = false;
  panel.hint = "";
}

// The wait for a key: Escape cancels, Backspace empties the slot, a bindable key goes in.
void awaitKey(EKeyboardLayout key) {
  if (key == K_VK_ESCAPE) return cancelWait();
  if (key == K_VK_BACK) return clearSlot();
  if (isBindableKey(key)) return bind(key);
  if (key != K_VK_ERROR) panel.hint = "KEY NOT BINDABLE - ESC CANCELS"; // still waiting
}

void close() {
  panel.closing = true;
  panel.waiting = false;
  snd_menu->playSample();
}

// Return or a click on the selected row.
void activate() {
  if (panel.row == ROW_BACK) return close();
  if (panel.row == ROW_DEFAULTS) {
    gKeyBindings = defaultKeyBindings();
    panel.hint = "DEFAULT KEYS";
    panel.flashFrames = 0;
    snd_validated->playSample();
    return save();
  }
  panel.waiting = true;
  panel.armed = false;
  panel.hint = "PRESS A KEY - ESC CANCELS";
  snd_menu->playSample();
}

void moveSelection(int rows, int slots) {
  panel.row = (panel.row + rows + ROWS) % ROWS;
  panel.slot = (panel.slot + slots + KEY_SLOTS) % KEY_SLOTS;
  snd_menu->playSample();
}

// What lies under the pointer: a slot, DEFAULTS or BACK; false for nothing.
bool pointedAt(const Mouse &m, int &row, int &slot) {
  for (row = 0; row < ACTION_COUNT; row++)
    for (slot = 0; slot < KEY_SLOTS; slot++)
      if (inside(m, slotX(slot), rowY(row), SLOT_W, SLOT_H)) return true;
  slot = panel.slot;
  const SheetRect &defaults = controlsArt[ART_DEFAULTS], &back = controlsArt[ART_BACK];
  row = ROW_DEFAULTS;
  if (inside(m, DEFAULTS_X, BUTTONS_Y, short(defaults.x2 - defaults.x1),
             short(defaults.y2 - defaults.y1)))
    return true;
  row = ROW_BACK;
  return inside(m, BACK_X, BUTTONS_Y, short(back.x2 - back.x1), short(back.y2 - back.y1));
}

// The pointer picks what it moves over and acts on a click.
void point(const Mouse &m) {
  int row, slot;
  if (!pointedAt(m, row, slot) || !(m.moved || m.click)) return;
  panel.row = row;
  panel.slot = slot;
  if (m.click) activate();
}

void chooseByKey(EKeyboardLayout key) {
  switch (key) {
  case K_VK_ESCAPE: return close();
  case K_VK_UP: return moveSelection(-1, 0);
  case K_VK_DOWN: return moveSelection(1, 0);
  case K_VK_LEFT: return moveSelection(0, -1);
  case K_VK_RIGHT: return moveSelection(0, 1);
  case K_VK_RETURN: return activate();
  case K_VK_BACK:
    if (panel.row < ACTION_COUNT) clearSlot();
    return;
  default: return;
  }
}

void blit(KGraphic *surface, int art, short x, short y) {
  const SheetRect &r = controlsArt[art];
  surface->blitAlphaRect(r.x1, r.y1, r.x2, r.y2, x, y, false, false);
}

int textWidth(const char *text) { return int(strlen(text)) * (KEY_FONT_CELL - 1); }

// Text in the sheet's small font, centred in a width; characters it lacks leave a gap.
void drawText(KGraphic *surface, const char *text, short x, short y, int width) {
  short pen = short(x + (width - textWidth(text)) / 2);
  for (; *text; text++, pen += KEY_FONT_CELL - 1) {
    const char *glyph = *text == ' ' ? nullptr : strchr(KEY_FONT, *text);
    if (!glyph) continue;
    const float left = float(KEY_FONT_CELL * (glyph - KEY_FONT));
    surface->blitAlphaRect(left, KEY_FONT_TOP, left + KEY_FONT_CELL, KEY_FONT_BOTTOM, pen, y, false,
                           false);
  }
}

void drawSlot(KGraphic *surface, int action, int slot) {
  const short x = slotX(slot), y = rowY(action);
  const bool selected = panel.row == action && panel.slot == slot;
  const bool flashing =
      panel.flashFrames > 0 && panel.flashAction == action && panel.flashSlot == slot;
  if (selected && panel.waiting && panel.frame % 30 < 15)
    surface->drawRect(x, y, x + SLOT_W, y + SLOT_H, 1, 0.6f, 0.1f,
                      0.7f); // blinking: awaiting a key
  else if (flashing && panel.flashRefused)
    surface->drawRect(x, y, x + SLOT_W, y + SLOT_H, 1, 0.3f, 0.2f,
                      0.3f + panel.flashFrames / 100.0f);
  else if (flashing)
    surface->drawRect(x, y, x + SLOT_W, y + SLOT_H, 0.3f, 0.9f, 0.4f,
                      0.2f + panel.flashFrames / 150.0f);
  else
    surface->drawRect(x, y, x + SLOT_W, y + SLOT_H, 0.4f, 0.7f, 1, selected ? 0.45f : 0.12f);
  drawText(surface, keyShownName(gKeyBindings.keys[action][slot]), x, short(y + 3), SLOT_W);
}

void draw(KGraphic *surface, const Mouse &m) {
  surface->drawRect(40, 140, 440, 440, 0, 0, 0, 0.9f); // over the items: they do not answer here
  blit(surface, ART_CONTROLS, CONTROLS_X, 146);
  for (int action = 0; action < ACTION_COUNT; action++) {
    blit(surface, ART_UP + action, LABEL_X, short(rowY(action) - 2));
    for (int slot = 0; slot < KEY_SLOTS; slot++) drawSlot(surface, action, slot);
  }
  blit(surface, panel.row == ROW_DEFAULTS ? ART_DEFAULTS_LIT : ART_DEFAULTS, DEFAULTS_X, BUTTONS_Y);
  blit(surface, panel.row == ROW_BACK ? ART_BACK_LIT : ART_BACK, BACK_X, BUTTONS_Y);
  drawText(surface, panel.hint, 40, 400, 400);
  drawText(surface, "RETURN CHANGES - BACKSPACE CLEARS", 40, 418, 400);
  surface->blitAlphaRect(598, 599, 630, 636, m.x - 6, m.y - 6, false, false); // the pointer
}

void open() {
  panel.shown = true;
  panel.closing = false;
  panel.waiting = false;
  panel.row = panel.slot = 0;
  panel.hint = "";
  panel.flashFrames = 0;
  panel.mouseX = KInput::getMouseX(); // a pointer resting on a slot does not pick it
  panel.mouseY = KInput::getMouseY();
  snd_validated->playSample();
}

} // namespace

void loadControls() { gKeyBindings = readKeyBindings(desktopSettings()); }

bool controlsPanelShown() { return panel.shown; }

void offerControls(KGraphic *surface) {
  const SheetRect &r = controlsArt[ART_CONTROLS];
  const Mouse m = {KInput::getMouseX(), KInput::getMouseY(), KInput::getLeftButtonState(), false,
                   false};
  const bool pointed = inside(m, CONTROLS_X, CONTROLS_Y, short(r.x2 - r.x1), short(r.y2 - r.y1));
  blit(surface, pointed ? ART_CONTROLS_LIT : ART_CONTROLS, CONTROLS_X, CONTROLS_Y);
  const bool click = m.button && !panel.button;
  panel.button = m.button;
  if (pointed && click) open();
}

void displayControls(KGraphic *surface) {
  Mouse m = {KInput::getMouseX(), KInput::getMouseY(), KInput::getLeftButtonState(), false, false};
  m.click = m.button && !panel.button;
  m.moved = m.x != panel.mouseX || m.y != panel.mouseY;
  if (panel.closing) {
    // Held on, Escape would leave the options and Return's repeats confirm them.
    panel.shown = KInput::isPressed(K_VK_ESCAPE) || KInput::isPressed(K_VK_RETURN) || m.button;
  } else if (panel.waiting) {
    if (m.click) cancelWait();
    panel.armed = true;
  } else {
    point(m);
  }
  panel.frame++;
  if (panel.flashFrames > 0) panel.flashFrames--;
  draw(surface, m);
  panel.button = m.button;
  panel.mouseX = m.x;
  panel.mouseY = m.y;
}

bool controlsTakeEvent(const KEvent *event) {
  const bool keyDown = event->type == K_EVENT_KEYDOWN && !isRepeat(event);
  if (!panel.shown) {
    if (gMenuActive != 1 || !keyDown || event->qrxKey != K_VK_RIGHT) return false;
    open();
    return true;
  }
  if (!keyDown || panel.closing) return true;
  if (!panel.waiting)
    chooseByKey(keyOf(event));
  else if (panel.armed)
    awaitKey(keyOf(event));
  return true;
}
