// A frame script: the whole program run unattended, for the build's screenshot and the start-up
// benchmark, never in the player's copy. The pointer rests by the menu's first item; F12 is held
// for one frame so that the frame after it is saved as the player's F12 saves it; the window is
// closed, as a player closes it, once the frames asked for are drawn.
#ifndef ZYPHORA_FRAME_SCRIPT_H
#define ZYPHORA_FRAME_SCRIPT_H

#include <vector>

struct FrameScript {
  unsigned long screenshotFrame = 0; // F12 pressed once this many frames are drawn; 0 never
  unsigned long quitAfterFrames = 0; // the window closed after this many frames; 0 never
};

// Takes --screenshot-after-frames=N and --quit-after-frames=N out of the command line into
// `script`; what is left (the program's name first, then the game's own options) is returned,
// null-terminated as argv is.
std::vector<char *> takeScriptOptions(int argc, char **argv, FrameScript *script);

// Runs the script from the next frame drawn on, through the host's frame hook.
void startFrameScript(const FrameScript &script);

#endif
