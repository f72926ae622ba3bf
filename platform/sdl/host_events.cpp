// The event pump: SDL events become the Windows messages the window procedures expect, and
// the keyboard, button and pointer state is kept from those same messages.
#include <cstring>

#include "host_internal.h"

namespace {

bool keyState[256]; // by virtual-key code, sided for shift, control and alt
bool leftButton;
int mouseX, mouseY; // client pixels of the window that last saw the pointer

// Key messages carry the generic shift, control and alt codes, as Windows sends them.
int genericKey(int virtualKey) {
  switch (virtualKey) {
  case 160:
  case 161: return 16; // VK_SHIFT
  case 162:
  case 163: return 17; // VK_CONTROL
  case 164:
  case 165: return 18; // VK_MENU
  default: return virtualKey;
  }
}

// The sided code of a key message: the right shift by its scan code, right control and
// alt by the extended-key bit.
int sidedKey(unsigned int wParam, long lParam) {
  bool extended = (lParam >> 24) & 1;
  switch (wParam) {
  case 16: return ((lParam >> 16) & 0xFF) == 0x36 ? 161 : 160;
  case 17: return extended ? 163 : 162;
  case 18: return extended ? 165 : 164;
  default: return wParam & 0xFF;
  }
}

long keyLParam(const HostKey &key, bool down, bool repeat) {
  unsigned long lParam = 1 | (unsigned long)key.scanCode << 16;
  if (key.extended) lParam |= 1ul << 24;
  if (!down || repeat) lParam |= 1ul << 30;
  if (!down) lParam |= 1ul << 31;
  return (long)(int32_t)lParam;
}

void sendKey(HostWindow *window, const HostKey &key, bool down, bool repeat) {
  bool sys =
      hostKeyDown(18) || key.virtualKey == 164 || key.virtualKey == 165 || key.virtualKey == 121;
  unsigned int message = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys ? WM_SYSKEYUP : WM_KEYUP);
  hostDeliverInput(window, message, genericKey(key.virtualKey), keyLParam(key, down, repeat));
  // The control characters Windows translates from key presses.
  if (down &&
      (key.virtualKey == 13 || key.virtualKey == 8 || key.virtualKey == 9 || key.virtualKey == 27))
    hostSendMessage(window, WM_CHAR, key.virtualKey, keyLParam(key, true, repeat));
}

// Characters from text input, one WM_CHAR each (Latin-1 range; others have no 8-bit code).
void sendText(HostWindow *window, const char *text) {
  const unsigned char *p = reinterpret_cast<const unsigned char *>(text);
  while (*p) {
    unsigned int code = *p++;
    if (code >= 0xC0 && code < 0xE0 && (*p & 0xC0) == 0x80)
      code = (code & 0x1F) << 6 | (*p++ & 0x3F);
    else if (code >= 0x80) {
      while ((*p & 0xC0) == 0x80) p++;
      continue;
    }
    if (code >= 32 && code != 127 && code < 256) hostSendMessage(window, WM_CHAR, code, 1);
  }
}

void sendButton(HostWindow *window, uint8_t button, bool down, int x, int y) {
  hostPointInPicture(window, x, y, &x, &y);
  unsigned int message;
  switch (button) {
  case SDL_BUTTON_LEFT: message = down ? WM_LBUTTONDOWN : WM_LBUTTONUP; break;
  case SDL_BUTTON_RIGHT: message = down ? WM_RBUTTONDOWN : WM_RBUTTONUP; break;
  case SDL_BUTTON_MIDDLE: message = down ? WM_MBUTTONDOWN : WM_MBUTTONUP; break;
  default: return;
  }
  hostDeliverInput(window, message, hostMouseFlags(), hostPointLParam(x, y));
}

void sendWindowEvent(HostWindow *window, const SDL_WindowEvent &event) {
  bool focusEvent =
      event.event == SDL_WINDOWEVENT_FOCUS_GAINED || event.event == SDL_WINDOWEVENT_FOCUS_LOST;
  if (hostTestSeams.focusHeld && focusEvent) return;
  switch (event.event) {
  case SDL_WINDOWEVENT_CLOSE: hostSendMessage(window, WM_CLOSE, 0, 0); break;
  case SDL_WINDOWEVENT_EXPOSED: hostSendMessage(window, WM_PAINT, 0, 0); break;
  case SDL_WINDOWEVENT_FOCUS_GAINED:
    window->focused = true;
    hostSendMessage(window, WM_ACTIVATEAPP, 1, 0);
    break;
  case SDL_WINDOWEVENT_FOCUS_LOST:
    window->focused = false;
    hostSendMessage(window, WM_ACTIVATEAPP, 0, 0);
    break;
  default: break;
  }
}

void translate(const SDL_Event &event) {
  bool real = !hostScriptActive(); // a script owns the keyboard and mouse while it runs
  switch (event.type) {
  case SDL_QUIT: hostCloseAll(); break; // e.g. an interrupt: every window is asked to close
  case SDL_WINDOWEVENT:
    if (HostWindow *w = hostWindowOfId(event.window.windowID)) sendWindowEvent(w, event.window);
    break;
  case SDL_KEYDOWN:
  case SDL_KEYUP:
    if (HostWindow *w = hostWindowOfId(event.key.windowID); w && real)
      if (const HostKey *key = hostKeyOfScancode(event.key.keysym.scancode))
        sendKey(w, *key, event.type == SDL_KEYDOWN, event.key.repeat != 0);
    break;
  case SDL_TEXTINPUT:
    if (HostWindow *w = hostWindowOfId(event.text.windowID); w && real)
      sendText(w, event.text.text);
    break;
  case SDL_MOUSEMOTION:
    if (HostWindow *w = hostWindowOfId(event.motion.windowID); w && real) {
      int x, y;
      hostPointInPicture(w, event.motion.x, event.motion.y, &x, &y);
      hostDeliverInput(w, WM_MOUSEMOVE, hostMouseFlags(), hostPointLParam(x, y));
    }
    break;
  case SDL_MOUSEBUTTONDOWN:
  case SDL_MOUSEBUTTONUP:
    if (HostWindow *w = hostWindowOfId(event.button.windowID); w && real)
      sendButton(w, event.button.button, event.type == SDL_MOUSEBUTTONDOWN, event.button.x,
                 event.button.y);
    break;
  case SDL_CONTROLLERDEVICEADDED:
  case SDL_CONTROLLERDEVICEREMOVED:
  case SDL_CONTROLLERBUTTONDOWN:
  case SDL_CONTROLLERBUTTONUP:
  case SDL_CONTROLLERAXISMOTION: hostPadEvent(event); break;
  case SDL_MOUSEWHEEL:
    if (HostWindow *w = hostWindowOfId(event.wheel.windowID); w && real) {
      int delta = event.wheel.y * 120;
      if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) delta = -delta;
      hostDeliverInput(w, WM_MOUSEWHEEL, (unsigned int)(uint16_t)delta << 16 | hostMouseFlags(),
                       hostPointLParam(mouseX, mouseY));
    }
    break;
  default: break;
  }
}

} // namespace

long hostPointLParam(int x, int y) {
  return (long)(int32_t)((uint32_t)(uint16_t)x | (uint32_t)(uint16_t)y << 16);
}

unsigned int hostMouseFlags() {
  uint32_t buttons = leftButton ? SDL_BUTTON_LMASK : 0;
  if (!hostScriptActive() && SDL_WasInit(SDL_INIT_VIDEO))
    buttons = SDL_GetMouseState(nullptr, nullptr);
  unsigned int flags = 0;
  if (buttons & SDL_BUTTON_LMASK) flags |= MK_LBUTTON;
  if (buttons & SDL_BUTTON_RMASK) flags |= MK_RBUTTON;
  if (buttons & SDL_BUTTON_MMASK) flags |= MK_MBUTTON;
  if (hostKeyDown(16)) flags |= MK_SHIFT;
  if (hostKeyDown(17)) flags |= MK_CONTROL;
  return flags;
}

void hostDeliverInput(HostWindow *window, unsigned int message, unsigned int wParam, long lParam) {
  hostWatchScreenshotKey(message, wParam, lParam);
  switch (message) {
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN: keyState[sidedKey(wParam, lParam)] = true; break;
  case WM_KEYUP:
  case WM_SYSKEYUP: keyState[sidedKey(wParam, lParam)] = false; break;
  case WM_LBUTTONDOWN: leftButton = true; break;
  case WM_LBUTTONUP: leftButton = false; break;
  default: break;
  }
  if (message >= WM_MOUSEMOVE && message < WM_MOUSEWHEEL) {
    mouseX = (int16_t)(lParam & 0xFFFF);
    mouseY = (int16_t)((lParam >> 16) & 0xFFFF);
  }
  hostSendMessage(window, message, wParam, lParam);
}

void hostCloseAll() {
  for (HostWindow *w = hostNewestWindow(); w;) {
    HostWindow *next = w->next;
    hostSendMessage(w, WM_CLOSE, 0, 0);
    w = next;
  }
}

void hostSendKey(HostWindow *window, int virtualKey, bool down, bool repeat) {
  if (const HostKey *key = hostKeyOfVirtualKey(virtualKey)) sendKey(window, *key, down, repeat);
}

HostTestSeams hostTestSeams;

void hostPumpEvents() {
  if (hostEndSignal()) hostCloseAll(); // as the player's close, at every turn until the end
  if (hostScriptActive()) hostTestSeams.deliverScriptedInput();
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
  hostPumpPads();
  SDL_Event event;
  while (SDL_PollEvent(&event)) translate(event);
}

void hostWaitEvents(int timeoutMs) {
  if (SDL_WasInit(SDL_INIT_VIDEO)) {
    SDL_Event event;
    if (SDL_WaitEventTimeout(&event, timeoutMs)) translate(event);
  }
  hostPumpEvents();
}

bool hostKeyDown(int virtualKey) {
  switch (virtualKey) {
  case 16: return keyState[160] || keyState[161];
  case 17: return keyState[162] || keyState[163];
  case 18: return keyState[164] || keyState[165];
  default: return virtualKey >= 0 && virtualKey < 256 && keyState[virtualKey];
  }
}

void hostMousePosition(const HostWindow *, int *x, int *y) {
  *x = mouseX;
  *y = mouseY;
}

bool hostLeftButtonDown() { return leftButton; }

void hostResetInputState() {
  memset(keyState, 0, sizeof keyState);
  hostForgetPadKeys();
  leftButton = false;
  mouseX = mouseY = 0;
}

void hostWaitForInput() {
  if (hostScriptActive())
    hostTestSeams.waitForScriptedInput();
  else
    hostWaitEvents(10);
}
