// The program's entry: the command line and the data check, then the game's entry sequence.
#include "launch.h"

int main(int argc, char **argv) { return launchZyphora(argc, argv); }
