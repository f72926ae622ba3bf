// Keyboard and mouse on the SDL host: the host keeps the key state by Windows virtual-key
// code, fed by the same messages the window procedures receive.
#include "KGraphic.h"
#include "KInput.h"
#include "KQRX.h"
#include "host.h"

HWND KInput::_hwnd;
HKL KInput::hKL;
bool KInput::_is9x;
unsigned char KInput::keystatetable[256];
short KInput::_lastWheelValue;

// The engine's pointer picture (drawn by displayMouse).
#define _ 0x00000000u // transparent
#define B 0xFF000000u // opaque black
#define W 0xFFFFFFFFu // opaque white

// Width, height, then the pixels row by row from the top (red in the lowest byte);
// the hot spot is the top-left pixel.
uint32_t KInput::mousePattern[258] = {
    16, 16, W, W, _, _, _, _, _, _, _, _, _, _, _, _, _, _, W, B, W, _, _, _, _, _, _, _, _,
    _,  _,  _, _, _, W, B, B, W, _, _, _, _, _, _, _, _, _, _, _, _, W, B, B, B, W, _, _, _,
    _,  _,  _, _, _, _, _, _, W, B, B, B, B, W, _, _, _, _, _, _, _, _, _, _, W, B, B, B, B,
    B,  W,  _, _, _, _, _, _, _, _, _, W, B, B, B, B, B, B, W, _, _, _, _, _, _, _, _, W, B,
    B,  B,  B, B, B, B, W, _, _, _, _, _, _, _, W, B, B, B, B, B, B, B, B, W, _, _, _, _, _,
    _,  W,  B, B, B, B, B, B, B, W, _, _, _, _, _, _, _, W, B, B, B, B, B, W, W, _, _, _, _,
    _,  _,  _, _, W, B, B, B, B, B, W, _, _, _, _, _, _, _, _, _, W, B, B, W, B, W, _, _, _,
    _,  _,  _, _, _, _, _, W, B, W, _, W, _, _, _, _, _, _, _, _, _, _, _, W, W, _, _, _, _,
    _,  _,  _, _, _, _, _, _, _, _, _, _, _, _, _, _, _, _, _, _, _, _, _, _, _, _,
};

#undef _
#undef B
#undef W

uint32_t *KInput::_mousePointerBuffer = KInput::mousePattern;

namespace {

int hostLayoutToken; // the host has one keyboard layout; its handle only needs to be unique

// The scan-code round trip of a layout: left and right variants become the plain key.
int plainKey(int virtualKey) {
  switch (virtualKey) {
  case 160:
  case 161: return 16; // shift
  case 162:
  case 163: return 17; // control
  case 164:
  case 165: return 18; // alt
  default: return virtualKey;
  }
}

// The host's screenshot key (F12) saves the frame through the window's renderer.
bool saveScreenshot(const char *path) {
  KGraphic *picture = KQRX::createKGraphic();
  bool saved = picture->saveBackBuffer(path, K_SAVE_PNG, 0, 0);
  delete picture;
  return saved;
}

} // namespace

void KInput::initInput(HWND hwnd) {
  _hwnd = hwnd;
  for (unsigned char &state : keystatetable) state = 0;
  hKL = &hostLayoutToken;
  // The host reports shift and control like the NT family (codes 16 and 17 in key messages),
  // so the table keeps its sided codes.
  _is9x = false;
  hostSetScreenshotWriter(saveScreenshot);
}

bool KInput::isPressed(EKeyboardLayout keyCode) {
  if (keyCode < K_VK_LEFT || keyCode > K_VK_ERROR) return false;
  return hostKeyDown(plainKey(KeyboardLayout[keyCode].KeyCode));
}

void KInput::waitForKeyRelease(EKeyboardLayout keyCode) {
  while (isPressed(keyCode)) hostWaitForInput();
}

EKeyboardLayout KInput::getQRXKey(long wparam) {
  for (const KeyStroke &key : KeyboardLayout) {
    if (key.KeyCode == wparam) return key.toucheID;
    if (key.toucheID == K_VK_ERROR) break;
  }
  return K_VK_ERROR;
}

short KInput::getMouseX() {
  int x, y;
  hostMousePosition(_hwnd, &x, &y);
  return (short)x;
}

short KInput::getMouseY() {
  int x, y;
  hostMousePosition(_hwnd, &x, &y);
  return (short)y;
}

bool KInput::getLeftButtonState() { return hostLeftButtonDown(); }

void KInput::setLastWheelValue(short value) { _lastWheelValue = value; }

void KInput::showPointer() {
  while (hostShowCursor(true) < 0) {}
}

void KInput::hidePointer() {
  while (hostShowCursor(false) >= 0) {}
}
