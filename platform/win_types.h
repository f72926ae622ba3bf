#ifndef ZY_WIN_TYPES_H
#define ZY_WIN_TYPES_H

// The Windows base types the DirectDraw and DirectSound stand-ins share, at Windows's sizes
// (a DWORD is 32 bits there, whatever long is here), so that one file can use both.

#include <cstdint>

typedef int32_t HRESULT;
typedef uint32_t DWORD;
typedef uint16_t WORD;

inline bool FAILED(HRESULT hr) { return hr < 0; }
inline bool SUCCEEDED(HRESULT hr) { return hr >= 0; }

#endif
