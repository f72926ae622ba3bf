// A fresh home for one test: HOME and XDG_CONFIG_HOME point into a new temporary folder while it
// lives, so screenshots never land in the real pictures folder; both are put back afterwards.
#ifndef TEMP_HOME_H
#define TEMP_HOME_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

class TempHome {
public:
  TempHome() : savedHome(saved("HOME")), savedConfig(saved("XDG_CONFIG_HOME")) {
    char pattern[] = "/tmp/zyphora-home-XXXXXX";
    home = mkdtemp(pattern) ? pattern : "";
    setenv("HOME", home.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config().c_str(), 1);
  }
  ~TempHome() {
    restore("HOME", savedHome);
    restore("XDG_CONFIG_HOME", savedConfig);
    std::error_code ignored;
    if (!home.empty()) std::filesystem::remove_all(home, ignored);
  }
  TempHome(const TempHome &) = delete;
  TempHome &operator=(const TempHome &) = delete;

  const std::string &path() const { return home; }
  std::string config() const { return home + "/config"; }

  // Writes the user's folder settings (config()/user-dirs.dirs).
  void writeUserDirs(const std::string &text) const {
    std::filesystem::create_directories(config());
    std::ofstream(config() + "/user-dirs.dirs") << text;
  }

  // The names of the files in a folder (none when it does not exist).
  static std::set<std::string> filesIn(const std::string &folder) {
    std::set<std::string> names;
    std::error_code missing;
    for (const auto &entry : std::filesystem::directory_iterator(folder, missing))
      names.insert(entry.path().filename().string());
    return names;
  }

private:
  struct Saved {
    bool set;
    std::string value;
  };
  static Saved saved(const char *name) {
    const char *value = getenv(name);
    return {value != nullptr, value ? value : ""};
  }
  static void restore(const char *name, const Saved &s) {
    if (s.set)
      setenv(name, s.value.c_str(), 1);
    else
      unsetenv(name);
  }

  Saved savedHome, savedConfig;
  std::string home;
};

#endif
