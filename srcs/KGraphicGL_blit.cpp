// OpenGL drawing: blits, alpha modes, tint, rectangles, lines and points. Engine y runs down,
// OpenGL's up: every screen y becomes screenHeight - y. Vertex coordinates are truncated.
#include <GL/gl.h>

#include <utility>

#include "KGraphicGL.h"

namespace {

// Blend factors of the alpha modes (source, destination), by mode number.
const struct {
  uint16_t source, destination;
} kAlphaModes[] = {
    {GL_SRC_ALPHA, GL_DST_ALPHA},           // K_ALPHA_ADD: s*a + d*b
    {GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA}, // K_ALPHA_NORMAL: s*a + d*(1-a)
    {GL_ONE, GL_ONE_MINUS_SRC_ALPHA},       // K_ALPHA_PREMULTIPLIED: s + d*(1-a)
    {GL_ZERO, GL_ONE_MINUS_SRC_ALPHA},      // K_ALPHA_ERASE: d*(1-a)
};

float clamp01(float v) { return v > 1 ? 1 : v < 0 ? 0 : v; }

// Lines and points blend with source alpha / one minus source alpha whatever the alpha mode;
// their vertices keep their fractions.
void drawBlended(GLenum mode, const float *xy, int vertices, float r, float g, float b,
                 float blend) {
  glEnable(GL_BLEND);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
  glColor4f(r, g, b, blend);
  glBegin(mode);
  for (int i = 0; i < vertices; i++) glVertex2f(xy[2 * i], xy[2 * i + 1]);
  glEnd();
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
}

void texturedVertex(float u, float v, float x, float y) {
  glTexCoord2f(u, v);
  glVertex2i((int)x, (int)y);
}

} // namespace

void KGraphicGL::setAlphaMode(long alphamode) {
  if (alphamode < 0 || alphamode > 3) return;
  _sourceAlpha = kAlphaModes[alphamode].source;
  _destAlpha = kAlphaModes[alphamode].destination;
}

void KGraphicGL::setBlitColor(float r, float g, float b, float a) {
  if (r == 1 && g == 1 && b == 1 && a == 1) {
    _blitColorChanged = false;
    return;
  }
  _blitRed = clamp01(r);
  _blitGreen = clamp01(g);
  _blitBlue = clamp01(b);
  _blitAlpha = clamp01(a);
  _blitColorChanged = true;
}

void KGraphicGL::beginAlphaBlit(float f) {
  qrx_glBindTexture();
  glEnable(GL_BLEND);
  glBlendFunc(_sourceAlpha, _destAlpha);
  if (_blitColorChanged)
    glColor4f(_blitRed, _blitGreen, _blitBlue, _blitAlpha * f);
  else
    glColor4f(1, 1, 1, f);
}

// ---- quad builders ----------------------------------------------------------------------------

// Corners top-left, bottom-left, bottom-right, top-right on screen; a flip swaps the picture's
// edges on its axis.
void KGraphicGL::GenericBlit(float x1, float y1, float x2, float y2, short destX, short destY,
                             bool flipx, bool flipy) {
  short w = (short)(int)(x2 - x1), h = (short)(int)(y2 - y1);
  float u1 = x1 / _ftextureWIDTH, u2 = x2 / _ftextureWIDTH;
  float v1 = y1 / _ftextureHEIGHT, v2 = y2 / _ftextureHEIGHT;
  if (flipx) std::swap(u1, u2);
  if (flipy) std::swap(v1, v2);
  glBegin(GL_QUADS);
  texturedVertex(u1, v1, destX, destY);
  texturedVertex(u1, v2, destX, destY - h);
  texturedVertex(u2, v2, destX + w, destY - h);
  texturedVertex(u2, v1, destX + w, destY);
  glEnd();
}

void KGraphicGL::genericStretchBlit(float sx1, float sy1, float sx2, float sy2, float dx1,
                                    float dy1, float dx2, float dy2) {
  glPushMatrix();
  glBegin(GL_QUADS);
  texturedVertex(sx1 / _ftextureWIDTH, sy1 / _ftextureHEIGHT, dx1, dy1);
  texturedVertex(sx1 / _ftextureWIDTH, sy2 / _ftextureHEIGHT, dx1, dy2);
  texturedVertex(sx2 / _ftextureWIDTH, sy2 / _ftextureHEIGHT, dx2, dy2);
  texturedVertex(sx2 / _ftextureWIDTH, sy1 / _ftextureHEIGHT, dx2, dy1);
  glEnd();
  glPopMatrix();
}

void KGraphicGL::genericArbitraryBlit(float sx1, float sy1, float sx2, float sy2, float sx3,
                                      float sy3, float sx4, float sy4, float dx1, float dy1,
                                      float dx2, float dy2, float dx3, float dy3, float dx4,
                                      float dy4) {
  glPushMatrix();
  glBegin(GL_QUADS);
  texturedVertex(sx1 / _ftextureWIDTH, sy1 / _ftextureHEIGHT, dx1, dy1);
  texturedVertex(sx2 / _ftextureWIDTH, sy2 / _ftextureHEIGHT, dx2, dy2);
  texturedVertex(sx3 / _ftextureWIDTH, sy3 / _ftextureHEIGHT, dx3, dy3);
  texturedVertex(sx4 / _ftextureWIDTH, sy4 / _ftextureHEIGHT, dx4, dy4);
  glEnd();
  glPopMatrix();
}

// ---- copies without blending ------------------------------------------------------------------

void KGraphicGL::blitRect(float x1, float y1, float x2, float y2, short destX, short destY,
                          bool flipx, bool flipy) {
  if (empty()) return;
  qrx_glBindTexture();
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  glPushMatrix();
  GenericBlit(x1, y1, x2, y2, destX, (short)(screenHeight - destY), flipx, flipy);
  glPopMatrix();
}

void KGraphicGL::blitRectFx(float x1, float y1, float x2, float y2, short destX, short destY,
                            float angle, float zoom, bool flipx, bool flipy) {
  if (empty() || zoom == 0) return;
  float mx = (x2 - x1) / 2, my = (y2 - y1) / 2;
  glPushMatrix();
  glTranslatef(destX + mx, (screenHeight - destY) - my, 0);
  glRotatef(angle, 0, 0, 1);
  glScalef(zoom, zoom, 1);
  qrx_glBindTexture();
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
  glPushMatrix();
  GenericBlit(x1, y1, x2, y2, (short)(int)-mx, (short)(int)my, flipx, flipy);
  glPopMatrix();
  glPopMatrix();
}

void KGraphicGL::blitTiledRect(short destX, short destY, short width, short height,
                               float tileFactor, float angle) {
  if (empty()) return;
  int mx = width / 2, my = height / 2;
  glDisable(GL_BLEND);
  qrx_glBindTexture();
  glColor4f(1, 1, 1, 1);
  glPushMatrix();
  glTranslatef((float)(destX + mx), (float)((screenHeight - destY) - my), 0);
  glRotatef(angle, 0, 0, 1);
  // The texture runs from the right and bottom edges: each repetition shows turned half a turn.
  glBegin(GL_QUADS);
  texturedVertex(tileFactor, tileFactor, (float)-mx, (float)my);
  texturedVertex(tileFactor, 0, (float)-mx, (float)-my);
  texturedVertex(0, 0, (float)mx, (float)-my);
  texturedVertex(0, tileFactor, (float)mx, (float)my);
  glEnd();
  glPopMatrix();
}

// ---- blended copies ---------------------------------------------------------------------------

void KGraphicGL::blitAlphaRect(float x1, float y1, float x2, float y2, short destX, short destY,
                               bool flipx, bool flipy) {
  if (empty()) return;
  beginAlphaBlit(1);
  glPushMatrix();
  GenericBlit(x1, y1, x2, y2, destX, (short)(screenHeight - destY), flipx, flipy);
  glPopMatrix();
}

void KGraphicGL::blitAlphaRectFx(float x1, float y1, float x2, float y2, short destX, short destY,
                                 float angle, float zoom, float blend, bool flipx, bool flipy) {
  if (empty() || zoom == 0 || blend <= 0) return;
  float mx = (x2 - x1) / 2, my = (y2 - y1) / 2;
  bool plain = angle == 0 && zoom == 1;
  glPushMatrix();
  if (!plain) {
    glTranslatef(destX + mx, (screenHeight - destY) - my, 0);
    if (angle != 0) glRotatef(angle, 0, 0, 1);
    if (zoom != 1) glScalef(zoom, zoom, 1);
  }
  beginAlphaBlit(blend);
  glPushMatrix();
  if (plain)
    GenericBlit(x1, y1, x2, y2, destX, (short)(screenHeight - destY), flipx, flipy);
  else
    GenericBlit(x1, y1, x2, y2, (short)(int)-mx, (short)(int)my, flipx, flipy);
  glPopMatrix();
  glColor4f(1, 1, 1, 1);
  glPopMatrix();
}

void KGraphicGL::stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1,
                                  float dx2, float dy2, float blend, float angle) {
  if (empty()) return;
  // Without a tint, an opacity of 0 or less draws fully opaque.
  beginAlphaBlit(_blitColorChanged || (blend > 0 && blend != 1) ? blend : 1);
  float mx = (dx2 - dx1) / 2, my = (dy2 - dy1) / 2;
  dy1 = screenHeight - dy1;
  dy2 = screenHeight - dy2;
  glPushMatrix();
  if (angle != 0) {
    glTranslatef(dx1 + mx, dy1 - my, 0);
    glRotatef(angle, 0, 0, 1);
    genericStretchBlit(sx1, sy1, sx2, sy2, -mx, my, -mx + (dx2 - dx1), (dy2 - dy1) + my);
  } else {
    genericStretchBlit(sx1, sy1, sx2, sy2, dx1, dy1, dx2, dy2);
  }
  glColor4f(1, 1, 1, 1);
  glPopMatrix();
}

void KGraphicGL::blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3,
                                   float sx4, float sy4, float dx1, float dy1, float dx2, float dy2,
                                   float dx3, float dy3, float dx4, float dy4) {
  if (empty()) return;
  beginAlphaBlit(1);
  glPushMatrix();
  genericArbitraryBlit(sx1, sy1, sx2, sy2, sx3, sy3, sx4, sy4, dx1, screenHeight - dy1, dx2,
                       screenHeight - dy2, dx3, screenHeight - dy3, dx4, screenHeight - dy4);
  glPopMatrix();
}

// ---- untextured primitives --------------------------------------------------------------------

// Texturing off; the binding cache is invalidated so that the next textured operation turns
// texturing on again.
void KGraphicGL::beginUntextured() {
  _oldBindedText = -1;
  glDisable(GL_TEXTURE_2D);
}

void KGraphicGL::drawRect(float x1, float y1, float x2, float y2, float r, float g, float b,
                          float blend) {
  y1 = screenHeight - y1;
  y2 = screenHeight - y2;
  beginUntextured();
  if (blend != 1) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(r, g, b, blend);
  } else {
    glDisable(GL_BLEND);
    glColor3f(r, g, b);
  }
  glBegin(GL_QUADS);
  glVertex2i((int)x1, (int)y1);
  glVertex2i((int)x2, (int)y1);
  glVertex2i((int)x2, (int)y2);
  glVertex2i((int)x1, (int)y2);
  glEnd();
  glDisable(GL_BLEND);
  glColor4f(1, 1, 1, 1);
}

void KGraphicGL::drawLine(float x1, float y1, float x2, float y2, float r, float g, float b,
                          float blend) {
  beginUntextured();
  const float line[] = {x1, screenHeight - y1, x2, screenHeight - y2};
  drawBlended(GL_LINES, line, 2, r, g, b, blend);
}

void KGraphicGL::plotPixel(float x1, float y1, float r, float g, float b, float blend) {
  beginUntextured();
  const float point[] = {x1, screenHeight - y1};
  drawBlended(GL_POINTS, point, 1, r, g, b, blend);
}
