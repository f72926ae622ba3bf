#ifndef MATRICES_H
#define MATRICES_H

// Matrix helpers of the Direct3D renderer. Row vectors, as Direct3D: a point is multiplied on
// the left, so in a × b the transform a applies first. Each helper overwrites its matrix.

#include "ddraw.h"

// The left-handed orthographic projection of a width x height view (D3DXMatrixOrthoLH).
void ortho(D3DMATRIX *m, float width, float height, float zNear, float zFar);
void translate(D3DMATRIX *m, float x, float y, float z);
void scale(D3DMATRIX *m, float x, float y, float z);
// A turn about z by angle degrees, counter-clockwise on screen with y up. The engine turns
// degrees into radians with 6.28 / 360, not 2 pi / 360: 90 degrees turn by 89.95.
void rotatez(D3DMATRIX *m, float angle);
// out = a × b (out may be a or b).
void multiply(D3DMATRIX *out, const D3DMATRIX &a, const D3DMATRIX &b);

#endif
