// The factory: one renderer per run, chosen by the window, followed by every picture.
#include "KQRX.h"

#include "KGraphicGL.h"
#include "KMiscTools.h"
#include "KWindowGL.h"

Erenderer KQRX::_renderer = K_DIRECTX;

// The Direct3D window and picture take the K_DIRECTX branch once they exist; until then every
// renderer value yields the OpenGL classes.
KWindow *KQRX::createKWindow(Erenderer er, bool use3d) {
  _renderer = er;
  KMiscTools::initMiscTools();
  return new KWindowGL(use3d);
}

KGraphic *KQRX::createKGraphic() { return new KGraphicGL(); }
