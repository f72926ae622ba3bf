#ifndef ZY_HOST_PAD_H
#define ZY_HOST_PAD_H

// Gamepads as keyboard keys: what a pad's buttons and left stick hold down.
//  - d-pad and left stick (past the dead zone): the arrow keys, repeated while held;
//  - south button: Space (fire), and a tap of Return (confirms in the menu);
//  - east button and Back: Escape;
//  - Start: a tap of P (pauses or resumes a game) and of Return (confirms in the menu).
// The host cannot tell the menu from a game, so a button that means one key in each stands
// for both. The menu acts on key-down messages and a game on keys held at the start of a
// frame, so those keys are only tapped: held from the press until the button is released or
// the next frame is complete. A Start press that starts a game thus never also pauses it.

#include <bitset>
#include <cstdint>

// One pad as its buttons and stick stand now. Buttons are bits by SDL_GameControllerButton.
struct PadState {
  uint32_t held;    // buttons down
  uint32_t tapping; // buttons pressed during the current frame and still down
  int leftX, leftY; // left stick, -32768..32767, y growing downwards
};

// A set of Windows virtual-key codes (bit k = key k).
typedef std::bitset<256> PadKeys;

// The stick moves an arrow key beyond this distance from the centre (about 30 %).
constexpr int PAD_DEAD_ZONE = 10000;
// A held direction repeats its key-down message after the delay, then once a period.
constexpr uint32_t PAD_REPEAT_DELAY_MS = 400, PAD_REPEAT_PERIOD_MS = 100;

// The keys the pad holds down now.
PadKeys padKeys(const PadState &pad);
// The keys that repeat while a pad holds them: the arrows.
bool padKeyRepeats(int virtualKey);

#endif
