#include "display_settings.h"

#include <cstdio>

#include "KWindow.h"
#include "host.h"
#include "options.h"
#include "settings_file.h"

namespace {

const char SECTION[] = "display";
// Window sizes worth keeping: from a quarter of the picture to a very large desktop.
const long MIN_SIZE = 120, MAX_SIZE = 16384;

bool startedFullscreen; // the run's window opened in full screen

} // namespace

DisplaySettings readDisplaySettings(const SettingsFile &file) {
  DisplaySettings display;
  display.fullscreen = file.getBool(SECTION, "fullscreen", display.fullscreen);
  display.width = (int)file.getInt(SECTION, "width", 0, MIN_SIZE, MAX_SIZE);
  display.height = (int)file.getInt(SECTION, "height", 0, MIN_SIZE, MAX_SIZE);
  if (display.width == 0 || display.height == 0) display.width = display.height = 0;
  std::string name = file.getString(SECTION, "scale", hostScalingName(display.scaling));
  if (!hostScalingNamed(name.c_str(), &display.scaling))
    fprintf(stderr,
            "zyphora: settings: [display] scale = %s is neither sharp nor integer: sharp used\n",
            name.c_str());
  return display;
}

void writeDisplaySettings(SettingsFile &file, const DisplaySettings &display) {
  file.setBool(SECTION, "fullscreen", display.fullscreen);
  if (display.width > 0 && display.height > 0) {
    file.setInt(SECTION, "width", display.width);
    file.setInt(SECTION, "height", display.height);
  }
  file.set(SECTION, "scale", hostScalingName(display.scaling));
}

void applyDisplaySettings(LaunchOptions &options, const SettingsFile &file) {
  DisplaySettings display = readDisplaySettings(file);
  if (!options.windowChosen) options.windowed = !display.fullscreen;
  if (options.scale) hostScalingNamed(options.scale, &display.scaling);
  hostSetScaling(display.scaling);
  hostSetOpeningSize(display.width, display.height);
  startedFullscreen = !options.windowed;
}

void rememberDisplaySettings(KWindow *window) {
  bool fullscreen = false;
  int width = 0, height = 0;
  if (!window ||
      !hostWindowState(hostSDLWindow(window->getWindowHandle()), &fullscreen, &width, &height))
    return;
  DisplaySettings display = readDisplaySettings(desktopSettings());
  if (fullscreen != startedFullscreen) display.fullscreen = fullscreen;
  display.width = width;
  display.height = height;
  writeDisplaySettings(desktopSettings(), display);
  if (!saveDesktopSettings())
    fprintf(stderr, "zyphora: settings: the display settings could not be saved\n");
}
