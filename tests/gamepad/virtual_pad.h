// A gamepad for tests: SDL's virtual joystick, which SDL maps as a game controller with the
// buttons and axes in SDL_GameControllerButton / SDL_GameControllerAxis order.
#ifndef VIRTUAL_PAD_H
#define VIRTUAL_PAD_H

#include <SDL.h>

class VirtualPad {
public:
  // Plugs the pad in (the joystick subsystem is started for it if needed).
  VirtualPad() {
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                          SDL_CONTROLLER_BUTTON_MAX, 0);
    joystick = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
    SDL_AddEventWatch(releaseTap, this);
  }
  ~VirtualPad() {
    SDL_DelEventWatch(releaseTap, this);
    unplug();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  VirtualPad(const VirtualPad &) = delete;
  VirtualPad &operator=(const VirtualPad &) = delete;

  bool plugged() const { return joystick != nullptr; }
  // The new state is seen at the next event pump.
  void press(SDL_GameControllerButton button) { SDL_JoystickSetVirtualButton(joystick, button, 1); }
  void release(SDL_GameControllerButton button) {
    SDL_JoystickSetVirtualButton(joystick, button, 0);
  }
  // A quick press: the button goes up as soon as a pump has seen it down, so the release is
  // seen at the next pump, frame or no frame (code waiting for a key's release only pumps).
  void tap(SDL_GameControllerButton button) {
    tapped |= 1u << button;
    press(button);
  }
  void stick(int x, int y) {
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, (Sint16)x);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, (Sint16)y);
  }
  // Pulls the cable, whatever is held.
  void unplug() {
    if (!joystick) return;
    SDL_JoystickID id = SDL_JoystickInstanceID(joystick);
    for (int i = 0; i < SDL_NumJoysticks(); i++)
      if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
    SDL_JoystickClose(joystick);
    joystick = nullptr;
  }

private:
  // Watches the events SDL queues: a tapped button's press is let go as it is queued.
  static int SDLCALL releaseTap(void *self, SDL_Event *event) {
    VirtualPad &pad = *static_cast<VirtualPad *>(self);
    if (event->type != SDL_JOYBUTTONDOWN || !pad.joystick ||
        event->jbutton.which != SDL_JoystickInstanceID(pad.joystick))
      return 0;
    const uint32_t bit = 1u << event->jbutton.button;
    if (pad.tapped & bit) pad.release((SDL_GameControllerButton)event->jbutton.button);
    pad.tapped &= ~bit;
    return 0;
  }

  SDL_Joystick *joystick = nullptr;
  uint32_t tapped = 0; // buttons pressed by tap(), still to be let go
};

#endif
