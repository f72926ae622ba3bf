#ifndef KGRAPHIC_H
#define KGRAPHIC_H

#include <cstdint>

// Blend equations of the alpha operations (setAlphaMode).
enum {
  K_ALPHA_ADD = 0,           // s*a + d*b
  K_ALPHA_NORMAL = 1,        // s*a + d*(1-a), the mode of a new picture
  K_ALPHA_PREMULTIPLIED = 2, // s + d*(1-a)
  K_ALPHA_ERASE = 3,         // d*(1-a)
};

// File formats of saveBackBuffer.
enum {
  K_SAVE_BMP = 0,
  K_SAVE_JPG = 1,
  K_SAVE_TGA = 2,
  K_SAVE_PNG = 3,
};

// Colour function of grabBackBuffer: x from the left, y from the bottom, r g b 0..255 in place.
typedef void (*ptkGrabCallBack)(long x, long y, long *r, long *g, long *b);

// One picture held as a texture, and every drawing operation. Made by KQRX::createKGraphic
// for the renderer of the window. Coordinates are pixels, origin top-left, y downward.
class KGraphic {
public:
  KGraphic() : _userPixelPtr(nullptr), _userHiDef(false) {}

  virtual ~KGraphic() {}                                                         // 0
  virtual bool loadPicture(const char *filename, bool hiDef, bool hasalpha) = 0; // 1
  virtual void freePicture() = 0;                                                // 2
  virtual float getWidth() = 0;                                                  // 3
  virtual float getHeight() = 0;                                                 // 4
  virtual void setTextureQuality(bool quality) = 0;                              // 5
  virtual void drawRect(float x1, float y1, float x2, float y2, float r, float g, float b,
                        float blend) = 0; // 6
  virtual void drawLine(float x1, float y1, float x2, float y2, float r, float g, float b,
                        float blend) = 0;                                                 // 7
  virtual void plotPixel(float x1, float y1, float r, float g, float b, float blend) = 0; // 8
  virtual void blitRect(float x1, float y1, float x2, float y2, short destX, short destY,
                        bool flipx, bool flipy) = 0; // 9
  virtual void blitRectFx(float x1, float y1, float x2, float y2, short destX, short destY,
                          float angle, float zoom, bool flipx, bool flipy) = 0; // 10
  virtual void blitAlphaRect(float x1, float y1, float x2, float y2, short destX, short destY,
                             bool flipx, bool flipy) = 0; // 11
  virtual void blitAlphaRectFx(float x1, float y1, float x2, float y2, short destX, short destY,
                               float angle, float zoom, float blend, bool flipx,
                               bool flipy) = 0; // 12
  virtual void blitTiledRect(short destX, short destY, short width, short height, float tileFactor,
                             float angle) = 0; // 13
  virtual void blitArbitraryQuad(float sx1, float sy1, float sx2, float sy2, float sx3, float sy3,
                                 float sx4, float sy4, float dx1, float dy1, float dx2, float dy2,
                                 float dx3, float dy3, float dx4, float dy4) = 0; // 14
  virtual void setAlphaMode(long alphamode) = 0;                                  // 15
  virtual void stretchAlphaRect(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1,
                                float dx2, float dy2, float blend, float angle) = 0; // 16
  virtual bool grabBackBuffer(ptkGrabCallBack cb) = 0;                               // 17
  virtual bool grabFrontBuffer() = 0;                                                // 18
  virtual void setColorKey(bool active, unsigned char r, unsigned char g,
                           unsigned char b) = 0;   // 19
  virtual void allowTextureWrap(bool texwRap) = 0; // 20
  virtual bool saveBackBuffer(const char *cpcFileName, long imageFormat, long resizeW,
                              long resizeH) = 0;                     // 21
  virtual void setBlitColor(float r, float g, float b, float a) = 0; // 22
  // Pixels are 32 bits: red in the lowest byte, then green, blue, alpha.
  virtual bool makePictureFromArray(uint32_t *userPixelPtr, long width, long height,
                                    bool hiDef) = 0; // 23
  virtual void pollArray() = 0;                      // 24
  virtual void selectTexture() = 0;                  // 25

  uint32_t *_userPixelPtr; // the caller's array given to makePictureFromArray
  bool _userHiDef;         // the hiDef flag given with it
};

#endif
