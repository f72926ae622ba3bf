// Screenshot names and the user's pictures folder (xdg-user-dirs' settings file).
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sstream>
#include <unistd.h>

#include "host_shot.h"

namespace {

// The value of a shell assignment: "quoted with \ escapes", or a bare word.
std::string shellValue(const std::string &text) {
  if (text.empty() || text[0] != '"') return text.substr(0, text.find_first_of(" \t\r"));
  std::string value;
  for (size_t i = 1; i < text.size() && text[i] != '"'; i++) {
    if (text[i] == '\\' && i + 1 < text.size()) i++;
    value += text[i];
  }
  return value;
}

// "$HOME/x" becomes home/x and "/x" stays; anything else is no folder ("").
std::string expandHome(const std::string &value, const std::string &home) {
  if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
    return home + value.substr(5);
  return !value.empty() && value[0] == '/' ? value : "";
}

std::string withoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

} // namespace

std::string userDirsFile(const char *configHome, const char *home) {
  if (configHome && configHome[0] == '/') return std::string(configHome) + "/user-dirs.dirs";
  if (home && home[0] == '/') return std::string(home) + "/.config/user-dirs.dirs";
  return "";
}

std::string picturesFolder(const std::string &userDirs, const std::string &home) {
  static const std::string key = "XDG_PICTURES_DIR";
  std::string folder = home + "/Pictures";
  std::istringstream lines(userDirs);
  for (std::string line; std::getline(lines, line);) {
    size_t at = line.find_first_not_of(" \t");
    if (at == std::string::npos || line.compare(at, key.size(), key) != 0) continue;
    at = line.find_first_not_of(" \t", at + key.size());
    if (at == std::string::npos || line[at] != '=') continue;
    std::string named = expandHome(shellValue(line.substr(at + 1)), home);
    if (!named.empty()) folder = named;
  }
  return withoutTrailingSlash(folder);
}

std::string screenshotName(const std::tm &when, int number) {
  char name[64];
  int n = snprintf(name, sizeof name, "zyphora-%04d%02d%02d-%02d%02d%02d", when.tm_year + 1900,
                   when.tm_mon + 1, when.tm_mday, when.tm_hour, when.tm_min, when.tm_sec);
  if (number >= 2) snprintf(name + n, sizeof name - n, "-%d", number);
  return std::string(name) + ".png";
}

std::string claimScreenshotFile(const std::string &folder, const std::tm &when) {
  for (int number = 1; number < 10000; number++) {
    std::string path = folder + "/" + screenshotName(when, number);
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
      ::close(fd);
      return path;
    }
    if (errno != EEXIST) break;
  }
  return "";
}
