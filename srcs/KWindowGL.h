#ifndef KWINDOWGL_H
#define KWINDOWGL_H

// The OpenGL window: an SDL window with an OpenGL compatibility context. Draws in a pixel-exact
// 2D projection (origin bottom-left, y up), presents with an optional frame cap, swap interval
// and darkening gamma overlay, and turns the host's Windows-style messages into KEvents.

#include <cstdint>

#include "KCanvasGL.h"
#include "KFrameSequence.h"
#include "KWindow.h"

class KWindowGL : public KWindow {
public:
  KWindowGL();
  explicit KWindowGL(bool use3d);
  ~KWindowGL() override;

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

  // Context on the window: attributes, window, context, current. false after its message box.
  bool AttachOpenGLToWindow(short depth);
  // Desktop full screen showing the picture scaled; the display mode is never changed.
  bool SwitchToResolution(short width, short height, short depth);
  void RestoreResolution();
  // The darkening overlay of a gamma below 1.
  void doGammaAdjustment();
  // The window procedure: user callback, event callback, then the window's own handling.
  static long GameWindowProc(HWND hWnd, unsigned int messg, unsigned int wParam, long lParam);

  // Mesa's software renderers and the Windows GDI one: not hardware accelerated.
  static bool isSoftwareRenderer(const char *vendor, const char *renderer);

  float _clearR, _clearG, _clearB, _clearA;
  void *_openGLContext; // SDL_GLContext
  HWND _hwnd;
  ptkUserCallBack _userCallback;
  ptkQRXCallBack _qrxCallback;
  bool _silent; // probe mode: a hidden 256 x 256 window (getAccelerationCap)
  bool _capsDetected;
  bool _isWaitVBLSupported;
  bool _fullscreen;
  bool _modeSwitched; // the window covers the desktop (what RestoreResolution undoes)
  short _windowWidth, _windowHeight, _windowDepth;
  uint32_t _maxFrameRate; // minimum frame period in ms; 0 = no limit
  bool hasRectangleText;
  bool isAccelerated;
  bool _use3d;
  float _gamma;
  bool _quit;
  bool _displayQRXMouse;
  KCanvasGL _canvas; // the game's picture, shown scaled in the window

private:
  void init(bool use3d);
  bool createHostWindow(const char *title, bool withDepth);
  void detectCaps();
  void showFrame();
  void ownHandling(unsigned int messg, unsigned int wParam);

  KFrameSequence _frames; // the flip and the window procedure both renderers share
};

#endif
