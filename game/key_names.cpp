// The names of the keys a player may bind: one for the settings file (words only, as the file
// keeps '=', '[' and ']' for itself) and one for the panel (the sheet's small font).
#include <cctype>
#include <string>

#include "key_bindings.h"

namespace {

struct NamedKey {
  EKeyboardLayout key;
  const char *file, *shown;
};

// The bindable keys outside the lettered and numbered ranges.
const NamedKey namedKeys[] = {
    {K_VK_LEFT, "LEFT", "LEFT"},
    {K_VK_UP, "UP", "UP"},
    {K_VK_DOWN, "DOWN", "DOWN"},
    {K_VK_RIGHT, "RIGHT", "RIGHT"},
    {K_VK_SPACE, "SPACE", "SPACE"},
    {K_VK_L_SHIFT, "SHIFT", "SHIFT"}, // either shift key
    {K_VK_RETURN, "RETURN", "RETURN"},
    {K_VK_L_CONTROL, "CTRL", "CTRL"}, // either control key
    {K_VK_TAB, "TAB", "TAB"},
    {K_VK_F10, "F10", "F10"}, // F11 and F12 belong to the window: full screen, screenshot
    {K_VK_MULTIPLY, "NUM*", "NUM*"},
    {K_VK_ADD, "NUM+", "NUM+"},
    {K_VK_SUBTRACT, "NUM-", "NUM-"},
    {K_VK_DECIMAL, "NUM.", "NUM."},
    {K_VK_DIVIDE, "NUM/", "NUM/"},
    {K_VK_CLEAR, "CLEAR", "CLEAR"}, // keypad 5 with Num Lock off
    {K_VK_NUMLOCK, "NUMLOCK", "NUMLOCK"},
    {K_VK_SCROLL, "SCROLLLOCK", "SCROLL"},
    {K_VK_OEM_1, "SEMICOLON", ";"},
    {K_VK_OEM_PLUS, "EQUALS", "="},
    {K_VK_OEM_COMMA, "COMMA", ","},
    {K_VK_OEM_MINUS, "MINUS", "-"},
    {K_VK_OEM_PERIOD, "PERIOD", "."},
    {K_VK_OEM_2, "SLASH", "/"},
    {K_VK_OEM_3, "GRAVE", "`"},
    {K_VK_OEM_4, "LBRACKET", "["},
    {K_VK_OEM_5, "BACKSLASH", "\\"},
    {K_VK_OEM_6, "RBRACKET", "]"},
    {K_VK_OEM_7, "APOSTROPHE", "'"},
};

// A range of keys named by a prefix and a running number or letter.
struct KeyRange {
  EKeyboardLayout first, last;
  const char *prefix;
  char start; // the first key's character: the rest follow in order
};

const KeyRange keyRanges[] = {
    {K_VK_A, K_VK_Z, "", 'A'},
    {K_VK_0, K_VK_9, "", '0'},
    {K_VK_NUM0, K_VK_NUM9, "NUM", '0'},
    {K_VK_F1, K_VK_F9, "F", '1'}, // F10 has two digits: in the table above
};

struct Names {
  std::string file[K_VK_ERROR], shown[K_VK_ERROR]; // empty: not bindable
};

Names makeNames() {
  Names names;
  for (const KeyRange &range : keyRanges)
    for (int key = range.first; key <= range.last; key++) {
      names.file[key] = range.prefix + std::string(1, char(range.start + key - range.first));
      names.shown[key] = names.file[key];
    }
  for (const NamedKey &named : namedKeys) {
    names.file[named.key] = named.file;
    names.shown[named.key] = named.shown;
  }
  // U is the game's own: it shows the smart-bomb flash and holds the game until let go.
  names.file[K_VK_U].clear();
  names.shown[K_VK_U].clear();
  return names;
}

const Names &names() {
  static const Names built = makeNames();
  return built;
}

bool inTable(EKeyboardLayout key) { return key >= 0 && key < K_VK_ERROR; }

} // namespace

bool isBindableKey(EKeyboardLayout key) { return inTable(key) && !names().file[key].empty(); }

const char *keyFileName(EKeyboardLayout key) {
  return isBindableKey(key) ? names().file[key].c_str() : nullptr;
}

const char *keyShownName(EKeyboardLayout key) {
  return isBindableKey(key) ? names().shown[key].c_str() : "";
}

EKeyboardLayout keyOfFileName(const char *name) {
  std::string upper(name);
  for (char &c : upper) c = char(toupper(static_cast<unsigned char>(c)));
  for (int key = 0; key < K_VK_ERROR; key++)
    if (names().file[key] == upper && !upper.empty()) return EKeyboardLayout(key);
  return K_VK_ERROR;
}
