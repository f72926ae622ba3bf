// The engine's own mouse pointer: a 16 x 16 arrow drawn through KGraphic at each flip, so it
// looks the same on every renderer.
#include "KGraphic.h"
#include "KInput.h"
#include "KQRX.h"

KGraphic *KInput::surf_mouse;

void KInput::displayMouse() {
  if (!surf_mouse) {
    surf_mouse = KQRX::createKGraphic();
    if (!surf_mouse) return;
    surf_mouse->makePictureFromArray(_mousePointerBuffer + 2, (long)_mousePointerBuffer[0],
                                     (long)_mousePointerBuffer[1], false);
  }
  surf_mouse->blitAlphaRect(0, 0, 16, 16, getMouseX(), getMouseY(), false, false);
}

void KInput::freeMouse() {
  delete surf_mouse;
  surf_mouse = nullptr;
}
