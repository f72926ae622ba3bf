// The engine's own mouse pointer: a 16 x 16 arrow drawn through KGraphic at each flip, so it
// looks the same on every renderer.
#include "KGraphic.h"
#include "KInput.h"
#include "KQRX.h"

#define _ 0x00000000u // transparent
#define B 0xFF000000u // opaque black
#define W 0xFFFFFFFFu // opaque white

// Width, height, then the pixels row by row from the top (red in the lowest byte);
// the hot spot is the top-left pixel.
uint32_t KInput::mousePattern[258] = {
    16, 16,
    W, W, _, _, _, _, _, _, _, _, _, _, _, _, _, _,
    W, B, W, _, _, _, _, _, _, _, _, _, _, _, _, _,
    W, B, B, W, _, _, _, _, _, _, _, _, _, _, _, _,
    W, B, B, B, W, _, _, _, _, _, _, _, _, _, _, _,
    W, B, B, B, B, W, _, _, _, _, _, _, _, _, _, _,
    W, B, B, B, B, B, W, _, _, _, _, _, _, _, _, _,
    W, B, B, B, B, B, B, W, _, _, _, _, _, _, _, _,
    W, B, B, B, B, B, B, B, W, _, _, _, _, _, _, _,
    W, B, B, B, B, B, B, B, B, W, _, _, _, _, _, _,
    W, B, B, B, B, B, B, B, W, _, _, _, _, _, _, _,
    W, B, B, B, B, B, W, W, _, _, _, _, _, _, _, _,
    W, B, B, B, B, B, W, _, _, _, _, _, _, _, _, _,
    W, B, B, W, B, W, _, _, _, _, _, _, _, _, _, _,
    W, B, W, _, W, _, _, _, _, _, _, _, _, _, _, _,
    W, W, _, _, _, _, _, _, _, _, _, _, _, _, _, _,
    _, _, _, _, _, _, _, _, _, _, _, _, _, _, _, _,
};

#undef _
#undef B
#undef W

uint32_t *KInput::_mousePointerBuffer = KInput::mousePattern;
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
