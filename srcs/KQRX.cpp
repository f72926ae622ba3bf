// The factory: one renderer per run, chosen by the window, followed by every picture.
#include "KQRX.h"

#include "KGraphicD3D.h"
#include "KGraphicGL.h"
#include "KMiscTools.h"
#include "KWindowD3D.h"
#include "KWindowGL.h"

Erenderer KQRX::_renderer = K_DIRECTX;

// Direct3D for K_DIRECTX, OpenGL for any other value.
KWindow *KQRX::createKWindow(Erenderer er, bool use3d) {
  _renderer = er;
  KMiscTools::initMiscTools();
  if (er == K_DIRECTX) return new KWindowD3D(use3d);
  return new KWindowGL(use3d);
}

KGraphic *KQRX::createKGraphic() {
  if (_renderer == K_DIRECTX) return new KGraphicD3D();
  return new KGraphicGL();
}
