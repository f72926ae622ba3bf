// The command line: what the player asked for before the game starts.
#ifndef ZYPHORA_OPTIONS_H
#define ZYPHORA_OPTIONS_H

#include <string>

struct LaunchOptions {
  enum Action {
    PLAY,    // start the game
    HELP,    // print the usage on standard output, exit 0
    VERSION, // print the version on standard output, exit 0
    REFUSE,  // an unknown or malformed option: the usage on standard error, exit 2
  } action = PLAY;
  bool windowed = true; // --fullscreen clears it, --windowed sets it (the last wins)
  bool windowChosen =
      false; // --fullscreen or --windowed was given (the settings' choice is overridden)
  const char *renderer = nullptr; // "direct3d" or "opengl" from --renderer=, null when not given
  const char *scale = nullptr;    // "sharp" or "integer" from --scale=, null when not given
  const char *rejected = nullptr; // the argument refused, for REFUSE
};

// Reads argv[1..argc-1]. --help (or -h) and --version win over any other option; the first
// refused argument ends the reading.
LaunchOptions parseOptions(int argc, const char *const *argv);

// The usage text, ending with a newline.
const char *usageText();
// "zyphora VERSION\n".
const char *versionText();
// Why the options were refused, then the usage: what standard error shows for REFUSE. A value
// the option does not know is named with the values it knows.
std::string refusalText(const LaunchOptions &options);

#endif
