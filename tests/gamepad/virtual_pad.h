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
  }
  ~VirtualPad() {
    unplug();
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  VirtualPad(const VirtualPad &) = delete;
  VirtualPad &operator=(const VirtualPad &) = delete;

  bool plugged() const { return joystick != nullptr; }
  // The new state is seen at the next event pump.
  void press(SDL_GameControllerButton button) { SDL_JoystickSetVirtualButton(joystick, button, 1); }
  void release(SDL_GameControllerButton button) { SDL_JoystickSetVirtualButton(joystick, button, 0); }
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
  SDL_Joystick *joystick = nullptr;
};

#endif
