// The controls panel run for real through the scripted runner: keys rebound from the keyboard
// and the mouse, kept in the settings file across runs, conflicts swapped or refused, the
// defaults restored, and a game that flies, fires and pauses on the rebound keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "ScriptedGame.h"
#include "key_bindings.h"
#include "menu.h"
#include "settings_file.h"
#include "state.h"
#include "zyphora.h"

namespace {

const unsigned long NEVER = ~0ul;
constexpr int VK_X = 'X', VK_BACKSPACE = 8;

// Where the panel draws slot `slot` of action `action`, and the way in on the options panel.
struct Spot {
  int x, y;
};
Spot slotCentre(int action, int slot) { return {175 + 88 * slot + 42, 178 + 28 * action + 11}; }
const Spot CONTROLS_LABEL = {240, 281}, DEFAULTS_BUTTON = {150, 369}, BACK_BUTTON = {355, 369};

void tap(ScriptedGame &game, unsigned long now, unsigned long frame, int key) {
  if (now == frame) game.setInput({{key}});
  if (now == frame + 1) game.setInput({});
}

// A click: the button goes down on `frame` and up on the next, the pointer resting there.
void click(ScriptedGame &game, unsigned long now, unsigned long frame, Spot at) {
  if (now == frame) game.setInput(Input::pointer(at.x, at.y, true));
  if (now == frame + 1) game.setInput(Input::pointer(at.x, at.y, false));
}

// The ink of one slot's key name as shown: its near-white pixels (the rippling menu behind the
// panel shows through faintly and never that bright).
std::vector<bool> slotInk(const Frame &frame, int action, int slot) {
  std::vector<bool> ink;
  const Spot c = slotCentre(action, slot);
  for (int y = c.y - 10; y < c.y + 10; y++)
    for (int x = c.x - 41; x < c.x + 41; x++)
      ink.push_back(frame.red(x, y) > 170 && frame.green(x, y) > 170 && frame.blue(x, y) > 170);
  return ink;
}

size_t inked(const std::vector<bool> &ink) { return std::count(ink.begin(), ink.end(), true); }

// The same name: the ink differs at most in a few edge pixels, where the glyphs' soft edges
// meet the faint ripple behind.
bool sameName(const std::vector<bool> &a, const std::vector<bool> &b) {
  size_t differing = 0;
  for (size_t i = 0; i < a.size(); i++) differing += a[i] != b[i];
  return inked(a) > 0 && differing <= 2 + inked(a) / 8;
}

bool sameKeys(const KeyBindings &a, const KeyBindings &b) {
  return std::equal(&a.keys[0][0], &a.keys[0][0] + ACTION_COUNT * KEY_SLOTS, &b.keys[0][0]);
}

// Each test starts on the title menu with the default keys and a settings folder of its own.
class ControlsPanelRun : public ::testing::Test {
protected:
  void SetUp() override {
    char pattern[] = "/tmp/zyphora-keys-XXXXXX";
    folder = mkdtemp(pattern);
    setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    desktopSettings().load(settingsFilePath());
    gKeyBindings = defaultKeyBindings();
    gMenuActive = 0;
  }
  void TearDown() override {
    unsetenv("XDG_CONFIG_HOME");
    desktopSettings() = SettingsFile();
    std::filesystem::remove_all(folder);
  }
  std::string settingsText() const {
    std::ifstream in(folder + "/zyphora/zyphora.ini");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  // A new run of the game reads the file afresh.
  void restart() {
    desktopSettings().load(settingsFilePath());
    gKeyBindings = defaultKeyBindings();
    gMenuActive = 0;
  }

  std::string folder;
};

} // namespace

// One suite a renderer: the software Direct3D device, or OpenGL.
using RENDERER_SUITE = ControlsPanelRun;

TEST_F(RENDERER_SUITE, KeysReboundFromTheKeyboardAreKeptAndTheNextRunFliesFiresAndPausesOnThem) {
  // First run: Down to the options, Right opens the panel; UP's first key becomes X, and
  // fire's first key becomes P, which pause had: pause takes fire's Control in exchange.
  Frame before, afterX;
  KeyBindings whileWaiting{}, afterSwap{};
  {
    ScriptedGame game;
    game.keepSettingsIn(folder);
    game.onFrame = [&](unsigned long f) {
      tap(game, f, 25, VK_DOWN);
      tap(game, f, 30, VK_RIGHT);
      if (f == 33) before = game.capture();
      tap(game, f, 35, VK_RETURN); // UP, first key: waiting
      tap(game, f, 38, VK_X);
      if (f == 41) afterX = game.capture();
      for (unsigned long down = 0; down < 4; down++) tap(game, f, 43 + 2 * down, VK_DOWN);
      tap(game, f, 52, VK_RETURN); // FIRE, first key
      if (f == 54) whileWaiting = gKeyBindings;
      tap(game, f, 56, VK_P);
      if (f == 59) afterSwap = gKeyBindings;
      tap(game, f, 62, VK_ESCAPE); // back to the options
      tap(game, f, 66, VK_UP);     // the menu's own keys work again: to PLAY
      if (f == 70) game.setInput(Input::closing());
    };
    EXPECT_EQ(0, game.runMain());
    EXPECT_FALSE(game.ranAway());
    EXPECT_EQ(0, gMenuActive);
  }
  EXPECT_EQ(K_VK_L_CONTROL, whileWaiting.keys[ACTION_FIRE][0]); // Return alone binds nothing
  EXPECT_EQ(K_VK_P, afterSwap.keys[ACTION_FIRE][0]);
  EXPECT_EQ(K_VK_L_CONTROL, afterSwap.keys[ACTION_PAUSE][0]);
  // The panel shows each action's keys: UP's first slot reads UP, then X.
  ASSERT_EQ(480, before.width);
  EXPECT_GT(inked(slotInk(before, ACTION_UP, 0)), 20u); // "UP"
  EXPECT_GT(inked(slotInk(afterX, ACTION_UP, 0)), 10u); // "X"
  EXPECT_FALSE(sameName(slotInk(before, ACTION_UP, 0), slotInk(afterX, ACTION_UP, 0)));
  EXPECT_TRUE(sameName(slotInk(before, ACTION_UP, 1), slotInk(afterX, ACTION_UP, 1))); // W stays
  const std::string text = settingsText();
  EXPECT_NE(std::string::npos, text.find("[keys]")) << text;
  EXPECT_NE(std::string::npos, text.find("up = X W\n")) << text;
  EXPECT_NE(std::string::npos, text.find("fire = P SPACE Z\n")) << text;
  EXPECT_NE(std::string::npos, text.find("pause = CTRL\n")) << text;

  // Second run: the file's keys from the start. X flies up, the up arrow (the pad's d-pad,
  // now nobody's) still does, P fires without pausing, Control pauses and resumes.
  restart();
  ScriptedGame game;
  game.keepSettingsIn(folder);
  unsigned long start = NEVER;
  float y[4] = {}, timer[5] = {};
  size_t shotsBeforeP = 0, shotsWithP = 0;
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 25, VK_RETURN); // PLAY
    if (start == NEVER && game.countCalls("snd_welcomegame", DsCall::Play)) start = f;
    if (start == NEVER) return;
    const unsigned long g = f - start;
    if (g == 5) y[0] = myShip.y, game.setInput({{VK_X}});
    if (g == 25) y[1] = myShip.y, game.setInput({{VK_UP}});
    if (g == 40) y[2] = myShip.y, game.setInput({});
    if (g == 45)
      shotsBeforeP = game.countCalls("snd_shipshot", DsCall::Play), game.setInput({{VK_P}});
    if (g == 50) timer[0] = gLevelTimer;
    if (g == 65) shotsWithP = game.countCalls("snd_shipshot", DsCall::Play), timer[1] = gLevelTimer;
    if (g == 65) game.setInput({});
    if (g == 70) game.setInput({{VK_LCONTROL}}); // pauses
    if (g == 75) timer[2] = gLevelTimer;
    if (g == 85) timer[3] = gLevelTimer;
    if (g == 90) game.setInput({{VK_LCONTROL}}); // resumes
    if (g == 100) timer[4] = gLevelTimer, game.setInput({{VK_ESCAPE}});
    if (g == 130) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_FALSE(game.ranAway());
  ASSERT_NE(NEVER, start);
  EXPECT_LE(y[1], y[0] - 30) << "X flies up";
  EXPECT_LE(y[2], y[1] - 20) << "the free up arrow still flies up";
  EXPECT_GE(shotsWithP, shotsBeforeP + 1) << "P fires";
  EXPECT_LT(timer[1], timer[0]) << "P does not pause";
  EXPECT_FLOAT_EQ(timer[2], timer[3]) << "Control pauses";
  EXPECT_LT(timer[4], timer[3]) << "Control resumes";
}

TEST_F(RENDERER_SUITE, TheMouseOpensItRefusesAPauseWithoutKeysClearsASlotAndRestoresTheDefaults) {
  ScriptedGame game;
  game.keepSettingsIn(folder);
  Frame opened, refusal, restored, back;
  KeyBindings refused{}, cleared{};
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 25, VK_DOWN);
    click(game, f, 30, CONTROLS_LABEL);
    if (f == 32) game.setInput(Input::pointer(20, 460, false)); // the pointer out of the way
    if (f == 34) opened = game.capture();
    click(game, f, 36, slotCentre(ACTION_UP, 2)); // an empty slot: waiting
    tap(game, f, 38, VK_P);                       // pause's only key: refused
    if (f == 41) refused = gKeyBindings, refusal = game.capture();
    click(game, f, 43, slotCentre(ACTION_FIRE, 2));
    tap(game, f, 46, VK_BACKSPACE); // Z goes
    if (f == 49) cleared = gKeyBindings;
    click(game, f, 51, DEFAULTS_BUTTON);
    if (f == 54) restored = game.capture();
    click(game, f, 56, BACK_BUTTON);
    if (f == 61) back = game.capture();
    if (f == 63) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_FALSE(game.ranAway());
  EXPECT_TRUE(sameKeys(defaultKeyBindings(), refused));
  // The refusal shows on the slot that keeps its key: pause's P flashes red.
  auto reddish = [&](const Frame &frame, int action, int slot) {
    const Spot c = slotCentre(action, slot);
    int count = 0;
    for (int y = c.y - 10; y < c.y + 10; y++)
      for (int x = c.x - 41; x < c.x + 41; x++)
        count += frame.red(x, y) > 2 * frame.blue(x, y) + 20;
    return count;
  };
  EXPECT_GT(reddish(refusal, ACTION_PAUSE, 0), 1000);
  EXPECT_EQ(0, reddish(opened, ACTION_PAUSE, 0));
  EXPECT_EQ(0, reddish(refusal, ACTION_FIRE, 0));
  EXPECT_EQ(K_VK_ERROR, cleared.keys[ACTION_FIRE][2]);
  EXPECT_EQ(K_VK_SPACE, cleared.keys[ACTION_FIRE][1]);
  EXPECT_TRUE(sameKeys(defaultKeyBindings(), gKeyBindings));
  // The defaults look as the panel first looked, and are what the file says.
  for (int action = 0; action < ACTION_COUNT; action++)
    for (int slot = 0; slot < KEY_SLOTS; slot++) {
      const std::vector<bool> first = slotInk(opened, action, slot),
                              now = slotInk(restored, action, slot);
      if (inked(first) == 0)
        EXPECT_EQ(0u, inked(now)) << action << slot; // empty slots
      else
        EXPECT_TRUE(sameName(first, now)) << action << slot;
    }
  EXPECT_NE(std::string::npos, settingsText().find("fire = CTRL SPACE Z\n"));
  EXPECT_NE(std::string::npos, settingsText().find("up = UP W\n"));
  // BACK leaves the panel: the options show again, their item still lit.
  EXPECT_EQ(1, gMenuActive);
  EXPECT_GT(inked(slotInk(opened, ACTION_FIRE, 2)), 5u); // "Z", where the options have nothing
  EXPECT_EQ(0u, inked(slotInk(back, ACTION_FIRE, 2)));
}

TEST_F(RENDERER_SUITE, AKeyThatCannotBeBoundKeepsTheWaitAndEscapeCancelsItThenLeaves) {
  ScriptedGame game;
  game.keepSettingsIn(folder);
  KeyBindings afterU{}, afterX{}, afterCancel{};
  int32_t activeAfterLeaving = -1;
  game.onFrame = [&](unsigned long f) {
    tap(game, f, 25, VK_DOWN);
    tap(game, f, 30, VK_RIGHT);
    tap(game, f, 33, VK_RETURN); // UP's first key
    tap(game, f, 36, 'U');       // the game's flash key: refused, still waiting
    if (f == 38) afterU = gKeyBindings;
    tap(game, f, 39, VK_X);
    if (f == 41) afterX = gKeyBindings;
    tap(game, f, 42, VK_RETURN);
    tap(game, f, 45, VK_ESCAPE); // cancels the wait only
    tap(game, f, 48, 'Q');       // not waiting: binds nothing
    if (f == 50) afterCancel = gKeyBindings;
    tap(game, f, 51, VK_ESCAPE); // leaves the panel, not the options
    if (f == 57) activeAfterLeaving = gMenuActive;
    if (f == 59) game.setInput(Input::closing());
  };
  EXPECT_EQ(0, game.runMain());
  EXPECT_FALSE(game.ranAway());
  EXPECT_TRUE(sameKeys(defaultKeyBindings(), afterU));
  EXPECT_EQ(K_VK_X, afterX.keys[ACTION_UP][0]);
  EXPECT_TRUE(sameKeys(afterX, afterCancel));
  EXPECT_EQ(1, activeAfterLeaving);
  EXPECT_NE(std::string::npos, settingsText().find("up = X W\n"));
}
