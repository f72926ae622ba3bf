#include "key_bindings.h"

#include <vector>

namespace {

// The keyboard key a gamepad sends for each action.
const EKeyboardLayout padKeys[ACTION_COUNT] = {
    K_VK_UP,    // d-pad and stick up
    K_VK_DOWN,  // d-pad and stick down
    K_VK_LEFT,  // d-pad and stick left
    K_VK_RIGHT, // d-pad and stick right
    K_VK_SPACE, // south button
    K_VK_P,     // Start
};

const KeyBindings defaults = {{
    // by action, then slot
    {K_VK_UP, K_VK_W, K_VK_ERROR},
    {K_VK_DOWN, K_VK_S, K_VK_ERROR},
    {K_VK_LEFT, K_VK_A, K_VK_ERROR},
    {K_VK_RIGHT, K_VK_D, K_VK_ERROR},
    {K_VK_L_CONTROL, K_VK_SPACE, K_VK_Z},
    {K_VK_P, K_VK_ERROR, K_VK_ERROR},
}};

// The slot holding the key, or false.
bool findKey(const KeyBindings &bindings, EKeyboardLayout key, int &action, int &slot) {
  for (action = 0; action < ACTION_COUNT; action++)
    for (slot = 0; slot < KEY_SLOTS; slot++)
      if (bindings.keys[action][slot] == key) return true;
  action = slot = -1;
  return false;
}

int keyCount(const KeyBindings &bindings, int action) {
  int count = 0;
  for (EKeyboardLayout key : bindings.keys[action]) count += key != K_VK_ERROR;
  return count;
}

// The keys that act for the action now: its own, and its pad key while nobody holds that.
std::vector<EKeyboardLayout> actingKeys(const KeyBindings &bindings, int action) {
  std::vector<EKeyboardLayout> keys;
  for (EKeyboardLayout key : bindings.keys[action])
    if (key != K_VK_ERROR) keys.push_back(key);
  int holder, slot;
  if (!findKey(bindings, padKeys[action], holder, slot)) keys.push_back(padKeys[action]);
  return keys;
}

} // namespace

KeyBindings gKeyBindings = defaults;

KeyBindings defaultKeyBindings() { return defaults; }

BindOutcome bindKey(KeyBindings &bindings, int action, int slot, EKeyboardLayout key) {
  if (!isBindableKey(key)) return {BIND_REFUSED, -1, -1};
  int otherAction, otherSlot;
  if (!findKey(bindings, key, otherAction, otherSlot)) {
    bindings.keys[action][slot] = key;
    return {BIND_DONE, -1, -1};
  }
  if (otherAction == action && otherSlot == slot) return {BIND_UNCHANGED, -1, -1};
  const EKeyboardLayout given = bindings.keys[action][slot];
  if (given == K_VK_ERROR && otherAction != action && keyCount(bindings, otherAction) == 1)
    return {BIND_REFUSED, otherAction, otherSlot};
  bindings.keys[otherAction][otherSlot] = given;
  bindings.keys[action][slot] = key;
  return {BIND_SWAPPED, otherAction, otherSlot};
}

bool clearKey(KeyBindings &bindings, int action, int slot) {
  EKeyboardLayout &key = bindings.keys[action][slot];
  if (key != K_VK_ERROR && keyCount(bindings, action) == 1) return false;
  key = K_VK_ERROR;
  return true;
}

bool actionPressed(const KeyBindings &bindings, int action) {
  for (EKeyboardLayout key : actingKeys(bindings, action))
    if (KInput::isPressed(key)) return true;
  return false;
}

void waitForActionRelease(const KeyBindings &bindings, int action) {
  for (EKeyboardLayout key : actingKeys(bindings, action)) KInput::waitForKeyRelease(key);
}
