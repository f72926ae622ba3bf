// What runs before the entry sequence: the command line and the data check.
#ifndef ZYPHORA_LAUNCH_H
#define ZYPHORA_LAUNCH_H

#include <string>

#include "KQRX.h"

struct KDataSearch;

// Reads the options, checks that the data can be found, then runs the game with the choices
// made. Returns the exit status: 0 after --help, --version or a game, 1 when the data is missing
// or no window opens, 2 for an unknown option.
int launchZyphora(int argc, char **argv);

// The renderer asked for: the --renderer= option when given (null when not), else
// ZYPHORA_RENDERER=opengl in the environment, else Direct3D.
Erenderer chosenRenderer(const char *option);

// The message shown when no folder looked in holds the data.
std::string missingDataMessage(const KDataSearch &search);

#endif
