#ifndef KGRAPHICD3D_H
#define KGRAPHICD3D_H

// The Direct3D 7 picture: one managed texture surface, drawn as a few pre-lit vertices through
// the device the window publishes with setDirectX. World coordinates are y up: every screen y
// enters the world as -y.

#include "KGraphic.h"
#include "ddraw.h"

class KImageFile;

class KGraphicD3D : public KGraphic {
public:
  KGraphicD3D();
  ~KGraphicD3D() override;

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

  // The window's objects, published after every device creation (null when it closes).
  static void setDirectX(IDirectDraw7 *dd, IDirect3DDevice7 *device, IDirectDrawSurface7 *back,
                         long width, long height);

  static IDirectDraw7 *_directX;
  static IDirect3DDevice7 *_d3d;
  static IDirectDrawSurface7 *_backBuffer;
  static IDirectDrawSurface7 *_oldBindedText; // texture bound to stage 0 last, null for none
  static long _screenWidth, _screenHeight;

  char imageFileName[260]; // the file the picture came from, to reload a lost texture
  bool _currentState;      // not used by this renderer
  D3DBLEND _sourceAlpha, _destAlpha;
  IDirectDrawSurface7 *_surface;
  bool _blitColorChanged;
  float _blitRed, _blitGreen, _blitBlue, _blitAlpha;
  float _blend; // opacity of the current operation; 1 between operations
  D3DTEXTUREMAGFILTER _textureQualityD3D;
  D3DTEXTUREADDRESS _textureWrapD3D;
  D3DTEXTUREMAGFILTER _oldTextureQualityD3D; // not read
  D3DTEXTUREADDRESS _oldTextureWrapD3D;      // not read
  D3DBLEND _oldsourceAlpha, _olddestAlpha;   // not read
  bool _hidef;
  bool _hasAlpha;
  short _lineWidth; // not used: lines are 1 pixel
  char *_pixels;    // not used by this renderer
  float _ftextureWIDTH, _ftextureHEIGHT;
  float fimageHeight, fimageWidth;
  bool _ckActive;
  bool _textureWrap;
  bool _textureQuality;
  unsigned char _ckr, _ckg, _ckb;

private:
  // tinted: the alpha blits take the tint, the plain copies do not.
  void GenericBlit(long x1, long y1, long x2, long y2, float destX, float destY, bool flipx,
                   bool flipy, bool tinted);
  void genericStretchBlit(float sx1, float sy1, float sx2, float sy2, float dx1, float dy1,
                          float dx2, float dy2);
  bool qrx_bindTexture();
  bool loadPicture32(const char *filename, bool hiDef, bool hasalpha);
  bool loadPicture16(const char *filename, bool hiDef, bool hasalpha);
  KImageFile *LoadGeneric(const char *filename);
  bool loadTexture(const char *filename, bool sixteenBits, bool hasalpha);
  void shrinkFrame(long width, long height);
  // A managed texture of exactly width x height (32-bit A R G B unless given), or null.
  IDirectDrawSurface7 *createTexture(long width, long height,
                                     const DDPIXELFORMAT *format = nullptr);

  // Shared steps of the drawing operations.
  bool reloadIfLost();
  void applyPictureState();
  D3DCOLOR textureColour(bool tinted, bool blendOnly) const;
  void drawUntextured(D3DPRIMITIVETYPE type, D3DLVERTEX *vertices, DWORD count);
  void setWorld(const D3DMATRIX &m);
  D3DMATRIX world() const;
};

#endif
