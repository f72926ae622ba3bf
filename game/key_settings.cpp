// The player's keys in the settings file: a [keys] section, one line an action, its keys by
// name in slot order ("fire = CTRL SPACE Z").
#include <cstdio>
#include <sstream>
#include <string>

#include "key_bindings.h"
#include "settings_file.h"

namespace {

const char *const SECTION = "keys";
const char *const settingNames[ACTION_COUNT] = {"up", "down", "left", "right", "fire", "pause"};

// One action's keys from its line; false when the line is not one to three bindable key names.
bool parseKeys(const std::string &text, EKeyboardLayout (&keys)[KEY_SLOTS]) {
  std::istringstream words(text);
  std::string word;
  int count = 0;
  for (EKeyboardLayout &key : keys) key = K_VK_ERROR;
  while (words >> word) {
    if (count == KEY_SLOTS) return false;
    keys[count] = keyOfFileName(word.c_str());
    if (keys[count++] == K_VK_ERROR) return false;
  }
  return count > 0;
}

bool eachKeyOnce(const KeyBindings &bindings) {
  bool seen[K_VK_ERROR] = {};
  for (const auto &keys : bindings.keys)
    for (EKeyboardLayout key : keys) {
      if (key == K_VK_ERROR) continue;
      if (seen[key]) return false;
      seen[key] = true;
    }
  return true;
}

} // namespace

KeyBindings readKeyBindings(const SettingsFile &settings) {
  const KeyBindings defaults = defaultKeyBindings();
  KeyBindings read = defaults;
  for (int action = 0; action < ACTION_COUNT; action++) {
    const std::string *text = settings.find(SECTION, settingNames[action]);
    if (!text) continue; // a missing line keeps the action's default keys
    if (!parseKeys(*text, read.keys[action])) {
      fprintf(stderr,
              "zyphora: settings: [keys] %s = %s is not one to three key names: using the default "
              "keys\n",
              settingNames[action], text->c_str());
      return defaults;
    }
  }
  if (eachKeyOnce(read)) return read;
  fprintf(stderr, "zyphora: settings: [keys] gives a key to two actions: using the default keys\n");
  return defaults;
}

void writeKeyBindings(SettingsFile &settings, const KeyBindings &bindings) {
  for (int action = 0; action < ACTION_COUNT; action++) {
    std::string names;
    for (EKeyboardLayout key : bindings.keys[action]) {
      if (key == K_VK_ERROR) continue;
      if (!names.empty()) names += ' ';
      names += keyFileName(key);
    }
    settings.set(SECTION, settingNames[action], names);
  }
}
