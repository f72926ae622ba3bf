#ifndef KWINDOW_H
#define KWINDOW_H

#include <cstdint>

#include "KInput.h"
#include "KNativeTypes.h"

// Kinds of KEvent (codes 4, 8, 9 and 10 are not produced).
enum {
  K_EVENT_OTHER = 0, // any message not listed here
  K_EVENT_MOUSEMOVE = 1,
  K_EVENT_MOUSEUP = 2,   // left, right or middle button up: buttonIndex
  K_EVENT_MOUSEDOWN = 3, // left, right or middle button down: buttonIndex
  K_EVENT_CHAR = 5,      // character
  K_EVENT_KEYDOWN = 6,   // virtualKey, qrxKey, character (scan code)
  K_EVENT_KEYUP = 7,     // virtualKey, qrxKey, character (low byte of the virtual key)
  K_EVENT_WHEEL = 11,    // wheel
};

// A window message as the event callback sees it. Fields a kind does not set are 0,
// except qrxKey which is K_VK_ERROR.
struct KEvent {
  int32_t type;
  int32_t mouseX; // pointer position in client pixels when the message is handled
  int32_t mouseY;
  int32_t buttonIndex; // 1 left, 2 right, 3 middle
  int16_t wheel;       // signed high word of wParam
  uint8_t character;
  int32_t virtualKey;
  int32_t nativeMessage;
  EKeyboardLayout qrxKey;
  int32_t nativeData; // lParam as it came
};

// The raw window message, seen first; false consumes it.
typedef bool (*ptkUserCallBack)(HWND hWnd, unsigned int message, unsigned int wParam, long lParam);
// The message as a KEvent, seen second; false consumes it.
typedef bool (*ptkQRXCallBack)(KEvent *event);

// Builds the KEvent of a Windows-style message (both window procedures call it). A wheel
// message also stores its delta with KInput::setLastWheelValue.
void buildKEvent(KEvent *event, unsigned int message, unsigned int wParam, long lParam);

// The game window: display mode, frame pacing and message handling. Made by KQRX::createKWindow.
class KWindow {
public:
  virtual void setDefaultWorldView() = 0; // 0
  virtual void setWorldView(float translateX, float translateY, float rotation, float zoom,
                            bool clearworld) = 0;                     // 1
  virtual void setClearColor(float r, float g, float b, float a) = 0; // 2
  virtual ~KWindow() {}                                               // 3
  virtual bool createGameWindow(short width, short height, short depth, bool windowed,
                                const char *windowTitle) = 0;                // 4
  virtual void terminate() = 0;                                              // 5
  virtual void toggleFullScreen(bool fullscreen) = 0;                        // 6
  virtual bool hasFocus() = 0;                                               // 7
  virtual void setTitle(const char *title) = 0;                              // 8
  virtual void flipBackBuffer(bool waitForBackWindow, bool restoreView) = 0; // 9
  virtual void processEvents() = 0;                                          // 10
  virtual bool isQuit() = 0;                                                 // 11
  virtual HWND getWindowHandle() = 0;                                        // 12
  virtual void setMaxFrameRate(long desiredFrameRate) = 0;                   // 13
  virtual bool getRectangleTexCap() = 0;                                     // 14
  virtual bool getAccelerationCap() = 0;                                     // 15
  virtual void setRectangleTexCap(bool forceRectangleCap) = 0;               // 16
  virtual void setGamma(float gammai) = 0;                                   // 17
  virtual long getWindowWidth() = 0;                                         // 18
  virtual long getWindowHeight() = 0;                                        // 19
  virtual void restore() = 0;                                                // 20
  virtual void minimize() = 0;                                               // 21
  virtual void displayMouse(bool mousestate) = 0;                            // 22
  virtual void setCallBack(ptkUserCallBack userCallBack) = 0;                // 23
  virtual void setQRXCallBack(ptkQRXCallBack qrxCallBack) = 0;               // 24
};

#endif
