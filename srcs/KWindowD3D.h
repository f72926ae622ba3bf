#ifndef KWINDOWD3D_H
#define KWINDOWD3D_H

// The Direct3D 7 window: a host window, DirectDraw surfaces (primary and back buffer) and a
// Direct3D device drawing into the back buffer. The device keeps a scene open between flips.

#include <SDL.h>

#include "KFrameSequence.h"
#include "KWindow.h"
#include "ddraw.h"

class KWindowD3D : public KWindow {
public:
  explicit KWindowD3D(bool use3d = false);
  ~KWindowD3D() override;

  void setDefaultWorldView() override;
  void setWorldView(float translateX, float translateY, float rotation, float zoom,
                    bool clearworld) override;
  void setClearColor(float r, float g, float b, float a) override;
  bool createGameWindow(short width, short height, short depth, bool windowed,
                        const char *windowTitle) override;
  void terminate() override;
  void toggleFullScreen(bool fullscreen) override;
  bool hasFocus() override;
  void setTitle(const char *title) override;
  void flipBackBuffer(bool waitForBackWindow, bool restoreView) override;
  void processEvents() override;
  bool isQuit() override;
  HWND getWindowHandle() override;
  void setMaxFrameRate(long desiredFrameRate) override;
  bool getRectangleTexCap() override;
  bool getAccelerationCap() override;
  void setRectangleTexCap(bool forceRectangleCap) override;
  void setGamma(float gammai) override;
  long getWindowWidth() override;
  long getWindowHeight() override;
  void restore() override;
  void minimize() override;
  void displayMouse(bool mousestate) override;
  void setCallBack(ptkUserCallBack userCallBack) override;
  void setQRXCallBack(ptkQRXCallBack qrxCallBack) override;

  bool createRealWindow(short width, short height, short depth, const char *title);
  bool attachD3DToWindow();
  bool regenerateD3DDevice();
  bool createDirectContextsWindow();
  bool createDirectContextsFullScreen();
  bool releaseDirectContexts();
  void ClearSurface(IDirectDrawSurface7 *surface);
  bool SwitchToResolution(short width, short height, short depth);
  static long GameWindowProc(HWND hWnd, unsigned int messg, unsigned int wParam, long lParam);
  void doGammaAdjustment();

  SDL_DisplayMode dv; // the desktop mode read by SwitchToResolution
  bool _displayQRXMouse;
  HWND _hWndQRX;
  IDirectDraw7 *_lpDD;
  IDirectDrawSurface7 *_lpDDSPrimary;
  IDirectDrawSurface7 *_lpDDSBack; // the render target
  IDirect3D7 *_lpD3D;
  IDirect3DDevice7 *_lpD3DDevice;
  uint32_t _clearColor; // A R G B from the high byte down
  ptkUserCallBack _userCallback;
  ptkQRXCallBack _qrxCallback;
  uint32_t _maxFrameRate; // shortest frame period in milliseconds, 0 = no limit
  bool hasRectangleText;  // not used by this renderer
  bool isAccelerated;     // not used by this renderer
  bool _use3d;            // not used by this renderer
  float _gamma;
  bool _isWaitVBLSupported; // not used by this renderer
  bool _fullscreen;
  short _sourceScreenDepth, _gameScreenDepth; // not used by this renderer
  int _windowID;                              // not used by this renderer
  short _windowWidth, _windowHeight, _windowDepth;
  bool _quit;

private:
  bool makeDevice();
  SDL_Window *sdlWindow();
  void endDrawing();
  void present();

  KFrameSequence _frames; // the flip and the window procedure both renderers share
};

#endif
