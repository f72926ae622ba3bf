// What runs before the entry sequence: the command line and the data check.
#ifndef ZYPHORA_LAUNCH_H
#define ZYPHORA_LAUNCH_H

#include <string>

struct KDataSearch;

// Reads the options, checks that the data can be found, then runs the game. Returns the exit
// status: 0 after --help, --version or a game, 1 when the data is missing or no window opens,
// 2 for an unknown option.
//
// ZYPHORA_QUIT_AFTER_FRAMES=N in the environment closes the window after N frames, as if the
// player had: a check that a copy starts, draws its menu and ends cleanly, with no one to
// close it. ZYPHORA_SCREENSHOT_AFTER_FRAMES=N presses F12 once N frames are drawn: the next frame
// is saved as a screenshot, as a player's F12 saves it.
int launchZyphora(int argc, char **argv);

// The message shown when no folder looked in holds the data.
std::string missingDataMessage(const KDataSearch &search);

#endif
