// OpenGL pictures: loading, arrays, texture settings and the binding cache.
#include "KGraphicGL.h"

#include <GL/gl.h>

#include <cstdlib>
#include <cstring>

#include "KImageFile.h"
#include "KMiscTools.h"

// Without a current context (a picture made before its window opens) every OpenGL call is a
// no-op of the dispatch layer: such a picture holds no texture and shows nothing.

short KGraphicGL::screenWidth;
short KGraphicGL::screenHeight;
short KGraphicGL::screenDepth;
int32_t KGraphicGL::videoMemory;
bool KGraphicGL::_graphicQuality;
int KGraphicGL::_oldBindedText = -1;
bool KGraphicGL::_rectangleTexCap = true;

namespace {

// Internal formats of loaded textures by (hasalpha, hiDef).
GLint loadedFormat(bool hasalpha, bool hiDef) {
  if (hasalpha) return hiDef ? GL_RGBA8 : GL_RGBA;
  return hiDef ? GL_RGB8 : GL_RGB;
}

} // namespace

KGraphicGL::KGraphicGL() {
  if (screenWidth == 0)
    KMiscTools::messageBox("Screen Dimensions not specified, you will not see anything",
                           "KGraphicGL::SetScreenSize Not Called!");
  _blitColorChanged = false;
  _blitRed = _blitGreen = _blitBlue = _blitAlpha = 1;
  texture = 0;
  _pixels = nullptr;
  setAlphaMode(K_ALPHA_NORMAL);
  _ftextureWIDTH = _ftextureHEIGHT = 0;
  _glEnum = GL_TEXTURE_2D;
  _textureWrap = false;
  _ckActive = false;
  _ckr = _ckg = _ckb = 0;
  fimageWidth = fimageHeight = 0;
  _rectangleTexCap = false;
}

KGraphicGL::~KGraphicGL() { freePicture(); }

void KGraphicGL::setScreenSize(short swidth, short sheight, short sdepth) {
  screenWidth = swidth;
  screenHeight = sheight;
  screenDepth = sdepth;
  glEnable(GL_TEXTURE_2D);
  glShadeModel(GL_FLAT);
}

void KGraphicGL::setRectangleTexSupport(bool) { _rectangleTexCap = false; }

long KGraphicGL::textureSide(long width, long height) {
  long larger = width > height ? width : height, n = 2;
  do n *= 2;
  while (n < larger);
  return n;
}

int32_t KGraphicGL::textureBytes(long texels) { return (int32_t)(screenDepth / 8 * texels); }

// ---- loading ----------------------------------------------------------------------------------

KImageFile *KGraphicGL::LoadGeneric(const char *filename) {
  // The decoder is chosen regardless of case; the file is opened by its own name, since file
  // names are case-sensitive here.
  return KImageFile::load(filename, true);
}

bool KGraphicGL::loadPicture(const char *filename, bool hiDef, bool hasalpha) {
  freePicture();
  KImageFile *image = LoadGeneric(filename);
  if (!image) return false;
  long width = image->getWidth(), height = image->getHeight(), n = textureSide(width, height);
  bool ownAlpha = image->hasAlpha() || image->getBpp() == 32;
  GLint maxSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  if (maxSide > 0 && n > maxSide) { // the driver would refuse it: fail rather than show nothing
    delete image;
    return false;
  }
  _pixels = (uint8_t *)calloc((size_t)n * n, 4);
  if (!_pixels) {
    delete image;
    return false;
  }
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glFlush();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  fimageWidth = (float)width;
  fimageHeight = (float)height;
  _rectangleTexCap = false;
  _glEnum = GL_TEXTURE_2D;
  _ftextureWIDTH = _ftextureHEIGHT = (float)n;
  for (long y = 0; y < height; y++)
    for (long x = 0; x < width; x++) {
      KImagePixel p = image->getPixel(x, height - 1 - y, true);
      uint8_t alpha = ownAlpha ? p.a : 255;
      if (_ckActive && p.r == _ckr && p.g == _ckg && p.b == _ckb) alpha = 0;
      uint8_t *texel = _pixels + ((size_t)n * y + x) * 4;
      texel[0] = p.r;
      texel[1] = p.g;
      texel[2] = p.b;
      texel[3] = alpha;
    }
  delete image;
  createTexture();
  glTexImage2D(_glEnum, 0, loadedFormat(hasalpha, hiDef), (GLsizei)n, (GLsizei)n, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, _pixels);
  setTextureQuality(_graphicQuality);
  applyWrap();
  free(_pixels);
  _pixels = nullptr;
  videoMemory += textureBytes(n * n);
  return true;
}

void KGraphicGL::createTexture() {
  glGenTextures(1, &texture);
  glDisable(GL_TEXTURE_2D);
  glEnable(_glEnum);
  glBindTexture(_glEnum, texture);
  _oldBindedText = (int)texture;
}

void KGraphicGL::freePicture() {
  free(_pixels);
  _pixels = nullptr;
  // The array is forgotten with the picture, so that pollArray never copies a stale array
  // into a texture of another size.
  _userPixelPtr = nullptr;
  if (fimageWidth <= 0) return;
  videoMemory -= textureBytes((long)_ftextureWIDTH * (long)_ftextureHEIGHT);
  glDeleteTextures(1, &texture);
  if (_oldBindedText == (int)texture) _oldBindedText = -1; // the name may be given out again
  texture = 0;
  fimageWidth = fimageHeight = 0;
}

float KGraphicGL::getWidth() { return fimageWidth; }
float KGraphicGL::getHeight() { return fimageHeight; }

// ---- arrays -----------------------------------------------------------------------------------

bool KGraphicGL::makePictureFromArray(uint32_t *userPixelPtr, long width, long height, bool hiDef) {
  if (!userPixelPtr || width <= 0 || height <= 0) return false;
  GLint maxSide = 0;
  glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxSide);
  if (maxSide > 0 && (width > maxSide || height > maxSide)) return false;
  // The earlier texture is released and the new one counted, so that the video-memory
  // estimate stays balanced when the picture is freed.
  freePicture();
  if (_ckActive) {
    uint32_t key = (uint32_t)_ckb << 16 | (uint32_t)_ckg << 8 | _ckr;
    for (long i = 0; i < width * height; i++)
      if ((userPixelPtr[i] & 0xFFFFFF) == key) userPixelPtr[i] = 0;
  }
  _userPixelPtr = userPixelPtr;
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glFlush();
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  fimageWidth = (float)width;
  fimageHeight = (float)height;
  _ftextureWIDTH = (float)width;
  _ftextureHEIGHT = (float)height;
  _glEnum = GL_TEXTURE_2D;
  createTexture();
  _userHiDef = hiDef;
  // Red in the lowest byte of each value: on this little-endian platform, RGBA bytes.
  glTexImage2D(_glEnum, 0, hiDef ? GL_RGBA8 : GL_RGBA, (GLsizei)width, (GLsizei)height, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, userPixelPtr);
  setTextureQuality(_graphicQuality);
  glTexParameteri(_glEnum, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(_glEnum, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  videoMemory += textureBytes(width * height);
  return true;
}

void KGraphicGL::pollArray() {
  if (!_userPixelPtr) return;
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  glDisable(GL_TEXTURE_2D);
  glEnable(_glEnum);
  qrx_glBindTexture();
  glTexSubImage2D(_glEnum, 0, 0, 0, (GLsizei)fimageWidth, (GLsizei)fimageHeight, GL_RGBA,
                  GL_UNSIGNED_BYTE, _userPixelPtr);
}

// ---- texture settings -------------------------------------------------------------------------

void KGraphicGL::qrx_glBindTexture() {
  if (_oldBindedText == (int)texture) return;
  glEnable(GL_TEXTURE_2D);
  glBindTexture(_glEnum, texture);
  _oldBindedText = (int)texture;
}

void KGraphicGL::setTextureQuality(bool quality) {
  qrx_glBindTexture();
  GLint filter = quality ? GL_LINEAR : GL_NEAREST;
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
}

void KGraphicGL::allowTextureWrap(bool texwRap) {
  _textureWrap = texwRap;
  qrx_glBindTexture();
  applyWrap();
}

// Clamping is to the edge texels, as Direct3D clamps, so that filtered edges never fetch a
// border colour.
void KGraphicGL::applyWrap() {
  GLint mode = _textureWrap ? GL_REPEAT : GL_CLAMP_TO_EDGE;
  glTexParameteri(_glEnum, GL_TEXTURE_WRAP_S, mode);
  glTexParameteri(_glEnum, GL_TEXTURE_WRAP_T, mode);
}

void KGraphicGL::selectTexture() {
  glEnable(GL_TEXTURE_2D);
  qrx_glBindTexture();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void KGraphicGL::setColorKey(bool active, unsigned char r, unsigned char g, unsigned char b) {
  _ckActive = active;
  _ckr = r;
  _ckg = g;
  _ckb = b;
}
