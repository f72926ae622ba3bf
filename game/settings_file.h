// The desktop settings the Windows game never had (full screen, window size, scaling, keys):
// INI-like text, "zyphora.ini" in $XDG_CONFIG_HOME/zyphora, apart from the 56-byte preferences.
//
//     # comment
//     [display]
//     fullscreen = false
//
// Values are read through typed getters that fall back to the caller's default (saying so on
// standard error) when a value is missing or out of range; a file that cannot be parsed at all
// gives the defaults everywhere.
#ifndef ZYPHORA_SETTINGS_FILE_H
#define ZYPHORA_SETTINGS_FILE_H

#include <map>
#include <string>

class SettingsFile {
public:
  // Reads the file: a missing one gives empty settings silently; an unreadable or damaged one
  // (a line that is not a section, a key = value pair, blank or a comment; a key outside any
  // section; more than MAX_BYTES) gives empty settings and one line on standard error.
  void load(const std::string &path);
  // Writes every section in name order, atomically. False on failure (the old file stays).
  bool save(const std::string &path) const;

  // The text stored, or nullptr.
  const std::string *find(const std::string &section, const std::string &key) const;
  std::string getString(const std::string &section, const std::string &key,
                        const std::string &fallback) const;
  long getInt(const std::string &section, const std::string &key, long fallback, long low,
              long high) const;
  bool getBool(const std::string &section, const std::string &key, bool fallback) const;

  // Keys and values are stored as given: keep them free of '=', '[', ']' and line breaks.
  void set(const std::string &section, const std::string &key, const std::string &value);
  void setInt(const std::string &section, const std::string &key, long value);
  void setBool(const std::string &section, const std::string &key, bool value);

  static constexpr size_t MAX_BYTES = 64 * 1024;

private:
  std::map<std::string, std::map<std::string, std::string>> sections;
};

// $XDG_CONFIG_HOME/zyphora/zyphora.ini (folder created); empty when no such folder can be made.
std::string settingsFilePath();

// The game's one copy of its settings, loaded from settingsFilePath() on first use.
SettingsFile &desktopSettings();
// Writes that copy back; false when it could not be written (the old file stays).
bool saveDesktopSettings();

#endif
