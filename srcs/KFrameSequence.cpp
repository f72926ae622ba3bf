// The flip and the window procedure both renderers share.

#include "KFrameSequence.h"

#include "KInput.h"
#include "KMiscTools.h"
#include "host.h"
#include "host_scale.h"

KFrameSequence::KFrameSequence(KWindow &window, Members members, Steps steps)
    : _window(window), _members(members), _steps(std::move(steps)) {}

void KFrameSequence::flip(bool waitForBackWindow, bool restoreView) {
  if (_members.displayMouse) {
    _window.setDefaultWorldView();
    KInput::displayMouse();
  }
  if (_steps.endDrawing) _steps.endDrawing();
  uint32_t drawn = KMiscTools::getMilliseconds();
  if (_members.gamma < 1.0f && _steps.darken) _steps.darken();
  hostFrameReady();
  if (_steps.present) _steps.present();
  if (restoreView) _window.setDefaultWorldView();
  _window.processEvents();
  if (_steps.beginDrawing) _steps.beginDrawing();
  // A frame that took longer than the period is not delayed further.
  uint32_t period = _members.maxFrameRate;
  if (period != 0 && drawn - _lastFlip <= period) hostPaceFrame(_lastFlip, period);
  _lastFlip = KMiscTools::getMilliseconds();
  // The game stands still while another window is in front; a close request also ends the wait,
  // so that a window closed from the task bar does not stay frozen.
  HWND hwnd = _window.getWindowHandle();
  while (waitForBackWindow && !_window.isQuit() && hostWindowExists(hwnd) && !hostHasFocus(hwnd))
    hostWaitEvents(100);
}

bool KFrameSequence::offer(HWND hWnd, unsigned int messg, unsigned int wParam, long lParam) {
  if (hostIsFullscreenToggle(messg, wParam, lParam)) _window.toggleFullScreen(!_members.fullscreen);
  if (_members.userCallback && !_members.userCallback(hWnd, messg, wParam, lParam)) return false;
  if (!_members.qrxCallback) return true;
  KEvent event;
  buildKEvent(&event, messg, wParam, lParam);
  return _members.qrxCallback(&event);
}

long KFrameSequence::dispatch(KFrameSequence *sequence, HWND hWnd, unsigned int messg,
                              unsigned int wParam, long lParam) {
  if (sequence && !sequence->offer(hWnd, messg, wParam, lParam)) return 0; // consumed
  switch (messg) {
  case WM_DESTROY:
  case WM_CLOSE: // the window is not destroyed: the game deletes it when it has finished
    if (sequence) sequence->_window.terminate();
    break;
  case WM_MOUSEWHEEL: KInput::setLastWheelValue((short)(wParam >> 16)); break;
  default:
    if (sequence && sequence->_steps.ownMessage) sequence->_steps.ownMessage(messg, wParam);
    break;
  }
  return 0;
}
