#ifndef ZY_DDRAW_DEVICE_H
#define ZY_DDRAW_DEVICE_H

#include "objects.h"

namespace zyddraw {

// The RGB device drawing into a surface.
IDirect3DDevice7 *makeDevice(Surface *target);

} // namespace zyddraw

#endif
