#ifndef KNATIVETYPES_H
#define KNATIVETYPES_H

// The native handles the engine's interfaces pass around. On this platform the window
// handle is an opaque pointer to the SDL host's window (platform/sdl/host.h).
struct HostWindow;
typedef HostWindow *HWND;

// A keyboard layout handle: the host has a single layout, so it is only a token.
typedef void *HKL;

#endif
