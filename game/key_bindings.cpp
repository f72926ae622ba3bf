#include "key_bindings.h"

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "settings_file.h"

namespace {

const char *const SECTION = "keys";

// Each action's line in the settings file and the key a gamepad sends for it.
struct ActionInfo {
    const char *settingName;
    EKeyboardLayout padKey;
};
const ActionInfo actions[ACTION_COUNT] = {
    {"up", K_VK_UP},          // d-pad and stick up
    {"down", K_VK_DOWN},      // d-pad and stick down
    {"left", K_VK_LEFT},      // d-pad and stick left
    {"right", K_VK_RIGHT},    // d-pad and stick right
    {"fire", K_VK_SPACE},     // south button
    {"pause", K_VK_P},        // Start
};

const KeyBindings defaults = {{
    {K_VK_UP, K_VK_W, K_VK_ERROR},
    {K_VK_DOWN, K_VK_S, K_VK_ERROR},
    {K_VK_LEFT, K_VK_A, K_VK_ERROR},
    {K_VK_RIGHT, K_VK_D, K_VK_ERROR},
    {K_VK_L_CONTROL, K_VK_SPACE, K_VK_Z},
    {K_VK_P, K_VK_ERROR, K_VK_ERROR},
}};

// The slot holding the key, or false.
bool findKey(const KeyBindings &bindings, EKeyboardLayout key, int &action, int &slot)
{
    for (action = 0; action < ACTION_COUNT; action++)
        for (slot = 0; slot < KEY_SLOTS; slot++)
            if (bindings.keys[action][slot] == key) return true;
    action = slot = -1;
    return false;
}

int keyCount(const KeyBindings &bindings, int action)
{
    int count = 0;
    for (EKeyboardLayout key : bindings.keys[action]) count += key != K_VK_ERROR;
    return count;
}

// The keys that act for the action now: its own, and its pad key while nobody holds that.
std::vector<EKeyboardLayout> actingKeys(const KeyBindings &bindings, int action)
{
    std::vector<EKeyboardLayout> keys;
    for (EKeyboardLayout key : bindings.keys[action])
        if (key != K_VK_ERROR) keys.push_back(key);
    int holder, slot;
    if (!findKey(bindings, actions[action].padKey, holder, slot)) keys.push_back(actions[action].padKey);
    return keys;
}

// One action's keys from its settings line; false when the line is not a list of one to
// three bindable key names.
bool parseKeys(const std::string &text, EKeyboardLayout (&keys)[KEY_SLOTS])
{
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

bool eachKeyOnce(const KeyBindings &bindings)
{
    for (int action = 0; action < ACTION_COUNT; action++)
        for (int slot = 0; slot < KEY_SLOTS; slot++) {
            const EKeyboardLayout key = bindings.keys[action][slot];
            int firstAction, firstSlot;
            if (key == K_VK_ERROR) continue;
            if (findKey(bindings, key, firstAction, firstSlot) && (firstAction != action || firstSlot != slot))
                return false;
        }
    return true;
}

}  // namespace

KeyBindings gKeyBindings = defaults;

KeyBindings defaultKeyBindings() { return defaults; }

BindOutcome bindKey(KeyBindings &bindings, int action, int slot, EKeyboardLayout key)
{
    if (!isBindableKey(key)) return {BIND_REFUSED, -1, -1};
    int otherAction, otherSlot;
    if (!findKey(bindings, key, otherAction, otherSlot)) {
        bindings.keys[action][slot] = key;
        return {BIND_DONE, -1, -1};
    }
    if (otherAction == action && otherSlot == slot) return {BIND_UNCHANGED, -1, -1};
    const EKeyboardLayout given = bindings.keys[action][slot];
    if (given == K_VK_ERROR && otherAction != action && keyCount(bindings, otherAction) == 1)
        return {BIND_REFUSED, otherAction, otherSlot};
    bindings.keys[otherAction][otherSlot] = given;
    bindings.keys[action][slot] = key;
    return {BIND_SWAPPED, otherAction, otherSlot};
}

bool clearKey(KeyBindings &bindings, int action, int slot)
{
    EKeyboardLayout &key = bindings.keys[action][slot];
    if (key != K_VK_ERROR && keyCount(bindings, action) == 1) return false;
    key = K_VK_ERROR;
    return true;
}

bool actionPressed(const KeyBindings &bindings, int action)
{
    for (EKeyboardLayout key : actingKeys(bindings, action))
        if (KInput::isPressed(key)) return true;
    return false;
}

void waitForActionRelease(const KeyBindings &bindings, int action)
{
    for (EKeyboardLayout key : actingKeys(bindings, action)) KInput::waitForKeyRelease(key);
}

KeyBindings readKeyBindings(const SettingsFile &settings)
{
    KeyBindings read = defaults;
    for (int action = 0; action < ACTION_COUNT; action++) {
        const std::string *text = settings.find(SECTION, actions[action].settingName);
        if (!text) continue;  // a missing line keeps the action's default keys
        if (!parseKeys(*text, read.keys[action])) {
            fprintf(stderr, "zyphora: settings: [keys] %s = %s is not one to three key names: using the default keys\n",
                    actions[action].settingName, text->c_str());
            return defaults;
        }
    }
    if (eachKeyOnce(read)) return read;
    fprintf(stderr, "zyphora: settings: [keys] gives a key to two actions: using the default keys\n");
    return defaults;
}

void writeKeyBindings(SettingsFile &settings, const KeyBindings &bindings)
{
    for (int action = 0; action < ACTION_COUNT; action++) {
        std::string names;
        for (EKeyboardLayout key : bindings.keys[action]) {
            if (key == K_VK_ERROR) continue;
            if (!names.empty()) names += ' ';
            names += keyFileName(key);
        }
        settings.set(SECTION, actions[action].settingName, names);
    }
}
