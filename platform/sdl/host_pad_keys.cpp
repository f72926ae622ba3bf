// The gamepad's keys: a pad's buttons and left stick as the keyboard keys they stand for.
#include <SDL.h>

#include "host_pad.h"
#include "host_vk.h"

namespace {

struct ButtonKeys {
  SDL_GameControllerButton button;
  uint8_t held;      // key down while the button is down (0: none)
  uint8_t tapped[2]; // keys tapped by a press (0: none)
};

const ButtonKeys buttonKeys[] = {
    {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT, {0, 0}},
    {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT, {0, 0}},
    {SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP, {0, 0}},
    {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN, {0, 0}},
    {SDL_CONTROLLER_BUTTON_A, VK_SPACE, {VK_RETURN, 0}}, // south: fire; confirms in the menu
    {SDL_CONTROLLER_BUTTON_B, VK_ESCAPE, {0, 0}},        // east: back to the menu
    {SDL_CONTROLLER_BUTTON_BACK, VK_ESCAPE, {0, 0}},
    {SDL_CONTROLLER_BUTTON_START, 0, {VK_P, VK_RETURN}}, // pause in a game; confirms in the menu
};

bool has(uint32_t buttons, SDL_GameControllerButton button) { return buttons >> button & 1; }

} // namespace

PadKeys padKeys(const PadState &pad) {
  PadKeys keys;
  for (const ButtonKeys &b : buttonKeys) {
    if (!has(pad.held, b.button)) continue;
    if (b.held) keys.set(b.held);
    if (!has(pad.tapping, b.button)) continue;
    for (uint8_t key : b.tapped)
      if (key) keys.set(key);
  }
  if (pad.leftX < -PAD_DEAD_ZONE) keys.set(VK_LEFT);
  if (pad.leftX > PAD_DEAD_ZONE) keys.set(VK_RIGHT);
  if (pad.leftY < -PAD_DEAD_ZONE) keys.set(VK_UP);
  if (pad.leftY > PAD_DEAD_ZONE) keys.set(VK_DOWN);
  return keys;
}

bool padKeyRepeats(int virtualKey) { return virtualKey >= VK_LEFT && virtualKey <= VK_DOWN; }
