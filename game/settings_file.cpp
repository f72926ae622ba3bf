#include "settings_file.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "host.h"
#include "safe_file.h"

namespace {

std::string trimmed(const std::string &text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

void complain(const std::string &what) { fprintf(stderr, "zyphora: settings: %s\n", what.c_str()); }

} // namespace

void SettingsFile::load(const std::string &path) {
  sections.clear();
  std::string bytes;
  const FileRead read = readPlayerFile(path.c_str(), bytes, MAX_BYTES + 1);
  if (read == FileRead::ABSENT) return;
  if (read == FileRead::UNREADABLE || bytes.size() > MAX_BYTES) {
    complain(path + " cannot be read: using the defaults");
    return;
  }
  std::istringstream lines(bytes);
  std::string line, section;
  for (int number = 1; std::getline(lines, line); number++) {
    line = trimmed(line);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    const size_t equals = line.find('=');
    const bool header = line.front() == '[' && line.back() == ']' && line.size() > 2;
    std::string key = equals == std::string::npos ? "" : trimmed(line.substr(0, equals));
    if (header) {
      section = trimmed(line.substr(1, line.size() - 2));
    } else if (!key.empty() && !section.empty() && line.find('\0') == std::string::npos) {
      sections[section][key] = trimmed(line.substr(equals + 1));
    } else {
      complain(path + " is damaged at line " + std::to_string(number) + ": using the defaults");
      sections.clear();
      return;
    }
  }
}

bool SettingsFile::save(const std::string &path) const {
  std::string text = "# Zyphora's desktop settings, rewritten by the game.\n";
  for (const auto &[name, values] : sections) {
    text += "\n[" + name + "]\n";
    for (const auto &[key, value] : values) text += key + " = " + value + "\n";
  }
  return !path.empty() && writePlayerFile(path.c_str(), text);
}

const std::string *SettingsFile::find(const std::string &section, const std::string &key) const {
  const auto s = sections.find(section);
  if (s == sections.end()) return nullptr;
  const auto v = s->second.find(key);
  return v == s->second.end() ? nullptr : &v->second;
}

std::string SettingsFile::getString(const std::string &section, const std::string &key,
                                    const std::string &fallback) const {
  const std::string *value = find(section, key);
  return value ? *value : fallback;
}

long SettingsFile::getInt(const std::string &section, const std::string &key, long fallback,
                          long low, long high) const {
  const std::string *value = find(section, key);
  if (!value) return fallback;
  char *end = nullptr;
  errno = 0;
  const long number = strtol(value->c_str(), &end, 10);
  if (errno == 0 && end != value->c_str() && *end == 0 && number >= low && number <= high)
    return number;
  complain("[" + section + "] " + key + " = " + *value + " is not a number from " +
           std::to_string(low) + " to " + std::to_string(high) + ": using " +
           std::to_string(fallback));
  return fallback;
}

bool SettingsFile::getBool(const std::string &section, const std::string &key,
                           bool fallback) const {
  const std::string *value = find(section, key);
  if (!value) return fallback;
  if (*value == "true") return true;
  if (*value == "false") return false;
  complain("[" + section + "] " + key + " = " + *value + " is neither true nor false: using " +
           (fallback ? "true" : "false"));
  return fallback;
}

void SettingsFile::set(const std::string &section, const std::string &key,
                       const std::string &value) {
  sections[section][key] = value;
}

void SettingsFile::setInt(const std::string &section, const std::string &key, long value) {
  set(section, key, std::to_string(value));
}

void SettingsFile::setBool(const std::string &section, const std::string &key, bool value) {
  set(section, key, value ? "true" : "false");
}

std::string settingsFilePath() {
  char folder[4096];
  return hostConfigFolder(folder, sizeof folder) ? std::string(folder) + "/zyphora.ini" : "";
}

SettingsFile &desktopSettings() {
  static SettingsFile settings = [] {
    SettingsFile loaded;
    loaded.load(settingsFilePath());
    return loaded;
  }();
  return settings;
}

bool saveDesktopSettings() { return desktopSettings().save(settingsFilePath()); }
