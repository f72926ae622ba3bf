#include "options.h"

#include <cstring>

#ifndef ZYPHORA_VERSION
#define ZYPHORA_VERSION "unknown"
#endif

namespace {

// The renderers --renderer= accepts, as the ZYPHORA_RENDERER variable spells them.
const char *const rendererNames[] = {"direct3d", "opengl"};

const char *rendererNamed(const char *name)
{
    for (const char *known : rendererNames)
        if (strcmp(name, known) == 0) return known;
    return nullptr;
}

}  // namespace

LaunchOptions parseOptions(int argc, const char *const *argv)
{
    LaunchOptions options;
    bool help = false, version = false;
    const char rendererPrefix[] = "--renderer=";
    for (int i = 1; i < argc; i++) {
        const char *arg = argv[i];
        if (strcmp(arg, "--help") == 0) help = true;
        else if (strcmp(arg, "--version") == 0) version = true;
        else if (strcmp(arg, "--fullscreen") == 0) options.windowed = false;
        else if (strcmp(arg, "--windowed") == 0) options.windowed = true;
        else if (strncmp(arg, rendererPrefix, sizeof rendererPrefix - 1) == 0 &&
                 rendererNamed(arg + sizeof rendererPrefix - 1))
            options.renderer = rendererNamed(arg + sizeof rendererPrefix - 1);
        else {
            options.action = LaunchOptions::REFUSE;
            options.rejected = arg;
            return options;
        }
    }
    if (help) options.action = LaunchOptions::HELP;
    else if (version) options.action = LaunchOptions::VERSION;
    return options;
}

const char *usageText()
{
    return "Usage: zyphora [OPTION]...\n"
           "A single-player arcade shooter.\n"
           "\n"
           "  --fullscreen                   start in full screen\n"
           "  --windowed                     start in a window (the default)\n"
           "  --renderer=direct3d|opengl     draw with the software Direct3D device (the default)\n"
           "                                 or OpenGL; overrides ZYPHORA_RENDERER\n"
           "  --help                         print this help and exit\n"
           "  --version                      print the version and exit\n";
}

const char *versionText() { return "zyphora " ZYPHORA_VERSION "\n"; }
