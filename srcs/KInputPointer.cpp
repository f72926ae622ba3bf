// The engine's own mouse pointer: a 16 x 16 arrow drawn through KGraphic at each flip, so it
// looks the same on every renderer. It rests, undrawn, while the mouse stays still.
#include "KGraphic.h"
#include "KInput.h"
#include "KMiscTools.h"
#include "KQRX.h"

KGraphic *KInput::surf_mouse;
uint32_t KInput::_pointerMovedMs;
short KInput::_pointerX, KInput::_pointerY;
bool KInput::_pointerSeen;

void KInput::displayMouse() {
  if (pointerResting()) return;
  if (!surf_mouse) {
    surf_mouse = KQRX::createKGraphic();
    if (!surf_mouse) return;
    surf_mouse->makePictureFromArray(_mousePointerBuffer + 2, (long)_mousePointerBuffer[0],
                                     (long)_mousePointerBuffer[1], false);
  }
  surf_mouse->blitAlphaRect(0, 0, 16, 16, getMouseX(), getMouseY(), false, false);
}

void KInput::wakePointer() {
  _pointerSeen = true;
  _pointerX = getMouseX();
  _pointerY = getMouseY();
  _pointerMovedMs = KMiscTools::getMilliseconds();
}

bool KInput::pointerResting() {
  if (!_pointerSeen || getMouseX() != _pointerX || getMouseY() != _pointerY) {
    wakePointer(); // the first look, or the mouse moved
    return false;
  }
  return KMiscTools::getMilliseconds() - _pointerMovedMs >= POINTER_REST_MS;
}

void KInput::freeMouse() {
  delete surf_mouse;
  surf_mouse = nullptr;
}
