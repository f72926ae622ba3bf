#ifndef KFRAMESEQUENCE_H
#define KFRAMESEQUENCE_H

// What both windows do the same way at every flip and for every message, written once. Each
// window holds one and keeps the members its renderer declares; the sequence reads them through
// references and asks the window, through the steps it was given, only for what its renderer
// does its own way (ending and beginning the drawing, the gamma overlay, the present, and the
// messages beyond close, destroy and the wheel).
//
// A flip: the engine's pointer, the end of the drawing, the gamma overlay below 1, the frame
// hook (hostFrameReady), the present, the default view again, every pending event, the next
// frame's drawing begun, the frame cap, and the wait while another window is in front.
// A message: the full-screen key, the user callback, then the event callback (either may consume
// it), then close and destroy end the game as terminate does, the wheel is stored, and anything
// else goes to the window's own handling.

#include <cstdint>
#include <functional>

#include "KWindow.h"

class KFrameSequence {
public:
  // The window's own members that the sequence reads.
  struct Members {
    const bool &displayMouse;            // _displayQRXMouse: draw the engine's pointer
    const float &gamma;                  // _gamma: below 1 darkens every frame
    const uint32_t &maxFrameRate;        // _maxFrameRate: shortest frame period in ms, 0 = none
    const bool &fullscreen;              // _fullscreen
    const ptkUserCallBack &userCallback; // _userCallback
    const ptkQRXCallBack &qrxCallback;   // _qrxCallback
  };
  // What the renderer does its own way; an empty step is skipped.
  struct Steps {
    std::function<void()> endDrawing;   // the frame is drawn: before the gamma overlay
    std::function<void()> darken;       // the gamma overlay
    std::function<void()> present;      // the finished frame on screen
    std::function<void()> beginDrawing; // after the events (which may remake the device)
    std::function<void(unsigned int messg, unsigned int wParam)> ownMessage;
  };

  KFrameSequence(KWindow &window, Members members, Steps steps);
  KFrameSequence(const KFrameSequence &) = delete;
  KFrameSequence &operator=(const KFrameSequence &) = delete;

  void flip(bool waitForBackWindow, bool restoreView);
  // The window procedure's body; with no sequence (no window attached) only the wheel is kept.
  static long dispatch(KFrameSequence *sequence, HWND hWnd, unsigned int messg, unsigned int wParam,
                       long lParam);

private:
  bool offer(HWND hWnd, unsigned int messg, unsigned int wParam, long lParam);

  KWindow &_window;
  Members _members;
  Steps _steps;
  uint32_t _lastFlip = 0; // the millisecond time at which the last flip finished
};

#endif
