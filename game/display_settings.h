// The display the player chose, remembered between runs in the settings file's [display]
// section:
//
//     [display]
//     fullscreen = false
//     width = 960        the window's size when it last closed (full screen keeps it too)
//     height = 960
//     scale = sharp      or integer: whole multiples of the picture only
//
// Read at launch, with the command line over it for that run; written when the game's window
// closes.
#ifndef ZYPHORA_DISPLAY_SETTINGS_H
#define ZYPHORA_DISPLAY_SETTINGS_H

#include "host_scale.h"

class KWindow;
class SettingsFile;
struct LaunchOptions;

struct DisplaySettings {
  bool fullscreen = false;
  int width = 0, height = 0; // 0 x 0: a whole multiple of the picture chosen from the desktop
  HostScaling scaling = HOST_SCALE_SHARP;
};

// The file's display settings; each missing or bad value falls back to the default (a bad
// one says so on standard error).
DisplaySettings readDisplaySettings(const SettingsFile &file);
void writeDisplaySettings(SettingsFile &file, const DisplaySettings &display);

// At launch: the file's display settings (the game's own, desktopSettings()) with the options
// over them. The host gets the scaling and the window size; options.windowed becomes the run's
// choice.
void applyDisplaySettings(LaunchOptions &options, const SettingsFile &file);
// When the game's window is about to close: its windowed size, and full screen when the player
// switched it during the run (not when an option chose it), are written to the settings file.
void rememberDisplaySettings(KWindow *window);

#endif
