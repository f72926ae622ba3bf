// zyphora-scripted: the game as a player starts it, driven by a frame script (frame_script.h).
// The build runs it for the metainfo's screenshot and the start-up benchmark times it; it is
// never installed.
//   zyphora-scripted [--screenshot-after-frames=N] [--quit-after-frames=N] [zyphora's options]
#include "frame_script.h"
#include "launch.h"

int main(int argc, char **argv) {
  FrameScript script;
  std::vector<char *> rest = takeScriptOptions(argc, argv, &script);
  startFrameScript(script);
  return launchZyphora(static_cast<int>(rest.size()) - 1, rest.data());
}
