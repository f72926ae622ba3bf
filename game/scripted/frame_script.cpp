#include "frame_script.h"

#include <cstdlib>
#include <cstring>

#include "host_testing.h"
#include "host_vk.h"

namespace {

FrameScript running;

// Frame hook: F12 held for one frame at the frame asked for, then the close request.
void runFrameScript(void *, unsigned long frame) {
  HostInputFrame input{};
  input.mouseX = 300; // the pointer rests by the menu's first item, not in the corner
  input.mouseY = 330;
  if (running.screenshotFrame > 0 && frame + 1 == running.screenshotFrame) {
    input.keys[input.keyCount++] = VK_F12;
    hostTestSetInput(input);
  } else if (running.screenshotFrame > 0 && frame == running.screenshotFrame) {
    hostTestSetInput(input);
  }
  if (running.quitAfterFrames > 0 && frame + 1 == running.quitAfterFrames) {
    input.closeRequest = true;
    hostTestSetInput(input);
  }
}

// The count of --name=N when arg is that option with a whole number.
bool countOption(const char *arg, const char *name, unsigned long *count) {
  size_t length = strlen(name);
  if (strncmp(arg, name, length) != 0 || arg[length] != '=' || !arg[length + 1]) return false;
  char *end = nullptr;
  unsigned long value = strtoul(arg + length + 1, &end, 10);
  if (*end || arg[length + 1] == '-') return false;
  *count = value;
  return true;
}

} // namespace

std::vector<char *> takeScriptOptions(int argc, char **argv, FrameScript *script) {
  std::vector<char *> rest;
  for (int i = 0; i < argc; i++) {
    bool taken =
        i > 0 && (countOption(argv[i], "--screenshot-after-frames", &script->screenshotFrame) ||
                  countOption(argv[i], "--quit-after-frames", &script->quitAfterFrames));
    if (!taken) rest.push_back(argv[i]);
  }
  rest.push_back(nullptr);
  return rest;
}

void startFrameScript(const FrameScript &script) {
  running = script;
  if (script.screenshotFrame > 0 || script.quitAfterFrames > 0)
    hostTestSetFrameHook(runFrameScript, nullptr);
}
