// Scaled host windows on the dummy driver: opening size, the pointer in picture pixels at
// every window size, desktop full screen and back.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "KImageFile.h"
#include "desktop_events.h"
#include "host.h"
#include "host_internal.h"
#include "host_scale.h"
#include "host_testing.h"

namespace {

struct Message {
  unsigned int message;
  int x, y;
};
std::vector<Message> received;

long recordingProc(HostWindow *, unsigned int message, unsigned int, long lParam) {
  received.push_back({message, (int16_t)(lParam & 0xFFFF), (int16_t)((lParam >> 16) & 0xFFFF)});
  return 0;
}

struct ScaledWindow : ::testing::Test {
  HostWindow *window = nullptr;

  void open(int scale, uint32_t flags = SDL_WINDOW_RESIZABLE) {
    hostTestReset();
    hostTestSetOpeningScale(scale);
    create(flags);
  }
  // A window the player last left at width x height.
  void openSized(int width, int height) {
    hostTestReset();
    hostTestSetOpeningScale(0);
    hostSetOpeningSize(width, height);
    create(SDL_WINDOW_RESIZABLE);
  }
  void create(uint32_t flags) {
    received.clear();
    window = hostCreateWindow(
        {"Scaled", 480, 480, flags, HOST_CENTERED, HOST_CENTERED, recordingProc, nullptr});
    ASSERT_NE(window, nullptr) << SDL_GetError();
    hostPumpEvents();
    received.clear();
  }
  void TearDown() override {
    hostDestroyWindow(window);
    hostTestReset();
  }
  SDL_Window *sdl() { return hostSDLWindow(window); }
  // The picture pixel a motion at this window point reports, by message and by position.
  void expectPointer(int x, int y, int px, int py) {
    received.clear();
    pushMotion(sdl(), x, y);
    hostPumpEvents();
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message, (unsigned)WM_MOUSEMOVE);
    EXPECT_EQ(received[0].x, px) << "window " << x << "," << y;
    EXPECT_EQ(received[0].y, py) << "window " << x << "," << y;
    int mx, my;
    hostMousePosition(window, &mx, &my);
    EXPECT_EQ(mx, px);
    EXPECT_EQ(my, py);
  }
};

TEST_F(ScaledWindow, OpensAtTheChosenWholeMultipleAndKnowsItsPicture) {
  open(2);
  int w, h;
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 960);
  EXPECT_EQ(h, 960);
  ASSERT_TRUE(hostPictureSize(sdl(), &w, &h));
  EXPECT_EQ(w, 480);
  EXPECT_EQ(h, 480);
  hostDestroyWindow(window);

  open(0); // chosen from the desktop: the dummy driver's windows keep the picture's size
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 480);
  hostDestroyWindow(window);

  open(3, 0); // a window that does not scale keeps its size
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 480);
  EXPECT_EQ(h, 480);

  SDL_Window *foreign = SDL_CreateWindow("foreign", 0, 0, 64, 64, 0);
  ASSERT_NE(foreign, nullptr);
  EXPECT_FALSE(hostPictureSize(foreign, &w, &h));
  SDL_DestroyWindow(foreign);
}

TEST_F(ScaledWindow, PointerAndButtonsArriveInPicturePixelsAtEverySize) {
  open(2);
  hostSetScaling(HOST_SCALE_INTEGER);
  expectPointer(0, 0, 0, 0);
  expectPointer(21, 41, 10, 20);
  expectPointer(959, 959, 479, 479);

  received.clear();
  pushLeftButton(sdl(), 401, 203, true);
  hostPumpEvents();
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0].message, (unsigned)WM_LBUTTONDOWN);
  EXPECT_EQ(received[0].x, 200);
  EXPECT_EQ(received[0].y, 101);
  EXPECT_TRUE(hostLeftButtonDown());

  SDL_SetWindowSize(sdl(), 1000, 700); // 1x, centred: picture at (260, 110)
  expectPointer(260, 110, 0, 0);
  expectPointer(739, 589, 479, 479);
  expectPointer(250, 100, -10, -10); // on the bars

  SDL_SetWindowSize(sdl(), 240, 300); // shrunk to 240 x 240 at (0, 30)
  expectPointer(120, 150, 240, 240);
  expectPointer(0, 30, 0, 0);
}

TEST_F(ScaledWindow, SharpScalingFillsTheHeightAndThePointerFollows) {
  open(1);
  SDL_SetWindowSize(sdl(), 1000, 700); // 700 x 700 at (150, 0)
  expectPointer(150, 0, 0, 0);
  expectPointer(849, 699, 479, 479);
  expectPointer(151, 1, 0, 0); // 700 / 480: about one and a half points a pixel
  expectPointer(152, 2, 1, 1);
  expectPointer(149, 350, -1, 240); // on the bars
  expectPointer(850, 350, 480, 240);
  hostSetScaling(HOST_SCALE_INTEGER); // the same window at whole multiples: 1x at (260, 110)
  expectPointer(260, 110, 0, 0);
}

TEST_F(ScaledWindow, OpensAtThePlayersLastSizeAndReportsItsState) {
  openSized(700, 600);
  int w, h;
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 700);
  EXPECT_EQ(h, 600);
  bool fullscreen = true;
  ASSERT_TRUE(hostWindowState(sdl(), &fullscreen, &w, &h));
  EXPECT_FALSE(fullscreen);
  EXPECT_EQ(w, 700);
  ASSERT_TRUE(hostSetFullscreen(window, true));
  ASSERT_TRUE(hostWindowState(sdl(), &fullscreen, &w, &h));
  EXPECT_TRUE(fullscreen);
  EXPECT_EQ(w, 700); // the size it goes back to
  EXPECT_EQ(h, 600);
  hostDestroyWindow(window);

  openSized(100000, 600); // larger than the desktop: the picture's size
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 480);
  SDL_Window *foreign = SDL_CreateWindow("foreign", 0, 0, 10, 10, SDL_WINDOW_HIDDEN);
  EXPECT_FALSE(hostWindowState(foreign, &fullscreen, &w, &h));
  SDL_DestroyWindow(foreign);
}

TEST_F(ScaledWindow, DesktopFullScreenCoversTheDesktopAndGivesTheSizeBack) {
  open(1);
  hostSetScaling(HOST_SCALE_INTEGER);
  SDL_SetWindowSize(sdl(), 700, 600);
  ASSERT_TRUE(hostSetFullscreen(window, true));
  EXPECT_EQ(SDL_GetWindowFlags(sdl()) & SDL_WINDOW_FULLSCREEN_DESKTOP,
            (uint32_t)SDL_WINDOW_FULLSCREEN_DESKTOP);
  SDL_DisplayMode desktop;
  ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
  int w, h;
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, desktop.w);
  EXPECT_EQ(h, desktop.h);
  SDL_DisplayMode current;
  ASSERT_EQ(SDL_GetCurrentDisplayMode(0, &current), 0);
  EXPECT_EQ(current.w, desktop.w); // no mode change
  // The picture at the largest whole multiple that fits the desktop, centred.
  HostRect shown = hostPictureRect(desktop.w, desktop.h, 480, 480, HOST_SCALE_INTEGER);
  expectPointer(shown.x, shown.y, 0, 0);
  EXPECT_TRUE(hostSetFullscreen(window, true)); // already there: nothing changes

  ASSERT_TRUE(hostSetFullscreen(window, false));
  EXPECT_EQ(SDL_GetWindowFlags(sdl()) & SDL_WINDOW_FULLSCREEN, 0u);
  SDL_GetWindowSize(sdl(), &w, &h);
  EXPECT_EQ(w, 700);
  EXPECT_EQ(h, 600);
  expectPointer(110, 60, 0, 0);
}

} // namespace

// Every window carries the artwork's icon, pixel for pixel.
TEST(HostIcon, IsTheArtworksIcon) {
  SDL_Surface *icon = hostMakeIcon();
  ASSERT_NE(icon, nullptr);
  std::ifstream file("data/icon.png", std::ios::binary);
  std::vector<unsigned char> png((std::istreambuf_iterator<char>(file)),
                                 std::istreambuf_iterator<char>());
  KImageFile picture;
  ASSERT_TRUE(picture.decode(png.data(), png.size(), K_IMAGE_PNG));
  ASSERT_EQ(icon->w, 64);
  ASSERT_EQ(icon->h, 64);
  EXPECT_EQ(picture.getWidth(), 64);
  size_t differing = 0;
  for (int y = 0; y < 64; y++)
    differing += memcmp((uint8_t *)icon->pixels + y * icon->pitch, picture.getRGBA() + y * 64 * 4,
                        64 * 4) != 0;
  EXPECT_EQ(differing, 0u);
  SDL_FreeSurface(icon);
}
