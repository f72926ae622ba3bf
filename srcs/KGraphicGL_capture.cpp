// OpenGL screen capture: the back or front buffer into a picture, and screenshots to a file.
#include <GL/gl.h>

#include <cstdlib>

#include "KCanvasGL.h"
#include "KGraphicGL.h"
#include "KImageFile.h"

bool KGraphicGL::grabBackBuffer(ptkGrabCallBack cb) { return grab(cb, false); }
bool KGraphicGL::grabFrontBuffer() { return grab(nullptr, true); }

// Reads the screen bottom row first; texel row 0 of the picture is the top of the screen.
bool KGraphicGL::grab(ptkGrabCallBack cb, bool front) {
  long width = screenWidth, height = screenHeight;
  if (width <= 0 || height <= 0) return false;
  long n = textureSide(width, height);
  uint8_t *screen = (uint8_t *)malloc((size_t)width * height * 4);
  uint8_t *texels = (uint8_t *)calloc((size_t)n * n, 4);
  if (!screen || !texels) {
    free(screen);
    free(texels);
    return false;
  }
  // The earlier texture is released, and its video memory with it, before the new one is made.
  freePicture();
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  KCanvasGL::selectRead(front);
  glReadPixels(0, 0, (GLsizei)width, (GLsizei)height, GL_RGBA, GL_UNSIGNED_BYTE, screen);
  KCanvasGL::selectRead(false);
  for (long y = 0; y < height; y++)
    for (long x = 0; x < width; x++) {
      const uint8_t *pixel = screen + ((size_t)y * width + x) * 4;
      long r = pixel[0], g = pixel[1], b = pixel[2];
      if (cb) cb(x, y, &r, &g, &b);
      uint8_t *texel = texels + ((size_t)(height - 1 - y) * n + x) * 4;
      texel[0] = (uint8_t)r;
      texel[1] = (uint8_t)g;
      texel[2] = (uint8_t)b;
      texel[3] = 255;
    }
  if (!front && _ckActive)
    for (long y = 0; y < height; y++)
      for (long x = 0; x < width; x++) {
        uint8_t *texel = texels + ((size_t)y * n + x) * 4;
        if (texel[0] == _ckr && texel[1] == _ckg && texel[2] == _ckb)
          texel[0] = texel[1] = texel[2] = texel[3] = 0;
      }
  glEnable(GL_TEXTURE_2D);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  _glEnum = GL_TEXTURE_2D;
  createTexture();
  glEnable(GL_BLEND);
  glBlendFunc(_sourceAlpha, _destAlpha);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, front ? GL_RGB : GL_RGBA8, (GLsizei)n, (GLsizei)n, 0, GL_RGBA,
               GL_UNSIGNED_BYTE, texels);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  fimageWidth = (float)width;
  fimageHeight = (float)height;
  _ftextureWIDTH = _ftextureHEIGHT = (float)n;
  videoMemory += textureBytes(n * n);
  free(screen);
  free(texels);
  return true;
}

bool KGraphicGL::saveBackBuffer(const char *cpcFileName, long imageFormat, long resizeW,
                                long resizeH) {
  KGraphicGL frame;
  if (!frame.grabBackBuffer(nullptr)) return false;
  long width = screenWidth, height = screenHeight;
  if (resizeW > 0 && resizeH > 0) {
    // No larger than the screen: the frame is shrunk into the bottom-left corner and read there.
    if (resizeW > width) resizeW = width;
    if (resizeH > height) resizeH = height;
    frame.stretchAlphaRect(0, 0, width, height, 0, (float)(height - resizeH), (float)resizeW,
                           (float)height, 1, 0);
  } else {
    resizeW = width;
    resizeH = height;
  }
  uint8_t *pixels = (uint8_t *)malloc((size_t)resizeW * resizeH * 4);
  if (!pixels) return false;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, (GLsizei)resizeW, (GLsizei)resizeH, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
  // A format outside the four, or a file that cannot be written, is reported as a failure.
  bool known = imageFormat >= K_SAVE_BMP && imageFormat <= K_SAVE_PNG;
  bool saved = known && KImageFile::save(cpcFileName, (KImageFormat)imageFormat, pixels,
                                         K_IMAGE_RGBA, resizeW, resizeH, resizeW * 4, true);
  free(pixels);
  frame.blitRect(0, 0, (float)width, (float)height, 0, 0, false, false); // the frame as it was
  return saved;
}
