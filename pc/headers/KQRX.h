#ifndef KQRX_H
#define KQRX_H

#include "KGraphic.h"
#include "KWindow.h"

enum Erenderer {
  K_DIRECTX = 0,
  K_OPENGL = 1,
};

// The factory: picks the renderer once per run and hands out matching windows and pictures.
class KQRX {
public:
  // A new, unopened window: Direct3D for K_DIRECTX, OpenGL for any other value.
  static KWindow *createKWindow(Erenderer er, bool use3d = false);
  // A new, empty picture of the renderer chosen by the last createKWindow.
  static KGraphic *createKGraphic();

  static Erenderer _renderer;
};

#endif
