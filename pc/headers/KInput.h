#ifndef KINPUT_H
#define KINPUT_H

#include <cstdint>

#include "KNativeTypes.h"

class KGraphic;

// The engine's key codes: fixed numbers, independent of the platform (32-bit).
enum EKeyboardLayout : int32_t {
  K_VK_LEFT = 0,
  K_VK_UP,
  K_VK_DOWN,
  K_VK_RIGHT,
  K_VK_SPACE,
  K_VK_L_SHIFT,
  K_VK_R_SHIFT,
  K_VK_RETURN,
  K_VK_R_CONTROL,
  K_VK_L_CONTROL,
  K_VK_F1 = 10,
  K_VK_F2,
  K_VK_F3,
  K_VK_F4,
  K_VK_F5,
  K_VK_F6,
  K_VK_F7,
  K_VK_F8,
  K_VK_F9,
  K_VK_F10,
  K_VK_F11,
  K_VK_F12,
  K_VK_BACK = 22,
  K_VK_TAB,
  K_VK_ESCAPE,
  K_VK_A = 25,
  K_VK_B,
  K_VK_C,
  K_VK_D,
  K_VK_E,
  K_VK_F,
  K_VK_G,
  K_VK_H,
  K_VK_I,
  K_VK_J,
  K_VK_K,
  K_VK_L,
  K_VK_M,
  K_VK_N,
  K_VK_O,
  K_VK_P,
  K_VK_Q,
  K_VK_R,
  K_VK_S,
  K_VK_T,
  K_VK_U,
  K_VK_V,
  K_VK_W,
  K_VK_X,
  K_VK_Y,
  K_VK_Z,
  K_VK_0 = 51,
  K_VK_1,
  K_VK_2,
  K_VK_3,
  K_VK_4,
  K_VK_5,
  K_VK_6,
  K_VK_7,
  K_VK_8,
  K_VK_9,
  K_VK_NUM0 = 61,
  K_VK_NUM1,
  K_VK_NUM2,
  K_VK_NUM3,
  K_VK_NUM4,
  K_VK_NUM5,
  K_VK_NUM6,
  K_VK_NUM7,
  K_VK_NUM8,
  K_VK_NUM9,
  K_VK_MULTIPLY = 71,
  K_VK_ADD,
  K_VK_SUBTRACT,
  K_VK_DECIMAL,
  K_VK_DIVIDE,
  K_VK_CLEAR,
  K_VK_MENU,
  K_VK_LWIN,
  K_VK_RWIN,
  K_VK_NUMLOCK,
  K_VK_SCROLL,
  K_VK_OEM_1,
  K_VK_OEM_PLUS,
  K_VK_OEM_COMMA,
  K_VK_OEM_MINUS,
  K_VK_OEM_PERIOD,
  K_VK_OEM_2,
  K_VK_OEM_3,
  K_VK_OEM_4,
  K_VK_OEM_5,
  K_VK_OEM_6,
  K_VK_OEM_7,
  K_VK_ERROR = 93, // no key
};

// One row of the key table: an engine code and its Windows virtual-key code.
struct KeyStroke {
  EKeyboardLayout toucheID;
  uint16_t KeyCode;
};

// The key table: 94 rows, row i has toucheID i; the K_VK_ERROR row (code 9999) ends every search.
extern KeyStroke KeyboardLayout[94];

// Keyboard and mouse, read at the moment of the call; the engine's own pointer picture.
class KInput {
public:
  static void initInput(HWND hwnd);

  // The key is held down now. Left and right variants answer for both sides.
  static bool isPressed(EKeyboardLayout keyCode);
  // Returns once the key is up, pumping window events while it waits.
  static void waitForKeyRelease(EKeyboardLayout keyCode);
  // The engine code of a Windows virtual-key code; K_VK_ERROR when it has no table row.
  static EKeyboardLayout getQRXKey(long wparam);

  // Pointer position in client pixels of _hwnd (may be negative or beyond the window).
  static short getMouseX();
  static short getMouseY();
  static bool getLeftButtonState();
  static void setLastWheelValue(short value);

  // One call is enough whatever the system pointer's display counter was.
  static void showPointer();
  static void hidePointer();

  // The engine pointer: displayMouse draws it at the mouse position (made on first use),
  // freeMouse deletes it. A pointer that rests (the mouse not moved for POINTER_REST_MS) is
  // not drawn until the mouse moves again or wakePointer is called (a screen worked with the
  // mouse calls it every frame).
  static void freeMouse();
  static void displayMouse();
  static void wakePointer();
  static bool pointerResting();
  static const uint32_t POINTER_REST_MS = 2000;

  static KGraphic *surf_mouse;
  static HWND _hwnd;
  static HKL hKL;
  static bool _is9x;
  static uint32_t mousePattern[258];    // width, height, then the pixels row by row
  static uint32_t *_mousePointerBuffer; // the pointer in use; points at mousePattern
  static unsigned char keystatetable[256];
  static short _lastWheelValue;
  static uint32_t _pointerMovedMs;   // when the mouse last moved (or the pointer was woken)
  static short _pointerX, _pointerY; // where it was then
  static bool _pointerSeen;          // false until the first look at it
};

#endif
