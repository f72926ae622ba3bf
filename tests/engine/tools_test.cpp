// KMiscTools and KLog: path rules, folders, year, clock, message boxes, log files.
#include <climits>
#include <cstdlib>
#include <ctime>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "KLog.h"
#include "KMiscTools.h"
#include "KPathRules.h"
#include "host_testing.h"

namespace {

std::string built(const char *folder, const char *name, size_t size = 260) {
  std::vector<char> out(size, '#');
  buildFilePath(out.data(), size, folder, name);
  return out.data();
}

bool exists(const std::string &path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

TEST(PathRules, FolderOfAnExecutableHasNoTrailingSeparator) {
  char exe[] = "/games/run/zyphora";
  cutToFolder(exe);
  EXPECT_STREQ(exe, "/games/run");
  char windows[] = "C:\\Games\\Run\\game.exe";
  cutToFolder(windows);
  EXPECT_STREQ(windows, "C:\\Games\\Run");
  char bare[] = "/zyphora"; // the scan stops at the second character
  cutToFolder(bare);
  EXPECT_STREQ(bare, "/zyphora");
}

TEST(PathRules, NamesAreMadeRelativeToTheProgramFolder) {
  EXPECT_EQ(built("/games/run", "data/pic.tga"), "/games/run/data/pic.tga");
  EXPECT_EQ(built("/games/run", "data\\pic.tga"), "/games/run/data/pic.tga");
  EXPECT_EQ(built("/games/run", "\\data\\pic.tga"), "/games/run/data/pic.tga");
  EXPECT_EQ(built("/games/run", ":data/pic.tga"), "/games/run/data/pic.tga");
  EXPECT_EQ(built("/games/run", ""), "/games/run/");
  EXPECT_EQ(built("/games/run", nullptr), "/games/run/");
}

TEST(PathRules, AbsoluteNamesAreKept) {
  EXPECT_EQ(built("/games/run", "/home/me/zyphor.prf"), "/home/me/zyphor.prf");
  EXPECT_EQ(built("/games/run", "D:\\x\\y.prf"), "D:/x/y.prf");
}

TEST(PathRules, LongNamesAreCutNeverOverflowed) {
  std::string name(1000, 'n');
  std::vector<char> out(262, '#');
  buildFilePath(out.data(), 260, "/games/run", name.c_str());
  EXPECT_EQ(strlen(out.data()), 259u);
  EXPECT_EQ(out[260], '#'); // nothing written beyond the buffer
  EXPECT_EQ(std::string(out.data()).substr(0, 11), "/games/run/");
}

TEST(MiscTools, ProgramFolderIsTheTestsFolder) {
  KMiscTools::initMiscTools();
  char cwd[PATH_MAX];
  ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
  char real[PATH_MAX];
  ASSERT_NE(realpath(cwd, real), nullptr);
  EXPECT_STREQ(KMiscTools::currentFilePath, real); // ctest runs in the executables' folder
  EXPECT_EQ(std::string(KMiscTools::makeFilePath("data\\menu.tga")),
            std::string(real) + "/data/menu.tga");
  EXPECT_EQ(std::string(KMiscTools::makeFilePath(std::string(400, 'x').c_str())).size(), 259u);
}

TEST(MiscTools, UserFolderIsTheGamesDataFolderOrTheProgramFolder) {
  char base[] = "/tmp/zytoolsXXXXXX";
  ASSERT_NE(mkdtemp(base), nullptr);
  setenv("XDG_DATA_HOME", base, 1);
  EXPECT_EQ(std::string(KMiscTools::getUserFolder()), std::string(base) + "/zyphora");
  EXPECT_TRUE(exists(std::string(base) + "/zyphora"));
  // A folder that cannot be made falls back to the program's folder with a separator.
  std::string file = std::string(base) + "/plainfile";
  FILE *f = fopen(file.c_str(), "w");
  ASSERT_NE(f, nullptr);
  fclose(f);
  setenv("XDG_DATA_HOME", file.c_str(), 1);
  std::string fallback = KMiscTools::getUserFolder();
  EXPECT_EQ(fallback, std::string(KMiscTools::currentFilePath) + "/");
  EXPECT_GT(fallback.size(), 1u);
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(system(("rm -rf " + std::string(base)).c_str()), 0);
}

TEST(MiscTools, YearIsTheLocalYear) {
  time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  EXPECT_EQ(KMiscTools::getYear(), local.tm_year + 1900);
}

TEST(MiscTools, MillisecondsFollowTheSteppedClock) {
  hostTestSetClockStep(16, 5000);
  KMiscTools::initMillisecond();
  EXPECT_EQ(KMiscTools::getMilliseconds(), 5000u);
  hostFrameReady();
  EXPECT_EQ(KMiscTools::getMilliseconds(), 5016u);
  hostTestSetClockStep(16, 0xFFFFFFF8u); // differences survive the 32-bit wrap
  uint32_t before = KMiscTools::getMilliseconds();
  hostFrameReady();
  EXPECT_EQ(KMiscTools::getMilliseconds() - before, 16u);
  hostTestReset();
}

TEST(MiscTools, MillisecondsFollowRealTime) {
  KMiscTools::initMillisecond();
  EXPECT_NE(KMiscTools::_HighFreq, 0);
  uint32_t before = KMiscTools::getMilliseconds();
  usleep(16000);
  uint32_t elapsed = KMiscTools::getMilliseconds() - before;
  EXPECT_GE(elapsed, 16u);
  EXPECT_LT(elapsed, 1000u);
}

TEST(MiscTools, MessageBoxGoesToTheHost) {
  std::string seen;
  hostTestSetMessageBoxHandler(
      [](void *context, const char *title, const char *text) {
        *static_cast<std::string *>(context) = std::string(title) + "|" + text;
      },
      &seen);
  KMiscTools::messageBox("error", "error could not detect ogg file");
  EXPECT_EQ(seen, "error|error could not detect ogg file");
  hostTestReset();
}

TEST(MiscTools, LaunchUrlHandsTheAddressToTheDesktopOpener) {
  char dir[] = "/tmp/zyurlXXXXXX";
  ASSERT_NE(mkdtemp(dir), nullptr);
  std::string opener = std::string(dir) + "/xdg-open", out = std::string(dir) + "/opened";
  FILE *script = fopen(opener.c_str(), "w");
  ASSERT_NE(script, nullptr);
  fprintf(script, "#!/bin/sh\nprintf '%%s|%%s' \"$#\" \"$1\" > '%s.tmp' && mv '%s.tmp' '%s'\n",
          out.c_str(), out.c_str(), out.c_str());
  fclose(script);
  ASSERT_EQ(chmod(opener.c_str(), 0755), 0);
  std::string oldPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", (std::string(dir) + ":" + oldPath).c_str(), 1);
  char url[] = "https://example.org/a b;$(touch x)";
  KMiscTools::launchURL(url, true);
  for (int i = 0; i < 200 && !exists(out); i++) usleep(10000);
  setenv("PATH", oldPath.c_str(), 1); // only once the opener has run: its thread reads PATH
  FILE *f = fopen(out.c_str(), "r");
  ASSERT_NE(f, nullptr);
  char seen[256] = {};
  EXPECT_NE(fgets(seen, sizeof seen, f), nullptr);
  fclose(f);
  EXPECT_STREQ(seen, "1|https://example.org/a b;$(touch x)"); // one argument, never through a shell
  EXPECT_EQ(system(("rm -rf " + std::string(dir)).c_str()), 0);
}

class LogFiles : public ::testing::Test {
protected:
  void SetUp() override {
    ASSERT_NE(getcwd(home, sizeof home), nullptr);
    ASSERT_NE(mkdtemp(dir), nullptr);
    ASSERT_EQ(chdir(dir), 0);
  }
  void TearDown() override {
    ASSERT_EQ(chdir(home), 0);
    EXPECT_EQ(system(("rm -rf " + std::string(dir)).c_str()), 0);
  }
  char home[PATH_MAX];
  char dir[20] = "/tmp/zylogXXXXXX";
};

TEST_F(LogFiles, OpenAndCloseTypeTouchesNothing) {
  {
    KLog log(kLogOpenAndCloseFiles);
    EXPECT_FALSE(log._logInfo);
    EXPECT_TRUE(log._logError && log._logFatal && log._logDebug);
    EXPECT_EQ(log._info, nullptr);
    EXPECT_EQ(log._debug, nullptr);
    EXPECT_EQ(log._logFileType, kLogOpenAndCloseFiles);
  }
  for (const char *name : {"infos.log", "errors.log", "fatals.log", "debug.log"})
    EXPECT_FALSE(exists(name));
  EXPECT_EQ(KMiscTools::_kLog._logFileType, kLogOpenAndCloseFiles);
}

TEST_F(LogFiles, KeepOpenTypeCreatesTheFourFilesEmpty) {
  FILE *old = fopen("errors.log", "w");
  ASSERT_NE(old, nullptr);
  fputs("old content", old);
  fclose(old);
  {
    KLog log(kLogKeepFilesOpen);
    EXPECT_NE(log._info, nullptr);
    EXPECT_NE(log._error, nullptr);
    EXPECT_NE(log._fatal, nullptr);
    EXPECT_NE(log._debug, nullptr);
  }
  for (const char *name : {"infos.log", "errors.log", "fatals.log", "debug.log"}) {
    struct stat st;
    ASSERT_EQ(stat(name, &st), 0) << name;
    EXPECT_EQ(st.st_size, 0) << name;
  }
}

} // namespace
