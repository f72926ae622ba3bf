#ifndef ZY_HOST_SHOT_H
#define ZY_HOST_SHOT_H

// Screenshots: where F12 puts them and what they are called (the host saves them through the
// writer the engine sets, host.h). These rules stand alone so they can be tried on any input.

#include <ctime>
#include <string>

// The user's folder settings: $XDG_CONFIG_HOME/user-dirs.dirs, or ~/.config/user-dirs.dirs
// when XDG_CONFIG_HOME is unset or not an absolute path. "" without an absolute home.
std::string userDirsFile(const char *configHome, const char *home);

// The pictures folder: the last XDG_PICTURES_DIR line of a user-dirs.dirs text, quoted or not,
// "$HOME/..." (home put in) or an absolute path; else home/Pictures. No trailing slash.
std::string picturesFolder(const std::string &userDirs, const std::string &home);

// "zyphora-YYYYMMDD-HHMMSS.png" for number 1; "zyphora-YYYYMMDD-HHMMSS-N.png" for N >= 2.
std::string screenshotName(const std::tm &when, int number);

// Creates the first free screenshot file of that second in the folder (empty, so that no other
// screenshot takes its name) and returns its path; "" when none can be made.
std::string claimScreenshotFile(const std::string &folder, const std::tm &when);

#endif
