#include "options.h"

#include <cstring>

#ifndef ZYPHORA_VERSION
#define ZYPHORA_VERSION "unknown"
#endif

namespace {

// An option that takes one of a few names: --renderer= as the ZYPHORA_RENDERER variable spells
// them, --scale= as the settings file does.
struct NamedOption {
  const char *prefix;
  const char *names[3]; // null-terminated
  const char *LaunchOptions::*value;
};
const NamedOption namedOptions[] = {
    {"--renderer=",
     {"direct3d", "opengl", nullptr},
     &LaunchOptions::renderer}, // the drawing device
    {"--scale=",
     {"sharp", "integer", nullptr},
     &LaunchOptions::scale}, // how the picture fills the window
};

const NamedOption *optionOf(const char *arg) {
  for (const NamedOption &option : namedOptions)
    if (strncmp(arg, option.prefix, strlen(option.prefix)) == 0) return &option;
  return nullptr;
}

const char *nameIn(const NamedOption &option, const char *name) {
  for (const char *const *known = option.names; *known; known++)
    if (strcmp(name, *known) == 0) return *known;
  return nullptr;
}

// The option's value taken; false when it names nothing the option knows.
bool takeNamed(LaunchOptions &options, const char *arg) {
  const NamedOption *option = optionOf(arg);
  const char *name = option ? nameIn(*option, arg + strlen(option->prefix)) : nullptr;
  if (name) options.*(option->value) = name;
  return name != nullptr;
}

} // namespace

LaunchOptions parseOptions(int argc, const char *const *argv) {
  LaunchOptions options;
  bool help = false, version = false;
  for (int i = 1; i < argc; i++) {
    const char *arg = argv[i];
    if (strcmp(arg, "--help") == 0 || strcmp(arg, "-h") == 0)
      help = true;
    else if (strcmp(arg, "--version") == 0)
      version = true;
    else if (strcmp(arg, "--fullscreen") == 0 || strcmp(arg, "--windowed") == 0) {
      options.windowed = arg[2] == 'w';
      options.windowChosen = true;
    } else if (!takeNamed(options, arg)) {
      options.action = LaunchOptions::REFUSE;
      options.rejected = arg;
      return options;
    }
  }
  if (help)
    options.action = LaunchOptions::HELP;
  else if (version)
    options.action = LaunchOptions::VERSION;
  return options;
}

const char *usageText() {
  return "Usage: zyphora [OPTION]...\n"
         "A single-player arcade shooter.\n"
         "\n"
         "  --fullscreen                   start in full screen\n"
         "  --windowed                     start in a window (the default)\n"
         "  --renderer=direct3d|opengl     draw with the software Direct3D device (the default)\n"
         "                                 or OpenGL; overrides ZYPHORA_RENDERER\n"
         "  --scale=sharp|integer          fill the screen with crisp pixels (the default), or\n"
         "                                 keep to whole multiples of the picture\n"
         "  -h, --help                     print this help and exit\n"
         "  --version                      print the version and exit\n"
         "\n"
         "Full screen or window, the window's size and the scaling are remembered in\n"
         "$XDG_CONFIG_HOME/zyphora/zyphora.ini (~/.config/zyphora/zyphora.ini); the options\n"
         "above hold for one run.\n";
}

const char *versionText() { return "zyphora " ZYPHORA_VERSION "\n"; }

std::string refusalText(const LaunchOptions &options) {
  const char *arg = options.rejected ? options.rejected : "";
  std::string text = std::string("zyphora: unknown option '") + arg + "'\n";
  if (const NamedOption *option = optionOf(arg)) {
    text = std::string("zyphora: unknown value '") + (arg + strlen(option->prefix)) + "' for " +
           option->prefix + "; known: ";
    for (const char *const *known = option->names; *known; known++)
      text += std::string(known == option->names ? "" : ", ") + *known;
    text += "\n";
  }
  return text + usageText();
}
