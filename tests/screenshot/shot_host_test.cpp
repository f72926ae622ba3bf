// F12 on the host, headless: the key asks, the next complete frame is saved through the writer
// in the pictures folder, and the path goes to standard output.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <ctime>
#include <string>
#include <vector>

#include "host.h"
#include "host_shot.h"
#include "host_testing.h"
#include "temp_home.h"

namespace {

std::vector<std::string> written; // paths handed to the writer, in order
bool writerSucceeds = true;

bool recordingWriter(const char *path) {
  written.push_back(path);
  if (!writerSucceeds) return false;
  std::ofstream(path) << "picture";
  return true;
}

long quietProc(HostWindow *, unsigned int, unsigned int, long) { return 0; }

bool isFolder(const std::string &path) {
  struct stat s;
  return stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

// The screenshot name a file saved between `from` and `to` may have.
bool nameOfThoseSeconds(const std::string &name, time_t from, time_t to) {
  for (time_t t = from; t <= to; t++) {
    std::tm when{};
    localtime_r(&t, &when);
    if (name == screenshotName(when, 1)) return true;
  }
  return false;
}

class Screenshots : public ::testing::Test {
protected:
  void SetUp() override {
    hostTestReset();
    written.clear();
    writerSucceeds = true;
    window =
        hostCreateWindow({"shots", 64, 48, 0, HOST_CENTERED, HOST_CENTERED, quietProc, nullptr});
    ASSERT_NE(window, nullptr) << SDL_GetError();
    hostSetScreenshotWriter(recordingWriter);
    hostPumpEvents();
  }
  void TearDown() override {
    hostSetScreenshotWriter(nullptr);
    hostDestroyWindow(window);
    hostTestReset();
  }
  // The keyboard's F12, as SDL reports it to the window.
  void f12(bool down, bool repeat = false) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.windowID = SDL_GetWindowID(hostSDLWindow(window));
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym.scancode = SDL_SCANCODE_F12;
    event.key.keysym.sym = SDLK_F12;
    SDL_PushEvent(&event);
    hostPumpEvents();
  }
  // Presses and lets go of F12, then completes a frame; returns what went to standard output.
  std::string shoot() {
    f12(true);
    f12(false);
    testing::internal::CaptureStdout();
    hostFrameReady();
    return testing::internal::GetCapturedStdout();
  }

  TempHome home;
  HostWindow *window = nullptr;
};

} // namespace

TEST_F(Screenshots, TheNextFrameIsSavedInPicturesMadeIfMissingAndItsPathPrinted) {
  const std::string pictures = home.path() + "/Pictures";
  ASSERT_FALSE(isFolder(pictures));
  f12(true);
  f12(false);
  EXPECT_TRUE(written.empty()); // the key only asks: the frame is not complete yet
  const time_t before = time(nullptr);
  testing::internal::CaptureStdout();
  hostFrameReady();
  const std::string printed = testing::internal::GetCapturedStdout();
  const time_t after = time(nullptr);

  ASSERT_EQ(1u, written.size());
  const std::string name = written[0].substr(written[0].rfind('/') + 1);
  EXPECT_EQ(pictures + "/" + name, written[0]);
  EXPECT_TRUE(nameOfThoseSeconds(name, before, after)) << name;
  EXPECT_EQ(written[0] + "\n", printed);
  EXPECT_EQ(std::set<std::string>{name}, TempHome::filesIn(pictures));
  // One press, one picture: the next frames take none.
  hostFrameReady();
  EXPECT_EQ(1u, written.size());
}

TEST_F(Screenshots, ThePicturesFolderOfTheUsersSettingsIsUsedAndMade) {
  home.writeUserDirs("XDG_DESKTOP_DIR=\"$HOME/Desktop\"\nXDG_PICTURES_DIR=\"$HOME/Media/Shots\"\n");
  const std::string printed = shoot();
  ASSERT_EQ(1u, written.size());
  EXPECT_EQ(home.path() + "/Media/Shots/", written[0].substr(0, written[0].rfind('/') + 1));
  EXPECT_EQ(written[0] + "\n", printed);
  EXPECT_EQ(1u, TempHome::filesIn(home.path() + "/Media/Shots").size());
  EXPECT_FALSE(isFolder(home.path() + "/Pictures"));
}

TEST_F(Screenshots, ASecondShotNeverTakesTheNameOfTheFirst) {
  shoot();
  shoot();
  ASSERT_EQ(2u, written.size());
  const std::string stamp = written[0].substr(0, written[0].size() - 4); // without ".png"
  if (written[1].compare(0, stamp.size(), stamp) == 0)
    EXPECT_EQ(stamp + "-2.png", written[1]); // same second
  else
    EXPECT_NE(written[0], written[1]);
  EXPECT_EQ(2u, TempHome::filesIn(home.path() + "/Pictures").size());
}

TEST_F(Screenshots, AHeldKeyTakesOneShotAndEachNewPressAnother) {
  f12(true);
  for (int frame = 0; frame < 4; frame++) {
    hostFrameReady();
    f12(true, true); // the keyboard's own repeat
  }
  f12(false);
  hostFrameReady();
  EXPECT_EQ(1u, written.size());
  shoot();
  EXPECT_EQ(2u, written.size());
}

TEST_F(Screenshots, APressWithNoWriterIsDroppedNotKeptForLater) {
  hostSetScreenshotWriter(nullptr);
  shoot();
  hostSetScreenshotWriter(recordingWriter);
  hostFrameReady();
  EXPECT_TRUE(written.empty());
  EXPECT_TRUE(TempHome::filesIn(home.path() + "/Pictures").empty());
}

TEST_F(Screenshots, AFailedSaveLeavesNoFileAndPrintsNoPath) {
  writerSucceeds = false;
  testing::internal::CaptureStderr();
  const std::string printed = shoot();
  const std::string complaint = testing::internal::GetCapturedStderr();
  ASSERT_EQ(1u, written.size());
  EXPECT_EQ("", printed);
  EXPECT_NE(std::string::npos, complaint.find(home.path() + "/Pictures")) << complaint;
  EXPECT_TRUE(TempHome::filesIn(home.path() + "/Pictures").empty());
}

TEST_F(Screenshots, WithoutAHomeNothingIsWrittenAndTheFailureIsSaid) {
  setenv("HOME", "relative/home", 1);
  unsetenv("XDG_CONFIG_HOME");
  testing::internal::CaptureStderr();
  const std::string printed = shoot();
  const std::string complaint = testing::internal::GetCapturedStderr();
  EXPECT_TRUE(written.empty());
  EXPECT_EQ("", printed);
  EXPECT_NE(std::string::npos, complaint.find("could not be saved")) << complaint;
}
