// Gamepads on the SDL host: every pad in SDL's controller database, plugged in before or
// during play, drives the keys of host_pad.h. The keys reach the newest window as the messages
// a keyboard sends, so the key state and the windows' event callbacks both see them. Like the
// keyboard, pads are ignored while a test script owns the input.
#include <algorithm>
#include <vector>

#include "host_internal.h"
#include "host_pad.h"

namespace {

struct Pad {
  SDL_JoystickID id;
  SDL_GameController *controller;
  PadState state;
};

std::vector<Pad> pads;
PadKeys sent;           // the keys the windows were told are down
uint32_t repeatAt[256]; // when a held key sends its next repeat (hostMilliseconds)
unsigned long tapFrame; // the frame the current taps belong to
bool started;

Pad *padOf(SDL_JoystickID id) {
  auto it = std::find_if(pads.begin(), pads.end(), [id](const Pad &pad) { return pad.id == id; });
  return it == pads.end() ? nullptr : &*it;
}

void open(int deviceIndex) {
  if (padOf(SDL_JoystickGetDeviceInstanceID(deviceIndex))) return;
  if (SDL_GameController *controller = SDL_GameControllerOpen(deviceIndex))
    pads.push_back({SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)), controller,
                    PadState{}});
}

void close(SDL_JoystickID id) {
  auto it = std::find_if(pads.begin(), pads.end(), [id](const Pad &pad) { return pad.id == id; });
  if (it == pads.end()) return;
  SDL_GameControllerClose(it->controller);
  pads.erase(it);
}

// Tells the newest window about every key the pads now hold, or no longer hold.
void sendChanges() {
  HostWindow *window = hostNewestWindow();
  if (!window || hostScriptActive()) return;
  PadKeys wanted;
  for (const Pad &pad : pads) wanted |= padKeys(pad.state);
  uint32_t now = hostMilliseconds();
  for (int key = 0; key < 256; key++) {
    if (sent[key] == wanted[key]) continue;
    hostSendKey(window, key, wanted[key]);
    repeatAt[key] = now + PAD_REPEAT_DELAY_MS;
  }
  sent = wanted;
}

// A completed frame ends every tap.
void endTaps() {
  unsigned long frame = hostFramesDone();
  if (frame == tapFrame) return;
  tapFrame = frame;
  for (Pad &pad : pads) pad.state.tapping = 0;
  sendChanges();
}

void repeatHeldKeys() {
  HostWindow *window = hostNewestWindow();
  if (!window || hostScriptActive()) return;
  uint32_t now = hostMilliseconds();
  for (int key = 0; key < 256; key++)
    if (sent[key] && padKeyRepeats(key) && (int32_t)(now - repeatAt[key]) >= 0) {
      hostSendKey(window, key, true, true);
      repeatAt[key] = now + PAD_REPEAT_PERIOD_MS;
    }
}

void setButton(PadState &state, uint8_t button, bool down) {
  if (button >= 32) return; // no key stands for it
  uint32_t bit = 1u << button;
  state.held = down ? state.held | bit : state.held & ~bit;
  state.tapping = down ? state.tapping | bit : state.tapping & ~bit;
}

} // namespace

void hostPumpPads() {
  if (!started) {
    started = true; // pads present now arrive as device-added events
    SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
  }
  endTaps();
  repeatHeldKeys();
}

void hostPadEvent(const SDL_Event &event) {
  endTaps();
  switch (event.type) {
  case SDL_CONTROLLERDEVICEADDED: open(event.cdevice.which); break;
  case SDL_CONTROLLERDEVICEREMOVED: close(event.cdevice.which); break; // its keys are released
  case SDL_CONTROLLERBUTTONDOWN:
  case SDL_CONTROLLERBUTTONUP:
    if (Pad *pad = padOf(event.cbutton.which))
      setButton(pad->state, event.cbutton.button, event.type == SDL_CONTROLLERBUTTONDOWN);
    break;
  case SDL_CONTROLLERAXISMOTION:
    if (Pad *pad = padOf(event.caxis.which)) {
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) pad->state.leftX = event.caxis.value;
      if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) pad->state.leftY = event.caxis.value;
    }
    break;
  default: return;
  }
  sendChanges();
}

void hostForgetPadKeys() { sent.reset(); }
