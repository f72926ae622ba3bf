// The engine's mouse pointer asks the factory for its picture. These tests run the Direct3D
// window without the factory, so the pointer gets the Direct3D picture here.
#include "KGraphicD3D.h"
#include "KQRX.h"

KGraphic *KQRX::createKGraphic() { return new KGraphicD3D(); }
