// Matrix helpers of the Direct3D renderer.

#include "matrices.h"

#include <cmath>

namespace {
void identity(D3DMATRIX *m) { *m = D3DMATRIX{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}; }
} // namespace

void ortho(D3DMATRIX *m, float width, float height, float zNear, float zFar) {
  identity(m);
  m->_11 = 2.0f / width;
  m->_22 = 2.0f / height;
  m->_33 = 1.0f / (zFar - zNear);
  m->_43 = zNear / (zNear - zFar);
}

void translate(D3DMATRIX *m, float x, float y, float z) {
  identity(m);
  m->_41 = x;
  m->_42 = y;
  m->_43 = z;
}

void scale(D3DMATRIX *m, float x, float y, float z) {
  identity(m);
  m->_11 = x;
  m->_22 = y;
  m->_33 = z;
}

void rotatez(D3DMATRIX *m, float angle) {
  float a = angle * 6.28f / 360.0f;
  identity(m);
  m->_11 = std::cos(a);
  m->_12 = std::sin(a);
  m->_21 = -std::sin(a);
  m->_22 = std::cos(a);
}

void multiply(D3DMATRIX *out, const D3DMATRIX &a, const D3DMATRIX &b) {
  const float *pa = &a._11, *pb = &b._11;
  float r[16];
  for (int i = 0; i < 4; i++)
    for (int j = 0; j < 4; j++)
      r[i * 4 + j] = pa[i * 4] * pb[j] + pa[i * 4 + 1] * pb[4 + j] + pa[i * 4 + 2] * pb[8 + j] +
                     pa[i * 4 + 3] * pb[12 + j];
  float *po = &out->_11;
  for (int i = 0; i < 16; i++) po[i] = r[i];
}
