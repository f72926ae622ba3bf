// KInput on the host: the key table, key codes, keys and mouse through scripted input,
// the pointer counter, and the KEvent builder.
#include <SDL.h>
#include <gtest/gtest.h>
#include <initializer_list>

#include "KInput.h"
#include "KWindow.h"
#include "host.h"
#include "host_testing.h"

namespace {

long quietProc(HostWindow *, unsigned int, unsigned int, long) { return 0; }

HostInputFrame held(std::initializer_list<int> keys, int x = 0, int y = 0, bool left = false) {
  HostInputFrame f{};
  for (int key : keys) f.keys[f.keyCount++] = key;
  f.mouseX = x;
  f.mouseY = y;
  f.leftButton = left;
  return f;
}

class Input : public ::testing::Test {
protected:
  void SetUp() override {
    hostTestReset();
    window =
        hostCreateWindow({"input", 480, 480, 0, HOST_CENTERED, HOST_CENTERED, quietProc, nullptr});
    ASSERT_NE(window, nullptr);
    KInput::initInput(window);
  }
  void TearDown() override {
    hostDestroyWindow(window);
    hostTestReset();
  }
  void play(const HostInputFrame &frame) {
    hostTestSetInput(frame);
    hostPumpEvents();
  }
  HostWindow *window = nullptr;
};

TEST(KeyTable, HasEveryCodeInOrder) {
  for (int i = 0; i < 94; i++) EXPECT_EQ(KeyboardLayout[i].toucheID, i) << "row " << i;
  struct Row {
    EKeyboardLayout key;
    int code;
  };
  const Row named[] = {
      {K_VK_LEFT, 37},        {K_VK_UP, 38},         {K_VK_DOWN, 40},       {K_VK_RIGHT, 39},
      {K_VK_SPACE, 32},       {K_VK_L_SHIFT, 160},   {K_VK_R_SHIFT, 161},   {K_VK_RETURN, 13},
      {K_VK_R_CONTROL, 163},  {K_VK_L_CONTROL, 162}, {K_VK_BACK, 8},        {K_VK_TAB, 9},
      {K_VK_ESCAPE, 27},      {K_VK_MULTIPLY, 106},  {K_VK_ADD, 107},       {K_VK_SUBTRACT, 109},
      {K_VK_DECIMAL, 110},    {K_VK_DIVIDE, 111},    {K_VK_CLEAR, 12},      {K_VK_MENU, 18},
      {K_VK_LWIN, 91},        {K_VK_RWIN, 92},       {K_VK_NUMLOCK, 144},   {K_VK_SCROLL, 145},
      {K_VK_OEM_1, 186},      {K_VK_OEM_PLUS, 187},  {K_VK_OEM_COMMA, 188}, {K_VK_OEM_MINUS, 189},
      {K_VK_OEM_PERIOD, 190}, {K_VK_OEM_2, 191},     {K_VK_OEM_3, 192},     {K_VK_OEM_4, 219},
      {K_VK_OEM_5, 220},      {K_VK_OEM_6, 221},     {K_VK_OEM_7, 222},     {K_VK_ERROR, 9999}};
  for (const Row &row : named)
    EXPECT_EQ(KeyboardLayout[row.key].KeyCode, row.code) << "key " << row.key;
  for (int i = 0; i < 26; i++) EXPECT_EQ(KeyboardLayout[K_VK_A + i].KeyCode, 65 + i);
  for (int i = 0; i < 10; i++) EXPECT_EQ(KeyboardLayout[K_VK_0 + i].KeyCode, 48 + i);
  for (int i = 0; i < 12; i++) EXPECT_EQ(KeyboardLayout[K_VK_F1 + i].KeyCode, 112 + i);
  for (int i = 0; i < 10; i++) EXPECT_EQ(KeyboardLayout[K_VK_NUM0 + i].KeyCode, 96 + i);
  EXPECT_EQ(K_VK_F12, 21);
  EXPECT_EQ(K_VK_Z, 50);
  EXPECT_EQ(K_VK_NUM9, 70);
  EXPECT_EQ(K_VK_OEM_7, 92);
}

TEST(KeyTable, GetQRXKeyFindsTheFirstRowOrNone) {
  EXPECT_EQ(KInput::getQRXKey(65), K_VK_A);
  EXPECT_EQ(KInput::getQRXKey(13), K_VK_RETURN);
  EXPECT_EQ(KInput::getQRXKey(123), K_VK_F12);
  EXPECT_EQ(KInput::getQRXKey(222), K_VK_OEM_7);
  EXPECT_EQ(KInput::getQRXKey(500), K_VK_ERROR);
  EXPECT_EQ(KInput::getQRXKey(9999), K_VK_ERROR);
  // Key messages carry the plain shift and control codes, which have no row.
  EXPECT_EQ(KInput::getQRXKey(16), K_VK_ERROR);
  EXPECT_EQ(KInput::getQRXKey(17), K_VK_ERROR);
}

TEST_F(Input, IsPressedFollowsTheKeysThroughTheTable) {
  play(held({'Z', 37}));
  EXPECT_TRUE(KInput::isPressed(K_VK_Z));
  EXPECT_TRUE(KInput::isPressed(K_VK_LEFT));
  EXPECT_FALSE(KInput::isPressed(K_VK_RIGHT));
  EXPECT_FALSE(KInput::isPressed(K_VK_ERROR));
  EXPECT_FALSE(KInput::isPressed(static_cast<EKeyboardLayout>(94))); // outside the table
  EXPECT_FALSE(KInput::isPressed(static_cast<EKeyboardLayout>(-1)));
  play(held({}));
  EXPECT_FALSE(KInput::isPressed(K_VK_Z));
}

TEST_F(Input, EitherShiftOrControlAnswersForBothSides) {
  play(held({161})); // right shift
  EXPECT_TRUE(KInput::isPressed(K_VK_L_SHIFT));
  EXPECT_TRUE(KInput::isPressed(K_VK_R_SHIFT));
  EXPECT_FALSE(KInput::isPressed(K_VK_L_CONTROL));
  play(held({160}));
  EXPECT_TRUE(KInput::isPressed(K_VK_L_SHIFT));
  play(held({162}));
  EXPECT_FALSE(KInput::isPressed(K_VK_L_SHIFT));
  EXPECT_TRUE(KInput::isPressed(K_VK_L_CONTROL));
  EXPECT_TRUE(KInput::isPressed(K_VK_R_CONTROL));
}

TEST_F(Input, WaitForKeyReleaseReturnsOnceTheKeyIsUp) {
  play(held({'P', 'Q'}));
  struct Waits {
    int count = 0;
  } waits;
  hostTestSetWaitHook(
      [](void *context) {
        // The player lets go of P on the third look, and keeps Q.
        if (++static_cast<Waits *>(context)->count == 3) hostTestSetInput(held({'Q'}));
      },
      &waits);
  KInput::waitForKeyRelease(K_VK_P);
  EXPECT_EQ(waits.count, 3);
  EXPECT_FALSE(KInput::isPressed(K_VK_P));
  EXPECT_TRUE(KInput::isPressed(K_VK_Q));
  KInput::waitForKeyRelease(K_VK_A); // not held: returns at once
  EXPECT_EQ(waits.count, 3);
}

TEST_F(Input, MouseGettersReadThePointerAndButtonNow) {
  play(held({}, 100, 50, true));
  EXPECT_EQ(KInput::getMouseX(), 100);
  EXPECT_EQ(KInput::getMouseY(), 50);
  EXPECT_TRUE(KInput::getLeftButtonState());
  play(held({}, -20, 700, false));
  EXPECT_EQ(KInput::getMouseX(), -20);
  EXPECT_EQ(KInput::getMouseY(), 700);
  EXPECT_FALSE(KInput::getLeftButtonState());
}

TEST_F(Input, OneCallShowsOrHidesWhateverTheCounter) {
  KInput::hidePointer();
  KInput::hidePointer();
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  KInput::showPointer(); // one call after two hides shows it
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_ENABLE);
  EXPECT_EQ(hostShowCursor(true), 1); // and leaves the counter at exactly 0
  hostShowCursor(true);
  KInput::hidePointer(); // one call after two extra shows hides it
  EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
  EXPECT_EQ(hostShowCursor(false), -2);
  KInput::showPointer();
}

TEST(MousePattern, IsTheSixteenBySixteenArrow) {
  EXPECT_EQ(KInput::_mousePointerBuffer, KInput::mousePattern);
  EXPECT_EQ(KInput::mousePattern[0], 16u);
  EXPECT_EQ(KInput::mousePattern[1], 16u);
  const char *art[16] = {
      "oo..............", "o#o.............", "o##o............", "o###o...........",
      "o####o..........", "o#####o.........", "o######o........", "o#######o.......",
      "o########o......", "o#######o.......", "o#####oo........", "o#####o.........",
      "o##o#o..........", "o#o.o...........", "oo..............", "................"};
  for (int y = 0; y < 16; y++)
    for (int x = 0; x < 16; x++) {
      uint32_t want = art[y][x] == 'o' ? 0xFFFFFFFFu : art[y][x] == '#' ? 0xFF000000u : 0u;
      EXPECT_EQ(KInput::mousePattern[2 + y * 16 + x], want) << x << "," << y;
    }
}

// ---- KEvent builder --------------------------------------------------------------------------

class Events : public Input {};

TEST_F(Events, KeyDownCarriesTheKeyTheEngineCodeAndTheScanCode) {
  play(held({}, 7, 9));
  KEvent e;
  buildKEvent(&e, WM_KEYDOWN, 'A', 1 | 0x1E << 16);
  EXPECT_EQ(e.type, K_EVENT_KEYDOWN);
  EXPECT_EQ(e.virtualKey, 'A');
  EXPECT_EQ(e.qrxKey, K_VK_A);
  EXPECT_EQ(e.character, 0x1E);
  EXPECT_EQ(e.mouseX, 7);
  EXPECT_EQ(e.mouseY, 9);
  EXPECT_EQ(e.nativeMessage, (int)WM_KEYDOWN);
  EXPECT_EQ(e.nativeData, 1 | 0x1E << 16);
  EXPECT_EQ(e.buttonIndex, 0);
  EXPECT_EQ(e.wheel, 0);
}

TEST_F(Events, KeyUpCarriesTheLowByteOfTheKeyAndUnknownKeysGiveError) {
  KEvent e;
  buildKEvent(&e, WM_KEYUP, 0x1BD, (long)0xC0010001u);
  EXPECT_EQ(e.type, K_EVENT_KEYUP);
  EXPECT_EQ(e.virtualKey, 0x1BD);
  EXPECT_EQ(e.character, 0xBD);
  EXPECT_EQ(e.qrxKey, K_VK_ERROR);
  buildKEvent(&e, WM_KEYDOWN, 16, 1 | 0x2A << 16); // shift
  EXPECT_EQ(e.qrxKey, K_VK_ERROR);
}

TEST_F(Events, MouseButtonsCharactersAndOthers) {
  const struct {
    unsigned int message;
    int type, button;
  } rows[] = {{WM_MOUSEMOVE, K_EVENT_MOUSEMOVE, 0}, {WM_LBUTTONDOWN, K_EVENT_MOUSEDOWN, 1},
              {WM_LBUTTONUP, K_EVENT_MOUSEUP, 1},   {WM_RBUTTONDOWN, K_EVENT_MOUSEDOWN, 2},
              {WM_RBUTTONUP, K_EVENT_MOUSEUP, 2},   {WM_MBUTTONDOWN, K_EVENT_MOUSEDOWN, 3},
              {WM_MBUTTONUP, K_EVENT_MOUSEUP, 3},   {WM_PAINT, K_EVENT_OTHER, 0},
              {WM_CLOSE, K_EVENT_OTHER, 0},         {WM_SYSKEYDOWN, K_EVENT_OTHER, 0}};
  for (const auto &row : rows) {
    KEvent e;
    buildKEvent(&e, row.message, 'Q', 5 | 6 << 16); // a message's own position is not used
    EXPECT_EQ(e.type, row.type) << row.message;
    EXPECT_EQ(e.buttonIndex, row.button) << row.message;
    EXPECT_EQ(e.virtualKey, 0);
    EXPECT_EQ(e.character, 0);
    EXPECT_EQ(e.qrxKey, K_VK_ERROR);
    EXPECT_EQ(e.nativeData, 5 | 6 << 16);
  }
  KEvent e;
  buildKEvent(&e, WM_CHAR, 'q', 1);
  EXPECT_EQ(e.type, K_EVENT_CHAR);
  EXPECT_EQ(e.character, 'q');
  EXPECT_EQ(e.virtualKey, 0);
}

TEST_F(Events, WheelTakesTheSignedHighWordAndStoresIt) {
  KEvent e;
  buildKEvent(&e, WM_MOUSEWHEEL, (unsigned)(uint16_t)-240 << 16 | MK_LBUTTON, 0);
  EXPECT_EQ(e.type, K_EVENT_WHEEL);
  EXPECT_EQ(e.wheel, -240);
  EXPECT_EQ(KInput::_lastWheelValue, -240);
  buildKEvent(&e, WM_MOUSEWHEEL, 120u << 16, 0);
  EXPECT_EQ(e.wheel, 120);
  EXPECT_EQ(KInput::_lastWheelValue, 120);
}

} // namespace
