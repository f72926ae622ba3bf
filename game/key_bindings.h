// The player's own keys: each of the six actions (the four flying directions, fire and pause)
// answers to up to three keys. The controls panel changes them and the settings file keeps
// them in its [keys] section, one line an action ("fire = CTRL SPACE Z").
//
// A key belongs to one action at most. A gamepad stands for the keyboard keys of the default
// layout (arrows, Space, P): those keys keep their default action while no action holds them,
// so the pad flies, fires and pauses whatever the player moved elsewhere; a key the player
// gives to another action does that action instead, from the keyboard and from the pad.
#ifndef ZYPHORA_KEY_BINDINGS_H
#define ZYPHORA_KEY_BINDINGS_H

#include "KInput.h"

class SettingsFile;

enum KeyAction {
  ACTION_UP,
  ACTION_DOWN,
  ACTION_LEFT,
  ACTION_RIGHT,
  ACTION_FIRE,
  ACTION_PAUSE,
  ACTION_COUNT
};
constexpr int KEY_SLOTS = 3;

struct KeyBindings {
  EKeyboardLayout keys[ACTION_COUNT][KEY_SLOTS]; // K_VK_ERROR: an empty slot
};

// Arrows, then W S A D as second flying keys; left Control, Space and Z fire; P pauses.
KeyBindings defaultKeyBindings();
// The bindings the game plays with.
extern KeyBindings gKeyBindings;

// What giving a key to a slot did. A key held by another slot is swapped: that slot takes the
// key this one had. An empty slot cannot take the only key of another action (it would be
// left with none), so that is refused.
enum BindResult { BIND_UNCHANGED, BIND_DONE, BIND_SWAPPED, BIND_REFUSED };
struct BindOutcome {
  BindResult result;
  int otherAction, otherSlot; // where the key was (swapped or refused), else -1
};
BindOutcome bindKey(KeyBindings &bindings, int action, int slot, EKeyboardLayout key);
// Empties a slot; false (and nothing changes) when it holds the action's last key.
bool clearKey(KeyBindings &bindings, int action, int slot);

// The action's keys are held now (see the gamepad's keys above).
bool actionPressed(const KeyBindings &bindings, int action);
// Returns once none of the action's keys is held, pumping window events while it waits.
void waitForActionRelease(const KeyBindings &bindings, int action);

// Keys a player may bind: not Escape (it cancels, and leaves a game), Backspace (it empties a
// slot), U (the game's flash key), F11 and F12 (full screen, screenshot), Alt or the system
// keys; right Shift and Control count as the left.
bool isBindableKey(EKeyboardLayout key);
// The key's name in the settings file ("SPACE", "W", "SEMICOLON"), nullptr for none.
const char *keyFileName(EKeyboardLayout key);
// The key's name as the panel shows it, in the capitals, digits and marks of the sheet's small
// font ("SPACE", "W", ";"); "" for none.
const char *keyShownName(EKeyboardLayout key);
// The bindable key of a settings-file name (any case), K_VK_ERROR for none.
EKeyboardLayout keyOfFileName(const char *name);

// The [keys] section: every action's keys by file name, or the defaults (with a line on
// standard error) when a value names an unknown key, repeats a key or gives one to two actions.
KeyBindings readKeyBindings(const SettingsFile &settings);
void writeKeyBindings(SettingsFile &settings, const KeyBindings &bindings);

#endif
