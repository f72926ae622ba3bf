// Windows-style messages as KEvent records, for the event callback of both windows.
#include "KInput.h"
#include "KWindow.h"
#include "host.h"

void buildKEvent(KEvent *event, unsigned int message, unsigned int wParam, long lParam) {
  *event = KEvent{};
  event->qrxKey = K_VK_ERROR;
  event->mouseX = KInput::getMouseX(); // where the pointer is now, not where the message says
  event->mouseY = KInput::getMouseY();
  event->nativeMessage = (int32_t)message;
  event->nativeData = (int32_t)lParam;
  switch (message) {
  case WM_MOUSEMOVE: event->type = K_EVENT_MOUSEMOVE; break;
  case WM_LBUTTONUP:
    event->type = K_EVENT_MOUSEUP;
    event->buttonIndex = 1;
    break;
  case WM_RBUTTONUP:
    event->type = K_EVENT_MOUSEUP;
    event->buttonIndex = 2;
    break;
  case WM_MBUTTONUP:
    event->type = K_EVENT_MOUSEUP;
    event->buttonIndex = 3;
    break;
  case WM_LBUTTONDOWN:
    event->type = K_EVENT_MOUSEDOWN;
    event->buttonIndex = 1;
    break;
  case WM_RBUTTONDOWN:
    event->type = K_EVENT_MOUSEDOWN;
    event->buttonIndex = 2;
    break;
  case WM_MBUTTONDOWN:
    event->type = K_EVENT_MOUSEDOWN;
    event->buttonIndex = 3;
    break;
  case WM_CHAR:
    event->type = K_EVENT_CHAR;
    event->character = (uint8_t)wParam;
    break;
  case WM_KEYDOWN:
    event->type = K_EVENT_KEYDOWN;
    event->virtualKey = (int32_t)wParam;
    event->qrxKey = KInput::getQRXKey((long)wParam);
    event->character = (uint8_t)(lParam >> 16); // the scan code
    break;
  case WM_KEYUP:
    event->type = K_EVENT_KEYUP;
    event->virtualKey = (int32_t)wParam;
    event->qrxKey = KInput::getQRXKey((long)wParam);
    event->character = (uint8_t)wParam;
    break;
  case WM_MOUSEWHEEL:
    event->type = K_EVENT_WHEEL;
    event->wheel = (int16_t)(wParam >> 16);
    KInput::setLastWheelValue(event->wheel);
    break;
  default: event->type = K_EVENT_OTHER; break;
  }
}
