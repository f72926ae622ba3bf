// Scripted input (test library): frames of held keys, pointer, button and close request, turned
// into the messages real devices would have produced and delivered at the next pump.
#include <algorithm>
#include <vector>

#include "host_internal.h"
#include "host_testing.h"

namespace {

struct Pending {
  enum Kind { KEY_DOWN, KEY_UP, MOVE, BUTTON_DOWN, BUTTON_UP, CLOSE } kind;
  int a, b;
};

HostWaitHook waitHook;
void *waitContext;
HostInputFrame current; // the last scripted frame
std::vector<Pending> pending;

bool holds(const HostInputFrame &frame, int key) {
  return std::find(frame.keys, frame.keys + std::min(frame.keyCount, 16), key) !=
         frame.keys + std::min(frame.keyCount, 16);
}

void deliverScriptedInput();
void waitForScriptedInput();

} // namespace

void hostTestSetInput(const HostInputFrame &frame) {
  if (!hostScriptActive()) {
    hostTestSeams.deliverScriptedInput = deliverScriptedInput;
    hostTestSeams.waitForScriptedInput = waitForScriptedInput;
    current = HostInputFrame{};
    hostResetInputState();
  }
  for (int i = 0; i < std::min(current.keyCount, 16); i++)
    if (!holds(frame, current.keys[i])) pending.push_back({Pending::KEY_UP, current.keys[i], 0});
  for (int i = 0; i < std::min(frame.keyCount, 16); i++)
    if (!holds(current, frame.keys[i])) pending.push_back({Pending::KEY_DOWN, frame.keys[i], 0});
  if (frame.mouseX != current.mouseX || frame.mouseY != current.mouseY)
    pending.push_back({Pending::MOVE, frame.mouseX, frame.mouseY});
  if (frame.leftButton != current.leftButton)
    pending.push_back(
        {frame.leftButton ? Pending::BUTTON_DOWN : Pending::BUTTON_UP, frame.mouseX, frame.mouseY});
  if (frame.closeRequest) pending.push_back({Pending::CLOSE, 0, 0});
  current = frame;
  current.closeRequest = false;
}

void hostTestStopInput() {
  hostTestSeams.deliverScriptedInput = nullptr;
  hostTestSeams.waitForScriptedInput = nullptr;
  pending.clear();
  hostResetInputState();
}

void hostTestSetWaitHook(HostWaitHook hook, void *context) {
  waitHook = hook;
  waitContext = context;
}

namespace {

void deliverScriptedInput() {
  std::vector<Pending> batch;
  batch.swap(pending);
  for (const Pending &p : batch) {
    HostWindow *window = hostNewestWindow();
    if (!window) return;
    switch (p.kind) {
    case Pending::KEY_DOWN: hostSendKey(window, p.a, true); break;
    case Pending::KEY_UP: hostSendKey(window, p.a, false); break;
    case Pending::MOVE:
      hostDeliverInput(window, WM_MOUSEMOVE, hostMouseFlags(), hostPointLParam(p.a, p.b));
      break;
    case Pending::BUTTON_DOWN:
      hostDeliverInput(window, WM_LBUTTONDOWN, hostMouseFlags() | MK_LBUTTON,
                       hostPointLParam(p.a, p.b));
      break;
    case Pending::BUTTON_UP:
      hostDeliverInput(window, WM_LBUTTONUP, hostMouseFlags() & ~MK_LBUTTON,
                       hostPointLParam(p.a, p.b));
      break;
    case Pending::CLOSE: hostCloseAll(); break;
    }
  }
}

void waitForScriptedInput() {
  if (waitHook) {
    waitHook(waitContext);
  } else {
    HostInputFrame released = current;
    released.keyCount = 0;
    hostTestSetInput(released);
  }
  hostPumpEvents();
}

} // namespace
