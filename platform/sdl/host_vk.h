// Windows virtual-key codes of the keys the host acts on (full screen, screenshots, the
// gamepad's keys) and that scripted players press.
#ifndef ZYPHORA_HOST_VK_H
#define ZYPHORA_HOST_VK_H

enum : int {
  VK_RETURN = 0x0D,
  VK_ESCAPE = 0x1B,
  VK_SPACE = 0x20,
  VK_LEFT = 0x25,
  VK_UP = 0x26,
  VK_RIGHT = 0x27,
  VK_DOWN = 0x28,
  VK_P = 0x50,
  VK_Z = 0x5A,
  VK_F11 = 0x7A, // full screen on and off (and Alt+Return)
  VK_F12 = 0x7B, // screenshot
  VK_LCONTROL = 0xA2,
};

#endif
