// The arithmetic of scaled windows: picture rectangles, points both ways, opening scale.
#include <gtest/gtest.h>

#include <algorithm>

#include "host_scale.h"

namespace {

void expectRect(const HostRect &r, int x, int y, int w, int h) {
  EXPECT_EQ(r.x, x);
  EXPECT_EQ(r.y, y);
  EXPECT_EQ(r.w, w);
  EXPECT_EQ(r.h, h);
}

TEST(PictureRect, LargestWholeMultipleCentredOnTheBars) {
  expectRect(hostPictureRect(480, 480, 480, 480, HOST_SCALE_INTEGER), 0, 0, 480, 480);
  expectRect(hostPictureRect(960, 960, 480, 480, HOST_SCALE_INTEGER), 0, 0, 960, 960);
  expectRect(hostPictureRect(959, 1200, 480, 480, HOST_SCALE_INTEGER), 239, 360, 480,
             480); // 959 wide: still 1x
  expectRect(hostPictureRect(1920, 1080, 480, 480, HOST_SCALE_INTEGER), 480, 60, 960, 960);
  expectRect(hostPictureRect(3840, 2160, 480, 480, HOST_SCALE_INTEGER), 960, 120, 1920, 1920);
  expectRect(hostPictureRect(1000, 500, 480, 480, HOST_SCALE_INTEGER), 260, 10, 480, 480);
  expectRect(hostPictureRect(481, 481, 480, 480, HOST_SCALE_INTEGER), 0, 0, 480,
             480); // odd bars: the extra pixel right and below
}

TEST(PictureRect, SmallerThanThePictureEitherWayShrinksToFit) {
  expectRect(hostPictureRect(240, 300, 480, 480, HOST_SCALE_INTEGER), 0, 30, 240, 240);
  expectRect(hostPictureRect(800, 300, 480, 480, HOST_SCALE_INTEGER), 250, 0, 300, 300);
  expectRect(hostPictureRect(479, 479, 480, 480, HOST_SCALE_INTEGER), 0, 0, 479, 479);
  expectRect(hostPictureRect(1, 1000, 480, 480, HOST_SCALE_INTEGER), 0, 499, 1, 1);
  expectRect(hostPictureRect(300, 200, 640, 480, HOST_SCALE_INTEGER), 17, 0, 266,
             200); // another shape keeps its own
}

TEST(PictureRect, EmptySizesGiveAnEmptyRectangle) {
  expectRect(hostPictureRect(0, 480, 480, 480, HOST_SCALE_INTEGER), 0, 0, 0, 0);
  expectRect(hostPictureRect(480, -3, 480, 480, HOST_SCALE_INTEGER), 0, 0, 0, 0);
  expectRect(hostPictureRect(480, 480, 0, 480, HOST_SCALE_INTEGER), 0, 0, 0, 0);
}

TEST(PictureRect, WholeMultiplesAreSharpShrinksSmooth) {
  EXPECT_TRUE(hostWholeMultiple(hostPictureRect(480, 480, 480, 480, HOST_SCALE_INTEGER), 480, 480));
  EXPECT_TRUE(
      hostWholeMultiple(hostPictureRect(1920, 1080, 480, 480, HOST_SCALE_INTEGER), 480, 480));
  EXPECT_FALSE(
      hostWholeMultiple(hostPictureRect(240, 300, 480, 480, HOST_SCALE_INTEGER), 480, 480));
  EXPECT_FALSE(hostWholeMultiple({0, 0, 960, 480}, 480, 480)); // stretched unevenly
  EXPECT_FALSE(hostWholeMultiple({0, 0, 0, 0}, 480, 480));
}

TEST(PointMapping, WindowPointsFallOnTheirPicturePixel) {
  HostRect twice = hostPictureRect(1000, 1000, 480, 480, HOST_SCALE_INTEGER); // 960 at (20, 20)
  int px, py;
  hostWindowToPicture(twice, 480, 480, 20, 20, &px, &py);
  EXPECT_EQ(px, 0);
  EXPECT_EQ(py, 0);
  hostWindowToPicture(twice, 480, 480, 21, 41, &px, &py);
  EXPECT_EQ(px, 0);
  EXPECT_EQ(py, 10);
  hostWindowToPicture(twice, 480, 480, 979, 979, &px, &py);
  EXPECT_EQ(px, 479);
  EXPECT_EQ(py, 479);
  // The bars lie outside the picture, on both sides.
  hostWindowToPicture(twice, 480, 480, 19, 980, &px, &py);
  EXPECT_EQ(px, -1);
  EXPECT_EQ(py, 480);
  hostWindowToPicture(twice, 480, 480, 0, 0, &px, &py);
  EXPECT_EQ(px, -10);
  EXPECT_EQ(py, -10);
}

TEST(PointMapping, ShrunkPictureMapsProportionally) {
  HostRect half = hostPictureRect(240, 300, 480, 480, HOST_SCALE_INTEGER); // 240 at (0, 30)
  int px, py;
  hostWindowToPicture(half, 480, 480, 120, 150, &px, &py);
  EXPECT_EQ(px, 240);
  EXPECT_EQ(py, 240);
  hostWindowToPicture(half, 480, 480, 239, 269, &px, &py);
  EXPECT_EQ(px, 478);
  EXPECT_EQ(py, 478);
  int x, y;
  hostPictureToWindow(half, 480, 480, 479, 0, &x, &y);
  EXPECT_EQ(x, 239);
  EXPECT_EQ(y, 30);
}

TEST(PictureRect, SharpScalingFillsTheShorterSideAtAnySize) {
  expectRect(hostPictureRect(1366, 768, 480, 480, HOST_SCALE_SHARP), 299, 0, 768, 768);
  expectRect(hostPictureRect(1600, 900, 480, 480, HOST_SCALE_SHARP), 350, 0, 900, 900);
  expectRect(hostPictureRect(1280, 800, 480, 480, HOST_SCALE_SHARP), 240, 0, 800, 800);
  expectRect(hostPictureRect(1000, 700, 480, 480, HOST_SCALE_SHARP), 150, 0, 700, 700);
  expectRect(hostPictureRect(700, 1000, 480, 480, HOST_SCALE_SHARP), 0, 150, 700, 700);
  expectRect(hostPictureRect(1920, 1080, 480, 480, HOST_SCALE_SHARP), 420, 0, 1080, 1080);
  expectRect(hostPictureRect(960, 960, 480, 480, HOST_SCALE_SHARP), 0, 0, 960, 960);
  expectRect(hostPictureRect(240, 300, 480, 480, HOST_SCALE_SHARP), 0, 30, 240,
             240); // shrunk as before
  expectRect(hostPictureRect(1366, 768, 640, 480, HOST_SCALE_SHARP), 171, 0, 1024, 768);
  expectRect(hostPictureRect(1366, 0, 480, 480, HOST_SCALE_SHARP), 0, 0, 0, 0);
}

TEST(PictureRect, SharpScalingEnlargesToTheFirstWholeMultipleAtOrAbove) {
  EXPECT_EQ(hostSharpMultiple({299, 0, 768, 768}, 480, 480), 2);
  EXPECT_EQ(hostSharpMultiple({350, 0, 900, 900}, 480, 480), 2);
  EXPECT_EQ(hostSharpMultiple({0, 0, 960, 960}, 480, 480), 2); // already whole: nothing to reduce
  EXPECT_EQ(hostSharpMultiple({0, 0, 961, 961}, 480, 480), 3);
  EXPECT_EQ(hostSharpMultiple({420, 0, 1080, 1080}, 480, 480), 3);
  EXPECT_EQ(hostSharpMultiple({0, 0, 481, 481}, 480, 480), 2);
  EXPECT_EQ(hostSharpMultiple({0, 0, 480, 480}, 480, 480), 1);
  EXPECT_EQ(hostSharpMultiple({0, 30, 240, 240}, 480, 480), 1); // shrunk: no enlargement
  EXPECT_EQ(hostSharpMultiple({0, 0, 1024, 768}, 640, 480), 2);
  EXPECT_FALSE(hostWholeMultiple({299, 0, 768, 768}, 480, 480));
}

TEST(PointMapping, EveryWindowPointLandsOnThePixelShownThereAtAnySize) {
  const int sizes[][2] = {{1366, 768}, {1600, 900}, {1280, 800},
                          {1000, 700}, {481, 481},  {1920, 1080}};
  for (const auto &size : sizes) {
    HostRect shown = hostPictureRect(size[0], size[1], 480, 480, HOST_SCALE_SHARP);
    // Along each axis the pixels follow one another: each gets floor or ceil of the ratio
    // in points, none is skipped, and the first and last points land on the edge pixels.
    int previous = -1, run = 0, shortest = shown.w, longest = 0;
    for (int x = shown.x; x <= shown.x + shown.w; x++) {
      int px, py;
      hostWindowToPicture(shown, 480, 480, x, shown.y, &px, &py);
      if (x == shown.x + shown.w) {
        EXPECT_EQ(px, 480) << "the bar right of the picture";
        break;
      }
      EXPECT_EQ(py, 0);
      if (px != previous) {
        EXPECT_EQ(px, previous + 1) << size[0] << "x" << size[1] << " at " << x;
        if (previous >= 0) shortest = std::min(shortest, run), longest = std::max(longest, run);
        previous = px;
        run = 0;
      }
      run++;
    }
    EXPECT_EQ(previous, 479);
    EXPECT_LE(longest - shortest, 1) << size[0] << "x" << size[1];
  }
}

TEST(PointMapping, PicturePixelsGoToTheCentreOfTheirBlockAndBack) {
  const int sizes[][2] = {{480, 480}, {960, 960}, {1920, 1080}, {3840, 2160}, {1000, 700}};
  for (HostScaling scaling : {HOST_SCALE_INTEGER, HOST_SCALE_SHARP})
    for (const auto &size : sizes) {
      HostRect shown = hostPictureRect(size[0], size[1], 480, 480, scaling);
      for (int p = 0; p < 480; p += 7) {
        int x, y, px, py;
        hostPictureToWindow(shown, 480, 480, p, 479 - p, &x, &y);
        EXPECT_GE(x, shown.x);
        EXPECT_LT(x, shown.x + shown.w);
        hostWindowToPicture(shown, 480, 480, x, y, &px, &py);
        EXPECT_EQ(px, p) << size[0] << "x" << size[1] << " scaling " << scaling;
        EXPECT_EQ(py, 479 - p) << size[0] << "x" << size[1];
      }
    }
  int x, y;
  hostPictureToWindow(hostPictureRect(1920, 1080, 480, 480, HOST_SCALE_INTEGER), 480, 480, 10, 0,
                      &x, &y);
  EXPECT_EQ(x, 480 + 21); // the block 500..501, centre rounded down
  EXPECT_EQ(y, 60 + 1);
}

TEST(OpeningScale, ThreeQuartersOfTheDesktopHeight) {
  EXPECT_EQ(hostOpeningScale(1366, 768, 480, 480), 1);
  EXPECT_EQ(hostOpeningScale(1920, 1080, 480, 480), 1);
  EXPECT_EQ(hostOpeningScale(2560, 1440, 480, 480), 2);
  EXPECT_EQ(hostOpeningScale(3840, 2160, 480, 480), 3);
  EXPECT_EQ(hostOpeningScale(7680, 4320, 480, 480), 6);
  EXPECT_EQ(hostOpeningScale(640, 480, 480, 480), 1);   // never below 1x
  EXPECT_EQ(hostOpeningScale(1000, 2560, 480, 480), 2); // a portrait screen: its width decides
  EXPECT_EQ(hostOpeningScale(2560, 1440, 0, 480), 1);
}

TEST(FullscreenKeys, F11AndAltEnterPressesOnly) {
  const unsigned WM_KEYDOWN = 0x100, WM_KEYUP = 0x101, WM_SYSKEYDOWN = 0x104;
  const long press = 1 | 0x57L << 16, repeat = press | 1L << 30;
  EXPECT_TRUE(hostIsFullscreenToggle(WM_KEYDOWN, 122, press));
  EXPECT_TRUE(hostIsFullscreenToggle(WM_SYSKEYDOWN, 122, press)); // with Alt held too
  EXPECT_FALSE(hostIsFullscreenToggle(WM_KEYDOWN, 122, repeat));
  EXPECT_FALSE(hostIsFullscreenToggle(WM_KEYUP, 122, (long)(press | 3L << 30)));
  EXPECT_TRUE(hostIsFullscreenToggle(WM_SYSKEYDOWN, 13, 1 | 0x1CL << 16));
  EXPECT_FALSE(hostIsFullscreenToggle(WM_SYSKEYDOWN, 13, (1 | 0x1CL << 16) | 1L << 30));
  EXPECT_FALSE(hostIsFullscreenToggle(WM_KEYDOWN, 13, 1 | 0x1CL << 16)); // Enter alone
  EXPECT_FALSE(hostIsFullscreenToggle(WM_KEYDOWN, 123, press));          // F12
  EXPECT_FALSE(hostIsFullscreenToggle(0x102, 122, press));               // a character
}

} // namespace
