#ifndef KGRAPHICGL_H
#define KGRAPHICGL_H

// The OpenGL picture: one square power-of-two RGBA texture (or the caller's array at its own
// size), drawn as immediate-mode quads in the window's projection (origin bottom-left, y up).
//   KGraphicGL.cpp         loading, arrays, texture settings, the binding cache
//   KGraphicGL_blit.cpp    blits, alpha modes, tint, rectangles, lines, points
//   KGraphicGL_capture.cpp grabs of the back and front buffers, screenshots

#include <cstdint>

#include "KGraphic.h"

class KImageFile;

class KGraphicGL : public KGraphic {
public:
  KGraphicGL();
  ~KGraphicGL() override;

  bool loadPicture(const char *filename, bool hiDef, bool hasalpha) override;
  void freePicture() override;
  float getWidth() override;
  float getHeight() override;
  void setTextureQuality(bool quality) override;
  void drawRect(float x1, float y1, float x2, float y2, float r, float g, float b,
                float blend) override;
  void drawLine(float x1, float y1, float x2, float y2, float r, float g, float b,
                float blend) override;
  void plotPixel(float x1, float y1, float r, float g, float b, float blend) override;
  void blitRect(float x1, float y1, float x2, float y2, short destX, short destY, bool flipx,
                bool flipy) override;
  void blitRectFx(float x1, float y1, float x2, float y2, short destX, short destY, float angle,
                  float zoom, bool flipx, bool flipy) override;
  void blitAlphaRect(float x1, float y1, float x2, float y2, short destX, short destY, bool flipx,
                     bool flipy) override;
  void blitAlphaRectFx(float x1, float y1, float x2, float y2, short destX, short destY,
                       float angle, float zoom, float blend, bool flipx, bool flipy) override;
  void blitTiledRect(short destX, short destY, short width, short height, float tileFactor,
                     float angle) override;
  void blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3,
                         float sx4, float sy4, float dx1, float dy1, float dx2, float dy2,
                         float dx3, float dy3, float dx4, float dy4) override;
  void setAlphaMode(long alphamode) override;
  void stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1, float dx2,
                        float dy2, float blend, float angle) override;
  bool grabBackBuffer(ptkGrabCallBack cb) override;
  bool grabFrontBuffer() override;
  void setColorKey(bool active, unsigned char r, unsigned char g, unsigned char b) override;
  void allowTextureWrap(bool texwRap) override;
  bool saveBackBuffer(const char *cpcFileName, long imageFormat, long resizeW,
                      long resizeH) override;
  void setBlitColor(float r, float g, float b, float a) override;
  bool makePictureFromArray(uint32_t *userPixelPtr, long width, long height, bool hiDef) override;
  void pollArray() override;
  void selectTexture() override;

  // The window publishes its size here before any picture is made.
  static void setScreenSize(short swidth, short sheight, short sdepth);
  // Rectangle textures are never used: every texture is GL_TEXTURE_2D.
  static void setRectangleTexSupport(bool);

  // Reads a picture file through KResource and decodes it by its extension; null on failure.
  static KImageFile *LoadGeneric(const char *filename);
  // The cached bind: nothing when this texture is already the bound one.
  void qrx_glBindTexture();

  // Side of the square power-of-two texture for a picture: at least 4, at least the larger side.
  static long textureSide(long width, long height);

  static short screenWidth, screenHeight, screenDepth;
  static int32_t videoMemory;  // running estimate of texture memory, bytes
  static bool _graphicQuality; // filtering given to every new texture
  static int _oldBindedText;   // texture bound last; -1 = none
  static bool _rectangleTexCap;

  bool _blitColorChanged;
  float _blitRed, _blitGreen, _blitBlue, _blitAlpha;
  unsigned int texture;
  uint8_t *_pixels; // conversion buffer while a texture is built
  uint16_t _sourceAlpha, _destAlpha;
  float _ftextureWIDTH, _ftextureHEIGHT;
  unsigned int _glEnum;
  bool _textureWrap;
  bool _ckActive;
  uint8_t _ckr, _ckg, _ckb;
  float fimageWidth, fimageHeight;

private:
  KGraphicGL(const KGraphicGL &) = delete;
  KGraphicGL &operator=(const KGraphicGL &) = delete;

  // Bytes of video memory a texture of this many texels is counted for.
  static int32_t textureBytes(long texels);
  void createTexture();
  void applyWrap();
  // Blending with the alpha mode and the tint colour (f = the operation's opacity).
  void beginAlphaBlit(float f);
  void GenericBlit(float x1, float y1, float x2, float y2, short destX, short destY, bool flipx,
                   bool flipy);
  void genericStretchBlit(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1,
                          float dx2, float dy2);
  void genericArbitraryBlit(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3,
                            float sx4, float sy4, float dx1, float dy1, float dx2, float dy2,
                            float dx3, float dy3, float dx4, float dy4);
  void beginUntextured();
  // No texture (never loaded, failed, freed): the textured operations draw nothing, where the
  // texture name 0 would draw opaque white quads.
  bool empty() const { return fimageWidth <= 0; }
  bool grab(ptkGrabCallBack cb, bool front);
};

#endif
