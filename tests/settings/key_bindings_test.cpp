// The player's keys on their own: what binding, swapping, refusing and clearing do to the
// table, the key names, and the [keys] section read back, damaged or not.
#include <gtest/gtest.h>

#include <cstring>

#include "key_bindings.h"
#include "settings_file.h"
#include "temp_folder.h"

namespace {

int holders(const KeyBindings &b, EKeyboardLayout key) {
  int count = 0;
  for (const auto &keys : b.keys)
    for (EKeyboardLayout k : keys) count += k == key;
  return count;
}

} // namespace

TEST(KeyBindings, DefaultsAreTheGamesKeysWithWASDBesideTheArrows) {
  const KeyBindings b = defaultKeyBindings();
  EXPECT_EQ(K_VK_UP, b.keys[ACTION_UP][0]);
  EXPECT_EQ(K_VK_W, b.keys[ACTION_UP][1]);
  EXPECT_EQ(K_VK_S, b.keys[ACTION_DOWN][1]);
  EXPECT_EQ(K_VK_A, b.keys[ACTION_LEFT][1]);
  EXPECT_EQ(K_VK_D, b.keys[ACTION_RIGHT][1]);
  EXPECT_EQ(K_VK_L_CONTROL, b.keys[ACTION_FIRE][0]);
  EXPECT_EQ(K_VK_SPACE, b.keys[ACTION_FIRE][1]);
  EXPECT_EQ(K_VK_Z, b.keys[ACTION_FIRE][2]);
  EXPECT_EQ(K_VK_P, b.keys[ACTION_PAUSE][0]);
  EXPECT_EQ(K_VK_ERROR, b.keys[ACTION_PAUSE][1]);
}

TEST(KeyBindings, AFreeKeyIsBoundAndAKeyOfAnotherActionIsSwapped) {
  KeyBindings b = defaultKeyBindings();
  EXPECT_EQ(BIND_DONE, bindKey(b, ACTION_UP, 0, K_VK_I).result);
  EXPECT_EQ(K_VK_I, b.keys[ACTION_UP][0]);
  EXPECT_EQ(0, holders(b, K_VK_UP)); // the arrow is free now
  EXPECT_EQ(BIND_UNCHANGED, bindKey(b, ACTION_UP, 0, K_VK_I).result);

  // Fire's Control goes to pause's slot, pause's P comes to fire: nobody loses a key.
  const BindOutcome swap = bindKey(b, ACTION_PAUSE, 0, K_VK_L_CONTROL);
  EXPECT_EQ(BIND_SWAPPED, swap.result);
  EXPECT_EQ(ACTION_FIRE, swap.otherAction);
  EXPECT_EQ(0, swap.otherSlot);
  EXPECT_EQ(K_VK_L_CONTROL, b.keys[ACTION_PAUSE][0]);
  EXPECT_EQ(K_VK_P, b.keys[ACTION_FIRE][0]);

  // Within one action the two slots trade places.
  EXPECT_EQ(BIND_SWAPPED, bindKey(b, ACTION_FIRE, 2, K_VK_SPACE).result);
  EXPECT_EQ(K_VK_Z, b.keys[ACTION_FIRE][1]);
  EXPECT_EQ(K_VK_SPACE, b.keys[ACTION_FIRE][2]);
  for (EKeyboardLayout key : {K_VK_I, K_VK_L_CONTROL, K_VK_P, K_VK_SPACE, K_VK_Z})
    EXPECT_EQ(1, holders(b, key));
}

TEST(KeyBindings, AnEmptySlotTakesAKeyOnlyFromAnActionThatKeepsAnother) {
  KeyBindings b = defaultKeyBindings();
  const BindOutcome refused = bindKey(b, ACTION_UP, 2, K_VK_P); // pause's only key
  EXPECT_EQ(BIND_REFUSED, refused.result);
  EXPECT_EQ(ACTION_PAUSE, refused.otherAction);
  EXPECT_EQ(K_VK_P, b.keys[ACTION_PAUSE][0]);
  EXPECT_EQ(K_VK_ERROR, b.keys[ACTION_UP][2]);

  EXPECT_EQ(BIND_SWAPPED, bindKey(b, ACTION_PAUSE, 1, K_VK_Z).result); // fire keeps two
  EXPECT_EQ(K_VK_Z, b.keys[ACTION_PAUSE][1]);
  EXPECT_EQ(K_VK_ERROR, b.keys[ACTION_FIRE][2]);

  for (EKeyboardLayout key :
       {K_VK_ESCAPE, K_VK_BACK, K_VK_U, K_VK_F11, K_VK_F12, K_VK_MENU, K_VK_R_CONTROL, K_VK_ERROR})
    EXPECT_EQ(BIND_REFUSED, bindKey(b, ACTION_UP, 2, key).result) << key;
}

TEST(KeyBindings, ClearingNeverLeavesAnActionWithoutKeys) {
  KeyBindings b = defaultKeyBindings();
  EXPECT_TRUE(clearKey(b, ACTION_UP, 0));
  EXPECT_EQ(K_VK_ERROR, b.keys[ACTION_UP][0]);
  EXPECT_FALSE(clearKey(b, ACTION_UP, 1)); // W is its last
  EXPECT_EQ(K_VK_W, b.keys[ACTION_UP][1]);
  EXPECT_FALSE(clearKey(b, ACTION_PAUSE, 0));
  EXPECT_TRUE(clearKey(b, ACTION_PAUSE, 2)); // already empty
}

TEST(KeyNames, EveryBindableKeyHasAFileNameThatReadsBackAndAShownNameInTheSheetsFont) {
  const char *font = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789;=,-./`[\\]'*+";
  int bindable = 0;
  for (int k = 0; k < K_VK_ERROR; k++) {
    const EKeyboardLayout key = EKeyboardLayout(k);
    if (!isBindableKey(key)) continue;
    bindable++;
    ASSERT_NE(nullptr, keyFileName(key)) << k;
    EXPECT_EQ(key, keyOfFileName(keyFileName(key))) << keyFileName(key);
    EXPECT_EQ(nullptr, strpbrk(keyFileName(key), "=[] \t")) << keyFileName(key); // safe in the file
    const char *shown = keyShownName(key);
    EXPECT_GT(strlen(shown), 0u);
    EXPECT_LE(strlen(shown), 7u) << shown; // fits a slot
    for (const char *c = shown; *c; c++) EXPECT_NE(nullptr, strchr(font, *c)) << shown;
  }
  EXPECT_EQ(83, bindable); // 93 keys less Escape, Backspace, U, F11, F12, Alt, both Windows keys,
                           // right Shift and Control
  EXPECT_STREQ("CTRL", keyShownName(K_VK_L_CONTROL));
  EXPECT_STREQ(";", keyShownName(K_VK_OEM_1));
  EXPECT_STREQ("SEMICOLON", keyFileName(K_VK_OEM_1));
  EXPECT_EQ(K_VK_SPACE, keyOfFileName("space"));
  EXPECT_EQ(K_VK_NUM7, keyOfFileName("Num7"));
  EXPECT_EQ(K_VK_ERROR, keyOfFileName("ESCAPE"));
  EXPECT_EQ(K_VK_ERROR, keyOfFileName(""));
}

using KeySettings = TempFolderTest;

TEST_F(KeySettings, TheBindingsGoThroughTheFileAndBack) {
  KeyBindings b = defaultKeyBindings();
  bindKey(b, ACTION_UP, 0, K_VK_I);
  bindKey(b, ACTION_PAUSE, 0, K_VK_L_CONTROL);
  clearKey(b, ACTION_DOWN, 1);
  SettingsFile file;
  writeKeyBindings(file, b);
  ASSERT_TRUE(file.save(path("zyphora.ini")));
  const std::string text = readText(path("zyphora.ini"));
  EXPECT_NE(std::string::npos, text.find("[keys]"));
  EXPECT_NE(std::string::npos, text.find("up = I W\n"));
  EXPECT_NE(std::string::npos, text.find("fire = P SPACE Z\n"));
  EXPECT_NE(std::string::npos, text.find("down = DOWN\n"));

  SettingsFile again;
  again.load(path("zyphora.ini"));
  const KeyBindings read = readKeyBindings(again);
  EXPECT_EQ(0, memcmp(&b, &read, sizeof b));
}

TEST_F(KeySettings, BadValuesGiveTheDefaultsAndAMissingLineItsAction) {
  const KeyBindings defaults = defaultKeyBindings();
  auto read = [&](const std::string &lines) {
    writeText(path("zyphora.ini"), "[keys]\n" + lines);
    SettingsFile file;
    file.load(path("zyphora.ini"));
    return readKeyBindings(file);
  };
  for (const char *bad : {"up = BANANA\n",      // no such key
                          "up = ESCAPE\n",      // not bindable
                          "fire = A B C D\n",   // four keys
                          "pause =\n",          // none
                          "up = I I\n",         // the same key twice
                          "up = I\ndown = I\n", // one key, two actions
                          "up = DOWN\n"}) {     // the down arrow stays down's (missing line)
    SCOPED_TRACE(bad);
    const KeyBindings b = read(bad);
    EXPECT_EQ(0, memcmp(&defaults, &b, sizeof b));
  }
  const KeyBindings partial = read("fire = x\n"); // any case; the other actions keep theirs
  EXPECT_EQ(K_VK_X, partial.keys[ACTION_FIRE][0]);
  EXPECT_EQ(K_VK_ERROR, partial.keys[ACTION_FIRE][1]);
  EXPECT_EQ(K_VK_UP, partial.keys[ACTION_UP][0]);
  EXPECT_EQ(K_VK_P, partial.keys[ACTION_PAUSE][0]);
}
